#include "vask_ui/status_bubble.h"

#include <cmath>

#include "vask_ui/text.h"

namespace vask_ui {
namespace {

constexpr float kPadX = 14;
constexpr float kPadY = 6;
constexpr float kMinHeight = 28;

}  // namespace

void StatusBubble::poke(TimePoint now) {
  shown_at_ = now;
}

void StatusBubble::set_hover(bool hovered, TimePoint now) {
  // Leaving the bubble gives the reader the whole hold time again instead of fading at once.
  if (hovered_ && !hovered && shown_at_) shown_at_ = now;
  hovered_ = hovered;
}

float StatusBubble::alpha(TimePoint now) const {
  if (!shown_at_) return 0;
  if (hovered_) return 1;
  auto elapsed = now - *shown_at_;
  if (elapsed < hold_) return 1;
  auto fading = elapsed - hold_;
  if (fading >= kFadeDuration) return 0;
  using Seconds = std::chrono::duration<float>;
  return 1 - std::chrono::duration_cast<Seconds>(fading).count() /
                 std::chrono::duration_cast<Seconds>(kFadeDuration).count();
}

bool StatusBubble::needs_frame(TimePoint now) const {
  if (!shown_at_ || hovered_) return false;
  auto elapsed = now - *shown_at_;
  return elapsed >= hold_ && elapsed < hold_ + kFadeDuration;
}

std::optional<TimePoint> StatusBubble::next_deadline(TimePoint now) const {
  if (!shown_at_ || hovered_) return std::nullopt;
  TimePoint hold_end = *shown_at_ + hold_;
  if (now < hold_end) return hold_end;
  return std::nullopt;
}

Size StatusBubble::pill_size(std::string_view text, float font_size) {
  TextMetrics m = TextRenderer::shared().measure(text, TextStyle{font_size});
  return {std::ceil(m.width + 2 * kPadX), std::ceil(std::max(kMinHeight, m.height + 2 * kPadY))};
}

void StatusBubble::draw_pill(Canvas& canvas, Rect rect, std::string_view text, float font_size,
                             const Theme& theme, float alpha) {
  if (alpha <= 0 || rect.is_empty()) return;
  surface::PanelStyle style = chrome::shell::card(theme);
  style.radius = rect.height() / 2;
  style.fill = style.fill.with_alpha(alpha);
  style.edge = style.edge.with_alpha(alpha);
  style.shadow = style.shadow.with_alpha(alpha * 0.7f);
  style.shadow_blur = 10;
  style.shadow_offset = {0, 2};
  surface::draw_panel(canvas, rect, style);
  TextStyle body{font_size};
  std::string shown = elide_end(text, body, rect.width() - 2 * kPadX);
  Rect box = rect.inset(Insets::symmetric(kPadX, 0));
  TextRenderer::shared().draw_text_in(canvas, shown, body, box, theme.text.with_alpha(alpha));
}

}  // namespace vask_ui
