#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

/// Where per-user configuration, cache, data and state live, by the XDG base-directory rules:
/// an absolute $XDG_*_HOME wins, otherwise the conventional folder under $HOME.
namespace xdg_paths {

/// The home folder from $HOME, falling back to the password database.
std::optional<std::filesystem::path> home_dir();

/// $XDG_DATA_HOME or ~/.local/share.
std::optional<std::filesystem::path> data_dir();
/// $XDG_CONFIG_HOME or ~/.config.
std::optional<std::filesystem::path> config_dir();
/// $XDG_CACHE_HOME or ~/.cache.
std::optional<std::filesystem::path> cache_dir();
/// $XDG_STATE_HOME or ~/.local/state.
std::optional<std::filesystem::path> state_dir();

/// The folders of one application, each named after it inside the base folder. Nothing is
/// created here; callers create a folder when they first write into it.
class AppDirs {
 public:
  /// Fails (nullopt) only when no home folder can be found at all.
  static std::optional<AppDirs> for_app(std::string_view name);

  const std::filesystem::path& config() const { return config_; }
  const std::filesystem::path& cache() const { return cache_; }
  const std::filesystem::path& data() const { return data_; }
  const std::filesystem::path& state() const { return state_; }

 private:
  std::filesystem::path config_;
  std::filesystem::path cache_;
  std::filesystem::path data_;
  std::filesystem::path state_;
};

}  // namespace xdg_paths
