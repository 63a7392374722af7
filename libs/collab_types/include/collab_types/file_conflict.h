#pragma once

#include <cstddef>
#include <cstdint>
#include <expected>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "collab_types/keys.h"
#include "collab_types/uuid.h"

namespace collab_types {

enum class ConflictStatus : std::uint8_t { Open, Resolved };

/// How a conflict is (or was) resolved; the JSON names are the enumerator names.
enum class ConflictStrategy : std::uint8_t {
  KeepCurrent = 0,
  UseOther = 1,
  KeepBoth = 2,
  Merge = 3
};

std::string_view to_json_name(ConflictStrategy strategy);

struct ConflictResolution {
  ConflictStrategy strategy = ConflictStrategy::KeepCurrent;
  Uuid result;  ///< the version the resolution produced
  HistoryActor actor;
  std::uint64_t timestamp_ms = 0;
  friend bool operator==(const ConflictResolution&, const ConflictResolution&) = default;
};

/// Several versions of one record that are all current heads.
struct FileConflictV1 {
  Uuid id;
  Uuid record_id;
  std::vector<Uuid> versions;  ///< the conflicting version ids
  ConflictStatus status = ConflictStatus::Open;
  std::optional<ConflictResolution> resolution;

  /// Refuses inconsistent conflicts: nil ids, fewer than two versions, a version listed
  /// twice, an open conflict with a resolution or a resolved one without.
  std::expected<void, std::string> validate() const;

  friend bool operator==(const FileConflictV1&, const FileConflictV1&) = default;
};

inline constexpr std::size_t kFileConflictMaxBytes = 16384;

/// Strict reading (rules in availability_projection.h); none above kFileConflictMaxBytes.
std::optional<FileConflictV1> parse_file_conflict(std::string_view json);

}  // namespace collab_types
