#pragma once

#include <map>
#include <string>
#include <string_view>

#include "vask_ui/widgets/container.h"

namespace vask_ui {

/// Scroll offsets that outlive the Scrollable widgets showing them, by key. The window
/// rebuilds its file view (and the Scrollable around it) at every layout; the offset stays.
class ScrollMemory {
 public:
  /// The process's memory (one window per process).
  static ScrollMemory& shared();

  float offset(std::string_view key) const;
  void set(std::string_view key, float offset);
  /// Back to the top, e.g. when a new folder opens.
  void reset(std::string_view key) { set(key, 0); }

 private:
  std::map<std::string, float, std::less<>> offsets_;
};

/// Vertical scrolling of one child taller than the viewport: the wheel (line and pixel
/// deltas, offered to the content first), Page Up/Down when the content does not take them,
/// and an overlay scroll bar whose thumb can be dragged and whose track pages on a click.
/// The content is laid out at its scrolled position, so its own hit tests use window
/// coordinates unchanged; it draws clipped to the viewport.
class Scrollable final : public Container {
 public:
  /// Lines scrolled per wheel line, in units.
  static constexpr float kLineStep = 20;

  Scrollable(std::string key, WidgetSlot content, ScrollMemory& memory = ScrollMemory::shared());

  void set_content(WidgetSlot content);
  Widget* content() const { return content_.get(); }
  const std::string& key() const { return key_; }

  float offset() const;
  /// Moves to `offset` (clamped to the content) and lays the content out there at once.
  void set_offset(float offset);
  void reset_offset() { set_offset(0); }
  float max_offset() const;
  /// Scrolls just enough that content rows [top, bottom) (content coordinates) are in view.
  void reveal(float top, float bottom);

  Rect viewport() const { return viewport_; }
  /// The content's full rectangle at its scrolled position.
  Rect content_rect() const { return content_rect_; }
  Rect scroll_bar_rect() const;
  Rect thumb_rect() const;

  LayoutNode build_layout(Size available) override;
  void apply_layout(const LayoutResult& layout) override;
  void draw(Canvas& canvas) override;
  EventResult handle_event(const Event& event) override;
  CursorShape cursor_shape(Point position) const override;

 protected:
  std::vector<Widget*> children() const override;
  AccessNode own_access_node() const override;

 private:
  void layout_content();
  bool scroll_by(float delta);
  bool scrollable() const { return content_height_ > viewport_.height() + 0.5f; }

  std::string key_;
  WidgetSlot content_;
  ScrollMemory& memory_;
  Rect viewport_;
  Rect content_rect_;
  float content_height_ = 0;
  bool bar_hovered_ = false;
  bool dragging_ = false;
  float drag_start_y_ = 0;
  float drag_start_offset_ = 0;
};

}  // namespace vask_ui
