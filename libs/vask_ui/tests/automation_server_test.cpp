#include <errno.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>

#include "vask_ui/automation.h"

namespace vask_ui::automation {
namespace {

using nlohmann::json;

/// The smallest root the endpoint can serve, counting what reaches it.
class CountingRoot final : public Widget {
 public:
  int events = 0;
  LayoutNode build_layout(Size) override { return {}; }
  void apply_layout(const LayoutResult&) override {}
  void draw(Canvas&) override {}
  EventResult handle_event(const Event&) override {
    ++events;
    return EventResult::Handled;
  }
  std::string observation_json() const override { return R"({"app":"counting"})"; }
};

class CountingHost final : public Host {
 public:
  CountingRoot root;
  Widget& settled_root() override { return root; }
  EventResult deliver_input(const Event& event) override { return root.handle_event(event); }
};

sockaddr_un address_of(const std::filesystem::path& path) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, path.c_str(), sizeof(address.sun_path) - 1);
  return address;
}

/// A client driven from the test's own thread: whenever it would wait, it lets the server work.
class Client {
 public:
  Client(const std::filesystem::path& path, Server& server, Host& host)
      : server_(server), host_(host) {
    fd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    sockaddr_un address = address_of(path);
    connected_ = ::connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0;
  }
  ~Client() { close(); }
  Client(const Client&) = delete;
  Client& operator=(const Client&) = delete;

  bool connected() const { return connected_; }
  void close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }

  void send_all(const std::string& data) {
    std::size_t offset = 0;
    for (int rounds = 0; offset < data.size(); ++rounds) {
      ASSERT_LT(rounds, 100000) << "the server stopped reading";
      ssize_t sent = ::send(fd_, data.data() + offset, data.size() - offset, MSG_NOSIGNAL);
      if (sent > 0) {
        offset += static_cast<std::size_t>(sent);
      } else {
        ASSERT_TRUE(errno == EAGAIN || errno == EWOULDBLOCK) << std::strerror(errno);
        server_.serve(host_);
      }
    }
  }

  /// The next reply line; empty when the server closed the connection first.
  std::string read_line() {
    for (int rounds = 0; rounds < 100000; ++rounds) {
      if (auto newline = buffer_.find('\n'); newline != std::string::npos) {
        std::string line = buffer_.substr(0, newline);
        buffer_.erase(0, newline + 1);
        return line;
      }
      char chunk[65536];
      ssize_t got = ::recv(fd_, chunk, sizeof(chunk), 0);
      if (got > 0) {
        buffer_.append(chunk, static_cast<std::size_t>(got));
      } else if (got == 0) {
        return {};
      } else {
        server_.serve(host_);
      }
    }
    ADD_FAILURE() << "no reply";
    return {};
  }

  json ask(const std::string& request) {
    send_all(request + "\n");
    std::string line = read_line();
    return line.empty() ? json() : json::parse(line);
  }

 private:
  Server& server_;
  Host& host_;
  int fd_ = -1;
  bool connected_ = false;
  std::string buffer_;
};

class ServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/vask-automation-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    dir_ = pattern;
    path_ = dir_ / "files.sock";
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  std::unique_ptr<Server> start() {
    auto server = Server::listen(path_);
    EXPECT_TRUE(server.has_value()) << server.error();
    return server ? std::move(*server) : nullptr;
  }

  std::filesystem::path dir_;
  std::filesystem::path path_;
  CountingHost host_;
};

TEST_F(ServerTest, SocketIsPrivateAndRemovedAtTheEnd) {
  auto server = start();
  ASSERT_TRUE(server);
  struct stat info {};
  ASSERT_EQ(::lstat(path_.c_str(), &info), 0);
  EXPECT_TRUE(S_ISSOCK(info.st_mode));
  EXPECT_EQ(info.st_mode & 07777, 0600u);
  EXPECT_EQ(info.st_uid, ::geteuid());
  server.reset();
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(path_)));
}

TEST_F(ServerTest, ModeIsPrivateWhateverTheUmask) {
  mode_t old = ::umask(0);
  auto server = start();
  ::umask(old);
  struct stat info {};
  ASSERT_EQ(::lstat(path_.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0600u);
}

TEST_F(ServerTest, RefusesWhatIsNotAStaleSocket) {
  std::ofstream(path_) << "keep me";
  EXPECT_FALSE(Server::listen(path_).has_value());
  EXPECT_EQ(std::ifstream(path_).rdbuf()->sgetc(), 'k');  // untouched

  EXPECT_FALSE(Server::listen(dir_).has_value());  // a folder
  std::filesystem::create_symlink("/tmp", dir_ / "link");
  EXPECT_FALSE(Server::listen(dir_ / "link").has_value());
  EXPECT_FALSE(Server::listen("").has_value());
  EXPECT_FALSE(Server::listen(dir_ / std::string(120, 'x')).has_value());

  std::filesystem::remove(path_);
  auto live = start();
  auto second = Server::listen(path_);
  ASSERT_FALSE(second.has_value());
  EXPECT_NE(second.error().find("served by a running program"), std::string::npos)
      << second.error();
  // The refused second server must not have removed the live one's socket.
  Client client(path_, *live, host_);
  ASSERT_TRUE(client.connected());
  EXPECT_EQ(client.ask(R"({"request":"ping"})")["ok"], true);
}

TEST_F(ServerTest, ReplacesAStaleSocket) {
  // A socket file nobody listens on, as a crashed run leaves it.
  int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_un address = address_of(path_);
  ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
  ::close(fd);
  ASSERT_TRUE(std::filesystem::is_socket(path_));

  auto server = start();
  ASSERT_TRUE(server);
  Client client(path_, *server, host_);
  EXPECT_EQ(client.ask(R"({"request":"snapshot"})")["snapshot"]["app"], "counting");
}

TEST_F(ServerTest, TwoClientsInTurnAndPipelinedRequests) {
  auto server = start();
  ASSERT_TRUE(server);
  {
    Client first(path_, *server, host_);
    EXPECT_EQ(first.ask(R"({"request":"ping","id":1})")["id"], 1);
  }
  server->serve(host_);
  EXPECT_EQ(server->client_count(), 0u);

  Client second(path_, *server, host_);
  // Several requests in one write are answered in order, one line each.
  second.send_all(
      "{\"request\":\"ping\",\"id\":\"a\"}\n\n{\"request\":\"input\",\"id\":\"b\",\"events\":"
      "[{\"type\":\"key\",\"key\":\"x\"}]}\r\n{\"request\":\"snapshot\",\"id\":\"c\"}\n");
  EXPECT_EQ(json::parse(second.read_line())["id"], "a");
  EXPECT_EQ(json::parse(second.read_line())["error"]["code"], "malformed_json");
  json input = json::parse(second.read_line());
  EXPECT_EQ(input["id"], "b");
  EXPECT_EQ(input["handled"], json({true}));
  EXPECT_EQ(json::parse(second.read_line())["id"], "c");
  EXPECT_EQ(host_.root.events, 2);  // the key's press and release
}

TEST_F(ServerTest, OversizedRequestIsRefusedAndTheNextOneServed) {
  auto server = start();
  ASSERT_TRUE(server);
  Client client(path_, *server, host_);
  std::string huge = R"({"request":"input","events":[{"type":"key","key":"x"}],"pad":")";
  huge += std::string(kMaxRequestBytes, 'x') + "\"}\n";
  client.send_all(huge + R"({"request":"ping","id":2})" + "\n");
  json refused = json::parse(client.read_line());
  EXPECT_EQ(refused["ok"], false);
  EXPECT_EQ(refused["error"]["code"], "request_too_large");
  json next = json::parse(client.read_line());
  EXPECT_EQ(next["ok"], true);
  EXPECT_EQ(next["id"], 2);
  EXPECT_EQ(host_.root.events, 0);  // nothing of the refused request ran
}

TEST_F(ServerTest, RequestOfExactlyTheLimitIsServed) {
  auto server = start();
  ASSERT_TRUE(server);
  Client client(path_, *server, host_);
  std::string request = R"({"request":"ping","id":3})";
  request += std::string(kMaxRequestBytes - request.size(), ' ');
  ASSERT_EQ(request.size(), kMaxRequestBytes);
  EXPECT_EQ(client.ask(request)["id"], 3);
  EXPECT_EQ(client.ask(request + " ")["error"]["code"], "request_too_large");
  EXPECT_EQ(client.ask(R"({"request":"ping","id":4})")["id"], 4);
}

TEST_F(ServerTest, ClientLeavingMidRequestIsDropped) {
  auto server = start();
  ASSERT_TRUE(server);
  {
    Client partial(path_, *server, host_);
    partial.send_all(R"({"request":"input","events":[{"type":"key","key":"x"}])");
    server->serve(host_);
    EXPECT_EQ(server->client_count(), 1u);
  }
  {
    // Asks and hangs up without reading: the reply has nowhere to go.
    Client impatient(path_, *server, host_);
    impatient.send_all(std::string(R"({"request":"snapshot"})") + "\n");
  }
  for (int i = 0; i < 3; ++i)
    server->serve(host_);
  EXPECT_EQ(server->client_count(), 0u);
  EXPECT_EQ(host_.root.events, 0);

  Client next(path_, *server, host_);
  EXPECT_EQ(next.ask(R"({"request":"ping"})")["ok"], true);
}

TEST_F(ServerTest, ClientsBeyondTheLimitAreTurnedAway) {
  auto server = start();
  ASSERT_TRUE(server);
  std::vector<std::unique_ptr<Client>> clients;
  for (std::size_t i = 0; i < kMaxClients; ++i) {
    clients.push_back(std::make_unique<Client>(path_, *server, host_));
    server->serve(host_);
  }
  EXPECT_EQ(server->client_count(), kMaxClients);
  Client extra(path_, *server, host_);
  server->serve(host_);
  EXPECT_EQ(json::parse(extra.read_line())["error"]["code"], "too_many_clients");
  EXPECT_EQ(extra.read_line(), "");  // then disconnected
  EXPECT_EQ(clients.front()->ask(R"({"request":"ping"})")["ok"], true);
}

TEST_F(ServerTest, WatchesFollowTheClients) {
  auto server = start();
  ASSERT_TRUE(server);
  ASSERT_EQ(server->watches().size(), 1u);  // the listener
  EXPECT_TRUE(server->watches()[0].read);
  Client a(path_, *server, host_);
  server->serve(host_);
  auto watches = server->watches();
  ASSERT_EQ(watches.size(), 2u);
  EXPECT_TRUE(watches[1].read);
  EXPECT_FALSE(watches[1].write);
  std::uint64_t first_serial = watches[1].serial;
  a.close();
  server->serve(host_);
  Client b(path_, *server, host_);
  server->serve(host_);
  watches = server->watches();
  ASSERT_EQ(watches.size(), 2u);
  EXPECT_NE(watches[1].serial, first_serial);  // even if the descriptor number is reused
}

}  // namespace
}  // namespace vask_ui::automation
