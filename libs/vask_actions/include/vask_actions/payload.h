#pragma once

#include <expected>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace vask_actions {

/// A JSON value carried by an action, kept as its serialised text. Every Payload holds valid
/// JSON, so a listing never publishes a payload a client cannot read back.
class Payload {
 public:
  /// JSON null.
  Payload();
  static Payload null() { return Payload(); }
  /// A JSON string; invalid UTF-8 is replaced by U+FFFD.
  static Payload string(std::string_view text);
  /// A JSON array of strings, in order.
  static Payload strings(std::initializer_list<std::string_view> items);
  static Payload strings(const std::vector<std::string>& items);
  /// Any JSON text; fails with the JSON reader's error text.
  static std::expected<Payload, std::string> parse(std::string_view json);

  const std::string& text() const { return text_; }
  friend bool operator==(const Payload&, const Payload&) = default;

 private:
  explicit Payload(std::string text) : text_(std::move(text)) {}
  std::string text_;
};

}  // namespace vask_actions
