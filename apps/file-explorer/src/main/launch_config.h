#pragma once

#include <expected>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "files_app/file_explorer_widget.h"
#include "vask_ui/launch.h"

/// The program's launch configuration and the callbacks the toolkit calls.
namespace files {

inline constexpr std::string_view kApplicationId = "so.vask.file-explorer";
/// The per-application configuration folder's name (favourites and zoom files).
inline constexpr std::string_view kConfigFolderName = "vask-files";

const vask_ui::LaunchConfig& launch_config();

/// The folder named by the first positional argument, made absolute against the current
/// directory; nullopt without positionals; an error text when it cannot be made absolute.
std::expected<std::optional<std::filesystem::path>, std::string> positional_folder(
    const vask_ui::LaunchArgs& args);

/// The state document's actor: DRELL_APP_ID, else "files-" + VASK_USER_ID, else "files-" and
/// the first 12 hexadecimal characters of the document's existing actor. Empty values and
/// values that are not valid UTF-8 fall through to the next rule.
std::string choose_actor(const char* drell_app_id, const char* vask_user_id,
                         std::string_view existing_actor_hex);

/// What the window is built from on this machine: the "vask-files" configuration folder, the
/// user's home and folders, the workspace test, and the folder to open.
app::WindowConfig window_config(std::filesystem::path folder);

}  // namespace files
