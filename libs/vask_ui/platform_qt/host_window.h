#pragma once

#include <QRasterWindow>
#include <QSocketNotifier>
#include <QTimer>
#include <cstdint>
#include <map>
#include <memory>

#include "access_bridge.h"
#include "vask_ui/automation.h"
#include "vask_ui/widget.h"

namespace vask_ui::qt {

/// The interactive window: hosts the root widget, runs its frames and feeds it input.
class HostWindow final : public QRasterWindow, private automation::Host {
 public:
  HostWindow(std::unique_ptr<Widget> root, const Theme& theme);
  ~HostWindow() override;
  /// What the platform's accessibility bridge asks for: the root widget's tree.
  QAccessibleInterface* accessibleRoot() const override;

  /// Serves automation clients from now on, on this window's thread between frames.
  void attach_automation(std::unique_ptr<automation::Server> server);

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
  EventResult deliver(const Event& event);
  /// A key press, then `typed` as committed text when no key binding took a printable key.
  EventResult deliver_key(const KeyPress& press, const std::string& typed);
  FrameContext frame_context() const;
  /// After input or a poll: redraw when asked and re-arm the wake timer.
  void schedule();
  void update_cursor(Point position);

  // automation::Host
  Widget& settled_root() override;
  EventResult deliver_input(const Event& event) override;
  void serve_automation();
  /// Keeps one notifier pair per descriptor the endpoint asks to watch.
  void watch_automation();

  std::unique_ptr<Widget> root_;
  const Theme& theme_;
  QTimer poll_timer_;
  QTimer wake_timer_;
  // Declared after the root so that it goes first: it reads the root's tree.
  std::unique_ptr<AccessBridge> access_;
  std::unique_ptr<automation::Server> automation_;
  struct Watchers {
    QSocketNotifier* read = nullptr;
    QSocketNotifier* write = nullptr;
  };
  std::map<std::uint64_t, Watchers> watchers_;
  bool serving_ = false;
};

}  // namespace vask_ui::qt
