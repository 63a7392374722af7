#include "archive_ops/extract.h"

#include <archive.h>
#include <archive_entry.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <memory>
#include <optional>
#include <system_error>

#include "archive_ops/archive_source.h"
#include "archive_ops/numbered_name.h"
#include "archive_ops/publish_hook.h"
#include "archive_ops/staging_tree.h"
#include "fileops/item_name.h"
#include "fileops/remove.h"
#include "fileops/system_error.h"
#include "fileops/unique_fd.h"
#include "model/archive_reader.h"
#include "model/lossy_text.h"

namespace files::archive_ops {
namespace {

namespace fs = std::filesystem;
using detail::reader_error;
using fileops::retry_eintr;
using fileops::system_error_text;
using fileops::UniqueFd;

// How often publishing moves on to another name while others keep taking them.
constexpr unsigned kPublishAttempts = 1000;

std::string without_suffixes(std::string name) {
  for (const std::string_view suffix : {".gz", ".tar", ".zip"}) {
    while (name.ends_with(suffix))
      name.resize(name.size() - suffix.size());
  }
  return name;
}

// The hidden folder an extraction fills; removed with everything in it unless published.
class TemporaryFolder {
 public:
  explicit TemporaryFolder(fs::path path) : path_(std::move(path)) {}
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;
  ~TemporaryFolder() {
    // Cleaning up is best effort: the extraction has already failed with its own error.
    if (!published_) (void)fileops::remove_if_exists(path_, fileops::RemoveMode::MakeWritable);
  }

  const fs::path& path() const { return path_; }
  std::string name() const { return path_.filename().string(); }
  void mark_published() { published_ = true; }

 private:
  fs::path path_;
  bool published_ = false;
};

// Reserves the hidden folder for `destination_name` in the open folder `parent`.
std::expected<std::unique_ptr<TemporaryFolder>, std::string> reserve_temporary_folder(
    const fs::path& parent_path, int parent_fd, const std::string& destination_name) {
  for (unsigned attempt = 0; attempt < kTemporaryFolderAttempts; ++attempt) {
    const std::string name = temporary_folder_name(destination_name, attempt);
    struct stat st {};
    if (::fstatat(parent_fd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0) continue;
    if (::mkdirat(parent_fd, name.c_str(), 0777) == 0) {
      return std::make_unique<TemporaryFolder>(parent_path / name);
    }
    // Another process may have taken the name between the look and the creation.
    if (errno != EEXIST) return std::unexpected(system_error_text(errno));
  }
  return std::unexpected(std::string(kNoTemporaryFolder));
}

// What a member's content copy found.
enum class CopyEnd { Complete, SizeMismatch };

// Streams the current member's content into `fd`, stopping before the first byte beyond
// `declared`: a member that inflates to more than it declares never writes more than that.
// Sparse members arrive as blocks at offsets; the gaps stay holes in the written file, and a
// hole at the end (which the reader does not deliver) is restored from the declared size.
std::expected<CopyEnd, std::string> copy_member(archive* a, archive_entry* entry, int fd,
                                                std::uint64_t declared) {
  std::uint64_t end = 0;
  for (;;) {
    const void* data = nullptr;
    std::size_t size = 0;
    la_int64_t offset = 0;
    const int status = archive_read_data_block(a, &data, &size, &offset);
    if (status == ARCHIVE_EOF) break;
    if (status < ARCHIVE_WARN) return std::unexpected(reader_error(a, "archive is unreadable"));
    // A warning still comes with a valid block; it tells that the member's checks failed.
    if (offset < 0) return CopyEnd::SizeMismatch;
    std::uint64_t at = static_cast<std::uint64_t>(offset);
    if (at < end || at > declared || size > declared - at) return CopyEnd::SizeMismatch;
    const auto* bytes = static_cast<const char*>(data);
    while (size > 0) {
      const ssize_t n =
          retry_eintr([&] { return ::pwrite(fd, bytes, size, static_cast<off_t>(at)); });
      if (n < 0) return std::unexpected(system_error_text(errno));
      bytes += n;
      size -= static_cast<std::size_t>(n);
      at += static_cast<std::uint64_t>(n);
    }
    end = at;
    if (status == ARCHIVE_WARN) {
      // The reader's size check and ours agree on what matters: a short member is truncated;
      // any other complaint (a bad checksum) is the reader's to tell.
      if (end != declared) return CopyEnd::SizeMismatch;
      return std::unexpected(reader_error(a, "archive member is damaged"));
    }
  }
  if (end < declared && archive_entry_sparse_count(entry) > 0) {
    if (retry_eintr([&] { return ::ftruncate(fd, static_cast<off_t>(declared)); }) != 0) {
      return std::unexpected(system_error_text(errno));
    }
    end = declared;
  }
  return end == declared ? CopyEnd::Complete : CopyEnd::SizeMismatch;
}

// Writes the current member, a regular file, to `relative` below the staging folder.
std::expected<void, std::string> write_file_member(archive* a, archive_entry* entry,
                                                   detail::StagingTree& tree,
                                                   const fs::path& relative, std::uint64_t declared,
                                                   std::string_view truncated) {
  auto fd = tree.create_file(relative);
  if (!fd) return std::unexpected(std::move(fd.error()));
  auto copied = copy_member(a, entry, fd->get(), declared);
  if (!copied) return std::unexpected(std::move(copied.error()));
  if (*copied == CopyEnd::SizeMismatch) return std::unexpected(std::string(truncated));
  if (const int error = fd->close_checked(); error != 0) {
    return std::unexpected(system_error_text(error));
  }
  return {};
}

// Opens the archive for reading. Only the name says it is an archive, so it may be a FIFO:
// opening without blocking keeps a FIFO without writer from hanging the window; reads then
// block again as the reader expects (and a FIFO without writer reads as empty). A folder with
// an archive's name is refused here.
std::expected<UniqueFd, std::string> open_archive_file(const fs::path& archive) {
  UniqueFd fd(retry_eintr(
      [&] { return ::open(archive.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC); }));
  if (!fd) return std::unexpected(system_error_text(errno));
  // The reader would only say it cannot read "fd 5"; the system's word is clearer.
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0) return std::unexpected(system_error_text(errno));
  if (S_ISDIR(st.st_mode)) return std::unexpected(system_error_text(EISDIR));
  const int flags = ::fcntl(fd.get(), F_GETFL);
  if (flags < 0 || ::fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK) != 0) {
    return std::unexpected(system_error_text(errno));
  }
  return fd;
}

// Reads every member into the staging folder; the number of regular files written.
std::expected<std::uint64_t, std::string> fill(archive* a, int staging_fd,
                                               std::string_view truncated) {
  detail::StagingTree tree(staging_fd);
  model::ArchiveBudget budget;
  std::uint64_t files = 0;
  for (;;) {
    archive_entry* entry = nullptr;
    const int status = archive_read_next_header(a, &entry);
    if (status == ARCHIVE_EOF) break;
    if (status < ARCHIVE_WARN) return std::unexpected(reader_error(a, "archive is unreadable"));
    if (detail::is_link_member(entry)) continue;
    const la_int64_t size = archive_entry_size_is_set(entry) ? archive_entry_size(entry) : 0;
    const std::uint64_t declared = size > 0 ? static_cast<std::uint64_t>(size) : 0;
    if (auto admitted = budget.admit(declared); !admitted) {
      return std::unexpected(std::move(admitted.error()));
    }
    const char* stored = archive_entry_pathname(entry);
    auto relative = model::sanitize_member_name(stored != nullptr ? std::string_view(stored) : "");
    if (!relative) return std::unexpected(std::move(relative.error()));

    switch (archive_entry_filetype(entry)) {
      case AE_IFDIR:
        if (auto made = tree.make_folder(*relative); !made) return std::unexpected(made.error());
        break;
      case AE_IFREG:
        if (auto written = write_file_member(a, entry, tree, *relative, declared, truncated);
            !written) {
          return std::unexpected(std::move(written.error()));
        }
        if (files < UINT64_MAX) ++files;
        break;
      default:
        // Devices, FIFOs and sockets count against the limits but are never created.
        break;
    }
  }
  return files;
}

}  // namespace

fs::path extraction_destination(const fs::path& archive, const fs::path& current_folder) {
  std::string base = "Archive";
  if (const auto name = fileops::item_file_name(archive);
      name && model::is_valid_utf8(name->native())) {
    std::string stripped = without_suffixes(name->native());
    if (!stripped.empty()) base = std::move(stripped);
  }
  const auto parent = archive.has_parent_path() ? fileops::item_parent(archive) : std::nullopt;
  const fs::path folder = parent.value_or(current_folder);
  return first_free_name(folder, base, "");
}

std::string temporary_folder_name(std::string_view destination_name, unsigned attempt) {
  std::string name = ".";
  name += destination_name;
  name += ".extracting-";
  name += std::to_string(::getpid());
  name += '-';
  name += std::to_string(attempt);
  return name;
}

std::expected<Extracted, std::string> extract_archive(const fs::path& archive,
                                                      const fs::path& destination) {
  if (item_exists(destination)) return std::unexpected(std::string(kDestinationExists));
  const auto parent = fileops::item_parent(destination);
  if (!parent) return std::unexpected(std::string(kDestinationNoParent));
  std::error_code ec;
  fs::create_directories(*parent, ec);
  if (ec) return std::unexpected(ec.message());
  const auto name = fileops::item_file_name(destination);
  if (!name) return std::unexpected(std::string(kDestinationNoName));

  UniqueFd parent_fd(
      retry_eintr([&] { return ::open(parent->c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); }));
  if (!parent_fd) return std::unexpected(system_error_text(errno));
  auto staging = reserve_temporary_folder(*parent, parent_fd.get(), name->native());
  if (!staging) return std::unexpected(std::move(staging.error()));
  const std::string staging_name = (*staging)->name();
  UniqueFd staging_fd(retry_eintr([&] {
    return ::openat(parent_fd.get(), staging_name.c_str(),
                    O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  }));
  if (!staging_fd) return std::unexpected(system_error_text(errno));

  auto archive_fd = open_archive_file(archive);
  if (!archive_fd) return std::unexpected(std::move(archive_fd.error()));
  auto reader = detail::open_archive_reader(archive, archive_fd->get());
  if (!reader) return std::unexpected(std::move(reader.error()));
  const std::string_view truncated = model::archive_format_for(archive) == model::ArchiveFormat::Zip
                                         ? kTruncatedZipEntry
                                         : kTruncatedTarEntry;
  auto files = fill(reader->get(), staging_fd.get(), truncated);
  if (!files) return std::unexpected(std::move(files.error()));
  staging_fd.reset();

  // Publishing never replaces: an item that took the name meanwhile keeps it, and the
  // extraction moves on to the next numbered name.
  fs::path target = *parent / *name;
  for (unsigned attempt = 1;; ++attempt) {
    detail::before_publish(target);
    if (::renameat2(parent_fd.get(), staging_name.c_str(), parent_fd.get(),
                    target.filename().c_str(), RENAME_NOREPLACE) == 0) {
      break;
    }
    if (errno != EEXIST || attempt == kPublishAttempts) {
      return std::unexpected(system_error_text(errno));
    }
    target = next_free_name(*parent, target.filename().native(), "");
  }
  (*staging)->mark_published();
  return Extracted{*files, std::move(target)};
}

}  // namespace files::archive_ops
