#pragma once

#include <cstdint>
#include <expected>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace vask_actions {

/// The named arguments a client sends with an invocation: the answer to a text input arrives
/// as the text "value", a segment choice as the integer "index".
class ActionArgs {
 public:
  using Value = std::variant<std::string, std::int64_t>;

  ActionArgs& set_text(std::string name, std::string value);
  ActionArgs& set_integer(std::string name, std::int64_t value);

  /// The text argument, or nullopt when it is missing or not text.
  std::optional<std::string_view> text(std::string_view name) const;
  /// The integer argument, or nullopt when it is missing or not an integer.
  std::optional<std::int64_t> integer(std::string_view name) const;
  bool contains(std::string_view name) const { return values_.contains(name); }
  bool empty() const { return values_.empty(); }
  const std::map<std::string, Value, std::less<>>& values() const { return values_; }

  /// Reads a JSON object whose members are strings or integers ("null" and an empty text give
  /// no arguments). Anything else fails with a text that names the member.
  static std::expected<ActionArgs, std::string> from_json(std::string_view json);

  friend bool operator==(const ActionArgs&, const ActionArgs&) = default;

 private:
  std::map<std::string, Value, std::less<>> values_;
};

}  // namespace vask_actions
