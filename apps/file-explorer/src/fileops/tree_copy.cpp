#include "fileops/tree_copy.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "fileops/dir_entries.h"
#include "fileops/item_name.h"
#include "fileops/remove.h"
#include "fileops/seams.h"
#include "fileops/system_error.h"
#include "fileops/unique_fd.h"

namespace files::fileops {
namespace {

using Result = std::expected<void, std::string>;

constexpr const char* kTypeChanged = "source type changed during copy";
// Kernel copies run in chunks this large: few enough calls for a big file, and each chunk is a
// point where a write failure can surface.
constexpr std::size_t kKernelChunk = std::size_t{8} << 20;
constexpr std::size_t kBufferSize = std::size_t{1} << 20;

Result failure(int error_number) {
  return std::unexpected(system_error_text(error_number));
}

/// State shared by one tree copy: the user-space buffer, made only if some file needs it, and
/// the top-level target path the fault hooks are told about.
struct CopyContext {
  std::filesystem::path target;
  std::unique_ptr<std::byte[]> buffer;
  /// Folder depth below the top-level item; 0 while the top-level item itself is created.
  int depth = 0;
  /// Whether this copy created the top-level target (only then may a failure remove it).
  bool created_target = false;

  void note_created() {
    if (depth == 0) created_target = true;
  }
};

int write_all(int out, const std::byte* data, std::size_t size) {
  while (size > 0) {
    const ssize_t written = retry_eintr([&] { return ::write(out, data, size); });
    if (written < 0) return errno;
    data += written;
    size -= static_cast<std::size_t>(written);
  }
  return 0;
}

int copy_by_read_write(int in, int out, CopyContext& context) {
  if (!context.buffer) context.buffer = std::make_unique<std::byte[]>(kBufferSize);
  for (;;) {
    const ssize_t got = retry_eintr([&] { return ::read(in, context.buffer.get(), kBufferSize); });
    if (got < 0) return errno;
    if (got == 0) return 0;
    if (const int injected = injected_fault(FaultPoint::CopyWrite, context.target)) return injected;
    if (const int error_number =
            write_all(out, context.buffer.get(), static_cast<std::size_t>(got)))
      return error_number;
  }
}

/// Copies the rest of `in` to `out`, in the kernel where the file systems allow it. Returns 0 or
/// an errno value.
int copy_content(int in, int out, std::uint64_t expected_size, CopyContext& context) {
  bool copied_any = false;
  std::uint64_t copied_total = 0;
  for (;;) {
    if (copied_total < expected_size) {
      if (const int injected = injected_fault(FaultPoint::CopyWrite, context.target)) {
        return injected;
      }
    }
    const ssize_t copied =
        retry_eintr([&] { return ::copy_file_range(in, nullptr, out, nullptr, kKernelChunk, 0); });
    if (copied > 0) {
      copied_any = true;
      copied_total += static_cast<std::uint64_t>(copied);
      continue;
    }
    if (copied == 0) {
      // Some pseudo file systems report 0 for files that do have content; reading tells.
      return copied_any ? 0 : copy_by_read_write(in, out, context);
    }
    const int error_number = errno;
    const bool unsupported = error_number == EXDEV || error_number == ENOSYS ||
                             error_number == EOPNOTSUPP || error_number == EINVAL ||
                             error_number == EPERM;
    if (copied_any || !unsupported) return error_number;
    return copy_by_read_write(in, out, context);
  }
}

Result copy_at(int src_dir, const std::string& src_name, int dst_dir, const std::string& dst_name,
               CopyContext& context);

Result copy_symlink(int src_dir, const std::string& src_name, int dst_dir,
                    const std::string& dst_name, std::size_t size_hint, CopyContext& context) {
  std::vector<char> buffer(size_hint + 2 > 256 ? size_hint + 2 : 256);
  for (;;) {
    const ssize_t length = ::readlinkat(src_dir, src_name.c_str(), buffer.data(), buffer.size());
    if (length < 0) return failure(errno);
    if (static_cast<std::size_t>(length) < buffer.size()) {
      const std::string link_target(buffer.data(), static_cast<std::size_t>(length));
      if (::symlinkat(link_target.c_str(), dst_dir, dst_name.c_str()) != 0) return failure(errno);
      context.note_created();
      return {};
    }
    buffer.resize(buffer.size() * 2);  // the link grew since it was looked at
  }
}

Result copy_regular(int src_fd, const struct stat& st, int dst_dir, const std::string& dst_name,
                    CopyContext& context) {
  UniqueFd out(retry_eintr([&] {
    return ::openat(dst_dir, dst_name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                    0666);
  }));
  if (!out) return failure(errno);
  context.note_created();
  // Reading from disk, a doubled readahead window keeps the copy streaming; advice only.
  (void)::posix_fadvise(src_fd, 0, 0, POSIX_FADV_SEQUENTIAL);
  if (const int error_number =
          copy_content(src_fd, out.get(), static_cast<std::uint64_t>(st.st_size), context)) {
    return failure(error_number);
  }
  if (::fchmod(out.get(), st.st_mode & 07777) != 0) return failure(errno);
  if (const int error_number = out.close_checked()) return failure(error_number);
  return {};
}

Result copy_folder(int src_fd, const struct stat& st, int dst_dir, const std::string& dst_name,
                   CopyContext& context) {
  if (::mkdirat(dst_dir, dst_name.c_str(), 0777) != 0) return failure(errno);
  context.note_created();
  UniqueFd out(retry_eintr([&] {
    return ::openat(dst_dir, dst_name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  }));
  if (!out) return failure(errno);
  auto names = read_entry_names(src_fd);
  if (!names) return failure(names.error());
  ++context.depth;
  for (const std::string& name : *names) {
    if (auto copied = copy_at(src_fd, name, out.get(), name, context); !copied) return copied;
  }
  --context.depth;
  // Permissions last: a read-only source folder must not stop us filling its copy.
  if (::fchmod(out.get(), st.st_mode & 07777) != 0) return failure(errno);
  return {};
}

Result copy_at(int src_dir, const std::string& src_name, int dst_dir, const std::string& dst_name,
               CopyContext& context) {
  struct stat link_st {};
  if (::fstatat(src_dir, src_name.c_str(), &link_st, AT_SYMLINK_NOFOLLOW) != 0) {
    return failure(errno);
  }
  if (S_ISLNK(link_st.st_mode)) {
    return copy_symlink(src_dir, src_name, dst_dir, dst_name,
                        static_cast<std::size_t>(link_st.st_size), context);
  }
  // Devices, FIFOs and sockets are refused before opening: opening a FIFO would block and opening
  // a device can have effects of its own.
  if (!S_ISREG(link_st.st_mode) && !S_ISDIR(link_st.st_mode)) return std::unexpected(kTypeChanged);

  UniqueFd in(retry_eintr([&] {
    return ::openat(src_dir, src_name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  }));
  if (!in) {
    // O_NOFOLLOW fails with ELOOP when the item became a link after we looked at it.
    if (errno == ELOOP) return std::unexpected(kTypeChanged);
    return failure(errno);
  }
  struct stat st {};
  if (::fstat(in.get(), &st) != 0) return failure(errno);
  if (S_ISREG(st.st_mode) && S_ISREG(link_st.st_mode)) {
    return copy_regular(in.get(), st, dst_dir, dst_name, context);
  }
  if (S_ISDIR(st.st_mode) && S_ISDIR(link_st.st_mode)) {
    return copy_folder(in.get(), st, dst_dir, dst_name, context);
  }
  return std::unexpected(kTypeChanged);
}

}  // namespace

std::expected<void, std::string> copy_tree(const std::filesystem::path& source,
                                           const std::filesystem::path& target) {
  const auto source_parent = item_parent(source);
  if (!source_parent) return std::unexpected("source has no parent directory");
  const auto source_name = item_file_name(source);
  if (!source_name) return std::unexpected("source has no file name");
  const auto target_parent = item_parent(target);
  const auto target_name = item_file_name(target);
  if (!target_parent || !target_name) return failure(EINVAL);

  UniqueFd src_dir(retry_eintr(
      [&] { return ::open(source_parent->c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); }));
  if (!src_dir) return failure(errno);
  UniqueFd dst_dir(retry_eintr(
      [&] { return ::open(target_parent->c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); }));
  if (!dst_dir) return failure(errno);

  CopyContext context{target, nullptr};
  auto copied =
      copy_at(src_dir.get(), source_name->native(), dst_dir.get(), target_name->native(), context);
  // Whatever a failed copy created at the target is ours (it was created exclusively); leave
  // nothing half-made behind. If even that fails, the caller's clean-up of its staging folder
  // still covers it.
  if (!copied && context.created_target) {
    (void)remove_if_exists(target, RemoveMode::MakeWritable);
  }
  return copied;
}

}  // namespace files::fileops
