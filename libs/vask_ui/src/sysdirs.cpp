#include "vask_ui/sysdirs.h"

#include <cstdlib>
#include <fstream>
#include <string_view>

#include "xdg_paths/xdg_paths.h"

namespace vask_ui::sysdirs {
namespace {

std::optional<UserDirKind> kind_from_key(std::string_view key) {
  if (key == "XDG_DESKTOP_DIR") return UserDirKind::Desktop;
  if (key == "XDG_DOCUMENTS_DIR") return UserDirKind::Documents;
  if (key == "XDG_DOWNLOAD_DIR") return UserDirKind::Downloads;
  if (key == "XDG_MUSIC_DIR") return UserDirKind::Music;
  if (key == "XDG_PICTURES_DIR") return UserDirKind::Pictures;
  if (key == "XDG_PUBLICSHARE_DIR") return UserDirKind::Public;
  if (key == "XDG_TEMPLATES_DIR") return UserDirKind::Templates;
  if (key == "XDG_VIDEOS_DIR") return UserDirKind::Videos;
  return std::nullopt;
}

/// One `XDG_X_DIR="$HOME/Folder"` line: the value is either "$HOME/…" or an absolute path.
std::optional<std::filesystem::path> parse_value(std::string_view value,
                                                 const std::filesystem::path& home) {
  if (value.size() < 2 || value.front() != '"' || value.back() != '"') return std::nullopt;
  value = value.substr(1, value.size() - 2);
  std::string unescaped;
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value[i] == '\\' && i + 1 < value.size()) ++i;
    unescaped.push_back(value[i]);
  }
  std::string_view v(unescaped);
  if (v == "$HOME" || v == "$HOME/") return home;
  if (v.starts_with("$HOME/")) return home / std::string(v.substr(6));
  if (v.starts_with("/")) return std::filesystem::path(std::string(v));
  return std::nullopt;
}

/// Lexically normal without a trailing separator, so "/a/b/" and "/a/b" compare equal.
std::filesystem::path normalized(const std::filesystem::path& path) {
  auto normal = path.lexically_normal();
  if (!normal.has_filename() && normal.has_parent_path() && normal != normal.root_path()) {
    normal = normal.parent_path();
  }
  return normal;
}

}  // namespace

UserDirs UserDirs::from_file(const std::filesystem::path& user_dirs_file,
                             const std::filesystem::path& home) {
  UserDirs dirs;
  dirs.home_ = normalized(home);
  std::ifstream in(user_dirs_file);
  std::string line;
  while (std::getline(in, line)) {
    std::string_view l(line);
    while (!l.empty() && (l.front() == ' ' || l.front() == '\t'))
      l.remove_prefix(1);
    if (l.empty() || l.front() == '#') continue;
    auto eq = l.find('=');
    if (eq == std::string_view::npos) continue;
    auto kind = kind_from_key(l.substr(0, eq));
    if (!kind) continue;
    auto path = parse_value(l.substr(eq + 1), home);
    if (!path) continue;
    // A later line for the same key wins, as in the reference reader.
    std::erase_if(dirs.dirs_, [&](const auto& entry) { return entry.first == *kind; });
    dirs.dirs_.emplace_back(*kind, normalized(*path));
  }
  return dirs;
}

UserDirs UserDirs::from_system() {
  auto home = user_home_override();
  if (!home) home = xdg_paths::home_dir();
  if (!home) return {};
  auto config = xdg_paths::config_dir();
  return from_file(config ? *config / "user-dirs.dirs" : *home / ".config/user-dirs.dirs", *home);
}

std::optional<std::filesystem::path> UserDirs::get(UserDirKind kind) const {
  for (const auto& [k, path] : dirs_) {
    if (k == kind) return path;
  }
  return std::nullopt;
}

std::optional<UserDirKind> UserDirs::classify(const std::filesystem::path& path) const {
  auto normal = normalized(path);
  for (const auto& [kind, dir] : dirs_) {
    if (dir == normal && (!home_ || dir != normalized(*home_))) return kind;
  }
  return std::nullopt;
}

std::vector<std::pair<UserDirKind, std::filesystem::path>> UserDirs::content_places() const {
  std::vector<std::pair<UserDirKind, std::filesystem::path>> places;
  for (UserDirKind kind : {UserDirKind::Documents, UserDirKind::Downloads, UserDirKind::Pictures,
                           UserDirKind::Music, UserDirKind::Videos}) {
    auto path = get(kind);
    if (!path) continue;
    if (home_ && *path == normalized(*home_)) continue;
    places.emplace_back(kind, *path);
  }
  return places;
}

std::optional<std::filesystem::path> user_home_override() {
  const char* value = std::getenv("VASK_USER_HOME");
  if (value == nullptr || value[0] != '/') return std::nullopt;
  return std::filesystem::path(value);
}

}  // namespace vask_ui::sysdirs
