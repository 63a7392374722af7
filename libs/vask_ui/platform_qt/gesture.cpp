#include <QGuiApplication>
#include <QStyleHints>

#include "qt_support.h"
#include "vask_ui/gesture.h"

namespace vask_ui::gesture {

std::chrono::milliseconds multi_click_interval() {
  qt::ensure_application();
  const QStyleHints* hints = QGuiApplication::styleHints();
  // 400 ms is the common desktop default when the platform says nothing.
  int ms = hints != nullptr ? hints->mouseDoubleClickInterval() : 400;
  return std::chrono::milliseconds(ms > 0 ? ms : 400);
}

}  // namespace vask_ui::gesture
