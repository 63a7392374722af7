#include "main/start_view.h"

#include "vask_ui/icons.h"
#include "vask_ui/text.h"
#include "vask_ui/theme.h"

namespace files {
namespace {

const vask_ui::TextStyle kTitleStyle{20, vask_ui::FontWeight::Semibold};
const vask_ui::TextStyle kPathStyle{13, vask_ui::FontWeight::Regular};

}  // namespace

StartView::StartView(std::filesystem::path folder) : folder_(std::move(folder)) {
  auto name = folder_.filename().string();
  title_ = name.empty() ? folder_.string() : name;
  path_text_ = folder_.string();
}

vask_ui::LayoutNode StartView::build_layout(vask_ui::Size) {
  using vask_ui::Dimension;
  vask_ui::LayoutNode root{.id = kRoot};
  root.style.padding = vask_ui::Insets::all(32);
  vask_ui::LayoutNode& header = root.add({.id = kHeader});
  header.style.direction = vask_ui::Direction::Row;
  header.style.gap = 16;
  header.style.align_items = vask_ui::Align::Center;
  header.add(
      {.id = kIcon, .style = {.width = Dimension::points(48), .height = Dimension::points(48)}});
  vask_ui::LayoutNode& text = header.add({});
  text.style.gap = 4;
  text.style.grow = 1;
  auto& renderer = vask_ui::TextRenderer::shared();
  auto title = renderer.measure(title_, kTitleStyle);
  auto path = renderer.measure(path_text_, kPathStyle);
  text.add({.id = kTitle, .content_size = {title.width, title.height}});
  text.add({.id = kPath, .content_size = {path.width, path.height}});
  return root;
}

void StartView::apply_layout(const vask_ui::LayoutResult& layout) {
  root_rect_ = layout.rect(kRoot);
  header_rect_ = layout.rect(kHeader);
  icon_rect_ = layout.rect(kIcon);
  title_rect_ = layout.rect(kTitle);
  path_rect_ = layout.rect(kPath);
}

void StartView::draw(vask_ui::Canvas& canvas) {
  const auto& theme = vask_ui::Theme::light();
  canvas.fill_rect(root_rect_, theme.content_background);
  vask_ui::icons::draw_icon(canvas, vask_ui::icons::Icon::Folder, icon_rect_, theme.accent, 1.6f);
  auto& renderer = vask_ui::TextRenderer::shared();
  renderer.draw_text(canvas, vask_ui::elide_end(title_, kTitleStyle, title_rect_.width()),
                     kTitleStyle, title_rect_.origin(), theme.text);
  renderer.draw_text(canvas, vask_ui::elide_middle(path_text_, kPathStyle, path_rect_.width()),
                     kPathStyle, path_rect_.origin(), theme.text_secondary);
}

vask_ui::AccessNode StartView::accessibility() const {
  vask_ui::AccessNode node;
  node.role = vask_ui::AccessRole::Window;
  node.name = title_;
  node.description = path_text_;
  node.bounds = root_rect_;
  return node;
}

}  // namespace files
