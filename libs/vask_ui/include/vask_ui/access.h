#pragma once

#include <optional>
#include <string>
#include <vector>

#include "vask_ui/geometry.h"

/// The accessibility tree that widgets fill as data and the platform bridge exposes to
/// assistive technology.
namespace vask_ui {

enum class AccessRole {
  Window,
  Group,
  Pane,
  List,
  ListItem,
  Table,
  Row,
  Cell,
  Tree,
  TreeItem,
  Button,
  ToggleButton,
  TextInput,
  StaticText,
  Image,
  Menu,
  MenuItem,
  Dialog,
  Alert,
  Status,
  ProgressIndicator,
  Toolbar,
  Navigation,
  Link,
  Heading,
  ScrollBar,
  Separator,
  RadioButton,
  ComboBox,
};

/// The semantic actions the accessibility bridge performs on a node: `press` runs the node's
/// default action, `show_menu` its context-menu action. Widgets receive them through
/// `Widget::perform_semantic_action` with the node's action id as the target.
namespace access_action {
inline constexpr const char* press = "press";
inline constexpr const char* show_menu = "showMenu";
inline constexpr const char* focus = "setFocus";
}  // namespace access_action

struct AccessStates {
  bool focused = false;
  bool selected = false;
  bool current = false;
  bool error = false;
  bool disabled = false;
  bool checked = false;
  bool expanded = false;
  friend bool operator==(const AccessStates&, const AccessStates&) = default;
};

struct AccessNode {
  AccessRole role = AccessRole::Group;
  std::string name;
  std::string description;
  std::string value;
  Rect bounds;
  AccessStates states;
  /// 1-based position among siblings of the same kind, and how many there are (0 = unset).
  int position_in_set = 0;
  int set_size = 0;
  /// The ids of the actions that assistive technology can invoke on this node (for example
  /// "files-retry-folder"); the bridge hands them back as the target of a SemanticAction.
  std::optional<std::string> default_action;
  std::optional<std::string> context_menu_action;
  /// A dialog asks to receive focus when it appears.
  bool requests_focus = false;
  std::vector<AccessNode> children;
};

}  // namespace vask_ui
