// The accessibility bridge seen from Qt's side, as the AT-SPI adaptor sees it. Lives beside
// the backend because it speaks Qt.

#include <gtest/gtest.h>

#include <QAccessibleActionInterface>
#include <QGuiApplication>
#include <QWindow>

#include "access_bridge.h"
#include "host_window.h"
#include "qt_support.h"

namespace vask_ui::qt {
namespace {

/// A root widget whose tree the test sets, recording the actions performed on it.
class TreeWidget final : public Widget {
 public:
  LayoutNode build_layout(Size) override { return {}; }
  void apply_layout(const LayoutResult&) override {}
  void draw(Canvas&) override {}
  AccessNode accessibility() const override { return tree; }
  bool perform_semantic_action(const SemanticAction& action) override {
    performed.push_back(action);
    return true;
  }
  AccessNode tree;
  std::vector<SemanticAction> performed;
};

AccessNode folder_window() {
  AccessNode list{.role = AccessRole::List, .name = "Files", .bounds = {0, 40, 400, 300}};
  list.states.focused = true;
  for (const char* name : {"Documents", "notes.txt"}) {
    AccessNode row{.role = AccessRole::ListItem, .name = name, .description = "Folder"};
    row.bounds = Rect::from_xywh(0, 40 + 34 * static_cast<float>(list.children.size()), 400, 34);
    list.children.push_back(row);
  }
  list.children[1].states.selected = true;
  AccessNode retry{.role = AccessRole::Button, .name = "Try Again"};
  retry.bounds = {10, 5, 90, 37};
  retry.default_action = "files-retry-folder";
  retry.context_menu_action = "files-retry-menu";
  AccessNode root{.role = AccessRole::Window, .name = "Files activity"};
  root.description = "Current folder: /home/ada";
  root.value = "2 items";
  root.children = {retry, list};
  return root;
}

class AccessBridgeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ensure_application();
    root.tree = folder_window();
    window = std::make_unique<QWindow>();
    window->resize(400, 300);
    bridge = std::make_unique<AccessBridge>(*window, root);
  }
  void TearDown() override {
    bridge.reset();
    window.reset();
  }
  QAccessibleInterface* top() { return QAccessible::queryAccessibleInterface(window.get()); }

  TreeWidget root;
  std::unique_ptr<QWindow> window;
  std::unique_ptr<AccessBridge> bridge;
};

TEST_F(AccessBridgeTest, TheWindowCarriesTheRootNode) {
  QAccessibleInterface* iface = top();
  ASSERT_NE(iface, nullptr);
  EXPECT_EQ(iface, bridge->window_interface());
  EXPECT_EQ(iface->role(), QAccessible::Window);
  EXPECT_EQ(iface->text(QAccessible::Name), "Files activity");
  EXPECT_EQ(iface->text(QAccessible::Description), "Current folder: /home/ada");
  EXPECT_EQ(iface->text(QAccessible::Value), "2 items");
  EXPECT_EQ(iface->childCount(), 2);
  EXPECT_EQ(iface->object(), window.get());
}

TEST_F(AccessBridgeTest, NodesKeepTheirIdentityRolesAndStates) {
  QAccessibleInterface* list = top()->child(1);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list, top()->child(1));  // the same interface every time
  EXPECT_EQ(list->role(), QAccessible::List);
  EXPECT_TRUE(list->state().focused);
  EXPECT_EQ(list->parent(), top());
  EXPECT_EQ(top()->indexOfChild(list), 1);
  ASSERT_EQ(list->childCount(), 2);
  QAccessibleInterface* notes = list->child(1);
  EXPECT_EQ(notes->text(QAccessible::Name), "notes.txt");
  EXPECT_EQ(notes->role(), QAccessible::ListItem);
  EXPECT_TRUE(notes->state().selected);
  EXPECT_TRUE(notes->state().selectable);
  EXPECT_FALSE(list->child(0)->state().selected);
  EXPECT_EQ(top()->focusChild(), list);
}

TEST_F(AccessBridgeTest, GeometryIsOnScreenAndHitTestable) {
  QAccessibleInterface* list = top()->child(1);
  QRect r = list->child(1)->rect();
  QPoint origin = window->mapToGlobal(QPoint(0, 0));
  EXPECT_EQ(r, QRect(origin.x(), origin.y() + 74, 400, 34));
  QPoint inside = r.center();
  EXPECT_EQ(list->childAt(inside.x(), inside.y()), list->child(1));
}

TEST_F(AccessBridgeTest, ActionsReachTheWidgetTree) {
  QAccessibleInterface* button = top()->child(0);
  auto* actions = button->actionInterface();
  ASSERT_NE(actions, nullptr);
  EXPECT_EQ(actions->actionNames(), (QStringList{QAccessibleActionInterface::pressAction(),
                                                 QAccessibleActionInterface::showMenuAction()}));
  actions->doAction(QAccessibleActionInterface::pressAction());
  actions->doAction(QAccessibleActionInterface::showMenuAction());
  ASSERT_EQ(root.performed.size(), 2u);
  EXPECT_EQ(root.performed[0].action, access_action::press);
  EXPECT_EQ(root.performed[0].target, "files-retry-folder");
  EXPECT_EQ(root.performed[1].action, access_action::show_menu);
  EXPECT_EQ(root.performed[1].target, "files-retry-menu");
  EXPECT_TRUE(top()->child(1)->actionInterface()->actionNames().isEmpty());
}

TEST_F(AccessBridgeTest, ARefreshWithdrawsNodesThatAreGone) {
  QAccessibleInterface* notes = top()->child(1)->child(1);
  QAccessible::Id id = QAccessible::uniqueId(notes);
  root.tree.children[1].children.pop_back();
  bridge->frame_drawn();
  // Questions after a frame see the new tree at once; the vanished row reads as invalid
  // until the refresh withdraws it.
  EXPECT_EQ(top()->child(1)->childCount(), 1);
  EXPECT_FALSE(notes->isValid());
  bridge->refresh();
  EXPECT_EQ(QAccessible::accessibleInterface(id), nullptr);
  // A node that stays keeps its interface.
  QAccessibleInterface* documents = top()->child(1)->child(0);
  root.tree.children[1].children[0].name = "Documents (2)";
  bridge->refresh();
  EXPECT_EQ(top()->child(1)->child(0), documents);
  EXPECT_EQ(documents->text(QAccessible::Name), "Documents (2)");
}

TEST(HostWindowAccess, TheApplicationListsTheWindowWithItsTree) {
  ensure_application();
  auto widget = std::make_unique<TreeWidget>();
  widget->tree = folder_window();
  HostWindow window(std::move(widget), Theme::light());
  window.resize(400, 300);
  window.show();
  QAccessibleInterface* root = window.accessibleRoot();
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(root->text(QAccessible::Name), "Files activity");
  // The AT-SPI adaptor starts from the application and walks down to the window.
  QAccessibleInterface* app = QAccessible::queryAccessibleInterface(qApp);
  bool listed = false;
  for (int i = 0; i < app->childCount(); ++i)
    listed = listed || app->child(i) == root;
  EXPECT_TRUE(listed);
  EXPECT_EQ(root->child(1)->child(1)->text(QAccessible::Name), "notes.txt");
}

TEST(AccessRoles, EveryRoleHasAQtRoleAndStatesMap) {
  for (int r = 0; r <= static_cast<int>(AccessRole::ComboBox); ++r) {
    EXPECT_NE(to_qt_role(static_cast<AccessRole>(r)), QAccessible::NoRole) << r;
  }
  AccessNode toggle{.role = AccessRole::ToggleButton, .bounds = {0, 0, 10, 10}};
  toggle.states.checked = true;
  toggle.states.disabled = true;
  QAccessible::State s = to_qt_state(toggle);
  EXPECT_TRUE(s.checkable);
  EXPECT_TRUE(s.checked);
  EXPECT_TRUE(s.disabled);
  EXPECT_FALSE(s.focusable);
  AccessNode dialog{.role = AccessRole::Dialog, .bounds = {0, 0, 10, 10}};
  EXPECT_TRUE(to_qt_state(dialog).modal);
  AccessNode hidden{.role = AccessRole::Button};
  EXPECT_TRUE(to_qt_state(hidden).invisible);
}

}  // namespace
}  // namespace vask_ui::qt
