#pragma once

// Internal to the Qt backend: conversions between our plain types and Qt's.

#include <QColor>
#include <QFont>
#include <QPainterPath>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <string_view>

#include "vask_ui/canvas.h"
#include "vask_ui/geometry.h"

namespace vask_ui::qt {

/// Creates the process's QGuiApplication on first use (headless when no display is set).
void ensure_application();

inline QRectF to_qt(Rect r) {
  return QRectF(r.x0, r.y0, r.width(), r.height());
}
inline QPointF to_qt(Point p) {
  return QPointF(p.x, p.y);
}
inline QColor to_qt(Color c) {
  return QColor(c.r, c.g, c.b, c.a);
}
inline QString to_qt(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
QPainterPath to_qt(const Path& path);
/// The UI font at the style's size in logical units.
QFont font_for(const TextStyle& style);

}  // namespace vask_ui::qt
