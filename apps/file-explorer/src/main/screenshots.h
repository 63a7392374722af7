#pragma once

#include <expected>

#include "vask_ui/launch.h"

namespace files {

/// Prepares the named scenario, renders one frame off screen, writes the PNG and prints
/// "file-explorer: wrote shot to <path>".
std::expected<void, vask_ui::LaunchError> render_screenshot(const vask_ui::LaunchArgs& args);

}  // namespace files
