#pragma once

#include <expected>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace files::fileops {

/// One item in the Trash as its ".trashinfo" record describes it.
struct TrashItem {
  /// The record's path: the item's identifier.
  std::filesystem::path info_path;
  /// The item's name inside Trash/files (the record's file name without ".trashinfo").
  std::string trash_name;
  /// Where it was trashed from.
  std::filesystem::path original_path;
  /// When, as recorded (local time, "YYYY-MM-DDThh:mm:ss").
  std::string deletion_date;
};

/// The user's Trash as the freedesktop.org Trash specification lays it out: "files" holds the
/// items under free names, "info" one "<name>.trashinfo" record per item with the percent-encoded
/// absolute path it came from and the local deletion time. Other implementations (trash-cli, the
/// desktop's own) read and write the same folders.
class Trash {
 public:
  /// A Trash rooted at `root` (the folder holding "files" and "info").
  explicit Trash(std::filesystem::path root);
  /// The home Trash: the data folder ($XDG_DATA_HOME or ~/.local/share) joined with "Trash";
  /// nullopt when no data folder can be found.
  static std::optional<Trash> home();

  const std::filesystem::path& root() const { return root_; }
  std::filesystem::path files_dir() const { return root_ / "files"; }
  std::filesystem::path info_dir() const { return root_ / "info"; }

  /// Moves each path into the Trash, in order, stopping at the first failure (the items before
  /// it stay trashed). The name is reserved by creating the record exclusively before the item
  /// moves. An item on another file system is copied into the Trash completely before the
  /// original is removed.
  std::expected<void, std::string> trash(const std::vector<std::filesystem::path>& paths) const;

  /// All items with a readable record, sorted by in-Trash name. A Trash that does not exist yet
  /// is empty.
  std::expected<std::vector<TrashItem>, std::string> list() const;

  /// Puts the items back where they came from (creating missing parent folders). Refuses, before
  /// moving anything, when a location is occupied or two items would go to the same place.
  std::expected<void, std::string> restore(const std::vector<TrashItem>& items) const;

  /// Deletes the items and their records for good, stopping at the first failure.
  std::expected<void, std::string> purge(const std::vector<TrashItem>& items) const;

 private:
  std::expected<void, std::string> ensure_folders() const;
  std::expected<void, std::string> trash_one(const std::filesystem::path& path) const;

  std::filesystem::path root_;
};

}  // namespace files::fileops
