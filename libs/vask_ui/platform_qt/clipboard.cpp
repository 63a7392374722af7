#include <QClipboard>
#include <QGuiApplication>

#include "qt_support.h"
#include "vask_ui/clipboard.h"

namespace vask_ui::text_selection {

std::expected<void, std::string> clipboard_copy(std::string_view text) {
  qt::ensure_application();
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (clipboard == nullptr) return std::unexpected("the clipboard is not available");
  QString value = qt::to_qt(text);
  clipboard->setText(value, QClipboard::Clipboard);
  // X11 users paste with the middle button from the primary selection as well.
  if (clipboard->supportsSelection()) clipboard->setText(value, QClipboard::Selection);
  return {};
}

std::optional<std::string> clipboard_text() {
  qt::ensure_application();
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (clipboard == nullptr) return std::nullopt;
  QString value = clipboard->text(QClipboard::Clipboard);
  if (value.isNull()) return std::nullopt;
  return value.toStdString();
}

}  // namespace vask_ui::text_selection
