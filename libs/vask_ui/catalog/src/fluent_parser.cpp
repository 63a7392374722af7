#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <utility>
#include <vector>

#include <fmt/format.h>

#include "vask_ui/fluent.h"

namespace vask_ui::fluent {
namespace {

bool is_identifier_start(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool is_identifier_char(char c) {
  return is_identifier_start(c) || (c >= '0' && c <= '9') || c == '-' || c == '_';
}

bool is_digit(char c) {
  return c >= '0' && c <= '9';
}

// While a pattern is read, line breaks and the indentation after them are kept apart from the
// text, because the common indentation of all continuation lines is only known at the end.
struct RawIndent {
  std::size_t line_breaks = 0;
  std::size_t width = 0;
};
using RawElement = std::variant<std::string, RawIndent, Placeable>;

void append_utf8(std::string& out, std::uint32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

class Parser {
 public:
  explicit Parser(std::string_view source) : s_(source) {}

  Resource run() {
    Resource resource;
    std::unordered_set<std::string> seen;
    std::string section;
    while (!at_end()) {
      const char c = cur();
      const std::size_t start = pos_;
      if (c == '\n') {
        ++pos_;
        continue;
      }
      if (c == ' ') {
        skip_blank_inline();
        if (at_end() || cur() == '\n') continue;
        record_error(pos_, "unexpected indentation at the start of an entry");
        skip_junk(start);
        continue;
      }
      if (c == '#') {
        if (!parse_comment(section)) skip_junk(start);
        continue;
      }
      if (!is_identifier_start(c)) {
        record_error(pos_, c == '-' ? "terms are not supported" : "expected a message identifier");
        skip_junk(start);
        continue;
      }
      error_.clear();
      std::optional<Message> message = parse_message();
      if (!message) {
        record_error(start, error_);
        skip_junk(start);
        continue;
      }
      message->section = section;
      message->line = line_of(start);
      if (!seen.insert(message->id).second) {
        record_error(start, fmt::format("duplicate message id \"{}\"", message->id));
        continue;
      }
      resource.messages.push_back(std::move(*message));
    }
    resource.errors = std::move(errors_);
    return resource;
  }

 private:
  bool at_end() const { return pos_ >= s_.size(); }
  char cur() const { return at_end() ? '\0' : s_[pos_]; }
  char at(std::size_t p) const { return p < s_.size() ? s_[p] : '\0'; }

  std::size_t line_of(std::size_t p) const {
    return 1 + static_cast<std::size_t>(
                   std::count(s_.begin(), s_.begin() + std::min(p, s_.size()), '\n'));
  }

  void record_error(std::size_t p, std::string message) {
    errors_.push_back(ParseError{line_of(p), std::move(message)});
  }

  // Remembers the first failure of the entry being parsed (reported at the entry's first line);
  // returns false so that callers can write `return fail(...)`.
  bool fail(std::string message) {
    if (error_.empty()) error_ = std::move(message);
    return false;
  }

  std::size_t skip_blank_inline() {
    const std::size_t start = pos_;
    while (cur() == ' ')
      ++pos_;
    return pos_ - start;
  }

  void skip_blank() {
    while (cur() == ' ' || cur() == '\n')
      ++pos_;
  }

  static bool is_entry_start(char c) { return is_identifier_start(c) || c == '#' || c == '-'; }

  // After a malformed entry, resume at the next line that can start an entry, so the rest of the
  // bundle is still read. The failure may have been noticed on such a line already (an unclosed
  // placeable runs into the next message), and that line is not skipped.
  void skip_junk(std::size_t entry_start) {
    const std::size_t nl = pos_ == 0 ? std::string_view::npos : s_.rfind('\n', pos_ - 1);
    const std::size_t line_start = nl == std::string_view::npos ? 0 : nl + 1;
    if (line_start > entry_start && is_entry_start(at(line_start))) {
      pos_ = line_start;
      return;
    }
    while (!at_end()) {
      const std::size_t nl = s_.find('\n', pos_);
      if (nl == std::string_view::npos) {
        pos_ = s_.size();
        return;
      }
      pos_ = nl + 1;
      if (is_entry_start(cur())) return;
    }
  }

  std::string_view rest_of_line() {
    const std::size_t nl = s_.find('\n', pos_);
    const std::size_t end = nl == std::string_view::npos ? s_.size() : nl;
    std::string_view line = s_.substr(pos_, end - pos_);
    pos_ = end;
    return line;
  }

  bool parse_comment(std::string& section) {
    std::size_t level = 0;
    while (cur() == '#') {
      ++level;
      ++pos_;
    }
    if (level > 3 || (!at_end() && cur() != ' ' && cur() != '\n')) {
      record_error(pos_, "a comment needs a space after its \"#\" marks");
      return false;
    }
    if (cur() == ' ') ++pos_;
    std::string_view text = rest_of_line();
    if (level == 2) section = std::string(text);
    return true;
  }

  std::string parse_identifier() {
    const std::size_t start = pos_;
    while (is_identifier_char(cur()))
      ++pos_;
    return std::string(s_.substr(start, pos_ - start));
  }

  std::optional<Message> parse_message() {
    Message message;
    message.id = parse_identifier();
    skip_blank_inline();
    if (cur() != '=') {
      fail(fmt::format("expected \"=\" after \"{}\"", message.id));
      return std::nullopt;
    }
    ++pos_;
    std::optional<Pattern> value = maybe_pattern();
    if (!value) {
      if (error_.empty()) fail(fmt::format("message \"{}\" has no value", message.id));
      return std::nullopt;
    }
    // A message ends at a line break that is not followed by a continuation line. An indented
    // line that is still there would be an attribute or a stray variant, which we do not use.
    const std::size_t save = pos_;
    skip_blank();
    if (pos_ > save && pos_ > 0 && s_[pos_ - 1] == ' ' && !at_end()) {
      fail(cur() == '.' ? "attributes are not supported" : "unexpected indented line");
      return std::nullopt;
    }
    pos_ = save;
    message.value = std::move(*value);
    return message;
  }

  // Finds where the next non-blank line starts and how it is indented, without consuming it.
  struct Lookahead {
    std::size_t line_breaks = 0;
    std::size_t line_start = 0;
    std::size_t indent = 0;
  };
  Lookahead peek_blank_block(std::size_t p) const {
    Lookahead look;
    while (p < s_.size()) {
      if (s_[p] == '\n') {
        ++look.line_breaks;
        ++p;
        continue;
      }
      std::size_t q = p;
      while (q < s_.size() && s_[q] == ' ')
        ++q;
      if (q < s_.size() && s_[q] == '\n') {
        p = q;
        continue;
      }
      look.line_start = p;
      look.indent = q - p;
      return look;
    }
    look.line_start = s_.size();
    return look;
  }

  bool is_continuation(const Lookahead& look) const {
    const std::size_t first = look.line_start + look.indent;
    if (first >= s_.size()) return false;
    const char c = s_[first];
    if (c == '{') return true;
    if (look.indent == 0) return false;
    return c != '[' && c != '*' && c != '.' && c != '}';
  }

  // The value after "=" or after a variant key: inline on the same line, or a block that starts on
  // an indented following line. Returns nullopt when there is none (or on error).
  std::optional<Pattern> maybe_pattern() {
    skip_blank_inline();
    if (!at_end() && cur() != '\n') return parse_pattern(false);
    const Lookahead look = peek_blank_block(pos_);
    if (!is_continuation(look)) return std::nullopt;
    pos_ = look.line_start;
    return parse_pattern(true);
  }

  std::optional<Pattern> parse_pattern(bool block) {
    std::vector<RawElement> raw;
    std::size_t common_indent = std::numeric_limits<std::size_t>::max();
    if (block) {
      const std::size_t width = skip_blank_inline();
      raw.emplace_back(RawIndent{0, width});
      common_indent = width;
    }
    while (!at_end()) {
      const char c = cur();
      if (c == '\n') {
        const Lookahead look = peek_blank_block(pos_);
        if (!is_continuation(look)) break;
        pos_ = look.line_start + look.indent;
        common_indent = std::min(common_indent, look.indent);
        raw.emplace_back(RawIndent{look.line_breaks, look.indent});
        continue;
      }
      if (c == '{') {
        std::optional<Placeable> placeable = parse_placeable();
        if (!placeable) return std::nullopt;
        raw.emplace_back(std::move(*placeable));
        continue;
      }
      if (c == '}') {
        fail("unbalanced \"}\" in text; write it as { \"}\" }");
        return std::nullopt;
      }
      const std::size_t start = pos_;
      while (!at_end() && cur() != '{' && cur() != '}' && cur() != '\n')
        ++pos_;
      raw.emplace_back(std::string(s_.substr(start, pos_ - start)));
    }
    return dedent(raw,
                  common_indent == std::numeric_limits<std::size_t>::max() ? 0 : common_indent);
  }

  static Pattern dedent(const std::vector<RawElement>& raw, std::size_t common_indent) {
    Pattern pattern;
    auto append_text = [&pattern](std::string text) {
      if (text.empty()) return;
      if (!pattern.empty()) {
        if (auto* last = std::get_if<std::string>(&pattern.back())) {
          *last += text;
          return;
        }
      }
      pattern.emplace_back(std::move(text));
    };
    for (const RawElement& element : raw) {
      if (const auto* text = std::get_if<std::string>(&element)) {
        append_text(*text);
      } else if (const auto* indent = std::get_if<RawIndent>(&element)) {
        std::string text(indent->line_breaks, '\n');
        text.append(indent->width - std::min(indent->width, common_indent), ' ');
        append_text(std::move(text));
      } else {
        pattern.emplace_back(std::get<Placeable>(element));
      }
    }
    // Trailing blanks belong to the layout of the file, not to the message.
    if (!pattern.empty()) {
      if (auto* last = std::get_if<std::string>(&pattern.back())) {
        const std::size_t keep = last->find_last_not_of(" \n");
        if (keep == std::string::npos) {
          pattern.pop_back();
        } else {
          last->erase(keep + 1);
        }
      }
    }
    return pattern;
  }

  std::optional<InlineExpression> parse_inline_expression() {
    InlineExpression expr;
    const char c = cur();
    if (c == '$') {
      ++pos_;
      if (!is_identifier_start(cur())) {
        fail("expected a variable name after \"$\"");
        return std::nullopt;
      }
      expr.kind = InlineExpression::Kind::variable;
      expr.value = parse_identifier();
      return expr;
    }
    if (c == '"') {
      ++pos_;
      expr.kind = InlineExpression::Kind::string_literal;
      if (!parse_string_body(expr.value)) return std::nullopt;
      return expr;
    }
    if (is_digit(c) || (c == '-' && is_digit(at(pos_ + 1)))) {
      const std::size_t start = pos_;
      if (c == '-') ++pos_;
      while (is_digit(cur()))
        ++pos_;
      if (cur() == '.') {
        ++pos_;
        if (!is_digit(cur())) {
          fail("expected digits after the decimal point");
          return std::nullopt;
        }
        while (is_digit(cur()))
          ++pos_;
      }
      expr.kind = InlineExpression::Kind::number_literal;
      expr.value = std::string(s_.substr(start, pos_ - start));
      return expr;
    }
    if (c == '{') {
      fail("nested placeables are not supported");
    } else if (c == '-') {
      fail("term references are not supported");
    } else if (is_identifier_start(c)) {
      fail("message references and functions are not supported");
    } else {
      fail("expected a variable, a string or a number in the placeable");
    }
    return std::nullopt;
  }

  bool parse_string_body(std::string& out) {
    while (true) {
      if (at_end() || cur() == '\n') return fail("unterminated string literal");
      const char c = cur();
      ++pos_;
      if (c == '"') return true;
      if (c != '\\') {
        out.push_back(c);
        continue;
      }
      const char escaped = cur();
      ++pos_;
      if (escaped == '"' || escaped == '\\') {
        out.push_back(escaped);
        continue;
      }
      const std::size_t digits = escaped == 'u' ? 4 : escaped == 'U' ? 6 : 0;
      if (digits == 0) return fail("unknown escape sequence in string literal");
      std::uint32_t cp = 0;
      for (std::size_t i = 0; i < digits; ++i) {
        const char h = cur();
        ++pos_;
        std::uint32_t v = 0;
        if (h >= '0' && h <= '9') {
          v = static_cast<std::uint32_t>(h - '0');
        } else if (h >= 'a' && h <= 'f') {
          v = static_cast<std::uint32_t>(h - 'a' + 10);
        } else if (h >= 'A' && h <= 'F') {
          v = static_cast<std::uint32_t>(h - 'A' + 10);
        } else {
          return fail("invalid unicode escape in string literal");
        }
        cp = cp * 16 + v;
      }
      if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = 0xFFFD;
      append_utf8(out, cp);
    }
  }

  std::optional<Placeable> parse_placeable() {
    ++pos_;  // "{"
    skip_blank();
    std::optional<InlineExpression> expr = parse_inline_expression();
    if (!expr) return std::nullopt;
    skip_blank();
    Placeable placeable;
    placeable.expression = std::move(*expr);
    if (cur() == '-' && at(pos_ + 1) == '>') {
      pos_ += 2;
      auto select = parse_select(placeable.expression);
      if (!select) return std::nullopt;
      placeable.select = std::move(select);
      skip_blank();
    }
    if (cur() != '}') {
      fail("expected \"}\" to close the placeable");
      return std::nullopt;
    }
    ++pos_;
    return placeable;
  }

  std::shared_ptr<const SelectExpression> parse_select(const InlineExpression& selector) {
    skip_blank_inline();
    if (cur() != '\n') {
      fail("the variants of a select expression start on the next line");
      return nullptr;
    }
    auto select = std::make_shared<SelectExpression>();
    select->selector = selector;
    std::size_t defaults = 0;
    while (true) {
      skip_blank();
      Variant variant;
      if (cur() == '*') {
        variant.is_default = true;
        ++pos_;
      }
      if (cur() != '[') {
        if (variant.is_default) {
          fail("expected \"[\" after \"*\"");
          return nullptr;
        }
        break;
      }
      ++pos_;
      skip_blank();
      if (is_identifier_start(cur())) {
        variant.key = parse_identifier();
      } else if (is_digit(cur()) || (cur() == '-' && is_digit(at(pos_ + 1)))) {
        std::optional<InlineExpression> number = parse_inline_expression();
        if (!number) return nullptr;
        variant.key = number->value;
        variant.numeric_key = true;
      } else {
        fail("expected a variant key");
        return nullptr;
      }
      skip_blank();
      if (cur() != ']') {
        fail("expected \"]\" after the variant key");
        return nullptr;
      }
      ++pos_;
      std::optional<Pattern> value = maybe_pattern();
      if (!value) {
        if (error_.empty()) fail(fmt::format("variant [{}] has no value", variant.key));
        return nullptr;
      }
      variant.value = std::move(*value);
      if (variant.is_default) {
        select->default_index = select->variants.size();
        ++defaults;
      }
      select->variants.push_back(std::move(variant));
    }
    if (select->variants.empty()) {
      fail("a select expression needs variants");
      return nullptr;
    }
    if (defaults != 1) {
      fail("a select expression needs exactly one default variant marked with \"*\"");
      return nullptr;
    }
    return select;
  }

  std::string_view s_;
  std::size_t pos_ = 0;
  std::vector<ParseError> errors_;
  std::string error_;
};

void collect_variables(const Pattern& pattern, std::vector<std::string>& out) {
  for (const PatternElement& element : pattern) {
    const auto* placeable = std::get_if<Placeable>(&element);
    if (placeable == nullptr) continue;
    if (placeable->expression.kind == InlineExpression::Kind::variable) {
      out.push_back(placeable->expression.value);
    }
    if (placeable->select) {
      for (const Variant& variant : placeable->select->variants) {
        collect_variables(variant.value, out);
      }
    }
  }
}

void collect_selects(const Pattern& pattern, std::vector<const SelectExpression*>& out) {
  for (const PatternElement& element : pattern) {
    const auto* placeable = std::get_if<Placeable>(&element);
    if (placeable == nullptr || !placeable->select) continue;
    out.push_back(placeable->select.get());
    for (const Variant& variant : placeable->select->variants) {
      collect_selects(variant.value, out);
    }
  }
}

}  // namespace

const Message* Resource::find(std::string_view id) const {
  for (const Message& message : messages) {
    if (message.id == id) return &message;
  }
  return nullptr;
}

Resource parse_resource(std::string_view source) {
  // Bundles written on another system may carry CR LF line ends; the grammar only knows LF.
  if (source.find('\r') != std::string_view::npos) {
    std::string normalized;
    normalized.reserve(source.size());
    for (std::size_t i = 0; i < source.size(); ++i) {
      if (source[i] == '\r' && i + 1 < source.size() && source[i + 1] == '\n') continue;
      normalized.push_back(source[i]);
    }
    return Parser(normalized).run();
  }
  return Parser(source).run();
}

std::vector<std::string> variables_of(const Pattern& pattern) {
  std::vector<std::string> names;
  collect_variables(pattern, names);
  std::sort(names.begin(), names.end());
  names.erase(std::unique(names.begin(), names.end()), names.end());
  return names;
}

std::vector<const SelectExpression*> selects_of(const Pattern& pattern) {
  std::vector<const SelectExpression*> selects;
  collect_selects(pattern, selects);
  return selects;
}

}  // namespace vask_ui::fluent
