#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "collab_types/file_conflict.h"
#include "collab_types/keys.h"

namespace collab_types {

/// How a version came about. JSON: one of the strings "Create", "Edit", "Rename", "Move",
/// "Delete", "ConflictResolution", or {"Restore": {"version": "<id>"}}.
struct FileProvenance {
  enum class Kind : std::uint8_t {
    Create,
    Edit,
    Rename,
    Move,
    Delete,
    ConflictResolution,
    Restore
  };
  Kind kind = Kind::Create;
  std::string restored_version;  ///< only for Restore: the version restored from
  friend bool operator==(const FileProvenance&, const FileProvenance&) = default;
};

struct HistoryVersion {
  std::string id;
  std::string record_id;
  std::vector<std::string> parents;
  HistoryActor actor;
  std::uint64_t timestamp_ms = 0;
  std::optional<Digest> content_hash;  ///< none for versions without content
  Digest metadata_hash{};
  FileProvenance provenance;
  friend bool operator==(const HistoryVersion&, const HistoryVersion&) = default;
};

/// "user.vask.history": a summary of one file's version history and open conflicts.
struct HistoryProjection {
  std::uint16_t schema_version = 0;
  std::string record_id;
  std::uint64_t total_versions = 0;
  bool versions_truncated = false;
  std::vector<std::string> heads;
  std::vector<HistoryVersion> versions;
  bool conflicts_truncated = false;
  std::vector<FileConflictV1> conflicts;
  friend bool operator==(const HistoryProjection&, const HistoryProjection&) = default;
};

inline constexpr std::size_t kHistoryProjectionMaxBytes = 16384;

/// Strict reading (rules in availability_projection.h); none above kHistoryProjectionMaxBytes.
std::optional<HistoryProjection> parse_history_projection(std::string_view json);

}  // namespace collab_types
