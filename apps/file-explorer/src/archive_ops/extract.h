#pragma once

#include <cstdint>
#include <expected>
#include <filesystem>
#include <string>
#include <string_view>

/// Extracting ZIP, tar and gzip-compressed tar archives into new folders. An extraction fills a
/// hidden folder next to the destination and publishes it with one rename, so a half-extracted
/// archive is never seen under the destination's name and a failure leaves nothing behind.
namespace files::archive_ops {

inline constexpr std::string_view kDestinationExists = "the destination already exists";
inline constexpr std::string_view kDestinationNoParent = "destination has no parent";
inline constexpr std::string_view kDestinationNoName = "destination has no name";
inline constexpr std::string_view kNoTemporaryFolder =
    "could not reserve a temporary extraction folder";
inline constexpr std::string_view kTruncatedZipEntry = "truncated ZIP entry";
inline constexpr std::string_view kTruncatedTarEntry = "truncated TAR entry";

/// Attempts at the hidden folder's name (numbers 0 to 999) before extraction gives up.
inline constexpr unsigned kTemporaryFolderAttempts = 1000;

/// The folder an archive is extracted into: next to it (in `current_folder` when the path has
/// no parent), named after it without its trailing ".gz", then ".tar", then ".zip" suffixes
/// (case-sensitive, so "BACKUP.ZIP" keeps its name and "data.tgz" too), "Archive" when no name
/// is left or it is not text, and numbered ("photos 2") while the name is taken.
std::filesystem::path extraction_destination(const std::filesystem::path& archive,
                                             const std::filesystem::path& current_folder);

/// The name of the hidden folder that attempt `attempt` of an extraction into a folder named
/// `destination_name` reserves: "." + name + ".extracting-" + process id + "-" + attempt.
std::string temporary_folder_name(std::string_view destination_name, unsigned attempt);

struct Extracted {
  /// Regular files written (folders and skipped members do not count).
  std::uint64_t files = 0;
  /// Where the content was published: the requested destination, or the next numbered name
  /// when another item took the requested one during the extraction.
  std::filesystem::path destination;
};

/// Extracts every member of `archive` into the new folder `destination`, which must not exist
/// (its missing parent folders are created). Links are skipped; folders are created; regular
/// files are written exclusively with mode 0666 before umask; other members (devices, FIFOs)
/// are counted against the limits but not written. Nothing from the archive is applied besides
/// names and contents (no modes, owners, times or attributes).
///
/// Errors: the texts above, the archive reader's limit and name texts, the reader's own text for
/// an unreadable, corrupt or undecodable archive, "truncated ZIP entry" / "truncated TAR entry"
/// for file content longer or shorter than its declared size (writing stops at the first byte
/// beyond it), and the system's text when creating, writing or publishing fails.
std::expected<Extracted, std::string> extract_archive(const std::filesystem::path& archive,
                                                      const std::filesystem::path& destination);

}  // namespace files::archive_ops
