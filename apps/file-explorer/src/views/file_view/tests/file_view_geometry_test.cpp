#include "views/file_view/file_view_geometry.h"

#include <gtest/gtest.h>

#include <cmath>

namespace files::views {
namespace {

TEST(GridGeometry, SixColumnsAtEightHundredPixels) {
  auto g = GridGeometry::compute(800, 1, 1);
  EXPECT_EQ(g.columns, 6u);
  EXPECT_FLOAT_EQ(g.tile_width, 112);
  EXPECT_FLOAT_EQ(g.tile_height, 104);
  EXPECT_FLOAT_EQ(g.gap, 16);
  auto cell = g.cell_rect(7, 0, 0);  // row 1, column 1
  EXPECT_FLOAT_EQ(cell.x0, 10 + 128);
  EXPECT_FLOAT_EQ(cell.y0, 10 + 120);
  EXPECT_FLOAT_EQ(g.content_height(13), 10 + 3 * 120);
  EXPECT_FLOAT_EQ(g.content_height(0), 10);
}

TEST(GridGeometry, NarrowViews) {
  struct Case {
    int zoom_step;
    float width;
    float tile_width;
    float tile_height;
    std::size_t columns;
  };
  const Case cases[] = {
      // Inner 230 < 2·112 + 16 and halves of 107 < 132: base tiles, one column.
      {0, 250, 112, 104, 1},
      // At f = 1.9, inner 362 < 2·212.8 + 30.4 but halves of 165.8 ≥ 132: two tiles wider than
      // half the view, height min(197.6, 0.9 · 165.8).
      {6, 400, 165.8f, 149.22f, 2},
      // Narrower still at f = 1.9: halves of 115.8 < 132, tiles keep their base size.
      {6, 300, 212.8f, 197.6f, 1},
      // Very narrow: still one column.
      {0, 40, 112, 104, 1},
  };
  for (const auto& c : cases) {
    auto g = GridGeometry::compute(c.width, zoom_factor(c.zoom_step), 1);
    EXPECT_NEAR(g.tile_width, c.tile_width, 1e-3) << c.width;
    EXPECT_NEAR(g.tile_height, c.tile_height, 1e-3) << c.width;
    EXPECT_EQ(g.columns, c.columns) << c.width;
  }
}

TEST(GridGeometry, ZoomStepsAndScale) {
  EXPECT_FLOAT_EQ(zoom_factor(-2), 0.7f);
  EXPECT_FLOAT_EQ(zoom_factor(6), 1.9f);
  EXPECT_FLOAT_EQ(zoom_factor(9), 1.9f);
  auto small = GridGeometry::compute(800, zoom_factor(-2), 1);
  EXPECT_NEAR(small.tile_width, 78.4f, 1e-4);
  EXPECT_NEAR(small.tile_height, 72.8f, 1e-4);
  auto scaled = GridGeometry::compute(1600, 1, 2);
  EXPECT_FLOAT_EQ(scaled.tile_width, 224);
  EXPECT_FLOAT_EQ(scaled.tile_height, 140);
  EXPECT_NEAR(scaled.gap, 16 * std::sqrt(2.0f), 1e-4);
}

TEST(GridGeometry, HitTestingSkipsGapsAndMargins) {
  auto g = GridGeometry::compute(800, 1, 1);
  EXPECT_EQ(g.hit_test(15, 15, 20), 0u);
  EXPECT_EQ(g.hit_test(10 + 128 + 5, 10 + 120 + 5, 20), 7u);
  EXPECT_FALSE(g.hit_test(5, 15, 20).has_value());                 // left margin
  EXPECT_FALSE(g.hit_test(10 + 115, 15, 20).has_value());          // gap right of the first tile
  EXPECT_FALSE(g.hit_test(15, 10 + 110, 20).has_value());          // gap below it
  EXPECT_FALSE(g.hit_test(10 + 6 * 128 + 2, 15, 20).has_value());  // past the last column
  EXPECT_FALSE(g.hit_test(15, 10 + 120 * 4 + 5, 20).has_value());  // below the last row
}

TEST(ListGeometry, ColumnsByWidth) {
  auto wide = ListGeometry::compute(0, 800, 1, 1);
  EXPECT_TRUE(wide.show_size);
  EXPECT_TRUE(wide.show_modified);
  EXPECT_FLOAT_EQ(wide.modified_column.x1, 790);
  EXPECT_FLOAT_EQ(wide.modified_column.x0, 632);
  EXPECT_FLOAT_EQ(wide.size_column.x1, 622);
  EXPECT_FLOAT_EQ(wide.size_column.x0, 526);
  EXPECT_FLOAT_EQ(wide.name_column.x0, 10);
  EXPECT_FLOAT_EQ(wide.name_column.x1, 516);

  auto medium = ListGeometry::compute(0, 500, 1, 1);
  EXPECT_TRUE(medium.show_size);
  EXPECT_FALSE(medium.show_modified);
  EXPECT_TRUE(medium.column_rect(ListColumn::Modified, 0).is_empty());

  auto narrow = ListGeometry::compute(0, 300, 1, 1);
  EXPECT_FALSE(narrow.show_size);
  EXPECT_FALSE(narrow.show_modified);
  EXPECT_FLOAT_EQ(narrow.name_column.x1, 290);
}

TEST(ListGeometry, RowsHeaderAndHitTesting) {
  auto g = ListGeometry::compute(0, 800, 1, 1);
  EXPECT_FLOAT_EQ(g.content_height(0), 36);  // 30·f·u + 6
  EXPECT_FLOAT_EQ(g.content_height(10), 30 + 340 + 6);
  EXPECT_EQ(g.row_rect(2, 100), (vask_ui::Rect{0, 100 + 30 + 68, 800, 100 + 30 + 102}));
  EXPECT_FALSE(g.hit_test(29, 10).has_value());
  EXPECT_EQ(g.hit_test(30, 10), 0u);
  EXPECT_EQ(g.hit_test(30 + 34 * 9 + 1, 10), 9u);
  EXPECT_FALSE(g.hit_test(30 + 34 * 10 + 1, 10).has_value());
  EXPECT_EQ(g.column_at(600), ListColumn::Size);
  EXPECT_EQ(g.column_at(700), ListColumn::Modified);
  EXPECT_FALSE(g.column_at(624).has_value());  // between Size and Modified
}

TEST(VisibleRange, OneExtraRowEachSideClampedToTheEntries) {
  auto list = ListGeometry::compute(0, 800, 1, 1);
  auto [first, last] = list.visible_rows(30 + 34 * 100, 30 + 34 * 100 + 340, 100000);
  EXPECT_EQ(first, 99u);
  EXPECT_EQ(last, 112u);
  auto [a, b] = list.visible_rows(0, 800, 5);
  EXPECT_EQ(a, 0u);
  EXPECT_EQ(b, 5u);
  auto grid = GridGeometry::compute(800, 1, 1);
  auto [r0, r1] = grid.visible_rows(0, 800, 1000);
  EXPECT_EQ(r0, 0u);
  EXPECT_EQ(r1, 8u);  // rows 0..6 touch 800 px, plus one after
}

}  // namespace
}  // namespace files::views
