#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "collab_types/file_properties.h"
#include "collab_types/uuid.h"

namespace collab_types {

/// "user.vask.metadata": media facts of one file.
struct MetadataProjection {
  std::uint16_t schema_version = 0;
  Uuid record_id;  ///< read from its UUID text
  FilePropertiesV1 properties;
  friend bool operator==(const MetadataProjection&, const MetadataProjection&) = default;
};

inline constexpr std::size_t kMetadataProjectionMaxBytes = 2048;

/// Strict reading (rules in availability_projection.h); none above kMetadataProjectionMaxBytes.
std::optional<MetadataProjection> parse_metadata_projection(std::string_view json);

}  // namespace collab_types
