#pragma once

#include <expected>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace files::fileops {

/// The name the user meant: `text` without surrounding Unicode white space. Errors (from the
/// catalog): "files-name-empty" when nothing is left, "files-name-slash" when it contains "/" or
/// is "." or "..".
std::expected<std::string, std::string> validate_name(std::string_view text);

/// The first free path for `name` in `folder`: the name itself, else "stem 2.ext" ... "stem
/// 9999.ext". Errors: "files-destination-inspect-failed", "files-destination-names-exhausted".
std::expected<std::filesystem::path, std::string> find_free_name(
    const std::filesystem::path& folder, const std::string& name);

/// Creates a folder (not its parents, mode 0777 before umask) in `parent` under the first free
/// name for `requested_name`. "files-folder-name-empty" replaces "files-name-empty".
std::expected<std::filesystem::path, std::string> create_folder(const std::filesystem::path& parent,
                                                                std::string_view requested_name);

/// Renames the item at `item` inside its folder. The rename refuses to replace: an item that
/// appears at the target at any moment gives "files-name-exists" instead of being lost. Only the
/// case-only rename of one item reachable under both names (a case-insensitive file system)
/// uses a plain rename. Returns the new path (the old one when the name is unchanged).
std::expected<std::filesystem::path, std::string> rename_item(const std::filesystem::path& item,
                                                              std::string_view new_name);

/// The "files.rename" action: "missing new file name" without a name, else `rename_item`.
std::expected<std::filesystem::path, std::string> rename_action(
    const std::filesystem::path& item, const std::optional<std::string>& new_name);

/// What committing the inline rename field leads to.
struct RenameCommit {
  enum class Kind {
    /// Nothing to do (blank text, same name or the entry vanished): close the field silently.
    Cancelled,
    /// Renamed: close the field, refresh, show `status` ("files-renamed").
    Renamed,
    /// Refused: keep the field open and show `status` ("files-rename-failed").
    Failed,
  };
  Kind kind = Kind::Cancelled;
  std::string status;
  std::filesystem::path new_path;
};

/// Commits the inline rename of the entry at `item` (current name `current_name`) to the field's
/// `text`.
RenameCommit commit_rename(const std::filesystem::path& item, std::string_view current_name,
                           std::string_view text);

/// The NewFolder command: a folder named by "files-new-folder-default-name" in `folder`. The value
/// is the new folder (to select and rename); the status is "files-created-folder" on success, and
/// the error "files-new-folder-failed" with the reason.
struct Created {
  std::filesystem::path path;
  std::string status;
};
std::expected<Created, std::string> new_folder(const std::filesystem::path& folder);

}  // namespace files::fileops
