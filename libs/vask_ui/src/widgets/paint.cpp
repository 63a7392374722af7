#include "paint.h"

#include <cmath>
#include <numbers>

namespace vask_ui::paint {

void arc(Path& path, Point center, float radius, float start, float sweep, bool move_first) {
  // Cubic segments of at most a quarter turn each stay within a fraction of a unit of the
  // true circle at the sizes widgets draw.
  int segments =
      std::max(1, static_cast<int>(std::ceil(std::fabs(sweep) / (std::numbers::pi_v<float> / 2))));
  float step = sweep / static_cast<float>(segments);
  float k = 4.0f / 3.0f * std::tan(step / 4);
  auto at = [&](float a) {
    return Point{center.x + radius * std::cos(a), center.y + radius * std::sin(a)};
  };
  float a0 = start;
  if (move_first) path.move_to(at(a0));
  for (int i = 0; i < segments; ++i) {
    float a1 = a0 + step;
    Point p0 = at(a0);
    Point p1 = at(a1);
    Point c1{p0.x - k * radius * std::sin(a0), p0.y + k * radius * std::cos(a0)};
    Point c2{p1.x + k * radius * std::sin(a1), p1.y - k * radius * std::cos(a1)};
    path.cubic_to(c1, c2, p1);
    a0 = a1;
  }
}

void focus_ring(Canvas& canvas, Rect r, float radius, const Theme& theme) {
  canvas.stroke_rounded_rect(r.inset(-2), radius + 2, theme.focus_ring, 2);
}

void check_mark(Canvas& canvas, Rect box, Color color) {
  float s = std::min(box.width(), box.height());
  Point c = box.center();
  Path path;
  path.move_to({c.x - 0.32f * s, c.y + 0.02f * s});
  path.line_to({c.x - 0.10f * s, c.y + 0.24f * s});
  path.line_to({c.x + 0.34f * s, c.y - 0.24f * s});
  canvas.stroke_path(path, color, std::max(1.5f, s * 0.11f), LineCap::Round);
}

void chevron_right(Canvas& canvas, Rect box, Color color) {
  float s = std::min(box.width(), box.height());
  Point c = box.center();
  Path path;
  path.move_to({c.x - 0.12f * s, c.y - 0.26f * s});
  path.line_to({c.x + 0.14f * s, c.y});
  path.line_to({c.x - 0.12f * s, c.y + 0.26f * s});
  canvas.stroke_path(path, color, 1.5f, LineCap::Round);
}

}  // namespace vask_ui::paint
