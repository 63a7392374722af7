#include <gtest/gtest.h>

#include "vask_ui/selection.h"

namespace vask_ui {
namespace {

using Indices = std::vector<std::size_t>;

TEST(SelectionModel, PlainClickSelectsOnlyTheItem) {
  SelectionModel s;
  s.apply_click(3, {});
  s.apply_click(5, {});
  EXPECT_EQ(s.selected(), Indices{5});
  EXPECT_EQ(s.primary(), 5u);
  EXPECT_EQ(s.anchor(), 5u);
}

TEST(SelectionModel, ToggleClicksFlipSingleItemsAndMoveTheAnchor) {
  SelectionModel s;
  s.apply_click(2, {});
  s.apply_click(6, {.toggle = true});
  s.apply_click(4, {.toggle = true});
  EXPECT_EQ(s.selected(), (Indices{2, 4, 6}));
  s.apply_click(2, {.toggle = true});
  EXPECT_EQ(s.selected(), (Indices{4, 6}));
  // Unselecting still makes the item the focus and the anchor of the next range.
  EXPECT_EQ(s.primary(), 2u);
  EXPECT_EQ(s.anchor(), 2u);
  EXPECT_FALSE(s.is_selected(2));
}

TEST(SelectionModel, RangeClicksSpanFromTheAnchorInEitherDirection) {
  SelectionModel s;
  s.apply_click(5, {});
  s.apply_click(8, {.range = true});
  EXPECT_EQ(s.selected(), (Indices{5, 6, 7, 8}));
  // A second range from the same anchor replaces the first.
  s.apply_click(2, {.range = true});
  EXPECT_EQ(s.selected(), (Indices{2, 3, 4, 5}));
  EXPECT_EQ(s.anchor(), 5u);
  EXPECT_EQ(s.primary(), 2u);
}

TEST(SelectionModel, ToggleWithRangeAddsTheRangeToTheSelection) {
  SelectionModel s;
  s.apply_click(0, {});
  s.apply_click(4, {.toggle = true});
  s.apply_click(6, {.toggle = true, .range = true});
  EXPECT_EQ(s.selected(), (Indices{0, 4, 5, 6}));
}

TEST(SelectionModel, RangeWithoutAnchorActsAsPlainClick) {
  SelectionModel s;
  s.apply_click(3, {.range = true});
  EXPECT_EQ(s.selected(), Indices{3});
  EXPECT_EQ(s.anchor(), 3u);
}

TEST(SelectionModel, MoveToExtendsFromTheAnchor) {
  SelectionModel s;
  s.move_to(0, MoveMode::Replace);
  s.move_to(1, MoveMode::Extend);
  s.move_to(2, MoveMode::Extend);
  EXPECT_EQ(s.selected(), (Indices{0, 1, 2}));
  s.move_to(1, MoveMode::Extend);
  EXPECT_EQ(s.selected(), (Indices{0, 1}));
  s.move_to(4, MoveMode::Replace);
  EXPECT_EQ(s.selected(), Indices{4});
  EXPECT_EQ(s.primary(), 4u);
}

TEST(SelectionModel, SelectAllKeepsTheFocusAndClearForgetsIt) {
  SelectionModel s;
  s.apply_click(2, {});
  s.select_all(5);
  EXPECT_EQ(s.selected(), (Indices{0, 1, 2, 3, 4}));
  EXPECT_EQ(s.count(), 5u);
  EXPECT_EQ(s.primary(), 2u);
  s.clear();
  EXPECT_TRUE(s.empty());
  EXPECT_FALSE(s.primary().has_value());
  EXPECT_FALSE(s.anchor().has_value());
  // A range after clear has no anchor to start from.
  s.apply_click(3, {.range = true});
  EXPECT_EQ(s.selected(), Indices{3});
}

TEST(SelectionModel, SelectAllOfAShorterListDropsAFocusBeyondIt) {
  SelectionModel s;
  s.apply_click(9, {});
  s.select_all(4);
  EXPECT_FALSE(s.primary().has_value());
  EXPECT_EQ(s.count(), 4u);
}

TEST(SelectionModel, ClampForgetsIndicesPastTheNewEnd) {
  SelectionModel s;
  s.apply_click(1, {});
  s.apply_click(7, {.toggle = true});
  s.clamp_to(5);
  EXPECT_EQ(s.selected(), Indices{1});
  EXPECT_EQ(s.count(), 1u);
  EXPECT_FALSE(s.primary().has_value());
  EXPECT_FALSE(s.is_selected(7));
}

TEST(SelectionModel, CopiesCompareEqualUntilOneChanges) {
  SelectionModel a;
  a.apply_click(1, {});
  a.apply_click(3, {.range = true});
  SelectionModel b = a;
  EXPECT_EQ(a, b);
  b.toggle(2);
  EXPECT_NE(a, b);
}

TEST(SelectionModel, ClickModeFollowsPrimaryAndShift) {
  ClickMode mode = ClickMode::from(Modifiers{.shift = true, .primary = false});
  EXPECT_TRUE(mode.range);
  EXPECT_FALSE(mode.toggle);
  mode = ClickMode::from(Modifiers{.primary = true});
  EXPECT_TRUE(mode.toggle);
}

}  // namespace
}  // namespace vask_ui
