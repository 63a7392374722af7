#pragma once

#include <expected>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

struct archive;
struct archive_entry;

/// PRIVATE ADAPTER (until the directory model exposes its reader): opens archives for extraction
/// with exactly the reader set-up the model's listing uses (format by extension, the seekable
/// ZIP reader that trusts the central directory) and recognises the link members both skip. It
/// exists so that extraction and listing cannot disagree about what an archive contains; fold it
/// into the model's archive reader once that offers an open-for-reading call and its link test.
namespace files::archive_ops::detail {

struct ArchiveReadFree {
  void operator()(archive* a) const;
};
using ArchiveReader = std::unique_ptr<archive, ArchiveReadFree>;

/// A reader positioned before the first member of the archive at `path`, reading through the
/// open descriptor `fd` (which must outlive the reader). The error is the reader's text.
std::expected<ArchiveReader, std::string> open_archive_reader(const std::filesystem::path& path,
                                                              int fd);

/// Links are skipped, never listed nor extracted: symbolic links (ZIP members whose Unix mode
/// says so, tar symbolic links) and tar hard links.
bool is_link_member(archive_entry* entry);

/// The reader's own text for its last failure, or `fallback` when it gave none.
std::string reader_error(archive* a, std::string_view fallback);

}  // namespace files::archive_ops::detail
