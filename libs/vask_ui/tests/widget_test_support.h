#pragma once

// Helpers for driving widgets with synthetic input in tests.

#include <string>
#include <vector>

#include "vask_ui/frame.h"
#include "vask_ui/widget.h"

namespace vask_ui::testing {

/// Runs one frame's sync and layout over a window of `size`.
inline void lay_out(Widget& root, Size size, const Theme& theme = Theme::light(),
                    TimePoint now = Clock::now()) {
  frame::sync_and_layout(root, FrameContext{now, size, 1, &theme});
}

/// Syncs `widget` as part of a window of `window` size and lays it out in `rect`.
inline void lay_out_in(Widget& widget, Size window, Rect rect,
                       const Theme& theme = Theme::light()) {
  widget.sync(FrameContext{Clock::now(), window, 1, &theme});
  widget.apply_layout(compute_layout(widget.build_layout(rect.size()), rect));
}

inline Event press(float x, float y, PointerButton button = PointerButton::Primary,
                   Modifiers modifiers = {}) {
  return PointerPress{{x, y}, button, modifiers};
}
inline Event release(float x, float y, PointerButton button = PointerButton::Primary) {
  return PointerRelease{{x, y}, button, {}};
}
inline Event move(float x, float y) {
  return PointerMove{{x, y}, {}};
}
inline Event key(Key k, Modifiers modifiers = {}) {
  KeyPress press{.key = k, .modifiers = modifiers};
  if (k == Key::Space) press.text = " ";
  return press;
}
/// A character key as the window reports it (Primary shortcuts carry the lower-case letter).
inline Event chord(std::string text, Modifiers modifiers) {
  return KeyPress{.key = Key::Character, .text = std::move(text), .modifiers = modifiers};
}
inline constexpr Modifiers kPrimary{.primary = true};
inline constexpr Modifiers kShift{.shift = true};
inline constexpr Modifiers kPrimaryShift{.shift = true, .primary = true};

/// Types `text` as the window delivers it: a key press per character, then the committed text.
inline void type(Widget& widget, std::string_view text) {
  widget.handle_event(KeyPress{.key = Key::Character, .text = std::string(text.substr(0, 1))});
  widget.handle_event(TextCommit{std::string(text)});
}

/// Records what is drawn, so tests can check drawing as data.
class RecordingCanvas final : public Canvas {
 public:
  struct TextDraw {
    std::string text;
    Point origin;
    Color color;
  };
  std::vector<TextDraw> texts;
  std::vector<std::pair<Rect, Color>> fills;
  int clip_depth = 0;

  float scale_factor() const override { return 1; }
  void fill_rect(Rect r, Color c) override { fills.emplace_back(r, c); }
  void fill_rounded_rect(Rect r, float, Color c) override { fills.emplace_back(r, c); }
  void stroke_rounded_rect(Rect, float, Color, float) override {}
  void fill_path(const Path&, Color) override {}
  void stroke_path(const Path&, Color, float, LineCap) override {}
  void draw_shadow(Rect, float, Color, float, Point) override {}
  void draw_image(const Image&, Rect, Rect, float) override {}
  void draw_text(std::string_view text, const TextStyle&, Point origin, Color c) override {
    texts.push_back({std::string(text), origin, c});
  }
  void push_clip(Rect) override { ++clip_depth; }
  void push_clip_rounded(Rect, float) override { ++clip_depth; }
  void pop_clip() override { --clip_depth; }
  void push_translate(float, float) override {}
  void pop_translate() override {}

  bool drew(std::string_view text) const {
    for (const auto& t : texts)
      if (t.text == text) return true;
    return false;
  }
};

}  // namespace vask_ui::testing
