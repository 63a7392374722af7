#include "fileops/trash_commands.h"

#include <fcntl.h>

#include <algorithm>
#include <set>

#include "fileops/dir_entries.h"
#include "fileops/item_name.h"
#include "fileops/system_error.h"
#include "fileops/unique_fd.h"
#include "i18n/i18n.h"

namespace files::fileops {
namespace {

TrashOutcome status_only(std::string status) {
  return {std::move(status), false};
}

TrashOutcome undo_unavailable() {
  return status_only(i18n::t("files-undo-trash-unavailable"));
}

/// The listing matched against `paths`, or the listing's error text.
std::expected<std::vector<TrashItem>, std::string> matched_items(
    const Trash& trash, const std::vector<std::filesystem::path>& paths) {
  auto items = trash.list();
  if (!items) return std::unexpected(items.error());
  return match_trash_items(*items, paths);
}

}  // namespace

TrashSnapshot take_trash_snapshot(const Trash& trash) {
  UniqueFd dir_fd(retry_eintr(
      [&] { return ::open(trash.files_dir().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); }));
  if (!dir_fd) return std::nullopt;
  auto names = read_entry_names(dir_fd.get());
  if (!names) return std::nullopt;
  return std::move(*names);
}

bool is_trash_folder(const Trash& trash, const std::filesystem::path& folder) {
  // Component-wise: a trailing separator does not make another folder.
  const auto files = trash.files_dir();
  return item_file_name(folder) == item_file_name(files) &&
         item_parent(folder) == item_parent(files);
}

std::vector<TrashItem> match_trash_items(const std::vector<TrashItem>& items,
                                         const std::vector<std::filesystem::path>& paths) {
  std::set<std::string> names;
  for (const auto& path : paths) {
    if (auto name = item_file_name(path)) names.insert(name->native());
  }
  std::vector<TrashItem> matched;
  for (const TrashItem& item : items) {
    if (names.contains(item.trash_name)) matched.push_back(item);
  }
  return matched;
}

TrashOutcome move_to_trash(const Trash& trash, const std::vector<std::filesystem::path>& paths,
                           std::optional<TrashUndo>& undo) {
  if (paths.empty()) return {};
  const TrashSnapshot before = take_trash_snapshot(trash);
  if (auto trashed = trash.trash(paths); !trashed) {
    return {i18n::t_args("files-delete-failed", {{"error", trashed.error()}}), true};
  }
  undo.reset();
  if (before) {
    if (const TrashSnapshot after = take_trash_snapshot(trash)) {
      const std::set<std::string> old_names(before->begin(), before->end());
      TrashUndo record;
      for (const std::string& name : *after) {
        if (!old_names.contains(name)) record.names.push_back(name);
      }
      if (record.names.size() == paths.size()) undo = std::move(record);
    }
  }
  return {i18n::t_args("files-moved-to-trash", {{"count", i18n::count(paths.size())}}), true};
}

TrashOutcome undo_trash(const Trash& trash, std::optional<TrashUndo>& undo) {
  if (!undo) return undo_unavailable();
  const TrashSnapshot now = take_trash_snapshot(trash);
  const bool all_there =
      now && std::all_of(undo->names.begin(), undo->names.end(), [&](const std::string& name) {
        return std::find(now->begin(), now->end(), name) != now->end();
      });
  if (!all_there) {
    undo.reset();
    return undo_unavailable();
  }
  std::vector<std::filesystem::path> names(undo->names.begin(), undo->names.end());
  auto matched = matched_items(trash, names);
  if (!matched) {
    return status_only(i18n::t_args("files-undo-trash-failed", {{"error", matched.error()}}));
  }
  if (auto restored = trash.restore(*matched); !restored) {
    // The record stays: the user can free the location and try again.
    return status_only(i18n::t_args("files-undo-trash-failed", {{"error", restored.error()}}));
  }
  const std::size_t expected = undo->names.size();
  undo.reset();
  if (matched->size() != expected) return {i18n::t("files-undo-trash-unavailable"), true};
  return {i18n::t_args("files-undo-trash-restored", {{"count", i18n::count(matched->size())}}),
          true};
}

TrashOutcome restore_selection(const Trash& trash, const std::vector<std::filesystem::path>& paths,
                               std::optional<TrashUndo>& undo) {
  undo.reset();
  if (paths.empty()) return {};
  auto matched = matched_items(trash, paths);
  if (!matched) {
    return status_only(i18n::t_args("files-restore-failed", {{"error", matched.error()}}));
  }
  if (auto restored = trash.restore(*matched); !restored) {
    return status_only(i18n::t_args("files-restore-failed", {{"error", restored.error()}}));
  }
  return {i18n::t_args("files-restored", {{"count", i18n::count(matched->size())}}), true};
}

TrashOutcome purge_paths(const Trash& trash, const std::vector<std::filesystem::path>& paths,
                         std::optional<TrashUndo>& undo) {
  undo.reset();
  auto matched = matched_items(trash, paths);
  if (!matched) {
    return status_only(i18n::t_args("files-delete-failed", {{"error", matched.error()}}));
  }
  if (auto purged = trash.purge(*matched); !purged) {
    return {i18n::t_args("files-delete-failed", {{"error", purged.error()}}), true};
  }
  return {i18n::t_args("files-permanently-deleted", {{"count", i18n::count(matched->size())}}),
          true};
}

TrashOutcome empty_trash(const Trash& trash, std::optional<TrashUndo>& undo) {
  undo.reset();
  auto items = trash.list();
  if (!items) {
    return status_only(i18n::t_args("files-empty-trash-failed", {{"error", items.error()}}));
  }
  if (auto purged = trash.purge(*items); !purged) {
    return {i18n::t_args("files-empty-trash-failed", {{"error", purged.error()}}), true};
  }
  if (items->empty()) return {i18n::t("files-trash-already-empty"), true};
  return {i18n::t_args("files-emptied-trash", {{"count", i18n::count(items->size())}}), true};
}

TrashConfirmation permanent_delete_confirmation(std::size_t count) {
  return {i18n::t_args("files-permanent-delete-title", {{"count", i18n::count(count)}}),
          i18n::t_args("files-permanent-delete-summary", {{"count", i18n::count(count)}}),
          {i18n::t("files-permanent-delete-loss")},
          i18n::t("files-permanent-delete-confirm")};
}

EmptyTrashRequest empty_trash_request(std::size_t visible_entries) {
  if (visible_entries == 0) return {i18n::t("files-trash-already-empty"), std::nullopt};
  return {std::nullopt, TrashConfirmation{i18n::t("files-empty-trash-title"),
                                          i18n::t_args("files-empty-trash-summary",
                                                       {{"count", i18n::count(visible_entries)}}),
                                          {i18n::t("files-permanent-delete-loss")},
                                          i18n::t("files-empty-trash-confirm")}};
}

}  // namespace files::fileops
