#pragma once

#include <filesystem>
#include <optional>
#include <string>

/// Comparing folder paths the way people read them: component by component, so "/a/b/" and
/// "/a/b" name the same folder. Used by the favourites, the places and the path bar alike.
namespace files::favorites {

/// The path without empty and "." components and without a trailing separator ("/" stays "/").
/// ".." is kept: only the file system knows where it leads once links are involved.
std::filesystem::path plain_folder(const std::filesystem::path& path);

/// Whether `a` and `b` name the same folder, component by component.
bool same_folder(const std::filesystem::path& a, const std::filesystem::path& b);

/// Whether `path` equals `root` or lies below it, component by component.
bool folder_contains(const std::filesystem::path& root, const std::filesystem::path& path);

/// The path as text for people (invalid UTF-8 shown as U+FFFD).
std::string display_text(const std::filesystem::path& path);

/// The last component as text, or nullopt when the path has none ("/").
std::optional<std::string> last_component(const std::filesystem::path& path);

}  // namespace files::favorites
