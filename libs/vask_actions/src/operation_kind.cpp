#include "vask_actions/operation_kind.h"

namespace vask_actions {

std::string_view to_string(OperationKind kind) {
  switch (kind) {
    case OperationKind::Inspect:
      return "inspect";
    case OperationKind::Effect:
      return "effect";
    case OperationKind::Navigate:
      return "navigate";
  }
  return "inspect";
}

std::optional<OperationKind> parse_operation_kind(std::string_view text) {
  if (text == "inspect" || text == "0") return OperationKind::Inspect;
  if (text == "effect" || text == "1") return OperationKind::Effect;
  if (text == "navigate" || text == "2") return OperationKind::Navigate;
  return std::nullopt;
}

}  // namespace vask_actions
