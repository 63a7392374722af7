#include "main/demo_content.h"

#include <archive.h>
#include <archive_entry.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>

#include "main/demo_files.h"
#include "model/collab_state.h"
#include "vask_ui/canvas.h"

namespace files::demo {
namespace {

namespace fs = std::filesystem;

/// 12 June 2024, 11:00 UTC: the date every demonstration item carries.
constexpr time_t kDemoTime = 1718190000;

class DemoContent : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = "/tmp/files-demo-test-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }
  fs::path create(DemoFolder folder) {
    auto made = create_demo(folder, dir_);
    EXPECT_TRUE(made.has_value()) << (made ? "" : made.error());
    return made.value_or(fs::path());
  }
  fs::path dir_;
};

std::string read_all(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string attribute(const fs::path& path, const char* name) {
  std::string value(65536, '\0');
  ssize_t n = ::lgetxattr(path.c_str(), name, value.data(), value.size());
  if (n < 0) return {};
  value.resize(static_cast<std::size_t>(n));
  return value;
}

/// The member names of an archive in the order they are stored.
std::vector<std::string> archive_members(const fs::path& path) {
  std::vector<std::string> names;
  archive* a = archive_read_new();
  archive_read_support_format_zip(a);
  if (archive_read_open_filename(a, path.c_str(), 10240) == ARCHIVE_OK) {
    archive_entry* entry = nullptr;
    while (archive_read_next_header(a, &entry) == ARCHIVE_OK)
      names.emplace_back(archive_entry_pathname(entry));
  }
  archive_read_free(a);
  return names;
}

TEST_F(DemoContent, EachFolderHoldsItsFilesAndIsMadeAfresh) {
  struct Case {
    DemoFolder folder;
    std::vector<std::string> files;
  };
  const std::vector<Case> cases = {
      {DemoFolder::Sync,
       {"Design brief.md", "meeting-notes.txt", "Q3 budget.ods", "architecture.pdf",
        "launch-video.mp4", "dataset.parquet"}},
      {DemoFolder::Thumbnails,
       {"Camera Roll/sunset.png", "Camera Roll/harbour.jpg", "Camera Roll/forest-path.png",
        "Camera Roll/bloom.jpg", "Camera Roll/study.png", "Field guide.pdf",
        "The Lantern-Keeper.epub", "shared-assets"}},
      {DemoFolder::ThumbnailsFs,
       {"Sunset over bay.png", "Studio.jpg", "render_loop.cpp", "README.md", "Voice memo.wav",
        "Campaign letter.odt", "Budget.ods", "settings.json", "Display Sans.ttf"}},
      {DemoFolder::History, {"Launch brief.md"}},
  };
  for (const Case& c : cases) {
    fs::path folder = create(c.folder);
    EXPECT_EQ(folder, dir_ / demo_folder_name(c.folder));
    for (const std::string& name : c.files) {
      struct stat st {};
      ASSERT_EQ(::lstat((folder / name).c_str(), &st), 0) << name;
      EXPECT_EQ(st.st_mtime, kDemoTime) << name << ": every run shows the same date";
    }
    // A stray file from an earlier run disappears when the demonstration is made again.
    std::ofstream(folder / "left over.txt") << "x";
    create(c.folder);
    EXPECT_FALSE(fs::exists(folder / "left over.txt")) << demo_folder_name(c.folder);
  }
}

TEST_F(DemoContent, ArchiveHoldsTheFiveMembersAndReplacesAnOlderFile) {
  std::ofstream(dir_ / "vask-files-archive-demo.zip") << "not an archive";
  fs::path zip = create(DemoFolder::Archive);
  struct stat st {};
  ASSERT_EQ(::lstat(zip.c_str(), &st), 0);
  EXPECT_EQ(st.st_mtime, kDemoTime);
  std::vector<std::string> expected = {"Photos/Coast/IMG_2048.jpg", "Photos/Coast/IMG_2051.jpg",
                                       "Documents/Itinerary.pdf", "Documents/Packing list.txt",
                                       "Read me.txt"};
  EXPECT_EQ(archive_members(zip), expected);
}

TEST_F(DemoContent, SyncValuesReadBackThroughTheModel) {
  fs::path folder = create(DemoFolder::Sync);
  std::map<model::SyncState, int> seen;
  for (const auto& item : fs::directory_iterator(folder)) {
    auto state = model::read_sync_state(item.path());
    ASSERT_TRUE(state.has_value()) << item.path();
    ++seen[*state];
    auto collab =
        model::read_collab_state(item.path(), model::InWorkspace::Yes, model::ItemKind::File);
    EXPECT_EQ(collab.sync, state);
  }
  EXPECT_EQ(seen.size(), 3u) << "every sync state appears";
}

TEST_F(DemoContent, HistoryProjectionPassesTheStrictReader) {
  fs::path file = create(DemoFolder::History) / kHistoryDemoFile;
  auto history = model::read_history(file);
  ASSERT_TRUE(history.has_value()) << attribute(file, model::kHistoryAttribute);
  EXPECT_EQ(history->record_id, kHistoryDemoRecordId);
  EXPECT_TRUE(history->conflicts.empty());
  EXPECT_EQ(history->total_versions, history->versions.size());
  ASSERT_FALSE(history->versions.empty());
  using Kind = collab_types::FileProvenance::Kind;
  EXPECT_EQ(history->versions.front().provenance.kind, Kind::Create);
  EXPECT_EQ(history->versions.back().provenance.kind, Kind::Edit);
  ASSERT_EQ(history->heads.size(), 1u);
  EXPECT_EQ(history->heads.front(), history->versions.back().id);
}

TEST_F(DemoContent, EmbeddedThumbnailsAreImages) {
  fs::path folder = create(DemoFolder::ThumbnailsFs);
  for (const char* name : {"Sunset over bay.png", "Studio.jpg"}) {
    std::string thumb = attribute(folder / name, "user.vask.thumb");
    ASSERT_FALSE(thumb.empty()) << name;
    auto image =
        vask_ui::Image::decode({reinterpret_cast<const std::uint8_t*>(thumb.data()), thumb.size()});
    ASSERT_TRUE(image.has_value()) << name;
    EXPECT_EQ(image->width(), 96);
    EXPECT_EQ(image->height(), 72);
  }
}

TEST(DemoPictures, DecodeAtTheRequestedSizeInBothFormats) {
  for (auto format : {PictureFormat::Png, PictureFormat::Jpeg}) {
    for (auto scene : {Scene::Sunset, Scene::Harbour, Scene::Forest, Scene::Bloom, Scene::Study,
                       Scene::Coast, Scene::Cover}) {
      auto bytes = picture(scene, 120, 80, format);
      ASSERT_TRUE(bytes.has_value()) << bytes.error();
      auto image = vask_ui::Image::decode(*bytes);
      ASSERT_TRUE(image.has_value());
      EXPECT_EQ(image->width(), 120);
      EXPECT_EQ(image->height(), 80);
    }
  }
  EXPECT_FALSE(picture(Scene::Sunset, 0, 10, PictureFormat::Png).has_value());
}

TEST(DemoPdf, CrossReferenceTablePointsAtEveryObject) {
  std::string pdf = one_page_pdf("A (title)", {"first line", "back\\slash"});
  ASSERT_TRUE(pdf.starts_with("%PDF-1.4\n"));
  ASSERT_TRUE(pdf.ends_with("%%EOF\n"));
  std::smatch m;
  ASSERT_TRUE(std::regex_search(pdf, m, std::regex("startxref\n(\\d+)\n%%EOF\n$")));
  std::size_t xref = std::stoul(m[1]);
  ASSERT_EQ(pdf.compare(xref, 5, "xref\n"), 0);
  std::istringstream table(pdf.substr(xref + 5));
  std::size_t first = 0, count = 0;
  table >> first >> count;
  ASSERT_EQ(first, 0u);
  ASSERT_EQ(count, 7u);
  table.ignore(1);
  std::string line;
  std::getline(table, line);
  EXPECT_EQ(line, "0000000000 65535 f ");
  for (std::size_t object = 1; object < count; ++object) {
    std::getline(table, line);
    ASSERT_EQ(line.size(), 19u) << "entries are 20 bytes with their line break";
    std::size_t offset = std::stoul(line.substr(0, 10));
    std::string header = std::to_string(object) + " 0 obj\n";
    EXPECT_EQ(pdf.compare(offset, header.size(), header), 0) << "object " << object;
  }
  EXPECT_NE(pdf.find("/MediaBox [0 0 300 400]"), std::string::npos);
  EXPECT_NE(pdf.find("/BaseFont /Helvetica"), std::string::npos);
  EXPECT_NE(pdf.find("(A \\(title\\))"), std::string::npos) << "parentheses are escaped";
  // The stream's declared length is the exact number of bytes between its keywords.
  ASSERT_TRUE(std::regex_search(pdf, m, std::regex("/Length (\\d+) >>\nstream\n")));
  std::size_t start = static_cast<std::size_t>(m.position(0) + m.length(0));
  EXPECT_EQ(pdf.compare(start + std::stoul(m[1]), 9, "endstream"), 0);
}

TEST_F(DemoContent, EpubStartsWithTheStoredMimetype) {
  fs::path epub = create(DemoFolder::Thumbnails) / "The Lantern-Keeper.epub";
  std::string bytes = read_all(epub);
  ASSERT_GT(bytes.size(), 30u);
  auto u16 = [&](std::size_t at) {
    return static_cast<unsigned>(static_cast<unsigned char>(bytes[at])) |
           static_cast<unsigned>(static_cast<unsigned char>(bytes[at + 1])) << 8;
  };
  // The first local file header, read field by field as a sniffing reader does.
  ASSERT_EQ(bytes.compare(0, 4, "PK\x03\x04"), 0);
  EXPECT_EQ(u16(8), 0u) << "compression method: stored";
  ASSERT_EQ(u16(26), 8u);
  EXPECT_EQ(bytes.compare(30, 8, "mimetype"), 0);
  EXPECT_EQ(bytes.compare(30 + 8 + u16(28), 20, "application/epub+zip"), 0);
  std::vector<std::string> expected = {"mimetype", "META-INF/container.xml", "OEBPS/content.opf",
                                       "OEBPS/ch1.xhtml", "OEBPS/cover.png"};
  EXPECT_EQ(archive_members(epub), expected);
}

}  // namespace
}  // namespace files::demo
