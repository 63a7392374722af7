#pragma once

#include <expected>
#include <string>
#include <string_view>

namespace vask_actions {

/// Names one action of one resource in a single text, so a client can keep it and send it back:
/// the resource id and the action name joined by '#', with '%' and '#' inside either part
/// written as %25 and %23 (action names such as "vask.key-action:…" may hold any character).
struct ActionAddress {
  std::string resource_id;
  std::string action_name;

  static std::string encode(std::string_view resource_id, std::string_view action_name);
  std::string encode() const { return encode(resource_id, action_name); }
  /// The inverse of encode; fails on a text encode cannot produce.
  static std::expected<ActionAddress, std::string> decode(std::string_view address);

  friend bool operator==(const ActionAddress&, const ActionAddress&) = default;
};

}  // namespace vask_actions
