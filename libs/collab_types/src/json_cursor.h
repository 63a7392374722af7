#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace collab_types::detail {

/// A strict pull reader over one JSON text (RFC 8259). The records of this library are read
/// straight from it, so attribute documents are decoded in one pass without building a tree.
/// Every method returns false on malformed or unexpected input; the cursor is then spent.
class JsonCursor {
 public:
  /// Objects and arrays skipped as unknown values may nest this deep.
  static constexpr int kMaxDepth = 64;

  explicit JsonCursor(std::string_view text) : p_(text.data()), end_(text.data() + text.size()) {}

  /// Skips white space and returns the next byte, or '\0' at the end.
  char peek();
  /// Skips white space and consumes `c` when it is the next byte.
  bool consume(char c);
  /// True when nothing but white space is left.
  bool at_end();

  /// Reads a string value. The view stays valid until the next read: it points into the text
  /// or, for strings with escapes, into a buffer owned by the cursor.
  bool read_string_view(std::string_view& out);
  bool read_string(std::string& out);
  /// Reads a non-negative integer that fits 64 bits; fractions, exponents and signs fail.
  bool read_u64(std::uint64_t& out);
  bool read_bool(bool& out);
  /// Consumes a null literal when it is next; false (nothing consumed) otherwise.
  bool read_null();
  /// Skips one value of any kind, still refusing malformed text and duplicate keys.
  bool skip_value() { return skip_value(0); }

 private:
  bool skip_value(int depth);
  bool skip_number();
  bool read_literal(std::string_view word);
  bool read_escaped_string(const char* start, std::string_view& out);

  const char* p_;
  const char* end_;
  std::string scratch_;
};

}  // namespace collab_types::detail
