#pragma once

#include <cstddef>
#include <cstdint>
#include <expected>
#include <optional>
#include <string>
#include <string_view>

namespace collab_types {

/// Media facts the workspace filesystem extracted from a file's content.
struct FilePropertiesV1 {
  std::uint16_t schema_version = 0;
  std::optional<std::uint64_t> image_width;
  std::optional<std::uint64_t> image_height;
  std::optional<std::uint64_t> duration_ms;
  std::optional<std::uint64_t> page_count;
  std::optional<std::string> codec;
  std::optional<std::string> container;

  /// Refuses records that cannot describe a real file: another schema version, only one of
  /// the two image dimensions, a zero dimension or page count, and codec or container texts
  /// that are empty, longer than kMaxNameBytes or hold control characters.
  std::expected<void, std::string> validate() const;

  static constexpr std::size_t kMaxNameBytes = 128;

  friend bool operator==(const FilePropertiesV1&, const FilePropertiesV1&) = default;
};

inline constexpr std::size_t kFilePropertiesMaxBytes = 2048;

/// Strict reading (rules in availability_projection.h); none above kFilePropertiesMaxBytes.
std::optional<FilePropertiesV1> parse_file_properties(std::string_view json);

}  // namespace collab_types
