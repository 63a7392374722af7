#include "json_cursor.h"

#include <algorithm>
#include <vector>

namespace collab_types::detail {
namespace {

bool is_space(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}
bool is_digit(char c) {
  return c >= '0' && c <= '9';
}

// Length of the well-formed UTF-8 sequence at `p` (RFC 3629: no overlong forms, no
// surrogates, nothing above U+10FFFF), or 0 when it is not one.
std::size_t utf8_sequence_length(const unsigned char* p, const unsigned char* end) {
  const auto avail = static_cast<std::size_t>(end - p);
  const unsigned char b0 = p[0];
  auto cont = [&](std::size_t i, unsigned char lo = 0x80, unsigned char hi = 0xBF) {
    return i < avail && p[i] >= lo && p[i] <= hi;
  };
  if (b0 >= 0xC2 && b0 <= 0xDF) return cont(1) ? 2 : 0;
  if (b0 == 0xE0) return cont(1, 0xA0) && cont(2) ? 3 : 0;
  if ((b0 >= 0xE1 && b0 <= 0xEC) || b0 == 0xEE || b0 == 0xEF) return cont(1) && cont(2) ? 3 : 0;
  if (b0 == 0xED) return cont(1, 0x80, 0x9F) && cont(2) ? 3 : 0;
  if (b0 == 0xF0) return cont(1, 0x90) && cont(2) && cont(3) ? 4 : 0;
  if (b0 >= 0xF1 && b0 <= 0xF3) return cont(1) && cont(2) && cont(3) ? 4 : 0;
  if (b0 == 0xF4) return cont(1, 0x80, 0x8F) && cont(2) && cont(3) ? 4 : 0;
  return 0;
}

int hex_value(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

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

}  // namespace

char JsonCursor::peek() {
  while (p_ < end_ && is_space(*p_))
    ++p_;
  return p_ < end_ ? *p_ : '\0';
}

bool JsonCursor::consume(char c) {
  if (peek() != c || p_ == end_) return false;
  ++p_;
  return true;
}

bool JsonCursor::at_end() {
  peek();
  return p_ == end_;
}

bool JsonCursor::read_string_view(std::string_view& out) {
  if (!consume('"')) return false;
  const char* start = p_;
  while (p_ < end_) {
    const char c = *p_;
    if (c == '"') {
      out = std::string_view(start, static_cast<std::size_t>(p_ - start));
      ++p_;
      return true;
    }
    if (c == '\\') return read_escaped_string(start, out);
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20) return false;
    if (u < 0x80) {
      ++p_;
      continue;
    }
    const std::size_t n = utf8_sequence_length(reinterpret_cast<const unsigned char*>(p_),
                                               reinterpret_cast<const unsigned char*>(end_));
    if (n == 0) return false;
    p_ += n;
  }
  return false;
}

// The slow path for strings with escapes: the unescaped text is built in scratch_.
bool JsonCursor::read_escaped_string(const char* start, std::string_view& out) {
  scratch_.assign(start, p_);
  while (p_ < end_) {
    const char c = *p_;
    if (c == '"') {
      ++p_;
      out = scratch_;
      return true;
    }
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20) return false;
    if (u >= 0x80) {
      const std::size_t n = utf8_sequence_length(reinterpret_cast<const unsigned char*>(p_),
                                                 reinterpret_cast<const unsigned char*>(end_));
      if (n == 0) return false;
      scratch_.append(p_, n);
      p_ += n;
      continue;
    }
    if (c != '\\') {
      scratch_.push_back(c);
      ++p_;
      continue;
    }
    if (end_ - p_ < 2) return false;
    const char e = p_[1];
    p_ += 2;
    switch (e) {
      case '"':
        scratch_.push_back('"');
        break;
      case '\\':
        scratch_.push_back('\\');
        break;
      case '/':
        scratch_.push_back('/');
        break;
      case 'b':
        scratch_.push_back('\b');
        break;
      case 'f':
        scratch_.push_back('\f');
        break;
      case 'n':
        scratch_.push_back('\n');
        break;
      case 'r':
        scratch_.push_back('\r');
        break;
      case 't':
        scratch_.push_back('\t');
        break;
      case 'u': {
        auto read_hex4 = [this](std::uint32_t& v) {
          if (end_ - p_ < 4) return false;
          v = 0;
          for (int i = 0; i < 4; ++i) {
            const int h = hex_value(p_[i]);
            if (h < 0) return false;
            v = v * 16 + static_cast<std::uint32_t>(h);
          }
          p_ += 4;
          return true;
        };
        std::uint32_t cp = 0;
        if (!read_hex4(cp)) return false;
        if (cp >= 0xDC00 && cp <= 0xDFFF) return false;  // a low surrogate cannot come first
        if (cp >= 0xD800 && cp <= 0xDBFF) {
          std::uint32_t low = 0;
          if (end_ - p_ < 2 || p_[0] != '\\' || p_[1] != 'u') return false;
          p_ += 2;
          if (!read_hex4(low) || low < 0xDC00 || low > 0xDFFF) return false;
          cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
        }
        append_utf8(scratch_, cp);
        break;
      }
      default:
        return false;
    }
  }
  return false;
}

bool JsonCursor::read_string(std::string& out) {
  std::string_view view;
  if (!read_string_view(view)) return false;
  out.assign(view);
  return true;
}

bool JsonCursor::read_u64(std::uint64_t& out) {
  if (!is_digit(peek())) return false;
  std::uint64_t value = 0;
  if (*p_ == '0') {
    ++p_;
  } else {
    while (p_ < end_ && is_digit(*p_)) {
      const auto digit = static_cast<std::uint64_t>(*p_ - '0');
      if (value > (UINT64_MAX - digit) / 10) return false;
      value = value * 10 + digit;
      ++p_;
    }
  }
  // A fraction or exponent makes the number a float, which no integer field accepts; a digit
  // after a leading zero is not JSON at all.
  if (p_ < end_ && (*p_ == '.' || *p_ == 'e' || *p_ == 'E' || is_digit(*p_))) return false;
  out = value;
  return true;
}

bool JsonCursor::read_literal(std::string_view word) {
  if (static_cast<std::size_t>(end_ - p_) < word.size()) return false;
  if (std::string_view(p_, word.size()) != word) return false;
  p_ += word.size();
  return true;
}

bool JsonCursor::read_bool(bool& out) {
  const char c = peek();
  if (c == 't' && read_literal("true")) {
    out = true;
    return true;
  }
  if (c == 'f' && read_literal("false")) {
    out = false;
    return true;
  }
  return false;
}

bool JsonCursor::read_null() {
  return peek() == 'n' && read_literal("null");
}

bool JsonCursor::skip_number() {
  if (p_ < end_ && *p_ == '-') ++p_;
  if (p_ == end_ || !is_digit(*p_)) return false;
  if (*p_ == '0') {
    ++p_;
  } else {
    while (p_ < end_ && is_digit(*p_))
      ++p_;
  }
  if (p_ < end_ && *p_ == '.') {
    ++p_;
    if (p_ == end_ || !is_digit(*p_)) return false;
    while (p_ < end_ && is_digit(*p_))
      ++p_;
  }
  if (p_ < end_ && (*p_ == 'e' || *p_ == 'E')) {
    ++p_;
    if (p_ < end_ && (*p_ == '+' || *p_ == '-')) ++p_;
    if (p_ == end_ || !is_digit(*p_)) return false;
    while (p_ < end_ && is_digit(*p_))
      ++p_;
  }
  return p_ == end_ || !is_digit(*p_);
}

bool JsonCursor::skip_value(int depth) {
  const char c = peek();
  switch (c) {
    case '{': {
      if (depth >= kMaxDepth) return false;
      ++p_;
      if (consume('}')) return true;
      std::vector<std::string> keys;
      do {
        std::string_view key;
        if (peek() != '"' || !read_string_view(key)) return false;
        if (std::find(keys.begin(), keys.end(), key) != keys.end()) return false;
        keys.emplace_back(key);
        if (!consume(':') || !skip_value(depth + 1)) return false;
      } while (consume(','));
      return consume('}');
    }
    case '[': {
      if (depth >= kMaxDepth) return false;
      ++p_;
      if (consume(']')) return true;
      do {
        if (!skip_value(depth + 1)) return false;
      } while (consume(','));
      return consume(']');
    }
    case '"': {
      std::string_view ignored;
      return read_string_view(ignored);
    }
    case 't':
      return read_literal("true");
    case 'f':
      return read_literal("false");
    case 'n':
      return read_literal("null");
    default:
      if (c == '-' || is_digit(c)) return skip_number();
      return false;
  }
}

}  // namespace collab_types::detail
