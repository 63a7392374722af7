// files-ctl: a command-line client of the automation socket of a running Files window. It sends
// one request, prints the reply line and turns it into an exit status, so shell tests can drive
// the real program.
#include <errno.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <expected>
#include <nlohmann/json.hpp>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "command_line.h"

namespace files_ctl {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kUsageOrConnection = 2;

std::string errno_text() {
  return std::strerror(errno);
}

class Socket {
 public:
  explicit Socket(int fd) : fd_(fd) {}
  ~Socket() {
    if (fd_ >= 0) ::close(fd_);
  }
  Socket(const Socket&) = delete;
  Socket& operator=(const Socket&) = delete;
  int get() const { return fd_; }
  int release() { return std::exchange(fd_, -1); }

 private:
  int fd_;
};

struct ConnectError {
  int error = 0;
  std::string text;
};

std::expected<int, ConnectError> connect_once(const std::filesystem::path& path) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (path.native().size() >= sizeof(address.sun_path)) {
    return std::unexpected(ConnectError{ENAMETOOLONG, path.string() + ": path too long"});
  }
  std::memcpy(address.sun_path, path.c_str(), path.native().size());
  Socket fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
  if (fd.get() < 0) return std::unexpected(ConnectError{errno, "socket: " + errno_text()});
  int rc;
  do {
    rc = ::connect(fd.get(), reinterpret_cast<sockaddr*>(&address), sizeof(address));
  } while (rc != 0 && errno == EINTR);
  if (rc != 0) return std::unexpected(ConnectError{errno, path.string() + ": " + errno_text()});
  return fd.release();
}

/// Connects, retrying while the program is still starting (no socket yet, or not listening).
std::expected<int, ConnectError> connect_waiting(const Invocation& invocation) {
  auto deadline = Clock::now() + invocation.wait;
  for (;;) {
    auto fd = connect_once(invocation.socket);
    if (fd || Clock::now() >= deadline) return fd;
    if (fd.error().error != ENOENT && fd.error().error != ECONNREFUSED) return fd;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
}

std::expected<void, std::string> send_all(int fd, const std::string& data) {
  std::size_t offset = 0;
  while (offset < data.size()) {
    ssize_t sent = ::send(fd, data.data() + offset, data.size() - offset, MSG_NOSIGNAL);
    if (sent < 0) {
      if (errno == EINTR) continue;
      return std::unexpected("send: " + errno_text());
    }
    offset += static_cast<std::size_t>(sent);
  }
  return {};
}

std::expected<std::string, std::string> read_line(int fd, std::chrono::milliseconds timeout) {
  auto deadline = Clock::now() + timeout;
  std::string line;
  char buffer[65536];
  for (;;) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0) return std::unexpected(std::string("no reply in time"));
    pollfd watch{fd, POLLIN, 0};
    int ready = ::poll(&watch, 1, static_cast<int>(left.count()));
    if (ready < 0) {
      if (errno == EINTR) continue;
      return std::unexpected("poll: " + errno_text());
    }
    if (ready == 0) continue;
    ssize_t got = ::recv(fd, buffer, sizeof(buffer), 0);
    if (got < 0) {
      if (errno == EINTR) continue;
      return std::unexpected("recv: " + errno_text());
    }
    if (got == 0) return std::unexpected(std::string("the window closed the connection"));
    line.append(buffer, static_cast<std::size_t>(got));
    if (auto newline = line.find('\n'); newline != std::string::npos) {
      line.resize(newline);
      return line;
    }
  }
}

int run(const std::vector<std::string>& args) {
  auto invocation = parse_command_line(args, std::getenv("VASK_AUTOMATION_SOCKET"), [] {
    std::string text;
    char buffer[65536];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof(buffer), stdin)) > 0)
      text.append(buffer, got);
    return text;
  });
  if (!invocation) {
    bool help = !args.empty() && args[0] == "--help";
    std::fprintf(help ? stdout : stderr, "%s%s",
                 help ? "" : "files-ctl: ", invocation.error().c_str());
    if (!help) std::fprintf(stderr, "\n(files-ctl --help for usage)\n");
    return help ? 0 : kUsageOrConnection;
  }
  auto fd = connect_waiting(*invocation);
  if (!fd) {
    std::fprintf(stderr, "files-ctl: cannot connect to %s\n", fd.error().text.c_str());
    return kUsageOrConnection;
  }
  Socket socket(*fd);
  if (auto sent = send_all(socket.get(), invocation->request + "\n"); !sent) {
    std::fprintf(stderr, "files-ctl: %s\n", sent.error().c_str());
    return kUsageOrConnection;
  }
  auto reply = read_line(socket.get(), invocation->timeout);
  if (!reply) {
    std::fprintf(stderr, "files-ctl: %s\n", reply.error().c_str());
    return kUsageOrConnection;
  }
  std::string shown = *reply;
  if (invocation->pretty) {
    auto value = nlohmann::json::parse(*reply, nullptr, /*allow_exceptions=*/false);
    if (!value.is_discarded()) {
      shown = value.dump(2, ' ', false, nlohmann::json::error_handler_t::replace);
    }
  }
  std::fprintf(stdout, "%s\n", shown.c_str());
  return exit_status_for(*invocation, *reply);
}

}  // namespace
}  // namespace files_ctl

int main(int argc, char** argv) {
  return files_ctl::run(std::vector<std::string>(argv + 1, argv + argc));
}
