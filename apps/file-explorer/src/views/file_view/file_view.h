#pragma once

#include <map>
#include <optional>
#include <span>
#include <string>
#include <tuple>
#include <vector>

#include "command/explorer_command.h"
#include "model/file_entry.h"
#include "vask_ui/access.h"
#include "vask_ui/regions.h"
#include "vask_ui/selection.h"
#include "vask_ui/theme.h"
#include "vask_ui/widget.h"
#include "views/file_view/drop_targets.h"
#include "views/file_view/file_view_geometry.h"

namespace files::views {

/// Everything the view is built from; the window makes a fresh one at every layout.
struct FileViewState {
  std::span<const model::FileEntry> entries;
  model::ViewMode mode = model::ViewMode::List;
  int zoom_step = 0;
  float scale = 1;
  model::SortKey sort_key = model::SortKey::Name;
  bool descending = false;
  vask_ui::SelectionModel selection;
  bool focus_visible = false;
  std::optional<std::size_t> rename_index;
  bool view_focused = false;
  DropTargetsHandle drop_targets;
  command::CommandQueueHandle commands;
  const vask_ui::Theme* theme = nullptr;
};

/// The folder's entries as a grid of tiles or a list with columns. The view lays itself out in
/// content coordinates (its own top-left is `bounds().origin()`); the window tells it which part
/// is visible and where content coordinates lie in the window, and hands it pointer events in
/// content coordinates.
class FileView final : public vask_ui::Widget {
 public:
  explicit FileView(FileViewState state = {});
  /// Rebuilds the view from the window's state for the next layout. The pointer position the
  /// view has seen is kept; everything else comes from `state`.
  void update(FileViewState state);

  /// Width and height of the content for an available width.
  vask_ui::Size measure(float available_width) const;
  bool is_grid() const { return state_.mode == model::ViewMode::Grid; }
  std::size_t columns() const { return is_grid() ? grid_.columns : 1; }

  /// The visible part of the content (content coordinates) and the offset that turns content
  /// coordinates into window coordinates.
  void set_viewport(vask_ui::Rect visible, vask_ui::Point content_to_window);

  std::optional<std::size_t> hit_test(float x, float y) const;
  /// Tile (grid) or row (list) of an entry, in content coordinates.
  vask_ui::Rect item_rect(std::size_t index) const;
  vask_ui::Rect cell_rect(std::size_t index) const { return item_rect(index); }
  vask_ui::Rect column_rect(ListColumn column) const;
  /// Where the rename field goes (window coordinates), reported by the last draw.
  std::optional<vask_ui::Rect> rename_rect() const { return rename_rect_; }
  const vask_ui::Rect& bounds() const { return bounds_; }

  vask_ui::LayoutNode build_layout(vask_ui::Size available) override;
  void apply_layout(const vask_ui::LayoutResult& layout) override;
  /// Lays the view out directly at `bounds` (content coordinates).
  void place(vask_ui::Rect bounds);
  void draw(vask_ui::Canvas& canvas) override;
  vask_ui::EventResult handle_event(const vask_ui::Event& event) override;
  vask_ui::AccessNode accessibility() const override;
  bool accepts_focus() const override { return true; }

  static constexpr int kLayoutId = 0;

 private:
  struct ItemMetrics;
  void draw_grid(vask_ui::Canvas& canvas);
  void draw_list(vask_ui::Canvas& canvas);
  void draw_list_header(vask_ui::Canvas& canvas, float top);
  void draw_selection(vask_ui::Canvas& canvas, std::size_t index, vask_ui::Rect rect);
  void draw_file_tile(vask_ui::Canvas& canvas, const model::FileEntry& entry, vask_ui::Rect rect);
  void draw_badge_for(vask_ui::Canvas& canvas, const model::FileEntry& entry, vask_ui::Rect icon);
  void register_item(std::size_t index, vask_ui::Rect rect);
  vask_ui::Rect to_window(vask_ui::Rect r) const;
  vask_ui::EventResult handle_press(const vask_ui::PointerPress& press);
  vask_ui::EventResult handle_key(const vask_ui::KeyPress& key);
  const vask_ui::Theme& theme() const;

  FileViewState state_;
  float zoom_;
  vask_ui::Rect bounds_;
  vask_ui::Rect visible_;
  vask_ui::Point offset_;
  GridGeometry grid_;
  ListGeometry list_;
  std::optional<vask_ui::Point> pointer_;
  std::optional<vask_ui::Rect> rename_rect_;
  // File-type tiles painted once per kind, extension and size, then copied.
  using TileKey = std::tuple<int, std::string, float, float, float, float>;
  std::map<TileKey, vask_ui::Image> tile_cache_;
};

}  // namespace files::views
