#include <algorithm>

#include "vask_ui/canvas.h"

namespace vask_ui {

Path& Path::move_to(Point p) {
  elements_.push_back({Verb::Move, {p, {}, {}}});
  return *this;
}
Path& Path::line_to(Point p) {
  elements_.push_back({Verb::Line, {p, {}, {}}});
  return *this;
}
Path& Path::quad_to(Point control, Point end) {
  elements_.push_back({Verb::Quad, {control, end, {}}});
  return *this;
}
Path& Path::cubic_to(Point c1, Point c2, Point end) {
  elements_.push_back({Verb::Cubic, {c1, c2, end}});
  return *this;
}
Path& Path::close() {
  elements_.push_back({Verb::Close, {}});
  return *this;
}

Path& Path::ellipse(Rect r) {
  // Four cubic quarter arcs; 0.5523 is the usual circle constant for cubic Béziers.
  constexpr float k = 0.5522847f;
  float cx = (r.x0 + r.x1) / 2, cy = (r.y0 + r.y1) / 2;
  float rx = r.width() / 2, ry = r.height() / 2;
  move_to({cx + rx, cy});
  cubic_to({cx + rx, cy + k * ry}, {cx + k * rx, cy + ry}, {cx, cy + ry});
  cubic_to({cx - k * rx, cy + ry}, {cx - rx, cy + k * ry}, {cx - rx, cy});
  cubic_to({cx - rx, cy - k * ry}, {cx - k * rx, cy - ry}, {cx, cy - ry});
  cubic_to({cx + k * rx, cy - ry}, {cx + rx, cy - k * ry}, {cx + rx, cy});
  return close();
}

Path& Path::rounded_rect(Rect r, float radius) {
  float rad = std::min({radius, r.width() / 2, r.height() / 2});
  move_to({r.x0 + rad, r.y0});
  line_to({r.x1 - rad, r.y0});
  quad_to({r.x1, r.y0}, {r.x1, r.y0 + rad});
  line_to({r.x1, r.y1 - rad});
  quad_to({r.x1, r.y1}, {r.x1 - rad, r.y1});
  line_to({r.x0 + rad, r.y1});
  quad_to({r.x0, r.y1}, {r.x0, r.y1 - rad});
  line_to({r.x0, r.y0 + rad});
  quad_to({r.x0, r.y0}, {r.x0 + rad, r.y0});
  return close();
}

}  // namespace vask_ui
