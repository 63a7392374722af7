#pragma once

#include <filesystem>
#include <optional>
#include <vector>

#include "command/explorer_command.h"
#include "path_bar/crumbs.h"
#include "vask_ui/widgets/autocomplete.h"
#include "vask_ui/widgets/widget_base.h"

namespace files::path_bar {

/// The current folder as breadcrumbs. A click on an ancestor opens it; a click elsewhere in the
/// bar, Enter on the current folder's crumb or `start_editing` turns the bar into a text field
/// with path completion. The bar never navigates itself: it posts GoToFolder and GoToTypedPath,
/// and the window answers with `set_path`.
class PathBar final : public vask_ui::WidgetBase {
 public:
  static constexpr float kHeight = 34;

  explicit PathBar(command::CommandQueueHandle commands);

  /// The folder on view. While editing only the stored values change; the crumbs follow when
  /// the edit ends, so the trail never changes under the user's typing.
  void set_path(std::filesystem::path current, std::optional<std::filesystem::path> home,
                std::vector<std::filesystem::path> workspace_roots);
  /// Shows the folder as text ("~/…" inside home) ready for editing, with completions.
  void start_editing();
  bool is_editing() const { return editing_; }

  const std::vector<Crumb>& crumbs() const { return crumbs_; }
  /// The trail as placed at the last layout or draw.
  const std::vector<CrumbItem>& elements() const { return elements_; }
  std::optional<std::size_t> keyboard_crumb() const { return keyboard_crumb_; }
  std::optional<std::size_t> hovered_element() const { return hovered_; }
  vask_ui::Rect bounds() const { return bounds_; }
  /// Where items dropped open the current folder's parent: its crumb, when the trail shows it.
  std::optional<vask_ui::Rect> parent_drop_zone() const;
  /// The completion popup while editing (it hangs below the bar, outside its bounds).
  vask_ui::Rect popup_rect() const;
  vask_ui::Autocomplete& field() { return field_; }
  const vask_ui::Autocomplete& field() const { return field_; }

  vask_ui::LayoutNode build_layout(vask_ui::Size available) override;
  void apply_layout(const vask_ui::LayoutResult& layout) override;
  void draw(vask_ui::Canvas& canvas) override;
  void draw_overlay(vask_ui::Canvas& canvas) override;
  vask_ui::EventResult handle_event(const vask_ui::Event& event) override;
  vask_ui::CursorShape cursor_shape(vask_ui::Point position) const override;
  vask_ui::AccessNode accessibility() const override;
  bool perform_semantic_action(const vask_ui::SemanticAction& action) override;
  void focus_changed(bool focused) override;
  bool accepts_focus() const override { return true; }
  bool needs_redraw() const override;
  std::optional<vask_ui::TimePoint> next_wake_deadline() const override;
  std::optional<vask_ui::Rect> input_caret_rect() const override;

 private:
  void on_sync(const vask_ui::FrameContext& frame) override;
  void rebuild_crumbs();
  void relayout();
  void end_editing();
  /// Acts on what the field reported: a submission opens the typed location.
  void take_field_outcome();
  vask_ui::EventResult handle_browsing(const vask_ui::Event& event);
  vask_ui::EventResult handle_key(const vask_ui::KeyPress& key);
  /// Enter on the keyboard crumb: open an ancestor, edit the current folder.
  bool activate_keyboard_crumb();
  void update_hover(vask_ui::Point p);
  void draw_trail(vask_ui::Canvas& canvas);

  command::CommandQueueHandle commands_;
  vask_ui::Autocomplete field_;
  std::filesystem::path current_;
  std::optional<std::filesystem::path> home_;
  std::vector<std::filesystem::path> roots_;
  // Frozen for the length of one edit.
  std::filesystem::path edit_base_;
  std::optional<std::filesystem::path> edit_home_;

  std::vector<Crumb> crumbs_;
  std::vector<CrumbItem> elements_;
  std::optional<std::size_t> hovered_;
  std::optional<std::size_t> keyboard_crumb_;
  vask_ui::Rect bounds_;
  std::optional<vask_ui::Point> pointer_;
  bool edit_requested_ = false;
  bool focused_ = false;
  bool editing_ = false;
};

}  // namespace files::path_bar
