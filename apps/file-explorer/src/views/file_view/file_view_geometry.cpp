#include "views/file_view/file_view_geometry.h"

#include <algorithm>
#include <cmath>

namespace files::views {

float zoom_factor(int zoom_step) {
  int step = std::clamp(zoom_step, kMinZoomStep, kMaxZoomStep);
  return 1.0f + 0.15f * static_cast<float>(step);
}

GridGeometry GridGeometry::compute(float width, float f, float u) {
  GridGeometry g;
  g.zoom = f;
  const float base_width = 112 * f * u;
  const float base_height = 104 * f + 36 * f * std::max(u - 1, 0.0f);
  g.gap = 16 * f * std::sqrt(u);
  g.margin = 10 * f;
  const float inner = std::max(width - 20 * f, 0.0f);
  g.tile_width = base_width;
  g.tile_height = base_height;
  if (inner < 2 * base_width + g.gap) {
    // Two base tiles do not fit: two half-width tiles when halves are still comfortable.
    float half = std::max((inner - g.gap) / 2, 0.0f);
    if (half >= 132) g.tile_width = half;
    if (g.tile_width < base_width) g.tile_height = std::min(base_height, 0.9f * g.tile_width);
  }
  g.columns = std::max<std::size_t>(
      1, static_cast<std::size_t>(std::floor((inner + g.gap) / (g.tile_width + g.gap) + 1e-4f)));
  return g;
}

vask_ui::Rect GridGeometry::cell_rect(std::size_t index, float left, float top) const {
  std::size_t row = index / columns;
  std::size_t column = index % columns;
  float x = left + margin + static_cast<float>(column) * (tile_width + gap);
  float y = top + margin + static_cast<float>(row) * (tile_height + gap);
  return vask_ui::Rect::from_xywh(x, y, tile_width, tile_height);
}

float GridGeometry::content_height(std::size_t count) const {
  std::size_t rows = (count + columns - 1) / columns;
  return margin + static_cast<float>(rows) * (tile_height + gap);
}

std::optional<std::size_t> GridGeometry::hit_test(float x, float y, std::size_t count) const {
  float xr = x - margin;
  float yr = y - margin;
  if (xr < 0 || yr < 0) return std::nullopt;
  auto column = static_cast<std::size_t>(std::floor(xr / (tile_width + gap)));
  auto row = static_cast<std::size_t>(std::floor(yr / (tile_height + gap)));
  // Points in the gap right of or below a tile hit nothing.
  if (xr - static_cast<float>(column) * (tile_width + gap) >= tile_width) return std::nullopt;
  if (yr - static_cast<float>(row) * (tile_height + gap) >= tile_height) return std::nullopt;
  if (column >= columns) return std::nullopt;
  std::size_t index = row * columns + column;
  if (index >= count) return std::nullopt;
  return index;
}

std::pair<std::size_t, std::size_t> GridGeometry::visible_rows(float y0, float y1,
                                                               std::size_t count) const {
  std::size_t rows = (count + columns - 1) / columns;
  float pitch = tile_height + gap;
  float first = std::floor((y0 - margin) / pitch) - 1;
  float last = std::floor((y1 - margin) / pitch) + 2;
  auto clamp_row = [&](float r) {
    return static_cast<std::size_t>(std::clamp(r, 0.0f, static_cast<float>(rows)));
  };
  return {clamp_row(first), clamp_row(last)};
}

ListGeometry ListGeometry::compute(float left, float right, float f, float u) {
  ListGeometry g;
  g.zoom = f;
  g.left = left;
  g.right = right;
  g.header_height = 30 * f * u;
  g.row_height = 34 * f * u;
  g.margin = 10 * f;
  const float width = right - left;
  g.show_modified = width > 560 * f * u;
  g.show_size = width > 340 * f * u;
  float edge = right - g.margin;
  if (g.show_modified) {
    float w = 158 * f * u;
    g.modified_column = {edge - w, 0, edge, g.header_height};
    edge -= w + 10 * f;
  }
  if (g.show_size) {
    float w = 96 * f * u;
    g.size_column = {edge - w, 0, edge, g.header_height};
    edge -= w + 10 * f;
  }
  g.name_column = {left + g.margin, 0, std::max(left + g.margin, edge), g.header_height};
  return g;
}

float ListGeometry::content_height(std::size_t count) const {
  return header_height + row_height * static_cast<float>(count) + 6;
}

vask_ui::Rect ListGeometry::row_rect(std::size_t index, float top) const {
  float y = top + header_height + row_height * static_cast<float>(index);
  return {left, y, right, y + row_height};
}

vask_ui::Rect ListGeometry::column_rect(ListColumn column, float top) const {
  vask_ui::Rect r;
  switch (column) {
    case ListColumn::Name:
      r = name_column;
      break;
    case ListColumn::Size:
      if (!show_size) return {};
      r = size_column;
      break;
    case ListColumn::Modified:
      if (!show_modified) return {};
      r = modified_column;
      break;
  }
  return r.translated(0, top);
}

std::optional<std::size_t> ListGeometry::hit_test(float y, std::size_t count) const {
  float yr = y - header_height;
  if (yr < 0) return std::nullopt;
  auto index = static_cast<std::size_t>(std::floor(yr / row_height));
  if (index >= count) return std::nullopt;
  return index;
}

std::optional<ListColumn> ListGeometry::column_at(float x) const {
  if (x >= name_column.x0 && x < name_column.x1) return ListColumn::Name;
  if (show_size && x >= size_column.x0 && x < size_column.x1) return ListColumn::Size;
  if (show_modified && x >= modified_column.x0 && x < modified_column.x1) {
    return ListColumn::Modified;
  }
  return std::nullopt;
}

std::pair<std::size_t, std::size_t> ListGeometry::visible_rows(float y0, float y1,
                                                               std::size_t count) const {
  float first = std::floor((y0 - header_height) / row_height) - 1;
  float last = std::floor((y1 - header_height) / row_height) + 2;
  auto clamp_row = [&](float r) {
    return static_cast<std::size_t>(std::clamp(r, 0.0f, static_cast<float>(count)));
  };
  return {clamp_row(first), clamp_row(last)};
}

}  // namespace files::views
