#include <QGuiApplication>
#include <QIcon>
#include <clocale>

#include "host_window.h"
#include "qt_support.h"
#include "vask_ui/automation.h"
#include "vask_ui/launch.h"
#include "vask_ui/log.h"

namespace vask_ui {

std::expected<void, LaunchError> run(const LaunchConfig& config, int argc, char** argv) {
  // Byte paths and archive member names are UTF-8 whatever the user's locale is.
  std::setlocale(LC_CTYPE, "C.UTF-8");
  log::init_default();
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i)
    args.emplace_back(argv[i]);
  auto parsed = LaunchArgs::parse(args, config.value_options, config.switches, config.scenarios);
  if (!parsed) return std::unexpected(parsed.error());
  LaunchArgs& launch_args = *parsed;
  launch_args.set_raw(std::vector<std::string>(argv, argv + argc));

  if (launch_args.scenario()) {
    // Screenshot mode never needs a display.
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    qt::ensure_application();
    if (!config.screenshot) return std::unexpected(LaunchError{"no screenshot callback"});
    return config.screenshot(launch_args);
  }

  if (config.state_document) {
    if (auto doc = config.state_document(); !doc) {
      log::get("vask_ui::launch")->warn("state document unavailable: {}", doc.error());
    }
  }

  // The endpoint is set up before the window exists, so a refused socket path fails the launch
  // instead of leaving a window that nobody can drive.
  std::unique_ptr<automation::Server> automation_server;
  auto socket = automation::socket_path(launch_args.automation_socket());
  // Programs the window starts (a terminal, say) must not try to serve the same socket.
  unsetenv("VASK_AUTOMATION_SOCKET");
  if (socket) {
    auto server = automation::Server::listen(*socket);
    if (!server) return std::unexpected(LaunchError{server.error()});
    automation_server = std::move(*server);
    log::get("vask_ui::automation")->info("serving automation on {}", socket->string());
  }

  qt::ensure_application();
  QGuiApplication::setApplicationName(QString::fromStdString(config.application_id));
  QGuiApplication::setDesktopFileName(QString::fromStdString(config.application_id));
  auto root = config.build(launch_args);
  if (!root) return std::unexpected(root.error());

  qt::HostWindow window(std::move(*root), Theme::light());
  Size size = config.default_size ? config.default_size() : Size{1280, 800};
  window.setTitle(
      QString::fromStdString(config.title.empty() ? config.application_id : config.title));
  window.resize(static_cast<int>(size.width), static_cast<int>(size.height));
  window.show();
  if (automation_server) window.attach_automation(std::move(automation_server));
  QGuiApplication::exec();
  return {};
}

}  // namespace vask_ui
