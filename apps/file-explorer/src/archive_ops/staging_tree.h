#pragma once

#include <expected>
#include <filesystem>
#include <string>

#include "fileops/unique_fd.h"

namespace files::archive_ops::detail {

/// Creates folders and files below one open folder (the hidden extraction folder) by walking
/// relative to its descriptor one component at a time, never following a symbolic link: an
/// item that appears inside the folder meanwhile cannot redirect a write elsewhere. Errors are
/// the system's texts.
class StagingTree {
 public:
  /// `root` is borrowed and must stay open while the tree is used.
  explicit StagingTree(int root) : root_(root) {}

  /// Creates the folder at `relative` (a sanitised member path) and its missing ancestors;
  /// folders already there are fine.
  std::expected<void, std::string> make_folder(const std::filesystem::path& relative);

  /// Creates the file at `relative` exclusively (mode 0666 before umask; failing when anything
  /// is there), after its missing parent folders, and returns it open for writing.
  std::expected<fileops::UniqueFd, std::string> create_file(const std::filesystem::path& relative);

 private:
  /// The descriptor of the folder at `relative`, created with its ancestors; valid until the
  /// next call.
  std::expected<int, std::string> folder(const std::filesystem::path& relative);

  int root_;
  // The folder used last stays open: archives keep a folder's members together, so most
  // members are written without walking the path again.
  std::filesystem::path cached_path_;
  fileops::UniqueFd cached_fd_;
};

}  // namespace files::archive_ops::detail
