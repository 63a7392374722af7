#pragma once

#include <expected>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "model/collab_state.h"
#include "model/file_entry.h"

namespace files::model {

/// Lists a local folder in the file system's enumeration order. Metadata is read without
/// following links; unreadable metadata leaves size 0, no time and not a folder. With the
/// workspace flag the collaborative attributes are read (see read_collab_state). Fails only
/// when the folder cannot be opened, with the system's error text.
std::expected<std::vector<FileEntry>, std::string> list_folder(const std::filesystem::path& folder,
                                                               InWorkspace in_workspace);

/// Answers whether a folder lies in the workspace; asked only for local folders.
using InWorkspaceSource = std::function<InWorkspace(const std::filesystem::path&)>;

/// What the window shows for a folder path: the members of an archive folder when the path is
/// an archive or lies inside one, else the local listing. The Trash folder is created first
/// when it is the one asked for, so a Trash that was never used opens empty.
std::expected<std::vector<FileEntry>, std::string> load_folder_entries(
    const std::filesystem::path& folder, const InWorkspaceSource& in_workspace);

/// The Trash's "files" folder: the user data folder joined with "Trash/files".
std::optional<std::filesystem::path> trash_files_folder();

/// Removes, keeping order, every entry whose name begins with ".".
void hide_dot_files(std::vector<FileEntry>& entries);

}  // namespace files::model
