#pragma once

#include <filesystem>
#include <optional>
#include <vector>

#include "command/explorer_command.h"
#include "places_sidebar/places.h"
#include "vask_ui/widgets/widget_base.h"

namespace files::places {

/// The left pane: the Favourites and System sections. A click or Enter opens a place, a
/// secondary click or the menu key asks for a favourite's menu, and dragging a favourite moves
/// it to another position. Everything that must outlive the widget lives in PlacesState; the
/// widget posts commands and never changes the favourites itself.
class PlacesSidebar final : public vask_ui::WidgetBase {
 public:
  PlacesSidebar(PlacesStateHandle state, std::filesystem::path current_folder,
                command::CommandQueueHandle commands,
                std::optional<std::filesystem::path> trash_folder);

  /// Puts one place per workspace root in front of Root and Trash.
  void set_workspace_roots(const std::vector<std::filesystem::path>& roots);
  /// The folder on view, whose row is highlighted.
  void set_current_folder(std::filesystem::path folder);
  /// Shows favourite `from` lifted and carried towards slot `to`, as a drag in progress would
  /// (screenshots). Needs a laid-out sidebar; indices outside the favourites do nothing.
  void show_drag_preview(std::size_t from, std::size_t to);

  const std::vector<Place>& system() const { return system_; }
  std::size_t row_count() const;
  SidebarGeometry geometry() const;
  /// The place in row `row` (favourites first), as a Place.
  std::optional<Place> place_at_row(std::size_t row) const;
  std::optional<std::size_t> active_row() const;
  std::optional<RowRef> hovered_row() const { return hovered_; }
  vask_ui::Rect rect() const { return rect_; }

  vask_ui::LayoutNode build_layout(vask_ui::Size available) override;
  void apply_layout(const vask_ui::LayoutResult& layout) override;
  void draw(vask_ui::Canvas& canvas) override;
  vask_ui::EventResult handle_event(const vask_ui::Event& event) override;
  vask_ui::AccessNode accessibility() const override;
  bool perform_semantic_action(const vask_ui::SemanticAction& action) override;
  void focus_changed(bool focused) override;
  bool accepts_focus() const override { return true; }
  vask_ui::CursorShape cursor_shape(vask_ui::Point position) const override;

 private:
  std::size_t row_number(RowRef row) const;
  RowRef row_ref(std::size_t row) const;
  vask_ui::EventResult handle_press(const vask_ui::PointerPress& press);
  vask_ui::EventResult handle_release();
  void handle_move(vask_ui::Point p);
  vask_ui::EventResult handle_key(const vask_ui::KeyPress& key);
  void open_row(std::size_t row);
  void ask_for_menu(std::size_t row, vask_ui::Point position);
  /// The slot the dragged favourite lands in with the pointer at `y`: the one under the lifted
  /// row's middle, clamped to the favourites.
  std::size_t drag_target(float y) const;
  /// Where favourite `index` is drawn while another one is dragged.
  std::size_t shown_slot(std::size_t index) const;
  void draw_row(vask_ui::Canvas& canvas, vask_ui::Rect row, const Place& place,
                std::size_t number) const;
  void draw_lifted_row(vask_ui::Canvas& canvas) const;

  PlacesStateHandle state_;
  std::filesystem::path current_;
  command::CommandQueueHandle commands_;
  std::optional<std::filesystem::path> trash_;
  std::vector<Place> system_;
  std::optional<RowRef> hovered_;
  vask_ui::Rect rect_;
  float row_scale_ = 1;
};

/// A favourite as the sidebar shows it.
Place favourite_place(const favorites::Favourite& favourite);

}  // namespace files::places
