#pragma once

#include <chrono>
#include <optional>
#include <string_view>

#include "vask_ui/canvas.h"
#include "vask_ui/theme.h"
#include "vask_ui/widget.h"

/// The transient status pill: shown when poked, held for a while, then faded out. Time is
/// always passed in, so the fade is a pure function of the instants it is given.
namespace vask_ui {

class StatusBubble {
 public:
  static constexpr std::chrono::milliseconds kFadeDuration{240};

  explicit StatusBubble(Clock::duration hold) : hold_(hold) {}

  /// Shows the bubble at full opacity and restarts its hold time.
  void poke(TimePoint now);
  /// A hovered bubble neither fades nor hides; leaving it restarts the hold time.
  void set_hover(bool hovered, TimePoint now);
  bool is_hovered() const { return hovered_; }

  /// Opacity 0..1: 1 during the hold (or while hovered), falling linearly over the fade.
  float alpha(TimePoint now) const;
  bool is_visible(TimePoint now) const { return alpha(now) > 0; }
  /// The opacity to draw with under `theme`: `alpha`, or, when the theme turns animations
  /// off, full opacity while visible and nothing otherwise.
  float opacity(TimePoint now, const Theme& theme) const {
    if (theme.animations) return alpha(now);
    return is_visible(now) ? 1.0f : 0.0f;
  }
  /// True while the fade runs, so the window draws animation frames only then.
  bool needs_frame(TimePoint now) const;
  /// When the hold ends and the fade begins (a wake-up for the window), while still ahead.
  std::optional<TimePoint> next_deadline(TimePoint now) const;
  Clock::duration hold() const { return hold_; }

  /// The pill's size for `text` at the body text size `font_size`.
  static Size pill_size(std::string_view text, float font_size);
  /// Draws the pill with its text at `alpha` opacity.
  static void draw_pill(Canvas& canvas, Rect rect, std::string_view text, float font_size,
                        const Theme& theme, float alpha);

 private:
  Clock::duration hold_;
  std::optional<TimePoint> shown_at_;
  bool hovered_ = false;
};

}  // namespace vask_ui
