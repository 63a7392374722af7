#include "archive_ops/create_zip.h"

#include <archive.h>
#include <archive_entry.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <memory>
#include <vector>

#include "archive_ops/numbered_name.h"
#include "archive_ops/publish_hook.h"
#include "fileops/dir_entries.h"
#include "fileops/item_name.h"
#include "fileops/system_error.h"
#include "fileops/unique_fd.h"
#include "model/lossy_text.h"

namespace files::archive_ops {
namespace {

namespace fs = std::filesystem;
using fileops::retry_eintr;
using fileops::system_error_text;
using fileops::UniqueFd;

using Result = std::expected<void, std::string>;

// Copy and output buffers: large enough that the compressor, not the system calls, sets the pace.
constexpr std::size_t kCopyBuffer = 256 * 1024;
constexpr int kOutputBlock = 256 * 1024;
// How often publishing moves on to another name while others keep taking them.
constexpr unsigned kPublishAttempts = 1000;
// Permissions recorded for every entry: the sources' own modes are not part of the archive.
constexpr mode_t kFilePermissions = 0644;
constexpr mode_t kFolderPermissions = 0755;

// The ZIP writer's output: whole writes to the temporary file, the system's text on failure.
la_ssize_t write_output(archive* a, void* client, const void* buffer, size_t length) {
  const int fd = *static_cast<int*>(client);
  const auto* bytes = static_cast<const char*>(buffer);
  size_t left = length;
  while (left > 0) {
    const ssize_t n = retry_eintr([&] { return ::write(fd, bytes, left); });
    if (n < 0) {
      const int error = errno;
      archive_set_error(a, error, "%s", system_error_text(error).c_str());
      return -1;
    }
    bytes += n;
    left -= static_cast<size_t>(n);
  }
  return static_cast<la_ssize_t>(length);
}

std::string writer_error(archive* a) {
  const char* text = archive_error_string(a);
  return text != nullptr && *text != '\0' ? std::string(text) : std::string("ZIP writer failed");
}

// The temporary file; removed unless it was published under the final name.
class TemporaryFile {
 public:
  TemporaryFile(int dir_fd, std::string name) : dir_fd_(dir_fd), name_(std::move(name)) {}
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  ~TemporaryFile() {
    // Best effort: the operation has already failed with its own error.
    if (!published_) (void)::unlinkat(dir_fd_, name_.c_str(), 0);
  }
  const std::string& name() const { return name_; }
  void mark_published() { published_ = true; }

 private:
  int dir_fd_;
  std::string name_;
  bool published_ = false;
};

// Creates the temporary file exclusively under the first free temporary name.
std::expected<std::pair<std::unique_ptr<TemporaryFile>, UniqueFd>, std::string> create_temporary(
    int dir_fd, const std::string& zip_name) {
  for (unsigned attempt = 1; attempt <= kTemporaryFileAttempts; ++attempt) {
    std::string name = temporary_zip_name(zip_name, attempt);
    UniqueFd fd(retry_eintr([&] {
      return ::openat(dir_fd, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                      0666);
    }));
    if (fd)
      return std::pair{std::make_unique<TemporaryFile>(dir_fd, std::move(name)), std::move(fd)};
    if (errno != EEXIST || attempt == kTemporaryFileAttempts) {
      return std::unexpected(system_error_text(errno));
    }
  }
  return std::unexpected(system_error_text(EEXIST));
}

// One ZIP being written through libarchive with the fixed entry options.
class ZipWriter {
 public:
  explicit ZipWriter(int fd) : fd_(fd), buffer_(kCopyBuffer) {}
  ZipWriter(const ZipWriter&) = delete;
  ZipWriter& operator=(const ZipWriter&) = delete;
  ~ZipWriter() {
    if (entry_ != nullptr) archive_entry_free(entry_);
    if (a_ != nullptr) archive_write_free(a_);
  }

  Result open() {
    a_ = archive_write_new();
    entry_ = archive_entry_new();
    if (a_ == nullptr || entry_ == nullptr) return std::unexpected(system_error_text(ENOMEM));
    if (archive_write_set_format_zip(a_) != ARCHIVE_OK ||
        archive_write_zip_set_compression_deflate(a_) != ARCHIVE_OK ||
        // Without a value the option turns ZIP64 off: a file above 4294967295 bytes fails.
        archive_write_set_format_option(a_, "zip", "zip64", nullptr) != ARCHIVE_OK ||
        archive_write_set_format_option(a_, "zip", "hdrcharset", "UTF-8") != ARCHIVE_OK ||
        archive_write_set_bytes_per_block(a_, kOutputBlock) != ARCHIVE_OK ||
        archive_write_set_bytes_in_last_block(a_, 1) != ARCHIVE_OK ||
        archive_write_open2(a_, &fd_, nullptr, write_output, nullptr, nullptr) != ARCHIVE_OK) {
      return std::unexpected(writer_error(a_));
    }
    return {};
  }

  // Adds the item at `path` (a selected item) under `name`.
  Result add_item(const fs::path& path, const std::string& name) {
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
      UniqueFd dir(
          retry_eintr([&] { return ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); }));
      if (!dir) return std::unexpected(system_error_text(errno));
      return add_folder(dir.get(), name);
    }
    if (::lstat(path.c_str(), &st) != 0) return std::unexpected(system_error_text(errno));
    if (!S_ISREG(st.st_mode)) return {};
    UniqueFd file(retry_eintr(
        [&] { return ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC); }));
    if (!file) return std::unexpected(system_error_text(errno));
    return add_file(file.get(), name);
  }

  Result finish() {
    if (archive_write_close(a_) != ARCHIVE_OK) return std::unexpected(writer_error(a_));
    return {};
  }

 private:
  Result start_entry(const std::string& name, mode_t type, mode_t permissions, std::int64_t size) {
    // No time is set: the writer records the ZIP epoch, 1980-01-01 00:00:00.
    archive_entry_clear(entry_);
    archive_entry_set_pathname_utf8(entry_, name.c_str());
    archive_entry_set_filetype(entry_, type);
    archive_entry_set_perm(entry_, permissions);
    archive_entry_set_size(entry_, size);
    if (archive_write_header(a_, entry_) != ARCHIVE_OK) return std::unexpected(writer_error(a_));
    return {};
  }

  // A folder entry for the open folder `dir`, then everything inside it.
  Result add_folder(int dir, const std::string& name) {
    if (auto started = start_entry(name, AE_IFDIR, kFolderPermissions, 0); !started) {
      return started;
    }
    auto names = fileops::read_entry_names(dir);
    if (!names) return std::unexpected(system_error_text(names.error()));
    for (const std::string& child : *names) {
      struct stat st {};
      if (::fstatat(dir, child.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
        return std::unexpected(system_error_text(errno));
      }
      const bool folder = S_ISDIR(st.st_mode);
      if (!folder && !S_ISREG(st.st_mode)) continue;  // links and special files stay out
      UniqueFd fd(retry_eintr([&] {
        return ::openat(
            dir, child.c_str(),
            (folder ? O_RDONLY | O_DIRECTORY : O_RDONLY | O_NONBLOCK) | O_NOFOLLOW | O_CLOEXEC);
      }));
      if (!fd) return std::unexpected(system_error_text(errno));
      const std::string child_name = name + "/" + model::lossy_utf8(child);
      auto added = folder ? add_folder(fd.get(), child_name) : add_file(fd.get(), child_name);
      if (!added) return added;
    }
    return {};
  }

  Result add_file(int fd, const std::string& name) {
    struct stat st {};
    if (::fstat(fd, &st) != 0) return std::unexpected(system_error_text(errno));
    // Replaced by something else since it was looked at: left out like any special file.
    if (!S_ISREG(st.st_mode)) return {};
    if (auto started = start_entry(name, AE_IFREG, kFilePermissions, st.st_size); !started) {
      return started;
    }
    for (;;) {
      const ssize_t n = retry_eintr([&] { return ::read(fd, buffer_.data(), buffer_.size()); });
      if (n < 0) return std::unexpected(system_error_text(errno));
      if (n == 0) break;
      if (archive_write_data(a_, buffer_.data(), static_cast<size_t>(n)) < 0) {
        return std::unexpected(writer_error(a_));
      }
    }
    if (archive_write_finish_entry(a_) != ARCHIVE_OK) return std::unexpected(writer_error(a_));
    return {};
  }

  int fd_;
  archive* a_ = nullptr;
  archive_entry* entry_ = nullptr;
  std::vector<char> buffer_;
};

}  // namespace

fs::path zip_destination(std::span<const fs::path> items, const fs::path& current_folder) {
  std::string base = "Archive";
  if (items.size() == 1) {
    if (const auto name = fileops::item_file_name(items.front());
        name && model::is_valid_utf8(name->native())) {
      base = fileops::split_stem_extension(name->native()).stem;
    }
  }
  return first_free_name(current_folder, base, ".zip");
}

std::string temporary_zip_name(std::string_view zip_name, unsigned attempt) {
  std::string name = fileops::split_stem_extension(zip_name).stem + ".zip.";
  if (attempt >= 2) name += std::to_string(attempt) + ".";
  name += "part";
  return name;
}

std::expected<fs::path, std::string> create_zip(std::span<const fs::path> items,
                                                const fs::path& zip_path) {
  const auto zip_name = fileops::item_file_name(zip_path);
  const auto folder = fileops::item_parent(zip_path);
  if (!zip_name || !folder) return std::unexpected(std::string(kPathHasNoFileName));
  UniqueFd dir_fd(
      retry_eintr([&] { return ::open(folder->c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); }));
  if (!dir_fd) return std::unexpected(system_error_text(errno));
  auto temporary = create_temporary(dir_fd.get(), zip_name->native());
  if (!temporary) return std::unexpected(std::move(temporary.error()));
  auto& [part, out] = *temporary;

  {
    ZipWriter writer(out.get());
    if (auto opened = writer.open(); !opened) return std::unexpected(opened.error());
    for (const fs::path& item : items) {
      const auto name = fileops::item_file_name(item);
      if (!name) return std::unexpected(std::string(kPathHasNoFileName));
      if (auto added = writer.add_item(item, model::lossy_utf8(name->native())); !added) {
        return std::unexpected(added.error());
      }
    }
    if (auto finished = writer.finish(); !finished) return std::unexpected(finished.error());
  }
  // The archive reaches the disk before it gets its name, so a crash right after the rename
  // cannot leave an empty or partial file under the final name.
  if (retry_eintr([&] { return ::fsync(out.get()); }) != 0) {
    return std::unexpected(system_error_text(errno));
  }
  if (const int error = out.close_checked(); error != 0) {
    return std::unexpected(system_error_text(error));
  }

  // Publishing never replaces an item that took the name meanwhile; the archive moves on to
  // the next numbered name instead.
  const auto extension = fileops::split_stem_extension(zip_name->native()).extension;
  const std::string suffix = extension ? "." + *extension : std::string();
  fs::path target = *folder / *zip_name;
  for (unsigned attempt = 1;; ++attempt) {
    detail::before_publish(target);
    if (::renameat2(dir_fd.get(), part->name().c_str(), dir_fd.get(), target.filename().c_str(),
                    RENAME_NOREPLACE) == 0) {
      break;
    }
    if (errno != EEXIST || attempt == kPublishAttempts) {
      return std::unexpected(system_error_text(errno));
    }
    target = next_free_name(*folder, target.filename().native(), suffix);
  }
  part->mark_published();
  return target;
}

}  // namespace files::archive_ops
