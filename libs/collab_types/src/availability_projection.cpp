#include "collab_types/availability_projection.h"

#include "record_reader.h"

namespace collab_types {
namespace {

using detail::FieldNames;
using detail::JsonCursor;
using detail::read_record;
using detail::required_fields;

// The tagged variants below are read as one object holding the keys of every variant; the
// "state" tag then decides which of those keys the chosen variant allows.
bool read_residency(JsonCursor& c, Residency& out) {
  static constexpr FieldNames<3> kFields{"state", "resident_bytes", "bytes"};
  static constexpr FieldNames<3> kStates{"not_resident", "partial", "resident"};
  enum State : std::uint8_t { NotResident, Partial, Resident } state = NotResident;
  std::uint64_t resident_bytes = 0;
  std::uint64_t bytes = 0;
  const auto given = detail::read_tagged_object(c, kFields, [&](std::size_t field) {
    switch (field) {
      case 0:
        return detail::read_enum(c, kStates, state);
      case 1:
        return c.read_u64(resident_bytes);
      default:
        return c.read_u64(bytes);
    }
  });
  if (!given) return false;
  switch (state) {
    case NotResident:
      if (*given != required_fields({0})) return false;
      out = ResidencyNotResident{};
      return true;
    case Partial:
      if (*given != required_fields({0, 1})) return false;
      out = ResidencyPartial{resident_bytes};
      return true;
    case Resident:
      if (*given != required_fields({0, 2})) return false;
      out = ResidencyResident{bytes};
      return true;
  }
  return false;
}

bool read_replicas(JsonCursor& c, ReplicaEvidence& out) {
  static constexpr FieldNames<3> kFields{"state", "reachable", "durable"};
  static constexpr FieldNames<2> kStates{"unknown", "known"};
  enum State : std::uint8_t { Unknown, Known } state = Unknown;
  ReplicasKnown known;
  const auto given = detail::read_tagged_object(c, kFields, [&](std::size_t field) {
    switch (field) {
      case 0:
        return detail::read_enum(c, kStates, state);
      case 1:
        return detail::read_uint(c, known.reachable);
      default:
        return detail::read_uint(c, known.durable);
    }
  });
  if (!given) return false;
  if (state == Unknown) {
    if (*given != required_fields({0})) return false;
    out = ReplicasUnknown{};
    return true;
  }
  if (*given != required_fields({0, 1, 2})) return false;
  out = known;
  return true;
}

bool read_progress(JsonCursor& c, TransferProgress& out) {
  static constexpr FieldNames<2> kFields{"completed_bytes", "total_bytes"};
  // Writers may add progress details that this reader does not know: they are skipped.
  return read_record(
      c, kFields, required_fields({0}),
      [&](std::size_t field) {
        if (field == 0) return c.read_u64(out.completed_bytes);
        return detail::read_optional(c, out.total_bytes, detail::read_u64);
      },
      detail::UnknownKeys::Skip);
}

bool read_transfer(JsonCursor& c, ProjectedTransfer& out) {
  static constexpr FieldNames<5> kFields{"phase", "progress", "last_error", "last_error_at_ms",
                                         "error_truncated"};
  static constexpr FieldNames<5> kPhases{"idle", "queued", "downloading", "uploading", "verifying"};
  return read_record(c, kFields, required_fields({0, 4}), [&](std::size_t field) {
    switch (field) {
      case 0:
        return detail::read_enum(c, kPhases, out.phase);
      case 1:
        return detail::read_optional(c, out.progress, read_progress);
      case 2:
        return detail::read_optional(c, out.last_error, detail::read_text);
      case 3:
        return detail::read_optional(c, out.last_error_at_ms, detail::read_u64);
      default:
        return c.read_bool(out.error_truncated);
    }
  });
}

bool read_freshness(JsonCursor& c, AvailabilityFreshness& out) {
  static constexpr FieldNames<3> kFields{"metadata_observed_at_ms", "local_verified_at_ms",
                                         "replicas_observed_at_ms"};
  return read_record(c, kFields, 0, [&](std::size_t field) {
    switch (field) {
      case 0:
        return detail::read_optional(c, out.metadata_observed_at_ms, detail::read_u64);
      case 1:
        return detail::read_optional(c, out.local_verified_at_ms, detail::read_u64);
      default:
        return detail::read_optional(c, out.replicas_observed_at_ms, detail::read_u64);
    }
  });
}

bool read_availability(JsonCursor& c, AvailabilityProjection& out) {
  static constexpr FieldNames<9> kFields{"schema_version",   "record_id", "current_version",
                                         "residency",        "transfer",  "policy",
                                         "policy_inherited", "replicas",  "freshness"};
  static constexpr FieldNames<2> kPolicies{"automatic", "pinned"};
  return read_record(c, kFields, required_fields({0, 1, 3, 4, 5, 7, 8}), [&](std::size_t field) {
    switch (field) {
      case 0:
        return detail::read_uint(c, out.schema_version);
      case 1:
        return c.read_string(out.record_id);
      case 2:
        return detail::read_optional(c, out.current_version, detail::read_text);
      case 3:
        return read_residency(c, out.residency);
      case 4:
        return read_transfer(c, out.transfer);
      case 5:
        return detail::read_enum(c, kPolicies, out.policy);
      case 6:
        return c.read_bool(out.policy_inherited);
      case 7:
        return read_replicas(c, out.replicas);
      default:
        return read_freshness(c, out.freshness);
    }
  });
}

}  // namespace

std::optional<AvailabilityProjection> parse_availability_projection(std::string_view json) {
  return detail::parse_document<AvailabilityProjection>(json, kAvailabilityProjectionMaxBytes,
                                                        read_availability);
}

}  // namespace collab_types
