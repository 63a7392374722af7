#pragma once

#include <QRasterWindow>
#include <QTimer>
#include <memory>

#include "access_bridge.h"
#include "vask_ui/widget.h"

namespace vask_ui::qt {

/// The interactive window: hosts the root widget, runs its frames and feeds it input.
class HostWindow final : public QRasterWindow {
 public:
  HostWindow(std::unique_ptr<Widget> root, const Theme& theme);
  ~HostWindow() override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool event(QEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  void deliver(const Event& event);
  /// After input or a poll: redraw when asked and re-arm the wake timer.
  void schedule();
  void update_cursor(Point position);

  std::unique_ptr<Widget> root_;
  const Theme& theme_;
  QTimer poll_timer_;
  QTimer wake_timer_;
  // Declared after the root so that it goes first: it reads the root's tree.
  std::unique_ptr<AccessBridge> access_;
};

}  // namespace vask_ui::qt
