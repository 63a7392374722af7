#include "fileops/dir_entries.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <string_view>

namespace files::fileops {

std::expected<std::vector<std::string>, int> read_entry_names(int dir_fd) {
  const int dup_fd = ::fcntl(dir_fd, F_DUPFD_CLOEXEC, 0);
  if (dup_fd < 0) return std::unexpected(errno);
  DIR* dir = ::fdopendir(dup_fd);
  if (dir == nullptr) {
    const int error_number = errno;
    ::close(dup_fd);
    return std::unexpected(error_number);
  }
  // The duplicate shares its position with the original; start from the beginning.
  ::rewinddir(dir);
  std::vector<std::string> names;
  for (;;) {
    errno = 0;
    const dirent* entry = ::readdir(dir);
    if (entry == nullptr) break;
    const std::string_view name = entry->d_name;
    if (name != "." && name != "..") names.emplace_back(name);
  }
  const int error_number = errno;
  ::closedir(dir);
  if (error_number != 0) return std::unexpected(error_number);
  return names;
}

}  // namespace files::fileops
