#include "model/lossy_text.h"

#include <cstdint>

namespace files::model {
namespace {

// How many bytes at `at` form a well-formed character (`complete` true), or else the length of
// the longest prefix that could still have begun one (at least 1, `complete` false).
std::size_t scan_character(std::string_view s, std::size_t at, bool& complete) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
  const unsigned char b0 = byte(at);
  complete = true;
  if (b0 < 0x80) return 1;
  std::size_t len = 0;
  unsigned char lo = 0x80, hi = 0xBF;
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    len = 2;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    len = 3;
    if (b0 == 0xE0) lo = 0xA0;
    if (b0 == 0xED) hi = 0x9F;
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    len = 4;
    if (b0 == 0xF0) lo = 0x90;
    if (b0 == 0xF4) hi = 0x8F;
  } else {
    complete = false;
    return 1;
  }
  std::size_t n = 1;
  while (n < len && at + n < s.size()) {
    const unsigned char b = byte(at + n);
    const unsigned char min = n == 1 ? lo : 0x80;
    const unsigned char max = n == 1 ? hi : 0xBF;
    if (b < min || b > max) break;
    ++n;
  }
  complete = n == len;
  return n;
}

}  // namespace

bool is_valid_utf8(std::string_view bytes) {
  std::size_t at = 0;
  while (at < bytes.size()) {
    if (static_cast<unsigned char>(bytes[at]) < 0x80) {
      ++at;
      continue;
    }
    bool complete = false;
    at += scan_character(bytes, at, complete);
    if (!complete) return false;
  }
  return true;
}

std::string lossy_utf8(std::string_view bytes) {
  if (is_valid_utf8(bytes)) return std::string(bytes);
  std::string out;
  out.reserve(bytes.size() + 8);
  std::size_t at = 0;
  while (at < bytes.size()) {
    bool complete = false;
    const std::size_t n = scan_character(bytes, at, complete);
    if (complete) {
      out.append(bytes.substr(at, n));
    } else {
      out.append("\xEF\xBF\xBD");
    }
    at += n;
  }
  return out;
}

}  // namespace files::model
