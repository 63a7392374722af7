#include "access_bridge.h"

#include <QAccessibleActionInterface>
#include <QGuiApplication>

#include "qt_support.h"

namespace vask_ui::qt {
namespace {

std::map<const QObject*, AccessBridge*>& bridges() {
  static std::map<const QObject*, AccessBridge*> map;
  return map;
}

QRect to_rect(Rect r) {
  return QRect(static_cast<int>(r.x0), static_cast<int>(r.y0), static_cast<int>(r.width()),
               static_cast<int>(r.height()));
}

QString action_name(const char* action) {
  if (std::string_view(action) == access_action::show_menu) {
    return QAccessibleActionInterface::showMenuAction();
  }
  return QAccessibleActionInterface::pressAction();
}

/// Behaviour shared by the window and its nodes: everything is read from the node.
class NodeAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
 public:
  NodeAccessible(AccessBridge& bridge, AccessBridge::NodePath path)
      : bridge_(bridge), path_(std::move(path)) {}

  bool isValid() const override { return node() != nullptr; }
  QObject* object() const override { return nullptr; }
  QWindow* window() const override { return &bridge_.window(); }

  QAccessibleInterface* parent() const override {
    if (path_.empty()) return QAccessible::queryAccessibleInterface(qApp);
    AccessBridge::NodePath up(path_.begin(), path_.end() - 1);
    return up.empty() ? bridge_.window_interface() : bridge_.interface_for(up);
  }
  QAccessibleInterface* child(int index) const override {
    const AccessNode* n = node();
    if (n == nullptr || index < 0 || index >= static_cast<int>(n->children.size())) return nullptr;
    AccessBridge::NodePath down = path_;
    down.push_back(index);
    return bridge_.interface_for(down);
  }
  int childCount() const override {
    const AccessNode* n = node();
    return n == nullptr ? 0 : static_cast<int>(n->children.size());
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    for (int i = 0; i < childCount(); ++i) {
      if (this->child(i) == child) return i;
    }
    return -1;
  }
  QAccessibleInterface* childAt(int x, int y) const override {
    for (int i = childCount() - 1; i >= 0; --i) {
      QAccessibleInterface* c = child(i);
      if (c != nullptr && c->rect().contains(x, y)) return c;
    }
    return nullptr;
  }
  QAccessibleInterface* focusChild() const override {
    for (int i = 0; i < childCount(); ++i) {
      QAccessibleInterface* c = child(i);
      if (c == nullptr) continue;
      if (c->state().focused) return c;
      if (QAccessibleInterface* deeper = c->focusChild()) return deeper;
    }
    return nullptr;
  }

  QString text(QAccessible::Text t) const override {
    const AccessNode* n = node();
    if (n == nullptr) return {};
    switch (t) {
      case QAccessible::Name:
        return to_qt(n->name);
      case QAccessible::Description:
        return to_qt(n->description);
      case QAccessible::Value:
        return to_qt(n->value);
      default:
        return {};
    }
  }
  void setText(QAccessible::Text, const QString&) override {}
  QRect rect() const override {
    const AccessNode* n = node();
    return n == nullptr ? QRect() : to_rect(bridge_.to_screen(n->bounds));
  }
  QAccessible::Role role() const override {
    const AccessNode* n = node();
    return n == nullptr ? QAccessible::NoRole : to_qt_role(n->role);
  }
  QAccessible::State state() const override {
    const AccessNode* n = node();
    if (n == nullptr) {
      QAccessible::State gone;
      gone.invalid = true;
      return gone;
    }
    return to_qt_state(*n);
  }

  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::ActionInterface) return static_cast<QAccessibleActionInterface*>(this);
    return nullptr;
  }
  QStringList actionNames() const override {
    QStringList names;
    const AccessNode* n = node();
    if (n == nullptr) return names;
    if (n->default_action) names << QAccessibleActionInterface::pressAction();
    if (n->context_menu_action) names << QAccessibleActionInterface::showMenuAction();
    return names;
  }
  void doAction(const QString& name) override {
    const AccessNode* n = node();
    if (n == nullptr) return;
    if (name == action_name(access_action::press)) bridge_.perform(*n, access_action::press);
    if (name == action_name(access_action::show_menu)) {
      bridge_.perform(*n, access_action::show_menu);
    }
  }
  QStringList keyBindingsForAction(const QString&) const override { return {}; }

 protected:
  const AccessNode* node() const { return bridge_.node_at(path_); }

  AccessBridge& bridge_;
  AccessBridge::NodePath path_;
};

/// The window: the root node, bound to the QWindow so that Qt finds it from the application.
class WindowAccessible final : public NodeAccessible {
 public:
  explicit WindowAccessible(AccessBridge& bridge) : NodeAccessible(bridge, {}) {}
  QObject* object() const override { return &bridge_.window(); }
  QAccessible::Role role() const override { return QAccessible::Window; }
  QString text(QAccessible::Text t) const override {
    QString from_node = NodeAccessible::text(t);
    if (t == QAccessible::Name && from_node.isEmpty()) return bridge_.window().title();
    return from_node;
  }
  QRect rect() const override {
    QWindow& w = bridge_.window();
    return QRect(w.mapToGlobal(QPoint(0, 0)), w.size());
  }
};

QAccessibleInterface* window_factory(const QString&, QObject* object) {
  auto it = bridges().find(object);
  return it == bridges().end() ? nullptr : new WindowAccessible(*it->second);
}

std::optional<AccessBridge::NodePath> find_focus(const AccessNode& node,
                                                 AccessBridge::NodePath& at) {
  // The deepest focused node wins: a list and its focused row are both marked.
  for (std::size_t i = 0; i < node.children.size(); ++i) {
    at.push_back(static_cast<int>(i));
    if (auto deeper = find_focus(node.children[i], at)) return deeper;
    if (node.children[i].states.focused || node.children[i].requests_focus) return at;
    at.pop_back();
  }
  return std::nullopt;
}

}  // namespace

QAccessible::Role to_qt_role(AccessRole role) {
  switch (role) {
    case AccessRole::Window:
      return QAccessible::Window;
    case AccessRole::Group:
      return QAccessible::Grouping;
    case AccessRole::Pane:
      return QAccessible::Pane;
    case AccessRole::List:
      return QAccessible::List;
    case AccessRole::ListItem:
      return QAccessible::ListItem;
    case AccessRole::Table:
      return QAccessible::Table;
    case AccessRole::Row:
      return QAccessible::Row;
    case AccessRole::Cell:
      return QAccessible::Cell;
    case AccessRole::Tree:
      return QAccessible::Tree;
    case AccessRole::TreeItem:
      return QAccessible::TreeItem;
    case AccessRole::Button:
      return QAccessible::Button;
    case AccessRole::ToggleButton:
      return QAccessible::CheckBox;
    case AccessRole::TextInput:
      return QAccessible::EditableText;
    case AccessRole::StaticText:
      return QAccessible::StaticText;
    case AccessRole::Image:
      return QAccessible::Graphic;
    case AccessRole::Menu:
      return QAccessible::PopupMenu;
    case AccessRole::MenuItem:
      return QAccessible::MenuItem;
    case AccessRole::Dialog:
      return QAccessible::Dialog;
    case AccessRole::Alert:
      return QAccessible::AlertMessage;
    case AccessRole::Status:
      return QAccessible::StatusBar;
    case AccessRole::ProgressIndicator:
      return QAccessible::ProgressBar;
    case AccessRole::Toolbar:
      return QAccessible::ToolBar;
    case AccessRole::Navigation:
      return QAccessible::Pane;
    case AccessRole::Link:
      return QAccessible::Link;
    case AccessRole::Heading:
      return QAccessible::Heading;
    case AccessRole::ScrollBar:
      return QAccessible::ScrollBar;
    case AccessRole::Separator:
      return QAccessible::Separator;
    case AccessRole::RadioButton:
      return QAccessible::RadioButton;
    case AccessRole::ComboBox:
      return QAccessible::ComboBox;
  }
  return QAccessible::NoRole;
}

QAccessible::State to_qt_state(const AccessNode& node) {
  QAccessible::State s;
  const AccessStates& st = node.states;
  switch (node.role) {
    case AccessRole::Button:
    case AccessRole::ToggleButton:
    case AccessRole::RadioButton:
    case AccessRole::TextInput:
    case AccessRole::ComboBox:
    case AccessRole::List:
    case AccessRole::Link:
      s.focusable = !st.disabled;
      break;
    case AccessRole::ListItem:
    case AccessRole::Row:
    case AccessRole::Cell:
    case AccessRole::TreeItem:
    case AccessRole::MenuItem:
      s.selectable = !st.disabled;
      s.focusable = !st.disabled;
      break;
    default:
      break;
  }
  if (node.role == AccessRole::TextInput || node.role == AccessRole::ComboBox) s.editable = true;
  if (node.role == AccessRole::ToggleButton || node.role == AccessRole::RadioButton) {
    s.checkable = true;
  }
  s.focused = st.focused;
  s.selected = st.selected;
  s.disabled = st.disabled;
  s.checked = st.checked;
  if (st.checked) s.checkable = true;
  s.expanded = st.expanded;
  if (node.role == AccessRole::ComboBox || node.role == AccessRole::Navigation) {
    s.expandable = true;
    s.collapsed = !st.expanded;
    s.hasPopup = node.role == AccessRole::ComboBox;
  }
  s.modal = node.role == AccessRole::Dialog;
  if (node.bounds.is_empty()) s.invisible = true;
  return s;
}

AccessBridge::AccessBridge(QWindow& window, Widget& root) : window_(window), root_(root) {
  static const bool installed = [] {
    QAccessible::installFactory(&window_factory);
    return true;
  }();
  (void)installed;
  bridges()[&window_] = this;
  snapshot_ = root_.accessibility();
  refresh_timer_.setSingleShot(true);
  refresh_timer_.setInterval(100);
  QObject::connect(&refresh_timer_, &QTimer::timeout, [this] { refresh(); });
}

AccessBridge::~AccessBridge() {
  for (auto& [path, id] : interfaces_)
    QAccessible::deleteAccessibleInterface(id);
  bridges().erase(&window_);
  // Qt keeps the window's interface until the window goes; it must not outlive the bridge.
  if (QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&window_)) {
    QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(iface));
  }
}

void AccessBridge::frame_drawn() {
  stale_ = true;
  if (QAccessible::isActive() && !refresh_timer_.isActive()) refresh_timer_.start();
}

QAccessibleInterface* AccessBridge::window_interface() const {
  return QAccessible::queryAccessibleInterface(&window_);
}

const AccessNode* AccessBridge::node_at(const NodePath& path) const {
  ensure_fresh();
  const AccessNode* node = &snapshot_;
  for (int index : path) {
    if (index < 0 || index >= static_cast<int>(node->children.size())) return nullptr;
    node = &node->children[static_cast<std::size_t>(index)];
  }
  return node;
}

QAccessibleInterface* AccessBridge::interface_for(const NodePath& path) {
  if (path.empty()) return window_interface();
  if (node_at(path) == nullptr) return nullptr;
  if (auto it = interfaces_.find(path); it != interfaces_.end()) {
    return QAccessible::accessibleInterface(it->second);
  }
  auto* iface = new NodeAccessible(*this, path);
  QAccessible::Id id = QAccessible::registerAccessibleInterface(iface);
  interfaces_.emplace(path, id);
  return iface;
}

bool AccessBridge::perform(const AccessNode& node, const char* action) {
  const std::optional<std::string>& id = std::string_view(action) == access_action::show_menu
                                             ? node.context_menu_action
                                             : node.default_action;
  if (!id) return false;
  bool done = root_.perform_semantic_action(SemanticAction{action, *id});
  if (done) window_.requestUpdate();
  return done;
}

Rect AccessBridge::to_screen(Rect bounds) const {
  QPoint origin = window_.mapToGlobal(QPoint(0, 0));
  return bounds.translated(static_cast<float>(origin.x()), static_cast<float>(origin.y()));
}

void AccessBridge::withdraw_stale() {
  for (auto it = interfaces_.begin(); it != interfaces_.end();) {
    if (node_at(it->first) != nullptr) {
      ++it;
      continue;
    }
    QAccessible::deleteAccessibleInterface(it->second);
    it = interfaces_.erase(it);
  }
}

void AccessBridge::notify(const NodePath& path, QAccessible::Event event) {
  QAccessibleInterface* iface = interface_for(path);
  if (iface == nullptr) return;
  // Value and state changes have event classes of their own; Qt refuses the plain one.
  if (event == QAccessible::ValueChanged) {
    QAccessibleValueChangeEvent e(iface, iface->text(QAccessible::Value));
    QAccessible::updateAccessibility(&e);
  } else if (event == QAccessible::StateChanged) {
    QAccessible::State changed;
    changed.focused = changed.selected = changed.checked = changed.disabled = changed.expanded =
        true;
    QAccessibleStateChangeEvent e(iface, changed);
    QAccessible::updateAccessibility(&e);
  } else {
    QAccessibleEvent e(iface, event);
    QAccessible::updateAccessibility(&e);
  }
}

void AccessBridge::ensure_fresh() const {
  if (!stale_) return;
  stale_ = false;
  snapshot_ = root_.accessibility();
}

void AccessBridge::refresh() {
  stale_ = true;
  ensure_fresh();
  withdraw_stale();
  NodePath at;
  std::optional<NodePath> focused = find_focus(snapshot_, at);
  std::optional<AccessNode> focus_node;
  if (focused) {
    focus_node = *node_at(*focused);
    focus_node->children.clear();
  }
  if (QAccessible::isActive()) {
    if (focused != focused_) {
      if (focused) notify(*focused, QAccessible::Focus);
    } else if (focused && reported_focus_node_) {
      // The same node kept focus: say so when what it reads out changed.
      if (focus_node->name != reported_focus_node_->name)
        notify(*focused, QAccessible::NameChanged);
      if (focus_node->value != reported_focus_node_->value)
        notify(*focused, QAccessible::ValueChanged);
      if (focus_node->states != reported_focus_node_->states) {
        notify(*focused, QAccessible::StateChanged);
      }
    }
    if (snapshot_.children.size() != reported_children_) notify({}, QAccessible::ObjectReorder);
  }
  focused_ = focused;
  reported_focus_node_ = std::move(focus_node);
  reported_children_ = snapshot_.children.size();
}

}  // namespace vask_ui::qt
