#include "vask_ui/widgets/text_input.h"

#include <algorithm>
#include <cmath>

#include "../utf8.h"
#include "paint.h"
#include "vask_ui/clipboard.h"
#include "vask_ui/clock.h"
#include "vask_ui/gesture.h"
#include "vask_ui/text.h"

namespace vask_ui {
namespace {

constexpr auto kBlinkHalfPeriod = std::chrono::milliseconds(530);
// Like the platform's fields, the caret stops blinking after a while so an idle window sleeps.
constexpr auto kBlinkFor = std::chrono::seconds(10);
constexpr float kCaretWidth = 1.5f;

/// One line of text as a single-line field holds it: line breaks and tabs become spaces, other
/// control characters are dropped.
std::string single_line(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    if (c == '\n' || c == '\r' || c == '\t') {
      out.push_back(' ');
    } else if (c >= 0x20 && c != 0x7F) {
      out.push_back(static_cast<char>(c));
    }
  }
  return out;
}

bool is_letter(const KeyPress& key, char lower) {
  return key.key == Key::Character && key.text.size() == 1 &&
         (key.text[0] == lower || key.text[0] == lower - 'a' + 'A');
}

}  // namespace

TextInput::TextInput() : blink_epoch_(ui_clock::now()) {}

TextStyle TextInput::style() const {
  return TextStyle{theme().font_size};
}

Rect TextInput::inner_rect() const {
  return rect_.inset(Insets::symmetric(framed_ ? 9 : 2, 0));
}

void TextInput::set_text(std::string text) {
  text_ = single_line(text);
  caret_ = anchor_ = text_.size();
  undo_.reset();
  redo_.reset();
  last_edit_ = EditKind::None;
  preedit_.clear();
  keep_caret_visible();
  mark_dirty();
}

void TextInput::set_placeholder(std::string placeholder) {
  placeholder_ = std::move(placeholder);
  mark_dirty();
}

void TextInput::set_framed(bool framed) {
  framed_ = framed;
  mark_dirty();
}

std::string TextInput::selected_text() const {
  return text_.substr(selection_start(), selection_end() - selection_start());
}

std::size_t TextInput::snap(std::size_t offset) const {
  offset = std::min(offset, text_.size());
  while (offset > 0 && offset < text_.size() &&
         (static_cast<unsigned char>(text_[offset]) & 0xC0) == 0x80) {
    --offset;
  }
  return offset;
}

void TextInput::set_selection(std::size_t anchor, std::size_t caret) {
  anchor_ = snap(anchor);
  caret_ = snap(caret);
  last_edit_ = EditKind::None;
  keep_caret_visible();
  mark_dirty();
}

void TextInput::select_all() {
  set_selection(0, text_.size());
}

bool TextInput::take_edited() {
  return std::exchange(edited_, false);
}

void TextInput::restart_blink() {
  blink_epoch_ = ui_clock::now();
}

void TextInput::measure_stops() {
  if (measured_text_ == text_ && !stop_offsets_.empty()) return;
  stop_offsets_.clear();
  stop_x_.clear();
  TextStyle s = style();
  for (std::size_t pos = 0;;) {
    stop_offsets_.push_back(pos);
    stop_x_.push_back(
        pos == 0 ? 0
                 : TextRenderer::shared().measure(std::string_view(text_).substr(0, pos), s).width);
    if (pos >= text_.size()) break;
    pos = utf8::next_stop(text_, pos);
  }
  measured_text_ = text_;
}

float TextInput::x_of(std::size_t offset) const {
  const_cast<TextInput*>(this)->measure_stops();
  auto it = std::lower_bound(stop_offsets_.begin(), stop_offsets_.end(), offset);
  std::size_t i = it == stop_offsets_.end() ? stop_offsets_.size() - 1
                                            : static_cast<std::size_t>(it - stop_offsets_.begin());
  return inner_rect().x0 - scroll_x_ + stop_x_[i];
}

std::size_t TextInput::offset_at(float x) const {
  const_cast<TextInput*>(this)->measure_stops();
  float local = x - inner_rect().x0 + scroll_x_;
  auto it = std::lower_bound(stop_x_.begin(), stop_x_.end(), local);
  if (it == stop_x_.begin()) return 0;
  if (it == stop_x_.end()) return text_.size();
  auto i = static_cast<std::size_t>(it - stop_x_.begin());
  // The nearer of the two stops around the point.
  return local - stop_x_[i - 1] < stop_x_[i] - local ? stop_offsets_[i - 1] : stop_offsets_[i];
}

void TextInput::keep_caret_visible() {
  if (rect_.is_empty()) return;
  measure_stops();
  float width = inner_rect().width();
  float caret = x_of(caret_) - inner_rect().x0 + scroll_x_;
  float total = stop_x_.back();
  if (caret - scroll_x_ > width - kCaretWidth) scroll_x_ = caret - width + kCaretWidth;
  if (caret < scroll_x_) scroll_x_ = caret;
  if (total - scroll_x_ < width - kCaretWidth)
    scroll_x_ = std::max(0.0f, total - width + kCaretWidth);
}

void TextInput::remember_for_undo(EditKind kind) {
  // A run of typed characters (or of deletions) is one edit to take back, as people expect.
  bool continues_run =
      kind == last_edit_ && (kind == EditKind::Typing || kind == EditKind::Deleting);
  if (!continues_run || !undo_) undo_ = Snapshot{text_, caret_, anchor_};
  redo_.reset();
  last_edit_ = kind;
}

void TextInput::edited() {
  edited_ = true;
  keep_caret_visible();
  restart_blink();
  mark_dirty();
  if (on_edit_) on_edit_();
}

void TextInput::insert(std::string_view text, EditKind kind) {
  std::string clean = single_line(text);
  if (clean.empty() && !has_selection()) return;
  remember_for_undo(kind);
  std::size_t start = selection_start();
  text_.replace(start, selection_end() - start, clean);
  caret_ = anchor_ = start + clean.size();
  edited();
}

void TextInput::erase(std::size_t from, std::size_t to, EditKind kind) {
  if (from >= to) return;
  remember_for_undo(kind);
  text_.erase(from, to - from);
  caret_ = anchor_ = from;
  edited();
}

void TextInput::move_caret(std::size_t to, bool extend) {
  caret_ = snap(to);
  if (!extend) anchor_ = caret_;
  last_edit_ = EditKind::None;
  restart_blink();
  keep_caret_visible();
  mark_dirty();
}

void TextInput::copy_selection() const {
  if (has_selection()) (void)text_selection::clipboard_copy(selected_text());
}

void TextInput::step_history(std::optional<Snapshot>& from, std::optional<Snapshot>& to) {
  if (!from) return;
  to = Snapshot{text_, caret_, anchor_};
  text_ = std::move(from->text);
  caret_ = from->caret;
  anchor_ = from->anchor;
  from.reset();
  last_edit_ = EditKind::None;
  edited();
}

EventResult TextInput::handle_key(const KeyPress& key) {
  const bool shift = key.modifiers.shift;
  const bool primary = key.modifiers.primary;
  if (key.modifiers.alt) return EventResult::Ignored;
  switch (key.key) {
    case Key::Left:
      if (has_selection() && !shift) {
        move_caret(selection_start(), false);
      } else {
        move_caret(
            primary ? utf8::previous_word_start(text_, caret_) : utf8::previous_stop(text_, caret_),
            shift);
      }
      return EventResult::Handled;
    case Key::Right:
      if (has_selection() && !shift) {
        move_caret(selection_end(), false);
      } else {
        move_caret(primary ? utf8::next_word_end(text_, caret_) : utf8::next_stop(text_, caret_),
                   shift);
      }
      return EventResult::Handled;
    case Key::Home:
      move_caret(0, shift);
      return EventResult::Handled;
    case Key::End:
      move_caret(text_.size(), shift);
      return EventResult::Handled;
    case Key::Backspace:
      // Consumed even at the start: the key must not fall through to "go up a folder".
      if (has_selection()) {
        erase(selection_start(), selection_end(), EditKind::Deleting);
      } else {
        erase(
            primary ? utf8::previous_word_start(text_, caret_) : utf8::previous_stop(text_, caret_),
            caret_, EditKind::Deleting);
      }
      return EventResult::Handled;
    case Key::Delete:
      if (shift && has_selection()) {
        copy_selection();
        erase(selection_start(), selection_end(), EditKind::Other);
      } else if (has_selection()) {
        erase(selection_start(), selection_end(), EditKind::Deleting);
      } else {
        erase(caret_, primary ? utf8::next_word_end(text_, caret_) : utf8::next_stop(text_, caret_),
              EditKind::Deleting);
      }
      return EventResult::Handled;
    case Key::Insert:
      if (shift) {
        if (auto pasted = text_selection::clipboard_text()) insert(*pasted, EditKind::Other);
      } else if (primary) {
        copy_selection();
      }
      return EventResult::Handled;
    case Key::Space:
      if (primary) return EventResult::Ignored;
      insert(" ");
      return EventResult::Handled;
    case Key::Character:
      if (!primary) return EventResult::Handled;  // The text follows as a TextCommit.
      if (is_letter(key, 'a')) {
        select_all();
      } else if (is_letter(key, 'c')) {
        copy_selection();
      } else if (is_letter(key, 'x')) {
        if (has_selection()) {
          copy_selection();
          erase(selection_start(), selection_end(), EditKind::Other);
        }
      } else if (is_letter(key, 'v')) {
        if (auto pasted = text_selection::clipboard_text()) insert(*pasted, EditKind::Other);
      } else if (is_letter(key, 'z')) {
        shift ? step_history(redo_, undo_) : step_history(undo_, redo_);
      } else if (is_letter(key, 'y')) {
        step_history(redo_, undo_);
      } else {
        return EventResult::Ignored;
      }
      return EventResult::Handled;
    default:
      return EventResult::Ignored;
  }
}

EventResult TextInput::handle_press(const PointerPress& press) {
  if (press.button != PointerButton::Primary || !rect_.contains(press.position)) {
    return EventResult::Ignored;
  }
  TimePoint now = ui_clock::now();
  float dx = press.position.x - last_press_position_.x;
  float dy = press.position.y - last_press_position_.y;
  bool repeated = click_count_ > 0 && now - last_press_time_ <= gesture::multi_click_interval() &&
                  dx * dx + dy * dy <= gesture::kMultiClickDistance * gesture::kMultiClickDistance;
  click_count_ = repeated ? click_count_ % 3 + 1 : 1;
  last_press_time_ = now;
  last_press_position_ = press.position;

  std::size_t at = offset_at(press.position.x);
  switch (click_count_) {
    case 1:
      move_caret(at, press.modifiers.shift);
      dragging_ = true;
      break;
    case 2:
      utf8::word_at(text_, at, word_anchor_begin_, word_anchor_end_);
      set_selection(word_anchor_begin_, word_anchor_end_);
      dragging_ = true;
      break;
    default:
      select_all();
      dragging_ = false;
      break;
  }
  restart_blink();
  return EventResult::Handled;
}

EventResult TextInput::handle_event(const Event& event) {
  focus_visibility::note(event);
  if (const auto* key = std::get_if<KeyPress>(&event)) return handle_key(*key);
  if (const auto* commit = std::get_if<TextCommit>(&event)) {
    preedit_.clear();
    if (commit->text.empty()) return EventResult::Ignored;
    insert(commit->text);
    return EventResult::Handled;
  }
  if (const auto* preedit = std::get_if<Preedit>(&event)) {
    preedit_ = single_line(preedit->text);
    preedit_cursor_ = preedit->cursor;
    mark_dirty();
    return EventResult::Handled;
  }
  if (const auto* press = std::get_if<PointerPress>(&event)) return handle_press(*press);
  if (const auto* move = std::get_if<PointerMove>(&event)) {
    if (!dragging_) return EventResult::Ignored;
    std::size_t at = offset_at(move->position.x);
    if (click_count_ == 2) {
      // Dragging after a double-click grows the selection by whole words.
      std::size_t begin = 0, end = 0;
      utf8::word_at(text_, at, begin, end);
      if (at < word_anchor_begin_) {
        set_selection(word_anchor_end_, begin);
      } else {
        set_selection(word_anchor_begin_, std::max(end, word_anchor_end_));
      }
    } else {
      move_caret(at, true);
    }
    return EventResult::Handled;
  }
  if (const auto* release = std::get_if<PointerRelease>(&event)) {
    if (!dragging_ || release->button != PointerButton::Primary) return EventResult::Ignored;
    dragging_ = false;
    return EventResult::Handled;
  }
  return EventResult::Ignored;
}

LayoutNode TextInput::build_layout(Size) {
  return LayoutNode{
      .id = 0,
      .style = {.height = Dimension::points(theme().control_height), .grow = 1, .min_width = 80},
      .content_size = {160, theme().control_height}};
}

void TextInput::apply_layout(const LayoutResult& layout) {
  Rect rect = layout.rect(0);
  if (rect != rect_) mark_dirty();
  rect_ = rect;
  keep_caret_visible();
}

void TextInput::draw(Canvas& canvas) {
  const Theme& t = theme();
  float radius = t.corner_radius - 2;
  if (framed_) {
    canvas.fill_rounded_rect(rect_, radius, t.content_background);
    if (focused_) {
      canvas.stroke_rounded_rect(rect_, radius, t.focus_ring, 2);
    } else {
      canvas.stroke_rounded_rect(rect_, radius, t.edge, 1);
    }
  }
  Rect inner = inner_rect();
  TextStyle s = style();
  TextMetrics line = TextRenderer::shared().line_metrics(s);
  float top = std::round(inner.y0 + (inner.height() - line.height) / 2);
  canvas.push_clip(Rect{inner.x0 - 1, rect_.y0, inner.x1 + kCaretWidth, rect_.y1});
  float origin = inner.x0 - scroll_x_;
  float caret_x = x_of(caret_);
  if (preedit_.empty()) {
    if (has_selection()) {
      Color fill = focused_ ? t.selection_strong : t.selection;
      canvas.fill_rect(Rect{x_of(selection_start()), top, x_of(selection_end()), top + line.height},
                       fill);
    }
    if (text_.empty()) {
      canvas.draw_text(placeholder_, s, {inner.x0, top}, t.text_secondary.with_alpha(0.75f));
    } else {
      canvas.draw_text(text_, s, {origin, top}, t.text);
    }
  } else {
    // The composition sits at the caret, underlined, until the input method commits it.
    std::string_view before = std::string_view(text_).substr(0, caret_);
    std::string_view after = std::string_view(text_).substr(caret_);
    auto& renderer = TextRenderer::shared();
    canvas.draw_text(before, s, {origin, top}, t.text);
    float x = caret_x;
    float pre_width = renderer.measure(preedit_, s).width;
    canvas.draw_text(preedit_, s, {x, top}, t.text);
    canvas.fill_rect(Rect{x, top + line.height - 1, x + pre_width, top + line.height}, t.text);
    canvas.draw_text(after, s, {x + pre_width, top}, t.text);
    auto cursor =
        static_cast<std::size_t>(std::clamp(preedit_cursor_, 0, static_cast<int>(preedit_.size())));
    caret_x = x + renderer.measure(std::string_view(preedit_).substr(0, cursor), s).width;
  }
  auto since = ui_clock::now() - blink_epoch_;
  bool caret_on = !t.animations || since >= kBlinkFor || (since / kBlinkHalfPeriod) % 2 == 0;
  if (focused_ && caret_on) {
    float x = paint::snap(caret_x);
    canvas.fill_rect(Rect{x, top, x + kCaretWidth, top + line.height}, t.text);
  }
  canvas.pop_clip();
  mark_drawn();
}

std::optional<TimePoint> TextInput::next_wake_deadline() const {
  if (!focused_ || !theme().animations) return std::nullopt;
  auto since = ui_clock::now() - blink_epoch_;
  if (since >= kBlinkFor) return std::nullopt;
  auto flips = since / kBlinkHalfPeriod + 1;
  // Frames use the steady clock; a manual clock in tests only moves the phase, not the wake.
  return Clock::now() + (blink_epoch_ + flips * kBlinkHalfPeriod - ui_clock::now());
}

AccessNode TextInput::accessibility() const {
  AccessNode node;
  node.role = AccessRole::TextInput;
  node.name = accessible_name_.empty() ? placeholder_ : accessible_name_;
  if (!accessible_name_.empty()) node.description = placeholder_;
  node.value = text_;
  node.bounds = rect_;
  node.states.focused = focused_;
  return node;
}

CursorShape TextInput::cursor_shape(Point position) const {
  return rect_.contains(position) ? CursorShape::Text : CursorShape::Arrow;
}

void TextInput::focus_changed(bool focused) {
  if (focused == focused_) return;
  focused_ = focused;
  if (!focused) dragging_ = false;
  restart_blink();
  mark_dirty();
}

std::optional<Rect> TextInput::input_caret_rect() const {
  if (!focused_) return std::nullopt;
  TextMetrics line = TextRenderer::shared().line_metrics(style());
  Rect inner = inner_rect();
  float top = inner.y0 + (inner.height() - line.height) / 2;
  float x = x_of(caret_);
  return Rect{x, top, x + kCaretWidth, top + line.height};
}

}  // namespace vask_ui
