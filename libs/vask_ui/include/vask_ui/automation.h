#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <expected>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "vask_actions/resource.h"
#include "vask_ui/event.h"
#include "vask_ui/widget.h"

/// The automation endpoint: a local socket through which test drivers and assistive tools read
/// what the window shows (state snapshot, accessibility tree, resources) and act on it (actions,
/// synthetic input) without pixels.
///
/// Protocol: one JSON object per line in each direction. A request names its kind in "request"
/// and may carry an "id" that the reply echoes. Every reply has "ok"; a refused request has
/// "ok": false and "error": {"code", "message"}. Requests:
///   {"request":"ping"}                          -> {"protocol":1}
///   {"request":"snapshot"}                      -> {"snapshot":{…}}   (Widget::observation_json)
///   {"request":"accessibility"}                 -> {"tree":{…}}       (Widget::accessibility)
///   {"request":"resources"}                     -> {"resource":{…}|null, "controls":[…]}
///   {"request":"lookup","resource":ID}          -> {"resource":{…}|null}
///   {"request":"action","action":ID,"kind":K,"payload":V,"args":{…}}
///                                               -> {"handle":N,"outcome":…}
///       K is "inspect", "effect", "navigate" or 0, 1, 2; "payload" is any JSON value (null when
///       absent), or "payload_text" passes a text to the window verbatim.
///   {"request":"invoke","address":A,"kind":K,"args":{…}}
///                                               -> as "action", for the action at address A
///   {"request":"complete","handle":N}           -> {"completion":{…}|null}
///   {"request":"input","events":[{…},…]}        -> {"handled":[bool,…]}
/// Input events are in window units: pointer_move, pointer_press, pointer_release (x, y,
/// button), pointer_leave, wheel (x, y, dx, dy, unit), key_press, key_release (key, text,
/// repeat), text, preedit (text, cursor), and the shorthands click (x, y, button, count) and
/// key (a press and its release); each takes "modifiers": ["shift", "primary", "alt"].
namespace vask_ui::automation {

/// The longest request line, without its newline. A longer one is answered with an error and
/// skipped up to its newline.
inline constexpr std::size_t kMaxRequestBytes = std::size_t{1} << 20;
/// Clients served at once; a further one is told so and disconnected.
inline constexpr std::size_t kMaxClients = 8;
inline constexpr int kProtocolVersion = 1;

/// What the endpoint needs from the window that owns it. All calls happen on the UI thread.
class Host {
 public:
  virtual ~Host() = default;
  /// The root widget with its state brought up to date, so that what a client reads is what
  /// the next frame shows even when that frame has not been drawn yet.
  virtual Widget& settled_root() = 0;
  /// Hands a synthetic event to the window along the same path as real input (typed text of
  /// an unhandled printable key included) and schedules the frame it needs.
  virtual EventResult deliver_input(const Event& event) = 0;
};

/// Answers request lines. Pure: no sockets, so every request kind is testable on its own.
class Protocol {
 public:
  /// The reply to one request line (without the newline); never fails, never throws.
  std::string handle(std::string_view line, Host& host);
  /// A reply with "ok": false, for refusals decided before a request is read.
  static std::string error_reply(std::string_view code, std::string_view message);

 private:
  std::uint64_t next_handle_ = 1;
};

/// The listening socket and its clients. Never blocks: the window calls serve() when one of
/// the descriptors in watches() is ready.
class Server {
 public:
  /// Creates a Unix stream socket at `path` that only this user can open (mode 0600). A stale
  /// socket left by a crashed run is replaced; anything else at the path (a live socket, a
  /// file, a folder, a link) is refused.
  static std::expected<std::unique_ptr<Server>, std::string> listen(
      const std::filesystem::path& path);
  ~Server();
  Server(const Server&) = delete;
  Server& operator=(const Server&) = delete;

  /// Accepts waiting clients, reads what they sent, answers complete requests (a bounded
  /// number per call, so the window keeps drawing) and writes replies. Returns how many
  /// requests were answered.
  std::size_t serve(Host& host);
  /// True when answered requests are still buffered because serve() stopped at its bound.
  bool has_backlog() const;

  /// A descriptor the window should watch, and for what. `serial` tells apart two clients
  /// that got the same descriptor number one after the other.
  struct Watch {
    int fd = -1;
    std::uint64_t serial = 0;
    bool read = false;
    bool write = false;
  };
  std::vector<Watch> watches() const;
  std::size_t client_count() const { return clients_.size(); }
  const std::filesystem::path& path() const { return path_; }

 private:
  struct Client;
  Server(int listener, std::filesystem::path path, dev_t device, ino_t inode);
  void accept_clients();
  /// Returns false when the client is gone.
  bool flush(Client& client);
  bool read_from(Client& client);
  std::size_t answer(Client& client, Host& host, std::size_t budget);

  int listener_;
  std::filesystem::path path_;
  dev_t device_;
  ino_t inode_;
  std::uint64_t next_serial_ = 1;
  std::vector<std::unique_ptr<Client>> clients_;
  Protocol protocol_;
};

/// The socket the launcher should serve: "--automation-socket PATH" when given, else the
/// environment variable VASK_AUTOMATION_SOCKET when set and not empty.
std::optional<std::filesystem::path> socket_path(
    const std::optional<std::filesystem::path>& from_arguments);

/// A toolkit control as a semantic resource, so that a window can list its buttons and toggle
/// groups among its own resources: id "vask.control:" + control id, the control's kind and
/// label, and one action per control action whose payload is the control id (an action with
/// an integer argument takes it in the invocation's arguments). A disabled control's actions
/// are unavailable with the code "control_disabled".
vask_actions::Resource to_action_resource(const ControlResource& control);

}  // namespace vask_ui::automation
