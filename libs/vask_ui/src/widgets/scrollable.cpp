#include "vask_ui/widgets/scrollable.h"

#include <algorithm>

namespace vask_ui {
namespace {

constexpr float kBarWidth = 10;
constexpr float kBarInset = 2;
constexpr float kMinThumb = 24;
// A page keeps a little of the previous one in view so the reader does not lose the line.
constexpr float kPageFraction = 0.9f;

}  // namespace

ScrollMemory& ScrollMemory::shared() {
  static ScrollMemory memory;
  return memory;
}

float ScrollMemory::offset(std::string_view key) const {
  auto it = offsets_.find(key);
  return it == offsets_.end() ? 0 : it->second;
}

void ScrollMemory::set(std::string_view key, float offset) {
  auto it = offsets_.find(key);
  if (it == offsets_.end()) {
    offsets_.emplace(std::string(key), offset);
  } else {
    it->second = offset;
  }
}

Scrollable::Scrollable(std::string key, WidgetSlot content, ScrollMemory& memory)
    : key_(std::move(key)), content_(std::move(content)), memory_(memory) {}

void Scrollable::set_content(WidgetSlot content) {
  content_ = std::move(content);
  clear_child_rects();
  mark_dirty();
}

std::vector<Widget*> Scrollable::children() const {
  if (!content_) return {};
  return {content_.get()};
}

float Scrollable::offset() const {
  return memory_.offset(key_);
}

float Scrollable::max_offset() const {
  return std::max(0.0f, content_height_ - viewport_.height());
}

void Scrollable::set_offset(float offset) {
  float clamped = std::clamp(offset, 0.0f, max_offset());
  if (clamped == memory_.offset(key_) && content_rect_.y0 == viewport_.y0 - clamped) return;
  memory_.set(key_, clamped);
  layout_content();
  mark_dirty();
}

void Scrollable::reveal(float top, float bottom) {
  float view = viewport_.height();
  float at = offset();
  if (bottom - at > view) at = bottom - view;
  if (top < at) at = top;
  set_offset(at);
}

LayoutNode Scrollable::build_layout(Size) {
  return LayoutNode{.id = 0, .style = {.grow = 1, .shrink = 1}};
}

void Scrollable::apply_layout(const LayoutResult& layout) {
  viewport_ = layout.rect(0);
  layout_content();
}

void Scrollable::layout_content() {
  clear_child_rects();
  if (!content_) {
    content_height_ = 0;
    content_rect_ = {};
    return;
  }
  LayoutNode tree = content_->build_layout(viewport_.size());
  content_height_ = std::max(measure_layout(tree).height, viewport_.height());
  float at = std::clamp(memory_.offset(key_), 0.0f, max_offset());
  memory_.set(key_, at);
  content_rect_ =
      Rect{viewport_.x0, viewport_.y0 - at, viewport_.x1, viewport_.y0 - at + content_height_};
  content_->apply_layout(compute_layout(tree, content_rect_));
  set_child_rect(content_.get(), viewport_);
}

Rect Scrollable::scroll_bar_rect() const {
  if (!scrollable()) return {};
  return Rect{viewport_.x1 - kBarWidth - kBarInset, viewport_.y0 + kBarInset,
              viewport_.x1 - kBarInset, viewport_.y1 - kBarInset};
}

Rect Scrollable::thumb_rect() const {
  Rect track = scroll_bar_rect();
  if (track.is_empty()) return {};
  float length = std::max(kMinThumb, track.height() * viewport_.height() / content_height_);
  length = std::min(length, track.height());
  float travel = track.height() - length;
  float top = track.y0 + (max_offset() > 0 ? travel * offset() / max_offset() : 0);
  return Rect{track.x0, top, track.x1, top + length};
}

bool Scrollable::scroll_by(float delta) {
  float before = offset();
  set_offset(before + delta);
  return offset() != before;
}

EventResult Scrollable::handle_event(const Event& event) {
  focus_visibility::note(event);
  if (const auto* press = std::get_if<PointerPress>(&event)) {
    if (press->button == PointerButton::Primary && scroll_bar_rect().contains(press->position)) {
      Rect thumb = thumb_rect();
      if (thumb.contains(press->position)) {
        dragging_ = true;
        drag_start_y_ = press->position.y;
        drag_start_offset_ = offset();
      } else {
        float page = viewport_.height() * kPageFraction;
        scroll_by(press->position.y < thumb.y0 ? -page : page);
      }
      mark_dirty();
      return EventResult::Handled;
    }
  }
  if (const auto* move = std::get_if<PointerMove>(&event)) {
    if (dragging_) {
      Rect track = scroll_bar_rect();
      float travel = track.height() - thumb_rect().height();
      if (travel > 0) {
        set_offset(drag_start_offset_ + (move->position.y - drag_start_y_) * max_offset() / travel);
      }
      return EventResult::Handled;
    }
    bool over = scroll_bar_rect().contains(move->position);
    if (over != bar_hovered_) {
      bar_hovered_ = over;
      mark_dirty();
    }
    if (over) return EventResult::Handled;
  }
  if (const auto* release = std::get_if<PointerRelease>(&event)) {
    if (dragging_ && release->button == PointerButton::Primary) {
      dragging_ = false;
      mark_dirty();
      return EventResult::Handled;
    }
  }
  if (std::holds_alternative<PointerLeave>(event) && bar_hovered_) {
    bar_hovered_ = false;
    mark_dirty();
  }
  EventResult result = route(event);
  if (result == EventResult::Handled) return result;
  if (const auto* wheel = std::get_if<Wheel>(&event)) {
    if (wheel->dy == 0 || !viewport_.contains(wheel->position)) return EventResult::Ignored;
    // Turning the wheel away from the user scrolls towards the top.
    float delta = wheel->unit == WheelUnit::Lines ? -wheel->dy * kLineStep : -wheel->dy;
    return scroll_by(delta) ? EventResult::Handled : EventResult::Ignored;
  }
  if (const auto* key = std::get_if<KeyPress>(&event)) {
    if (key->modifiers.primary || key->modifiers.alt) return result;
    float page = viewport_.height() * kPageFraction;
    if (key->key == Key::PageDown)
      return scroll_by(page) ? EventResult::Handled : EventResult::Ignored;
    if (key->key == Key::PageUp)
      return scroll_by(-page) ? EventResult::Handled : EventResult::Ignored;
  }
  return result;
}

void Scrollable::draw(Canvas& canvas) {
  if (content_) {
    canvas.push_clip(viewport_);
    content_->draw(canvas);
    canvas.pop_clip();
  }
  Rect thumb = thumb_rect();
  if (!thumb.is_empty()) {
    const Theme& t = theme();
    bool wide = bar_hovered_ || dragging_;
    Rect track = scroll_bar_rect();
    if (wide) canvas.fill_rounded_rect(track, track.width() / 2, t.text.with_alpha(0.06f));
    float inset = wide ? 1.5f : 3;
    Rect shown{thumb.x0 + inset, thumb.y0, thumb.x1 - (wide ? 1.5f : 1), thumb.y1};
    float alpha = dragging_ ? 0.55f : wide ? 0.42f : 0.30f;
    canvas.fill_rounded_rect(shown, shown.width() / 2, t.text.with_alpha(alpha));
  }
  mark_drawn();
}

CursorShape Scrollable::cursor_shape(Point position) const {
  if (dragging_ || scroll_bar_rect().contains(position)) return CursorShape::Arrow;
  return Container::cursor_shape(position);
}

AccessNode Scrollable::own_access_node() const {
  AccessNode node;
  node.role = AccessRole::Pane;
  node.bounds = viewport_;
  return node;
}

}  // namespace vask_ui
