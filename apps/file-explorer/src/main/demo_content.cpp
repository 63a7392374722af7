#include "main/demo_content.h"

#include <fcntl.h>
#include <fmt/format.h>
#include <sys/stat.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <system_error>
#include <vector>

#include "main/demo_files.h"
#include "model/collab_state.h"

namespace files::demo {
namespace {

namespace fs = std::filesystem;
using Result = std::expected<void, std::string>;

std::string as_text(const Bytes& bytes) {
  return std::string(bytes.begin(), bytes.end());
}

Result make_folder(const fs::path& path) {
  std::error_code ec;
  fs::create_directories(path, ec);
  if (ec) return std::unexpected(fmt::format("{}: {}", path.string(), ec.message()));
  return {};
}

Result write_picture(const fs::path& path, Scene scene, int width, int height) {
  auto format = path.extension() == ".png" ? PictureFormat::Png : PictureFormat::Jpeg;
  auto bytes = picture(scene, width, height, format);
  if (!bytes) return std::unexpected(path.string() + ": " + bytes.error());
  return write_file(path, as_text(*bytes));
}

/// An OpenDocument file: a ZIP whose stored first member names the type, as office suites
/// expect when they sniff it.
Result write_open_document(const fs::path& path, std::string_view mime, std::string_view body) {
  return write_zip(path,
                   {{"mimetype", std::string(mime), true},
                    {"content.xml", std::string(body)},
                    {"META-INF/manifest.xml", fmt::format(R"(<?xml version="1.0" encoding="UTF-8"?>
<manifest:manifest xmlns:manifest="urn:oasis:names:tc:opendocument:xmlns:manifest:1.0">
  <manifest:file-entry manifest:full-path="/" manifest:media-type="{}"/>
  <manifest:file-entry manifest:full-path="content.xml" manifest:media-type="text/xml"/>
</manifest:manifest>
)",
                                                          mime)}});
}

/// A second of silence as 8 kHz mono 8-bit PCM.
std::string silent_wav() {
  constexpr std::uint32_t kRate = 8000;
  auto le32 = [](std::uint32_t v) {
    return std::string{static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF),
                       static_cast<char>((v >> 16) & 0xFF), static_cast<char>(v >> 24)};
  };
  std::string wav = "RIFF" + le32(36 + kRate) + "WAVEfmt " + le32(16);
  wav += std::string("\x01\x00\x01\x00", 4) + le32(kRate) + le32(kRate) +
         std::string("\x01\x00\x08\x00", 4);
  wav += "data" + le32(kRate) + std::string(kRate, static_cast<char>(0x80));
  return wav;
}

const std::string kBriefText =
    "# Launch brief\n\nGoal: ship the spring release to every team by the end of the "
    "quarter.\n\n## Milestones\n\n- Feature freeze on 14 June\n- Translations in by 21 June\n"
    "- Release on 2 July\n";

Result build_sync(const fs::path& dir) {
  struct Document {
    const char* name;
    const char* sync;
  };
  // Two documents per state, so each badge shows up twice in a short list.
  static constexpr std::array<Document, 6> kDocuments = {{
      {"Design brief.md", "local"},
      {"meeting-notes.txt", "projected"},
      {"Q3 budget.ods", "downloading"},
      {"architecture.pdf", "local"},
      {"launch-video.mp4", "projected"},
      {"dataset.parquet", "downloading"},
  }};
  Result made;
  for (const Document& doc : kDocuments) {
    fs::path path = dir / doc.name;
    std::string_view name = doc.name;
    if (name.ends_with(".ods")) {
      made = write_open_document(path, "application/vnd.oasis.opendocument.spreadsheet",
                                 "<office:document-content/>");
    } else if (name.ends_with(".pdf")) {
      made = write_file(path, one_page_pdf("Architecture", {"Services, storage and sync",
                                                            "Draft for the design review"}));
    } else if (name.ends_with(".mp4")) {
      // The start of an MP4 file type box; the video itself lives on other devices.
      made = write_file(path, std::string("\0\0\0\x18"
                                          "ftypisom\0\0\x02\0isomiso2",
                                          24));
    } else if (name.ends_with(".parquet")) {
      made = write_file(path, "PAR1");
    } else if (name.ends_with(".md")) {
      made = write_file(path, kBriefText);
    } else {
      made = write_file(path, "Meeting notes\n\n- Agree the release date\n- Review the budget\n");
    }
    if (!made) return made;
    if (made = set_attribute(path, model::kSyncAttribute, doc.sync); !made) return made;
  }
  return {};
}

Result build_thumbnails(const fs::path& dir) {
  fs::path roll = dir / "Camera Roll";
  if (auto made = make_folder(roll); !made) return made;
  struct Shot {
    const char* name;
    Scene scene;
  };
  static constexpr std::array<Shot, 5> kShots = {{{"sunset.png", Scene::Sunset},
                                                  {"harbour.jpg", Scene::Harbour},
                                                  {"forest-path.png", Scene::Forest},
                                                  {"bloom.jpg", Scene::Bloom},
                                                  {"study.png", Scene::Study}}};
  for (const Shot& shot : kShots) {
    if (auto made = write_picture(roll / shot.name, shot.scene, 800, 600); !made) return made;
  }
  auto pdf = one_page_pdf("Field guide",
                          {"Birds of the northern coast", "Gulls, terns and the common eider",
                           "How to tell them apart at a distance"});
  if (auto made = write_file(dir / "Field guide.pdf", pdf); !made) return made;
  auto epub = epub_members("The Lantern-Keeper", "Mara Ellison");
  if (!epub) return std::unexpected(epub.error());
  if (auto made = write_zip(dir / "The Lantern-Keeper.epub", *epub); !made) return made;
  fs::path assets = dir / "shared-assets";
  if (auto made = make_folder(assets); !made) return made;
  return write_picture(assets / "banner.png", Scene::Coast, 640, 240);
}

Result build_thumbnails_fs(const fs::path& dir) {
  struct Embedded {
    const char* name;
    Scene scene;
  };
  // The workspace filesystem publishes small previews beside the content; they stay well under
  // the few KiB of attributes that ext4 keeps per file.
  static constexpr std::array<Embedded, 3> kImages = {{{"Sunset over bay.png", Scene::Sunset},
                                                       {"Studio.jpg", Scene::Study},
                                                       {"Harbour at noon.jpg", Scene::Harbour}}};
  for (const Embedded& image : kImages) {
    fs::path path = dir / image.name;
    if (auto made = write_picture(path, image.scene, 1024, 768); !made) return made;
    auto thumb = picture(image.scene, 96, 72, PictureFormat::Jpeg);
    if (!thumb) return std::unexpected(thumb.error());
    if (auto set = set_attribute(path, "user.vask.thumb", as_text(*thumb)); !set) return set;
  }
  struct Plain {
    const char* name;
    std::string content;
  };
  const std::array<Plain, 4> kPlain = {{
      {"render_loop.cpp",
       "// Draws one frame.\nvoid render_frame(Frame& frame) {\n  frame.clear();\n}\n"},
      {"README.md", "# Studio assets\n\nPictures and sounds for the spring campaign.\n"},
      {"settings.json", "{\n  \"theme\": \"dark\",\n  \"autosave_minutes\": 5\n}\n"},
      // A font file's header with an empty table directory: enough for its type, not its look.
      {"Display Sans.ttf", std::string("\0\x01\0\0\0\0\0\0\0\0\0\0", 12)},
  }};
  for (const Plain& file : kPlain) {
    if (auto made = write_file(dir / file.name, file.content); !made) return made;
  }
  if (auto made = write_file(dir / "Voice memo.wav", silent_wav()); !made) return made;
  if (auto made = write_open_document(dir / "Campaign letter.odt",
                                      "application/vnd.oasis.opendocument.text",
                                      "<office:document-content/>");
      !made) {
    return made;
  }
  return write_open_document(dir / "Budget.ods", "application/vnd.oasis.opendocument.spreadsheet",
                             "<office:document-content/>");
}

Result build_history(const fs::path& dir) {
  fs::path path = dir / kHistoryDemoFile;
  if (auto made = write_file(path, kBriefText); !made) return made;
  if (auto set = set_attribute(path, model::kSyncAttribute, "local"); !set) return set;
  return set_attribute(path, model::kHistoryAttribute, history_demo_projection());
}

std::expected<fs::path, std::string> build_archive(const fs::path& zip) {
  auto coast = picture(Scene::Coast, 640, 480, PictureFormat::Jpeg);
  auto harbour = picture(Scene::Harbour, 640, 480, PictureFormat::Jpeg);
  if (!coast) return std::unexpected(coast.error());
  if (!harbour) return std::unexpected(harbour.error());
  std::vector<ZipMember> members = {
      {"Photos/Coast/IMG_2048.jpg", as_text(*coast)},
      {"Photos/Coast/IMG_2051.jpg", as_text(*harbour)},
      {"Documents/Itinerary.pdf",
       one_page_pdf("Itinerary", {"Day 1: ferry to the islands", "Day 2: coastal walk",
                                  "Day 3: harbour and home"})},
      {"Documents/Packing list.txt", "Rain jacket\nWalking boots\nCamera\nFerry tickets\n"},
      {"Read me.txt", "Photos and plans from the coast trip.\n"},
  };
  if (auto written = write_zip(zip, members); !written) return std::unexpected(written.error());
  return zip;
}

/// Dates every item of the demonstration 12 June 2024, 11:00 UTC (the last version of the
/// history demonstration), so the Modified column reads the same in every run.
Result set_fixed_times(const fs::path& root) {
  const timespec when[2] = {{1718190000, 0}, {1718190000, 0}};
  auto stamp = [&](const fs::path& path) -> Result {
    if (::utimensat(AT_FDCWD, path.c_str(), when, AT_SYMLINK_NOFOLLOW) != 0) {
      return std::unexpected(fmt::format("{}: {}", path.string(), std::strerror(errno)));
    }
    return {};
  };
  std::error_code ec;
  if (!fs::is_directory(root, ec)) return stamp(root);
  for (auto it = fs::recursive_directory_iterator(root, ec); !ec && it != fs::end(it);
       it.increment(ec)) {
    if (auto stamped = stamp(it->path()); !stamped) return stamped;
  }
  if (ec) return std::unexpected(fmt::format("{}: {}", root.string(), ec.message()));
  return stamp(root);
}

}  // namespace

std::string_view demo_folder_name(DemoFolder folder) {
  switch (folder) {
    case DemoFolder::Sync:
      return "vask-files-sync-demo";
    case DemoFolder::Thumbnails:
      return "vask-files-thumbnails-demo";
    case DemoFolder::ThumbnailsFs:
      return "vask-files-thumbnails-fs-demo";
    case DemoFolder::History:
      return "vask-files-history-demo";
    case DemoFolder::Archive:
      return "vask-files-archive-demo.zip";
  }
  return {};
}

std::optional<DemoFolder> demo_folder_for(std::string_view scenario) {
  if (scenario == "sync") return DemoFolder::Sync;
  if (scenario == "thumbnails") return DemoFolder::Thumbnails;
  if (scenario == "thumbnails-fs") return DemoFolder::ThumbnailsFs;
  if (scenario == "history") return DemoFolder::History;
  if (scenario == "archive" || scenario == "archive-menu") return DemoFolder::Archive;
  return std::nullopt;
}

std::expected<fs::path, std::string> create_demo(DemoFolder folder, const fs::path& temp_dir) {
  fs::path path = temp_dir / demo_folder_name(folder);
  std::error_code ec;
  fs::remove_all(path, ec);
  if (ec) return std::unexpected(fmt::format("{}: {}", path.string(), ec.message()));
  if (folder == DemoFolder::Archive) {
    auto zip = build_archive(path);
    if (!zip) return zip;
    if (auto stamped = set_fixed_times(*zip); !stamped) return std::unexpected(stamped.error());
    return zip;
  }
  if (auto made = make_folder(path); !made) return std::unexpected(made.error());
  Result built;
  switch (folder) {
    case DemoFolder::Sync:
      built = build_sync(path);
      break;
    case DemoFolder::Thumbnails:
      built = build_thumbnails(path);
      break;
    case DemoFolder::ThumbnailsFs:
      built = build_thumbnails_fs(path);
      break;
    case DemoFolder::History:
      built = build_history(path);
      break;
    case DemoFolder::Archive:
      break;
  }
  if (!built) return std::unexpected(built.error());
  if (auto stamped = set_fixed_times(path); !stamped) return std::unexpected(stamped.error());
  return path;
}

}  // namespace files::demo
