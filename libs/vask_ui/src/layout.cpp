#include "vask_ui/layout.h"

#include <cassert>
#include <cstddef>

namespace vask_ui {

void LayoutResult::set(int id, Rect rect) {
  if (id < 0) return;
  auto index = static_cast<std::size_t>(id);
  if (index >= rects_.size()) {
    rects_.resize(index + 1);
    present_.resize(index + 1, false);
  }
  rects_[index] = rect;
  present_[index] = true;
}

Rect LayoutResult::rect(int id) const {
  return has(id) ? rects_[static_cast<std::size_t>(id)] : Rect{};
}

bool LayoutResult::has(int id) const {
  return id >= 0 && static_cast<std::size_t>(id) < present_.size() &&
         present_[static_cast<std::size_t>(id)];
}

namespace {

bool is_row(const LayoutNode& node) {
  return node.style.direction == Direction::Row;
}

/// The size a node wants from its content alone (fixed dimensions win; percentages count as
/// content here because the parent is not known yet).
Size intrinsic_size(const LayoutNode& node) {
  Size inner = node.content_size;
  if (!node.children.empty()) {
    float main = 0;
    float cross = 0;
    for (const LayoutNode& child : node.children) {
      Size s = intrinsic_size(child);
      float child_main = is_row(node) ? s.width : s.height;
      float child_cross = is_row(node) ? s.height : s.width;
      main += child_main;
      cross = std::max(cross, child_cross);
    }
    main += node.style.gap * static_cast<float>(node.children.size() - 1);
    Size from_children = is_row(node) ? Size{main, cross} : Size{cross, main};
    inner.width = std::max(inner.width, from_children.width);
    inner.height = std::max(inner.height, from_children.height);
  }
  Size outer{inner.width + node.style.padding.left + node.style.padding.right,
             inner.height + node.style.padding.top + node.style.padding.bottom};
  if (node.style.width.kind == Dimension::Kind::Points) outer.width = node.style.width.value;
  if (node.style.height.kind == Dimension::Kind::Points) outer.height = node.style.height.value;
  outer.width = std::max(outer.width, node.style.min_width);
  outer.height = std::max(outer.height, node.style.min_height);
  return outer;
}

float resolve(const Dimension& d, float parent_inner, float intrinsic) {
  switch (d.kind) {
    case Dimension::Kind::Points:
      return d.value;
    case Dimension::Kind::Percent:
      return parent_inner * d.value / 100.0f;
    case Dimension::Kind::Content:
      return intrinsic;
  }
  return intrinsic;
}

void place(const LayoutNode& node, Rect rect, LayoutResult& out);

void place_children(const LayoutNode& node, Rect rect, LayoutResult& out) {
  if (node.children.empty()) return;
  const bool row = is_row(node);
  Rect inner = rect.inset(node.style.padding);
  const float inner_main = row ? inner.width() : inner.height();
  const float inner_cross = row ? inner.height() : inner.width();
  const std::size_t n = node.children.size();

  std::vector<float> main_sizes(n);
  float used = node.style.gap * static_cast<float>(n - 1);
  for (std::size_t i = 0; i < n; ++i) {
    const LayoutNode& child = node.children[i];
    Size s = intrinsic_size(child);
    const Dimension& d = row ? child.style.width : child.style.height;
    main_sizes[i] = resolve(d, inner_main, row ? s.width : s.height);
    used += main_sizes[i];
  }

  float free = inner_main - used;
  if (free > 0) {
    float total_grow = 0;
    for (const LayoutNode& child : node.children)
      total_grow += child.style.grow;
    if (total_grow > 0) {
      for (std::size_t i = 0; i < n; ++i) {
        main_sizes[i] += free * node.children[i].style.grow / total_grow;
      }
      free = 0;
    }
  } else if (free < 0) {
    // Shrink in proportion to shrink factor × base size, never below the minimum.
    float total_weight = 0;
    for (std::size_t i = 0; i < n; ++i)
      total_weight += node.children[i].style.shrink * main_sizes[i];
    if (total_weight > 0) {
      float deficit = -free;
      for (std::size_t i = 0; i < n; ++i) {
        const LayoutNode& child = node.children[i];
        float share = deficit * child.style.shrink * main_sizes[i] / total_weight;
        float minimum = row ? child.style.min_width : child.style.min_height;
        main_sizes[i] = std::max(minimum, main_sizes[i] - share);
      }
    }
    free = 0;
  }

  float cursor = 0;
  float spacing = node.style.gap;
  switch (node.style.justify) {
    case Justify::Start:
      break;
    case Justify::Center:
      cursor = free / 2;
      break;
    case Justify::End:
      cursor = free;
      break;
    case Justify::SpaceBetween:
      if (n > 1) spacing += free / static_cast<float>(n - 1);
      break;
  }

  for (std::size_t i = 0; i < n; ++i) {
    const LayoutNode& child = node.children[i];
    Size s = intrinsic_size(child);
    const Dimension& cross_dim = row ? child.style.height : child.style.width;
    float cross_size;
    float cross_offset = 0;
    if (cross_dim.kind == Dimension::Kind::Content && node.style.align_items == Align::Stretch) {
      cross_size = inner_cross;
    } else {
      cross_size = resolve(cross_dim, inner_cross, row ? s.height : s.width);
      switch (node.style.align_items) {
        case Align::Stretch:
        case Align::Start:
          break;
        case Align::Center:
          cross_offset = (inner_cross - cross_size) / 2;
          break;
        case Align::End:
          cross_offset = inner_cross - cross_size;
          break;
      }
    }
    Rect child_rect =
        row ? Rect::from_xywh(inner.x0 + cursor, inner.y0 + cross_offset, main_sizes[i], cross_size)
            : Rect::from_xywh(inner.x0 + cross_offset, inner.y0 + cursor, cross_size,
                              main_sizes[i]);
    place(child, child_rect, out);
    cursor += main_sizes[i] + spacing;
  }
}

void place(const LayoutNode& node, Rect rect, LayoutResult& out) {
  out.set(node.id, rect);
  place_children(node, rect, out);
}

}  // namespace

LayoutResult compute_layout(const LayoutNode& root, Rect bounds) {
  LayoutResult result;
  place(root, bounds, result);
  return result;
}

Size measure_layout(const LayoutNode& node) {
  return intrinsic_size(node);
}

}  // namespace vask_ui
