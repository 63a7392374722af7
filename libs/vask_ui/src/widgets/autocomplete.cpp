#include "vask_ui/widgets/autocomplete.h"

#include <algorithm>
#include <cctype>

#include "vask_ui/text.h"

namespace vask_ui {
namespace {

constexpr float kRowHeight = 28;
constexpr float kPad = 4;
constexpr float kGap = 4;
constexpr float kMinWidth = 260;

std::string lower(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

}  // namespace

Autocomplete::Autocomplete() = default;

void Autocomplete::on_sync(const FrameContext& frame) {
  input_.sync(frame);
}

void Autocomplete::open(std::string text) {
  close();
  input_.set_text(std::move(text));
  focus_changed(true);
  refresh();
}

void Autocomplete::close() {
  popup_open_ = false;
  suggestions_.clear();
  highlighted_.reset();
  pressed_row_.reset();
  outcome_.reset();
  first_row_ = 0;
  mark_dirty();
}

std::optional<AutocompleteOutcome> Autocomplete::take_outcome() {
  return std::exchange(outcome_, std::nullopt);
}

void Autocomplete::refresh() {
  suggestions_ = source_ ? source_(input_.text()) : std::vector<Suggestion>{};
  popup_open_ = !suggestions_.empty();
  highlighted_.reset();
  first_row_ = 0;
  mark_dirty();
}

std::size_t Autocomplete::visible_rows() const {
  return std::min(suggestions_.size(), max_rows_);
}

void Autocomplete::highlight(std::optional<std::size_t> row) {
  highlighted_ = row;
  if (row) {
    std::size_t rows = visible_rows();
    if (*row < first_row_) first_row_ = *row;
    if (*row >= first_row_ + rows) first_row_ = *row + 1 - rows;
  }
  mark_dirty();
}

void Autocomplete::submit(std::string text) {
  popup_open_ = false;
  highlighted_.reset();
  outcome_ = AutocompleteOutcome{AutocompleteOutcome::Kind::Submitted, std::move(text)};
  mark_dirty();
}

bool Autocomplete::complete() {
  if (!popup_open_ || suggestions_.empty()) return false;
  std::string completion;
  if (highlighted_) {
    completion = suggestions_[*highlighted_].value;
  } else if (suggestions_.size() == 1) {
    completion = suggestions_.front().value;
  } else {
    // The longest prefix every suggestion shares, when it says more than the typed text.
    completion = suggestions_.front().value;
    for (const Suggestion& s : suggestions_) {
      std::size_t n = 0;
      while (n < completion.size() && n < s.value.size() && completion[n] == s.value[n])
        ++n;
      completion.resize(n);
    }
    const std::string& typed = input_.text();
    if (completion.size() <= typed.size() ||
        lower(completion.substr(0, typed.size())) != lower(typed)) {
      return true;  // Nothing to add; Tab still stays in the field while the popup is open.
    }
  }
  input_.set_text(completion);
  refresh();
  return true;
}

EventResult Autocomplete::handle_key(const KeyPress& key) {
  if (key.modifiers.primary || key.modifiers.alt) return after_input(input_.handle_event(key));
  const std::size_t count = suggestions_.size();
  switch (key.key) {
    case Key::Down:
      if (!popup_open_) {
        refresh();
      } else if (count > 0) {
        highlight(highlighted_ ? std::min(*highlighted_ + 1, count - 1) : 0);
      }
      return EventResult::Handled;
    case Key::Up:
      if (popup_open_ && count > 0) {
        if (!highlighted_) {
          highlight(count - 1);
        } else if (*highlighted_ == 0) {
          highlight(std::nullopt);  // back to what was typed
        } else {
          highlight(*highlighted_ - 1);
        }
      }
      return EventResult::Handled;
    case Key::PageDown:
    case Key::PageUp:
      if (popup_open_ && count > 0) {
        std::size_t page = visible_rows();
        std::size_t at = highlighted_.value_or(0);
        highlight(key.key == Key::PageDown ? std::min(at + page, count - 1)
                                           : (at > page ? at - page : 0));
      }
      return EventResult::Handled;
    case Key::Enter:
      if (popup_open_ && highlighted_) {
        std::string value = suggestions_[*highlighted_].value;
        input_.set_text(value);
        submit(std::move(value));
      } else {
        submit(input_.text());
      }
      return EventResult::Handled;
    case Key::Escape:
      if (popup_open_) {
        popup_open_ = false;
        highlighted_.reset();
        mark_dirty();
      } else {
        outcome_ = AutocompleteOutcome{AutocompleteOutcome::Kind::Cancelled, input_.text()};
      }
      return EventResult::Handled;
    case Key::Tab:
      if (key.modifiers.shift) return EventResult::Ignored;
      return complete() ? EventResult::Handled : EventResult::Ignored;
    default:
      return after_input(input_.handle_event(key));
  }
}

EventResult Autocomplete::after_input(EventResult result) {
  if (input_.take_edited()) refresh();
  if (input_.needs_redraw()) mark_dirty();
  return result;
}

EventResult Autocomplete::handle_event(const Event& event) {
  if (const auto* key = std::get_if<KeyPress>(&event)) return handle_key(*key);
  if (const auto* move = std::get_if<PointerMove>(&event)) {
    if (auto row = row_at(move->position)) {
      if (row != highlighted_) highlight(row);
      return EventResult::Handled;
    }
    return after_input(input_.handle_event(event));
  }
  if (const auto* press = std::get_if<PointerPress>(&event)) {
    if (popup_open_ && popup_rect().contains(press->position)) {
      pressed_row_ = row_at(press->position);
      return EventResult::Handled;
    }
    if (field_.contains(press->position)) return after_input(input_.handle_event(event));
    // A press elsewhere ends the edit and still does its own job where it landed.
    popup_open_ = false;
    outcome_ = AutocompleteOutcome{AutocompleteOutcome::Kind::Closed, input_.text()};
    mark_dirty();
    return EventResult::Ignored;
  }
  if (const auto* release = std::get_if<PointerRelease>(&event)) {
    if (pressed_row_) {
      auto pressed = std::exchange(pressed_row_, std::nullopt);
      if (row_at(release->position) == pressed) {
        std::string value = suggestions_[*pressed].value;
        input_.set_text(value);
        submit(std::move(value));
      }
      return EventResult::Handled;
    }
    return after_input(input_.handle_event(event));
  }
  if (const auto* wheel = std::get_if<Wheel>(&event)) {
    if (!popup_open_ || !popup_rect().contains(wheel->position)) return EventResult::Ignored;
    std::size_t rows = visible_rows();
    std::size_t last_first = suggestions_.size() - rows;
    float lines = wheel->unit == WheelUnit::Lines ? wheel->dy : wheel->dy / kRowHeight;
    long step = static_cast<long>(lines > 0 ? std::max(1.0f, lines) : std::min(-1.0f, lines));
    long first = static_cast<long>(first_row_) - step;
    first_row_ = static_cast<std::size_t>(std::clamp(first, 0L, static_cast<long>(last_first)));
    mark_dirty();
    return EventResult::Handled;
  }
  return after_input(input_.handle_event(event));
}

Rect Autocomplete::popup_rect() const {
  if (!popup_open_ || suggestions_.empty()) return {};
  Size window = window_size();
  float width = std::max(field_.width(), kMinWidth);
  float x = field_.x0;
  if (window.width > 0) {
    width = std::min(width, window.width - 8);
    x = std::clamp(x, 4.0f, std::max(4.0f, window.width - 4 - width));
  }
  float height = static_cast<float>(visible_rows()) * kRowHeight + 2 * kPad;
  float below = field_.y1 + kGap;
  if (window.height > 0 && below + height > window.height - 4) {
    float room_above = field_.y0 - kGap - 4;
    if (room_above > window.height - 4 - below) {
      height = std::min(height, room_above);
      return Rect::from_xywh(x, field_.y0 - kGap - height, width, height);
    }
    height = std::max(kRowHeight + 2 * kPad, window.height - 4 - below);
  }
  return Rect::from_xywh(x, below, width, height);
}

std::optional<std::size_t> Autocomplete::row_at(Point position) const {
  Rect popup = popup_rect();
  if (!popup.contains(position)) return std::nullopt;
  float y = position.y - popup.y0 - kPad;
  if (y < 0) return std::nullopt;
  auto row = first_row_ + static_cast<std::size_t>(y / kRowHeight);
  if (row >= suggestions_.size() || row >= first_row_ + visible_rows()) return std::nullopt;
  return row;
}

LayoutNode Autocomplete::build_layout(Size available) {
  return input_.build_layout(available);
}

void Autocomplete::apply_layout(const LayoutResult& layout) {
  input_.apply_layout(layout);
  field_ = layout.rect(0);
}

void Autocomplete::draw(Canvas& canvas) {
  input_.draw(canvas);
  mark_drawn();
}

void Autocomplete::draw_overlay(Canvas& canvas) {
  Rect popup = popup_rect();
  if (popup.is_empty()) return;
  const Theme& t = theme();
  surface::draw_panel(canvas, popup, chrome::shell::panel_shadow(t));
  canvas.push_clip(popup);
  TextStyle style{t.font_size};
  std::size_t rows = visible_rows();
  for (std::size_t i = 0; i < rows && first_row_ + i < suggestions_.size(); ++i) {
    std::size_t index = first_row_ + i;
    const Suggestion& s = suggestions_[index];
    Rect row =
        Rect::from_xywh(popup.x0 + kPad, popup.y0 + kPad + static_cast<float>(i) * kRowHeight,
                        popup.width() - 2 * kPad, kRowHeight);
    if (highlighted_ == index) canvas.fill_rounded_rect(row, t.corner_radius - 3, t.selection);
    float x = row.x0 + 8;
    if (s.icon) {
      icons::draw_icon(canvas, *s.icon, Rect::from_xywh(x, row.center().y - 8, 16, 16), t.icon,
                       1.5f);
      x += 24;
    }
    std::string label = elide_middle(s.label, style, row.x1 - 8 - x);
    TextRenderer::shared().draw_text_in(canvas, label, style, Rect{x, row.y0, row.x1 - 8, row.y1},
                                        t.text);
  }
  if (suggestions_.size() > rows) {
    // A thin position marker, so people see that the list goes on.
    float track = popup.height() - 2 * kPad;
    float thumb =
        std::max(16.0f, track * static_cast<float>(rows) / static_cast<float>(suggestions_.size()));
    float top = popup.y0 + kPad +
                (track - thumb) * static_cast<float>(first_row_) /
                    static_cast<float>(suggestions_.size() - rows);
    canvas.fill_rounded_rect(Rect{popup.x1 - 6, top, popup.x1 - 3, top + thumb}, 1.5f,
                             t.text.with_alpha(0.3f));
  }
  canvas.pop_clip();
}

AccessNode Autocomplete::accessibility() const {
  AccessNode field = input_.accessibility();
  AccessNode node;
  node.role = AccessRole::ComboBox;
  node.name = field.name;
  node.description = field.description;
  node.value = field.value;
  node.bounds = field_;
  node.states.focused = focused_;
  node.states.expanded = popup_open_;
  if (popup_open_) {
    AccessNode list;
    list.role = AccessRole::List;
    list.bounds = popup_rect();
    for (std::size_t i = 0; i < suggestions_.size(); ++i) {
      AccessNode item;
      item.role = AccessRole::ListItem;
      item.name = suggestions_[i].label;
      item.states.selected = highlighted_ == i;
      item.position_in_set = static_cast<int>(i) + 1;
      item.set_size = static_cast<int>(suggestions_.size());
      if (i >= first_row_ && i < first_row_ + visible_rows()) {
        Rect p = list.bounds;
        item.bounds = Rect::from_xywh(p.x0 + kPad,
                                      p.y0 + kPad + static_cast<float>(i - first_row_) * kRowHeight,
                                      p.width() - 2 * kPad, kRowHeight);
      }
      list.children.push_back(std::move(item));
    }
    node.children.push_back(std::move(list));
  }
  return node;
}

bool Autocomplete::needs_redraw() const {
  return WidgetBase::needs_redraw() || input_.needs_redraw();
}

std::optional<TimePoint> Autocomplete::next_wake_deadline() const {
  return input_.next_wake_deadline();
}

CursorShape Autocomplete::cursor_shape(Point position) const {
  if (popup_rect().contains(position)) return CursorShape::Arrow;
  return input_.cursor_shape(position);
}

void Autocomplete::focus_changed(bool focused) {
  if (focused_ && !focused && !outcome_) {
    popup_open_ = false;
    outcome_ = AutocompleteOutcome{AutocompleteOutcome::Kind::Closed, input_.text()};
  }
  focused_ = focused;
  input_.focus_changed(focused);
  mark_dirty();
}

std::optional<Rect> Autocomplete::input_caret_rect() const {
  return input_.input_caret_rect();
}

}  // namespace vask_ui
