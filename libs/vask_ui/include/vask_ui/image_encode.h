#pragma once

#include <cstdint>
#include <expected>
#include <string>
#include <vector>

#include "vask_ui/canvas.h"

namespace vask_ui {

enum class ImageFormat { Png, Jpeg };

/// The image as a PNG or JPEG file's bytes. `quality` (0..100) matters only for JPEG.
std::expected<std::vector<std::uint8_t>, std::string> encode_image(const Image& image,
                                                                   ImageFormat format,
                                                                   int quality = 90);

}  // namespace vask_ui
