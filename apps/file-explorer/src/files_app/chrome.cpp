#include "favorites/favorites.h"
#include "favorites/folder_path.h"
#include "files_app/file_explorer_widget.h"
#include "i18n/i18n.h"
#include "model/archive_reader.h"

// The window's side of its chrome: the state it pushes into the toolbar, editing the location,
// and the favourites the sidebar shows.

namespace files::app {

namespace {

std::optional<vask_ui::Point> pointer_position(const vask_ui::Event& event) {
  if (const auto* move = std::get_if<vask_ui::PointerMove>(&event)) return move->position;
  if (const auto* press = std::get_if<vask_ui::PointerPress>(&event)) return press->position;
  if (const auto* release = std::get_if<vask_ui::PointerRelease>(&event)) return release->position;
  if (const auto* wheel = std::get_if<vask_ui::Wheel>(&event)) return wheel->position;
  return std::nullopt;
}

}  // namespace

void FileExplorerWidget::push_toolbar_state() {
  const std::filesystem::path& current = state_.current_folder();
  if (current != toolbar_folder_) {
    // Finding the archive looks at every ancestor on disk: once per folder is enough.
    toolbar_folder_ = current;
    auto location = model::archive_view_location(current);
    toolbar_archive_ = location ? std::optional(location->archive) : std::nullopt;
  }
  toolbar::ToolbarState s;
  s.back_enabled = !state_.back_history().empty();
  s.forward_enabled = !state_.forward_history().empty();
  s.up_enabled = favorites::plain_folder(current).has_relative_path();
  s.grid_view = state_.view_mode() == model::ViewMode::Grid;
  s.archive = toolbar_archive_;
  s.current_folder = current;
  s.home = config_.user_home;
  s.workspace_roots = config_.workspace_roots;
  toolbar_.update(s);
}

void FileExplorerWidget::start_location_edit() {
  // Keys reach the field along the focus chain: shell → content column → toolbar → path bar.
  toolbar_.focus_child(&toolbar_.path_bar());
  content_column_.focus_child(&toolbar_);
  nav_shell_.focus_child(&content_column_);
  toolbar_.path_bar().start_editing();
  state_.request_redraw();
}

std::optional<vask_ui::EventResult> FileExplorerWidget::route_location_edit(
    const vask_ui::Event& event) {
  path_bar::PathBar& bar = toolbar_.path_bar();
  if (!bar.is_editing()) return std::nullopt;
  auto position = pointer_position(event);
  if (!position) return std::nullopt;
  if (bar.popup_rect().contains(*position)) return bar.handle_event(event);
  if (std::holds_alternative<vask_ui::PointerPress>(event) && !bar.bounds().contains(*position)) {
    // Ends the edit; the press still does its own job where it landed.
    bar.handle_event(event);
  }
  return std::nullopt;
}

bool FileExplorerWidget::drop_adds_favourite(const InAppDrag& drag) const {
  return drag.single_folder && drag.paths.size() == 1 && pointer_ &&
         nav_shell_.is_sidebar_shown() && nav_shell_.sidebar_rect().contains(*pointer_);
}

void FileExplorerWidget::save_favourites() const {
  // A failed save keeps the list of this session; the file is tried again at the next change.
  if (!config_.config_dir.empty())
    (void)favorites::save_favourites(config_.config_dir, favourites());
}

bool FileExplorerWidget::add_favourite(const std::filesystem::path& path) {
  if (!favorites::add_favourite(places_->favourites, path, config_.user_home, config_.user_dirs)) {
    return false;
  }
  save_favourites();
  state_.set_notice(i18n::t("files-added-favourite"));
  return true;
}

bool FileExplorerWidget::remove_favourite(const std::filesystem::path& path) {
  if (!favorites::remove_favourite(places_->favourites, path)) return false;
  save_favourites();
  state_.set_notice(i18n::t("files-removed-favourite"));
  return true;
}

bool FileExplorerWidget::move_favourite(std::size_t from, std::size_t to) {
  if (!favorites::move_favourite(places_->favourites, from, to)) return false;
  save_favourites();
  return true;
}

}  // namespace files::app
