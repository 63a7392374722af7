#pragma once

#include <nlohmann/json_fwd.hpp>
#include <string>

#include "vask_actions/action_context.h"
#include "vask_actions/outcome.h"
#include "vask_actions/resource.h"

/// The JSON forms that the automation endpoint sends to clients. Texts with invalid UTF-8 are
/// written with U+FFFD, so serialising never fails.
namespace vask_actions {

void to_json(nlohmann::json& out, const ActionSpec& action);
/// `actions` carry their address relative to this resource's id.
void to_json(nlohmann::json& out, const Resource& resource);
void to_json(nlohmann::json& out, const ActionContext& context);
/// {"outcome": "failed"|"not_handled"|"pending"|"completed", …}
void to_json(nlohmann::json& out, const ActionOutcome& outcome);
void to_json(nlohmann::json& out, const Completion& completion);

/// Compact JSON text of any of the above.
std::string to_json_text(const Resource& resource);
std::string to_json_text(const ActionOutcome& outcome);

/// Serialises with invalid UTF-8 replaced instead of throwing.
std::string dump_lossy(const nlohmann::json& value);

}  // namespace vask_actions
