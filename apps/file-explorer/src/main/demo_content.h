#pragma once

#include <expected>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

/// The demonstration folders that screenshot scenarios open. Each is created afresh in the
/// temporary folder (an older copy is removed first), so a scenario always shows the same
/// content whatever a previous run or a person left there.
namespace files::demo {

enum class DemoFolder { Sync, Thumbnails, ThumbnailsFs, History, Archive };

/// The folder's name inside the temporary folder (the archive demonstration is a ZIP file).
std::string_view demo_folder_name(DemoFolder folder);

/// The demonstration a scenario opens; nullopt for scenarios that show "--path" or the start
/// folder.
std::optional<DemoFolder> demo_folder_for(std::string_view scenario);

/// Creates the demonstration inside `temp_dir` and returns its path. Any file that cannot be
/// made, or an attribute the file system refuses, fails the whole demonstration.
std::expected<std::filesystem::path, std::string> create_demo(
    DemoFolder folder, const std::filesystem::path& temp_dir);

/// The file inside the history demonstration that carries the version history.
inline constexpr std::string_view kHistoryDemoFile = "Launch brief.md";

}  // namespace files::demo
