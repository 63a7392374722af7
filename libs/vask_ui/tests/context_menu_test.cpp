#include <gtest/gtest.h>

#include "vask_ui/widgets/context_menu.h"
#include "widget_test_support.h"

namespace vask_ui {
namespace {

using namespace vask_ui::testing;

const Rect kWindow{0, 0, 800, 600};

/// Open, separator, Rename, an inactive entry, Show Hidden (ticked).
class ContextMenuTest : public ::testing::Test {
 protected:
  void SetUp() override {
    menu.sync(FrameContext{Clock::now(), kWindow.size(), 1, &Theme::light()});
    menu.push("Open", 10);
    menu.push_separator();
    menu.push("Rename", 20);
    menu.push("Pinned by parent", std::nullopt);
    menu.push("Show Hidden Files", 30, CheckState::Ticked);
    menu.open_at({100, 100}, kWindow);
  }
  EventResult send(const Event& e) { return menu.handle_event(e); }
  Point centre(std::size_t index) const { return menu.item_rect(index).center(); }

  ContextMenu<int> menu;
};

TEST_F(ContextMenuTest, EntriesKeepTheirKinds) {
  ASSERT_EQ(menu.size(), 5u);
  EXPECT_TRUE(menu.entry(1).is_separator());
  EXPECT_FALSE(menu.entry(3).is_active());
  EXPECT_FALSE(menu.entry(3).is_separator());
  EXPECT_EQ(menu.entry(4).check, CheckState::Ticked);
  EXPECT_EQ(menu.command(2), 20);
}

TEST_F(ContextMenuTest, OpensAtTheAnchorAndItemAtFindsEntries) {
  EXPECT_TRUE(menu.is_open());
  EXPECT_EQ(menu.rect().origin(), (Point{100, 100}));
  EXPECT_EQ(menu.item_at(centre(2)), 2u);
  EXPECT_EQ(menu.item_at(centre(1)), 1u);
  EXPECT_FALSE(menu.item_at({50, 50}).has_value());
}

TEST_F(ContextMenuTest, StaysInsideTheWindowNearItsEdges) {
  for (Point anchor : {Point{790, 100}, Point{100, 590}, Point{799, 599}, Point{-20, -20}}) {
    menu.open_at(anchor, kWindow);
    Rect r = menu.rect();
    EXPECT_GE(r.x0, kWindow.x0) << anchor.x << "," << anchor.y;
    EXPECT_GE(r.y0, kWindow.y0) << anchor.x << "," << anchor.y;
    EXPECT_LE(r.x1, kWindow.x1) << anchor.x << "," << anchor.y;
    EXPECT_LE(r.y1, kWindow.y1) << anchor.x << "," << anchor.y;
  }
  // Near the right edge it opens towards the left of the pointer, not under it.
  menu.open_at({790, 100}, kWindow);
  EXPECT_LE(menu.rect().x1, 790);
}

TEST_F(ContextMenuTest, KeyboardSkipsSeparatorsAndInactiveEntriesAndWraps) {
  send(key(Key::Down));
  EXPECT_EQ(menu.highlighted(), 0u);
  send(key(Key::Down));
  EXPECT_EQ(menu.highlighted(), 2u);
  send(key(Key::Down));
  EXPECT_EQ(menu.highlighted(), 4u);
  send(key(Key::Down));
  EXPECT_EQ(menu.highlighted(), 0u);
  send(key(Key::Up));
  EXPECT_EQ(menu.highlighted(), 4u);
  send(key(Key::Home));
  EXPECT_EQ(menu.highlighted(), 0u);
  send(chord("r", {}));
  EXPECT_EQ(menu.highlighted(), 2u);
  EXPECT_EQ(send(key(Key::Enter)), EventResult::Handled);
  EXPECT_FALSE(menu.is_open());
  EXPECT_EQ(menu.take_chosen(), 20);
  EXPECT_FALSE(menu.take_chosen().has_value());
}

TEST_F(ContextMenuTest, EscapeClosesWithoutAChoice) {
  send(key(Key::Down));
  send(key(Key::Escape));
  EXPECT_FALSE(menu.is_open());
  EXPECT_FALSE(menu.take_chosen().has_value());
  // A closed menu takes nothing.
  EXPECT_EQ(send(key(Key::Down)), EventResult::Ignored);
}

TEST_F(ContextMenuTest, PointerChoosesOnReleaseOverAnEntry) {
  // The release of the click that opened the menu lands on its corner and chooses nothing.
  send(release(100, 100, PointerButton::Secondary));
  EXPECT_TRUE(menu.is_open());
  send(move(centre(2).x, centre(2).y));
  EXPECT_EQ(menu.highlighted(), 2u);
  send(press(centre(2).x, centre(2).y));
  send(release(centre(2).x, centre(2).y));
  EXPECT_FALSE(menu.is_open());
  EXPECT_EQ(menu.take_chosen(), 20);
}

TEST_F(ContextMenuTest, PressDragReleaseChooses) {
  send(move(centre(4).x, centre(4).y));
  send(release(centre(4).x, centre(4).y, PointerButton::Secondary));
  EXPECT_EQ(menu.take_chosen(), 30);
}

TEST_F(ContextMenuTest, InactiveEntriesAndSeparatorsDoNothing) {
  for (std::size_t index : {1u, 3u}) {
    send(move(centre(index).x, centre(index).y));
    EXPECT_FALSE(menu.highlighted().has_value());
    send(press(centre(index).x, centre(index).y));
    send(release(centre(index).x, centre(index).y));
    EXPECT_TRUE(menu.is_open());
  }
  EXPECT_FALSE(menu.take_chosen().has_value());
}

TEST_F(ContextMenuTest, APressOutsideClosesAndIsConsumed) {
  EXPECT_EQ(send(press(700, 500)), EventResult::Handled);
  EXPECT_FALSE(menu.is_open());
  EXPECT_FALSE(menu.take_chosen().has_value());
}

TEST_F(ContextMenuTest, ASubmenuOpensBesideItsEntry) {
  ContextMenu<int> sub;
  sub.push("Text file", 1);
  sub.push("Spreadsheet", 2);
  Rect entry = menu.item_rect(2);
  sub.open_beside(entry, kWindow);
  EXPECT_GE(sub.rect().x0, entry.x1);
  EXPECT_EQ(sub.item_rect(0).y0, entry.y0);
  // Without room on the right it opens on the left.
  menu.open_at({700, 100}, kWindow);
  entry = menu.item_rect(2);
  sub.open_beside(entry, kWindow);
  EXPECT_LE(sub.rect().x1, entry.x0);
}

TEST_F(ContextMenuTest, ALongMenuScrollsToTheHighlight) {
  ContextMenu<int> tall;
  for (int i = 0; i < 60; ++i)
    tall.push("Entry " + std::to_string(i), i);
  tall.open_at({10, 10}, Rect{0, 0, 400, 400});
  EXPECT_LE(tall.rect().y1, 400);
  tall.handle_event(key(Key::End));
  EXPECT_EQ(tall.highlighted(), 59u);
  Rect last = tall.item_rect(59);
  EXPECT_GE(last.y0, tall.rect().y0);
  EXPECT_LE(last.y1, tall.rect().y1);
  EXPECT_EQ(tall.item_at(last.center()), 59u);
}

TEST_F(ContextMenuTest, AccessibilityDescribesEntries) {
  send(key(Key::Down));
  AccessNode node = menu.accessibility();
  EXPECT_EQ(node.role, AccessRole::Menu);
  ASSERT_EQ(node.children.size(), 5u);
  EXPECT_EQ(node.children[1].role, AccessRole::Separator);
  const AccessNode& rename = node.children[2];
  EXPECT_EQ(rename.name, "Rename");
  EXPECT_EQ(rename.position_in_set, 2);
  EXPECT_EQ(rename.set_size, 4);
  EXPECT_TRUE(node.children[3].states.disabled);
  EXPECT_TRUE(node.children[4].states.checked);
  EXPECT_TRUE(node.children[0].states.focused);
  ASSERT_TRUE(rename.default_action.has_value());
  EXPECT_TRUE(menu.perform_semantic_action({access_action::press, *rename.default_action}));
  EXPECT_EQ(menu.take_chosen(), 20);
}

TEST_F(ContextMenuTest, ClearForgetsEntriesAndCommands) {
  menu.clear();
  EXPECT_EQ(menu.size(), 0u);
  EXPECT_FALSE(menu.is_open());
  menu.push("Only", 5);
  menu.open_at({0, 0}, kWindow);
  menu.highlight_first();
  menu.handle_event(key(Key::Enter));
  EXPECT_EQ(menu.take_chosen(), 5);
}

}  // namespace
}  // namespace vask_ui
