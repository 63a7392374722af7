#pragma once

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

extern char** environ;

/// What every benchmark program needs around its measurements: stopping with a message,
/// "--key value" options, running a baseline tool to its end, and the median of its rounds.
namespace files::bench {

[[noreturn]] inline void fail(std::string_view program, const std::string& message) {
  std::fprintf(stderr, "%.*s: %s\n", static_cast<int>(program.size()), program.data(),
               message.c_str());
  std::exit(1);
}

/// Reads "--key value" pairs; each known key hands its value to its setter, an unknown key
/// ends the program.
inline void parse_options(
    int argc, char** argv, std::string_view program,
    const std::map<std::string, std::function<void(const std::string&)>>& setters) {
  for (int i = 1; i + 1 < argc; i += 2) {
    const auto setter = setters.find(argv[i]);
    if (setter == setters.end()) fail(program, std::string("unknown option ") + argv[i]);
    setter->second(argv[i + 1]);
  }
}

/// Runs a tool (looked up on PATH, in `cwd` when given) to its end and returns the processor
/// time it used. A tool that cannot start or does not succeed ends the program.
inline rusage run_tool(std::string_view program, const std::vector<std::string>& arguments,
                       const std::filesystem::path& cwd = {}) {
  std::vector<char*> argv;
  for (const auto& argument : arguments)
    argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (!cwd.empty()) posix_spawn_file_actions_addchdir_np(&actions, cwd.c_str());
  pid_t pid = 0;
  const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) fail(program, "cannot run " + arguments[0]);
  int status = 0;
  rusage usage{};
  if (::wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    fail(program, arguments[0] + " failed");
  }
  return usage;
}

inline double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace files::bench
