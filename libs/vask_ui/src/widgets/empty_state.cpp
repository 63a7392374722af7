#include "vask_ui/widgets/empty_state.h"

#include <algorithm>

namespace vask_ui {
namespace {

constexpr float kMaxTextWidth = 440;
constexpr float kIconSize = 48;

}  // namespace

/// The panel's picture, drawn in the secondary icon colour.
class EmptyState::IconBox final : public WidgetBase {
 public:
  explicit IconBox(icons::Icon icon) : icon_(icon) {}
  LayoutNode build_layout(Size) override {
    return {
        .id = 0,
        .style = {.width = Dimension::points(kIconSize), .height = Dimension::points(kIconSize)}};
  }
  void apply_layout(const LayoutResult& layout) override { rect_ = layout.rect(0); }
  void draw(Canvas& canvas) override {
    icons::draw_icon(canvas, icon_, rect_, theme().text_secondary.with_alpha(0.7f), 1.4f);
    mark_drawn();
  }

 private:
  icons::Icon icon_;
  Rect rect_;
};

EmptyState::EmptyState(std::string title, std::string detail)
    : title_(std::move(title), TextStyle{16, FontWeight::Semibold}),
      detail_(std::move(detail), TextStyle{13}, TextTone::Secondary) {
  for (Text* text : {&title_, &detail_}) {
    text->set_align(TextAlign::Center);
    text->set_overflow(TextOverflow::Wrap, 3);
  }
  title_.set_heading(true);
  column_.style().gap = 10;
  column_.style().align_items = Align::Center;
}

EmptyState::~EmptyState() = default;

void EmptyState::set_title(std::string title) {
  title_.set_text(std::move(title));
}

void EmptyState::set_detail(std::string detail) {
  detail_.set_text(std::move(detail));
}

void EmptyState::set_icon(std::optional<icons::Icon> icon) {
  icon_ = icon ? std::make_unique<IconBox>(*icon) : nullptr;
  mark_dirty();
}

void EmptyState::set_accessory(WidgetSlot accessory) {
  accessory_ = std::move(accessory);
  mark_dirty();
}

void EmptyState::set_action(WidgetSlot action) {
  action_ = std::move(action);
  mark_dirty();
}

std::vector<Widget*> EmptyState::children() const {
  return {const_cast<Column*>(&column_)};
}

void EmptyState::rebuild_column() {
  column_.clear();
  if (accessory_) column_.add(WidgetSlot::borrow(*accessory_));
  if (icon_) column_.add(WidgetSlot::borrow(*icon_));
  if (!title_.text().empty()) column_.add(WidgetSlot::borrow(title_));
  if (!detail_.text().empty()) column_.add(WidgetSlot::borrow(detail_));
  if (action_) column_.add(WidgetSlot::borrow(*action_));
}

void EmptyState::on_sync(const FrameContext& frame) {
  rebuild_column();
  Container::on_sync(frame);
}

LayoutNode EmptyState::build_layout(Size) {
  rebuild_column();
  return LayoutNode{.id = 0, .style = {.grow = 1}};
}

void EmptyState::apply_layout(const LayoutResult& layout) {
  rect_ = layout.rect(0);
  float width = std::min(kMaxTextWidth, std::max(0.0f, rect_.width() - 48));
  LayoutNode tree = column_.build_layout({width, rect_.height()});
  Size size = measure_layout(tree);
  size.width = width;
  float x = rect_.x0 + (rect_.width() - size.width) / 2;
  // Slightly above the middle reads as centred: the eye expects more room below.
  float y = rect_.y0 + std::max(0.0f, (rect_.height() - size.height) * 0.45f);
  Rect box = Rect::from_xywh(x, y, size.width, std::min(size.height, rect_.height()));
  layout_child(column_, box);
  clear_child_rects();
  set_child_rect(&column_, box);
}

void EmptyState::draw(Canvas& canvas) {
  if (rect_.is_empty()) return mark_drawn();
  Container::draw(canvas);
}

AccessNode EmptyState::accessibility() const {
  AccessNode node;
  node.role = AccessRole::Group;
  node.name = title_.text();
  node.description = detail_.text();
  node.bounds = rect_;
  node.states.error = error_;
  if (accessory_) node.children.push_back(accessory_->accessibility());
  if (action_) node.children.push_back(action_->accessibility());
  return node;
}

}  // namespace vask_ui
