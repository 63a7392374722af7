#include "collab_types/file_conflict.h"

#include <algorithm>

#include "record_reader.h"

namespace collab_types {
namespace {

constexpr detail::FieldNames<4> kStrategyNames{"KeepCurrent", "UseOther", "KeepBoth", "Merge"};
constexpr detail::FieldNames<2> kStatusNames{"Open", "Resolved"};

bool read_resolution(detail::JsonCursor& c, ConflictResolution& out) {
  static constexpr detail::FieldNames<4> kFields{"strategy", "result", "actor", "timestamp_ms"};
  return detail::read_record(c, kFields, detail::required_fields({0, 1, 2, 3}),
                             [&](std::size_t field) {
                               switch (field) {
                                 case 0:
                                   return detail::read_enum(c, kStrategyNames, out.strategy);
                                 case 1:
                                   return detail::read_uuid(c, out.result);
                                 case 2:
                                   return detail::read_actor(c, out.actor);
                                 default:
                                   return detail::read_u64(c, out.timestamp_ms);
                               }
                             });
}

}  // namespace

std::string_view to_json_name(ConflictStrategy strategy) {
  return kStrategyNames[static_cast<std::size_t>(strategy)];
}

std::expected<void, std::string> FileConflictV1::validate() const {
  if (id.is_nil() || record_id.is_nil()) return std::unexpected("conflict ids must not be nil");
  if (versions.size() < 2) return std::unexpected("a conflict needs at least two versions");
  for (std::size_t i = 0; i < versions.size(); ++i) {
    if (versions[i].is_nil()) return std::unexpected("conflict version ids must not be nil");
    if (std::find(versions.begin() + static_cast<std::ptrdiff_t>(i) + 1, versions.end(),
                  versions[i]) != versions.end()) {
      return std::unexpected("a conflict lists one version twice");
    }
  }
  if (status == ConflictStatus::Open && resolution) {
    return std::unexpected("an open conflict has no resolution");
  }
  if (status == ConflictStatus::Resolved) {
    if (!resolution) return std::unexpected("a resolved conflict needs its resolution");
    if (resolution->result.is_nil()) return std::unexpected("resolution result must not be nil");
  }
  return {};
}

namespace detail {

bool read_file_conflict(JsonCursor& c, FileConflictV1& out) {
  static constexpr FieldNames<5> kFields{"id", "record_id", "versions", "status", "resolution"};
  return read_record(c, kFields, required_fields({0, 1, 2, 3}), [&](std::size_t field) {
    switch (field) {
      case 0:
        return read_uuid(c, out.id);
      case 1:
        return read_uuid(c, out.record_id);
      case 2:
        return read_array(c, out.versions, read_uuid);
      case 3:
        return read_enum(c, kStatusNames, out.status);
      default:
        return read_optional(c, out.resolution, read_resolution);
    }
  });
}

}  // namespace detail

std::optional<FileConflictV1> parse_file_conflict(std::string_view json) {
  return detail::parse_document<FileConflictV1>(json, kFileConflictMaxBytes,
                                                detail::read_file_conflict);
}

}  // namespace collab_types
