#include "vask_ui/layout.h"

#include <gtest/gtest.h>

namespace vask_ui {
namespace {

LayoutNode fixed(int id, float w, float h) {
  return {.id = id, .style = {.width = Dimension::points(w), .height = Dimension::points(h)}};
}

TEST(Layout, RowDistributesFreeSpaceByGrow) {
  LayoutNode root{.id = 0,
                  .style = {.direction = Direction::Row, .padding = Insets::all(10), .gap = 5}};
  root.add(fixed(1, 100, 20));
  LayoutNode a{.id = 2, .style = {.grow = 1}};
  LayoutNode b{.id = 3, .style = {.grow = 3}};
  root.add(a);
  root.add(b);
  auto r = compute_layout(root, Rect{0, 0, 520, 100});
  EXPECT_EQ(r.rect(0), (Rect{0, 0, 520, 100}));
  EXPECT_EQ(r.rect(1), (Rect{10, 10, 110, 30}));  // fixed height is kept on the cross axis
  // 500 inner - 100 fixed - 10 gaps = 390 free, split 1:3.
  EXPECT_FLOAT_EQ(r.rect(2).x0, 115);
  EXPECT_FLOAT_EQ(r.rect(2).width(), 97.5f);
  EXPECT_FLOAT_EQ(r.rect(3).x0, 217.5f);
  EXPECT_FLOAT_EQ(r.rect(3).width(), 292.5f);
  EXPECT_FLOAT_EQ(r.rect(3).height(), 80);  // stretched
}

TEST(Layout, PercentAndContentSizes) {
  LayoutNode root{.id = 0, .style = {.direction = Direction::Column}};
  root.add({.id = 1, .style = {.height = Dimension::percent(25)}});
  root.add({.id = 2, .content_size = {40, 18}});
  LayoutNode padded{
      .id = 3, .style = {.padding = Insets::symmetric(8, 4)}, .content_size = {0, 10}};
  root.add(padded);
  auto r = compute_layout(root, Rect{0, 0, 200, 400});
  EXPECT_FLOAT_EQ(r.rect(1).height(), 100);
  EXPECT_FLOAT_EQ(r.rect(2).y0, 100);
  EXPECT_FLOAT_EQ(r.rect(2).height(), 18);
  EXPECT_FLOAT_EQ(r.rect(3).height(), 18);  // content 10 + padding 4 + 4
}

TEST(Layout, ShrinksOverflowInProportionButNotBelowMinimum) {
  LayoutNode root{.id = 0, .style = {.direction = Direction::Row}};
  root.add(fixed(1, 200, 10));
  LayoutNode keep = fixed(2, 200, 10);
  keep.style.min_width = 180;
  root.add(keep);
  auto r = compute_layout(root, Rect{0, 0, 300, 10});
  // 100 too wide; each gives 50, but the second stops at its minimum of 180.
  EXPECT_FLOAT_EQ(r.rect(1).width(), 150);
  EXPECT_FLOAT_EQ(r.rect(2).width(), 180);
}

TEST(Layout, JustifyAndAlign) {
  LayoutNode root{.id = 0,
                  .style = {.direction = Direction::Row,
                            .align_items = Align::Center,
                            .justify = Justify::SpaceBetween}};
  root.add(fixed(1, 10, 10));
  root.add(fixed(2, 10, 10));
  root.add(fixed(3, 10, 10));
  auto r = compute_layout(root, Rect{0, 0, 110, 50});
  EXPECT_FLOAT_EQ(r.rect(1).x0, 0);
  EXPECT_FLOAT_EQ(r.rect(2).x0, 50);
  EXPECT_FLOAT_EQ(r.rect(3).x0, 100);
  EXPECT_FLOAT_EQ(r.rect(2).y0, 20);

  root.style.justify = Justify::End;
  root.style.align_items = Align::End;
  r = compute_layout(root, Rect{0, 0, 110, 50});
  EXPECT_FLOAT_EQ(r.rect(1).x0, 80);
  EXPECT_FLOAT_EQ(r.rect(1).y0, 40);
}

TEST(Layout, NestedContainersSizeFromTheirChildren) {
  LayoutNode root{.id = 0, .style = {.direction = Direction::Column}};
  LayoutNode row{.id = 1,
                 .style = {.direction = Direction::Row, .padding = Insets::all(2), .gap = 4}};
  row.add({.id = 2, .content_size = {30, 12}});
  row.add({.id = 3, .content_size = {20, 16}});
  root.add(row);
  root.add({.id = 4, .style = {.grow = 1}});
  auto r = compute_layout(root, Rect{0, 0, 100, 100});
  EXPECT_FLOAT_EQ(r.rect(1).height(), 20);  // tallest child 16 + padding
  EXPECT_FLOAT_EQ(r.rect(3).x0, 36);        // 2 + 30 + 4
  EXPECT_FLOAT_EQ(r.rect(4).y0, 20);
  EXPECT_FLOAT_EQ(r.rect(4).height(), 80);
  EXPECT_FALSE(r.has(9));
  EXPECT_TRUE(r.rect(9).is_empty());
}

}  // namespace
}  // namespace vask_ui
