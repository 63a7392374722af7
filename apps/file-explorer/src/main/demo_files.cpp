#include "main/demo_files.h"

#include <archive.h>
#include <archive_entry.h>
#include <fmt/format.h>
#include <fmt/ranges.h>
#include <sys/xattr.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <fstream>
#include <memory>

#include "vask_ui/canvas.h"
#include "vask_ui/image_encode.h"

namespace files::demo {
namespace {

// ---- Pictures ---------------------------------------------------------------------------------

struct Rgb {
  float r, g, b;
};

Rgb mix(Rgb a, Rgb b, float t) {
  t = std::clamp(t, 0.0f, 1.0f);
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

constexpr Rgb hex(std::uint32_t v) {
  return {static_cast<float>((v >> 16) & 0xFF), static_cast<float>((v >> 8) & 0xFF),
          static_cast<float>(v & 0xFF)};
}

/// A small raster painter; shapes take coordinates in fractions of the picture's size so
/// every scene looks the same at any resolution.
class Raster {
 public:
  Raster(int width, int height)
      : w_(width), h_(height), rgba_(static_cast<std::size_t>(width) * height * 4, 255) {}

  void vertical_gradient(float y0, float y1, Rgb top, Rgb bottom) {
    for (int y = row(y0); y < row(y1); ++y) {
      Rgb c = mix(top, bottom, (static_cast<float>(y) / h_ - y0) / std::max(y1 - y0, 1e-3f));
      for (int x = 0; x < w_; ++x)
        put(x, y, c, 1);
    }
  }
  void rect(float x0, float y0, float x1, float y1, Rgb c, float alpha = 1) {
    for (int y = row(y0); y < row(y1); ++y) {
      for (int x = col(x0); x < col(x1); ++x)
        put(x, y, c, alpha);
    }
  }
  /// A disc with a soft one-pixel edge; `r` is a fraction of the picture's height.
  void disc(float cx, float cy, float r, Rgb c, float alpha = 1) {
    float px = cx * w_, py = cy * h_, pr = r * h_;
    for (int y = std::max(0, static_cast<int>(py - pr - 1));
         y < std::min(h_, static_cast<int>(py + pr + 2)); ++y) {
      for (int x = std::max(0, static_cast<int>(px - pr - 1));
           x < std::min(w_, static_cast<int>(px + pr + 2)); ++x) {
        float d = std::hypot(x + 0.5f - px, y + 0.5f - py);
        float cover = std::clamp(pr - d + 0.5f, 0.0f, 1.0f);
        if (cover > 0) put(x, y, c, cover * alpha);
      }
    }
  }
  /// A glow that fades from `c` at the centre to nothing at radius `r`.
  void glow(float cx, float cy, float r, Rgb c, float strength) {
    float px = cx * w_, py = cy * h_, pr = r * h_;
    for (int y = 0; y < h_; ++y) {
      for (int x = 0; x < w_; ++x) {
        float d = std::hypot(x - px, y - py) / pr;
        if (d < 1) put(x, y, c, (1 - d) * (1 - d) * strength);
      }
    }
  }
  /// A trapezoid between rows y0 and y1 whose left and right edges move linearly.
  void trapezoid(float y0, float y1, float top_left, float top_right, float bottom_left,
                 float bottom_right, Rgb c) {
    for (int y = row(y0); y < row(y1); ++y) {
      float t = (static_cast<float>(y) / h_ - y0) / std::max(y1 - y0, 1e-3f);
      float l = top_left + (bottom_left - top_left) * t;
      float r = top_right + (bottom_right - top_right) * t;
      for (int x = col(l); x < col(r); ++x)
        put(x, y, c, 1);
    }
  }

  std::expected<Bytes, std::string> encode(PictureFormat format) const {
    auto image = vask_ui::Image::from_rgba(w_, h_, rgba_);
    return vask_ui::encode_image(image, format == PictureFormat::Png ? vask_ui::ImageFormat::Png
                                                                     : vask_ui::ImageFormat::Jpeg);
  }

 private:
  int row(float f) const { return std::clamp(static_cast<int>(std::lround(f * h_)), 0, h_); }
  int col(float f) const { return std::clamp(static_cast<int>(std::lround(f * w_)), 0, w_); }
  void put(int x, int y, Rgb c, float alpha) {
    std::uint8_t* p = &rgba_[(static_cast<std::size_t>(y) * w_ + x) * 4];
    auto blend = [&](std::uint8_t& dst, float src) {
      dst = static_cast<std::uint8_t>(std::lround(dst + (src - dst) * alpha));
    };
    blend(p[0], c.r);
    blend(p[1], c.g);
    blend(p[2], c.b);
  }

  int w_, h_;
  std::vector<std::uint8_t> rgba_;
};

void paint_scene(Raster& r, Scene scene) {
  switch (scene) {
    case Scene::Sunset:
      r.vertical_gradient(0, 0.62f, hex(0x2B1B4F), hex(0xF59E5B));
      r.glow(0.5f, 0.6f, 0.45f, hex(0xFFD39A), 0.7f);
      r.disc(0.5f, 0.6f, 0.11f, hex(0xFFE2A8));
      r.vertical_gradient(0.62f, 1, hex(0x3E3A6D), hex(0x141833));
      for (int i = 0; i < 6; ++i) {
        float y = 0.65f + i * 0.05f, half = 0.1f - i * 0.012f;
        r.rect(0.5f - half, y, 0.5f + half, y + 0.012f, hex(0xF7B86E), 0.8f);
      }
      return;
    case Scene::Harbour:
      r.vertical_gradient(0, 0.55f, hex(0x8EC5E8), hex(0xDDEEF7));
      r.vertical_gradient(0.55f, 1, hex(0x2F7C8F), hex(0x15404D));
      r.rect(0, 0.5f, 0.35f, 0.56f, hex(0x6B5B4B));
      for (int i = 0; i < 4; ++i) {
        float x = 0.42f + i * 0.14f;
        Rgb hull = i % 2 == 0 ? hex(0xE8E4DA) : hex(0xC8412F);
        r.trapezoid(0.6f, 0.66f, x, x + 0.1f, x + 0.015f, x + 0.085f, hull);
        r.rect(x + 0.048f, 0.34f, x + 0.054f, 0.6f, hex(0x3B3A36));
        r.trapezoid(0.36f, 0.58f, x + 0.056f, x + 0.06f, x + 0.056f, x + 0.1f, hex(0xF4F1EA));
      }
      return;
    case Scene::Forest:
      r.vertical_gradient(0, 1, hex(0x9CC79A), hex(0x1E3B22));
      for (int i = 0; i < 9; ++i) {
        float x = 0.04f + i * 0.115f;
        r.trapezoid(0.05f + (i % 3) * 0.05f, 0.72f, x + 0.02f, x + 0.05f, x, x + 0.07f,
                    mix(hex(0x1F4D2B), hex(0x0F2616), (i % 4) / 4.0f));
        r.rect(x + 0.027f, 0.6f, x + 0.043f, 0.86f, hex(0x4A3222));
      }
      r.trapezoid(0.58f, 1, 0.47f, 0.53f, 0.22f, 0.78f, hex(0xC9A878));
      r.glow(0.5f, 0.1f, 0.6f, hex(0xFFF6C8), 0.35f);
      return;
    case Scene::Bloom:
      r.vertical_gradient(0, 1, hex(0xDCEFD8), hex(0x7FB77E));
      for (int i = 0; i < 8; ++i) {
        float a = static_cast<float>(i) * 0.785398f;
        r.disc(0.5f + std::cos(a) * 0.16f * 0.75f, 0.5f + std::sin(a) * 0.16f, 0.12f, hex(0xE86A92),
               0.9f);
      }
      r.disc(0.5f, 0.5f, 0.1f, hex(0xF7C948));
      r.disc(0.47f, 0.47f, 0.03f, hex(0xFFF1B8), 0.8f);
      return;
    case Scene::Study:
      r.vertical_gradient(0, 0.68f, hex(0xE9D8C0), hex(0xC9AE8C));
      r.rect(0, 0.68f, 1, 1, hex(0x6B4A2F));
      r.glow(0.78f, 0.35f, 0.5f, hex(0xFFE6A6), 0.6f);
      r.trapezoid(0.26f, 0.4f, 0.74f, 0.82f, 0.7f, 0.86f, hex(0x2E5E4E));
      r.rect(0.775f, 0.4f, 0.785f, 0.68f, hex(0x2B2B2B));
      for (int i = 0; i < 7; ++i) {
        static constexpr std::array<std::uint32_t, 7> kSpines = {
            0x8C2F39, 0x2F5D8C, 0xD9A441, 0x3F7F5F, 0x6C4A8C, 0xB85C38, 0x2F4858};
        float x = 0.1f + i * 0.055f;
        r.rect(x, 0.38f + (i % 3) * 0.03f, x + 0.045f, 0.68f, hex(kSpines[i]));
      }
      return;
    case Scene::Coast:
      r.vertical_gradient(0, 0.45f, hex(0x5FA8D3), hex(0xCDE7F0));
      r.vertical_gradient(0.45f, 0.7f, hex(0x1D6F8C), hex(0x3FA3B5));
      r.trapezoid(0.62f, 1, 0.55f, 1, 0.2f, 1, hex(0xE6D3A3));
      r.disc(0.82f, 0.16f, 0.07f, hex(0xFFF4D0));
      return;
    case Scene::Cover:
      r.vertical_gradient(0, 1, hex(0x18233F), hex(0x0B1020));
      r.glow(0.5f, 0.45f, 0.5f, hex(0xFFC766), 0.8f);
      r.rect(0.44f, 0.32f, 0.56f, 0.56f, hex(0x2A2A2A));
      r.rect(0.46f, 0.35f, 0.54f, 0.53f, hex(0xFFD98A));
      r.trapezoid(0.27f, 0.32f, 0.47f, 0.53f, 0.42f, 0.58f, hex(0x2A2A2A));
      r.rect(0.2f, 0.72f, 0.8f, 0.735f, hex(0xD8B46A));
      return;
  }
}

// ---- PDF --------------------------------------------------------------------------------------

/// A PDF literal string: only printable ASCII survives (the standard fonts' encoding is not
/// UTF-8), and the three special characters are escaped.
std::string pdf_string(std::string_view text) {
  std::string out = "(";
  for (char c : text) {
    if (c == '(' || c == ')' || c == '\\') out += '\\';
    out += (c >= 0x20 && c < 0x7F) ? c : '?';
  }
  return out + ")";
}

// ---- Attribute values -------------------------------------------------------------------------

/// 32 bytes as the JSON array of integers that keys and digests are written as.
std::string byte_array(std::uint8_t seed, std::uint8_t step) {
  std::array<int, 32> bytes{};
  for (std::size_t i = 0; i < bytes.size(); ++i)
    bytes[i] = static_cast<std::uint8_t>(seed + i * step);
  return fmt::format("[{}]", fmt::join(bytes, ","));
}

struct ArchiveDeleter {
  void operator()(archive* a) const { archive_write_free(a); }
};
struct EntryDeleter {
  void operator()(archive_entry* e) const { archive_entry_free(e); }
};

std::string archive_error(archive* a, std::string_view what) {
  const char* text = archive_error_string(a);
  return fmt::format("{}: {}", what, text != nullptr ? text : "unknown archive error");
}

}  // namespace

std::expected<Bytes, std::string> picture(Scene scene, int width, int height,
                                          PictureFormat format) {
  if (width <= 0 || height <= 0) return std::unexpected(std::string("empty picture size"));
  Raster raster(width, height);
  paint_scene(raster, scene);
  return raster.encode(format);
}

std::string one_page_pdf(std::string_view title, const std::vector<std::string>& lines) {
  std::string content = "0.16 0.38 0.58 rg 0 352 300 48 re f\n";
  content += fmt::format("BT /F1 18 Tf 1 1 1 rg 24 368 Td {} Tj ET\n", pdf_string(title));
  content += "BT /F1 11 Tf 0.15 0.15 0.15 rg 15 TL 24 320 Td";
  for (const std::string& line : lines)
    content += fmt::format(" {} Tj T*", pdf_string(line));
  content += " ET\n";

  const std::array<std::string, 6> objects = {
      "<< /Type /Catalog /Pages 2 0 R >>",
      "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
      "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 300 400] "
      "/Resources << /Font << /F1 4 0 R >> >> /Contents 5 0 R >>",
      "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>",
      fmt::format("<< /Length {} >>\nstream\n{}endstream", content.size(), content),
      fmt::format("<< /Title {} /Producer (Files) >>", pdf_string(title)),
  };
  // The binary comment line tells transfer tools that the file is not plain text.
  std::string pdf = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";
  std::vector<std::size_t> offsets;
  for (std::size_t i = 0; i < objects.size(); ++i) {
    offsets.push_back(pdf.size());
    pdf += fmt::format("{} 0 obj\n{}\nendobj\n", i + 1, objects[i]);
  }
  std::size_t xref = pdf.size();
  // Every cross-reference entry is exactly 20 bytes, its line break included.
  pdf += fmt::format("xref\n0 {}\n0000000000 65535 f \n", objects.size() + 1);
  for (std::size_t offset : offsets)
    pdf += fmt::format("{:010} 00000 n \n", offset);
  pdf += fmt::format("trailer\n<< /Size {} /Root 1 0 R /Info 6 0 R >>\nstartxref\n{}\n%%EOF\n",
                     objects.size() + 1, xref);
  return pdf;
}

std::expected<void, std::string> write_zip(const std::filesystem::path& path,
                                           const std::vector<ZipMember>& members) {
  std::unique_ptr<archive, ArchiveDeleter> a(archive_write_new());
  if (!a) return std::unexpected(std::string("cannot start a ZIP writer"));
  if (archive_write_set_format_zip(a.get()) != ARCHIVE_OK ||
      archive_write_open_filename(a.get(), path.c_str()) != ARCHIVE_OK) {
    return std::unexpected(archive_error(a.get(), path.string()));
  }
  std::unique_ptr<archive_entry, EntryDeleter> entry(archive_entry_new());
  for (const ZipMember& member : members) {
    int set = member.stored ? archive_write_zip_set_compression_store(a.get())
                            : archive_write_zip_set_compression_deflate(a.get());
    if (set != ARCHIVE_OK) return std::unexpected(archive_error(a.get(), member.name));
    archive_entry_clear(entry.get());
    archive_entry_set_pathname_utf8(entry.get(), member.name.c_str());
    bool folder = member.name.ends_with('/');
    archive_entry_set_filetype(entry.get(), folder ? AE_IFDIR : AE_IFREG);
    archive_entry_set_perm(entry.get(), folder ? 0755 : 0644);
    archive_entry_set_size(entry.get(), folder ? 0 : static_cast<la_int64_t>(member.data.size()));
    // A fixed date (1 June 2024) keeps the demonstration archives the same on every run.
    archive_entry_set_mtime(entry.get(), 1717236000, 0);
    if (archive_write_header(a.get(), entry.get()) != ARCHIVE_OK) {
      return std::unexpected(archive_error(a.get(), member.name));
    }
    if (!folder && !member.data.empty() &&
        archive_write_data(a.get(), member.data.data(), member.data.size()) < 0) {
      return std::unexpected(archive_error(a.get(), member.name));
    }
    if (archive_write_finish_entry(a.get()) != ARCHIVE_OK) {
      return std::unexpected(archive_error(a.get(), member.name));
    }
  }
  if (archive_write_close(a.get()) != ARCHIVE_OK) {
    return std::unexpected(archive_error(a.get(), path.string()));
  }
  return {};
}

std::expected<std::vector<ZipMember>, std::string> epub_members(std::string_view title,
                                                                std::string_view author) {
  auto cover = picture(Scene::Cover, 360, 540, PictureFormat::Png);
  if (!cover) return std::unexpected(cover.error());
  std::vector<ZipMember> members;
  members.push_back({"mimetype", "application/epub+zip", true});
  members.push_back({"META-INF/container.xml",
                     R"(<?xml version="1.0" encoding="UTF-8"?>
<container version="1.0" xmlns="urn:oasis:names:tc:opendocument:xmlns:container">
  <rootfiles>
    <rootfile full-path="OEBPS/content.opf" media-type="application/oebps-package+xml"/>
  </rootfiles>
</container>
)"});
  members.push_back({"OEBPS/content.opf", fmt::format(R"(<?xml version="1.0" encoding="UTF-8"?>
<package xmlns="http://www.idpf.org/2007/opf" version="3.0" unique-identifier="book-id">
  <metadata xmlns:dc="http://purl.org/dc/elements/1.1/">
    <dc:identifier id="book-id">urn:uuid:5f0c1d7e-3a52-4c8b-9b1e-6a2f4d8c7e10</dc:identifier>
    <dc:title>{}</dc:title>
    <dc:creator>{}</dc:creator>
    <dc:language>en</dc:language>
    <meta property="dcterms:modified">2024-06-01T10:00:00Z</meta>
  </metadata>
  <manifest>
    <item id="ch1" href="ch1.xhtml" media-type="application/xhtml+xml" properties="nav"/>
    <item id="cover" href="cover.png" media-type="image/png" properties="cover-image"/>
  </manifest>
  <spine>
    <itemref idref="ch1"/>
  </spine>
</package>
)",
                                                      title, author)});
  members.push_back({"OEBPS/ch1.xhtml", fmt::format(R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE html>
<html xmlns="http://www.w3.org/1999/xhtml" xmlns:epub="http://www.idpf.org/2007/ops">
<head><title>{0}</title></head>
<body>
  <nav epub:type="toc"><ol><li><a href="ch1.xhtml#one">Chapter One</a></li></ol></nav>
  <h1 id="one">Chapter One</h1>
  <p>Every evening the keeper climbed the hundred and twelve steps with a can of oil and a
  cloth, and every evening the harbour below waited for the light.</p>
</body>
</html>
)",
                                                    title)});
  members.push_back({"OEBPS/cover.png", std::string(cover->begin(), cover->end())});
  return members;
}

std::string history_demo_projection() {
  const std::string record(kHistoryDemoRecordId);
  const std::string person = byte_array(0x21, 3);
  struct Version {
    const char* id;
    const char* parent;
    std::uint8_t device_seed;
    std::uint64_t at_ms;
    const char* provenance;
  };
  // 3, 10 and 12 June 2024: drafted on the laptop, edited twice.
  const std::array<Version, 3> versions = {{
      {"a1f0c3d2-0001-4c6e-9a10-2b3c4d5e6f01", nullptr, 0x40, 1717408800000, "Create"},
      {"a1f0c3d2-0002-4c6e-9a10-2b3c4d5e6f02", "a1f0c3d2-0001-4c6e-9a10-2b3c4d5e6f01", 0x40,
       1718013600000, "Edit"},
      {"a1f0c3d2-0003-4c6e-9a10-2b3c4d5e6f03", "a1f0c3d2-0002-4c6e-9a10-2b3c4d5e6f02", 0x90,
       1718190000000, "Edit"},
  }};
  std::vector<std::string> items;
  for (std::size_t i = 0; i < versions.size(); ++i) {
    const Version& v = versions[i];
    std::string parents = v.parent != nullptr ? fmt::format("[\"{}\"]", v.parent) : "[]";
    auto seed = static_cast<std::uint8_t>(0x10 * (i + 1));
    items.push_back(fmt::format(
        R"({{"id":"{}","record_id":"{}","parents":{},"actor":{{"person":{},"device":{}}},)"
        R"("timestamp_ms":{},"content_hash":{},"metadata_hash":{},"provenance":"{}"}})",
        v.id, record, parents, person, byte_array(v.device_seed, 5), v.at_ms, byte_array(seed, 7),
        byte_array(seed + 1, 11), v.provenance));
  }
  return fmt::format(
      R"({{"schema_version":1,"record_id":"{}","total_versions":{},"versions_truncated":false,)"
      R"("heads":["{}"],"versions":[{}],"conflicts_truncated":false,"conflicts":[]}})",
      record, versions.size(), versions.back().id, fmt::join(items, ","));
}

std::expected<void, std::string> set_attribute(const std::filesystem::path& path, const char* name,
                                               std::string_view value) {
  int rc;
  do {
    rc = ::lsetxattr(path.c_str(), name, value.data(), value.size(), 0);
  } while (rc != 0 && errno == EINTR);
  if (rc != 0) {
    return std::unexpected(fmt::format("{} on {}: {}", name, path.string(), std::strerror(errno)));
  }
  return {};
}

std::expected<void, std::string> write_file(const std::filesystem::path& path,
                                            std::string_view content) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(content.data(), static_cast<std::streamsize>(content.size()));
  out.close();
  if (!out) return std::unexpected(fmt::format("cannot write {}", path.string()));
  return {};
}

}  // namespace files::demo
