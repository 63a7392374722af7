#pragma once

#include <expected>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "vask_ui/launch.h"

/// The program's launch configuration and the callbacks the toolkit calls.
namespace files {

inline constexpr std::string_view kApplicationId = "so.vask.file-explorer";
/// The per-application configuration folder's name (favourites and zoom files).
inline constexpr std::string_view kConfigFolderName = "vask-files";
inline constexpr std::size_t kNoticeLimit = 512;

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

/// Cuts a notice to its first 512 characters (whole characters, never half a UTF-8 sequence).
std::string clamp_notice(std::string_view text);

}  // namespace files
