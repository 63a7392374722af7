#pragma once

#include <array>
#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace collab_types {

/// A 16-byte record, version or conflict id. Attributes and service messages carry the raw
/// bytes; JSON documents carry one of the usual UUID texts.
struct Uuid {
  std::array<std::uint8_t, 16> bytes{};

  /// Accepts the hyphenated form (what the workspace filesystem writes), the simple form of
  /// 32 hex digits, the braced form "{...}" and the "urn:uuid:" form; hex digits in either case.
  static std::optional<Uuid> parse(std::string_view text);

  bool is_nil() const;
  /// Hyphenated, lower case: 123e4567-e89b-12d3-a456-426614174000.
  std::string to_string() const;
  /// 32 lower-case hex digits without hyphens.
  std::string to_simple_string() const;

  friend bool operator==(const Uuid&, const Uuid&) = default;
  friend auto operator<=>(const Uuid&, const Uuid&) = default;
};

}  // namespace collab_types
