#include "vask_actions/payload.h"

#include <nlohmann/json.hpp>

#include "vask_actions/json.h"

namespace vask_actions {

Payload::Payload() : text_("null") {}

Payload Payload::string(std::string_view text) {
  return Payload(dump_lossy(nlohmann::json(std::string(text))));
}

Payload Payload::strings(std::initializer_list<std::string_view> items) {
  auto array = nlohmann::json::array();
  for (std::string_view item : items)
    array.push_back(std::string(item));
  return Payload(dump_lossy(array));
}

Payload Payload::strings(const std::vector<std::string>& items) {
  return Payload(dump_lossy(nlohmann::json(items)));
}

std::expected<Payload, std::string> Payload::parse(std::string_view json) {
  try {
    // Re-serialising gives one canonical text, whatever spacing the caller used.
    return Payload(dump_lossy(nlohmann::json::parse(json)));
  } catch (const nlohmann::json::exception& e) {
    return std::unexpected(std::string(e.what()));
  }
}

}  // namespace vask_actions
