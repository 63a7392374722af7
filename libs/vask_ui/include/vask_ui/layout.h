#pragma once

#include <cstdint>
#include <vector>

#include "vask_ui/geometry.h"

/// A small flexbox-style layout engine. Widgets describe their layout as a tree of
/// `LayoutNode`s in `build_layout`; the toolkit computes a `LayoutResult` and hands it back in
/// `apply_layout`, so layout is a pure function of the tree and the available rectangle.
namespace vask_ui {

enum class Direction { Row, Column };

/// How a node sizes itself along one axis.
struct Dimension {
  enum class Kind : std::uint8_t { Content, Points, Percent };
  Kind kind = Kind::Content;
  float value = 0;

  /// As large as its content (a leaf's measured size, or the sum of its children).
  static constexpr Dimension content() { return {Kind::Content, 0}; }
  static constexpr Dimension points(float v) { return {Kind::Points, v}; }
  /// Percent (0–100) of the parent's inner size on the same axis.
  static constexpr Dimension percent(float v) { return {Kind::Percent, v}; }
};

enum class Align { Stretch, Start, Center, End };
enum class Justify { Start, Center, End, SpaceBetween };

struct LayoutStyle {
  Direction direction = Direction::Column;
  Dimension width;
  Dimension height;
  float grow = 0;
  float shrink = 1;
  Insets padding;
  float gap = 0;
  /// Cross-axis placement of the children.
  Align align_items = Align::Stretch;
  /// Main-axis placement of the children when they do not fill the node.
  Justify justify = Justify::Start;
  float min_width = 0;
  float min_height = 0;
};

/// Sentinel for nodes whose rectangle nobody asks for.
inline constexpr int kNoLayoutId = -1;

struct LayoutNode {
  /// Identifies the node in the result; widgets choose their own ids (unique within a tree).
  int id = kNoLayoutId;
  LayoutStyle style;
  /// For leaves sized by content: the measured size of what they show (without padding).
  Size content_size;
  std::vector<LayoutNode> children;

  LayoutNode& add(LayoutNode child) {
    children.push_back(std::move(child));
    return children.back();
  }
};

/// The rectangles of all nodes with an id, in absolute coordinates.
class LayoutResult {
 public:
  void set(int id, Rect rect);
  /// The rectangle of the node with this id; an empty rectangle when the tree had none.
  Rect rect(int id) const;
  bool has(int id) const;

 private:
  std::vector<Rect> rects_;
  std::vector<bool> present_;
};

/// Lays the tree out inside `bounds`; the root fills `bounds` whatever its own size says.
LayoutResult compute_layout(const LayoutNode& root, Rect bounds);

/// The size a node asks for from its content alone: fixed sizes and minimums apply,
/// percentages count as content. Containers use it to size a child's box.
Size measure_layout(const LayoutNode& node);

}  // namespace vask_ui
