#include "fileops/trash.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <ctime>
#include <set>

#include "fileops/dir_entries.h"
#include "fileops/item_name.h"
#include "fileops/log.h"
#include "fileops/remove.h"
#include "fileops/seams.h"
#include "fileops/system_error.h"
#include "fileops/transfer.h"
#include "fileops/trash_info.h"
#include "fileops/unique_fd.h"
#include "xdg_paths/xdg_paths.h"

namespace files::fileops {
namespace {

using Result = std::expected<void, std::string>;

constexpr std::string_view kInfoSuffix = ".trashinfo";
// Records are a few hundred bytes; anything far larger is not one of them.
constexpr std::size_t kMaxInfoSize = 64 * 1024;

std::string about(const std::filesystem::path& path, const std::string& error) {
  return path_text(path) + ": " + error;
}

Result make_private_folder(const std::filesystem::path& folder) {
  if (::mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST) return {};
  return std::unexpected(about(folder, system_error_text(errno)));
}

/// The absolute path an item is recorded under: the working directory prefixed when relative,
/// "." and ".." folded lexically; the final component is kept as named (a link stays a link).
std::expected<std::filesystem::path, std::string> absolute_item_path(
    const std::filesystem::path& path) {
  const auto name = item_file_name(path);
  const auto parent = item_parent(path);
  if (!name || !parent) return std::unexpected(about(path, "cannot move this item to the Trash"));
  std::error_code error;
  auto folder = std::filesystem::absolute(*parent, error);
  if (error) return std::unexpected(about(path, error.message()));
  return (folder.lexically_normal() / *name).lexically_normal();
}

std::optional<std::string> read_small_file(int dir_fd, const std::string& name) {
  UniqueFd fd(retry_eintr(
      [&] { return ::openat(dir_fd, name.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC); }));
  if (!fd) return std::nullopt;
  std::string text;
  char buffer[4096];
  for (;;) {
    const ssize_t got = retry_eintr([&] { return ::read(fd.get(), buffer, sizeof buffer); });
    if (got < 0) return std::nullopt;
    if (got == 0) return text;
    text.append(buffer, static_cast<std::size_t>(got));
    if (text.size() > kMaxInfoSize) return std::nullopt;
  }
}

int write_all(int fd, std::string_view text) {
  while (!text.empty()) {
    const ssize_t written = retry_eintr([&] { return ::write(fd, text.data(), text.size()); });
    if (written < 0) return errno;
    text.remove_prefix(static_cast<std::size_t>(written));
  }
  return 0;
}

}  // namespace

Trash::Trash(std::filesystem::path root) : root_(std::move(root)) {}

std::optional<Trash> Trash::home() {
  auto data = xdg_paths::data_dir();
  if (!data) return std::nullopt;
  return Trash(*data / "Trash");
}

Result Trash::ensure_folders() const {
  std::error_code error;
  if (auto parent = item_parent(root_)) {
    std::filesystem::create_directories(*parent, error);
    if (error) return std::unexpected(about(*parent, error.message()));
  }
  for (const auto& folder : {root_, files_dir(), info_dir()}) {
    if (auto made = make_private_folder(folder); !made) return made;
  }
  return {};
}

Result Trash::trash(const std::vector<std::filesystem::path>& paths) const {
  if (paths.empty()) return {};
  if (auto ready = ensure_folders(); !ready) return ready;
  for (const auto& path : paths) {
    if (auto trashed = trash_one(path); !trashed) return trashed;
  }
  return {};
}

Result Trash::trash_one(const std::filesystem::path& path) const {
  auto original = absolute_item_path(path);
  if (!original) return std::unexpected(original.error());
  struct stat st {};
  if (::lstat(original->c_str(), &st) != 0) {
    return std::unexpected(about(*original, system_error_text(errno)));
  }
  // The Trash cannot hold itself or anything it contains; a copy of a folder into its own
  // subfolder would never end.
  std::error_code error;
  const auto trash_root = std::filesystem::weakly_canonical(root_, error);
  if (!error) {
    const auto resolved_parent = std::filesystem::canonical(original->parent_path(), error);
    if (!error) {
      const auto resolved = resolved_parent / original->filename();
      if (is_same_or_inside(resolved, trash_root)) {
        return std::unexpected(about(*original, "the item is already in the Trash"));
      }
      if (S_ISDIR(st.st_mode) && is_same_or_inside(trash_root, resolved)) {
        return std::unexpected(about(*original, "a folder that holds the Trash cannot be trashed"));
      }
    }
  }

  UniqueFd info_dir_fd(
      retry_eintr([&] { return ::open(info_dir().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); }));
  if (!info_dir_fd) return std::unexpected(about(info_dir(), system_error_text(errno)));

  // Reserve a free in-Trash name by creating its record exclusively; a name whose record is free
  // but whose files/ entry is taken (left by another program) is skipped as well.
  const NameCandidates candidates(original->filename().native());
  std::string trash_name;
  std::string info_name;
  UniqueFd info_fd;
  for (unsigned n = kFirstCandidate; n <= kLastCandidate && !info_fd; ++n) {
    trash_name = candidates.candidate(n);
    info_name = trash_name + std::string(kInfoSuffix);
    UniqueFd fd(retry_eintr([&] {
      return ::openat(info_dir_fd.get(), info_name.c_str(),
                      O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    }));
    if (!fd) {
      if (errno == EEXIST) continue;
      return std::unexpected(about(info_dir() / info_name, system_error_text(errno)));
    }
    struct stat taken {};
    if (::lstat((files_dir() / trash_name).c_str(), &taken) == 0) {
      ::unlinkat(info_dir_fd.get(), info_name.c_str(), 0);
      continue;
    }
    info_fd = std::move(fd);
  }
  if (!info_fd) {
    return std::unexpected(about(*original, "too many items of this name in the Trash"));
  }
  const auto drop_record = [&] { ::unlinkat(info_dir_fd.get(), info_name.c_str(), 0); };

  const std::string record = format_trash_info(*original, format_deletion_date(std::time(nullptr)));
  int error_number = write_all(info_fd.get(), record);
  if (error_number == 0) error_number = info_fd.close_checked();
  if (error_number != 0) {
    drop_record();
    return std::unexpected(about(info_dir() / info_name, system_error_text(error_number)));
  }

  const std::filesystem::path target = files_dir() / trash_name;
  Result moved;
  if (const int injected = injected_fault(FaultPoint::TrashMove, *original)) {
    moved = std::unexpected(system_error_text(injected));
  } else {
    moved = move_to_exact(*original, target, root_);
  }
  if (!moved) {
    // Keep the record only when the item did arrive (its original could not be removed after
    // the copy): then the Trash holds a complete copy that must stay restorable.
    struct stat arrived {};
    if (::lstat(target.c_str(), &arrived) != 0) drop_record();
    return std::unexpected(about(*original, moved.error()));
  }
  return {};
}

std::expected<std::vector<TrashItem>, std::string> Trash::list() const {
  std::vector<TrashItem> items;
  UniqueFd dir_fd(
      retry_eintr([&] { return ::open(info_dir().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); }));
  if (!dir_fd) {
    if (errno == ENOENT) return items;
    return std::unexpected(about(info_dir(), system_error_text(errno)));
  }
  auto names = read_entry_names(dir_fd.get());
  if (!names) return std::unexpected(about(info_dir(), system_error_text(names.error())));
  const auto relative_base = item_parent(root_).value_or(root_);
  for (const std::string& name : *names) {
    if (!name.ends_with(kInfoSuffix) || name.size() == kInfoSuffix.size()) continue;
    const auto text = read_small_file(dir_fd.get(), name);
    if (!text) continue;
    auto info = parse_trash_info(*text, relative_base);
    if (!info) continue;
    items.push_back({info_dir() / name, name.substr(0, name.size() - kInfoSuffix.size()),
                     std::move(info->original_path), std::move(info->deletion_date)});
  }
  std::sort(items.begin(), items.end(),
            [](const TrashItem& a, const TrashItem& b) { return a.trash_name < b.trash_name; });
  return items;
}

Result Trash::restore(const std::vector<TrashItem>& items) const {
  // Every refusal comes before anything moves, so a refused restore changes nothing.
  std::set<std::filesystem::path> targets;
  for (const TrashItem& item : items) {
    struct stat st {};
    if (::lstat((files_dir() / item.trash_name).c_str(), &st) != 0) {
      return std::unexpected("“" + lossy_utf8(item.trash_name) + "” is no longer in the Trash");
    }
    if (!targets.insert(item.original_path).second) {
      return std::unexpected("cannot restore two items to “" + path_text(item.original_path) + "”");
    }
    if (::lstat(item.original_path.c_str(), &st) == 0) {
      return std::unexpected("cannot restore “" + lossy_utf8(item.trash_name) + "”: “" +
                             path_text(item.original_path) + "” already exists");
    }
  }
  for (const TrashItem& item : items) {
    if (auto parent = item_parent(item.original_path)) {
      std::error_code error;
      std::filesystem::create_directories(*parent, error);
      if (error) return std::unexpected(about(*parent, error.message()));
    }
    if (auto moved = move_to_exact(files_dir() / item.trash_name, item.original_path); !moved) {
      return std::unexpected("cannot restore “" + lossy_utf8(item.trash_name) +
                             "”: " + moved.error());
    }
    if (::unlink(item.info_path.c_str()) != 0 && errno != ENOENT) {
      // The item is back; a stale record only lists a missing item in other programs.
      warn_with_path("Trash record of a restored item could not be removed",
                     path_text(item.info_path), system_error_text(errno));
    }
  }
  return {};
}

Result Trash::purge(const std::vector<TrashItem>& items) const {
  for (const TrashItem& item : items) {
    // The item goes first and its record last, so a failure leaves a listed, purgeable item.
    // Read-only folders inside a trashed item are opened up: the user asked for all of it to go.
    if (auto removed = remove_if_exists(files_dir() / item.trash_name, RemoveMode::MakeWritable);
        !removed) {
      return std::unexpected(about(files_dir() / item.trash_name, removed.error()));
    }
    if (::unlink(item.info_path.c_str()) != 0 && errno != ENOENT) {
      return std::unexpected(about(item.info_path, system_error_text(errno)));
    }
  }
  return {};
}

}  // namespace files::fileops
