#include "vask_actions/action_address.h"

#include <optional>

namespace vask_actions {
namespace {

void append_escaped(std::string& out, std::string_view part) {
  for (char c : part) {
    if (c == '%') {
      out += "%25";
    } else if (c == '#') {
      out += "%23";
    } else {
      out += c;
    }
  }
}

/// Undoes append_escaped; only the two escapes it writes are accepted, so every address has
/// exactly one spelling.
std::optional<std::string> unescape(std::string_view part) {
  std::string out;
  out.reserve(part.size());
  for (std::size_t i = 0; i < part.size(); ++i) {
    if (part[i] != '%') {
      out += part[i];
      continue;
    }
    std::string_view escape = part.substr(i, 3);
    if (escape == "%25") {
      out += '%';
    } else if (escape == "%23") {
      out += '#';
    } else {
      return std::nullopt;
    }
    i += 2;
  }
  return out;
}

}  // namespace

std::string ActionAddress::encode(std::string_view resource_id, std::string_view action_name) {
  std::string out;
  out.reserve(resource_id.size() + action_name.size() + 1);
  append_escaped(out, resource_id);
  out += '#';
  append_escaped(out, action_name);
  return out;
}

std::expected<ActionAddress, std::string> ActionAddress::decode(std::string_view address) {
  auto hash = address.find('#');
  if (hash == std::string_view::npos || address.find('#', hash + 1) != std::string_view::npos) {
    return std::unexpected("an action address is a resource id and an action name joined by #");
  }
  auto resource = unescape(address.substr(0, hash));
  auto action = unescape(address.substr(hash + 1));
  if (!resource || !action) {
    return std::unexpected("an action address may only contain the escapes %25 and %23");
  }
  if (resource->empty() || action->empty()) {
    return std::unexpected("an action address needs a resource id and an action name");
  }
  return ActionAddress{std::move(*resource), std::move(*action)};
}

}  // namespace vask_actions
