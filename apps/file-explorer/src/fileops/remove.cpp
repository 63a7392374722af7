#include "fileops/remove.h"

#include <fcntl.h>
#include <sys/stat.h>

#include "fileops/dir_entries.h"
#include "fileops/item_name.h"
#include "fileops/seams.h"
#include "fileops/system_error.h"
#include "fileops/unique_fd.h"

namespace files::fileops {
namespace {

using Result = std::expected<void, std::string>;

Result failure(int error_number) {
  return std::unexpected(system_error_text(error_number));
}

/// Removes `name` inside `parent_fd`; `is_dir` tells what it was when looked at.
Result remove_at(int parent_fd, const std::string& name, bool is_dir, RemoveMode mode);

Result empty_folder(int dir_fd, RemoveMode mode) {
  auto names = read_entry_names(dir_fd);
  if (!names) return failure(names.error());
  for (const std::string& name : *names) {
    struct stat st {};
    if (::fstatat(dir_fd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
      if (errno == ENOENT) continue;  // gone meanwhile: nothing left to remove
      return failure(errno);
    }
    if (auto removed = remove_at(dir_fd, name, S_ISDIR(st.st_mode), mode); !removed) {
      return removed;
    }
  }
  return {};
}

Result remove_at(int parent_fd, const std::string& name, bool is_dir, RemoveMode mode) {
  if (!is_dir) {
    if (::unlinkat(parent_fd, name.c_str(), 0) == 0 || errno == ENOENT) return {};
    return failure(errno);
  }
  if (mode == RemoveMode::MakeWritable) {
    // Best effort: if this fails the open or unlink below reports the real problem.
    (void)::fchmodat(parent_fd, name.c_str(), S_IRWXU, 0);
  }
  UniqueFd dir_fd(retry_eintr([&] {
    return ::openat(parent_fd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  }));
  if (!dir_fd) {
    if (errno == ENOENT) return {};
    return failure(errno);
  }
  if (auto emptied = empty_folder(dir_fd.get(), mode); !emptied) return emptied;
  dir_fd.reset();
  if (::unlinkat(parent_fd, name.c_str(), AT_REMOVEDIR) == 0 || errno == ENOENT) return {};
  return failure(errno);
}

}  // namespace

std::expected<void, std::string> remove_if_exists(const std::filesystem::path& path,
                                                  RemoveMode mode) {
  if (const int injected = injected_fault(FaultPoint::Remove, path); injected != 0) {
    return failure(injected);
  }
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0) {
    if (errno == ENOENT) return {};
    return failure(errno);
  }
  const auto name = item_file_name(path);
  const auto parent = item_parent(path);
  if (!name || !parent) {
    // "/" or a path ending in "..": never something a caller means to take apart.
    return failure(EINVAL);
  }
  UniqueFd parent_fd(
      retry_eintr([&] { return ::open(parent->c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); }));
  if (!parent_fd) return failure(errno);
  return remove_at(parent_fd.get(), name->native(), S_ISDIR(st.st_mode), mode);
}

}  // namespace files::fileops
