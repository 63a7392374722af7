#include "collab_types/history_projection.h"

#include "record_reader.h"

namespace collab_types {
namespace {

using detail::FieldNames;
using detail::JsonCursor;
using detail::read_record;
using detail::required_fields;

// Unit variants are plain strings; the one variant with data is an object with a single key.
bool read_provenance(JsonCursor& c, FileProvenance& out) {
  static constexpr FieldNames<6> kUnitKinds{"Create", "Edit",   "Rename",
                                            "Move",   "Delete", "ConflictResolution"};
  if (c.peek() == '"') return detail::read_enum(c, kUnitKinds, out.kind);
  static constexpr FieldNames<1> kOuter{"Restore"};
  static constexpr FieldNames<1> kInner{"version"};
  out.kind = FileProvenance::Kind::Restore;
  return read_record(
      c, kOuter, required_fields({0}),
      [&](std::size_t) {
        return read_record(c, kInner, required_fields({0}),
                           [&](std::size_t) { return c.read_string(out.restored_version); });
      },
      detail::UnknownKeys::Refuse, detail::RecordForms::ObjectOnly);
}

bool read_version(JsonCursor& c, HistoryVersion& out) {
  static constexpr FieldNames<8> kFields{
      "id",           "record_id",    "parents",       "actor",
      "timestamp_ms", "content_hash", "metadata_hash", "provenance"};
  return read_record(c, kFields, required_fields({0, 1, 2, 3, 4, 6, 7}), [&](std::size_t field) {
    switch (field) {
      case 0:
        return c.read_string(out.id);
      case 1:
        return c.read_string(out.record_id);
      case 2:
        return detail::read_array(c, out.parents, detail::read_text);
      case 3:
        return detail::read_actor(c, out.actor);
      case 4:
        return c.read_u64(out.timestamp_ms);
      case 5:
        return detail::read_optional(c, out.content_hash, detail::read_bytes32);
      case 6:
        return detail::read_bytes32(c, out.metadata_hash);
      default:
        return read_provenance(c, out.provenance);
    }
  });
}

bool read_history(JsonCursor& c, HistoryProjection& out) {
  static constexpr FieldNames<8> kFields{"schema_version",      "record_id", "total_versions",
                                         "versions_truncated",  "heads",     "versions",
                                         "conflicts_truncated", "conflicts"};
  return read_record(c, kFields, required_fields({0, 1, 2, 3, 4, 5}), [&](std::size_t field) {
    switch (field) {
      case 0:
        return detail::read_uint(c, out.schema_version);
      case 1:
        return c.read_string(out.record_id);
      case 2:
        return c.read_u64(out.total_versions);
      case 3:
        return c.read_bool(out.versions_truncated);
      case 4:
        return detail::read_array(c, out.heads, detail::read_text);
      case 5:
        return detail::read_array(c, out.versions, read_version);
      case 6:
        return c.read_bool(out.conflicts_truncated);
      default:
        return detail::read_array(c, out.conflicts, detail::read_file_conflict);
    }
  });
}

}  // namespace

std::optional<HistoryProjection> parse_history_projection(std::string_view json) {
  return detail::parse_document<HistoryProjection>(json, kHistoryProjectionMaxBytes, read_history);
}

}  // namespace collab_types
