#include "main/workspace.h"

#include <gtest/gtest.h>

#include <set>

namespace files {
namespace {

using Paths = std::vector<std::filesystem::path>;

/// An environment over a fixed set of existing folders, so system paths such as
/// /var/workspace can be tested without touching the machine.
WorkspaceEnvironment fake_env(std::optional<std::string> roots_variable,
                              std::set<std::string> existing,
                              std::optional<std::string> home = "/home/ada") {
  WorkspaceEnvironment env;
  env.roots_variable = std::move(roots_variable);
  if (home) env.home = *home;
  env.current_dir = "/srv/cwd";
  env.exists = [existing](const std::filesystem::path& p) { return existing.contains(p.string()); };
  return env;
}

struct RootsCase {
  const char* name;
  std::optional<std::string> variable;
  std::set<std::string> existing;
  Paths roots;
  Paths index_roots;
  std::filesystem::path start;
};

TEST(WorkspaceRoots, EnvironmentRules) {
  const std::vector<RootsCase> cases = {
      {"set but empty: no roots, start skips /workspace and goes home",
       "",
       {"/var/workspace", "/workspace", "/home/ada/Shared"},
       {},
       {},
       "/home/ada"},
      {"empty entry between two folders, only the second exists",
       "/missing::/data/ws",
       {"/data/ws"},
       {"/data/ws"},
       {"/data/ws"},
       "/data/ws"},
      {"list keeps order and drops missing entries",
       "/b:/nope:/a",
       {"/a", "/b"},
       {"/b", "/a"},
       {"/b", "/a"},
       "/b"},
      {"unset: /var/workspace then the home's Shared",
       std::nullopt,
       {"/var/workspace", "/home/ada/Shared"},
       {"/var/workspace", "/home/ada/Shared"},
       {"/var/workspace"},
       "/var/workspace"},
      {"unset, nothing exists: /workspace is the start",
       std::nullopt,
       {"/workspace"},
       {},
       {},
       "/workspace"},
      {"unset, only Shared: Shared is never an index root",
       std::nullopt,
       {"/home/ada/Shared"},
       {"/home/ada/Shared"},
       {},
       "/home/ada/Shared"},
      {"unset, nothing at all: home", std::nullopt, {}, {}, {}, "/home/ada"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto env = fake_env(c.variable, c.existing);
    EXPECT_EQ(workspace_roots(env), c.roots);
    EXPECT_EQ(record_index_roots(env), c.index_roots);
    EXPECT_EQ(start_folder(env), c.start);
  }
}

TEST(WorkspaceRoots, StartFallsBackToCurrentDirectoryThenRoot) {
  auto env = fake_env(std::nullopt, {}, std::nullopt);
  EXPECT_EQ(start_folder(env), std::filesystem::path("/srv/cwd"));
  env.current_dir.reset();
  EXPECT_EQ(start_folder(env), std::filesystem::path("/"));
}

TEST(WorkspaceRoots, InWorkspaceComparesWholeComponents) {
  const Paths roots = {"/var/workspace", "/home/ada/Shared/"};
  struct Case {
    const char* path;
    bool inside;
  };
  const Case cases[] = {
      {"/var/workspace", true},
      {"/var/workspace/", true},
      {"/var/workspace/team/plan.md", true},
      {"/var/workspace2", false},
      {"/var/workspace2/x", false},
      {"/var", false},
      {"/home/ada/Shared", true},
      {"/home/ada/Shared/notes", true},
      {"/home/ada/SharedStuff", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(is_in_workspace(c.path, roots), c.inside) << c.path;
  }
  EXPECT_FALSE(is_in_workspace("/var/workspace", Paths{}));
}

}  // namespace
}  // namespace files
