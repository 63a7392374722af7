#pragma once

// Internal to the ready-made widgets: drawing pieces they share.

#include "vask_ui/canvas.h"
#include "vask_ui/theme.h"

namespace vask_ui::paint {

/// Appends a circular arc to `path` (angles in radians, clockwise on screen from +x).
void arc(Path& path, Point center, float radius, float start, float sweep, bool move_first = true);
/// The keyboard focus ring: two units wide, just outside `r`.
void focus_ring(Canvas& canvas, Rect r, float radius, const Theme& theme);
/// A tick mark centred in `box`.
void check_mark(Canvas& canvas, Rect box, Color color);
/// A small chevron pointing right, centred in `box` (submenus).
void chevron_right(Canvas& canvas, Rect box, Color color);
/// Rounds to whole device pixels at scale 1, so one-unit lines stay crisp.
inline float snap(float v) {
  return static_cast<float>(static_cast<int>(v + (v >= 0 ? 0.5f : -0.5f)));
}

}  // namespace vask_ui::paint
