#include "files_app/header_band.h"

#include "vask_ui/icons.h"
#include "vask_ui/text.h"

namespace files::app {

vask_ui::LayoutNode HeaderBand::build_layout(vask_ui::Size) {
  return vask_ui::LayoutNode{.id = 0,
                             .style = {.height = vask_ui::Dimension::points(kHeight), .shrink = 0}};
}

void HeaderBand::apply_layout(const vask_ui::LayoutResult& layout) {
  rect_ = layout.rect(0);
}

void HeaderBand::draw(vask_ui::Canvas& canvas) {
  const auto& th = theme_ != nullptr ? *theme_ : vask_ui::Theme::light();
  canvas.fill_rect(rect_, th.window_background);
  canvas.fill_rect(vask_ui::Rect{rect_.x0, rect_.y1 - 1, rect_.x1, rect_.y1}, th.separator);
  auto icon = vask_ui::Rect::from_xywh(rect_.x0 + 16, rect_.center().y - 10, 20, 20);
  vask_ui::icons::draw_icon(canvas, vask_ui::icons::Icon::Folder, icon, th.accent, 1.6f);
  vask_ui::TextStyle title{th.font_size, vask_ui::FontWeight::Semibold};
  vask_ui::Rect text{icon.x1 + 10, rect_.y0, rect_.x1 - 16, rect_.y1};
  vask_ui::TextRenderer::shared().draw_text_in(
      canvas, vask_ui::elide_middle(folder_.string(), title, text.width()), title, text, th.text);
}

}  // namespace files::app
