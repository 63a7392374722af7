#pragma once

#include <cstdint>
#include <expected>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

/// Generated files for the demonstration folders: pictures, a PDF, an EPUB, ZIP archives and
/// the collaborative attribute values the workspace filesystem would publish. Everything is
/// made in code so the demonstrations never depend on files lying around on the machine.
namespace files::demo {

using Bytes = std::vector<std::uint8_t>;

/// The scenery a generated picture shows.
enum class Scene { Sunset, Harbour, Forest, Bloom, Study, Coast, Cover };

enum class PictureFormat { Png, Jpeg };

/// A picture of `scene`, `width` × `height` pixels, encoded as PNG or JPEG.
std::expected<Bytes, std::string> picture(Scene scene, int width, int height, PictureFormat format);

/// A one-page PDF 1.4 document, 300 × 400 points, with a title and body lines set in the
/// standard Helvetica font. The cross-reference table holds the exact byte offset of every
/// object, so strict readers open it without repairing it.
std::string one_page_pdf(std::string_view title, const std::vector<std::string>& lines);

/// One member of a ZIP archive written by `write_zip`.
struct ZipMember {
  std::string name;
  std::string data;
  /// Stored without compression (the EPUB's "mimetype" must be, so readers can sniff it).
  bool stored = false;
};

/// Writes a ZIP archive with the members in the given order; members whose names end in "/"
/// are folders. The file is replaced when it exists.
std::expected<void, std::string> write_zip(const std::filesystem::path& path,
                                           const std::vector<ZipMember>& members);

/// The members of a small EPUB 3 book: "mimetype" (stored, first), "META-INF/container.xml",
/// "OEBPS/content.opf", "OEBPS/ch1.xhtml" and "OEBPS/cover.png".
std::expected<std::vector<ZipMember>, std::string> epub_members(std::string_view title,
                                                                std::string_view author);

/// The record id of the history demonstration file.
inline constexpr std::string_view kHistoryDemoRecordId = "11111111-1111-4111-8111-111111111111";

/// A "user.vask.history" value for the history demonstration: three versions (one Create, two
/// Edit) by two devices of one person, one head and no conflicts.
std::string history_demo_projection();

/// Sets one extended attribute on `path` without following a link.
std::expected<void, std::string> set_attribute(const std::filesystem::path& path, const char* name,
                                               std::string_view value);

/// Replaces `path` with `content`.
std::expected<void, std::string> write_file(const std::filesystem::path& path,
                                            std::string_view content);

}  // namespace files::demo
