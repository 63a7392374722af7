#pragma once

#include <cstddef>
#include <optional>

#include "vask_ui/geometry.h"

/// The file view's geometry as pure functions of the view's width, zoom and scale, so layout,
/// drawing and hit testing agree and can be tested against worked numbers.
namespace files::views {

/// Zoom steps run from -2 to 6; each step scales items by 15 %.
inline constexpr int kMinZoomStep = -2;
inline constexpr int kMaxZoomStep = 6;
float zoom_factor(int zoom_step);

struct GridGeometry {
  float zoom = 1;     ///< f
  float margin = 10;  ///< 10·f on every side
  float tile_width = 112;
  float tile_height = 104;
  float gap = 16;
  std::size_t columns = 1;

  /// The grid for a view of `width` layout pixels at zoom factor f and scale u.
  static GridGeometry compute(float width, float f, float u);

  /// Tile `index`'s rectangle in a view whose top-left corner is (left, top).
  vask_ui::Rect cell_rect(std::size_t index, float left, float top) const;
  float content_height(std::size_t count) const;
  /// The tile under (x, y) relative to the view's top-left corner, if any.
  std::optional<std::size_t> hit_test(float x, float y, std::size_t count) const;
  /// Rows [first, last) that intersect the vertical span, one extra row on each side.
  std::pair<std::size_t, std::size_t> visible_rows(float y0, float y1, std::size_t count) const;
};

enum class ListColumn { Name, Size, Modified };

struct ListGeometry {
  float zoom = 1;
  float header_height = 30;
  float row_height = 34;
  float margin = 10;
  float left = 0;
  float right = 0;
  bool show_size = false;
  bool show_modified = false;
  vask_ui::Rect name_column;  ///< x span only; y is 0..header height
  vask_ui::Rect size_column;
  vask_ui::Rect modified_column;

  /// Columns for a view spanning [left, right) at zoom factor f and scale u.
  static ListGeometry compute(float left, float right, float f, float u);

  float content_height(std::size_t count) const;
  /// Row `index`'s rectangle (full width) in a view whose top is `top`.
  vask_ui::Rect row_rect(std::size_t index, float top) const;
  /// The header cell of a column, or an empty rectangle when the column is hidden.
  vask_ui::Rect column_rect(ListColumn column, float top) const;
  /// The row under `y` (relative to the view's top); the header hits nothing.
  std::optional<std::size_t> hit_test(float y, std::size_t count) const;
  /// The header column under `x`, when `x` lies inside a shown column.
  std::optional<ListColumn> column_at(float x) const;
  std::pair<std::size_t, std::size_t> visible_rows(float y0, float y1, std::size_t count) const;
};

}  // namespace files::views
