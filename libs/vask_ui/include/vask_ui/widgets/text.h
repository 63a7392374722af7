#pragma once

#include <string>
#include <vector>

#include "vask_ui/widgets/widget_base.h"

namespace vask_ui {

/// The theme colour a piece of text is drawn in.
enum class TextTone { Primary, Secondary, Disabled, Accent, Danger };
enum class TextAlign { Start, Center };
/// What happens to text wider than its box.
enum class TextOverflow { ElideEnd, ElideMiddle, Wrap };

/// A label: one line shortened with "…", or words wrapped over at most `max_lines` lines (the
/// last one shortened when text remains).
class Text final : public WidgetBase {
 public:
  explicit Text(std::string text = {}, TextStyle style = {}, TextTone tone = TextTone::Primary);

  void set_text(std::string text);
  const std::string& text() const { return text_; }
  void set_style(TextStyle style);
  void set_tone(TextTone tone);
  void set_align(TextAlign align);
  void set_overflow(TextOverflow overflow, int max_lines = 3);
  /// Headings are announced as such by screen readers.
  void set_heading(bool heading) { heading_ = heading; }
  /// The lines as last laid out (for tests and for callers that place things after them).
  const std::vector<std::string>& lines() const { return lines_; }

  LayoutNode build_layout(Size available) override;
  void apply_layout(const LayoutResult& layout) override;
  void draw(Canvas& canvas) override;
  AccessNode accessibility() const override;

  /// Breaks `text` into lines of at most `width`, at spaces where it can and inside a word
  /// only when the word alone is too wide; the last allowed line ends in "…" when text remains.
  static std::vector<std::string> wrap(std::string_view text, const TextStyle& style, float width,
                                       int max_lines);

 private:
  std::vector<std::string> layout_lines(float width) const;

  std::string text_;
  TextStyle style_;
  TextTone tone_;
  TextAlign align_ = TextAlign::Start;
  TextOverflow overflow_ = TextOverflow::ElideEnd;
  int max_lines_ = 3;
  bool heading_ = false;
  Rect rect_;
  std::vector<std::string> lines_;
};

Color tone_color(const Theme& theme, TextTone tone);

}  // namespace vask_ui
