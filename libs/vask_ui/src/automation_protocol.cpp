#include <nlohmann/json.hpp>
#include <string>
#include <utility>

#include "automation_input.h"
#include "vask_actions/action_address.h"
#include "vask_actions/input.h"
#include "vask_actions/json.h"
#include "vask_ui/automation.h"

namespace vask_ui::automation {
namespace {

using nlohmann::json;
namespace va = vask_actions;

struct RequestError {
  std::string code;
  std::string message;
};
/// The members a reply adds besides "ok" and "id".
using Body = std::expected<json, RequestError>;

RequestError invalid(std::string message) {
  return {"invalid_argument", std::move(message)};
}

std::string_view role_name(AccessRole role) {
  switch (role) {
    case AccessRole::Window:
      return "window";
    case AccessRole::Group:
      return "group";
    case AccessRole::Pane:
      return "pane";
    case AccessRole::List:
      return "list";
    case AccessRole::ListItem:
      return "list_item";
    case AccessRole::Table:
      return "table";
    case AccessRole::Row:
      return "row";
    case AccessRole::Cell:
      return "cell";
    case AccessRole::Tree:
      return "tree";
    case AccessRole::TreeItem:
      return "tree_item";
    case AccessRole::Button:
      return "button";
    case AccessRole::ToggleButton:
      return "toggle_button";
    case AccessRole::TextInput:
      return "text_input";
    case AccessRole::StaticText:
      return "static_text";
    case AccessRole::Image:
      return "image";
    case AccessRole::Menu:
      return "menu";
    case AccessRole::MenuItem:
      return "menu_item";
    case AccessRole::Dialog:
      return "dialog";
    case AccessRole::Alert:
      return "alert";
    case AccessRole::Status:
      return "status";
    case AccessRole::ProgressIndicator:
      return "progress_indicator";
    case AccessRole::Toolbar:
      return "toolbar";
    case AccessRole::Navigation:
      return "navigation";
    case AccessRole::Link:
      return "link";
    case AccessRole::Heading:
      return "heading";
    case AccessRole::ScrollBar:
      return "scroll_bar";
    case AccessRole::Separator:
      return "separator";
    case AccessRole::RadioButton:
      return "radio_button";
    case AccessRole::ComboBox:
      return "combo_box";
  }
  return "group";
}

json rect_json(const Rect& r) {
  return json::array({r.x0, r.y0, r.x1, r.y1});
}

json access_json(const AccessNode& node) {
  json out = {{"role", role_name(node.role)},
              {"name", node.name},
              {"description", node.description},
              {"value", node.value},
              {"bounds", rect_json(node.bounds)}};
  // Only the states that are set, so a reader compares short lists.
  auto states = json::array();
  const AccessStates& s = node.states;
  for (const auto& [on, name] : {std::pair{s.focused, "focused"}, std::pair{s.selected, "selected"},
                                 std::pair{s.current, "current"}, std::pair{s.error, "error"},
                                 std::pair{s.disabled, "disabled"}, std::pair{s.checked, "checked"},
                                 std::pair{s.expanded, "expanded"}}) {
    if (on) states.push_back(name);
  }
  out["states"] = std::move(states);
  if (node.set_size > 0) {
    out["position_in_set"] = node.position_in_set;
    out["set_size"] = node.set_size;
  }
  if (node.default_action) out["default_action"] = *node.default_action;
  if (node.context_menu_action) out["context_menu_action"] = *node.context_menu_action;
  if (node.requests_focus) out["requests_focus"] = true;
  auto children = json::array();
  for (const AccessNode& child : node.children)
    children.push_back(access_json(child));
  out["children"] = std::move(children);
  return out;
}

json resource_or_null(const std::optional<va::Resource>& resource) {
  return resource ? json(*resource) : json(nullptr);
}

std::expected<std::string, RequestError> text_member(const json& request, const char* name) {
  auto it = request.find(name);
  if (it == request.end()) return std::unexpected(invalid(std::string("missing \"") + name + "\""));
  if (!it->is_string()) {
    return std::unexpected(invalid(std::string("\"") + name + "\" must be a text"));
  }
  return it->get<std::string>();
}

std::expected<va::OperationKind, RequestError> kind_member(const json& request) {
  auto it = request.find("kind");
  if (it == request.end()) return std::unexpected(invalid("missing \"kind\""));
  std::optional<va::OperationKind> kind;
  if (it->is_string()) {
    kind = va::parse_operation_kind(it->get_ref<const std::string&>());
  } else if (it->is_number_integer()) {
    kind = va::parse_operation_kind(it->dump());
  }
  if (!kind) {
    return std::unexpected(
        invalid("\"kind\" must be \"inspect\", \"effect\", \"navigate\" or 0-2"));
  }
  return *kind;
}

std::expected<va::ActionArgs, RequestError> args_member(const json& request) {
  auto it = request.find("args");
  if (it == request.end()) return va::ActionArgs{};
  auto args = va::ActionArgs::from_json(va::dump_lossy(*it));
  if (!args) return std::unexpected(invalid(args.error()));
  return std::move(*args);
}

Body outcome_body(const va::ActionOutcome& outcome, va::RequestHandle handle) {
  json out = outcome;
  out["handle"] = handle.value;
  return out;
}

Body snapshot(Host& host) {
  std::string text = host.settled_root().observation_json();
  json value = json::parse(text, nullptr, /*allow_exceptions=*/false);
  if (!value.is_object()) {
    return std::unexpected(
        RequestError{"observation_failed", "the window's observation is not a JSON object"});
  }
  return json{{"snapshot", std::move(value)}};
}

Body resources(Host& host) {
  const Widget& root = host.settled_root();
  auto controls = json::array();
  for (const ControlResource& control : root.resources())
    controls.push_back(to_action_resource(control));
  return json{{"resource", resource_or_null(root.action_resources())},
              {"controls", std::move(controls)}};
}

Body lookup(const json& request, Host& host) {
  auto id = text_member(request, "resource");
  if (!id) return std::unexpected(id.error());
  return json{{"resource", resource_or_null(host.settled_root().lookup_action_resource(*id))}};
}

Body complete(const json& request, Host& host) {
  auto it = request.find("handle");
  if (it == request.end() || !it->is_number_unsigned() || it->get<std::uint64_t>() == 0) {
    return std::unexpected(invalid("\"handle\" must be a request handle (a positive integer)"));
  }
  auto completion =
      host.settled_root().take_action_completion(va::RequestHandle{it->get<std::uint64_t>()});
  return json{{"completion", completion ? json(*completion) : json(nullptr)}};
}

Body input(const json& request, Host& host) {
  auto it = request.find("events");
  if (it == request.end()) return std::unexpected(invalid("missing \"events\""));
  auto events = parse_input_events(*it);
  if (!events) return std::unexpected(invalid(events.error()));
  // Hit tests use the rectangles of the latest layout.
  host.settled_root();
  auto handled = json::array();
  for (const auto& sequence : *events) {
    bool any = false;
    for (const Event& event : sequence)
      any = host.deliver_input(event) == EventResult::Handled || any;
    handled.push_back(any);
  }
  return json{{"handled", std::move(handled)}};
}

Body action(const json& request, Host& host, va::RequestHandle handle) {
  auto id = text_member(request, "action");
  if (!id) return std::unexpected(id.error());
  if (id->empty()) return std::unexpected(invalid("\"action\" must not be empty"));
  auto kind = kind_member(request);
  if (!kind) return std::unexpected(kind.error());
  auto args = args_member(request);
  if (!args) return std::unexpected(args.error());
  std::string payload = "null";
  if (request.contains("payload_text")) {
    if (request.contains("payload")) {
      return std::unexpected(invalid("give \"payload\" or \"payload_text\", not both"));
    }
    auto text = text_member(request, "payload_text");
    if (!text) return std::unexpected(text.error());
    payload = std::move(*text);
  } else if (auto it = request.find("payload"); it != request.end()) {
    payload = va::dump_lossy(*it);
  }
  va::ActionRequest call{std::move(*id), *kind, std::move(payload), std::move(*args), handle};
  return outcome_body(host.settled_root().perform_action(call), handle);
}

Body invoke(const json& request, Host& host, va::RequestHandle handle) {
  auto text = text_member(request, "address");
  if (!text) return std::unexpected(text.error());
  auto address = va::ActionAddress::decode(*text);
  if (!address) return std::unexpected(invalid(address.error()));
  auto kind = kind_member(request);
  if (!kind) return std::unexpected(kind.error());
  auto args = args_member(request);
  if (!args) return std::unexpected(args.error());

  Widget& root = host.settled_root();
  // Lookup builds one resource; what only the listing shows is found there.
  std::optional<va::Resource> found = root.lookup_action_resource(address->resource_id);
  if (!found) {
    if (auto listing = root.action_resources()) {
      if (const va::Resource* inside = listing->find(address->resource_id)) found = *inside;
    }
  }
  if (!found) {
    return std::unexpected(RequestError{"no_such_resource",
                                        "no resource has the id \"" + address->resource_id + "\""});
  }
  const va::ActionSpec* spec = found->find_action(address->action_name);
  if (spec == nullptr) {
    return std::unexpected(RequestError{
        "no_such_action",
        "resource \"" + found->id + "\" has no action \"" + address->action_name + "\""});
  }
  // Refusals here happen before the window sees anything, like the dispatcher's own checks.
  if (auto allowed = va::enforce_operation_type(*spec, *kind); !allowed) {
    return outcome_body(va::ActionFailed{allowed.error(), ""}, handle);
  }
  auto payload = va::derive_input(*spec, *args);
  if (!payload) return outcome_body(va::ActionFailed{payload.error(), ""}, handle);
  va::ActionRequest call{spec->target(), *kind, payload->text(), std::move(*args), handle};
  return outcome_body(root.perform_action(call), handle);
}

/// How deeply brackets nest, outside strings. The JSON reader and writer recurse per level, so
/// a request of a million "[" must be refused before it is read.
std::size_t nesting_depth(std::string_view text) {
  std::size_t depth = 0;
  std::size_t deepest = 0;
  bool in_string = false;
  bool escaped = false;
  for (char c : text) {
    if (in_string) {
      if (escaped) {
        escaped = false;
      } else if (c == '\\') {
        escaped = true;
      } else if (c == '"') {
        in_string = false;
      }
    } else if (c == '"') {
      in_string = true;
    } else if (c == '[' || c == '{') {
      deepest = std::max(deepest, ++depth);
    } else if ((c == ']' || c == '}') && depth > 0) {
      --depth;
    }
  }
  return deepest;
}

constexpr std::size_t kMaxNesting = 64;

}  // namespace

std::string Protocol::handle(std::string_view line, Host& host) {
  json id;
  Body body = std::unexpected(RequestError{"internal_error", "request not answered"});
  try {
    json request;
    if (nesting_depth(line) > kMaxNesting) {
      body = std::unexpected(
          RequestError{"invalid_request",
                       "a request may nest at most " + std::to_string(kMaxNesting) + " levels"});
    } else if (request = json::parse(line); !request.is_object()) {
      body = std::unexpected(RequestError{"invalid_request", "a request is a JSON object"});
    } else {
      if (auto it = request.find("id"); it != request.end()) id = *it;
      auto kind = text_member(request, "request");
      if (!kind) {
        body = std::unexpected(RequestError{"invalid_request", kind.error().message});
      } else if (*kind == "ping") {
        body = json{{"protocol", kProtocolVersion}};
      } else if (*kind == "snapshot") {
        body = snapshot(host);
      } else if (*kind == "accessibility") {
        body = json{{"tree", access_json(host.settled_root().accessibility())}};
      } else if (*kind == "resources") {
        body = resources(host);
      } else if (*kind == "lookup") {
        body = lookup(request, host);
      } else if (*kind == "action") {
        body = action(request, host, va::RequestHandle{next_handle_++});
      } else if (*kind == "invoke") {
        body = invoke(request, host, va::RequestHandle{next_handle_++});
      } else if (*kind == "complete") {
        body = complete(request, host);
      } else if (*kind == "input") {
        body = input(request, host);
      } else {
        body =
            std::unexpected(RequestError{"unknown_request", "unknown request \"" + *kind + "\""});
      }
    }
  } catch (const json::parse_error& e) {
    body = std::unexpected(RequestError{"malformed_json", e.what()});
  } catch (const std::exception& e) {
    // A widget that fails to describe itself costs this request, not the window.
    body = std::unexpected(RequestError{"internal_error", e.what()});
  }

  json reply;
  if (body) {
    reply = std::move(*body);
    reply["ok"] = true;
  } else {
    reply = {{"ok", false},
             {"error", {{"code", body.error().code}, {"message", body.error().message}}}};
  }
  if (!id.is_null()) reply["id"] = std::move(id);
  return va::dump_lossy(reply);
}

std::string Protocol::error_reply(std::string_view code, std::string_view message) {
  json reply = {{"ok", false}, {"error", {{"code", code}, {"message", message}}}};
  return va::dump_lossy(reply);
}

}  // namespace vask_ui::automation

namespace vask_ui {

std::optional<ControlInvocation> control_invocation_of(const vask_actions::ActionRequest& request) {
  std::string action;
  if (request.action_id == "vask.ui.control.invoke") {
    action = "invoke";
  } else if (request.action_id == "vask.ui.segmented.select") {
    action = "select";
  } else {
    return std::nullopt;
  }
  auto payload = nlohmann::json::parse(request.payload, nullptr, /*allow_exceptions=*/false);
  if (!payload.is_string() || payload.get_ref<const std::string&>().empty()) return std::nullopt;
  ControlInvocation invocation{payload.get<std::string>(), std::move(action), std::nullopt};
  if (auto index = request.args.integer("index")) invocation.integer_argument = *index;
  return invocation;
}

}  // namespace vask_ui

namespace vask_ui::automation {

vask_actions::Resource to_action_resource(const ControlResource& control) {
  va::Resource out("vask.control:" + control.control_id, control.kind, control.label);
  for (const ControlResource::Action& action : control.actions) {
    va::ActionSpec spec(action.name, action.title.empty() ? control.label : action.title,
                        va::OperationKind::Effect, action.target,
                        va::Payload::string(control.control_id));
    if (!action.integer_argument.empty()) spec.with_integer_argument(action.integer_argument);
    if (!control.enabled) {
      spec.with_availability(
          va::Availability::unavailable("control_disabled", "This control is disabled"));
    }
    out.with_action(std::move(spec));
  }
  return out;
}

}  // namespace vask_ui::automation
