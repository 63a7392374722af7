#include "qt_support.h"

#include <sys/stat.h>
#include <unistd.h>
#include <QGuiApplication>

#include <cerrno>
#include <cstdlib>
#include <string>

namespace vask_ui::qt {

void ensure_application() {
  if (QGuiApplication::instance() != nullptr) return;
  // Without a display there is nothing to connect to: render offscreen instead of failing.
  if (std::getenv("QT_QPA_PLATFORM") == nullptr && std::getenv("DISPLAY") == nullptr &&
      std::getenv("WAYLAND_DISPLAY") == nullptr) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
  }
  // Qt wants a private runtime folder; sessions without one (CI, ssh) get their own.
  if (std::getenv("XDG_RUNTIME_DIR") == nullptr) {
    std::string dir = "/tmp/runtime-" + std::to_string(getuid());
    if (mkdir(dir.c_str(), 0700) == 0 || errno == EEXIST) setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
  }
  // Logical units are pixels at 96 dpi everywhere, so text measures the same in a window,
  // offscreen and in tests.
  setenv("QT_FONT_DPI", "96", 0);
  static int argc = 1;
  static char name[] = "vask";
  static char* argv[] = {name, nullptr};
  new QGuiApplication(argc, argv);  // Lives until the process ends, like the event loop.
}

QPainterPath to_qt(const Path& path) {
  QPainterPath out;
  for (const Path::Element& e : path.elements()) {
    switch (e.verb) {
      case Path::Verb::Move:
        out.moveTo(to_qt(e.p[0]));
        break;
      case Path::Verb::Line:
        out.lineTo(to_qt(e.p[0]));
        break;
      case Path::Verb::Quad:
        out.quadTo(to_qt(e.p[0]), to_qt(e.p[1]));
        break;
      case Path::Verb::Cubic:
        out.cubicTo(to_qt(e.p[0]), to_qt(e.p[1]), to_qt(e.p[2]));
        break;
      case Path::Verb::Close:
        out.closeSubpath();
        break;
    }
  }
  return out;
}

QFont font_for(const TextStyle& style) {
  ensure_application();
  QFont font;
  font.setFamilies(
      {QStringLiteral("Inter"), QStringLiteral("Noto Sans"), QStringLiteral("DejaVu Sans")});
  // Point size at 96 dpi: logical units × 72 / 96.
  font.setPointSizeF(static_cast<double>(style.size) * 0.75);
  switch (style.weight) {
    case FontWeight::Regular:
      font.setWeight(QFont::Normal);
      break;
    case FontWeight::Medium:
      font.setWeight(QFont::Medium);
      break;
    case FontWeight::Semibold:
      font.setWeight(QFont::DemiBold);
      break;
    case FontWeight::Bold:
      font.setWeight(QFont::Bold);
      break;
  }
  font.setHintingPreference(QFont::PreferNoHinting);
  return font;
}

}  // namespace vask_ui::qt
