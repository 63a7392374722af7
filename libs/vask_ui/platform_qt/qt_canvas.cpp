#include "qt_canvas.h"

#include <QPainterPath>
#include <cassert>

#include "image_impl.h"
#include "qt_support.h"
#include "vask_ui/text.h"

namespace vask_ui::qt {

QtCanvas::QtCanvas(QPainter& painter, float scale_factor)
    : painter_(painter), scale_factor_(scale_factor) {
  painter_.setRenderHint(QPainter::Antialiasing, true);
  painter_.setRenderHint(QPainter::TextAntialiasing, true);
  painter_.setRenderHint(QPainter::SmoothPixmapTransform, true);
}

void QtCanvas::fill_rect(Rect r, Color c) {
  painter_.fillRect(to_qt(r), to_qt(c));
}

void QtCanvas::fill_rounded_rect(Rect r, float radius, Color c) {
  if (radius <= 0) return fill_rect(r, c);
  painter_.setPen(Qt::NoPen);
  painter_.setBrush(to_qt(c));
  painter_.drawRoundedRect(to_qt(r), radius, radius);
}

void QtCanvas::stroke_rounded_rect(Rect r, float radius, Color c, float width) {
  QPen pen(to_qt(c));
  pen.setWidthF(width);
  painter_.setPen(pen);
  painter_.setBrush(Qt::NoBrush);
  // Stroke inside the rectangle so the edge lines up with fills of the same rectangle.
  QRectF rect = to_qt(r).adjusted(width / 2, width / 2, -width / 2, -width / 2);
  painter_.drawRoundedRect(rect, radius, radius);
}

void QtCanvas::fill_path(const Path& path, Color c) {
  painter_.fillPath(to_qt(path), to_qt(c));
}

void QtCanvas::stroke_path(const Path& path, Color c, float width, LineCap cap) {
  QPen pen(to_qt(c));
  pen.setWidthF(width);
  pen.setJoinStyle(Qt::RoundJoin);
  switch (cap) {
    case LineCap::Butt:
      pen.setCapStyle(Qt::FlatCap);
      break;
    case LineCap::Round:
      pen.setCapStyle(Qt::RoundCap);
      break;
    case LineCap::Square:
      pen.setCapStyle(Qt::SquareCap);
      break;
  }
  painter_.strokePath(to_qt(path), pen);
}

void QtCanvas::draw_shadow(Rect r, float radius, Color c, float blur, Point offset) {
  // A cheap soft shadow: concentric rounded rectangles whose alpha fades outwards.
  constexpr int kSteps = 6;
  painter_.setPen(Qt::NoPen);
  Rect base = r.translated(offset.x, offset.y);
  for (int i = kSteps; i >= 1; --i) {
    float spread = blur * static_cast<float>(i) / kSteps;
    float alpha = static_cast<float>(c.a) / 255.0f / kSteps * 0.9f;
    QColor color = to_qt(c);
    color.setAlphaF(alpha);
    painter_.setBrush(color);
    Rect grown{base.x0 - spread / 2, base.y0 - spread / 3, base.x1 + spread / 2,
               base.y1 + spread / 2};
    painter_.drawRoundedRect(to_qt(grown), radius + spread / 2, radius + spread / 2);
  }
}

void QtCanvas::draw_image(const Image& image, Rect source, Rect target, float opacity) {
  if (image.is_null()) return;
  double old = painter_.opacity();
  painter_.setOpacity(old * opacity);
  painter_.drawImage(to_qt(target), image.impl()->image, to_qt(source));
  painter_.setOpacity(old);
}

void QtCanvas::draw_text(std::string_view text, const TextStyle& style, Point origin, Color c) {
  TextRenderer::shared().draw_text(*this, text, style, origin, c);
}

void QtCanvas::push_clip(Rect r) {
  painter_.save();
  ++saves_;
  painter_.setClipRect(to_qt(r), Qt::IntersectClip);
}

void QtCanvas::push_clip_rounded(Rect r, float radius) {
  painter_.save();
  ++saves_;
  QPainterPath path;
  path.addRoundedRect(to_qt(r), radius, radius);
  painter_.setClipPath(path, Qt::IntersectClip);
}

void QtCanvas::pop_clip() {
  assert(saves_ > 0 && "pop_clip without push_clip");
  painter_.restore();
  --saves_;
}

void QtCanvas::push_translate(float dx, float dy) {
  painter_.save();
  ++saves_;
  painter_.translate(dx, dy);
}

void QtCanvas::pop_translate() {
  assert(saves_ > 0 && "pop_translate without push_translate");
  painter_.restore();
  --saves_;
}

Rect QtCanvas::clip_bounds() const {
  if (!painter_.hasClipping()) return Canvas::clip_bounds();
  QRectF r = painter_.clipBoundingRect();
  return Rect::from_xywh(static_cast<float>(r.x()), static_cast<float>(r.y()),
                         static_cast<float>(r.width()), static_cast<float>(r.height()));
}

}  // namespace vask_ui::qt
