#pragma once

#include <QImage>

#include "vask_ui/canvas.h"

namespace vask_ui {

struct Image::Impl {
  QImage image;
};

}  // namespace vask_ui
