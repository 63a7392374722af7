#pragma once

#include <expected>
#include <string>

#include "vask_actions/action_args.h"
#include "vask_actions/action_spec.h"

namespace vask_actions {

/// The payload an action is sent with once the client answered its text input. The answer is
/// the text argument "value" (missing counts as empty). A null payload becomes the answer as a
/// JSON string; an array gets the answer appended. An action without a text input keeps its
/// payload. Fails when "value" is not text or the payload cannot take an answer.
std::expected<Payload, std::string> derive_input(const ActionSpec& action, const ActionArgs& args);

/// Checks the operation kind a client sent against the action's own: every invocation through
/// an address (and so every action encoded from a text input) runs only under the kind the
/// action declares, and nothing runs under Inspect.
std::expected<void, std::string> enforce_operation_type(const ActionSpec& action,
                                                        OperationKind requested);

}  // namespace vask_actions
