#include "main/workspace.h"

#include <unistd.h>

#include <cstdlib>

#include "vask_ui/sysdirs.h"
#include "xdg_paths/xdg_paths.h"

namespace files {
namespace {

const std::filesystem::path kVarWorkspace = "/var/workspace";
const std::filesystem::path kWorkspace = "/workspace";

/// Splits a path list the way the system does: ":" separates entries, empty entries stay
/// (and are dropped by the caller).
std::vector<std::string> split_path_list(const std::string& value) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (true) {
    std::size_t colon = value.find(':', start);
    parts.push_back(value.substr(start, colon - start));
    if (colon == std::string::npos) break;
    start = colon + 1;
  }
  return parts;
}

std::vector<std::filesystem::path> roots_from_variable(const WorkspaceEnvironment& env) {
  std::vector<std::filesystem::path> roots;
  for (const std::string& entry : split_path_list(*env.roots_variable)) {
    if (entry.empty()) continue;
    std::filesystem::path path(entry);
    if (env.exists(path)) roots.push_back(path);
  }
  return roots;
}

}  // namespace

WorkspaceEnvironment WorkspaceEnvironment::from_process() {
  WorkspaceEnvironment env;
  if (const char* roots = std::getenv("VASK_WORKSPACE_ROOTS")) env.roots_variable = roots;
  env.home = user_home();
  std::error_code ec;
  auto cwd = std::filesystem::current_path(ec);
  if (!ec) env.current_dir = cwd;
  env.exists = [](const std::filesystem::path& p) {
    std::error_code e;
    return std::filesystem::exists(p, e);
  };
  return env;
}

std::vector<std::filesystem::path> workspace_roots(const WorkspaceEnvironment& env) {
  if (env.roots_variable) return roots_from_variable(env);
  std::vector<std::filesystem::path> roots;
  if (env.exists(kVarWorkspace)) roots.push_back(kVarWorkspace);
  if (env.home) {
    auto shared = *env.home / "Shared";
    if (env.exists(shared) && std::find(roots.begin(), roots.end(), shared) == roots.end()) {
      roots.push_back(shared);
    }
  }
  return roots;
}

std::vector<std::filesystem::path> record_index_roots(const WorkspaceEnvironment& env) {
  if (env.roots_variable) return roots_from_variable(env);
  if (env.exists(kVarWorkspace)) return {kVarWorkspace};
  return {};
}

std::filesystem::path start_folder(const WorkspaceEnvironment& env) {
  auto roots = workspace_roots(env);
  if (!roots.empty()) return roots.front();
  if (!env.roots_variable && env.exists(kWorkspace)) return kWorkspace;
  if (env.home) return *env.home;
  if (env.current_dir) return *env.current_dir;
  return "/";
}

bool is_in_workspace(const std::filesystem::path& path,
                     const std::vector<std::filesystem::path>& roots) {
  for (const auto& root : roots) {
    auto r = root.begin();
    auto p = path.begin();
    bool inside = true;
    for (; r != root.end(); ++r, ++p) {
      // A trailing separator on the root adds an empty last component; it matches anything.
      if (r->empty()) continue;
      if (p == path.end() || *p != *r) {
        inside = false;
        break;
      }
    }
    if (inside) return true;
  }
  return false;
}

std::vector<std::filesystem::path> workspace_roots() {
  return workspace_roots(WorkspaceEnvironment::from_process());
}
std::vector<std::filesystem::path> record_index_roots() {
  return record_index_roots(WorkspaceEnvironment::from_process());
}
std::filesystem::path start_folder() {
  return start_folder(WorkspaceEnvironment::from_process());
}
bool is_in_workspace(const std::filesystem::path& path) {
  return is_in_workspace(path, workspace_roots());
}

std::optional<std::filesystem::path> user_home() {
  if (auto home = vask_ui::sysdirs::user_home_override()) return home;
  return xdg_paths::home_dir();
}

}  // namespace files
