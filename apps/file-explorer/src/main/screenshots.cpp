#include "main/screenshots.h"

#include <algorithm>
#include <cstdio>

#include "files_app/file_explorer_widget.h"
#include "main/demo_content.h"
#include "main/launch_config.h"
#include "main/workspace.h"
#include "vask_ui/log.h"

namespace files {
namespace {

namespace fs = std::filesystem;
using app::FileExplorerWidget;

/// The placeholder the undo scenario offers to restore; nothing of that name exists.
constexpr std::string_view kShotTrashEntry = "/shot-only-trash-entry";

bool lies_in(const fs::path& path, const fs::path& folder) {
  auto [end, _] = std::mismatch(folder.begin(), folder.end(), path.begin(), path.end());
  return end == folder.end();
}

std::optional<std::size_t> first_entry(const FileExplorerWidget& view, bool want_folder) {
  const auto& entries = view.state().entries();
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (entries[i].is_dir == want_folder) return i;
  }
  return std::nullopt;
}

void log_missing(std::string_view scenario, std::string_view what) {
  vask_ui::log::get("file_explorer::screenshots")
      ->info("scenario {}: {} is not available yet in this build", scenario, what);
}

/// Set-ups that only change state, before anything is laid out.
void set_up_before_frame(FileExplorerWidget& view, std::string_view scenario) {
  if (scenario == "grid" || scenario == "thumbnails" || scenario == "thumbnails-fs") {
    view.state().set_view_mode(model::ViewMode::Grid);
  } else if (scenario == "select") {
    auto& selection = view.state().selection();
    if (view.state().entries().size() > 8) {
      selection.select_only(7);
      selection.add(8);
    }
    view.set_status_pinned(true);
  } else if (scenario == "status") {
    view.set_status_pinned(true);
  } else if (scenario == "rename") {
    if (view.state().entries().size() > 3) view.state().selection().select_only(3);
    view.commands()->push(command::BeginRename{});
    view.drain_commands();
  } else if (scenario == "places") {
    view.set_sidebar_snapped(true);
  } else if (scenario == "remote-account") {
    // The details sheet of the demonstration account "shot-remote-account" ("Personal cloud")
    // opens here once remote accounts exist.
    log_missing(scenario, "the remote account details sheet");
  } else if (scenario == "loading") {
    view.state().force_loading(true);
  } else if (scenario == "error") {
    view.state().force_load_error(view.state().current_folder().string() + ": Permission denied");
  } else if (scenario == "undo-trash") {
    view.record_trash_undo(fileops::TrashUndo{{fs::path(kShotTrashEntry).filename().string()}});
  }
}

/// Set-ups that aim at where things were laid out.
void set_up_after_layout(FileExplorerWidget& view, vask_ui::ShotFrame& frame,
                         std::string_view scenario) {
  vask_ui::Size size = frame.size();
  if (scenario == "menu" || scenario == "undo-trash" || scenario == "archive-menu") {
    // Where the toolbar's View options button sits, at the window's top-right corner.
    view.execute(command::OpenViewMenu{{size.width - 16, 52}});
  } else if (scenario == "context-menu") {
    frame.deliver(view, vask_ui::PointerPress{{size.width * 0.45f, size.height * 0.34f},
                                              vask_ui::PointerButton::Secondary,
                                              {}});
  } else if (scenario == "reorder") {
    view.sidebar().show_drag_preview(4, 1);
  } else if (scenario == "pindrag") {
    if (auto folder = first_entry(view, true)) {
      frame.deliver(view, vask_ui::PointerMove{{150, 304}, {}});
      view.execute(command::BeginDrag{view.state().entries()[*folder].path, true});
    }
  } else if (scenario == "dropmove") {
    auto file = first_entry(view, false);
    if (file && !view.drop_targets().empty()) {
      frame.deliver(view, vask_ui::PointerMove{view.drop_targets().front().rect.center(), {}});
      view.execute(command::BeginDrag{view.state().entries()[*file].path, false});
    }
  } else if (scenario == "select") {
    frame.deliver(view, vask_ui::PointerMove{{size.width * 0.35f, 560}, {}});
  } else if (scenario == "history") {
    const auto& entries = view.state().entries();
    for (std::size_t i = 0; i < entries.size(); ++i) {
      if (entries[i].path.filename() == demo::kHistoryDemoFile) {
        view.state().selection().select_only(i);
      }
    }
    view.execute(command::ShowVersionHistory{});
  }
}

}  // namespace

std::expected<void, vask_ui::LaunchError> render_screenshot(const vask_ui::LaunchArgs& args) {
  const std::string& scenario = *args.scenario();
  std::optional<fs::path> demo_path;
  if (auto demo = demo::demo_folder_for(scenario)) {
    std::error_code ec;
    fs::path temp = fs::temp_directory_path(ec);
    if (ec) return std::unexpected(vask_ui::LaunchError{"temporary folder: " + ec.message()});
    auto created = demo::create_demo(*demo, temp);
    if (!created) return std::unexpected(vask_ui::LaunchError{created.error()});
    demo_path = *created;
  }

  std::filesystem::path folder = start_folder();
  if (auto path = args.value("--path")) {
    std::error_code ec;
    auto absolute = std::filesystem::absolute(*path, ec);
    if (ec) return std::unexpected(vask_ui::LaunchError{*path + ": " + ec.message()});
    folder = absolute;
  }
  app::WindowConfig config = window_config(folder);
  if (demo_path) {
    // The demonstration stands in for a workspace folder, so its collaborative attributes are
    // read and drawn as they would be there.
    config.in_workspace = [demo = *demo_path](const fs::path& path) {
      return lies_in(path, demo) || is_in_workspace(path);
    };
  }
  FileExplorerWidget view(std::move(config));
  if (demo_path) view.navigate(*demo_path);
  view.set_static_spinner(true);
  set_up_before_frame(view, scenario);

  vask_ui::Size size = args.size().value_or(vask_ui::Size{1280, 800});
  vask_ui::ShotFrame frame(size, vask_ui::Theme::screenshot());
  frame.sync_and_layout(view);
  frame.draw(view);

  set_up_after_layout(view, frame, scenario);
  if (scenario == "thumbnails" || scenario == "thumbnails-fs") {
    // Thumbnails are drawn from the thumbnail service once the window has one; the frame
    // before the final one is where its requests start.
    frame.sync_and_layout(view);
    frame.draw(view);
    log_missing(scenario, "the thumbnail service");
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
