#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "vask_ui/widgets/widget_base.h"

namespace vask_ui {

/// A segmented control: one of several labelled segments is selected. Clicks, Left/Right/
/// Home/End while focused, automation ("vask.control.segmented" select with an integer
/// "index") and assistive technology choose a segment.
class ToggleGroup final : public WidgetBase {
 public:
  explicit ToggleGroup(std::vector<std::string> labels = {}, std::size_t selected = 0);

  void set_segments(std::vector<std::string> labels);
  const std::vector<std::string>& segments() const { return labels_; }
  /// Selects a segment without reporting it as the user's choice.
  void set_selected(std::size_t index);
  std::size_t selected() const { return selected_; }
  void set_enabled(bool enabled);
  void set_control_id(std::string id) { control_id_ = std::move(id); }
  const std::string& control_id() const { return control_id_; }
  void set_accessible_name(std::string name) { accessible_name_ = std::move(name); }

  /// Called with the new index when the user (or automation) chooses a different segment.
  void set_on_select(std::function<void(std::size_t)> callback) {
    on_select_ = std::move(callback);
  }
  /// The segment chosen since the last call, once.
  std::optional<std::size_t> take_selection_change();
  /// Chooses a segment as the user would; false when the index is out of range.
  bool choose(std::size_t index);

  Rect segment_rect(std::size_t index) const;
  std::optional<std::size_t> segment_at(Point position) const;

  LayoutNode build_layout(Size available) override;
  void apply_layout(const LayoutResult& layout) override;
  void draw(Canvas& canvas) override;
  EventResult handle_event(const Event& event) override;
  AccessNode accessibility() const override;
  bool perform_semantic_action(const SemanticAction& action) override;
  std::vector<ControlResource> resources() const override;
  bool take_control_invocation(const ControlInvocation& invocation) override;
  void focus_changed(bool focused) override;
  bool accepts_focus() const override { return enabled_ && !labels_.empty(); }

 private:
  float segment_width() const;
  std::string segment_action(std::size_t index) const;

  std::vector<std::string> labels_;
  std::size_t selected_ = 0;
  bool enabled_ = true;
  std::string control_id_;
  std::string accessible_name_;
  std::function<void(std::size_t)> on_select_;
  std::optional<std::size_t> change_;
  std::optional<std::size_t> hovered_;
  std::optional<std::size_t> pressed_;
  bool focused_ = false;
  Rect rect_;
};

}  // namespace vask_ui
