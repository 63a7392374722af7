#include <vector>

#include "vask_ui/text.h"

namespace vask_ui {
namespace {

/// Byte offsets of every code point start, plus the end.
std::vector<std::size_t> code_point_offsets(std::string_view text) {
  std::vector<std::size_t> offsets;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) offsets.push_back(i);
  }
  offsets.push_back(text.size());
  return offsets;
}

constexpr std::string_view kEllipsis = "…";

}  // namespace

std::string elide_middle(std::string_view text, const TextStyle& style, float max_width) {
  if (max_width <= 0) return {};
  TextRenderer& renderer = TextRenderer::shared();
  if (renderer.measure(text, style).width <= max_width) return std::string(text);
  auto offsets = code_point_offsets(text);
  const std::size_t count = offsets.size() - 1;
  // Keeping k characters: the first third before the ellipsis and two thirds after it, so a
  // file's extension and the end of its name stay visible.
  auto build = [&](std::size_t keep) {
    std::size_t head = keep / 3;
    std::size_t tail = (2 * keep + 2) / 3;
    std::string out(text.substr(0, offsets[head]));
    out.append(kEllipsis);
    out.append(text.substr(offsets[count - tail]));
    return out;
  };
  // The largest k below the full length that fits. Widths grow with k, so a binary search
  // finds it with a handful of measurements instead of one per character.
  std::size_t lo = 0, hi = count - 1;
  if (renderer.measure(build(0), style).width > max_width) return std::string(kEllipsis);
  while (lo < hi) {
    std::size_t mid = (lo + hi + 1) / 2;
    if (renderer.measure(build(mid), style).width <= max_width) {
      lo = mid;
    } else {
      hi = mid - 1;
    }
  }
  return build(lo);
}

std::string elide_end(std::string_view text, const TextStyle& style, float max_width) {
  TextRenderer& renderer = TextRenderer::shared();
  if (renderer.measure(text, style).width <= max_width) return std::string(text);
  auto offsets = code_point_offsets(text);
  const std::size_t count = offsets.size() - 1;
  auto build = [&](std::size_t keep) {
    std::string out(text.substr(0, offsets[keep]));
    out.append(kEllipsis);
    return out;
  };
  std::size_t lo = 0, hi = count;
  while (lo < hi) {
    std::size_t mid = (lo + hi + 1) / 2;
    if (renderer.measure(build(mid), style).width <= max_width) {
      lo = mid;
    } else {
      hi = mid - 1;
    }
  }
  return build(lo);
}

}  // namespace vask_ui
