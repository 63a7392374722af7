#include <gtest/gtest.h>

#include "vask_ui/widgets/button.h"
#include "vask_ui/widgets/toggle_group.h"
#include "widget_test_support.h"

namespace vask_ui {
namespace {

using namespace vask_ui::testing;

class ButtonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    button.set_control_id("files.retry");
    button.set_on_activate([this] { ++clicks; });
    lay_out_in(button, {400, 300}, Rect{10, 10, 110, 42});
  }
  Button button{"Try Again"};
  int clicks = 0;
};

TEST_F(ButtonTest, AClickReleasedOverTheButtonActivatesIt) {
  button.handle_event(move(50, 20));
  EXPECT_TRUE(button.is_hovered());
  EXPECT_EQ(button.handle_event(press(50, 20)), EventResult::Handled);
  EXPECT_TRUE(button.is_pressed());
  button.handle_event(release(52, 22));
  EXPECT_EQ(clicks, 1);
  EXPECT_TRUE(button.take_activated());
  EXPECT_FALSE(button.take_activated());
  EXPECT_FALSE(button.is_pressed());
}

TEST_F(ButtonTest, ReleasingOutsideTakesTheClickBack) {
  button.handle_event(press(50, 20));
  button.handle_event(move(300, 200));
  button.handle_event(release(300, 200));
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(button.handle_event(press(300, 200)), EventResult::Ignored);
  EXPECT_EQ(button.handle_event(press(50, 20, PointerButton::Secondary)), EventResult::Ignored);
}

TEST_F(ButtonTest, EnterAndSpaceActivateAndRepeatsDoNot) {
  button.handle_event(key(Key::Enter));
  button.handle_event(key(Key::Space));
  KeyPress repeat{.key = Key::Enter, .repeat = true};
  button.handle_event(repeat);
  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(button.handle_event(key(Key::Escape)), EventResult::Ignored);
}

TEST_F(ButtonTest, ADisabledButtonDoesNothing) {
  button.set_enabled(false);
  EXPECT_EQ(button.handle_event(press(50, 20)), EventResult::Ignored);
  button.handle_event(release(50, 20));
  button.handle_event(key(Key::Enter));
  EXPECT_FALSE(button.take_control_invocation({"files.retry", "invoke", std::nullopt}));
  EXPECT_EQ(clicks, 0);
  EXPECT_FALSE(button.accepts_focus());
  EXPECT_TRUE(button.accessibility().states.disabled);
  ASSERT_EQ(button.resources().size(), 1u);
  EXPECT_FALSE(button.resources()[0].enabled);
}

TEST_F(ButtonTest, PublishesItsControlAndTakesInvocationsByIdOnly) {
  auto resources = button.resources();
  ASSERT_EQ(resources.size(), 1u);
  EXPECT_EQ(resources[0].kind, "vask.control");
  EXPECT_EQ(resources[0].control_id, "files.retry");
  EXPECT_EQ(resources[0].label, "Try Again");
  ASSERT_EQ(resources[0].actions.size(), 1u);
  EXPECT_EQ(resources[0].actions[0].name, "invoke");
  EXPECT_EQ(resources[0].actions[0].target, "vask.ui.control.invoke");

  EXPECT_FALSE(button.take_control_invocation({"files.up", "invoke", std::nullopt}));
  EXPECT_FALSE(button.take_control_invocation({"files.retry", "select", 0}));
  EXPECT_TRUE(button.take_control_invocation({"files.retry", "invoke", std::nullopt}));
  EXPECT_EQ(clicks, 1);

  Button anonymous("No id");
  EXPECT_TRUE(anonymous.resources().empty());
}

TEST_F(ButtonTest, AccessibilityNamesHintsAndPresses) {
  button.set_accessible_name("Try again");
  button.set_hint("Reload this folder");
  button.set_action_id("files-retry-folder");
  AccessNode node = button.accessibility();
  EXPECT_EQ(node.role, AccessRole::Button);
  EXPECT_EQ(node.name, "Try again");
  EXPECT_EQ(node.description, "Reload this folder");
  EXPECT_EQ(node.bounds, (Rect{10, 10, 110, 42}));
  EXPECT_EQ(node.default_action, "files-retry-folder");
  EXPECT_FALSE(button.perform_semantic_action({access_action::press, "files-other"}));
  EXPECT_FALSE(button.perform_semantic_action({access_action::show_menu, "files-retry-folder"}));
  EXPECT_TRUE(button.perform_semantic_action({access_action::press, "files-retry-folder"}));
  EXPECT_EQ(clicks, 1);
}

TEST_F(ButtonTest, IconButtonsTakeTheirFixedSize) {
  Button back({}, icons::Icon::Back);
  back.set_fixed_size(Size{36, 32});
  LayoutNode node = back.build_layout({400, 300});
  EXPECT_EQ(measure_layout(node), (Size{36, 32}));
  Button labelled("A much longer label", icons::Icon::Sort);
  EXPECT_GT(measure_layout(labelled.build_layout({400, 300})).width, 120);
}

class ToggleGroupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    group.set_control_id("files.view-mode");
    group.set_accessible_name("View");
    lay_out_in(group, {400, 300}, Rect{0, 0, 200, 32});
  }
  ToggleGroup group{{"List", "Grid"}};
};

TEST_F(ToggleGroupTest, ClickingASegmentChoosesIt) {
  Point grid = group.segment_rect(1).center();
  group.handle_event(press(grid.x, grid.y));
  EXPECT_FALSE(group.take_selection_change().has_value());
  group.handle_event(release(grid.x, grid.y));
  EXPECT_EQ(group.selected(), 1u);
  EXPECT_EQ(group.take_selection_change(), 1u);
  // Choosing the selected segment again reports nothing.
  group.handle_event(press(grid.x, grid.y));
  group.handle_event(release(grid.x, grid.y));
  EXPECT_FALSE(group.take_selection_change().has_value());
}

TEST_F(ToggleGroupTest, KeysMoveTheSelection) {
  std::vector<std::size_t> chosen;
  group.set_on_select([&](std::size_t i) { chosen.push_back(i); });
  group.handle_event(key(Key::Right));
  group.handle_event(key(Key::Right));
  group.handle_event(key(Key::Home));
  group.handle_event(key(Key::End));
  EXPECT_EQ(chosen, (std::vector<std::size_t>{1, 0, 1}));
}

TEST_F(ToggleGroupTest, ProgrammaticSelectionIsNotAChoice) {
  group.set_selected(1);
  EXPECT_EQ(group.selected(), 1u);
  EXPECT_FALSE(group.take_selection_change().has_value());
}

TEST_F(ToggleGroupTest, PublishesASegmentedControlWithAnIndexArgument) {
  auto resources = group.resources();
  ASSERT_EQ(resources.size(), 1u);
  EXPECT_EQ(resources[0].kind, "vask.control.segmented");
  ASSERT_EQ(resources[0].actions.size(), 1u);
  const auto& select = resources[0].actions[0];
  EXPECT_EQ(select.name, "select");
  EXPECT_EQ(select.title, "Select");
  EXPECT_EQ(select.integer_argument, "index");
  EXPECT_EQ(select.target, "vask.ui.segmented.select");

  EXPECT_TRUE(group.take_control_invocation({"files.view-mode", "select", 1}));
  EXPECT_EQ(group.take_selection_change(), 1u);
  EXPECT_FALSE(group.take_control_invocation({"files.view-mode", "select", 2}));
  EXPECT_FALSE(group.take_control_invocation({"files.view-mode", "select", -1}));
  EXPECT_FALSE(group.take_control_invocation({"files.view-mode", "select", std::nullopt}));
  EXPECT_FALSE(group.take_control_invocation({"files.other", "select", 0}));
  EXPECT_EQ(group.selected(), 1u);
}

TEST_F(ToggleGroupTest, AccessibilityShowsSegmentsAsRadioButtons) {
  AccessNode node = group.accessibility();
  EXPECT_EQ(node.name, "View");
  ASSERT_EQ(node.children.size(), 2u);
  EXPECT_EQ(node.children[0].role, AccessRole::RadioButton);
  EXPECT_TRUE(node.children[0].states.checked);
  EXPECT_FALSE(node.children[1].states.checked);
  EXPECT_EQ(node.children[1].position_in_set, 2);
  ASSERT_TRUE(node.children[1].default_action.has_value());
  EXPECT_TRUE(
      group.perform_semantic_action({access_action::press, *node.children[1].default_action}));
  EXPECT_EQ(group.selected(), 1u);
}

}  // namespace
}  // namespace vask_ui
