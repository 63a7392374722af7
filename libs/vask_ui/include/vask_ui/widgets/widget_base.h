#pragma once

#include <string>
#include <string_view>

#include "vask_ui/widget.h"

namespace vask_ui {

/// Keyboard focus rings show once the keyboard is in use and hide again after a click, as in
/// the desktop's other toolkits. Every ready-made widget notes the events it receives.
namespace focus_visibility {
bool visible();
void note(const Event& event);
void set(bool visible);
}  // namespace focus_visibility

/// Shared plumbing of the ready-made widgets: the theme, window size and instant of the last
/// frame, and a redraw flag that state changes raise and drawing clears.
class WidgetBase : public Widget {
 public:
  /// Remembers the frame's theme, size and time, then runs `on_sync`.
  void sync(const FrameContext& frame) final;
  bool needs_redraw() const override { return dirty_; }

 protected:
  virtual void on_sync(const FrameContext& frame) { (void)frame; }

  const Theme& theme() const { return *theme_; }
  /// The window's size as of the last frame (zero before the first one).
  Size window_size() const { return window_size_; }
  TimePoint frame_time() const { return frame_time_; }
  void mark_dirty() const { dirty_ = true; }
  /// An id for accessibility actions that is unique while the widget lives, for widgets that
  /// were given no control id: `prefix` followed by the widget's address.
  std::string instance_id(std::string_view prefix) const;
  /// Called at the end of drawing.
  void mark_drawn() const { dirty_ = false; }

 private:
  const Theme* theme_ = &Theme::light();
  Size window_size_;
  TimePoint frame_time_;
  mutable bool dirty_ = true;
};

}  // namespace vask_ui
