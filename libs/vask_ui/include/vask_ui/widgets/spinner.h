#pragma once

#include <string>

#include "vask_ui/widgets/widget_base.h"

namespace vask_ui {

/// A turning arc that says "busy". A static spinner draws one fixed frame and asks for no
/// animation frames (screenshots, themes without animations).
class Spinner final : public WidgetBase {
 public:
  explicit Spinner(float size = 28) : size_(size) {}

  void set_static(bool is_static);
  bool is_static() const { return static_; }
  void set_accessible_name(std::string name) { name_ = std::move(name); }
  float size() const { return size_; }

  LayoutNode build_layout(Size available) override;
  void apply_layout(const LayoutResult& layout) override;
  void draw(Canvas& canvas) override;
  AccessNode accessibility() const override;
  bool needs_animation_frame() const override;

  /// The arc's start angle in radians at `now`.
  float angle_at(TimePoint now) const;

 private:
  void on_sync(const FrameContext& frame) override;

  float size_;
  bool static_ = false;
  std::string name_;
  Rect rect_;
  float angle_ = 0;
};

}  // namespace vask_ui
