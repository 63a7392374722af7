#include <errno.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>

#include "vask_ui/automation.h"
#include "vask_ui/log.h"

namespace vask_ui::automation {
namespace {

// Requests answered per serve() call, over all clients, so a flood cannot stall the frames.
constexpr std::size_t kRequestsPerServe = 32;
// Bytes taken per read; a line longer than the limit is noticed within one more read.
constexpr std::size_t kReadChunk = 64 * 1024;

std::string errno_text(int error) {
  return std::strerror(error);
}

void close_fd(int fd) {
  // Linux releases the descriptor even when close reports EINTR, so it is never retried.
  if (fd >= 0) ::close(fd);
}

/// Owns a descriptor until it is released to its final owner.
class FdGuard {
 public:
  explicit FdGuard(int fd) : fd_(fd) {}
  ~FdGuard() { close_fd(fd_); }
  FdGuard(const FdGuard&) = delete;
  FdGuard& operator=(const FdGuard&) = delete;
  int get() const { return fd_; }
  int release() { return std::exchange(fd_, -1); }

 private:
  int fd_;
};

std::expected<sockaddr_un, std::string> address_of(const std::filesystem::path& path) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const std::string& text = path.native();
  if (text.empty()) return std::unexpected(std::string("the automation socket path is empty"));
  if (text.find('\0') != std::string::npos || text.size() >= sizeof(address.sun_path)) {
    return std::unexpected("the automation socket path " + text + " is too long (at most " +
                           std::to_string(sizeof(address.sun_path) - 1) + " bytes)");
  }
  std::memcpy(address.sun_path, text.data(), text.size());
  return address;
}

int connect_retrying(int fd, const sockaddr_un& address) {
  int rc;
  do {
    rc = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address));
  } while (rc != 0 && errno == EINTR);
  return rc;
}

/// Clears the path for a new socket: nothing there, or a socket nobody listens on any more (a
/// crashed run's). A live socket, or anything that is not a socket, stays and is refused.
std::expected<void, std::string> clear_stale(const std::string& path, const sockaddr_un& address) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0) {
    if (errno == ENOENT) return {};
    return std::unexpected("cannot inspect " + path + ": " + errno_text(errno));
  }
  if (!S_ISSOCK(info.st_mode)) {
    return std::unexpected(path + " exists and is not a socket; refusing to replace it");
  }
  FdGuard probe(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
  if (probe.get() < 0) return std::unexpected("socket: " + errno_text(errno));
  if (connect_retrying(probe.get(), address) == 0) {
    return std::unexpected(path + " is served by a running program");
  }
  if (errno != ECONNREFUSED) {
    return std::unexpected("cannot check the socket " + path + ": " + errno_text(errno));
  }
  if (::unlink(path.c_str()) != 0 && errno != ENOENT) {
    return std::unexpected("cannot remove the stale socket " + path + ": " + errno_text(errno));
  }
  return {};
}

}  // namespace

struct Server::Client {
  int fd = -1;
  std::uint64_t serial = 0;
  std::string in;
  std::string out;
  std::size_t out_offset = 0;
  /// The current line grew past the limit: its remaining bytes are skipped up to the newline.
  bool discarding = false;
  /// The peer sent everything it will send (it may still read).
  bool read_closed = false;

  ~Client() { close_fd(fd); }
  bool output_pending() const { return out_offset < out.size(); }
};

std::optional<std::filesystem::path> socket_path(
    const std::optional<std::filesystem::path>& from_arguments) {
  if (from_arguments) return from_arguments;
  const char* value = std::getenv("VASK_AUTOMATION_SOCKET");
  if (value == nullptr || *value == '\0') return std::nullopt;
  return std::filesystem::path(value);
}

std::expected<std::unique_ptr<Server>, std::string> Server::listen(
    const std::filesystem::path& requested) {
  // Kept absolute so the clean-up at exit finds the socket whatever the working folder is then.
  std::error_code error;
  std::filesystem::path path =
      requested.empty() ? requested : std::filesystem::absolute(requested, error);
  if (error)
    return std::unexpected("cannot resolve " + requested.string() + ": " + error.message());
  auto address = address_of(path);
  if (!address) return std::unexpected(address.error());
  const std::string& text = path.native();
  if (auto cleared = clear_stale(text, *address); !cleared) {
    return std::unexpected(cleared.error());
  }

  FdGuard fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
  if (fd.get() < 0) return std::unexpected("socket: " + errno_text(errno));
  // The socket file is born 0600: with a wider umask another user could connect between bind
  // and a later chmod. The umask is process-wide, so it is set only around the bind.
  mode_t old_mask = ::umask(0177);
  int rc = ::bind(fd.get(), reinterpret_cast<const sockaddr*>(&*address), sizeof(*address));
  int bind_error = errno;
  ::umask(old_mask);
  if (rc != 0) {
    return std::unexpected("cannot create the automation socket " + text + ": " +
                           errno_text(bind_error));
  }
  struct stat info {};
  if (::lstat(text.c_str(), &info) != 0 || !S_ISSOCK(info.st_mode) ||
      (info.st_mode & 07777) != 0600) {
    ::unlink(text.c_str());
    return std::unexpected("the automation socket " + text + " did not get mode 0600");
  }
  if (::listen(fd.get(), static_cast<int>(kMaxClients)) != 0) {
    int error = errno;
    ::unlink(text.c_str());
    return std::unexpected("listen on " + text + ": " + errno_text(error));
  }
  return std::unique_ptr<Server>(new Server(fd.release(), path, info.st_dev, info.st_ino));
}

Server::Server(int listener, std::filesystem::path path, dev_t device, ino_t inode)
    : listener_(listener), path_(std::move(path)), device_(device), inode_(inode) {}

Server::~Server() {
  clients_.clear();
  close_fd(listener_);
  // Remove the socket file only while it is still ours: another run may have replaced it.
  struct stat info {};
  if (::lstat(path_.c_str(), &info) == 0 && info.st_dev == device_ && info.st_ino == inode_) {
    ::unlink(path_.c_str());
  }
}

void Server::accept_clients() {
  for (;;) {
    int fd = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
    if (fd < 0) {
      if (errno == EINTR || errno == ECONNABORTED) continue;
      if (errno != EAGAIN && errno != EWOULDBLOCK) {
        log::get("vask_ui::automation")->warn("accept: {}", errno_text(errno));
      }
      return;
    }
    auto client = std::make_unique<Client>();
    client->fd = fd;
    client->serial = next_serial_++;
    // The socket's mode keeps other users out; this also refuses a peer that got a descriptor
    // handed over from someone else's process.
    ucred peer{};
    socklen_t length = sizeof(peer);
    bool same_user =
        ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &length) == 0 && peer.uid == ::geteuid();
    if (!same_user || clients_.size() >= kMaxClients) {
      std::string reply =
          Protocol::error_reply(same_user ? "too_many_clients" : "forbidden",
                                same_user ? "too many automation clients are connected"
                                          : "the automation socket serves only its own user") +
          "\n";
      // Best effort: a fresh socket's buffer takes a short line; the client is dropped anyway.
      (void)::send(fd, reply.data(), reply.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
      continue;  // `client` closes the descriptor
    }
    clients_.push_back(std::move(client));
  }
}

bool Server::flush(Client& client) {
  while (client.output_pending()) {
    ssize_t sent = ::send(client.fd, client.out.data() + client.out_offset,
                          client.out.size() - client.out_offset, MSG_NOSIGNAL | MSG_DONTWAIT);
    if (sent < 0) {
      if (errno == EINTR) continue;
      if (errno == EAGAIN || errno == EWOULDBLOCK) return true;
      return false;  // EPIPE, ECONNRESET: the client went away
    }
    client.out_offset += static_cast<std::size_t>(sent);
  }
  client.out.clear();
  client.out_offset = 0;
  return true;
}

bool Server::read_from(Client& client) {
  char buffer[kReadChunk];
  // Read while no complete line waits; complete lines are answered before more is taken in.
  while (!client.read_closed && client.in.find('\n') == std::string::npos) {
    ssize_t got = ::recv(client.fd, buffer, sizeof(buffer), MSG_DONTWAIT);
    if (got < 0) {
      if (errno == EINTR) continue;
      if (errno == EAGAIN || errno == EWOULDBLOCK) return true;
      return false;
    }
    if (got == 0) {
      client.read_closed = true;
      break;
    }
    client.in.append(buffer, static_cast<std::size_t>(got));
    if (client.discarding) {
      auto newline = client.in.find('\n');
      if (newline == std::string::npos) {
        client.in.clear();
        continue;
      }
      client.in.erase(0, newline + 1);
      client.discarding = false;
    }
    if (client.in.size() > kMaxRequestBytes && client.in.find('\n') == std::string::npos) {
      client.out += Protocol::error_reply("request_too_large",
                                          "a request may hold at most " +
                                              std::to_string(kMaxRequestBytes) + " bytes") +
                    "\n";
      client.in.clear();
      client.discarding = true;
      return true;
    }
  }
  return true;
}

std::size_t Server::answer(Client& client, Host& host, std::size_t budget) {
  std::size_t answered = 0;
  while (answered < budget && !client.output_pending()) {
    auto newline = client.in.find('\n');
    if (newline == std::string::npos) break;
    std::string_view line(client.in.data(), newline);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.size() > kMaxRequestBytes) {
      client.out += Protocol::error_reply(
          "request_too_large",
          "a request may hold at most " + std::to_string(kMaxRequestBytes) + " bytes");
    } else {
      client.out += protocol_.handle(line, host);
    }
    client.out += '\n';
    client.in.erase(0, newline + 1);
    ++answered;
    if (!flush(client)) break;
  }
  return answered;
}

std::size_t Server::serve(Host& host) {
  accept_clients();
  std::size_t answered = 0;
  for (auto it = clients_.begin(); it != clients_.end();) {
    Client& client = **it;
    bool alive = flush(client);
    if (alive && !client.output_pending()) alive = read_from(client);
    if (alive) {
      std::size_t budget = kRequestsPerServe > answered ? kRequestsPerServe - answered : 0;
      answered += answer(client, host, budget);
      alive = flush(client);
    }
    // A peer that finished sending leaves once its complete requests are answered; an
    // incomplete last line is dropped with it.
    bool finished =
        client.read_closed && !client.output_pending() && client.in.find('\n') == std::string::npos;
    if (!alive || finished) {
      it = clients_.erase(it);
    } else {
      ++it;
    }
  }
  return answered;
}

bool Server::has_backlog() const {
  for (const auto& client : clients_) {
    if (!client->output_pending() && client->in.find('\n') != std::string::npos) return true;
  }
  return false;
}

std::vector<Server::Watch> Server::watches() const {
  std::vector<Watch> out;
  out.push_back({listener_, 0, true, false});
  for (const auto& client : clients_) {
    // Reading pauses while a reply waits to be written (back-pressure) and while a complete
    // request waits for its turn; otherwise a readable socket would wake the window for nothing.
    bool waiting_line = client->in.find('\n') != std::string::npos;
    out.push_back({client->fd, client->serial,
                   !client->read_closed && !client->output_pending() && !waiting_line,
                   client->output_pending()});
  }
  return out;
}

}  // namespace vask_ui::automation
