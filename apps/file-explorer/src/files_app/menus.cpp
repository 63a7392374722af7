#include "files_app/menus.h"

#include <algorithm>

#include "favorites/favorites.h"
#include "favorites/folder_path.h"
#include "fileops/templates.h"
#include "files_app/availability.h"
#include "files_app/file_explorer_widget.h"
#include "i18n/i18n.h"
#include "model/archive_reader.h"
#include "vask_ui/regions.h"

namespace files::app {
namespace {

using vask_ui::CheckState;
namespace cmd = command;

MenuEntry item(std::string_view id, std::optional<cmd::ExplorerCommand> command) {
  return MenuEntry{i18n::t(id), std::move(command), CheckState::None};
}

MenuEntry check(std::string_view id, cmd::ExplorerCommand command, bool ticked) {
  return MenuEntry{i18n::t(id), std::move(command),
                   ticked ? CheckState::Ticked : CheckState::Unticked};
}

MenuEntry separator() {
  return MenuEntry{};
}

/// Open acts on the focused entry; with a selection but no focused entry it is inactive.
MenuEntry open_entry(const MenuFacts& facts) {
  if (facts.focused == nullptr) return item("files-menu-open", std::nullopt);
  return item("files-menu-open", cmd::OpenEntry{facts.focused->path});
}

bool any_selected(const MenuFacts& facts, bool (*test)(const model::FileEntry&)) {
  return std::any_of(facts.selected.begin(), facts.selected.end(),
                     [&](const model::FileEntry* e) { return e != nullptr && test(*e); });
}

bool is_archive_entry(const model::FileEntry& entry) {
  return model::is_supported_archive(entry.path);
}

Menu archive_context_menu(const MenuFacts& facts) {
  Menu menu;
  if (!facts.selected.empty()) {
    menu.push_back(open_entry(facts));
    menu.push_back(separator());
  }
  menu.push_back(item("files-archive-extract", cmd::ExtractArchive{*facts.archive}));
  return menu;
}

Menu trash_context_menu(const MenuFacts& facts) {
  Menu menu;
  if (!facts.selected.empty()) {
    menu.push_back(open_entry(facts));
    menu.push_back(separator());
    menu.push_back(item("files-menu-restore", cmd::RestoreSelection{}));
    menu.push_back(item("files-menu-delete-permanently", cmd::DeleteSelection{}));
  }
  menu.push_back(separator());
  menu.push_back(item("files-menu-empty-trash", cmd::ConfirmEmptyTrash{}));
  return menu;
}

void append_availability_entries(const MenuFacts& facts, Menu& menu) {
  if (any_selected(facts, keep_offline_eligible))
    menu.push_back(item("files-keep-offline", cmd::KeepOffline{}));
  if (any_selected(facts, automatic_storage_eligible)) {
    menu.push_back(item("files-use-automatic-storage", cmd::UseAutomaticStorage{}));
  } else if (any_selected(facts, pinned_by_parent)) {
    menu.push_back(item("files-pinned-by-parent", std::nullopt));
  }
  if (any_selected(facts, free_local_space_eligible))
    menu.push_back(item("files-free-local-space", cmd::FreeLocalSpace{}));
  if (any_selected(facts, retry_download_eligible))
    menu.push_back(item("files-retry-download", cmd::RetryDownload{}));
}

void append_selection_block(const MenuFacts& facts, Menu& menu) {
  const std::size_t count = facts.selected.size();
  menu.push_back(open_entry(facts));
  menu.push_back(item("files-menu-rename", cmd::BeginRename{}));
  menu.push_back(separator());
  menu.push_back(item("files-menu-cut", cmd::CutSelection{}));
  menu.push_back(item("files-menu-copy", cmd::CopySelection{}));
  if (count == 1) menu.push_back(item("files-menu-send-nearby", cmd::SendNearby{}));
  if (any_selected(facts, is_archive_entry))
    menu.push_back(item("files-archive-extract-here", cmd::ExtractSelectedArchive{}));
  menu.push_back(item("files-archive-compress", cmd::CompressSelection{}));
  menu.push_back(separator());
  append_availability_entries(facts, menu);
  if (count == 1) {
    menu.push_back(item("files-menu-properties", cmd::ShowProperties{}));
    if (facts.selected.front() != nullptr)
      append_collaboration_entries(*facts.selected.front(), menu);
  }
}

/// Add to Favourites for a single selected folder (even one that already is a favourite: the
/// add then changes nothing), else Remove from Favourites when the folder on view is one.
void append_favourite_entry(const MenuFacts& facts, Menu& menu) {
  if (facts.selected.size() == 1 && facts.selected.front() != nullptr &&
      facts.selected.front()->is_dir) {
    menu.push_back(separator());
    menu.push_back(
        item("files-menu-add-favourite", cmd::AddFavourite{facts.selected.front()->path}));
    return;
  }
  bool removable =
      std::any_of(facts.favourites.begin(), facts.favourites.end(), [&](const FavouriteFact& f) {
        return !f.is_home && favorites::same_folder(f.path, facts.current_folder);
      });
  if (removable) {
    menu.push_back(separator());
    menu.push_back(item("files-menu-remove-favourite", cmd::RemoveFavourite{facts.current_folder}));
  }
}

Menu folder_context_menu(const MenuFacts& facts) {
  Menu menu;
  const bool selection = !facts.selected.empty();
  if (selection) append_selection_block(facts, menu);
  if (facts.clipboard_size > 0) menu.push_back(item("files-menu-paste", cmd::Paste{}));
  menu.push_back(separator());
  menu.push_back(item("files-menu-new-folder", cmd::NewFolder{}));
  if (!facts.templates.empty())
    menu.push_back(item("files-menu-new-file", cmd::OpenTemplateMenu{}));
  if (selection) {
    menu.push_back(separator());
    menu.push_back(item("files-menu-move-trash", cmd::DeleteSelection{}));
  }
  append_favourite_entry(facts, menu);
  menu.push_back(separator());
  menu.push_back(item(facts.show_hidden ? "files-menu-hide-hidden" : "files-menu-show-hidden",
                      cmd::ToggleHidden{}));
  menu.push_back(separator());
  menu.push_back(item("files-menu-sort-name", cmd::SetSortKey{model::SortKey::Name}));
  menu.push_back(item("files-menu-sort-size", cmd::SetSortKey{model::SortKey::Size}));
  menu.push_back(item("files-menu-sort-type", cmd::SetSortKey{model::SortKey::Type}));
  menu.push_back(item("files-menu-sort-date", cmd::SetSortKey{model::SortKey::Modified}));
  menu.push_back(separator());
  menu.push_back(item("files-menu-open-terminal", cmd::OpenTerminal{}));
  return menu;
}

}  // namespace

void append_collaboration_entries(const model::FileEntry& entry, Menu& menu) {
  // Still to come here, in this order: the sharing composer (persons, then one-time links),
  // "files-sharing-access", then after the availability entry the grant revocations, version
  // history with restoring the previous version, and the conflict offers.
  if (entry.availability)
    menu.push_back(item("files-availability-title-short", cmd::ShowAvailability{}));
}

Menu build_context_menu(const MenuFacts& facts) {
  if (facts.archive) return archive_context_menu(facts);
  if (facts.in_trash) return trash_context_menu(facts);
  return folder_context_menu(facts);
}

Menu build_template_menu(const std::vector<std::filesystem::path>& templates) {
  Menu menu;
  for (const auto& path : templates)
    menu.push_back(MenuEntry{fileops::template_label(path), cmd::NewFromTemplate{path}});
  return menu;
}

Menu build_view_menu(const MenuFacts& facts) {
  Menu menu;
  if (facts.toolbar_compact) {
    // The compact toolbar hides these controls, so the menu offers them instead.
    if (facts.forward_available) {
      menu.push_back(item("files-forward", cmd::GoForward{}));
      menu.push_back(separator());
    }
    const bool grid = facts.view_mode == model::ViewMode::Grid;
    menu.push_back(check("files-view-list", cmd::SetViewMode{model::ViewMode::List}, !grid));
    menu.push_back(check("files-view-grid", cmd::SetViewMode{model::ViewMode::Grid}, grid));
    menu.push_back(separator());
    menu.push_back(item("files-sort-by", cmd::OpenSortMenu{}));
    menu.push_back(separator());
  }
  if (facts.archive) {
    // Archives are read-only: extracting is all there is to do.
    menu.push_back(item("files-archive-extract", cmd::ExtractArchive{*facts.archive}));
    return menu;
  }
  menu.push_back(item("files-menu-new-folder", cmd::NewFolder{}));
  if (!facts.templates.empty())
    menu.push_back(item("files-menu-new-file", cmd::OpenTemplateMenu{}));
  if (facts.undo_available) {
    menu.push_back(separator());
    menu.push_back(item("files-undo-move-trash", cmd::UndoTrash{}));
  }
  menu.push_back(separator());
  menu.push_back(check("files-menu-show-hidden", cmd::ToggleHidden{}, facts.show_hidden));
  if (facts.in_trash) {
    menu.push_back(separator());
    menu.push_back(item("files-menu-empty-trash", cmd::ConfirmEmptyTrash{}));
  }
  menu.push_back(separator());
  menu.push_back(item("files-menu-open-terminal", cmd::OpenTerminal{}));
  menu.push_back(separator());
  menu.push_back(item("files-shortcuts-title", cmd::ShowShortcuts{}));
  return menu;
}

Menu build_sort_menu(model::SortKey key, model::SortOrder order) {
  using model::SortKey;
  const bool descending = order == model::SortOrder::Descending;
  return {
      check("files-sort-name", cmd::SetSortKey{SortKey::Name}, key == SortKey::Name),
      check("files-sort-size", cmd::SetSortKey{SortKey::Size}, key == SortKey::Size),
      check("files-sort-type", cmd::SetSortKey{SortKey::Type}, key == SortKey::Type),
      check("files-sort-date", cmd::SetSortKey{SortKey::Modified}, key == SortKey::Modified),
      separator(),
      check("files-sort-ascending", cmd::SetSortDirection{model::SortOrder::Ascending},
            !descending),
      check("files-sort-descending", cmd::SetSortDirection{model::SortOrder::Descending},
            descending),
  };
}

Menu build_favourite_menu(const std::filesystem::path& favourite) {
  return {item("files-menu-remove-favourite", cmd::RemoveFavourite{favourite})};
}

void fill_context_menu(vask_ui::ContextMenu<command::ExplorerCommand>& widget, const Menu& menu) {
  widget.clear();
  // A separator is drawn only between two entries: the conditional rows leave leading,
  // trailing and doubled ones behind, which would show as stray gaps.
  bool separator_pending = false;
  for (const MenuEntry& entry : menu) {
    if (entry.is_separator()) {
      separator_pending = widget.size() > 0;
      continue;
    }
    if (separator_pending) widget.push_separator();
    separator_pending = false;
    widget.push(entry.label, entry.command, entry.check);
  }
}

bool opens_submenu(const command::ExplorerCommand& command) {
  return std::holds_alternative<cmd::OpenTemplateMenu>(command) ||
         std::holds_alternative<cmd::OpenSortMenu>(command);
}

// The window's side: one open menu at a time, fed from the window's state.

std::vector<const model::FileEntry*> FileExplorerWidget::selected_entries() const {
  std::vector<const model::FileEntry*> out;
  const auto& entries = state_.entries();
  for (std::size_t index : state_.selection().selected()) {
    if (index < entries.size()) out.push_back(&entries[index]);
  }
  return out;
}

MenuFacts FileExplorerWidget::menu_facts() const {
  MenuFacts facts;
  facts.current_folder = state_.current_folder();
  if (auto location = model::archive_view_location(state_.current_folder()))
    facts.archive = location->archive;
  facts.in_trash = state_.in_trash();
  facts.selected = selected_entries();
  facts.focused = state_.primary_entry();
  facts.clipboard_size = clipboard_.paths.size();
  // Read afresh, so a template added while the window is open is offered at once.
  facts.templates = fileops::list_templates();
  facts.undo_available = trash_undo_.has_value();
  facts.show_hidden = state_.show_hidden();
  facts.view_mode = state_.view_mode();
  facts.sort_key = state_.sort_key();
  facts.sort_order = state_.sort_order();
  facts.forward_available = !state_.forward_history().empty();
  for (const favorites::Favourite& favourite : places_->favourites)
    facts.favourites.push_back({favourite.path, favourite.localized});
  facts.toolbar_compact = toolbar_.is_compact();
  return facts;
}

void FileExplorerWidget::show_menu(const Menu& menu, vask_ui::Point at) {
  fill_context_menu(menu_, menu);
  last_menu_position_ = at;
  if (menu.empty()) return;
  if (root_.is_empty()) {
    menu_.open_at(at);
  } else {
    menu_.open_at(at, root_);
  }
  state_.request_redraw();
}

void FileExplorerWidget::open_context_menu(vask_ui::Point at) {
  show_menu(build_context_menu(menu_facts()), at);
}

void FileExplorerWidget::open_view_menu(vask_ui::Point at) {
  show_menu(build_view_menu(menu_facts()), at);
}

void FileExplorerWidget::open_sort_menu(vask_ui::Point at) {
  show_menu(build_sort_menu(state_.sort_key(), state_.sort_order()), at);
}

void FileExplorerWidget::open_template_menu(vask_ui::Point at) {
  show_menu(build_template_menu(fileops::list_templates()), at);
}

void FileExplorerWidget::open_favourite_menu(const std::filesystem::path& favourite,
                                             vask_ui::Point at) {
  show_menu(build_favourite_menu(favourite), at);
}

void FileExplorerWidget::open_context_menu_from_keyboard() {
  vask_ui::Point at{root_.x0 + 24, root_.y0 + 72};
  if (const model::FileEntry* primary = state_.primary_entry()) {
    if (auto row = vask_ui::regions::current().find(vask_ui::regions::file_row_id(primary->name)))
      at = {row->x0 + 24, row->y0 + 24};
  }
  open_context_menu(at);
  menu_.highlight_first();
}

void FileExplorerWidget::open_submenu(const command::ExplorerCommand& command, vask_ui::Rect beside,
                                      bool from_keyboard) {
  Menu submenu = std::holds_alternative<cmd::OpenSortMenu>(command)
                     ? build_sort_menu(state_.sort_key(), state_.sort_order())
                     : build_template_menu(fileops::list_templates());
  fill_context_menu(menu_, submenu);
  if (submenu.empty()) return;
  last_menu_position_ = vask_ui::Point{beside.x1, beside.y0};
  menu_.open_beside(beside, root_);
  if (from_keyboard) menu_.highlight_first();
  state_.request_redraw();
}

bool FileExplorerWidget::run_menu_choice(bool from_keyboard) {
  auto index = menu_.take_chosen_index();
  if (!index) return false;
  // Copied out first: running the command may rebuild the menu.
  std::optional<command::ExplorerCommand> chosen = menu_.command(*index);
  if (!chosen) return false;
  if (opens_submenu(*chosen)) {
    open_submenu(*chosen, menu_.item_rect(*index), from_keyboard);
  } else {
    execute(*chosen);
  }
  state_.request_redraw();
  return true;
}

vask_ui::EventResult FileExplorerWidget::handle_menu_event(const vask_ui::Event& event) {
  vask_ui::EventResult result = menu_.handle_event(event);
  if (menu_.needs_redraw()) state_.request_redraw();
  if (run_menu_choice(std::holds_alternative<vask_ui::KeyPress>(event)))
    return vask_ui::EventResult::Handled;
  return result;
}

}  // namespace files::app
