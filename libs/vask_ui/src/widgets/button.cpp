#include "vask_ui/widgets/button.h"

#include <cmath>

#include "paint.h"
#include "vask_ui/text.h"

namespace vask_ui {
namespace {

constexpr float kPadX = 12;
constexpr float kIconSize = 16;
constexpr float kIconGap = 6;

TextStyle label_style(const ButtonLook& look, const Theme& theme) {
  bool filled = look.style == ButtonStyle::Accent || look.style == ButtonStyle::Destructive;
  return {theme.font_size, filled ? FontWeight::Semibold : FontWeight::Medium};
}

}  // namespace

Size button_size(const ButtonLook& look, const Theme& theme) {
  float width = 2 * kPadX;
  if (look.icon) width += kIconSize;
  if (!look.label.empty()) {
    if (look.icon) width += kIconGap;
    width += std::ceil(TextRenderer::shared().measure(look.label, label_style(look, theme)).width);
  }
  if (look.label.empty()) width = std::max(width, theme.control_height + 4);
  return {width, theme.control_height};
}

void draw_button(Canvas& canvas, Rect rect, const ButtonLook& look, const Theme& theme) {
  float radius = std::min(theme.corner_radius - 2, rect.height() / 2);
  Color fill{0, 0, 0, 0};
  Color content = look.enabled ? theme.text : theme.text_disabled;
  Color icon_color = look.enabled ? theme.icon : theme.text_disabled;
  switch (look.style) {
    case ButtonStyle::Standard:
      fill = theme.content_background;
      break;
    case ButtonStyle::Accent:
    case ButtonStyle::Destructive: {
      Color base = look.style == ButtonStyle::Accent ? theme.accent : theme.danger;
      fill = look.enabled ? base : base.with_alpha(0.4f);
      content = icon_color = theme.accent_text;
      break;
    }
    case ButtonStyle::Flat:
      break;
  }
  if (fill.a > 0) canvas.fill_rounded_rect(rect, radius, fill);
  if (look.style == ButtonStyle::Standard) canvas.stroke_rounded_rect(rect, radius, theme.edge, 1);
  if (look.enabled && (look.pressed || look.hovered)) {
    bool filled = look.style == ButtonStyle::Accent || look.style == ButtonStyle::Destructive;
    // Filled buttons darken; the others take the theme's neutral hover and press tints.
    Color tint = filled ? Color::rgb(0x000000).with_alpha(look.pressed ? 0.18f : 0.09f)
                        : (look.pressed ? theme.pressed : theme.hover);
    canvas.fill_rounded_rect(rect, radius, tint);
  }
  if (look.focus_ring) paint::focus_ring(canvas, rect, radius, theme);

  TextStyle style = label_style(look, theme);
  float label_width = 0;
  std::string label = look.label;
  float available = rect.width() - 2 * kPadX - (look.icon ? kIconSize + kIconGap : 0);
  if (!label.empty()) {
    label = elide_end(label, style, std::max(0.0f, available));
    label_width = TextRenderer::shared().measure(label, style).width;
  }
  float content_width =
      label_width + (look.icon ? kIconSize : 0) + (look.icon && !label.empty() ? kIconGap : 0);
  float x = rect.x0 + std::max(kPadX * 0.5f, (rect.width() - content_width) / 2);
  if (look.icon) {
    float y = rect.center().y - kIconSize / 2;
    icons::draw_icon(canvas, *look.icon, Rect::from_xywh(x, y, kIconSize, kIconSize), icon_color,
                     1.6f);
    x += kIconSize + kIconGap;
  }
  if (!label.empty()) {
    TextRenderer::shared().draw_text_in(canvas, label, style,
                                        Rect{x, rect.y0, x + label_width + 1, rect.y1}, content);
  }
}

Button::Button(std::string label, std::optional<icons::Icon> icon) {
  look_.label = std::move(label);
  look_.icon = icon;
}

void Button::set_label(std::string label) {
  if (label == look_.label) return;
  look_.label = std::move(label);
  mark_dirty();
}

void Button::set_icon(std::optional<icons::Icon> icon) {
  look_.icon = icon;
  mark_dirty();
}

void Button::set_style(ButtonStyle style) {
  look_.style = style;
  mark_dirty();
}

void Button::set_enabled(bool enabled) {
  if (enabled == look_.enabled) return;
  look_.enabled = enabled;
  if (!enabled) look_.pressed = false;
  mark_dirty();
}

void Button::set_hovered(bool hovered) {
  if (hovered == look_.hovered) return;
  look_.hovered = hovered;
  mark_dirty();
}

void Button::set_pressed(bool pressed) {
  if (pressed == look_.pressed) return;
  look_.pressed = pressed;
  mark_dirty();
}

std::string Button::action_id() const {
  if (!action_id_.empty()) return action_id_;
  if (!control_id_.empty()) return control_id_;
  return instance_id("vask.button:");
}

bool Button::take_activated() {
  return std::exchange(activated_, false);
}

bool Button::activate() {
  if (!look_.enabled) return false;
  activated_ = true;
  mark_dirty();
  if (on_activate_) on_activate_();
  return true;
}

LayoutNode Button::build_layout(Size) {
  Size size = fixed_size_ ? *fixed_size_ : button_size(look_, theme());
  return LayoutNode{.id = 0,
                    .style = {.width = Dimension::points(size.width),
                              .height = Dimension::points(size.height),
                              .shrink = 0}};
}

void Button::apply_layout(const LayoutResult& layout) {
  Rect rect = layout.rect(0);
  if (rect != rect_) mark_dirty();
  rect_ = rect;
}

void Button::draw(Canvas& canvas) {
  ButtonLook look = look_;
  look.focus_ring = focused_ && focus_visibility::visible() && look_.enabled;
  draw_button(canvas, rect_, look, theme());
  mark_drawn();
}

EventResult Button::handle_event(const Event& event) {
  focus_visibility::note(event);
  if (const auto* move = std::get_if<PointerMove>(&event)) {
    set_hovered(rect_.contains(move->position));
    return EventResult::Ignored;
  }
  if (std::holds_alternative<PointerLeave>(event)) {
    set_hovered(false);
    return EventResult::Ignored;
  }
  if (const auto* press = std::get_if<PointerPress>(&event)) {
    if (press->button != PointerButton::Primary || !rect_.contains(press->position)) {
      return EventResult::Ignored;
    }
    if (!look_.enabled) return EventResult::Ignored;
    set_pressed(true);
    return EventResult::Handled;
  }
  if (const auto* release = std::get_if<PointerRelease>(&event)) {
    if (release->button != PointerButton::Primary || !look_.pressed) return EventResult::Ignored;
    set_pressed(false);
    // Sliding off the button before releasing is how people take a click back.
    if (rect_.contains(release->position)) activate();
    return EventResult::Handled;
  }
  if (const auto* key = std::get_if<KeyPress>(&event)) {
    if ((key->key == Key::Enter || key->key == Key::Space) && !key->repeat &&
        !key->modifiers.primary && !key->modifiers.alt) {
      return activate() ? EventResult::Handled : EventResult::Ignored;
    }
  }
  return EventResult::Ignored;
}

AccessNode Button::accessibility() const {
  AccessNode node;
  node.role = AccessRole::Button;
  node.name = accessible_name_.empty() ? look_.label : accessible_name_;
  node.description = hint_;
  node.bounds = rect_;
  node.states.focused = focused_;
  node.states.disabled = !look_.enabled;
  node.default_action = action_id();
  return node;
}

bool Button::perform_semantic_action(const SemanticAction& action) {
  if (action.action != access_action::press || action.target != action_id()) {
    return false;
  }
  return activate();
}

std::vector<ControlResource> Button::resources() const {
  if (control_id_.empty()) return {};
  ControlResource resource{
      .kind = control::kButtonKind,
      .control_id = control_id_,
      .label = accessible_name_.empty() ? look_.label : accessible_name_,
      .enabled = look_.enabled,
      .actions = {{.name = control::kInvokeAction, .target = control::kInvokeTarget}}};
  return {resource};
}

bool Button::take_control_invocation(const ControlInvocation& invocation) {
  if (control_id_.empty() || invocation.control_id != control_id_) return false;
  if (invocation.action != control::kInvokeAction && invocation.action != control::kInvokeTarget) {
    return false;
  }
  return activate();
}

void Button::focus_changed(bool focused) {
  if (focused == focused_) return;
  focused_ = focused;
  mark_dirty();
}

}  // namespace vask_ui
