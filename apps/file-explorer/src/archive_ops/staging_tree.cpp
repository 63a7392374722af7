#include "archive_ops/staging_tree.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>

#include "fileops/system_error.h"

namespace files::archive_ops::detail {
namespace {

namespace fs = std::filesystem;
using fileops::retry_eintr;
using fileops::system_error_text;
using fileops::UniqueFd;

constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

// Opens the folder `name` inside `parent`, creating it first when it is missing.
std::expected<UniqueFd, std::string> open_or_make(int parent, const char* name) {
  UniqueFd fd(retry_eintr([&] { return ::openat(parent, name, kFolderFlags); }));
  if (fd) return fd;
  if (errno != ENOENT) return std::unexpected(system_error_text(errno));
  if (::mkdirat(parent, name, 0777) != 0 && errno != EEXIST) {
    return std::unexpected(system_error_text(errno));
  }
  fd = UniqueFd(retry_eintr([&] { return ::openat(parent, name, kFolderFlags); }));
  if (!fd) return std::unexpected(system_error_text(errno));
  return fd;
}

// Whether `prefix` is `path` itself or one of its ancestors, component-wise.
bool starts_with(const fs::path& path, const fs::path& prefix) {
  auto it = path.begin();
  for (const auto& part : prefix) {
    if (it == path.end() || *it != part) return false;
    ++it;
  }
  return true;
}

}  // namespace

std::expected<int, std::string> StagingTree::folder(const fs::path& relative) {
  if (relative.empty()) return root_;
  if (cached_fd_ && relative == cached_path_) return cached_fd_.get();

  // Continue from the cached folder when the wanted one lies below it.
  const bool below_cache = cached_fd_ && starts_with(relative, cached_path_);
  UniqueFd current;
  auto it = relative.begin();
  if (below_cache) {
    current = std::move(cached_fd_);
    std::advance(it, std::distance(cached_path_.begin(), cached_path_.end()));
  }
  cached_fd_.reset();
  cached_path_.clear();
  for (; it != relative.end(); ++it) {
    auto next = open_or_make(current ? current.get() : root_, it->c_str());
    if (!next) return std::unexpected(std::move(next.error()));
    current = std::move(*next);
  }
  cached_path_ = relative;
  cached_fd_ = std::move(current);
  return cached_fd_.get();
}

std::expected<void, std::string> StagingTree::make_folder(const fs::path& relative) {
  auto fd = folder(relative);
  if (!fd) return std::unexpected(std::move(fd.error()));
  return {};
}

std::expected<UniqueFd, std::string> StagingTree::create_file(const fs::path& relative) {
  auto parent = folder(relative.parent_path());
  if (!parent) return std::unexpected(std::move(parent.error()));
  const fs::path name = relative.filename();
  UniqueFd fd(retry_eintr([&] {
    return ::openat(*parent, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                    0666);
  }));
  if (!fd) return std::unexpected(system_error_text(errno));
  return fd;
}

}  // namespace files::archive_ops::detail
