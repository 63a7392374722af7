#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "vask_ui/icons.h"
#include "vask_ui/widgets/text_input.h"

namespace vask_ui {

struct Suggestion {
  std::string label;  ///< what the popup row shows
  std::string value;  ///< what choosing it puts in the field
  std::optional<icons::Icon> icon;
};

/// Answers the suggestions for the field's current text (called after every edit).
using SuggestionSource = std::function<std::vector<Suggestion>(std::string_view text)>;

struct AutocompleteOutcome {
  enum class Kind {
    Submitted,  ///< Enter, or a suggestion chosen with the pointer; `text` is the result
    Cancelled,  ///< Escape with the popup already closed
    Closed,     ///< focus left the field, or a press landed outside field and popup
  };
  Kind kind;
  std::string text;
  friend bool operator==(const AutocompleteOutcome&, const AutocompleteOutcome&) = default;
};

/// A text field with a popup list of suggestions (path completion). Keys while the popup is
/// open: Down/Up move the highlight (Up from the first row returns to the typed text),
/// PageDown/PageUp by a page, Enter submits the highlighted suggestion (or the text), Tab
/// completes the field from the highlighted, single or common-prefix suggestion without
/// submitting, Escape closes the popup; a second Escape cancels. Down with the popup closed
/// opens it. The pointer highlights rows and chooses one on release.
class Autocomplete final : public WidgetBase {
 public:
  Autocomplete();

  TextInput& input() { return input_; }
  const TextInput& input() const { return input_; }
  void set_source(SuggestionSource source) { source_ = std::move(source); }
  /// Starts an edit: the text with the caret at its end, keyboard focus, and the suggestions
  /// for it.
  void open(std::string text);
  /// Hides the popup and forgets the suggestions, the highlight and any outcome not taken.
  void close();

  bool is_popup_open() const { return popup_open_; }
  const std::vector<Suggestion>& suggestions() const { return suggestions_; }
  std::optional<std::size_t> highlighted() const { return highlighted_; }
  /// What ended the edit, once.
  std::optional<AutocompleteOutcome> take_outcome();
  void set_max_visible_rows(std::size_t rows) { max_rows_ = std::max<std::size_t>(1, rows); }

  Rect popup_rect() const;
  std::optional<std::size_t> row_at(Point position) const;

  LayoutNode build_layout(Size available) override;
  void apply_layout(const LayoutResult& layout) override;
  void draw(Canvas& canvas) override;
  void draw_overlay(Canvas& canvas) override;
  EventResult handle_event(const Event& event) override;
  AccessNode accessibility() const override;
  bool needs_redraw() const override;
  std::optional<TimePoint> next_wake_deadline() const override;
  CursorShape cursor_shape(Point position) const override;
  void focus_changed(bool focused) override;
  bool accepts_focus() const override { return true; }
  std::optional<Rect> input_caret_rect() const override;

 private:
  void on_sync(const FrameContext& frame) override;
  void refresh();
  void highlight(std::optional<std::size_t> row);
  void submit(std::string text);
  bool complete();
  std::size_t visible_rows() const;
  EventResult handle_key(const KeyPress& key);
  EventResult after_input(EventResult result);

  TextInput input_;
  SuggestionSource source_;
  std::vector<Suggestion> suggestions_;
  std::optional<std::size_t> highlighted_;
  std::optional<std::size_t> pressed_row_;
  std::optional<AutocompleteOutcome> outcome_;
  std::size_t first_row_ = 0;
  std::size_t max_rows_ = 8;
  bool popup_open_ = false;
  bool focused_ = false;
  Rect field_;
};

}  // namespace vask_ui
