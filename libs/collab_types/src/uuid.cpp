#include "collab_types/uuid.h"

namespace collab_types {
namespace {

int hex_value(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Reads 32 hex digits, allowing hyphens only at the four places of the hyphenated form.
std::optional<Uuid> parse_digits(std::string_view text, bool hyphenated) {
  Uuid out;
  std::size_t at = 0;
  for (std::size_t i = 0; i < 16; ++i) {
    if (hyphenated && (i == 4 || i == 6 || i == 8 || i == 10)) {
      if (text[at] != '-') return std::nullopt;
      ++at;
    }
    const int high = hex_value(text[at]);
    const int low = hex_value(text[at + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    out.bytes[i] = static_cast<std::uint8_t>(high * 16 + low);
    at += 2;
  }
  return out;
}

constexpr char kHexDigits[] = "0123456789abcdef";

}  // namespace

std::optional<Uuid> Uuid::parse(std::string_view text) {
  constexpr std::string_view kUrnPrefix = "urn:uuid:";
  if (text.size() == 32) return parse_digits(text, false);
  if (text.size() == 36) return parse_digits(text, true);
  if (text.size() == 38 && text.front() == '{' && text.back() == '}') {
    return parse_digits(text.substr(1, 36), true);
  }
  if (text.size() == kUrnPrefix.size() + 36 && text.starts_with(kUrnPrefix)) {
    return parse_digits(text.substr(kUrnPrefix.size()), true);
  }
  return std::nullopt;
}

bool Uuid::is_nil() const {
  for (std::uint8_t b : bytes) {
    if (b != 0) return false;
  }
  return true;
}

std::string Uuid::to_simple_string() const {
  std::string out;
  out.reserve(32);
  for (std::uint8_t b : bytes) {
    out.push_back(kHexDigits[b >> 4]);
    out.push_back(kHexDigits[b & 0xF]);
  }
  return out;
}

std::string Uuid::to_string() const {
  std::string out;
  out.reserve(36);
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (i == 4 || i == 6 || i == 8 || i == 10) out.push_back('-');
    out.push_back(kHexDigits[bytes[i] >> 4]);
    out.push_back(kHexDigits[bytes[i] & 0xF]);
  }
  return out;
}

}  // namespace collab_types
