#pragma once

#include <ctime>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace files::fileops {

/// The contents of one ".trashinfo" record of the freedesktop.org Trash: where the item was
/// trashed from and when (local time, "YYYY-MM-DDThh:mm:ss").
struct TrashInfo {
  std::filesystem::path original_path;
  std::string deletion_date;
};

/// Percent-encodes a byte path as the records store it: letters, digits, "-", ".", "_", "~" and
/// "/" stay, every other byte becomes "%XX".
std::string percent_encode_path(std::string_view bytes);

/// Undoes `percent_encode_path` (and any other percent escapes); nullopt for a broken escape.
std::optional<std::string> percent_decode(std::string_view text);

/// A local time as a record's DeletionDate.
std::string format_deletion_date(std::time_t when);

/// The record text for an item trashed from the absolute `original_path`.
std::string format_trash_info(const std::filesystem::path& original_path,
                              const std::string& deletion_date);

/// Reads a record. It must have the "[Trash Info]" group and a Path key; a relative Path is taken
/// relative to `relative_base` (the folder holding the Trash). nullopt for anything else.
std::optional<TrashInfo> parse_trash_info(std::string_view text,
                                          const std::filesystem::path& relative_base);

}  // namespace files::fileops
