// Feeds one input to every record reader of this library, and checks the JSON syntax the
// cursor accepts against nlohmann-json (an independent parser) with duplicate keys refused.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "collab_types/availability_projection.h"
#include "collab_types/file_conflict.h"
#include "collab_types/file_properties.h"
#include "collab_types/history_projection.h"
#include "collab_types/metadata_projection.h"
#include "collab_types/reference_json.h"
#include "collab_types/share_projection.h"
#include "json_cursor.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  (void)collab_types::parse_availability_projection(text);
  (void)collab_types::parse_share_projection(text);
  if (const auto history = collab_types::parse_history_projection(text)) {
    for (const auto& conflict : history->conflicts) {
      (void)conflict.validate();
    }
  }
  if (const auto metadata = collab_types::parse_metadata_projection(text)) {
    (void)metadata->properties.validate();
  }
  if (const auto conflict = collab_types::parse_file_conflict(text)) (void)conflict->validate();
  if (const auto properties = collab_types::parse_file_properties(text)) {
    (void)properties->validate();
  }
  (void)collab_types::Uuid::parse(text);

  // nlohmann skips a leading byte-order mark and stops at a NUL byte as if the text ended
  // there; the cursor refuses both, as JSON does, so those inputs are not compared.
  if (!text.starts_with("\xEF\xBB\xBF") && text.find('\0') == std::string_view::npos) {
    collab_types::detail::JsonCursor cursor(text);
    const bool ours = cursor.skip_value() && cursor.at_end();
    using collab_types::testing::JsonVerdict;
    const JsonVerdict reference =
        collab_types::testing::reference_verdict(text, collab_types::detail::JsonCursor::kMaxDepth);
    if (reference != JsonVerdict::Undecided && ours != (reference == JsonVerdict::Accepts)) {
      std::abort();
    }
  }
  return 0;
}
