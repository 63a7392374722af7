#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "files_app/file_explorer_widget.h"
#include "temp_folder.h"
#include "vask_ui/clock.h"
#include "vask_ui/launch.h"
#include "vask_ui/regions.h"

namespace files::app {

using files::testing::TempFolder;
using vask_ui::Key;
using vask_ui::Modifiers;

/// A real window laid out and drawn off screen; each fixture gives it its configuration.
class WindowDriver {
 protected:
  /// A configuration with its own settings folder, opening `start`, outside any workspace.
  static WindowConfig local_config(const std::filesystem::path& config_dir,
                                   const std::filesystem::path& start) {
    WindowConfig config;
    config.config_dir = config_dir;
    config.start_folder = start;
    config.in_workspace = [](const std::filesystem::path&) { return false; };
    return config;
  }
  void open_window(WindowConfig config, vask_ui::Size size = {1000, 700}) {
    window = std::make_unique<FileExplorerWidget>(std::move(config));
    frame = std::make_unique<vask_ui::ShotFrame>(size, vask_ui::Theme::screenshot());
    render();
  }
  void render() {
    frame->sync_and_layout(*window);
    frame->draw(*window);
  }

  std::unique_ptr<FileExplorerWidget> window;
  std::unique_ptr<vask_ui::ShotFrame> frame;
};

/// A real window on a real folder, driven by synthetic events.
class WindowTest : public ::testing::Test, protected WindowDriver {
 protected:
  void open(vask_ui::Size size = {1000, 700}) {
    open_window(local_config(config_dir.path(), folder.path()), size);
  }
  /// The centre of an entry's row or tile, as the last frame drew it.
  vask_ui::Point at(const std::string& name) {
    auto rect = vask_ui::regions::current().find(vask_ui::regions::file_row_id(name));
    EXPECT_TRUE(rect.has_value()) << name;
    return rect ? rect->center() : vask_ui::Point{};
  }
  void click(vask_ui::Point p, Modifiers m = {},
             vask_ui::PointerButton b = vask_ui::PointerButton::Primary) {
    window->handle_event(vask_ui::PointerMove{p, m});
    window->handle_event(vask_ui::PointerPress{p, b, m});
    window->handle_event(vask_ui::PointerRelease{p, b, m});
    render();
  }
  void key(Key k, Modifiers m = {}, std::string text = {}) {
    window->handle_event(vask_ui::KeyPress{k, std::move(text), m});
    render();
  }
  void type(const std::string& text, Modifiers m = {}) { key(Key::Character, m, text); }
  std::vector<std::size_t> selected() const { return window->state().selection().selected(); }
  std::optional<std::size_t> primary() const { return window->state().selection().primary(); }

  TempFolder folder;
  TempFolder config_dir;
  vask_ui::ui_clock::ManualClock clock;
};

constexpr Modifiers kShift{.shift = true};
constexpr Modifiers kPrimary{.primary = true};

}  // namespace files::app
