#pragma once

#include <expected>
#include <filesystem>
#include <string>

namespace files::fileops {

/// Whether a transfer leaves the source in place.
enum class TransferMode { Copy, Move };

/// The final path of the transferred item, or the text that tells the user what went wrong.
using TransferResult = std::expected<std::filesystem::path, std::string>;

/// Places the item at `source` (a file, a folder with its tree, or a symbolic link, which is never
/// followed) into `destination` under the first free name of "name", "stem 2.ext" ... "stem
/// 9999.ext". Nothing is ever overwritten, and a half-made copy is never visible under a final
/// name: copies are assembled in a hidden staging folder and published with one rename that
/// refuses to replace. A move is one rename when the file system allows it; otherwise the source
/// goes away only after the copy is complete, and is restored from that copy if publishing fails.
TransferResult transfer(const std::filesystem::path& source,
                        const std::filesystem::path& destination, TransferMode mode);

/// `transfer` as a copy.
TransferResult copy_into(const std::filesystem::path& source,
                         const std::filesystem::path& destination);
/// `transfer` as a move.
TransferResult move_into(const std::filesystem::path& source,
                         const std::filesystem::path& destination);

/// Whether a name in a folder is in use. A dangling symbolic link counts as taken.
enum class Occupancy { Free, Taken };

/// Looks at `candidate` without following a final link. Error: "files-destination-inspect-failed"
/// with path and error, from the catalog.
std::expected<Occupancy, std::string> check_destination(const std::filesystem::path& candidate);

/// Moves `source` to exactly `target` (no numbered names): one rename that refuses to replace
/// when possible, otherwise a copy staged in `staging_parent` (which must be on the target's file
/// system; the target's folder when empty) and published with such a rename, before the source
/// is removed. The Trash uses it to move items in and out across file systems. A source that
/// cannot be removed after the copy is published leaves both in place and fails with a text
/// naming both.
std::expected<void, std::string> move_to_exact(const std::filesystem::path& source,
                                               const std::filesystem::path& target,
                                               const std::filesystem::path& staging_parent = {});

}  // namespace files::fileops
