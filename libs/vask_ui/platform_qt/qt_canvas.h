#pragma once

#include <QPainter>
#include <vector>

#include "vask_ui/canvas.h"

namespace vask_ui::qt {

/// Our Canvas over a QPainter whose device is already scaled to logical units.
class QtCanvas final : public Canvas {
 public:
  QtCanvas(QPainter& painter, float scale_factor);

  float scale_factor() const override { return scale_factor_; }
  void fill_rect(Rect r, Color c) override;
  void fill_rounded_rect(Rect r, float radius, Color c) override;
  void stroke_rounded_rect(Rect r, float radius, Color c, float width) override;
  void fill_path(const Path& path, Color c) override;
  void stroke_path(const Path& path, Color c, float width, LineCap cap) override;
  void draw_shadow(Rect r, float radius, Color c, float blur, Point offset) override;
  void draw_image(const Image& image, Rect source, Rect target, float opacity) override;
  void draw_text(std::string_view text, const TextStyle& style, Point origin, Color c) override;
  void push_clip(Rect r) override;
  void push_clip_rounded(Rect r, float radius) override;
  void pop_clip() override;
  void push_translate(float dx, float dy) override;
  void pop_translate() override;
  Rect clip_bounds() const override;

  QPainter& painter() { return painter_; }

 private:
  QPainter& painter_;
  float scale_factor_;
  int saves_ = 0;
};

}  // namespace vask_ui::qt
