#include "archive_ops/archive_source.h"

#include <archive.h>
#include <archive_entry.h>

#include "model/archive_reader.h"

namespace files::archive_ops::detail {
namespace {

// Large reads keep the system calls few on big archives; 128 KiB is where the gain flattens.
constexpr std::size_t kReadBlock = 128 * 1024;

}  // namespace

void ArchiveReadFree::operator()(archive* a) const {
  archive_read_free(a);
}

std::expected<ArchiveReader, std::string> open_archive_reader(const std::filesystem::path& path,
                                                              int fd) {
  ArchiveReader a(archive_read_new());
  if (!a) return std::unexpected(std::string("out of memory"));
  switch (model::archive_format_for(path)) {
    case model::ArchiveFormat::Zip:
      archive_read_support_format_zip_seekable(a.get());
      break;
    case model::ArchiveFormat::TarGzip:
      archive_read_support_filter_gzip(a.get());
      archive_read_support_format_tar(a.get());
      break;
    case model::ArchiveFormat::Tar:
      archive_read_support_format_tar(a.get());
      break;
  }
  if (archive_read_open_fd(a.get(), fd, kReadBlock) != ARCHIVE_OK) {
    return std::unexpected(reader_error(a.get(), "archive cannot be opened"));
  }
  return a;
}

bool is_link_member(archive_entry* entry) {
  return archive_entry_filetype(entry) == AE_IFLNK || archive_entry_hardlink(entry) != nullptr;
}

std::string reader_error(archive* a, std::string_view fallback) {
  const char* text = archive_error_string(a);
  return text != nullptr && *text != '\0' ? std::string(text) : std::string(fallback);
}

}  // namespace files::archive_ops::detail
