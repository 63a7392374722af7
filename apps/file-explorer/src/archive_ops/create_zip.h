#pragma once

#include <expected>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

/// Packing items into a new ZIP file. The archive is written under a temporary ".part" name,
/// synchronised to disk and then given its final name by one rename, so an incomplete archive
/// never carries the final name and an existing file is never overwritten.
namespace files::archive_ops {

inline constexpr std::string_view kPathHasNoFileName = "path has no file name";

/// Temporary names tried for one archive before creation gives up.
inline constexpr unsigned kTemporaryFileAttempts = 1000;

/// The ZIP file CompressSelection creates for `items` in `current_folder`: named after the only
/// item without its last extension ("report.txt" gives "report.zip"), "Archive.zip" for several
/// items or a name that is not text, numbered ("report 2.zip") while the name is taken.
std::filesystem::path zip_destination(std::span<const std::filesystem::path> items,
                                      const std::filesystem::path& current_folder);

/// The temporary name attempt `attempt` (from 1) uses for the archive named `zip_name`: the
/// name with its extension replaced by "zip.part" ("Archive.zip.part"), then
/// "Archive.zip.2.part", "Archive.zip.3.part" ... when an earlier one is taken.
std::string temporary_zip_name(std::string_view zip_name, unsigned attempt);

/// Writes `items` into a new ZIP file at `zip_path` and returns the path it was published
/// under: `zip_path`, or the next numbered name when another item took that name meanwhile.
///
/// Entries: each item under its file name; a folder (a link to one is followed) with its own
/// folder entry and, recursively in the order the system lists them, the folders and regular
/// files inside it, named by the path below it with "/" separators; symbolic links inside
/// folders, a selected link to a file and special files are left out. Names are UTF-8 (invalid
/// sequences replaced). Every entry is Deflate at the default level, dated 1980-01-01 00:00:00,
/// unencrypted, without ZIP64 (a file above 4294967295 bytes fails) and with fixed permissions
/// (0644 files, 0755 folders) instead of the sources' own.
///
/// Errors: "path has no file name", the ZIP writer's text (the large-file refusal among them),
/// and the system's text for unreadable sources, an uncreatable temporary file, a full disk or
/// a refused synchronisation or rename. A failure leaves neither the temporary file nor
/// anything under the final name; the sources are never changed.
std::expected<std::filesystem::path, std::string> create_zip(
    std::span<const std::filesystem::path> items, const std::filesystem::path& zip_path);

}  // namespace files::archive_ops
