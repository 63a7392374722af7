#include "vask_ui/widgets/text.h"

#include <cmath>

#include "../utf8.h"
#include "vask_ui/text.h"

namespace vask_ui {
namespace {

float width_of(std::string_view text, const TextStyle& style) {
  return TextRenderer::shared().measure(text, style).width;
}

/// The longest prefix of `word` (whole characters, at least one) that fits `width`.
std::size_t fitting_prefix(std::string_view word, const TextStyle& style, float width) {
  std::size_t fit = utf8::next_stop(word, 0);
  for (std::size_t end = fit; end < word.size();) {
    std::size_t next = utf8::next_stop(word, end);
    if (width_of(word.substr(0, next), style) > width) break;
    fit = end = next;
  }
  return fit;
}

}  // namespace

Color tone_color(const Theme& theme, TextTone tone) {
  switch (tone) {
    case TextTone::Primary:
      return theme.text;
    case TextTone::Secondary:
      return theme.text_secondary;
    case TextTone::Disabled:
      return theme.text_disabled;
    case TextTone::Accent:
      return theme.accent;
    case TextTone::Danger:
      return theme.danger;
  }
  return theme.text;
}

Text::Text(std::string text, TextStyle style, TextTone tone)
    : text_(std::move(text)), style_(style), tone_(tone) {}

void Text::set_text(std::string text) {
  if (text == text_) return;
  text_ = std::move(text);
  mark_dirty();
}

void Text::set_style(TextStyle style) {
  style_ = style;
  mark_dirty();
}

void Text::set_tone(TextTone tone) {
  tone_ = tone;
  mark_dirty();
}

void Text::set_align(TextAlign align) {
  align_ = align;
  mark_dirty();
}

void Text::set_overflow(TextOverflow overflow, int max_lines) {
  overflow_ = overflow;
  max_lines_ = std::max(1, max_lines);
  mark_dirty();
}

std::vector<std::string> Text::wrap(std::string_view text, const TextStyle& style, float width,
                                    int max_lines) {
  std::vector<std::string> lines;
  std::string line;
  std::size_t pos = 0;
  auto push_line = [&](std::string done) { lines.push_back(std::move(done)); };
  while (pos < text.size()) {
    std::size_t space = text.find(' ', pos);
    std::string_view word =
        text.substr(pos, space == std::string_view::npos ? text.npos : space - pos);
    pos = space == std::string_view::npos ? text.size() : space + 1;
    if (word.empty()) continue;
    std::string candidate = line.empty() ? std::string(word) : line + " " + std::string(word);
    if (width_of(candidate, style) <= width) {
      line = std::move(candidate);
      continue;
    }
    if (!line.empty()) push_line(std::exchange(line, {}));
    // A word wider than the whole line is broken where it must be.
    while (width_of(word, style) > width && word.size() > 1) {
      std::size_t cut = fitting_prefix(word, style, width);
      if (cut >= word.size()) break;
      push_line(std::string(word.substr(0, cut)));
      word = word.substr(cut);
    }
    line = std::string(word);
  }
  if (!line.empty() || lines.empty()) push_line(std::move(line));
  if (static_cast<int>(lines.size()) > max_lines) {
    std::string rest = lines[static_cast<std::size_t>(max_lines - 1)];
    for (std::size_t i = static_cast<std::size_t>(max_lines); i < lines.size(); ++i)
      rest += " " + lines[i];
    lines.resize(static_cast<std::size_t>(max_lines));
    // The ellipsis goes on even when the remaining words would fit: text was cut after them.
    lines.back() = elide_end(rest + "…", style, width);
  }
  return lines;
}

std::vector<std::string> Text::layout_lines(float width) const {
  switch (overflow_) {
    case TextOverflow::ElideEnd:
      return {elide_end(text_, style_, width)};
    case TextOverflow::ElideMiddle:
      return {elide_middle(text_, style_, width)};
    case TextOverflow::Wrap:
      return wrap(text_, style_, width, max_lines_);
  }
  return {text_};
}

LayoutNode Text::build_layout(Size available) {
  TextMetrics line = TextRenderer::shared().line_metrics(style_);
  LayoutNode node{.id = 0};
  node.style.shrink = 1;
  if (overflow_ == TextOverflow::Wrap) {
    auto lines = wrap(text_, style_, std::max(1.0f, available.width), max_lines_);
    float widest = 0;
    for (const auto& l : lines)
      widest = std::max(widest, width_of(l, style_));
    node.content_size = {std::ceil(widest), line.height * static_cast<float>(lines.size())};
  } else {
    node.content_size = {std::ceil(width_of(text_, style_)), line.height};
  }
  node.style.min_height = node.content_size.height;
  return node;
}

void Text::apply_layout(const LayoutResult& layout) {
  Rect rect = layout.rect(0);
  if (rect != rect_) mark_dirty();
  rect_ = rect;
  lines_ = layout_lines(rect_.width() + 0.5f);
}

void Text::draw(Canvas& canvas) {
  TextMetrics line = TextRenderer::shared().line_metrics(style_);
  Color color = tone_color(theme(), tone_);
  float y = rect_.y0;
  for (const std::string& l : lines_) {
    float x = rect_.x0;
    if (align_ == TextAlign::Center) x += std::max(0.0f, (rect_.width() - width_of(l, style_)) / 2);
    canvas.draw_text(l, style_, {x, y}, color);
    y += line.height;
  }
  mark_drawn();
}

AccessNode Text::accessibility() const {
  AccessNode node;
  node.role = heading_ ? AccessRole::Heading : AccessRole::StaticText;
  node.name = text_;
  node.bounds = rect_;
  return node;
}

}  // namespace vask_ui
