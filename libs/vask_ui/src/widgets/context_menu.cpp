#include "vask_ui/widgets/context_menu.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "paint.h"
#include "vask_ui/text.h"

namespace vask_ui {
namespace {

constexpr float kItemHeight = 28;
constexpr float kSeparatorHeight = 9;
constexpr float kPadY = 5;
constexpr float kPadX = 4;
constexpr float kMinWidth = 180;
constexpr float kMaxWidth = 420;
constexpr float kMargin = 4;
constexpr float kCheckGutter = 30;
constexpr float kPlainGutter = 12;
constexpr float kTextRight = 16;
constexpr float kChevronWidth = 16;
// Pointer travel after opening that counts as the user reaching into the menu.
constexpr float kArmDistance = 3;

char first_letter(std::string_view label) {
  for (char c : label) {
    if (std::isalnum(static_cast<unsigned char>(c)))
      return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return 0;
}

}  // namespace

std::string ContextMenuBase::item_action(std::size_t index) const {
  return instance_id("vask.menu:") + "#" + std::to_string(index);
}

void ContextMenuBase::push_entry(std::string label, bool has_command, CheckState check,
                                 bool submenu) {
  entries_.push_back(Entry{std::move(label), has_command, check, submenu});
  mark_dirty();
}

void ContextMenuBase::clear() {
  entries_.clear();
  clear_commands();
  close();
  chosen_.reset();
}

bool ContextMenuBase::has_checks() const {
  return std::any_of(entries_.begin(), entries_.end(),
                     [](const Entry& e) { return e.check != CheckState::None; });
}

bool ContextMenuBase::has_submenus() const {
  return std::any_of(entries_.begin(), entries_.end(), [](const Entry& e) { return e.submenu; });
}

float ContextMenuBase::content_height() const {
  float h = 2 * kPadY;
  for (const Entry& e : entries_)
    h += e.is_separator() ? kSeparatorHeight : kItemHeight;
  return h;
}

Size ContextMenuBase::measure() const {
  TextStyle style{theme().font_size};
  float widest = 0;
  for (const Entry& e : entries_) {
    if (!e.label.empty())
      widest = std::max(widest, TextRenderer::shared().measure(e.label, style).width);
  }
  float width = widest + (has_checks() ? kCheckGutter : kPlainGutter) + kTextRight +
                (has_submenus() ? kChevronWidth : 0) + 2 * kPadX;
  return {std::clamp(std::ceil(width), kMinWidth, kMaxWidth), content_height()};
}

void ContextMenuBase::place(Rect rect) {
  rect_ = rect;
  open_ = true;
  scroll_ = 0;
  highlighted_.reset();
  chosen_.reset();
  armed_ = false;
  mark_dirty();
}

void ContextMenuBase::open_at(Point anchor, Rect bounds) {
  Size size = measure();
  size.width = std::min(size.width, std::max(kMinWidth / 2, bounds.width() - 2 * kMargin));
  size.height =
      std::min(size.height, std::max(kItemHeight + 2 * kPadY, bounds.height() - 2 * kMargin));
  float x = anchor.x;
  if (x + size.width > bounds.x1 - kMargin) x = anchor.x - size.width;  // open towards the left
  x = std::clamp(x, bounds.x0 + kMargin,
                 std::max(bounds.x0 + kMargin, bounds.x1 - kMargin - size.width));
  float y = anchor.y;
  if (y + size.height > bounds.y1 - kMargin) y = anchor.y - size.height;  // open upwards
  y = std::clamp(y, bounds.y0 + kMargin,
                 std::max(bounds.y0 + kMargin, bounds.y1 - kMargin - size.height));
  opened_at_ = anchor;
  place(Rect::from_xywh(x, y, size.width, size.height));
}

void ContextMenuBase::open_at(Point anchor) {
  Size window = window_size();
  if (window.width <= 0 || window.height <= 0) window = {1e6f, 1e6f};
  open_at(anchor, Rect::from_xywh(0, 0, window.width, window.height));
}

void ContextMenuBase::open_beside(Rect item, Rect bounds) {
  Size size = measure();
  size.width = std::min(size.width, std::max(kMinWidth / 2, bounds.width() - 2 * kMargin));
  size.height =
      std::min(size.height, std::max(kItemHeight + 2 * kPadY, bounds.height() - 2 * kMargin));
  // The submenu's first entry lines up with the entry that opened it.
  float x = item.x1 + kPadX;
  if (x + size.width > bounds.x1 - kMargin) x = item.x0 - kPadX - size.width;
  x = std::clamp(x, bounds.x0 + kMargin,
                 std::max(bounds.x0 + kMargin, bounds.x1 - kMargin - size.width));
  float y = item.y0 - kPadY;
  y = std::clamp(y, bounds.y0 + kMargin,
                 std::max(bounds.y0 + kMargin, bounds.y1 - kMargin - size.height));
  opened_at_ = {x, y};
  place(Rect::from_xywh(x, y, size.width, size.height));
}

void ContextMenuBase::close() {
  if (!open_) return;
  open_ = false;
  highlighted_.reset();
  armed_ = false;
  mark_dirty();
}

float ContextMenuBase::item_top(std::size_t index) const {
  float y = kPadY;
  for (std::size_t i = 0; i < index && i < entries_.size(); ++i)
    y += entries_[i].is_separator() ? kSeparatorHeight : kItemHeight;
  return y;
}

Rect ContextMenuBase::item_rect(std::size_t index) const {
  if (index >= entries_.size()) return {};
  float top = rect_.y0 + item_top(index) - scroll_;
  float h = entries_[index].is_separator() ? kSeparatorHeight : kItemHeight;
  return Rect{rect_.x0 + kPadX, top, rect_.x1 - kPadX, top + h};
}

std::optional<std::size_t> ContextMenuBase::item_at(Point position) const {
  if (!open_ || !rect_.contains(position)) return std::nullopt;
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    if (item_rect(i).contains(position)) return i;
  }
  return std::nullopt;
}

std::optional<std::size_t> ContextMenuBase::take_chosen_index() {
  return std::exchange(chosen_, std::nullopt);
}

void ContextMenuBase::choose(std::size_t index) {
  if (index >= entries_.size() || !entries_[index].is_active()) return;
  chosen_ = index;
  close();
}

void ContextMenuBase::set_highlight(std::optional<std::size_t> index) {
  if (index == highlighted_) return;
  highlighted_ = index;
  if (index) {
    // Keep the highlighted entry in view when the menu scrolls.
    float top = item_top(*index);
    float bottom = top + kItemHeight;
    float view = rect_.height();
    if (top - kPadY < scroll_) scroll_ = std::max(0.0f, top - kPadY);
    if (bottom + kPadY > scroll_ + view) scroll_ = bottom + kPadY - view;
  }
  mark_dirty();
}

void ContextMenuBase::highlight_first() {
  set_highlight(step(std::nullopt, 1));
}

std::optional<std::size_t> ContextMenuBase::step(std::optional<std::size_t> from,
                                                 int direction) const {
  const auto n = entries_.size();
  if (n == 0) return std::nullopt;
  std::size_t at = from ? *from : (direction > 0 ? n - 1 : 0);
  for (std::size_t k = 0; k < n; ++k) {
    at = direction > 0 ? (at + 1) % n : (at + n - 1) % n;
    if (entries_[at].is_active()) return at;
  }
  return std::nullopt;
}

void ContextMenuBase::scroll_by(float dy) {
  float max_scroll = std::max(0.0f, content_height() - rect_.height());
  scroll_ = std::clamp(scroll_ + dy, 0.0f, max_scroll);
  mark_dirty();
}

EventResult ContextMenuBase::handle_key(const KeyPress& key) {
  switch (key.key) {
    case Key::Down:
      set_highlight(step(highlighted_, 1));
      break;
    case Key::Up:
      set_highlight(step(highlighted_, -1));
      break;
    case Key::Home:
      set_highlight(step(std::nullopt, 1));
      break;
    case Key::End:
      set_highlight(step(std::nullopt, -1));
      break;
    case Key::Enter:
    case Key::Space:
      if (highlighted_) choose(*highlighted_);
      break;
    case Key::Right:
      if (highlighted_ && entries_[*highlighted_].submenu) choose(*highlighted_);
      break;
    case Key::Escape:
    case Key::Menu:
      close();
      break;
    case Key::Character: {
      if (key.modifiers.primary || key.text.empty()) break;
      char wanted = static_cast<char>(std::tolower(static_cast<unsigned char>(key.text[0])));
      std::optional<std::size_t> at = highlighted_;
      for (std::size_t k = 0; k < entries_.size(); ++k) {
        at = step(at, 1);
        if (!at) break;
        if (first_letter(entries_[*at].label) == wanted) {
          set_highlight(at);
          break;
        }
      }
      break;
    }
    default:
      break;
  }
  return EventResult::Handled;
}

EventResult ContextMenuBase::handle_event(const Event& event) {
  if (!open_) return EventResult::Ignored;
  focus_visibility::note(event);
  if (const auto* key = std::get_if<KeyPress>(&event)) return handle_key(*key);
  if (const auto* move = std::get_if<PointerMove>(&event)) {
    float dx = move->position.x - opened_at_.x;
    float dy = move->position.y - opened_at_.y;
    if (rect_.contains(move->position) && dx * dx + dy * dy > kArmDistance * kArmDistance)
      armed_ = true;
    auto item = item_at(move->position);
    if (item && entries_[*item].is_active()) {
      set_highlight(item);
    } else if (!rect_.contains(move->position) || item) {
      set_highlight(std::nullopt);
    }
    return EventResult::Handled;
  }
  if (const auto* press = std::get_if<PointerPress>(&event)) {
    if (!rect_.contains(press->position)) {
      close();  // The press that dismisses a menu does nothing else.
      return EventResult::Handled;
    }
    armed_ = true;
    return EventResult::Handled;
  }
  if (const auto* release = std::get_if<PointerRelease>(&event)) {
    if (armed_) {
      if (auto item = item_at(release->position)) choose(*item);
    }
    return EventResult::Handled;
  }
  if (const auto* wheel = std::get_if<Wheel>(&event)) {
    if (rect_.contains(wheel->position)) {
      scroll_by(wheel->unit == WheelUnit::Lines ? -wheel->dy * kItemHeight : -wheel->dy);
    }
    return EventResult::Handled;
  }
  if (std::holds_alternative<PointerLeave>(event)) {
    set_highlight(std::nullopt);
    return EventResult::Ignored;
  }
  return EventResult::Handled;  // Text and key releases go nowhere while the menu is open.
}

LayoutNode ContextMenuBase::build_layout(Size) {
  // The menu floats above the window and places itself when it opens.
  return LayoutNode{.id = 0,
                    .style = {.width = Dimension::points(0), .height = Dimension::points(0)}};
}

void ContextMenuBase::apply_layout(const LayoutResult&) {}

void ContextMenuBase::draw(Canvas&) {
  mark_drawn();
}

void ContextMenuBase::draw_overlay(Canvas& canvas) {
  if (!open_) return;
  const Theme& t = theme();
  surface::draw_panel(canvas, rect_, chrome::shell::panel_shadow(t));
  canvas.push_clip_rounded(rect_, t.corner_radius);
  TextStyle style{t.font_size};
  float gutter = has_checks() ? kCheckGutter : kPlainGutter;
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    Rect r = item_rect(i);
    if (r.y1 < rect_.y0 || r.y0 > rect_.y1) continue;
    const Entry& e = entries_[i];
    if (e.is_separator()) {
      float y = paint::snap(r.center().y);
      canvas.fill_rect(Rect{r.x0 + 6, y, r.x1 - 6, y + 1}, chrome::shell::separator(t));
      continue;
    }
    if (highlighted_ == i) canvas.fill_rounded_rect(r, t.corner_radius - 3, t.selection);
    Color color = e.is_active() ? t.text : t.text_disabled;
    if (e.check == CheckState::Ticked) {
      paint::check_mark(canvas, Rect::from_xywh(r.x0 + 7, r.center().y - 8, 16, 16), color);
    }
    float right = r.x1 - kTextRight + 6 - (e.submenu ? kChevronWidth : 0);
    std::string label = elide_end(e.label, style, right - (r.x0 + gutter));
    TextRenderer::shared().draw_text_in(canvas, label, style,
                                        Rect{r.x0 + gutter, r.y0, right, r.y1}, color);
    if (e.submenu) {
      paint::chevron_right(canvas, Rect::from_xywh(r.x1 - 8 - 12, r.center().y - 6, 12, 12),
                           e.is_active() ? t.text_secondary : t.text_disabled);
    }
  }
  if (content_height() > rect_.height() + 0.5f) {
    float track = rect_.height() - 2 * kPadY;
    float thumb = std::max(18.0f, track * rect_.height() / content_height());
    float max_scroll = content_height() - rect_.height();
    float top = rect_.y0 + kPadY + (track - thumb) * scroll_ / max_scroll;
    canvas.fill_rounded_rect(Rect{rect_.x1 - 5, top, rect_.x1 - 2, top + thumb}, 1.5f,
                             t.text.with_alpha(0.3f));
  }
  canvas.pop_clip();
}

AccessNode ContextMenuBase::accessibility() const {
  AccessNode node;
  node.role = AccessRole::Menu;
  if (!open_) return node;
  node.bounds = rect_;
  int items = static_cast<int>(std::count_if(entries_.begin(), entries_.end(),
                                             [](const Entry& e) { return !e.is_separator(); }));
  int position = 0;
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    const Entry& e = entries_[i];
    AccessNode child;
    child.bounds = item_rect(i);
    if (e.is_separator()) {
      child.role = AccessRole::Separator;
      node.children.push_back(std::move(child));
      continue;
    }
    child.role = AccessRole::MenuItem;
    child.name = e.label;
    child.states.disabled = !e.is_active();
    child.states.checked = e.check == CheckState::Ticked;
    child.states.selected = highlighted_ == i;
    child.states.focused = highlighted_ == i;
    child.position_in_set = ++position;
    child.set_size = items;
    if (e.is_active()) child.default_action = item_action(i);
    node.children.push_back(std::move(child));
  }
  return node;
}

bool ContextMenuBase::perform_semantic_action(const SemanticAction& action) {
  if (!open_ || action.action != access_action::press) return false;
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    if (action.target == item_action(i) && entries_[i].is_active()) {
      choose(i);
      return true;
    }
  }
  return false;
}

}  // namespace vask_ui
