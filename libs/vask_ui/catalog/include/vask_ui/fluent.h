#pragma once

/// The Fluent message syntax, reduced to what our bundles need: messages whose values may span
/// indented continuation lines, `{ $var }` placeables, string and number literals, and select
/// expressions with `[key]` variants and one `*[default]`. Comments (`#`, `##`, `###`) are
/// recognised; `##` lines name the section that the following messages belong to.
///
/// Terms, attributes, message references and functions are not part of the subset: an entry that
/// uses them is reported as an error and skipped, like any other malformed entry, so one bad
/// message never hides the rest of a bundle.

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace vask_ui::fluent {

/// `$name`, `"text"` or a number such as `-1.50`.
struct InlineExpression {
  enum class Kind { variable, string_literal, number_literal };
  Kind kind = Kind::variable;
  /// The variable's name without "$", the literal's unescaped text, or the number's source text.
  std::string value;
};

struct SelectExpression;

/// One `{ ... }` in a pattern: an inline expression, or a select expression when `select` is set.
struct Placeable {
  InlineExpression expression;
  std::shared_ptr<const SelectExpression> select;
};

/// Literal text or a placeable.
using PatternElement = std::variant<std::string, Placeable>;
using Pattern = std::vector<PatternElement>;

struct Variant {
  /// An identifier such as "one" or a number's source text such as "0".
  std::string key;
  bool numeric_key = false;
  bool is_default = false;
  Pattern value;
};

struct SelectExpression {
  InlineExpression selector;
  std::vector<Variant> variants;
  /// Index into `variants` of the `*[...]` variant; every select has exactly one.
  std::size_t default_index = 0;
};

struct Message {
  std::string id;
  Pattern value;
  /// Text of the last `##` comment before the message, without "## ", or empty.
  std::string section;
  /// 1-based line of the message's identifier.
  std::size_t line = 0;
};

struct ParseError {
  std::size_t line = 0;
  std::string message;
};

/// A parsed bundle. Messages keep their order in the source; a duplicate id is an error and the
/// first definition wins.
struct Resource {
  std::vector<Message> messages;
  std::vector<ParseError> errors;

  /// The message with that id, or nullptr.
  const Message* find(std::string_view id) const;
};

/// Parses a bundle. Never fails as a whole: malformed entries are listed in `errors` and skipped.
Resource parse_resource(std::string_view source);

/// Names of every variable a pattern refers to, selectors included, sorted and without duplicates.
std::vector<std::string> variables_of(const Pattern& pattern);

/// Every select expression of a pattern, nested ones included, in source order.
std::vector<const SelectExpression*> selects_of(const Pattern& pattern);

}  // namespace vask_ui::fluent
