#pragma once

#include <compare>
#include <cstdint>
#include <string>
#include <variant>

#include "vask_actions/action_args.h"
#include "vask_actions/operation_kind.h"
#include "vask_actions/payload.h"

namespace vask_actions {

/// Identifies one action request, so that a worker's later result reaches the client that
/// asked. The endpoint hands out handles counting up from 1; 0 is never a request.
struct RequestHandle {
  std::uint64_t value = 0;
  friend auto operator<=>(const RequestHandle&, const RequestHandle&) = default;
};

/// An action as it reaches the window's action entry.
struct ActionRequest {
  std::string action_id;
  OperationKind kind = OperationKind::Inspect;
  /// JSON text; the dispatcher reads it with the shape the action id expects.
  std::string payload = "null";
  ActionArgs args;
  RequestHandle handle;
};

/// The action was refused or its work failed. `code` is empty unless the failure has a stable
/// machine-readable code (for example a failed background operation).
struct ActionFailed {
  std::string text;
  std::string code;
  friend bool operator==(const ActionFailed&, const ActionFailed&) = default;
};
/// The window does not know the action; not a failure, the endpoint tells the client.
struct ActionNotHandled {
  friend bool operator==(const ActionNotHandled&, const ActionNotHandled&) = default;
};
/// Accepted; the work finishes on a worker and its result comes through the completion call.
struct ActionPending {
  friend bool operator==(const ActionPending&, const ActionPending&) = default;
};
/// Done. `output` is JSON text (null when the action returns nothing).
struct ActionCompleted {
  std::string output = "null";
  friend bool operator==(const ActionCompleted&, const ActionCompleted&) = default;
};

using ActionOutcome = std::variant<ActionFailed, ActionNotHandled, ActionPending, ActionCompleted>;

/// How a background operation ended, as the completion call reports it.
using Completion = std::variant<ActionCompleted, ActionFailed>;

}  // namespace vask_actions
