#include "vask_ui/widgets/spinner.h"

#include <cmath>
#include <numbers>

#include "paint.h"

namespace vask_ui {
namespace {

constexpr float kTurnSeconds = 1.1f;
// The fixed frame of a static spinner: the arc starts at the top.
constexpr float kStaticAngle = -std::numbers::pi_v<float> / 2;

}  // namespace

void Spinner::set_static(bool is_static) {
  static_ = is_static;
  mark_dirty();
}

float Spinner::angle_at(TimePoint now) const {
  using Seconds = std::chrono::duration<double>;
  double t = std::chrono::duration_cast<Seconds>(now.time_since_epoch()).count();
  double turns = std::fmod(t / kTurnSeconds, 1.0);
  return kStaticAngle + static_cast<float>(turns * 2 * std::numbers::pi);
}

void Spinner::on_sync(const FrameContext& frame) {
  float angle = static_ || !theme().animations ? kStaticAngle : angle_at(frame.now);
  if (angle != angle_) mark_dirty();
  angle_ = angle;
}

bool Spinner::needs_animation_frame() const {
  return !static_ && theme().animations;
}

LayoutNode Spinner::build_layout(Size) {
  return LayoutNode{
      .id = 0, .style = {.width = Dimension::points(size_), .height = Dimension::points(size_)}};
}

void Spinner::apply_layout(const LayoutResult& layout) {
  rect_ = layout.rect(0);
}

void Spinner::draw(Canvas& canvas) {
  float stroke = std::max(2.0f, size_ / 9);
  float radius = (std::min(rect_.width(), rect_.height()) - stroke) / 2;
  if (radius <= 0) return mark_drawn();
  Point c = rect_.center();
  Path track;
  track.ellipse(Rect{c.x - radius, c.y - radius, c.x + radius, c.y + radius});
  canvas.stroke_path(track, theme().accent.with_alpha(0.18f), stroke);
  Path arc;
  paint::arc(arc, c, radius, angle_, std::numbers::pi_v<float> * 0.6f);
  canvas.stroke_path(arc, theme().accent, stroke, LineCap::Round);
  mark_drawn();
}

AccessNode Spinner::accessibility() const {
  AccessNode node;
  node.role = AccessRole::ProgressIndicator;
  node.name = name_;
  node.bounds = rect_;
  return node;
}

}  // namespace vask_ui
