#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

/// JSON reading rules shared by every record of this library:
/// - a document longer than its record's bound is refused before any byte is parsed;
/// - keys are exact; an unknown key refuses the whole document, except inside
///   `TransferProgress`, whose unknown keys are skipped; a key given twice refuses it;
/// - a missing required key refuses it; an absent or null optional key reads as none;
/// - integers are unsigned and must fit the field's width (schema_version 16 bits);
///   a fraction, exponent or sign refuses the document;
/// - every record is also accepted as a JSON array of its values in declaration order
///   (trailing optional values may be left out); tagged variants are objects only;
/// - nothing is thrown: every failure reads as none.

namespace collab_types {

struct ResidencyNotResident {
  friend bool operator==(const ResidencyNotResident&, const ResidencyNotResident&) = default;
};
struct ResidencyPartial {
  std::uint64_t resident_bytes = 0;
  friend bool operator==(const ResidencyPartial&, const ResidencyPartial&) = default;
};
struct ResidencyResident {
  std::uint64_t bytes = 0;
  friend bool operator==(const ResidencyResident&, const ResidencyResident&) = default;
};
/// How much of the content is on this device ("state": not_resident, partial, resident).
using Residency = std::variant<ResidencyNotResident, ResidencyPartial, ResidencyResident>;

struct ReplicasUnknown {
  friend bool operator==(const ReplicasUnknown&, const ReplicasUnknown&) = default;
};
struct ReplicasKnown {
  std::uint32_t reachable = 0;
  std::uint32_t durable = 0;
  friend bool operator==(const ReplicasKnown&, const ReplicasKnown&) = default;
};
/// What is known about other copies ("state": unknown, known).
using ReplicaEvidence = std::variant<ReplicasUnknown, ReplicasKnown>;

enum class TransferPhase : std::uint8_t { Idle, Queued, Downloading, Uploading, Verifying };
enum class OfflinePolicy : std::uint8_t { Automatic, Pinned };

struct TransferProgress {
  std::uint64_t completed_bytes = 0;
  std::optional<std::uint64_t> total_bytes;  ///< none: the total is unknown
  friend bool operator==(const TransferProgress&, const TransferProgress&) = default;
};

struct ProjectedTransfer {
  TransferPhase phase = TransferPhase::Idle;
  std::optional<TransferProgress> progress;
  std::optional<std::string> last_error;
  std::optional<std::uint64_t> last_error_at_ms;
  bool error_truncated = false;
  friend bool operator==(const ProjectedTransfer&, const ProjectedTransfer&) = default;
};

struct AvailabilityFreshness {
  std::optional<std::uint64_t> metadata_observed_at_ms;
  std::optional<std::uint64_t> local_verified_at_ms;
  std::optional<std::uint64_t> replicas_observed_at_ms;
  friend bool operator==(const AvailabilityFreshness&, const AvailabilityFreshness&) = default;
};

/// "user.vask.availability": where the content of one item is and what is being done to it.
struct AvailabilityProjection {
  std::uint16_t schema_version = 0;
  std::string record_id;
  std::optional<std::string> current_version;
  Residency residency;
  ProjectedTransfer transfer;
  OfflinePolicy policy = OfflinePolicy::Automatic;
  bool policy_inherited = false;
  ReplicaEvidence replicas;
  AvailabilityFreshness freshness;
  friend bool operator==(const AvailabilityProjection&, const AvailabilityProjection&) = default;
};

inline constexpr std::size_t kAvailabilityProjectionMaxBytes = 2048;

/// Strict reading (rules above); none for documents longer than
/// kAvailabilityProjectionMaxBytes. Does not apply the reader's consistency checks.
std::optional<AvailabilityProjection> parse_availability_projection(std::string_view json);

}  // namespace collab_types
