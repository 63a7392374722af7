#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "fileops/trash.h"

namespace files::fileops {

/// The names directly in Trash/files, or nullopt when that folder cannot be read (for example
/// before anything was ever trashed).
using TrashSnapshot = std::optional<std::vector<std::string>>;
TrashSnapshot take_trash_snapshot(const Trash& trash);

/// What the last move to Trash put there: the in-Trash names it created. The window keeps at
/// most one, absent until a move to Trash could tell its names.
struct TrashUndo {
  std::vector<std::string> names;
};

/// What a Trash command did: the status line to show (nullopt: leave it) and whether the folder
/// on view must be refreshed.
struct TrashOutcome {
  std::optional<std::string> status;
  bool refresh = false;
};

/// Whether the explorer shows the Trash: `folder` is exactly Trash/files, component-wise.
bool is_trash_folder(const Trash& trash, const std::filesystem::path& folder);

/// The Trash items whose in-Trash name is the file name of one of `paths`, in listing order.
std::vector<TrashItem> match_trash_items(const std::vector<TrashItem>& items,
                                         const std::vector<std::filesystem::path>& paths);

/// DeleteSelection outside the Trash: moves `paths` to the Trash and replaces `undo` with the
/// names that move created when a before/after snapshot can tell them exactly. Failure keeps
/// `undo` and shows "files-delete-failed".
TrashOutcome move_to_trash(const Trash& trash, const std::vector<std::filesystem::path>& paths,
                           std::optional<TrashUndo>& undo);

/// UndoTrash: restores what the last move put in the Trash, only while all of it is still there.
TrashOutcome undo_trash(const Trash& trash, std::optional<TrashUndo>& undo);

/// RestoreSelection in the Trash: restores the selected Trash entries.
TrashOutcome restore_selection(const Trash& trash, const std::vector<std::filesystem::path>& paths,
                               std::optional<TrashUndo>& undo);

/// PurgePaths (after the confirmation): deletes the selected Trash entries for good.
TrashOutcome purge_paths(const Trash& trash, const std::vector<std::filesystem::path>& paths,
                         std::optional<TrashUndo>& undo);

/// EmptyTrash (after the confirmation): deletes everything in the Trash for good.
TrashOutcome empty_trash(const Trash& trash, std::optional<TrashUndo>& undo);

/// The texts of a confirmation panel.
struct TrashConfirmation {
  std::string title;
  std::string summary;
  std::vector<std::string> details;
  std::string confirm;
};

/// The panel that asks before deleting `count` selected Trash entries for good.
TrashConfirmation permanent_delete_confirmation(std::size_t count);

/// ConfirmEmptyTrash: with no visible entries only the status "files-trash-already-empty" and no
/// panel; otherwise the panel for `visible_entries` items.
struct EmptyTrashRequest {
  std::optional<std::string> status;
  std::optional<TrashConfirmation> confirmation;
};
EmptyTrashRequest empty_trash_request(std::size_t visible_entries);

}  // namespace files::fileops
