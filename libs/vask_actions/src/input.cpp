#include "vask_actions/input.h"

#include <nlohmann/json.hpp>

#include "vask_actions/json.h"

namespace vask_actions {

std::expected<Payload, std::string> derive_input(const ActionSpec& action, const ActionArgs& args) {
  if (!action.input()) return action.payload();
  std::string answer;
  if (args.contains("value")) {
    auto text = args.text("value");
    if (!text) return std::unexpected("argument \"value\" must be a text");
    answer = *text;
  }
  nlohmann::json payload = nlohmann::json::parse(action.payload().text());
  if (payload.is_null()) return Payload::string(answer);
  if (payload.is_array()) {
    payload.push_back(std::move(answer));
    return Payload::parse(dump_lossy(payload));
  }
  return std::unexpected("action \"" + action.name() + "\" cannot take a text input");
}

std::expected<void, std::string> enforce_operation_type(const ActionSpec& action,
                                                        OperationKind requested) {
  if (requested == OperationKind::Inspect) {
    return std::unexpected("action \"" + action.name() + "\" cannot run as an inspection");
  }
  if (requested != action.kind()) {
    return std::unexpected("action \"" + action.name() + "\" runs as " +
                           std::string(to_string(action.kind())) + ", not as " +
                           std::string(to_string(requested)));
  }
  return {};
}

}  // namespace vask_actions
