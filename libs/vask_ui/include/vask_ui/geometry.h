#pragma once

#include <algorithm>
#include <cstdint>

/// Plain geometry in logical units. The platform multiplies by the scale factor when it draws.
namespace vask_ui {

struct Point {
  float x = 0;
  float y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
  float width = 0;
  float height = 0;
  friend bool operator==(const Size&, const Size&) = default;
};

struct Insets {
  float left = 0;
  float top = 0;
  float right = 0;
  float bottom = 0;
  static constexpr Insets all(float v) { return {v, v, v, v}; }
  static constexpr Insets symmetric(float horizontal, float vertical) {
    return {horizontal, vertical, horizontal, vertical};
  }
  friend bool operator==(const Insets&, const Insets&) = default;
};

/// An axis-aligned rectangle given by its two corners; x1/y1 are exclusive.
struct Rect {
  float x0 = 0;
  float y0 = 0;
  float x1 = 0;
  float y1 = 0;

  static constexpr Rect from_xywh(float x, float y, float w, float h) {
    return {x, y, x + w, y + h};
  }
  constexpr float width() const { return x1 - x0; }
  constexpr float height() const { return y1 - y0; }
  constexpr Size size() const { return {width(), height()}; }
  constexpr Point origin() const { return {x0, y0}; }
  constexpr Point center() const { return {(x0 + x1) / 2, (y0 + y1) / 2}; }
  constexpr bool is_empty() const { return x1 <= x0 || y1 <= y0; }
  constexpr bool contains(Point p) const { return p.x >= x0 && p.x < x1 && p.y >= y0 && p.y < y1; }
  constexpr Rect inset(const Insets& in) const {
    return {x0 + in.left, y0 + in.top, std::max(x0 + in.left, x1 - in.right),
            std::max(y0 + in.top, y1 - in.bottom)};
  }
  constexpr Rect inset(float v) const { return inset(Insets::all(v)); }
  constexpr Rect translated(float dx, float dy) const {
    return {x0 + dx, y0 + dy, x1 + dx, y1 + dy};
  }
  constexpr Rect intersect(const Rect& o) const {
    Rect r{std::max(x0, o.x0), std::max(y0, o.y0), std::min(x1, o.x1), std::min(y1, o.y1)};
    if (r.x1 < r.x0) r.x1 = r.x0;
    if (r.y1 < r.y0) r.y1 = r.y0;
    return r;
  }
  constexpr bool intersects(const Rect& o) const { return !intersect(o).is_empty(); }
  friend bool operator==(const Rect&, const Rect&) = default;
};

/// 8-bit sRGB colour with straight (not premultiplied) alpha.
struct Color {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;
  std::uint8_t a = 255;

  /// From 0xRRGGBB.
  static constexpr Color rgb(std::uint32_t hex) {
    return {static_cast<std::uint8_t>(hex >> 16), static_cast<std::uint8_t>(hex >> 8),
            static_cast<std::uint8_t>(hex), 255};
  }
  constexpr Color with_alpha(float alpha) const {
    float clamped = std::clamp(alpha, 0.0f, 1.0f);
    return {r, g, b, static_cast<std::uint8_t>(static_cast<float>(a) * clamped + 0.5f)};
  }
  friend bool operator==(const Color&, const Color&) = default;
};

}  // namespace vask_ui
