#include "vask_actions/action_args.h"

#include <nlohmann/json.hpp>

namespace vask_actions {

ActionArgs& ActionArgs::set_text(std::string name, std::string value) {
  values_[std::move(name)] = std::move(value);
  return *this;
}

ActionArgs& ActionArgs::set_integer(std::string name, std::int64_t value) {
  values_[std::move(name)] = value;
  return *this;
}

std::optional<std::string_view> ActionArgs::text(std::string_view name) const {
  auto it = values_.find(name);
  if (it == values_.end()) return std::nullopt;
  if (const auto* text = std::get_if<std::string>(&it->second)) return std::string_view(*text);
  return std::nullopt;
}

std::optional<std::int64_t> ActionArgs::integer(std::string_view name) const {
  auto it = values_.find(name);
  if (it == values_.end()) return std::nullopt;
  if (const auto* number = std::get_if<std::int64_t>(&it->second)) return *number;
  return std::nullopt;
}

std::expected<ActionArgs, std::string> ActionArgs::from_json(std::string_view json) {
  if (json.empty()) return ActionArgs{};
  nlohmann::json value;
  try {
    value = nlohmann::json::parse(json);
  } catch (const nlohmann::json::exception& e) {
    return std::unexpected(std::string(e.what()));
  }
  if (value.is_null()) return ActionArgs{};
  if (!value.is_object()) return std::unexpected("arguments must be a JSON object");
  ActionArgs args;
  for (const auto& [name, member] : value.items()) {
    if (member.is_string()) {
      args.set_text(name, member.get<std::string>());
    } else if (member.is_number_integer() &&
               !(member.is_number_unsigned() && member.get<std::uint64_t>() > INT64_MAX)) {
      args.set_integer(name, member.get<std::int64_t>());
    } else {
      return std::unexpected("argument \"" + name + "\" must be a text or an integer");
    }
  }
  return args;
}

}  // namespace vask_actions
