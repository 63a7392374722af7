#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

/// Where the collaborative workspace lives on this machine and which folder the window opens
/// first. Plain functions of the process environment and the file system.
namespace files {

/// What the workspace rules read from the outside world; the real one reads the process.
struct WorkspaceEnvironment {
  /// VASK_WORKSPACE_ROOTS; nullopt when the variable is not set at all.
  std::optional<std::string> roots_variable;
  std::optional<std::filesystem::path> home;
  std::optional<std::filesystem::path> current_dir;
  /// Existence check that follows symbolic links.
  std::function<bool(const std::filesystem::path&)> exists;

  static WorkspaceEnvironment from_process();
};

std::vector<std::filesystem::path> workspace_roots(const WorkspaceEnvironment& env);
std::vector<std::filesystem::path> record_index_roots(const WorkspaceEnvironment& env);
std::filesystem::path start_folder(const WorkspaceEnvironment& env);
/// True when `path` equals a root or lies below one, compared component by component.
bool is_in_workspace(const std::filesystem::path& path,
                     const std::vector<std::filesystem::path>& roots);

// The same, read from the process environment on every call.
std::vector<std::filesystem::path> workspace_roots();
std::vector<std::filesystem::path> record_index_roots();
std::filesystem::path start_folder();
bool is_in_workspace(const std::filesystem::path& path);
/// The toolkit's home override, else the operating system's home folder of the user.
std::optional<std::filesystem::path> user_home();

}  // namespace files
