#pragma once

#include <expected>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "vask_ui/canvas.h"
#include "vask_ui/geometry.h"
#include "vask_ui/persist.h"
#include "vask_ui/theme.h"
#include "vask_ui/widget.h"

/// Starting an application: argument parsing, the interactive window and screenshot mode.
namespace vask_ui {

struct LaunchError {
  std::string message;
};

/// The process arguments as the launcher understood them.
class LaunchArgs {
 public:
  /// Parses `args` (without the program name) against the declared options. Besides the
  /// application's own options the launcher knows "--screenshot NAME", "--out PATH",
  /// "--size WxH" and "--automation-socket PATH".
  static std::expected<LaunchArgs, LaunchError> parse(const std::vector<std::string>& args,
                                                      const std::vector<std::string>& value_options,
                                                      const std::vector<std::string>& switches,
                                                      const std::vector<std::string>& scenarios);

  /// The value of a declared value option, or nullopt when it was not given.
  std::optional<std::string> value(std::string_view option) const;
  bool has_switch(std::string_view option) const;
  const std::vector<std::string>& positionals() const { return positionals_; }
  /// The screenshot scenario, when the program runs in screenshot mode.
  const std::optional<std::string>& scenario() const { return scenario_; }
  /// The requested frame size ("--size"), when given.
  const std::optional<Size>& size() const { return size_; }
  /// Where screenshot mode writes its PNG.
  const std::optional<std::filesystem::path>& output() const { return output_; }
  const std::optional<std::filesystem::path>& automation_socket() const {
    return automation_socket_;
  }
  /// The process's own argument list, program name first.
  const std::vector<std::string>& raw() const { return raw_; }
  void set_raw(std::vector<std::string> raw) { raw_ = std::move(raw); }

 private:
  std::map<std::string, std::string, std::less<>> values_;
  std::vector<std::string> switches_;
  std::vector<std::string> positionals_;
  std::optional<std::string> scenario_;
  std::optional<Size> size_;
  std::optional<std::filesystem::path> output_;
  std::optional<std::filesystem::path> automation_socket_;
  std::vector<std::string> raw_;
};

/// Parses "WxH" with positive integers.
std::optional<Size> parse_size(std::string_view text);

/// An offscreen frame for screenshot mode: the same sync, layout and drawing as the window,
/// into an image that is written as PNG.
class ShotFrame {
 public:
  ShotFrame(Size size, const Theme& theme);
  ~ShotFrame();
  ShotFrame(const ShotFrame&) = delete;
  ShotFrame& operator=(const ShotFrame&) = delete;

  Size size() const { return size_; }
  const Theme& theme() const { return theme_; }
  /// Runs sync and layout; a second pass when the widget asks for one right away.
  void sync_and_layout(Widget& root);
  /// Clears the image and draws the widget and its overlay.
  void draw(Widget& root);
  /// Hands an event to the widget as the window would.
  EventResult deliver(Widget& root, const Event& event);
  std::expected<void, std::string> write_png(const std::filesystem::path& path) const;
  /// The colours of the image, for tests: counts pixels that differ from the top-left one.
  std::size_t count_pixels_unlike_corner() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
  Size size_;
  const Theme& theme_;
};

using BuildCallback =
    std::function<std::expected<std::unique_ptr<Widget>, LaunchError>(const LaunchArgs&)>;
using ScreenshotCallback = std::function<std::expected<void, LaunchError>(const LaunchArgs&)>;
using StateDocumentCallback = std::function<std::expected<StateDocument, std::string>()>;

struct HistorySource {
  std::string id;
  std::string label;
};
struct HistoryModeDescriptor {
  std::string application_id;
  std::vector<HistorySource> sources;
};

/// Everything the launcher needs to know about an application.
struct LaunchConfig {
  std::string application_id;
  std::string title;
  std::vector<std::string> value_options;
  std::vector<std::string> switches;
  std::vector<std::string> scenarios;
  HistoryModeDescriptor history_mode;
  BuildCallback build;
  ScreenshotCallback screenshot;
  std::function<Size()> default_size = [] { return Size{1280, 800}; };
  std::function<bool()> predicate = [] { return true; };
  StateDocumentCallback state_document;
};

/// Owns the event loop until the window closes (or, in screenshot mode, until the screenshot
/// callback returns). `argv` is the process's argument vector.
std::expected<void, LaunchError> run(const LaunchConfig& config, int argc, char** argv);

}  // namespace vask_ui
