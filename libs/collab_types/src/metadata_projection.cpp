#include "collab_types/metadata_projection.h"

#include "record_reader.h"

namespace collab_types {
namespace {

bool read_metadata(detail::JsonCursor& c, MetadataProjection& out) {
  static constexpr detail::FieldNames<3> kFields{"schema_version", "record_id", "properties"};
  return detail::read_record(c, kFields, detail::required_fields({0, 1, 2}),
                             [&](std::size_t field) {
                               switch (field) {
                                 case 0:
                                   return detail::read_uint(c, out.schema_version);
                                 case 1:
                                   return detail::read_uuid(c, out.record_id);
                                 default:
                                   return detail::read_file_properties(c, out.properties);
                               }
                             });
}

}  // namespace

std::optional<MetadataProjection> parse_metadata_projection(std::string_view json) {
  return detail::parse_document<MetadataProjection>(json, kMetadataProjectionMaxBytes,
                                                    read_metadata);
}

}  // namespace collab_types
