#pragma once

#include <chrono>

namespace vask_ui::gesture {

/// The platform's double-click interval: two presses closer than this count as one gesture.
std::chrono::milliseconds multi_click_interval();

/// How far the pointer may travel between the presses of one multi-click, in logical units.
inline constexpr float kMultiClickDistance = 5;

}  // namespace vask_ui::gesture
