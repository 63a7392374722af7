#include "vask_ui/widgets/column.h"

namespace vask_ui {

Stack::Stack(Direction direction) : direction_(direction) {
  style_.direction = direction;
}

Stack& Stack::add(WidgetSlot child) {
  if (child) slots_.push_back(std::move(child));
  mark_dirty();
  return *this;
}

void Stack::clear() {
  slots_.clear();
  clear_child_rects();
  mark_dirty();
}

std::vector<Widget*> Stack::children() const {
  std::vector<Widget*> out;
  out.reserve(slots_.size());
  for (const WidgetSlot& slot : slots_)
    out.push_back(slot.get());
  return out;
}

LayoutNode Stack::build_layout(Size available) {
  LayoutNode node{.id = 0, .style = style_};
  node.style.direction = direction_;
  Size inner{std::max(0.0f, available.width - style_.padding.left - style_.padding.right),
             std::max(0.0f, available.height - style_.padding.top - style_.padding.bottom)};
  for (std::size_t i = 0; i < slots_.size(); ++i)
    node.add(embed_child(*slots_[i], inner, static_cast<int>(i) + 1));
  return node;
}

void Stack::apply_layout(const LayoutResult& layout) {
  rect_ = layout.rect(0);
  clear_child_rects();
  for (std::size_t i = 0; i < slots_.size(); ++i) {
    Rect r = layout.rect(static_cast<int>(i) + 1);
    layout_child(*slots_[i], r);
    set_child_rect(slots_[i].get(), r);
  }
}

}  // namespace vask_ui
