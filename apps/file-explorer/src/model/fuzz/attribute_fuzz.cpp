// One attribute value through its decoder: the first byte picks which of the seven.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "model/collab_state.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string_view value(reinterpret_cast<const char*>(data) + 1, size - 1);
  using namespace files::model;
  switch (data[0] % 7) {
    case 0:
      if (decode_record_id(value) && value.size() != 16) std::abort();
      break;
    case 1:
      if (decode_content_hash(value) && value.size() != 32) std::abort();
      break;
    case 2:
      (void)decode_sync_state(value);
      break;
    case 3:
      if (decode_availability(value) && value.size() > 2048) std::abort();
      break;
    case 4:
      if (const auto share = decode_share(value)) {
        if (value.size() > 16384 || active_grant_count(*share) > kMaxShareGrants) std::abort();
      }
      break;
    case 5:
      if (const auto history = decode_history(value)) {
        if (value.size() > 16384 || history->versions.size() > kMaxHistoryVersions) std::abort();
        (void)has_open_conflict(&*history);
      }
      break;
    default:
      if (decode_metadata(value) && value.size() > 2048) std::abort();
      break;
  }
  return 0;
}
