#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "command/explorer_command.h"
#include "path_bar/path_bar.h"
#include "vask_ui/widgets/button.h"
#include "vask_ui/widgets/container.h"
#include "vask_ui/widgets/toggle_group.h"

namespace files::toolbar {

/// Below this width the toolbar keeps only Back, Up, the path bar and one view button.
inline constexpr float kCompactBelowWidth = 760;

/// What the window pushes into the toolbar before each layout.
struct ToolbarState {
  bool back_enabled = false;
  bool forward_enabled = false;
  bool up_enabled = false;
  bool grid_view = false;
  /// The archive file when the current folder lies inside one (or is one): Extract then takes
  /// the place of View options.
  std::optional<std::filesystem::path> archive;
  std::filesystem::path current_folder;
  std::optional<std::filesystem::path> home;
  std::vector<std::filesystem::path> workspace_roots;
};

/// The strip across the top of the content: Back, Forward, Up, the path bar, the view-mode
/// toggle, Sort by, and View options (or Extract inside an archive). Its buttons post commands;
/// the window decides what happens and pushes the result back with `update`.
class FileToolbar final : public vask_ui::Container {
 public:
  explicit FileToolbar(command::CommandQueueHandle commands);

  void update(const ToolbarState& state);
  path_bar::PathBar& path_bar() { return path_bar_; }
  const path_bar::PathBar& path_bar() const { return path_bar_; }
  bool is_compact() const { return compact_; }
  /// Whether the last layout switched between the compact and the full set of controls; asking
  /// clears it. The toolbar has already laid its controls out again by then.
  bool take_relayout_request() { return std::exchange(relayout_requested_, false); }
  /// The control ids shown, left to right, the path bar's field included.
  std::vector<std::string> shown_control_ids() const;
  /// A shown button by control id (nullptr when it is not shown).
  const vask_ui::Button* shown_button(std::string_view control_id) const;
  const vask_ui::ToggleGroup& view_mode_toggle() const { return view_mode_; }
  vask_ui::Rect rect() const { return rect_; }

  vask_ui::LayoutNode build_layout(vask_ui::Size available) override;
  void apply_layout(const vask_ui::LayoutResult& layout) override;
  void draw(vask_ui::Canvas& canvas) override;

 protected:
  std::vector<vask_ui::Widget*> children() const override;
  vask_ui::AccessNode own_access_node() const override;

 private:
  void rebuild_lists();
  void place(const vask_ui::LayoutResult& layout);
  /// Where a menu opened by `button` appears: under its left edge.
  static vask_ui::Point menu_anchor(const vask_ui::Button& button);

  command::CommandQueueHandle commands_;
  ToolbarState state_;
  vask_ui::Button back_;
  vask_ui::Button forward_;
  vask_ui::Button up_;
  vask_ui::ToggleGroup view_mode_;
  vask_ui::Button sort_;
  vask_ui::Button extract_;
  vask_ui::Button view_options_;
  path_bar::PathBar path_bar_;
  /// The path bar as the child list holds it (children() is const, the children are not).
  vask_ui::Widget* path_bar_widget_ = &path_bar_;
  std::vector<vask_ui::Widget*> left_;
  std::vector<vask_ui::Widget*> right_;
  vask_ui::Rect rect_;
  bool compact_ = true;
  bool relayout_requested_ = false;
};

}  // namespace files::toolbar
