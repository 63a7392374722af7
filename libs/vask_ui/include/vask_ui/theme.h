#pragma once

#include "vask_ui/canvas.h"
#include "vask_ui/geometry.h"

/// The light theme: colours and sizes by role, and the shared panel styles.
namespace vask_ui {

struct Theme {
  Color window_background = Color::rgb(0xF6F7F9);
  Color content_background = Color::rgb(0xFFFFFF);
  Color sidebar_background = Color::rgb(0xEEF0F3);
  Color text = Color::rgb(0x1F2328);
  Color text_secondary = Color::rgb(0x5F6670);
  Color text_disabled = Color::rgb(0xA3A9B1);
  Color accent = Color::rgb(0x2F6FEB);
  Color accent_text = Color::rgb(0xFFFFFF);
  Color hover = Color::rgb(0x1F2328).with_alpha(0.06f);
  Color pressed = Color::rgb(0x1F2328).with_alpha(0.12f);
  Color selection = Color::rgb(0x2F6FEB).with_alpha(0.16f);
  Color selection_strong = Color::rgb(0x2F6FEB).with_alpha(0.28f);
  Color focus_ring = Color::rgb(0x2F6FEB);
  Color separator = Color::rgb(0x1F2328).with_alpha(0.10f);
  Color edge = Color::rgb(0x1F2328).with_alpha(0.14f);
  Color shadow = Color::rgb(0x000000).with_alpha(0.18f);
  Color danger = Color::rgb(0xC62828);
  Color warning = Color::rgb(0xB26A00);
  Color success = Color::rgb(0x2E7D32);
  Color icon = Color::rgb(0x4A5260);
  Color scrim = Color::rgb(0x000000).with_alpha(0.28f);

  float font_size = 13;
  float font_size_small = 11.5f;
  float font_size_title = 16;
  float corner_radius = 8;
  float control_height = 32;
  float spacing = 8;
  float spacing_small = 4;
  /// Distance of the status pill from the window's right and bottom edges.
  float pill_margin = 12;

  /// Screenshot frames turn animations off so a frame is reproducible.
  bool animations = true;

  static const Theme& light();
  static const Theme& screenshot();
};

/// Panel styles shared by every surface that floats or groups content.
namespace surface {

struct PanelStyle {
  Color fill;
  Color edge;
  float edge_width = 1;
  float radius = 8;
  Color shadow;
  float shadow_blur = 0;
  Point shadow_offset;
};

/// Draws a panel: shadow first, then fill, then its edge.
void draw_panel(Canvas& canvas, Rect r, const PanelStyle& style);

}  // namespace surface

namespace chrome::shell {

/// A panel that sits on the window with a visible edge.
surface::PanelStyle edge_on(const Theme& theme);
/// Only an outline, no fill (drop targets, focus areas).
surface::PanelStyle edge_outline(const Theme& theme);
/// A raised card (sheets, menus, the status pill).
surface::PanelStyle card(const Theme& theme);
/// A floating panel with a deeper shadow (menus, the sidebar shown over the content).
surface::PanelStyle panel_shadow(const Theme& theme);
/// The colour of a one-unit separator line.
Color separator(const Theme& theme);

enum class SelectionTier { Hover, Selected, SelectedFocused, DropTarget };
/// The fill that marks an item's selection state.
Color selection_tier(const Theme& theme, SelectionTier tier);

}  // namespace chrome::shell

}  // namespace vask_ui
