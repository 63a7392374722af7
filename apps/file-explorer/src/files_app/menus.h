#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "command/explorer_command.h"
#include "model/file_entry.h"
#include "vask_ui/widgets/context_menu.h"

/// The window's four pop-up menus (context, template, view and sort) built as plain lists from
/// a read-only snapshot of the window, so that which entries appear, in which order and with
/// which command can be checked without a window. The commands are fixed when a menu is built:
/// a later choice acts on what was true when the menu opened.
namespace files::app {

/// One menu entry. An empty label without a command is a separator; a label without a command
/// is shown inactive.
struct MenuEntry {
  std::string label;
  std::optional<command::ExplorerCommand> command;
  vask_ui::CheckState check = vask_ui::CheckState::None;

  bool is_separator() const { return label.empty() && !command; }
};

using Menu = std::vector<MenuEntry>;

/// A favourite as the menus need it.
struct FavouriteFact {
  std::filesystem::path path;
  /// The Home favourite, whose label is the catalog's "Home" rather than a folder name; it is
  /// never offered for removal from the file view.
  bool is_home = false;
};

/// What the menu builders read of the window. The entry pointers borrow the window's entries
/// and are only valid while the menu is being built.
struct MenuFacts {
  std::filesystem::path current_folder;
  /// The archive that contains the current folder; set exactly while the folder lies inside an
  /// archive.
  std::optional<std::filesystem::path> archive;
  bool in_trash = false;
  /// The selected entries in view order.
  std::vector<const model::FileEntry*> selected;
  /// The selection's focused entry, when it has one.
  const model::FileEntry* focused = nullptr;
  std::size_t clipboard_size = 0;
  std::vector<std::filesystem::path> templates;
  bool undo_available = false;
  bool show_hidden = false;
  model::ViewMode view_mode = model::ViewMode::List;
  model::SortKey sort_key = model::SortKey::Name;
  model::SortOrder sort_order = model::SortOrder::Ascending;
  std::vector<FavouriteFact> favourites;
  /// The toolbar is in its compact form and hides controls that the view menu then repeats.
  bool toolbar_compact = false;
  bool forward_available = false;
};

/// The file view's context menu: the archive menu inside an archive, the Trash menu in the
/// Trash, otherwise the selection block followed by the folder entries.
Menu build_context_menu(const MenuFacts& facts);
/// "New <name>" for every template, in list order.
Menu build_template_menu(const std::vector<std::filesystem::path>& templates);
/// The menu behind the toolbar's View options button.
Menu build_view_menu(const MenuFacts& facts);
/// The menu behind the toolbar's Sort by button, with the current key and direction ticked.
Menu build_sort_menu(model::SortKey key, model::SortOrder order);
/// The menu of a favourite in the places sidebar.
Menu build_favourite_menu(const std::filesystem::path& favourite);

/// Collaboration entries of a single selected entry, placed right after Properties. Only the
/// availability sheet's entry exists so far; the sharing composer, the sharing sheet, grant
/// revocation, version history and the conflict offers join here as their sheets arrive.
void append_collaboration_entries(const model::FileEntry& entry, Menu& menu);

/// Replaces the entries of `widget` with `menu` (the widget closes; open it afterwards). Leading,
/// trailing and repeated separators are left out of the drawn menu.
void fill_context_menu(vask_ui::ContextMenu<command::ExplorerCommand>& widget, const Menu& menu);

/// Whether choosing this command in an open menu opens another menu beside the chosen entry.
bool opens_submenu(const command::ExplorerCommand& command);

}  // namespace files::app
