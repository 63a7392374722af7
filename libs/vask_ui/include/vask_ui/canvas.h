#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "vask_ui/geometry.h"

/// The drawing API every widget draws with. The platform backend implements it; widgets never
/// see the platform's painter.
namespace vask_ui {

/// A vector outline in logical units.
class Path {
 public:
  enum class Verb : std::uint8_t { Move, Line, Quad, Cubic, Close };
  struct Element {
    Verb verb;
    Point p[3];
  };

  Path& move_to(Point p);
  Path& line_to(Point p);
  Path& quad_to(Point control, Point end);
  Path& cubic_to(Point c1, Point c2, Point end);
  Path& close();
  /// A full ellipse inside the rectangle.
  Path& ellipse(Rect r);
  /// A rectangle with rounded corners.
  Path& rounded_rect(Rect r, float radius);

  const std::vector<Element>& elements() const { return elements_; }
  bool empty() const { return elements_.empty(); }

 private:
  std::vector<Element> elements_;
};

class Canvas;

/// A decoded raster image, shareable between frames.
class Image {
 public:
  Image();
  ~Image();
  Image(const Image&);
  Image& operator=(const Image&);
  Image(Image&&) noexcept;
  Image& operator=(Image&&) noexcept;

  /// Decodes PNG, JPEG and the other formats the platform knows; nullopt when it cannot.
  static std::optional<Image> load(const std::filesystem::path& path);
  static std::optional<Image> decode(std::span<const std::uint8_t> bytes);
  /// From tightly packed 8-bit RGBA rows.
  static Image from_rgba(int width, int height, std::span<const std::uint8_t> rgba);
  /// Paints into a new transparent image of `size` window units at `scale` device pixels per
  /// unit (so it is as sharp as the window); `paint` draws in the image's own units from (0, 0).
  /// Drawings repeated many times a frame are painted once this way and then copied.
  static Image render(Size size, float scale, const std::function<void(Canvas&)>& paint);

  int width() const;
  int height() const;
  bool is_null() const;

  struct Impl;
  const Impl* impl() const { return impl_.get(); }

 private:
  std::unique_ptr<Impl> impl_;
};

enum class FontWeight { Regular, Medium, Semibold, Bold };

struct TextStyle {
  float size = 13;
  FontWeight weight = FontWeight::Regular;
  friend bool operator==(const TextStyle&, const TextStyle&) = default;
};

enum class LineCap { Butt, Round, Square };

/// A painting surface for one frame. Coordinates are logical units; the canvas applies the
/// scale factor. Clips nest.
class Canvas {
 public:
  virtual ~Canvas() = default;

  virtual float scale_factor() const = 0;
  virtual void fill_rect(Rect r, Color c) = 0;
  virtual void fill_rounded_rect(Rect r, float radius, Color c) = 0;
  virtual void stroke_rounded_rect(Rect r, float radius, Color c, float width) = 0;
  virtual void fill_path(const Path& path, Color c) = 0;
  virtual void stroke_path(const Path& path, Color c, float width,
                           LineCap cap = LineCap::Round) = 0;
  /// A soft shadow under a rounded rectangle, blurred by `blur` units and offset by `offset`.
  virtual void draw_shadow(Rect r, float radius, Color c, float blur, Point offset) = 0;
  virtual void draw_image(const Image& image, Rect source, Rect target, float opacity = 1) = 0;
  /// Draws one line of text with its top-left corner at `origin`.
  virtual void draw_text(std::string_view text, const TextStyle& style, Point origin, Color c) = 0;
  virtual void push_clip(Rect r) = 0;
  /// Clips to a rounded rectangle; popped with pop_clip like a plain clip.
  virtual void push_clip_rounded(Rect r, float radius) = 0;
  virtual void pop_clip() = 0;
  /// Moves the origin for everything drawn until the matching pop_translate.
  virtual void push_translate(float dx, float dy) = 0;
  virtual void pop_translate() = 0;
  /// The part of the surface that drawing can still reach (the current clips, in the current
  /// translation), so that long content draws only what shows. Unbounded when unknown.
  virtual Rect clip_bounds() const { return {-1e9f, -1e9f, 1e9f, 1e9f}; }
};

/// Keeps a clip for the lifetime of the guard.
class ClipScope {
 public:
  ClipScope(Canvas& canvas, Rect r) : canvas_(canvas) { canvas_.push_clip(r); }
  ~ClipScope() { canvas_.pop_clip(); }
  ClipScope(const ClipScope&) = delete;
  ClipScope& operator=(const ClipScope&) = delete;

 private:
  Canvas& canvas_;
};

}  // namespace vask_ui
