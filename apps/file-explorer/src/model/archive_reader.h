#pragma once

#include <cstddef>
#include <cstdint>
#include <expected>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

/// Reading ZIP, tar and gzip-compressed tar archives as read-only folders, under the rules
/// every archive read obeys (browsing here, extraction in fileops): links are skipped, member
/// names are rebuilt from their plain components, and three limits bound the work before a
/// hostile archive is read any further.
namespace files::model {

enum class ArchiveFormat : std::uint8_t { Zip, Tar, TarGzip };

/// The name rule: "zip", "tar" or "tgz" extensions, or "gz" on a stem ending in ".tar";
/// compared ignoring case. A plain .gz file is not an archive.
bool is_supported_archive(const std::filesystem::path& path);

/// The reader for an archive path, by its extension ignoring ASCII case: "zip" is ZIP, "gz"
/// and "tgz" are tar inside gzip, anything else plain tar.
ArchiveFormat archive_format_for(const std::filesystem::path& path);

/// An archive view path split into the archive file and the folder inside it.
struct ArchiveLocation {
  std::filesystem::path archive;
  std::filesystem::path inner;  ///< relative; empty for the archive's top level
  friend bool operator==(const ArchiveLocation&, const ArchiveLocation&) = default;
};

/// The nearest ancestor of `path` (never the path itself) that is an existing regular file
/// (a link to one counts) with a supported archive name, and the rest of the path below it.
std::optional<ArchiveLocation> archive_containing(const std::filesystem::path& path);

/// Like archive_containing, but an archive file itself is its own top-level folder: the
/// location a folder listing shows for `path`.
std::optional<ArchiveLocation> archive_view_location(const std::filesystem::path& path);

struct ArchiveMember {
  std::filesystem::path path;  ///< sanitised relative path
  std::uint64_t size = 0;      ///< declared uncompressed size
  bool is_dir = false;
  friend bool operator==(const ArchiveMember&, const ArchiveMember&) = default;
};

inline constexpr std::size_t kMaxArchiveMembers = 100000;
inline constexpr std::uint64_t kMaxArchiveExpandedBytes = 17179869184;  // 16 GiB

inline constexpr std::string_view kArchiveTooManyEntries = "archive has too many entries";
inline constexpr std::string_view kArchiveSizeOverflow = "archive size overflow";
inline constexpr std::string_view kArchiveBeyondLimit = "archive expands beyond the safety limit";
inline constexpr std::string_view kArchiveEntryEscapes = "archive entry escapes its destination";
inline constexpr std::string_view kArchiveEntryEmpty = "empty archive entry";

/// The running totals of one archive read. `admit` is asked before each member is accepted.
class ArchiveBudget {
 public:
  /// Accepts one more member of `declared_size` bytes, or fails with the limit's error text.
  std::expected<void, std::string> admit(std::uint64_t declared_size);

  std::size_t members() const { return members_; }
  std::uint64_t total_bytes() const { return total_; }

 private:
  std::size_t members_ = 0;
  std::uint64_t total_ = 0;
};

/// Rebuilds a stored member name from its components: "." and empty components are dropped;
/// a leading "/" or a ".." component escapes; nothing left is an empty entry.
std::expected<std::filesystem::path, std::string> sanitize_member_name(std::string_view stored);

/// Every accepted member in archive order, or the first error (a limit, a name, or the
/// reader's own text for an unreadable or corrupt archive).
std::expected<std::vector<ArchiveMember>, std::string> list_archive_members(
    const std::filesystem::path& archive);

/// The same over archive bytes in memory (used by the fuzz targets).
std::expected<std::vector<ArchiveMember>, std::string> list_archive_members_in_memory(
    std::span<const std::byte> bytes, ArchiveFormat format);

/// The members directly inside `inner` (relative, as in ArchiveLocation), in archive order.
/// Folders that members imply but the archive does not list (many ZIP writers leave them
/// out) are added as folders where their first member appears, so that nothing inside is
/// unreachable.
std::vector<ArchiveMember> members_in_folder(const std::vector<ArchiveMember>& members,
                                             const std::filesystem::path& inner);

}  // namespace files::model
