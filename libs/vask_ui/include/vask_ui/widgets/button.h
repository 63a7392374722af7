#pragma once

#include <functional>
#include <optional>
#include <string>

#include "vask_ui/icons.h"
#include "vask_ui/widgets/widget_base.h"

namespace vask_ui {

enum class ButtonStyle {
  Standard,     ///< a raised button with an edge
  Accent,       ///< the dialog's main action, filled with the accent colour
  Destructive,  ///< a confirmation that loses data, filled with the danger colour
  Flat,         ///< toolbar buttons: no ground until hovered
};

/// Everything that decides how a button looks; also used to paint buttons that are not
/// widgets of their own (a sheet's confirm button).
struct ButtonLook {
  std::string label;
  std::optional<icons::Icon> icon;
  ButtonStyle style = ButtonStyle::Standard;
  bool enabled = true;
  bool hovered = false;
  bool pressed = false;
  bool focus_ring = false;
};

void draw_button(Canvas& canvas, Rect rect, const ButtonLook& look, const Theme& theme);
/// The size a button needs for its label and icon at the theme's sizes.
Size button_size(const ButtonLook& look, const Theme& theme);

/// A push button with a label and/or an icon. It is activated by a primary click that is
/// released over it, by Enter or Space while focused, by automation ("vask.control" invoke
/// under its control id) and by assistive technology (its default action).
class Button final : public WidgetBase {
 public:
  explicit Button(std::string label = {}, std::optional<icons::Icon> icon = std::nullopt);

  void set_label(std::string label);
  const std::string& label() const { return look_.label; }
  void set_icon(std::optional<icons::Icon> icon);
  void set_style(ButtonStyle style);
  void set_enabled(bool enabled);
  bool enabled() const { return look_.enabled; }
  /// Publishes the button to automation as a "vask.control" resource under this id.
  void set_control_id(std::string id) { control_id_ = std::move(id); }
  const std::string& control_id() const { return control_id_; }
  /// What a screen reader says (defaults to the label) and the hint read after it.
  void set_accessible_name(std::string name) { accessible_name_ = std::move(name); }
  void set_hint(std::string hint) { hint_ = std::move(hint); }
  /// The id of the accessibility default action; the control id when not set (and an id of
  /// the button's own without either, so that screen readers can always press it).
  void set_action_id(std::string id) { action_id_ = std::move(id); }
  /// A fixed size instead of the content size (toolbar buttons are 36 × 32).
  void set_fixed_size(std::optional<Size> size) { fixed_size_ = size; }

  void set_on_activate(std::function<void()> callback) { on_activate_ = std::move(callback); }
  /// True once after each activation (for owners that poll instead of using a callback).
  bool take_activated();
  /// Activates the button as a click would; nothing happens while it is disabled.
  bool activate();

  bool is_hovered() const { return look_.hovered; }
  bool is_pressed() const { return look_.pressed; }
  bool is_focused() const { return focused_; }
  Rect rect() const { return rect_; }

  LayoutNode build_layout(Size available) override;
  void apply_layout(const LayoutResult& layout) override;
  void draw(Canvas& canvas) override;
  EventResult handle_event(const Event& event) override;
  AccessNode accessibility() const override;
  bool perform_semantic_action(const SemanticAction& action) override;
  std::vector<ControlResource> resources() const override;
  bool take_control_invocation(const ControlInvocation& invocation) override;
  void focus_changed(bool focused) override;
  bool accepts_focus() const override { return look_.enabled; }

 private:
  void set_hovered(bool hovered);
  void set_pressed(bool pressed);
  std::string action_id() const;

  ButtonLook look_;
  std::string control_id_;
  std::string accessible_name_;
  std::string hint_;
  std::string action_id_;
  std::optional<Size> fixed_size_;
  std::function<void()> on_activate_;
  bool activated_ = false;
  bool focused_ = false;
  Rect rect_;
};

namespace control {
/// The automation vocabulary of buttons and segmented controls.
inline constexpr const char* kButtonKind = "vask.control";
inline constexpr const char* kInvokeAction = "invoke";
inline constexpr const char* kInvokeTarget = "vask.ui.control.invoke";
inline constexpr const char* kSegmentedKind = "vask.control.segmented";
inline constexpr const char* kSelectAction = "select";
inline constexpr const char* kSelectTarget = "vask.ui.segmented.select";
}  // namespace control

}  // namespace vask_ui
