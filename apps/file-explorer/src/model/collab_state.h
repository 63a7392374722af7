#pragma once

#include <collab_types/availability_projection.h>
#include <collab_types/history_projection.h>
#include <collab_types/keys.h>
#include <collab_types/metadata_projection.h>
#include <collab_types/share_projection.h>
#include <collab_types/uuid.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>

/// The collaborative state that the workspace filesystem publishes on each item as
/// "user.vask.*" extended attributes. Reading is defensive: an attribute that is absent,
/// unreadable, too large, malformed, of another schema version or inconsistent reads exactly
/// like an absent one, silently, and each attribute is judged on its own.
namespace files::model {

enum class SyncState : std::uint8_t { Local, Projected, Downloading };

/// Whether the listed folder lies in a workspace root; only then are attributes read at all.
enum class InWorkspace : bool { No, Yes };

/// What an item's own metadata (read without following links) says it is.
enum class ItemKind : std::uint8_t { Unreadable, Folder, File };

struct CollabState {
  std::optional<collab_types::AvailabilityProjection> availability;
  std::optional<collab_types::ShareProjection> share;
  std::optional<collab_types::HistoryProjection> history;
  std::optional<collab_types::MetadataProjection> metadata;
  std::optional<collab_types::Uuid> record_id;
  std::optional<collab_types::Digest> content_hash;
  std::optional<SyncState> sync;
  friend bool operator==(const CollabState&, const CollabState&) = default;
};

/// Attribute names, as the workspace filesystem publishes them.
inline constexpr const char* kRecordIdAttribute = "user.vask.record-id";
inline constexpr const char* kAvailabilityAttribute = "user.vask.availability";
inline constexpr const char* kShareAttribute = "user.vask.share";
inline constexpr const char* kHistoryAttribute = "user.vask.history";
inline constexpr const char* kSyncAttribute = "user.vask.sync";
inline constexpr const char* kContentHashAttribute = "user.vask.content-hash";
inline constexpr const char* kMetadataAttribute = "user.vask.metadata";

/// Reads the state of one entry of a listed folder. Outside the workspace nothing is read.
/// Folders get record id, availability, share and history; files additionally sync state,
/// content hash and metadata; an item whose metadata could not be read gets only what
/// folders get.
CollabState read_collab_state(const std::filesystem::path& path, InWorkspace in_workspace,
                              ItemKind kind);

/// One reader per attribute: a single lgetxattr on the path (never following a link) into a
/// buffer one byte larger than the attribute's bound, then the decoder below.
std::optional<collab_types::Uuid> read_record_id(const std::filesystem::path& path);
std::optional<collab_types::Digest> read_content_hash(const std::filesystem::path& path);
std::optional<SyncState> read_sync_state(const std::filesystem::path& path);
std::optional<collab_types::AvailabilityProjection> read_availability(
    const std::filesystem::path& path);
std::optional<collab_types::ShareProjection> read_share(const std::filesystem::path& path);
std::optional<collab_types::HistoryProjection> read_history(const std::filesystem::path& path);
std::optional<collab_types::MetadataProjection> read_metadata(const std::filesystem::path& path);

/// Decoders of attribute values: bound, strict parse and the consistency checks.
std::optional<collab_types::Uuid> decode_record_id(std::string_view value);
std::optional<collab_types::Digest> decode_content_hash(std::string_view value);
/// The text with leading and trailing Unicode white space removed, matched exactly.
std::optional<SyncState> decode_sync_state(std::string_view value);
std::optional<collab_types::AvailabilityProjection> decode_availability(std::string_view value);
std::optional<collab_types::ShareProjection> decode_share(std::string_view value);
std::optional<collab_types::HistoryProjection> decode_history(std::string_view value);
std::optional<collab_types::MetadataProjection> decode_metadata(std::string_view value);

/// Consistency checks applied after a successful parse.
bool is_consistent(const collab_types::AvailabilityProjection& availability);
bool is_consistent(const collab_types::ShareProjection& share);
bool is_consistent(const collab_types::HistoryProjection& history);
bool is_consistent(const collab_types::MetadataProjection& metadata);

inline constexpr std::size_t kMaxShareGrants = 32;
inline constexpr std::size_t kMaxHistoryVersions = 12;
inline constexpr std::size_t kMaxHistoryConflicts = 8;
inline constexpr std::size_t kMaxHistoryHeads = 8;
inline constexpr std::size_t kMaxVersionParents = 8;

/// The number of grants whose status is active.
std::size_t active_grant_count(const collab_types::ShareProjection& share);

/// True when a history is present (not null) and one of its conflicts is open.
bool has_open_conflict(const collab_types::HistoryProjection* history);
inline bool has_open_conflict(const CollabState& state) {
  return has_open_conflict(state.history ? &*state.history : nullptr);
}

}  // namespace files::model
