#include "record_reader.h"

namespace collab_types::detail {

bool read_bytes32(JsonCursor& c, std::array<std::uint8_t, 32>& out) {
  if (!c.consume('[')) return false;
  for (std::size_t i = 0; i < out.size(); ++i) {
    if (i > 0 && !c.consume(',')) return false;
    if (!read_uint(c, out[i])) return false;
  }
  return c.consume(']');
}

bool read_uuid(JsonCursor& c, Uuid& out) {
  std::string_view text;
  if (!c.read_string_view(text)) return false;
  const auto parsed = Uuid::parse(text);
  if (!parsed) return false;
  out = *parsed;
  return true;
}

bool read_actor(JsonCursor& c, HistoryActor& out) {
  static constexpr FieldNames<2> kFields{"person", "device"};
  return read_record(c, kFields, required_fields({0, 1}), [&](std::size_t field) {
    return read_bytes32(c, field == 0 ? out.person : out.device);
  });
}

}  // namespace collab_types::detail
