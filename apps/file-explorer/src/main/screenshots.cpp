#include "main/screenshots.h"

#include <cstdio>

#include "files_app/file_explorer_widget.h"
#include "main/launch_config.h"
#include "main/workspace.h"

namespace files {

std::expected<void, vask_ui::LaunchError> render_screenshot(const vask_ui::LaunchArgs& args) {
  // Scenario set-ups come with the features they show; until then every scenario shows the
  // folder it would open ("--path", else the start folder).
  std::filesystem::path folder = start_folder();
  if (auto path = args.value("--path")) {
    std::error_code ec;
    auto absolute = std::filesystem::absolute(*path, ec);
    if (ec) return std::unexpected(vask_ui::LaunchError{*path + ": " + ec.message()});
    folder = absolute;
  }
  app::FileExplorerWidget view(window_config(folder));
  view.set_static_spinner(true);
  const std::string& scenario = *args.scenario();
  if (scenario == "grid" || scenario == "thumbnails" || scenario == "thumbnails-fs") {
    view.state().set_view_mode(model::ViewMode::Grid);
  }
  if (scenario == "status" || scenario == "select") view.set_status_pinned(true);
  if (scenario == "places") view.set_sidebar_snapped(true);

  vask_ui::Size size = args.size().value_or(vask_ui::Size{1280, 800});
  vask_ui::ShotFrame frame(size, vask_ui::Theme::screenshot());
  frame.sync_and_layout(view);
  frame.draw(view);

  // Set-ups that need a laid-out window.
  if (scenario == "menu") {
    // Where the toolbar's View options button sits, at the window's top-right corner.
    view.execute(command::OpenViewMenu{{size.width - 16, 52}});
  } else if (scenario == "context-menu") {
    frame.deliver(view, vask_ui::PointerPress{{size.width * 0.45f, size.height * 0.34f},
                                              vask_ui::PointerButton::Secondary,
                                              {}});
  }
  frame.sync_and_layout(view);
  frame.draw(view);
  const std::filesystem::path& out = *args.output();
  if (auto written = frame.write_png(out); !written) {
    return std::unexpected(vask_ui::LaunchError{written.error()});
  }
  std::printf("file-explorer: wrote shot to %s\n", out.c_str());
  std::fflush(stdout);
  return {};
}

}  // namespace files
