#include "model/folder_listing.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <xdg_paths/xdg_paths.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <system_error>

#include "model/archive_reader.h"
#include "model/lossy_text.h"
#include "model/mime_types.h"

namespace files::model {
namespace {

namespace fs = std::filesystem;

struct DirCloser {
  void operator()(DIR* dir) const { ::closedir(dir); }
};

std::string system_error_text(int error) {
  return std::system_category().message(error);
}

// st_mtim as a time point; absent when it cannot be represented in nanoseconds.
std::optional<FileTime> modification_time(const struct stat& st) {
  constexpr std::int64_t kMaxSeconds = INT64_MAX / 1000000000 - 1;
  if (st.st_mtim.tv_sec > kMaxSeconds || st.st_mtim.tv_sec < -kMaxSeconds) return std::nullopt;
  return FileTime(std::chrono::nanoseconds(
      static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec));
}

FileEntry entry_from_member(const fs::path& archive, const ArchiveMember& member) {
  FileEntry entry;
  entry.name = lossy_utf8(member.path.filename().native());
  entry.path = archive / member.path;
  entry.is_dir = member.is_dir;
  entry.size = member.size;
  entry.mime_type = member.is_dir ? kFolderMimeType : guess_mime_type(member.path);
  return entry;
}

}  // namespace

std::expected<std::vector<FileEntry>, std::string> list_folder(const fs::path& folder,
                                                               InWorkspace in_workspace) {
  int fd = -1;
  do {
    fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return std::unexpected(system_error_text(errno));
  std::unique_ptr<DIR, DirCloser> dir(::fdopendir(fd));
  if (!dir) {
    const int error = errno;
    ::close(fd);
    return std::unexpected(system_error_text(error));
  }

  std::string prefix = folder.native();
  if (prefix.empty() || prefix.back() != '/') prefix.push_back('/');

  // The names are collected first so the entries can be built in place in one allocation;
  // growing a vector of 100,000 entries would move each of them several times.
  std::string names;
  std::vector<std::size_t> ends;
  for (;;) {
    errno = 0;
    const dirent* item = ::readdir(dir.get());
    // An enumeration error ends the listing like its end does: the items read so far stay.
    if (item == nullptr) break;
    const std::string_view raw = item->d_name;
    if (raw == "." || raw == "..") continue;
    names.append(raw);
    names.push_back('\0');
    ends.push_back(names.size() - 1);
  }

  std::vector<FileEntry> entries(ends.size());
  std::size_t start = 0;
  for (std::size_t i = 0; i < ends.size(); ++i) {
    const std::string_view raw(names.data() + start, ends[i] - start);
    const char* c_name = names.data() + start;
    start = ends[i] + 1;
    FileEntry& entry = entries[i];
    struct stat st {};
    int rc = 0;
    do {
      rc = ::fstatat(fd, c_name, &st, AT_SYMLINK_NOFOLLOW);
    } while (rc != 0 && errno == EINTR);
    const bool have_metadata = rc == 0;

    std::string full;
    full.reserve(prefix.size() + raw.size());
    full.append(prefix).append(raw);
    entry.path = EntryPath(std::move(full));
    entry.name = lossy_utf8(raw);
    entry.mime_type = guess_mime_type(raw);
    ItemKind kind = ItemKind::Unreadable;
    if (have_metadata) {
      entry.is_dir = S_ISDIR(st.st_mode);
      entry.size = static_cast<std::uint64_t>(st.st_size);
      entry.modified = modification_time(st);
      kind = entry.is_dir ? ItemKind::Folder : ItemKind::File;
    }
    if (in_workspace == InWorkspace::Yes) {
      entry.set_collab_state(read_collab_state(entry.path, in_workspace, kind));
    }
  }
  return entries;
}

std::optional<fs::path> trash_files_folder() {
  auto data = xdg_paths::data_dir();
  if (!data) return std::nullopt;
  return *data / "Trash" / "files";
}

std::expected<std::vector<FileEntry>, std::string> load_folder_entries(
    const fs::path& folder, const InWorkspaceSource& in_workspace) {
  if (const auto location = archive_view_location(folder)) {
    auto members = list_archive_members(location->archive);
    if (!members) return std::unexpected(std::move(members.error()));
    std::vector<FileEntry> entries;
    for (const auto& member : members_in_folder(*members, location->inner)) {
      entries.push_back(entry_from_member(location->archive, member));
    }
    return entries;
  }
  if (const auto trash = trash_files_folder(); trash && folder == *trash) {
    // A failure shows up as the listing's own error just below.
    std::error_code ignored;
    fs::create_directories(*trash, ignored);
  }
  return list_folder(folder, in_workspace ? in_workspace(folder) : InWorkspace::No);
}

void hide_dot_files(std::vector<FileEntry>& entries) {
  std::erase_if(entries, [](const FileEntry& entry) { return entry.name.starts_with('.'); });
}

}  // namespace files::model
