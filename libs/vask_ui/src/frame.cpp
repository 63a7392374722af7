#include "vask_ui/frame.h"

#include "vask_ui/regions.h"

namespace vask_ui::frame {

void sync_and_layout(Widget& root, const FrameContext& context) {
  root.sync(context);
  LayoutNode tree = root.build_layout(context.window_size);
  Rect bounds = Rect::from_xywh(0, 0, context.window_size.width, context.window_size.height);
  root.apply_layout(compute_layout(tree, bounds));
}

void draw(Widget& root, Canvas& canvas, const FrameContext& context) {
  const Theme& theme = context.theme != nullptr ? *context.theme : Theme::light();
  // Widgets report their named regions while drawing; what the last frame showed is what a
  // lookup between frames should find.
  regions::current().begin_frame();
  canvas.fill_rect(Rect::from_xywh(0, 0, context.window_size.width, context.window_size.height),
                   theme.window_background);
  root.draw(canvas);
  root.draw_overlay(canvas);
}

}  // namespace vask_ui::frame
