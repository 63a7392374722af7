#pragma once

#include <concepts>
#include <memory>
#include <utility>
#include <vector>

#include "vask_ui/widgets/widget_base.h"

/// Composition: how containers hold, lay out and feed their children.
namespace vask_ui {

/// A child held by a container: owned, or borrowed from an owner who outlives the container
/// (the window keeps its retry button as a field and lends it to an empty state).
class WidgetSlot {
 public:
  WidgetSlot() = default;
  template <std::derived_from<Widget> W>
  WidgetSlot(std::unique_ptr<W> owned) : owned_(std::move(owned)), widget_(owned_.get()) {}
  static WidgetSlot borrow(Widget& widget) {
    WidgetSlot slot;
    slot.widget_ = &widget;
    return slot;
  }

  Widget* get() const { return widget_; }
  Widget* operator->() const { return widget_; }
  Widget& operator*() const { return *widget_; }
  explicit operator bool() const { return widget_ != nullptr; }

 private:
  std::unique_ptr<Widget> owned_;
  Widget* widget_ = nullptr;
};

/// A leaf that stands for `child` in its parent's layout tree: the child's own root style
/// (fixed size, grow, shrink, minimums) with its measured size as content. The child's inner
/// tree is laid out separately by `layout_child`, so node ids never clash across widgets.
LayoutNode embed_child(Widget& child, Size available, int id);
/// Lays `child` out inside `rect` as a tree of its own and hands it the result.
void layout_child(Widget& child, Rect rect);

/// A widget made of children. It forwards the frame calls, draws the children in order and
/// routes input: pointer events to the child under the pointer (or the one holding a press),
/// keys and text to the focused child, Tab to the next child that takes focus.
class Container : public WidgetBase {
 public:
  void draw(Canvas& canvas) override;
  void draw_overlay(Canvas& canvas) override;
  EventResult handle_event(const Event& event) override;
  AccessNode accessibility() const override;
  bool perform_semantic_action(const SemanticAction& action) override;
  bool needs_redraw() const override;
  bool needs_animation_frame() const override;
  std::optional<TimePoint> next_wake_deadline() const override;
  void poll_background() override;
  std::vector<ControlResource> resources() const override;
  bool take_control_invocation(const ControlInvocation& invocation) override;
  CursorShape cursor_shape(Point position) const override;
  void focus_changed(bool focused) override;
  bool accepts_focus() const override;
  std::optional<Rect> input_caret_rect() const override;

  /// The child that receives keys, if any.
  Widget* focused_child() const;
  /// Moves keyboard focus to `child` (one of the children) or nowhere.
  void focus_child(Widget* child);

 protected:
  /// The children in drawing order (later ones lie on top); only those currently shown.
  virtual std::vector<Widget*> children() const = 0;
  void on_sync(const FrameContext& frame) override;
  /// Where a child receives pointer input, recorded at layout.
  void set_child_rect(Widget* child, Rect rect);
  void clear_child_rects() { rects_.clear(); }
  /// The child under `position`, topmost first.
  Widget* child_at(Point position) const;
  /// The default routing described above.
  EventResult route(const Event& event);
  /// The container's own accessibility node; the children's nodes are appended to it.
  virtual AccessNode own_access_node() const;

 private:
  bool is_child(const Widget* widget) const;
  bool move_focus(bool backwards);

  std::vector<std::pair<Widget*, Rect>> rects_;
  Widget* hovered_ = nullptr;
  Widget* captured_ = nullptr;
  PointerButton captured_button_ = PointerButton::Primary;
  Widget* focused_ = nullptr;
  bool has_focus_ = false;
};

}  // namespace vask_ui
