#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

/// The user's well-known folders (XDG user-dirs).
namespace vask_ui::sysdirs {

enum class UserDirKind {
  Desktop,
  Documents,
  Downloads,
  Music,
  Pictures,
  Public,
  Templates,
  Videos
};

class UserDirs {
 public:
  /// Reads $XDG_CONFIG_HOME/user-dirs.dirs relative to `home`. Missing entries fall back to
  /// nothing (not to guessed English names), so a folder is only named when the user has it.
  static UserDirs from_system();
  static UserDirs from_file(const std::filesystem::path& user_dirs_file,
                            const std::filesystem::path& home);

  std::optional<std::filesystem::path> get(UserDirKind kind) const;
  /// Which well-known folder `path` is, if any (exact match).
  std::optional<UserDirKind> classify(const std::filesystem::path& path) const;
  /// The content folders shown as places, in this order: Documents, Downloads, Pictures,
  /// Music, Videos (only those that are configured and are not the home folder itself).
  std::vector<std::pair<UserDirKind, std::filesystem::path>> content_places() const;
  const std::optional<std::filesystem::path>& home() const { return home_; }

 private:
  std::optional<std::filesystem::path> home_;
  std::vector<std::pair<UserDirKind, std::filesystem::path>> dirs_;
};

/// A home folder that overrides the system's (VASK_USER_HOME, when set to an absolute path).
std::optional<std::filesystem::path> user_home_override();

}  // namespace vask_ui::sysdirs
