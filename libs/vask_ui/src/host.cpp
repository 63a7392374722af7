#include "vask_ui/host.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <thread>

#include <fmt/format.h>

#include "utf8.h"

extern char** environ;

namespace vask_ui::host {
namespace {

HostServices* g_installed = nullptr;

/// Owns a descriptor and closes it once.
class Fd {
 public:
  explicit Fd(int fd = -1) : fd_(fd) {}
  ~Fd() { reset(); }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  void reset() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }

 private:
  int fd_;
};

/// Spawn attributes and file actions that are destroyed however the function leaves.
struct SpawnSetup {
  posix_spawn_file_actions_t actions;
  bool ok = false;
  SpawnSetup() { ok = posix_spawn_file_actions_init(&actions) == 0; }
  ~SpawnSetup() {
    if (ok) posix_spawn_file_actions_destroy(&actions);
  }
};

std::string last_line(std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == ' '))
    text.pop_back();
  auto pos = text.rfind('\n');
  return pos == std::string::npos ? text : text.substr(pos + 1);
}

void read_available(int fd, std::string& out) {
  char buffer[1024];
  while (out.size() < 8192) {
    ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n > 0) {
      out.append(buffer, static_cast<std::size_t>(n));
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    return;  // EOF, EAGAIN or an error: nothing more to read now.
  }
}

/// The child runs on by itself; its exit status is collected so it never lingers as a zombie.
void reap_in_background(pid_t pid) {
  std::thread([pid] {
    int ignored = 0;
    while (::waitpid(pid, &ignored, 0) < 0 && errno == EINTR) {
    }
  }).detach();
}

}  // namespace

std::expected<void, std::string> HostServices::start_in_folder(
    std::string_view program, const std::filesystem::path& folder) {
  if (program.empty() || program.find('\0') != std::string_view::npos)
    return std::unexpected("no program to start");
  std::string name(program);
  SpawnSetup setup;
  if (!setup.ok ||
      posix_spawn_file_actions_addopen(&setup.actions, 0, "/dev/null", O_RDONLY, 0) != 0 ||
      posix_spawn_file_actions_addchdir_np(&setup.actions, folder.c_str()) != 0) {
    return std::unexpected(fmt::format("could not start {}", name));
  }
  char* argv[] = {name.data(), nullptr};
  pid_t pid = 0;
  // The working directory is changed in the child; a folder that cannot be entered fails the
  // start with that reason, like a missing program does.
  if (int rc = posix_spawnp(&pid, name.c_str(), &setup.actions, nullptr, argv, environ); rc != 0)
    return std::unexpected(std::string(std::strerror(rc)));
  reap_in_background(pid);
  return {};
}

std::expected<void, std::string> HostServices::open_path(const std::filesystem::path& path) {
  if (!utf8::is_valid(path.native()))
    return std::unexpected("the desktop opener takes UTF-8 paths");
  std::error_code ec;
  std::filesystem::path absolute = path.is_absolute() ? path : std::filesystem::absolute(path, ec);
  if (ec) return std::unexpected(ec.message());
  return open_uri(absolute.native());
}

ProgramOpener::ProgramOpener(std::string program, std::chrono::milliseconds verdict_wait)
    : program_(std::move(program)), verdict_wait_(verdict_wait) {}

std::expected<void, std::string> ProgramOpener::open_uri(std::string_view uri) {
  if (uri.empty()) return std::unexpected("nothing to open");
  // The opener would read a leading dash as one of its options.
  if (uri.front() == '-') return std::unexpected(fmt::format("not a path or URI: {}", uri));
  if (uri.find('\0') != std::string_view::npos) return std::unexpected("not a path or URI");

  int pipe_fds[2];
  if (::pipe2(pipe_fds, O_CLOEXEC) != 0) {
    return std::unexpected(fmt::format("could not start {}: {}", program_, std::strerror(errno)));
  }
  Fd read_end(pipe_fds[0]);
  Fd write_end(pipe_fds[1]);
  SpawnSetup setup;
  if (!setup.ok ||
      posix_spawn_file_actions_addopen(&setup.actions, 0, "/dev/null", O_RDONLY, 0) != 0 ||
      posix_spawn_file_actions_addopen(&setup.actions, 1, "/dev/null", O_WRONLY, 0) != 0 ||
      posix_spawn_file_actions_adddup2(&setup.actions, write_end.get(), 2) != 0) {
    return std::unexpected(fmt::format("could not start {}", program_));
  }
  std::string target(uri);
  std::string program = program_;
  char* argv[] = {program.data(), target.data(), nullptr};
  pid_t pid = 0;
  int rc = posix_spawnp(&pid, program.c_str(), &setup.actions, nullptr, argv, environ);
  write_end.reset();
  if (rc != 0)
    return std::unexpected(fmt::format("could not start {}: {}", program_, std::strerror(rc)));
  ::fcntl(read_end.get(), F_SETFL, O_NONBLOCK);

  // Openers report a missing file or a missing application at once; a successful one may
  // stay around as long as the application runs, so it is only waited for a short while.
  std::string messages;
  auto deadline = std::chrono::steady_clock::now() + verdict_wait_;
  int status = 0;
  for (;;) {
    pid_t done = ::waitpid(pid, &status, WNOHANG);
    if (done == pid) break;
    if (done < 0 && errno != EINTR)
      return std::unexpected(fmt::format("{}: {}", program_, std::strerror(errno)));
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) {
      reap_in_background(pid);
      return {};
    }
    pollfd p{read_end.get(), POLLIN, 0};
    int waited = ::poll(&p, 1, static_cast<int>(std::min<long long>(left.count(), 20)));
    if (waited > 0) read_available(read_end.get(), messages);
  }
  read_available(read_end.get(), messages);
  if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return {};
  std::string said = last_line(messages);
  if (!said.empty()) return std::unexpected(said);
  if (WIFSIGNALED(status)) {
    return std::unexpected(fmt::format("{} was stopped by signal {}", program_, WTERMSIG(status)));
  }
  return std::unexpected(fmt::format("{} failed with status {}", program_, WEXITSTATUS(status)));
}

HostServices& current() {
  static ProgramOpener opener;
  return g_installed != nullptr ? *g_installed : opener;
}

void install(HostServices* services) {
  g_installed = services;
}

}  // namespace vask_ui::host
