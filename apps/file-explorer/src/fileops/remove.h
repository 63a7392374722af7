#pragma once

#include <expected>
#include <filesystem>
#include <string>

namespace files::fileops {

/// How a folder tree is taken apart.
enum class RemoveMode {
  /// As the user's own delete: a folder without write permission stops the removal.
  AsFound,
  /// For our own staging data: folders copied read-only are made writable first, so a failed
  /// copy of a read-only tree can still be cleaned up.
  MakeWritable,
};

/// Deletes the item at `path` without following a final symbolic link: nothing to do when
/// nothing is there; a real folder goes with its whole tree; anything else is unlinked. The
/// error is the system's text of the first failure.
std::expected<void, std::string> remove_if_exists(const std::filesystem::path& path,
                                                  RemoveMode mode = RemoveMode::AsFound);

}  // namespace files::fileops
