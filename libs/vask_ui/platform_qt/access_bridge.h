#pragma once

#include <QAccessible>
#include <QTimer>
#include <QWindow>
#include <map>
#include <vector>

#include "vask_ui/widget.h"

namespace vask_ui::qt {

/// Publishes a window's accessibility tree (its root widget's AccessNode tree, taken as data
/// after every frame) through Qt's accessibility interfaces, and so over AT-SPI to screen
/// readers. Nodes are addressed by their path of child indices; an interface whose path no
/// longer exists after a refresh is withdrawn.
class AccessBridge {
 public:
  AccessBridge(QWindow& window, Widget& root);
  ~AccessBridge();
  AccessBridge(const AccessBridge&) = delete;
  AccessBridge& operator=(const AccessBridge&) = delete;

  /// After every frame: the tree may have changed. The snapshot is retaken when someone asks
  /// and, while assistive technology listens, at most every 100 ms to report changes; a
  /// folder of many thousands of rows is not walked at animation speed.
  void frame_drawn();
  /// Takes a fresh snapshot and tells assistive technology what changed (focus, names,
  /// values, dialogs asking for focus).
  void refresh();
  /// The interface of the window itself (the root node).
  QAccessibleInterface* window_interface() const;

  // Used by the node interfaces.
  using NodePath = std::vector<int>;
  const AccessNode& root_node() const { return snapshot_; }
  const AccessNode* node_at(const NodePath& path) const;
  QAccessibleInterface* interface_for(const NodePath& path);
  /// Runs a node's action through the widget tree; returns whether a widget took it.
  bool perform(const AccessNode& node, const char* action);
  QWindow& window() const { return window_; }
  Rect to_screen(Rect bounds) const;

 private:
  void withdraw_stale();
  void notify(const NodePath& path, QAccessible::Event event);
  /// Retakes the snapshot when a frame changed it; never withdraws interfaces, because it runs
  /// inside calls on them.
  void ensure_fresh() const;

  QWindow& window_;
  Widget& root_;
  mutable AccessNode snapshot_;
  mutable bool stale_ = false;
  // What assistive technology was last told, to report only changes.
  std::optional<AccessNode> reported_focus_node_;
  std::size_t reported_children_ = 0;
  QTimer refresh_timer_;
  std::map<NodePath, QAccessible::Id> interfaces_;
  std::optional<NodePath> focused_;
};

/// Maps a node's role and states to Qt's (exposed for tests of the bridge).
QAccessible::Role to_qt_role(AccessRole role);
QAccessible::State to_qt_state(const AccessNode& node);

}  // namespace vask_ui::qt
