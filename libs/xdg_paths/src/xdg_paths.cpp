#include "xdg_paths/xdg_paths.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

namespace xdg_paths {
namespace {

std::optional<std::filesystem::path> from_env_or_home(const char* variable,
                                                      std::filesystem::path fallback) {
  // Relative values are invalid by the base-directory rules and are ignored.
  if (const char* value = std::getenv(variable); value != nullptr && value[0] == '/') {
    return std::filesystem::path(value);
  }
  auto home = home_dir();
  if (!home) return std::nullopt;
  return *home / fallback;
}

}  // namespace

std::optional<std::filesystem::path> home_dir() {
  if (const char* home = std::getenv("HOME"); home != nullptr && home[0] == '/') {
    return std::filesystem::path(home);
  }
  long size = sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
  passwd entry{};
  passwd* result = nullptr;
  if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &result) == 0 &&
      result != nullptr && result->pw_dir != nullptr && result->pw_dir[0] == '/') {
    return std::filesystem::path(result->pw_dir);
  }
  return std::nullopt;
}

std::optional<std::filesystem::path> data_dir() {
  return from_env_or_home("XDG_DATA_HOME", ".local/share");
}
std::optional<std::filesystem::path> config_dir() {
  return from_env_or_home("XDG_CONFIG_HOME", ".config");
}
std::optional<std::filesystem::path> cache_dir() {
  return from_env_or_home("XDG_CACHE_HOME", ".cache");
}
std::optional<std::filesystem::path> state_dir() {
  return from_env_or_home("XDG_STATE_HOME", ".local/state");
}

std::optional<AppDirs> AppDirs::for_app(std::string_view name) {
  auto config = config_dir();
  auto cache = cache_dir();
  auto data = data_dir();
  auto state = state_dir();
  if (!config || !cache || !data || !state) return std::nullopt;
  AppDirs dirs;
  dirs.config_ = *config / name;
  dirs.cache_ = *cache / name;
  dirs.data_ = *data / name;
  dirs.state_ = *state / name;
  return dirs;
}

}  // namespace xdg_paths
