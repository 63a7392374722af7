#include "vask_ui/widgets/toggle_group.h"

#include <cmath>

#include "paint.h"
#include "vask_ui/text.h"
#include "vask_ui/widgets/button.h"

namespace vask_ui {
namespace {

constexpr float kInset = 2;
constexpr float kPadX = 14;
constexpr float kMinSegment = 56;

}  // namespace

ToggleGroup::ToggleGroup(std::vector<std::string> labels, std::size_t selected)
    : labels_(std::move(labels)), selected_(selected) {}

void ToggleGroup::set_segments(std::vector<std::string> labels) {
  labels_ = std::move(labels);
  if (selected_ >= labels_.size()) selected_ = 0;
  hovered_.reset();
  pressed_.reset();
  mark_dirty();
}

void ToggleGroup::set_selected(std::size_t index) {
  if (index >= labels_.size() || index == selected_) return;
  selected_ = index;
  mark_dirty();
}

void ToggleGroup::set_enabled(bool enabled) {
  enabled_ = enabled;
  mark_dirty();
}

std::optional<std::size_t> ToggleGroup::take_selection_change() {
  return std::exchange(change_, std::nullopt);
}

bool ToggleGroup::choose(std::size_t index) {
  if (!enabled_ || index >= labels_.size()) return false;
  if (index != selected_) {
    selected_ = index;
    change_ = index;
    if (on_select_) on_select_(index);
  }
  mark_dirty();
  return true;
}

std::string ToggleGroup::segment_action(std::size_t index) const {
  std::string id = control_id_.empty() ? instance_id("vask.segmented:") : control_id_;
  return id + "#" + std::to_string(index);
}

float ToggleGroup::segment_width() const {
  TextStyle style{theme().font_size, FontWeight::Medium};
  float widest = kMinSegment;
  for (const auto& label : labels_) {
    widest =
        std::max(widest, std::ceil(TextRenderer::shared().measure(label, style).width) + 2 * kPadX);
  }
  return widest;
}

Rect ToggleGroup::segment_rect(std::size_t index) const {
  if (labels_.empty()) return {};
  Rect inner = rect_.inset(kInset);
  float w = inner.width() / static_cast<float>(labels_.size());
  return {inner.x0 + w * static_cast<float>(index), inner.y0,
          inner.x0 + w * static_cast<float>(index + 1), inner.y1};
}

std::optional<std::size_t> ToggleGroup::segment_at(Point position) const {
  if (!rect_.contains(position)) return std::nullopt;
  for (std::size_t i = 0; i < labels_.size(); ++i) {
    Rect r = segment_rect(i);
    if (position.x >= r.x0 && position.x < r.x1) return i;
  }
  return std::nullopt;
}

LayoutNode ToggleGroup::build_layout(Size) {
  float width = segment_width() * static_cast<float>(labels_.size()) + 2 * kInset;
  return LayoutNode{.id = 0,
                    .style = {.width = Dimension::points(width),
                              .height = Dimension::points(theme().control_height),
                              .shrink = 0}};
}

void ToggleGroup::apply_layout(const LayoutResult& layout) {
  Rect rect = layout.rect(0);
  if (rect != rect_) mark_dirty();
  rect_ = rect;
}

void ToggleGroup::draw(Canvas& canvas) {
  const Theme& t = theme();
  float radius = t.corner_radius - 1;
  canvas.fill_rounded_rect(rect_, radius, t.pressed.with_alpha(0.55f));
  TextStyle style{t.font_size, FontWeight::Medium};
  for (std::size_t i = 0; i < labels_.size(); ++i) {
    Rect r = segment_rect(i);
    bool selected = i == selected_;
    if (selected) {
      canvas.draw_shadow(r, radius - kInset, t.shadow.with_alpha(0.5f), 3, {0, 1});
      canvas.fill_rounded_rect(r, radius - kInset, t.content_background);
      canvas.stroke_rounded_rect(r, radius - kInset, t.edge, 1);
    } else if (enabled_ && (hovered_ == i || pressed_ == i)) {
      canvas.fill_rounded_rect(r, radius - kInset, pressed_ == i ? t.pressed : t.hover);
    }
    // Dividers between two unselected segments, as the platform's segmented buttons draw them.
    if (i > 0 && !selected && i - 1 != selected_) {
      float x = paint::snap(r.x0) + 0.5f;
      canvas.fill_rect(Rect{x - 0.5f, r.y0 + 7, x + 0.5f, r.y1 - 7}, t.separator);
    }
    Color color = !enabled_ ? t.text_disabled : selected ? t.text : t.text_secondary;
    std::string label = elide_end(labels_[i], style, r.width() - 12);
    float w = TextRenderer::shared().measure(label, style).width;
    float x = r.x0 + (r.width() - w) / 2;
    TextRenderer::shared().draw_text_in(canvas, label, style, Rect{x, r.y0, x + w + 1, r.y1},
                                        color);
  }
  if (focused_ && focus_visibility::visible() && !labels_.empty()) {
    paint::focus_ring(canvas, segment_rect(selected_), radius - kInset, t);
  }
  mark_drawn();
}

EventResult ToggleGroup::handle_event(const Event& event) {
  focus_visibility::note(event);
  if (const auto* move = std::get_if<PointerMove>(&event)) {
    auto hit = segment_at(move->position);
    if (hit != hovered_) mark_dirty();
    hovered_ = hit;
    return EventResult::Ignored;
  }
  if (std::holds_alternative<PointerLeave>(event)) {
    if (hovered_) mark_dirty();
    hovered_.reset();
    return EventResult::Ignored;
  }
  if (const auto* press = std::get_if<PointerPress>(&event)) {
    if (press->button != PointerButton::Primary || !enabled_) return EventResult::Ignored;
    pressed_ = segment_at(press->position);
    if (!pressed_) return EventResult::Ignored;
    mark_dirty();
    return EventResult::Handled;
  }
  if (const auto* release = std::get_if<PointerRelease>(&event)) {
    if (release->button != PointerButton::Primary || !pressed_) return EventResult::Ignored;
    auto pressed = std::exchange(pressed_, std::nullopt);
    if (segment_at(release->position) == pressed) choose(*pressed);
    mark_dirty();
    return EventResult::Handled;
  }
  if (const auto* key = std::get_if<KeyPress>(&event)) {
    if (labels_.empty() || key->modifiers.primary || key->modifiers.alt)
      return EventResult::Ignored;
    std::size_t last = labels_.size() - 1;
    switch (key->key) {
      case Key::Left:
        return choose(selected_ == 0 ? 0 : selected_ - 1) ? EventResult::Handled
                                                          : EventResult::Ignored;
      case Key::Right:
        return choose(std::min(selected_ + 1, last)) ? EventResult::Handled : EventResult::Ignored;
      case Key::Home:
        return choose(0) ? EventResult::Handled : EventResult::Ignored;
      case Key::End:
        return choose(last) ? EventResult::Handled : EventResult::Ignored;
      default:
        return EventResult::Ignored;
    }
  }
  return EventResult::Ignored;
}

AccessNode ToggleGroup::accessibility() const {
  AccessNode node;
  node.role = AccessRole::Group;
  node.name = accessible_name_;
  node.bounds = rect_;
  node.states.disabled = !enabled_;
  for (std::size_t i = 0; i < labels_.size(); ++i) {
    AccessNode segment;
    segment.role = AccessRole::RadioButton;
    segment.name = labels_[i];
    segment.bounds = segment_rect(i);
    segment.states.checked = i == selected_;
    segment.states.selected = i == selected_;
    segment.states.focused = focused_ && i == selected_;
    segment.states.disabled = !enabled_;
    segment.position_in_set = static_cast<int>(i) + 1;
    segment.set_size = static_cast<int>(labels_.size());
    segment.default_action = segment_action(i);
    node.children.push_back(std::move(segment));
  }
  return node;
}

bool ToggleGroup::perform_semantic_action(const SemanticAction& action) {
  if (action.action != access_action::press) return false;
  for (std::size_t i = 0; i < labels_.size(); ++i) {
    if (action.target == segment_action(i)) return choose(i);
  }
  return false;
}

std::vector<ControlResource> ToggleGroup::resources() const {
  if (control_id_.empty()) return {};
  ControlResource resource{.kind = control::kSegmentedKind,
                           .control_id = control_id_,
                           .label = accessible_name_,
                           .enabled = enabled_,
                           .actions = {{.name = control::kSelectAction,
                                        .target = control::kSelectTarget,
                                        .title = "Select",
                                        .integer_argument = "index"}}};
  return {resource};
}

bool ToggleGroup::take_control_invocation(const ControlInvocation& invocation) {
  if (control_id_.empty() || invocation.control_id != control_id_) return false;
  if (invocation.action != control::kSelectAction && invocation.action != control::kSelectTarget) {
    return false;
  }
  if (!invocation.integer_argument || *invocation.integer_argument < 0) return false;
  return choose(static_cast<std::size_t>(*invocation.integer_argument));
}

void ToggleGroup::focus_changed(bool focused) {
  focused_ = focused;
  mark_dirty();
}

}  // namespace vask_ui
