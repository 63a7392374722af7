#include <algorithm>

#include "archive_ops/archive_commands.h"
#include "fileops/names.h"
#include "fileops/templates.h"
#include "files_app/file_explorer_widget.h"
#include "files_app/info_sheets.h"
#include "i18n/i18n.h"
#include "model/archive_reader.h"
#include "support/overloaded.h"
#include "vask_ui/clock.h"
#include "vask_ui/dnd.h"
#include "vask_ui/gesture.h"
#include "vask_ui/host.h"
#include "vask_ui/log.h"

// The command executor: every ExplorerCommand ends here and runs in the module that owns it.

namespace files::app {

namespace {

std::shared_ptr<spdlog::logger> drag_log() {
  return vask_ui::log::get("file_explorer::drag");
}

std::string paths_text(const std::vector<std::filesystem::path>& paths) {
  std::string out = "[";
  for (std::size_t i = 0; i < paths.size(); ++i) {
    if (i > 0) out += ", ";
    out += paths[i].string();
  }
  return out + "]";
}

}  // namespace

void FileExplorerWidget::drain_commands() {
  // Commands posted while these run wait for the next drain.
  for (const command::ExplorerCommand& c : commands_->take_all()) {
    if (execute(c)) state_.request_redraw();
  }
}

bool FileExplorerWidget::not_available_yet(const command::ExplorerCommand& command) {
  vask_ui::log::get("file_explorer::commands")
      ->info("{} is not available yet in this build", command::command_name(command));
  return false;
}

bool FileExplorerWidget::guard_read_only() {
  if (!state_.in_archive()) return false;
  state_.set_notice(i18n::t("files-archive-read-only"));
  return true;
}

std::expected<void, std::string> FileExplorerWidget::open_item(std::filesystem::path path) {
  last_click_.reset();
  if (auto location = model::archive_view_location(path)) {
    if (location->inner.empty()) {
      navigate(path);
      return {};
    }
    // A member folder is one the listing showed as a folder.
    for (const model::FileEntry& entry : state_.entries()) {
      if (entry.path == path) {
        if (entry.is_dir) {
          navigate(path);
        } else {
          state_.set_notice(i18n::t("files-archive-open-after-extract"));
        }
        return {};
      }
    }
    navigate(path);
    return {};
  }
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) {
    navigate(path);
    return {};
  }
  return vask_ui::host::current().open_path(path);
}

bool FileExplorerWidget::execute_item_click(const command::ItemClick& click) {
  const auto& entries = state_.entries();
  if (click.index >= entries.size()) return false;
  auto& selection = state_.selection();
  if (click.toggle || click.range) {
    selection.apply_click(click.index, vask_ui::ClickMode{click.toggle, click.range});
    last_click_.reset();
    return true;
  }
  // A press on one item of a larger selection may start a drag of all of them.
  drag_candidates_.clear();
  if (selection.count() > 1 && selection.is_selected(click.index)) {
    for (std::size_t i : selection.selected())
      drag_candidates_.push_back(entries[i].path);
  }
  TimePoint now = vask_ui::ui_clock::now();
  if (last_click_ && last_click_->index == click.index &&
      now - last_click_->at < vask_ui::gesture::multi_click_interval()) {
    last_click_.reset();
    if (auto opened = open_item(entries[click.index].path); !opened)
      state_.set_notice(opened.error());
    return true;
  }
  selection.select_only(click.index);
  last_click_ = LastClick{click.index, now};
  return true;
}

bool FileExplorerWidget::begin_drag(const std::filesystem::path& path, bool is_dir) {
  if (drag_) return false;
  std::vector<std::filesystem::path> paths;
  if (std::find(drag_candidates_.begin(), drag_candidates_.end(), path) != drag_candidates_.end()) {
    paths = drag_candidates_;
  } else {
    paths = {path};
  }
  drag_log()->debug("drag begins path={} paths={} at=({}, {})", path.string(), paths_text(paths),
                    pointer_ ? pointer_->x : 0.0f, pointer_ ? pointer_->y : 0.0f);
  drag_ = InAppDrag{paths, paths.size() == 1 && is_dir};
  if (vask_ui::dnd::start_file_drag(paths)) {
    drag_log()->debug("carrying the drag out of this app as a client drag paths={}",
                      paths_text(paths));
    drag_.reset();
    hovered_drop_.reset();
  } else {
    update_drag_hover();
  }
  return true;
}

void FileExplorerWidget::handle_drop() {
  auto destination = pointer_ ? drop_destination_at(*pointer_) : std::nullopt;
  InAppDrag drag = std::move(*drag_);
  drag_.reset();
  hovered_drop_.reset();
  if (!destination) {
    if (drop_adds_favourite(drag)) execute(command::AddFavourite{drag.paths.front()});
    return;
  }
  if (guard_read_only()) return;
  auto report = fileops::drop_move(drag.paths, destination->path);
  if (report.refresh()) state_.refresh();
  state_.set_notice(report.status);
}

bool FileExplorerWidget::show_shortcuts() {
  Sheet sheet;
  sheet.title = i18n::t("files-shortcuts-title");
  sheet.summary = i18n::t("files-shortcuts-summary");
  for (const char* id :
       {"files-shortcuts-primary", "files-shortcuts-navigate", "files-shortcuts-grid",
        "files-shortcuts-open", "files-shortcuts-location", "files-shortcuts-new-folder",
        "files-shortcuts-edit", "files-shortcuts-hidden", "files-shortcuts-size",
        "files-shortcuts-context", "files-shortcuts-close"}) {
    sheet.details.push_back(i18n::t(id));
  }
  open_sheet(std::move(sheet));
  return true;
}

bool FileExplorerWidget::show_properties() {
  const model::FileEntry* entry = state_.primary_entry();
  if (entry == nullptr) return false;
  open_sheet(properties_sheet(*entry));
  return true;
}

bool FileExplorerWidget::show_availability() {
  const model::FileEntry* entry = state_.primary_entry();
  if (entry == nullptr) return false;
  auto sheet = availability_sheet(*entry);
  if (!sheet) return false;
  open_sheet(std::move(*sheet));
  return true;
}

void FileExplorerWidget::open_sheet(Sheet sheet) {
  sheet_ = std::move(sheet);
  sheet_focus_request_ = true;
  state_.request_redraw();
}

void FileExplorerWidget::close_sheet() {
  sheet_.reset();
  sheet_focus_request_ = false;
  state_.request_redraw();
}

bool FileExplorerWidget::run_archive(archive_ops::ArchiveOutcome outcome) {
  if (outcome.refresh) state_.refresh();
  if (outcome.status) state_.set_notice(*outcome.status);
  return outcome.refresh || outcome.status.has_value();
}

bool FileExplorerWidget::run_trash(fileops::TrashOutcome outcome) {
  if (outcome.refresh) state_.refresh();
  if (outcome.status) state_.set_notice(*outcome.status);
  return outcome.refresh || outcome.status.has_value();
}

bool FileExplorerWidget::copy_or_cut(fileops::ClipboardMode mode) {
  auto paths = state_.selected_paths();
  if (paths.empty()) return false;
  if (mode == fileops::ClipboardMode::Cut && guard_read_only()) return true;
  state_.set_notice(fileops::put_on_clipboard(clipboard_, std::move(paths), mode));
  return true;
}

bool FileExplorerWidget::paste() {
  if (guard_read_only()) return true;
  auto report = fileops::paste(clipboard_, state_.current_folder());
  if (!report) return false;
  state_.refresh();
  state_.set_notice(fileops::paste_status(*report));
  return true;
}

bool FileExplorerWidget::delete_selection() {
  if (guard_read_only()) return true;
  auto paths = state_.selected_paths();
  if (paths.empty()) return false;
  auto trash = fileops::Trash::home();
  if (!trash) return false;
  if (fileops::is_trash_folder(*trash, state_.current_folder())) {
    // Items already in the Trash are deleted for good, and only after a confirmation.
    auto confirmation = fileops::permanent_delete_confirmation(paths.size());
    open_sheet(Sheet{confirmation.title, confirmation.summary, confirmation.details,
                     PermanentDeleteAction{std::move(paths)}});
    return true;
  }
  return run_trash(fileops::move_to_trash(*trash, paths, trash_undo_));
}

bool FileExplorerWidget::new_folder() {
  if (guard_read_only()) return true;
  return show_created(fileops::new_folder(state_.current_folder()));
}

bool FileExplorerWidget::new_from_template(const std::filesystem::path& template_path) {
  if (guard_read_only()) return true;
  return show_created(fileops::new_from_template(template_path, state_.current_folder()));
}

bool FileExplorerWidget::show_created(const std::expected<fileops::Created, std::string>& created) {
  if (!created) {
    state_.set_notice(created.error());
    return true;
  }
  state_.refresh();
  select_and_rename(created->path);
  // After the rename began (which clears the status): the creation stays reported.
  state_.set_notice(created->status);
  return true;
}

std::expected<void, std::string> FileExplorerWidget::open_terminal() {
  auto started = vask_ui::host::current().start_in_folder("terminal", state_.current_folder());
  if (!started) return std::unexpected("could not open terminal: " + started.error());
  return {};
}

bool FileExplorerWidget::execute(const command::ExplorerCommand& cmd) {
  using namespace command;
  auto trash = [] { return fileops::Trash::home(); };
  return std::visit(
      Overloaded{
          [&](const Refresh&) { return last_click_.reset(), state_.refresh(), true; },
          [&](const GoToFolder& c) { return navigate(c.path), true; },
          [&](const GoToTypedPath& c) {
            std::error_code ec;
            if (std::filesystem::is_regular_file(c.path, ec)) {
              if (auto opened = open_item(c.path); !opened) state_.set_notice(opened.error());
            } else {
              navigate(c.path);
            }
            return true;
          },
          [&](const GoUp&) { return last_click_.reset(), state_.go_up(), true; },
          [&](const GoBack&) { return last_click_.reset(), state_.go_back(), true; },
          [&](const GoForward&) { return last_click_.reset(), state_.go_forward(), true; },
          [&](const OpenEntry& c) {
            if (auto opened = open_item(c.path); !opened) state_.set_notice(opened.error());
            return true;
          },
          [&](const SetViewMode& c) { return state_.set_view_mode(c.mode), true; },
          [&](const SetSortKey& c) { return state_.set_sort_key(c.key), true; },
          [&](const SetSortDirection& c) { return state_.set_sort_order(c.order), true; },
          [&](const ToggleHidden&) { return state_.toggle_hidden(), true; },
          [&](const OpenTerminal&) {
            if (auto started = open_terminal(); !started) state_.set_notice(started.error());
            return true;
          },
          [&](const ItemClick& c) { return execute_item_click(c); },
          [&](const ItemContext& c) {
            if (c.index && *c.index < state_.entries().size()) {
              if (!state_.selection().is_selected(*c.index))
                state_.selection().select_only(*c.index);
            } else if (!c.index) {
              state_.selection().clear();
            }
            last_click_.reset();
            return true;
          },
          [&](const MoveFocus& c) { return move_focus(c.index, c.extend), true; },
          [&](const SortByColumn& c) {
            if (c.key == state_.sort_key()) {
              state_.set_sort_order(state_.sort_order() == model::SortOrder::Ascending
                                        ? model::SortOrder::Descending
                                        : model::SortOrder::Ascending);
            } else {
              state_.set_sort_key(c.key);
            }
            return true;
          },
          [&](const ArmDrag& c) {
            armed_ = ArmedPress{c.path, c.is_dir, c.position};
            return false;
          },
          [&](const BeginDrag& c) { return begin_drag(c.path, c.is_dir); },
          [&](const ShowShortcuts&) { return show_shortcuts(); },
          [&](const CopySelection&) { return copy_or_cut(fileops::ClipboardMode::Copy); },
          [&](const CutSelection&) { return copy_or_cut(fileops::ClipboardMode::Cut); },
          [&](const Paste&) { return paste(); },
          [&](const NewFolder&) { return new_folder(); },
          [&](const NewFromTemplate& c) { return new_from_template(c.template_path); },
          [&](const BeginRename&) { return begin_rename(); },
          [&](const CommitRename&) { return commit_rename(); },
          [&](const CancelRename&) { return cancel_rename(); },
          [&](const DeleteSelection&) { return delete_selection(); },
          [&](const UndoTrash&) {
            if (guard_read_only()) return true;
            auto t = trash();
            return t ? run_trash(fileops::undo_trash(*t, trash_undo_)) : false;
          },
          [&](const RestoreSelection&) {
            auto t = trash();
            return t ? run_trash(
                           fileops::restore_selection(*t, state_.selected_paths(), trash_undo_))
                     : false;
          },
          [&](const ConfirmEmptyTrash&) {
            auto request = fileops::empty_trash_request(state_.entries().size());
            if (request.status) state_.set_notice(*request.status);
            if (request.confirmation) {
              open_sheet(Sheet{request.confirmation->title, request.confirmation->summary,
                               request.confirmation->details, EmptyTrashAction{}});
            }
            return true;
          },
          [&](const PurgePaths& c) {
            auto t = trash();
            return t ? run_trash(fileops::purge_paths(*t, c.paths, trash_undo_)) : false;
          },
          [&](const EmptyTrash&) {
            auto t = trash();
            return t ? run_trash(fileops::empty_trash(*t, trash_undo_)) : false;
          },
          [&](const ShowProperties&) { return show_properties(); },
          [&](const ShowAvailability&) { return show_availability(); },
          [&](const ExtractSelectedArchive&) {
            // Extraction writes next to the archive, never into an archive view.
            if (guard_read_only()) return true;
            return run_archive(archive_ops::extract_selected_archives(state_.selected_paths(),
                                                                      state_.current_folder()));
          },
          [&](const ExtractArchive& c) {
            // The archive that contains the folder on view; the command's own path only when
            // the window is not inside one any more.
            auto location = model::archive_view_location(state_.current_folder());
            std::filesystem::path archive = location ? location->archive : c.archive;
            if (archive.empty()) return false;
            std::vector<std::filesystem::path> visible;
            for (const auto& entry : state_.entries())
              visible.push_back(entry.path);
            std::vector<std::filesystem::path> selection;
            state_.selection().clear();
            return run_archive(archive_ops::extract_containing_archive(archive, visible, selection,
                                                                       state_.current_folder()));
          },
          [&](const CompressSelection&) {
            if (guard_read_only()) return true;
            return run_archive(
                archive_ops::compress_selection(state_.selected_paths(), state_.current_folder()));
          },
          [&](const AddFavourite& c) { return add_favourite(c.path); },
          [&](const RemoveFavourite& c) { return remove_favourite(c.path); },
          [&](const MoveFavourite& c) { return move_favourite(c.from, c.to); },
          [&](const OpenSortMenu& c) { return open_sort_menu(c.position), true; },
          [&](const OpenViewMenu& c) { return open_view_menu(c.position), true; },
          [&](const OpenTemplateMenu& c) {
            // The submenu follows the menu it belongs to, wherever that opened last.
            return open_template_menu(last_menu_position_.value_or(c.position)), true;
          },
          [&](const OpenFavouriteMenu& c) { return open_favourite_menu(c.path, c.position), true; },
          [&](const KeepOffline& c) { return run_availability(c); },
          [&](const UseAutomaticStorage& c) { return run_availability(c); },
          [&](const FreeLocalSpace& c) { return run_availability(c); },
          [&](const RetryDownload& c) { return run_availability(c); },
          [&](const ConfirmDestructiveEviction& c) { return run_availability(c); },
          [&](const auto& other) { return not_available_yet(other); },
      },
      cmd);
}

}  // namespace files::app
