#include "collab_types/file_properties.h"

#include "record_reader.h"

namespace collab_types {
namespace {

bool is_clean_name(const std::optional<std::string>& text) {
  if (!text) return true;
  if (text->empty() || text->size() > FilePropertiesV1::kMaxNameBytes) return false;
  for (char c : *text) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7F) return false;
  }
  return true;
}

}  // namespace

std::expected<void, std::string> FilePropertiesV1::validate() const {
  if (schema_version != 1) return std::unexpected("unsupported file properties schema version");
  if (image_width.has_value() != image_height.has_value()) {
    return std::unexpected("image width and height must be given together");
  }
  if ((image_width && *image_width == 0) || (image_height && *image_height == 0)) {
    return std::unexpected("image dimensions must not be zero");
  }
  if (page_count && *page_count == 0) return std::unexpected("page count must not be zero");
  if (!is_clean_name(codec)) return std::unexpected("codec name is empty, too long or not text");
  if (!is_clean_name(container)) {
    return std::unexpected("container name is empty, too long or not text");
  }
  return {};
}

namespace detail {

bool read_file_properties(JsonCursor& c, FilePropertiesV1& out) {
  static constexpr FieldNames<7> kFields{"schema_version", "image_width", "image_height",
                                         "duration_ms",    "page_count",  "codec",
                                         "container"};
  return read_record(c, kFields, required_fields({0}), [&](std::size_t field) {
    switch (field) {
      case 0:
        return read_uint(c, out.schema_version);
      case 1:
        return read_optional(c, out.image_width, read_u64);
      case 2:
        return read_optional(c, out.image_height, read_u64);
      case 3:
        return read_optional(c, out.duration_ms, read_u64);
      case 4:
        return read_optional(c, out.page_count, read_u64);
      case 5:
        return read_optional(c, out.codec, read_text);
      default:
        return read_optional(c, out.container, read_text);
    }
  });
}

}  // namespace detail

std::optional<FilePropertiesV1> parse_file_properties(std::string_view json) {
  return detail::parse_document<FilePropertiesV1>(json, kFilePropertiesMaxBytes,
                                                  detail::read_file_properties);
}

}  // namespace collab_types
