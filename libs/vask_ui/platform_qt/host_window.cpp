#include "host_window.h"

#include <QCursor>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <chrono>

#include "qt_canvas.h"
#include "qt_support.h"
#include "vask_ui/frame.h"

namespace vask_ui::qt {
namespace {

Modifiers to_modifiers(Qt::KeyboardModifiers m) {
  return Modifiers{.shift = m.testFlag(Qt::ShiftModifier),
                   .primary = m.testFlag(Qt::ControlModifier) || m.testFlag(Qt::MetaModifier),
                   .alt = m.testFlag(Qt::AltModifier)};
}

std::optional<PointerButton> to_button(Qt::MouseButton b) {
  switch (b) {
    case Qt::LeftButton:
      return PointerButton::Primary;
    case Qt::RightButton:
      return PointerButton::Secondary;
    case Qt::MiddleButton:
      return PointerButton::Middle;
    default:
      return std::nullopt;
  }
}

Key to_key(int key) {
  switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return Key::Enter;
    case Qt::Key_Escape:
      return Key::Escape;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return Key::Tab;
    case Qt::Key_Backspace:
      return Key::Backspace;
    case Qt::Key_Delete:
      return Key::Delete;
    case Qt::Key_Space:
      return Key::Space;
    case Qt::Key_Left:
      return Key::Left;
    case Qt::Key_Right:
      return Key::Right;
    case Qt::Key_Up:
      return Key::Up;
    case Qt::Key_Down:
      return Key::Down;
    case Qt::Key_Home:
      return Key::Home;
    case Qt::Key_End:
      return Key::End;
    case Qt::Key_PageUp:
      return Key::PageUp;
    case Qt::Key_PageDown:
      return Key::PageDown;
    case Qt::Key_Insert:
      return Key::Insert;
    case Qt::Key_Menu:
      return Key::Menu;
    default:
      break;
  }
  if (key >= Qt::Key_F1 && key <= Qt::Key_F12) {
    return static_cast<Key>(static_cast<int>(Key::F1) + (key - Qt::Key_F1));
  }
  return Key::Other;
}

/// The key's character without modifiers: Ctrl+A arrives as "\x01" from Qt, but shortcuts want
/// "a"; letters are reported lower-case as the unshifted key.
std::string key_text(const QKeyEvent* event) {
  int key = event->key();
  if (key >= Qt::Key_A && key <= Qt::Key_Z) {
    char c = static_cast<char>('a' + (key - Qt::Key_A));
    if (event->modifiers().testFlag(Qt::ShiftModifier) &&
        !event->modifiers().testFlag(Qt::ControlModifier)) {
      c = static_cast<char>(c - 'a' + 'A');
    }
    return std::string(1, c);
  }
  QString text = event->text();
  if (!text.isEmpty() && text.at(0).isPrint()) return text.toStdString();
  if (key >= 0x20 && key < 0x7F) return std::string(1, static_cast<char>(key));
  return {};
}

Point position_of(const QSinglePointEvent* event) {
  QPointF p = event->position();
  return {static_cast<float>(p.x()), static_cast<float>(p.y())};
}

Qt::CursorShape to_cursor(CursorShape shape) {
  switch (shape) {
    case CursorShape::Arrow:
      return Qt::ArrowCursor;
    case CursorShape::Pointer:
      return Qt::PointingHandCursor;
    case CursorShape::Text:
      return Qt::IBeamCursor;
    case CursorShape::Grab:
      return Qt::OpenHandCursor;
    case CursorShape::Grabbing:
      return Qt::ClosedHandCursor;
    case CursorShape::ResizeHorizontal:
      return Qt::SizeHorCursor;
    case CursorShape::Busy:
      return Qt::BusyCursor;
  }
  return Qt::ArrowCursor;
}

// Results of worker threads are picked up at this pace even without input.
constexpr int kPollIntervalMs = 50;

}  // namespace

HostWindow::HostWindow(std::unique_ptr<Widget> root, const Theme& theme)
    : root_(std::move(root)), theme_(theme) {
  poll_timer_.setInterval(kPollIntervalMs);
  QObject::connect(&poll_timer_, &QTimer::timeout, [this] {
    root_->poll_background();
    schedule();
  });
  poll_timer_.start();
  wake_timer_.setSingleShot(true);
  QObject::connect(&wake_timer_, &QTimer::timeout, [this] { update(); });
  access_ = std::make_unique<AccessBridge>(*this, *root_);
}

QAccessibleInterface* HostWindow::accessibleRoot() const {
  return access_ ? access_->window_interface() : nullptr;
}

HostWindow::~HostWindow() {
  for (auto& [serial, watchers] : watchers_) {
    delete watchers.read;
    delete watchers.write;
  }
  watchers_.clear();
  automation_.reset();
}

FrameContext HostWindow::frame_context() const {
  return FrameContext{Clock::now(), Size{static_cast<float>(width()), static_cast<float>(height())},
                      static_cast<float>(devicePixelRatio()), &theme_};
}

void HostWindow::paintEvent(QPaintEvent*) {
  FrameContext context = frame_context();
  frame::sync_and_layout(*root_, context);
  QPainter painter(this);
  QtCanvas canvas(painter, context.scale_factor);
  frame::draw(*root_, canvas, context);
  painter.end();
  access_->frame_drawn();
  if (root_->needs_animation_frame()) requestUpdate();
  schedule();
}

bool HostWindow::event(QEvent* event) {
  switch (event->type()) {
    case QEvent::InputMethodQuery: {
      auto* query = static_cast<QInputMethodQueryEvent*>(event);
      // Input methods engage only while a text field has focus, next to its caret.
      std::optional<Rect> caret = root_->input_caret_rect();
      if (query->queries().testFlag(Qt::ImEnabled)) {
        query->setValue(Qt::ImEnabled, caret.has_value());
      }
      if (caret && query->queries().testFlag(Qt::ImCursorRectangle)) {
        query->setValue(Qt::ImCursorRectangle, to_qt(*caret).toRect());
      }
      query->accept();
      return true;
    }
    case QEvent::InputMethod: {
      auto* im = static_cast<QInputMethodEvent*>(event);
      if (!im->commitString().isEmpty()) deliver(TextCommit{im->commitString().toStdString()});
      int cursor = 0;
      for (const QInputMethodEvent::Attribute& a : im->attributes()) {
        if (a.type == QInputMethodEvent::Cursor) cursor = a.start;
      }
      // Qt counts the cursor in UTF-16 units; the widgets count UTF-8 bytes.
      QString preedit = im->preeditString();
      qsizetype units = std::clamp<qsizetype>(cursor, 0, preedit.size());
      int bytes = static_cast<int>(preedit.left(units).toUtf8().size());
      deliver(Preedit{preedit.toStdString(), bytes});
      return true;
    }
    case QEvent::Leave:
      deliver(PointerLeave{});
      break;
    default:
      break;
  }
  return QRasterWindow::event(event);
}

void HostWindow::mouseMoveEvent(QMouseEvent* event) {
  Point p = position_of(event);
  deliver(PointerMove{p, to_modifiers(event->modifiers())});
  update_cursor(p);
}

void HostWindow::mousePressEvent(QMouseEvent* event) {
  if (auto button = to_button(event->button())) {
    deliver(PointerPress{position_of(event), *button, to_modifiers(event->modifiers())});
  }
}

void HostWindow::mouseDoubleClickEvent(QMouseEvent* event) {
  // Qt has already delivered the second press of a double click as an ordinary press, and
  // widgets count clicks themselves against the platform's interval: passing this one on too
  // would press twice.
  event->accept();
}

void HostWindow::mouseReleaseEvent(QMouseEvent* event) {
  if (auto button = to_button(event->button())) {
    deliver(PointerRelease{position_of(event), *button, to_modifiers(event->modifiers())});
  }
}

void HostWindow::wheelEvent(QWheelEvent* event) {
  Wheel wheel;
  QPointF p = event->position();
  wheel.position = {static_cast<float>(p.x()), static_cast<float>(p.y())};
  wheel.modifiers = to_modifiers(event->modifiers());
  if (!event->pixelDelta().isNull()) {
    wheel.unit = WheelUnit::Pixels;
    wheel.dx = static_cast<float>(event->pixelDelta().x());
    wheel.dy = static_cast<float>(event->pixelDelta().y());
  } else {
    wheel.unit = WheelUnit::Lines;
    // One notch is 120 eighths of a degree, which we count as 3 lines like most desktops.
    wheel.dx = static_cast<float>(event->angleDelta().x()) / 40.0f;
    wheel.dy = static_cast<float>(event->angleDelta().y()) / 40.0f;
  }
  deliver(wheel);
}

void HostWindow::keyPressEvent(QKeyEvent* event) {
  KeyPress press;
  press.key = to_key(event->key());
  press.text = key_text(event);
  if (press.key == Key::Other && !press.text.empty()) press.key = Key::Character;
  press.modifiers = to_modifiers(event->modifiers());
  press.repeat = event->isAutoRepeat();
  QString typed = event->text();
  deliver_key(press, !typed.isEmpty() && typed.at(0).isPrint() ? typed.toStdString() : "");
}

EventResult HostWindow::deliver_key(const KeyPress& press, const std::string& typed) {
  EventResult result = root_->handle_event(press);
  // Printable text that no key binding took is typed text.
  // A focused text field takes the key and then its text, whatever the key press answered.
  if ((result == EventResult::Ignored || root_->input_caret_rect()) &&
      press.key == Key::Character && !press.modifiers.primary && !typed.empty()) {
    root_->handle_event(TextCommit{typed});
  }
  update();
  schedule();
  return result;
}

void HostWindow::keyReleaseEvent(QKeyEvent* event) {
  KeyRelease release{to_key(event->key()), key_text(event), to_modifiers(event->modifiers())};
  deliver(release);
}

void HostWindow::focusInEvent(QFocusEvent*) {
  root_->focus_changed(true);
  update();
}
void HostWindow::focusOutEvent(QFocusEvent*) {
  root_->focus_changed(false);
  update();
}

EventResult HostWindow::deliver(const Event& event) {
  EventResult result = root_->handle_event(event);
  if (result == EventResult::Handled) update();
  schedule();
  return result;
}

void HostWindow::schedule() {
  if (root_->needs_redraw() || root_->needs_animation_frame()) update();
  if (auto deadline = root_->next_wake_deadline()) {
    auto delay = std::chrono::duration_cast<std::chrono::milliseconds>(*deadline - Clock::now());
    wake_timer_.start(static_cast<int>(std::max<long long>(0, delay.count())));
  } else {
    wake_timer_.stop();
  }
}

void HostWindow::update_cursor(Point position) {
  setCursor(QCursor(to_cursor(root_->cursor_shape(position))));
}

void HostWindow::attach_automation(std::unique_ptr<automation::Server> server) {
  automation_ = std::move(server);
  watch_automation();
}

Widget& HostWindow::settled_root() {
  // Input and workers change state between frames; a client reads what the next frame shows.
  frame::sync_and_layout(*root_, frame_context());
  return *root_;
}

EventResult HostWindow::deliver_input(const Event& event) {
  if (const auto* press = std::get_if<KeyPress>(&event)) {
    return deliver_key(*press, press->key == Key::Character ? press->text : std::string());
  }
  EventResult result = deliver(event);
  if (const auto* move = std::get_if<PointerMove>(&event)) update_cursor(move->position);
  return result;
}

void HostWindow::serve_automation() {
  // A widget that runs a nested event loop from inside a request must not re-enter the server.
  if (!automation_ || serving_) return;
  serving_ = true;
  std::size_t answered = automation_->serve(*this);
  serving_ = false;
  if (answered > 0) {
    update();
    schedule();
  }
  watch_automation();
  if (automation_->has_backlog()) {
    QTimer::singleShot(0, this, [this] { serve_automation(); });
  }
}

void HostWindow::watch_automation() {
  auto watches = automation_->watches();
  // Notifiers of departed clients go first, so a reused descriptor number never has two.
  for (auto it = watchers_.begin(); it != watchers_.end();) {
    bool alive = std::any_of(watches.begin(), watches.end(),
                             [&](const auto& w) { return w.serial == it->first; });
    if (alive) {
      ++it;
      continue;
    }
    // This may run inside the notifier's own signal, so it is deleted later.
    for (QSocketNotifier* notifier : {it->second.read, it->second.write}) {
      notifier->setEnabled(false);
      notifier->deleteLater();
    }
    it = watchers_.erase(it);
  }
  for (const auto& watch : watches) {
    Watchers& watchers = watchers_[watch.serial];
    if (watchers.read == nullptr) {
      watchers.read = new QSocketNotifier(watch.fd, QSocketNotifier::Read, this);
      watchers.write = new QSocketNotifier(watch.fd, QSocketNotifier::Write, this);
      for (QSocketNotifier* notifier : {watchers.read, watchers.write}) {
        QObject::connect(notifier, &QSocketNotifier::activated, this,
                         [this] { serve_automation(); });
      }
    }
    watchers.read->setEnabled(watch.read);
    watchers.write->setEnabled(watch.write);
  }
}

}  // namespace vask_ui::qt
