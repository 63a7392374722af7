#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "collab_types/file_conflict.h"
#include "collab_types/file_properties.h"
#include "collab_types/keys.h"
#include "collab_types/uuid.h"
#include "json_cursor.h"

// Building blocks for reading the records of this library straight from a JsonCursor. Each
// reader returns false when the value does not have the record's shape.
namespace collab_types::detail {

enum class UnknownKeys : std::uint8_t { Refuse, Skip };
enum class RecordForms : std::uint8_t { ObjectOrArray, ObjectOnly };

template <std::size_t N>
using FieldNames = std::array<std::string_view, N>;

/// Bit mask of the required fields, by index into the record's field names.
constexpr std::uint32_t required_fields(std::initializer_list<std::size_t> indices) {
  std::uint32_t mask = 0;
  for (std::size_t i : indices)
    mask |= 1u << i;
  return mask;
}

/// Reads one record given either as an object of named fields or as an array of its field
/// values in order. `read_field(index)` reads the value at the cursor into the field with that
/// index. Unknown keys refuse the record unless `unknown` is Skip; a key given twice and a
/// missing required field always refuse it.
template <std::size_t N, class ReadField>
bool read_record(JsonCursor& c, const FieldNames<N>& names, std::uint32_t required,
                 ReadField&& read_field, UnknownKeys unknown = UnknownKeys::Refuse,
                 RecordForms forms = RecordForms::ObjectOrArray) {
  static_assert(N <= 32, "field masks are 32 bits wide");
  std::uint32_t seen = 0;
  const char open = c.peek();
  if (open == '{') {
    c.consume('{');
    if (!c.consume('}')) {
      std::vector<std::string> skipped;
      do {
        std::string_view key;
        if (c.peek() != '"' || !c.read_string_view(key)) return false;
        const auto found = std::find(names.begin(), names.end(), key);
        if (found == names.end()) {
          if (unknown == UnknownKeys::Refuse) return false;
          if (std::find(skipped.begin(), skipped.end(), key) != skipped.end()) return false;
          skipped.emplace_back(key);
          if (!c.consume(':') || !c.skip_value()) return false;
          continue;
        }
        const auto index = static_cast<std::size_t>(found - names.begin());
        const std::uint32_t bit = 1u << index;
        if ((seen & bit) != 0) return false;
        seen |= bit;
        if (!c.consume(':') || !read_field(index)) return false;
      } while (c.consume(','));
      if (!c.consume('}')) return false;
    }
  } else if (open == '[' && forms == RecordForms::ObjectOrArray) {
    c.consume('[');
    if (!c.consume(']')) {
      std::size_t index = 0;
      do {
        if (index == N || !read_field(index)) return false;
        seen |= 1u << index;
        ++index;
      } while (c.consume(','));
      if (!c.consume(']')) return false;
    }
  } else {
    return false;
  }
  return (seen & required) == required;
}

/// Reads an internally tagged variant: one object that holds the tag (field 0) and the keys of
/// every variant. Returns the mask of the fields given, so the caller can check that exactly
/// the chosen variant's keys are there.
template <std::size_t N, class ReadField>
std::optional<std::uint32_t> read_tagged_object(JsonCursor& c, const FieldNames<N>& names,
                                                ReadField&& read_field) {
  std::uint32_t given = 0;
  const bool ok = read_record(
      c, names, required_fields({0}),
      [&](std::size_t field) {
        given |= 1u << field;
        return read_field(field);
      },
      UnknownKeys::Refuse, RecordForms::ObjectOnly);
  if (!ok) return std::nullopt;
  return given;
}

/// An unsigned integer that must fit T.
template <class T>
bool read_uint(JsonCursor& c, T& out) {
  std::uint64_t value = 0;
  if (!c.read_u64(value) || value > std::numeric_limits<T>::max()) return false;
  out = static_cast<T>(value);
  return true;
}

/// An optional field: null or absent reads as none.
template <class T, class Read>
bool read_optional(JsonCursor& c, std::optional<T>& out, Read&& read) {
  if (c.read_null()) {
    out.reset();
    return true;
  }
  T value{};
  if (!read(c, value)) return false;
  out = std::move(value);
  return true;
}

template <class T, class ReadItem>
bool read_array(JsonCursor& c, std::vector<T>& out, ReadItem&& read_item) {
  if (!c.consume('[')) return false;
  out.clear();
  if (c.consume(']')) return true;
  do {
    T item{};
    if (!read_item(c, item)) return false;
    out.push_back(std::move(item));
  } while (c.consume(','));
  return c.consume(']');
}

/// A string that must be one of `names`; the enumerator is the name's index.
template <class E, std::size_t N>
bool read_enum(JsonCursor& c, const FieldNames<N>& names, E& out) {
  std::string_view text;
  if (!c.read_string_view(text)) return false;
  const auto found = std::find(names.begin(), names.end(), text);
  if (found == names.end()) return false;
  out = static_cast<E>(found - names.begin());
  return true;
}

inline bool read_u64(JsonCursor& c, std::uint64_t& out) {
  return c.read_u64(out);
}
inline bool read_text(JsonCursor& c, std::string& out) {
  return c.read_string(out);
}
inline bool read_flag(JsonCursor& c, bool& out) {
  return c.read_bool(out);
}

/// 32 bytes written as a JSON array of exactly 32 integers from 0 to 255.
bool read_bytes32(JsonCursor& c, std::array<std::uint8_t, 32>& out);
/// A UUID in one of its text forms.
bool read_uuid(JsonCursor& c, Uuid& out);
bool read_actor(JsonCursor& c, HistoryActor& out);
bool read_file_conflict(JsonCursor& c, FileConflictV1& out);
bool read_file_properties(JsonCursor& c, FilePropertiesV1& out);

/// Runs `read` over a whole document of at most `max_bytes`: the bound is checked before any
/// byte is parsed, the document must hold nothing after the record, and no failure (not even
/// running out of memory) escapes as an exception.
template <class T, class Read>
std::optional<T> parse_document(std::string_view json, std::size_t max_bytes, Read&& read) {
  if (json.size() > max_bytes) return std::nullopt;
  try {
    JsonCursor c(json);
    T out{};
    if (!read(c, out) || !c.at_end()) return std::nullopt;
    return out;
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

}  // namespace collab_types::detail
