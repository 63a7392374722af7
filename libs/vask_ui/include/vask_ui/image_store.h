#pragma once

#include "vask_ui/canvas.h"

namespace vask_ui::image_store {

/// Paints `image` so that it covers `target` completely, cropping the overflow around the
/// centre, with rounded corners of `radius`.
void paint_image_cover(Canvas& canvas, const Image& image, Rect target, float radius = 0);

}  // namespace vask_ui::image_store
