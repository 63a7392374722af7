#pragma once

#include "vask_ui/widget.h"

/// One frame of the loop, shared by the window, screenshot frames and tests.
namespace vask_ui::frame {

/// sync, then build_layout / compute / apply_layout over the whole window.
void sync_and_layout(Widget& root, const FrameContext& context);
/// Fills the background and draws the widget, then its overlay.
void draw(Widget& root, Canvas& canvas, const FrameContext& context);

}  // namespace vask_ui::frame
