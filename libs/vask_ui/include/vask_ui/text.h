#pragma once

#include <string>
#include <string_view>

#include "vask_ui/canvas.h"

/// Text measuring and drawing in the UI font (Inter, with Noto and DejaVu for what Inter lacks).
/// Shaped lines are cached by (text, style), so a frame of a few hundred labels that did not
/// change shapes nothing.
namespace vask_ui {

struct TextMetrics {
  float width = 0;
  /// Line height: ascent + descent.
  float height = 0;
  float ascent = 0;
};

class TextRenderer {
 public:
  /// The process-wide renderer (it owns the shaping cache).
  static TextRenderer& shared();

  TextMetrics measure(std::string_view text, const TextStyle& style);
  /// The line height of the style without measuring any text.
  TextMetrics line_metrics(const TextStyle& style);
  void draw_text(Canvas& canvas, std::string_view text, const TextStyle& style, Point origin,
                 Color color);
  /// Draws `text` vertically centred in `box`, starting at its left edge.
  void draw_text_in(Canvas& canvas, std::string_view text, const TextStyle& style, Rect box,
                    Color color);

  /// Entries currently cached; for tests and benchmarks.
  std::size_t cache_size() const;
  void clear_cache();

 private:
  TextRenderer() = default;
};

/// Shortens `text` in the middle with "…" until it measures at most `max_width`: of the k
/// characters kept, the first floor(k/3) stand before "…" and the last ceil(2k/3) after it.
/// Whole characters only; a text that fits is returned unchanged, a width of 0 or less gives "",
/// and when not even one character fits the result is "…".
std::string elide_middle(std::string_view text, const TextStyle& style, float max_width);
/// Shortens `text` at its end with "…".
std::string elide_end(std::string_view text, const TextStyle& style, float max_width);

}  // namespace vask_ui
