#include "model/collab_state.h"

#include "model/lossy_text.h"

#include <sys/xattr.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <memory>

namespace files::model {
namespace {

using collab_types::AvailabilityProjection;
using collab_types::HistoryProjection;
using collab_types::MetadataProjection;
using collab_types::ShareProjection;

// The largest value Linux stores in one extended attribute.
constexpr std::size_t kMaxAttributeBytes = 65536;

// Reads one attribute of `path` in one call into a per-thread buffer of `max_bytes + 1`
// bytes, so a value above the bound is recognised (by its length or by ERANGE) without ever
// being read whole. The view stays valid until the next read on this thread.
std::optional<std::string_view> read_attribute(const std::filesystem::path& path, const char* name,
                                               std::size_t max_bytes) {
  thread_local std::unique_ptr<char[]> buffer;
  if (!buffer) buffer = std::make_unique<char[]>(kMaxAttributeBytes + 1);
  const std::size_t capacity = std::min(max_bytes + 1, kMaxAttributeBytes + 1);
  ssize_t n = 0;
  do {
    n = ::lgetxattr(path.c_str(), name, buffer.get(), capacity);
  } while (n < 0 && errno == EINTR);
  if (n < 0 || static_cast<std::size_t>(n) > max_bytes) return std::nullopt;
  return std::string_view(buffer.get(), static_cast<std::size_t>(n));
}

template <class T>
std::optional<T> read_and_decode(const std::filesystem::path& path, const char* name,
                                 std::size_t max_bytes,
                                 std::optional<T> (*decode)(std::string_view)) {
  const auto value = read_attribute(path, name, max_bytes);
  if (!value) return std::nullopt;
  return decode(*value);
}

template <class T>
std::optional<T> checked(std::optional<T> parsed) {
  if (parsed && !is_consistent(*parsed)) return std::nullopt;
  return parsed;
}

// Length of a Unicode White_Space character encoded at the start of `text`, or 0.
std::size_t white_space_length(std::string_view text) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  if (text.empty()) return 0;
  const unsigned char b0 = byte(0);
  if ((b0 >= 0x09 && b0 <= 0x0D) || b0 == 0x20) return 1;
  if (text.size() >= 2 && b0 == 0xC2 && (byte(1) == 0x85 || byte(1) == 0xA0)) return 2;
  if (text.size() < 3) return 0;
  const unsigned char b1 = byte(1), b2 = byte(2);
  if (b0 == 0xE1 && b1 == 0x9A && b2 == 0x80) return 3;  // U+1680
  if (b0 == 0xE2 && b1 == 0x80 &&
      ((b2 >= 0x80 && b2 <= 0x8A) || b2 == 0xA8 || b2 == 0xA9 || b2 == 0xAF)) {
    return 3;  // U+2000..U+200A, U+2028, U+2029, U+202F
  }
  if (b0 == 0xE2 && b1 == 0x81 && b2 == 0x9F) return 3;  // U+205F
  if (b0 == 0xE3 && b1 == 0x80 && b2 == 0x80) return 3;  // U+3000
  return 0;
}

// Length of the white space that ends `text` (whole characters only).
std::size_t trailing_white_space(std::string_view text) {
  std::size_t total = 0;
  for (;;) {
    const std::string_view rest = text.substr(0, text.size() - total);
    std::size_t found = 0;
    for (std::size_t len = 1; len <= 3 && len <= rest.size(); ++len) {
      if (white_space_length(rest.substr(rest.size() - len)) == len) {
        found = len;
        break;
      }
    }
    if (found == 0) return total;
    total += found;
  }
}

}  // namespace

std::optional<collab_types::Uuid> decode_record_id(std::string_view value) {
  if (value.size() != 16) return std::nullopt;
  collab_types::Uuid id;
  std::memcpy(id.bytes.data(), value.data(), 16);
  return id;
}

std::optional<collab_types::Digest> decode_content_hash(std::string_view value) {
  if (value.size() != 32) return std::nullopt;
  collab_types::Digest digest;
  std::memcpy(digest.data(), value.data(), 32);
  return digest;
}

std::optional<SyncState> decode_sync_state(std::string_view value) {
  if (!is_valid_utf8(value)) return std::nullopt;
  while (const std::size_t n = white_space_length(value))
    value.remove_prefix(n);
  value.remove_suffix(trailing_white_space(value));
  if (value == "local") return SyncState::Local;
  if (value == "projected") return SyncState::Projected;
  if (value == "downloading") return SyncState::Downloading;
  return std::nullopt;
}

bool is_consistent(const AvailabilityProjection& a) {
  if (a.schema_version != 1) return false;
  if (a.transfer.last_error.has_value() != a.transfer.last_error_at_ms.has_value()) return false;
  const auto& progress = a.transfer.progress;
  return !(progress && progress->total_bytes && progress->completed_bytes > *progress->total_bytes);
}

bool is_consistent(const ShareProjection& s) {
  return s.schema_version == 1 && s.grants.size() <= kMaxShareGrants;
}

bool is_consistent(const HistoryProjection& h) {
  const auto record_id = collab_types::Uuid::parse(h.record_id);
  if (!record_id) return false;
  if (h.schema_version != 1) return false;
  if (h.versions.size() > kMaxHistoryVersions || h.conflicts.size() > kMaxHistoryConflicts ||
      h.heads.size() > kMaxHistoryHeads) {
    return false;
  }
  if (h.total_versions < h.versions.size()) return false;
  for (const auto& version : h.versions) {
    if (version.record_id != h.record_id) return false;
    if (version.parents.size() > kMaxVersionParents) return false;
    if (std::find(version.parents.begin(), version.parents.end(), version.id) !=
        version.parents.end()) {
      return false;
    }
  }
  for (const auto& conflict : h.conflicts) {
    if (conflict.record_id != *record_id || !conflict.validate()) return false;
  }
  return true;
}

bool is_consistent(const MetadataProjection& m) {
  return m.schema_version == 1 && !m.record_id.is_nil() && m.properties.validate().has_value();
}

std::optional<AvailabilityProjection> decode_availability(std::string_view value) {
  return checked(collab_types::parse_availability_projection(value));
}
std::optional<ShareProjection> decode_share(std::string_view value) {
  return checked(collab_types::parse_share_projection(value));
}
std::optional<HistoryProjection> decode_history(std::string_view value) {
  return checked(collab_types::parse_history_projection(value));
}
std::optional<MetadataProjection> decode_metadata(std::string_view value) {
  return checked(collab_types::parse_metadata_projection(value));
}

std::optional<collab_types::Uuid> read_record_id(const std::filesystem::path& path) {
  return read_and_decode(path, kRecordIdAttribute, 16, decode_record_id);
}
std::optional<collab_types::Digest> read_content_hash(const std::filesystem::path& path) {
  return read_and_decode(path, kContentHashAttribute, 32, decode_content_hash);
}
std::optional<SyncState> read_sync_state(const std::filesystem::path& path) {
  return read_and_decode(path, kSyncAttribute, kMaxAttributeBytes, decode_sync_state);
}
std::optional<AvailabilityProjection> read_availability(const std::filesystem::path& path) {
  return read_and_decode(path, kAvailabilityAttribute,
                         collab_types::kAvailabilityProjectionMaxBytes, decode_availability);
}
std::optional<ShareProjection> read_share(const std::filesystem::path& path) {
  return read_and_decode(path, kShareAttribute, collab_types::kShareProjectionMaxBytes,
                         decode_share);
}
std::optional<HistoryProjection> read_history(const std::filesystem::path& path) {
  return read_and_decode(path, kHistoryAttribute, collab_types::kHistoryProjectionMaxBytes,
                         decode_history);
}
std::optional<MetadataProjection> read_metadata(const std::filesystem::path& path) {
  return read_and_decode(path, kMetadataAttribute, collab_types::kMetadataProjectionMaxBytes,
                         decode_metadata);
}

CollabState read_collab_state(const std::filesystem::path& path, InWorkspace in_workspace,
                              ItemKind kind) {
  CollabState state;
  if (in_workspace == InWorkspace::No) return state;
  const bool is_file = kind == ItemKind::File;
  if (is_file) {
    state.sync = read_sync_state(path);
    state.content_hash = read_content_hash(path);
  }
  state.record_id = read_record_id(path);
  state.availability = read_availability(path);
  state.share = read_share(path);
  state.history = read_history(path);
  if (is_file) state.metadata = read_metadata(path);
  return state;
}

std::size_t active_grant_count(const ShareProjection& share) {
  return static_cast<std::size_t>(std::count_if(
      share.grants.begin(), share.grants.end(),
      [](const auto& grant) { return grant.status == collab_types::GrantStatus::Active; }));
}

bool has_open_conflict(const HistoryProjection* history) {
  return history != nullptr &&
         std::any_of(history->conflicts.begin(), history->conflicts.end(),
                     [](const auto& conflict) {
                       return conflict.status == collab_types::ConflictStatus::Open;
                     });
}

}  // namespace files::model
