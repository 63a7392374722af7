#pragma once

#include <string>

#include "vask_ui/widgets/container.h"

namespace vask_ui {

/// A sidebar beside the content. Below the collapse width the content takes the whole width
/// and the sidebar, when opened, slides over it behind a scrim (a press on the scrim or Escape
/// closes it). F9 shows or hides the sidebar, as in the desktop's file managers. A snapped
/// shell keeps the sidebar beside the content at any width.
class NavShell final : public Container {
 public:
  static constexpr float kDefaultSidebarWidth = 232;
  static constexpr float kDefaultCollapseWidth = 640;

  explicit NavShell(WidgetSlot sidebar = {}, WidgetSlot content = {});

  void set_sidebar(WidgetSlot sidebar);
  void set_content(WidgetSlot content);
  Widget* sidebar() const { return sidebar_.get(); }
  Widget* content() const { return content_.get(); }

  void set_sidebar_width(float width);
  float sidebar_width() const { return sidebar_width_; }
  /// Below this width the sidebar stops sitting beside the content.
  void set_collapse_width(float width);
  float collapse_width() const { return collapse_width_; }
  void set_snapped(bool snapped);
  bool is_snapped() const { return snapped_; }

  /// The shell is too narrow for the sidebar to sit beside the content (as of the last layout).
  bool is_collapsed() const;
  /// Shows or hides the sidebar in the current mode (beside when wide, over when collapsed).
  void set_sidebar_open(bool open);
  void toggle_sidebar() { set_sidebar_open(!is_sidebar_shown()); }
  bool is_sidebar_shown() const;
  /// The sidebar lies over the content (collapsed and shown): the window hides its status pill.
  bool sidebar_overlays_content() const { return is_collapsed() && is_sidebar_shown(); }

  /// Names of the two regions for screen readers.
  void set_accessible_names(std::string navigation, std::string content);

  Rect sidebar_rect() const { return sidebar_rect_; }
  Rect content_rect() const { return content_rect_; }

  LayoutNode build_layout(Size available) override;
  void apply_layout(const LayoutResult& layout) override;
  void draw(Canvas& canvas) override;
  EventResult handle_event(const Event& event) override;
  AccessNode accessibility() const override;
  bool needs_animation_frame() const override;

 protected:
  std::vector<Widget*> children() const override;
  void on_sync(const FrameContext& frame) override;

 private:
  float slide_progress() const;
  void place_children();

  WidgetSlot sidebar_;
  WidgetSlot content_;
  float sidebar_width_ = kDefaultSidebarWidth;
  float collapse_width_ = kDefaultCollapseWidth;
  bool snapped_ = false;
  bool docked_hidden_ = false;
  bool overlay_open_ = false;
  TimePoint overlay_changed_;
  bool sliding_ = false;
  std::string navigation_name_;
  std::string content_name_;
  Rect rect_;
  Rect sidebar_rect_;
  Rect content_rect_;
};

}  // namespace vask_ui
