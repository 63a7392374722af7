#pragma once

#include <vector>

#include "vask_ui/widgets/container.h"

namespace vask_ui {

/// Children one after another along an axis, with the layout engine's padding, gap,
/// alignment and the children's own grow and fixed sizes.
class Stack : public Container {
 public:
  explicit Stack(Direction direction);

  Stack& add(WidgetSlot child);
  void clear();
  std::size_t size() const { return slots_.size(); }
  Widget& child(std::size_t index) const { return *slots_.at(index); }
  /// The stack's own node style (its direction stays as constructed).
  LayoutStyle& style() { return style_; }

  LayoutNode build_layout(Size available) override;
  void apply_layout(const LayoutResult& layout) override;
  Rect rect() const { return rect_; }

 protected:
  std::vector<Widget*> children() const override;

 private:
  Direction direction_;
  LayoutStyle style_;
  std::vector<WidgetSlot> slots_;
  Rect rect_;
};

class Column final : public Stack {
 public:
  Column() : Stack(Direction::Column) {}
};

class Row final : public Stack {
 public:
  Row() : Stack(Direction::Row) {}
};

}  // namespace vask_ui
