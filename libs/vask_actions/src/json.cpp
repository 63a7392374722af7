#include "vask_actions/json.h"

#include <nlohmann/json.hpp>

#include "vask_actions/action_address.h"

namespace vask_actions {
namespace {

std::string_view to_string(Execution mode) {
  switch (mode) {
    case Execution::Inline:
      return "inline";
    case Execution::Worker:
      return "worker";
  }
  return "inline";
}

std::string_view to_string(ResultShape shape) {
  switch (shape) {
    case ResultShape::Nothing:
      return "nothing";
    case ResultShape::Text:
      return "text";
    case ResultShape::Json:
      return "json";
  }
  return "nothing";
}

/// A member that is itself JSON text; text that does not parse (which our own types never
/// produce) is carried as a string rather than dropped.
nlohmann::json embedded(const std::string& json_text) {
  auto value = nlohmann::json::parse(json_text, nullptr, /*allow_exceptions=*/false);
  if (value.is_discarded()) return json_text;
  return value;
}

void action_to_json(nlohmann::json& out, const ActionSpec& action, const std::string* owner_id) {
  out = nlohmann::json::object();
  out["name"] = action.name();
  out["title"] = action.title();
  out["kind"] = std::string(to_string(action.kind()));
  out["target"] = action.target();
  out["payload"] = embedded(action.payload().text());
  if (owner_id) out["address"] = ActionAddress::encode(*owner_id, action.name());
  if (const auto& input = action.input()) {
    out["input"] = {{"label", input->label}, {"default", input->default_value}};
  }
  if (const auto& name = action.integer_argument()) out["integer_argument"] = *name;
  const Availability& availability = action.availability();
  out["available"] = availability.is_available();
  if (!availability.is_available()) {
    out["unavailable"] = {{"code", std::string(availability.reason_code())},
                          {"text", std::string(availability.reason_text())}};
  }
  out["idempotent"] = action.contract().idempotent;
  out["destructive"] = action.is_destructive();
  out["background"] = action.is_background();
  if (auto mode = action.execution_mode()) out["execution"] = std::string(to_string(*mode));
  if (auto shape = action.result_shape()) out["returns"] = std::string(to_string(*shape));
}

void failed_to_json(nlohmann::json& out, const ActionFailed& failed) {
  out = {{"outcome", "failed"}, {"text", failed.text}};
  if (!failed.code.empty()) out["code"] = failed.code;
}

void completed_to_json(nlohmann::json& out, const ActionCompleted& completed) {
  out = {{"outcome", "completed"}, {"output", embedded(completed.output)}};
}

}  // namespace

void to_json(nlohmann::json& out, const ActionSpec& action) {
  action_to_json(out, action, nullptr);
}

void to_json(nlohmann::json& out, const Resource& resource) {
  out = nlohmann::json::object();
  out["id"] = resource.id;
  out["kind"] = resource.kind;
  out["label"] = resource.label;
  auto actions = nlohmann::json::array();
  for (const ActionSpec& action : resource.actions) {
    nlohmann::json one;
    action_to_json(one, action, &resource.id);
    actions.push_back(std::move(one));
  }
  out["actions"] = std::move(actions);
  auto children = nlohmann::json::array();
  for (const Resource& child : resource.children)
    children.push_back(child);
  out["children"] = std::move(children);
}

void to_json(nlohmann::json& out, const ActionContext& context) {
  out = {{"application", {{"id", context.application_id}, {"label", context.application_label}}},
         {"item", context.item}};
  out["facet"] = context.facet ? nlohmann::json(*context.facet) : nlohmann::json(nullptr);
}

void to_json(nlohmann::json& out, const ActionOutcome& outcome) {
  std::visit(
      [&out](const auto& o) {
        using T = std::decay_t<decltype(o)>;
        if constexpr (std::is_same_v<T, ActionFailed>) {
          failed_to_json(out, o);
        } else if constexpr (std::is_same_v<T, ActionNotHandled>) {
          out = {{"outcome", "not_handled"}};
        } else if constexpr (std::is_same_v<T, ActionPending>) {
          out = {{"outcome", "pending"}};
        } else {
          completed_to_json(out, o);
        }
      },
      outcome);
}

void to_json(nlohmann::json& out, const Completion& completion) {
  std::visit(
      [&out](const auto& c) {
        using T = std::decay_t<decltype(c)>;
        if constexpr (std::is_same_v<T, ActionFailed>) {
          failed_to_json(out, c);
        } else {
          completed_to_json(out, c);
        }
      },
      completion);
}

std::string to_json_text(const Resource& resource) {
  return dump_lossy(nlohmann::json(resource));
}

std::string to_json_text(const ActionOutcome& outcome) {
  return dump_lossy(nlohmann::json(outcome));
}

std::string dump_lossy(const nlohmann::json& value) {
  return value.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

}  // namespace vask_actions
