#include "vask_ui/theme.h"

namespace vask_ui {

const Theme& Theme::light() {
  static const Theme theme;
  return theme;
}

const Theme& Theme::screenshot() {
  static const Theme theme = [] {
    Theme t;
    t.animations = false;
    return t;
  }();
  return theme;
}

namespace surface {

void draw_panel(Canvas& canvas, Rect r, const PanelStyle& style) {
  if (style.shadow.a > 0 && style.shadow_blur > 0) {
    canvas.draw_shadow(r, style.radius, style.shadow, style.shadow_blur, style.shadow_offset);
  }
  if (style.fill.a > 0) canvas.fill_rounded_rect(r, style.radius, style.fill);
  if (style.edge.a > 0 && style.edge_width > 0) {
    canvas.stroke_rounded_rect(r, style.radius, style.edge, style.edge_width);
  }
}

}  // namespace surface

namespace chrome::shell {

surface::PanelStyle edge_on(const Theme& theme) {
  return {.fill = theme.content_background, .edge = theme.edge, .radius = theme.corner_radius};
}

surface::PanelStyle edge_outline(const Theme& theme) {
  return {.fill = Color{0, 0, 0, 0},
          .edge = theme.accent,
          .edge_width = 1.5f,
          .radius = theme.corner_radius};
}

surface::PanelStyle card(const Theme& theme) {
  return {.fill = theme.content_background,
          .edge = theme.edge,
          .radius = theme.corner_radius + 4,
          .shadow = theme.shadow,
          .shadow_blur = 18,
          .shadow_offset = {0, 6}};
}

surface::PanelStyle panel_shadow(const Theme& theme) {
  return {.fill = theme.content_background,
          .edge = theme.edge,
          .radius = theme.corner_radius,
          .shadow = theme.shadow,
          .shadow_blur = 24,
          .shadow_offset = {0, 8}};
}

Color separator(const Theme& theme) {
  return theme.separator;
}

Color selection_tier(const Theme& theme, SelectionTier tier) {
  switch (tier) {
    case SelectionTier::Hover:
      return theme.hover;
    case SelectionTier::Selected:
      return theme.selection;
    case SelectionTier::SelectedFocused:
      return theme.selection_strong;
    case SelectionTier::DropTarget:
      return theme.accent.with_alpha(0.22f);
  }
  return theme.selection;
}

}  // namespace chrome::shell
}  // namespace vask_ui
