#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "vask_ui/widgets/widget_base.h"

namespace vask_ui {

/// A single-line text field. Keys: Left/Right (Primary: by word, Shift: extend), Home/End,
/// Backspace/Delete (Primary: by word), Primary+A/C/X/V/Z, Primary+Shift+Z or Primary+Y to
/// redo, Shift+Delete/Shift+Insert/Primary+Insert. Pointer: click places the caret, Shift+click
/// extends, drag selects, double-click selects a word, triple-click everything. Typed text
/// arrives as TextCommit events (keyboard or input method), composition as Preedit.
///
/// Offsets are byte offsets into the UTF-8 text, always on character boundaries.
class TextInput final : public WidgetBase {
 public:
  TextInput();

  /// Replaces the text as the program (not the user): caret at the end, no selection, the
  /// undo history forgotten, and no edit reported.
  void set_text(std::string text);
  const std::string& text() const { return text_; }
  void set_placeholder(std::string placeholder);
  const std::string& placeholder() const { return placeholder_; }
  void set_control_id(std::string id) { control_id_ = std::move(id); }
  const std::string& control_id() const { return control_id_; }
  void set_accessible_name(std::string name) { accessible_name_ = std::move(name); }
  /// Without a frame the field draws no ground or edge (it sits on its owner's ground).
  void set_framed(bool framed);

  std::size_t caret() const { return caret_; }
  std::size_t anchor() const { return anchor_; }
  bool has_selection() const { return caret_ != anchor_; }
  std::string selected_text() const;
  /// Selects [anchor, caret) in either order; offsets are clamped to the text and snapped
  /// back to character boundaries.
  void set_selection(std::size_t anchor, std::size_t caret);
  void select_all();

  /// True once after the user changed the text (typing, deleting, pasting, undo).
  bool take_edited();
  void set_on_edit(std::function<void()> callback) { on_edit_ = std::move(callback); }
  /// The input method's composition shown at the caret (not yet part of the text).
  const std::string& preedit() const { return preedit_; }
  bool is_focused() const { return focused_; }
  Rect rect() const { return rect_; }

  /// The caret offset nearest to the window x coordinate (for hit tests and tests).
  std::size_t offset_at(float x) const;
  /// The window x coordinate of an offset as last laid out.
  float x_of(std::size_t offset) const;

  LayoutNode build_layout(Size available) override;
  void apply_layout(const LayoutResult& layout) override;
  void draw(Canvas& canvas) override;
  EventResult handle_event(const Event& event) override;
  AccessNode accessibility() const override;
  CursorShape cursor_shape(Point position) const override;
  void focus_changed(bool focused) override;
  bool accepts_focus() const override { return true; }
  std::optional<Rect> input_caret_rect() const override;
  std::optional<TimePoint> next_wake_deadline() const override;

 private:
  enum class EditKind { None, Typing, Deleting, Other };
  struct Snapshot {
    std::string text;
    std::size_t caret = 0;
    std::size_t anchor = 0;
  };

  EventResult handle_key(const KeyPress& key);
  EventResult handle_press(const PointerPress& press);
  void insert(std::string_view text, EditKind kind = EditKind::Typing);
  void erase(std::size_t from, std::size_t to, EditKind kind);
  void remember_for_undo(EditKind kind);
  void edited();
  void move_caret(std::size_t to, bool extend);
  void copy_selection() const;
  /// Undo (from the undo slot into redo) or redo (the other way round).
  void step_history(std::optional<Snapshot>& from, std::optional<Snapshot>& to);
  std::size_t selection_start() const { return std::min(caret_, anchor_); }
  std::size_t selection_end() const { return std::max(caret_, anchor_); }
  std::size_t snap(std::size_t offset) const;
  void restart_blink();
  void measure_stops();
  void keep_caret_visible();
  Rect inner_rect() const;
  TextStyle style() const;

  std::string text_;
  std::string placeholder_;
  std::string control_id_;
  std::string accessible_name_;
  std::string preedit_;
  int preedit_cursor_ = 0;
  std::size_t caret_ = 0;
  std::size_t anchor_ = 0;
  bool framed_ = true;
  bool focused_ = false;
  bool edited_ = false;
  std::function<void()> on_edit_;

  std::optional<Snapshot> undo_;
  std::optional<Snapshot> redo_;
  EditKind last_edit_ = EditKind::None;

  // Pointer gestures.
  bool dragging_ = false;
  int click_count_ = 0;
  TimePoint last_press_time_;
  Point last_press_position_;
  std::size_t word_anchor_begin_ = 0;
  std::size_t word_anchor_end_ = 0;

  // Layout: caret stops and their x positions relative to the text start.
  Rect rect_;
  float scroll_x_ = 0;
  std::vector<std::size_t> stop_offsets_;
  std::vector<float> stop_x_;
  std::string measured_text_;
  TimePoint blink_epoch_;
};

}  // namespace vask_ui
