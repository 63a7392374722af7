#include "fileops/item_name.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace files::fileops {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

/// Length of the valid UTF-8 sequence at the start of `s`, or 0 when it is invalid; `invalid_len`
/// receives the length of the maximal invalid prefix to replace by one U+FFFD.
std::size_t valid_sequence(std::string_view s, std::size_t& invalid_len) {
  const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(s[i]); };
  const std::uint8_t b0 = byte(0);
  invalid_len = 1;
  if (b0 < 0x80) return 1;
  std::size_t need = 0;
  std::uint8_t lo = 0x80;
  std::uint8_t hi = 0xBF;
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    need = 1;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    need = 2;
    if (b0 == 0xE0) lo = 0xA0;
    if (b0 == 0xED) hi = 0x9F;
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    need = 3;
    if (b0 == 0xF0) lo = 0x90;
    if (b0 == 0xF4) hi = 0x8F;
  } else {
    return 0;
  }
  for (std::size_t i = 1; i <= need; ++i) {
    if (i >= s.size()) return 0;
    const std::uint8_t b = byte(i);
    const std::uint8_t min = i == 1 ? lo : 0x80;
    const std::uint8_t max = i == 1 ? hi : 0xBF;
    if (b < min || b > max) return 0;
    invalid_len = i + 1;
  }
  return need + 1;
}

/// Decodes the code point of a valid sequence of `len` bytes.
char32_t decode(std::string_view s, std::size_t len) {
  const auto b = [&](std::size_t i) {
    return static_cast<char32_t>(static_cast<std::uint8_t>(s[i]));
  };
  switch (len) {
    case 1:
      return b(0);
    case 2:
      return ((b(0) & 0x1F) << 6) | (b(1) & 0x3F);
    case 3:
      return ((b(0) & 0x0F) << 12) | ((b(1) & 0x3F) << 6) | (b(2) & 0x3F);
    default:
      return ((b(0) & 0x07) << 18) | ((b(1) & 0x3F) << 12) | ((b(2) & 0x3F) << 6) | (b(3) & 0x3F);
  }
}

bool is_white_space(char32_t c) {
  return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x85 || c == 0xA0 || c == 0x1680 ||
         (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F || c == 0x205F ||
         c == 0x3000;
}

/// The path's components without empty and "." parts; `absolute` tells whether it began at "/".
std::vector<std::string_view> components(const std::string& text, bool& absolute) {
  absolute = !text.empty() && text.front() == '/';
  std::vector<std::string_view> parts;
  std::string_view rest = text;
  while (!rest.empty()) {
    const auto slash = rest.find('/');
    const std::string_view part = rest.substr(0, slash);
    if (!part.empty() && part != ".") parts.push_back(part);
    if (slash == std::string_view::npos) break;
    rest.remove_prefix(slash + 1);
  }
  return parts;
}

}  // namespace

std::string lossy_utf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  while (!bytes.empty()) {
    std::size_t invalid_len = 1;
    const std::size_t len = valid_sequence(bytes, invalid_len);
    if (len > 0) {
      out.append(bytes.substr(0, len));
      bytes.remove_prefix(len);
    } else {
      out.append(kReplacement);
      bytes.remove_prefix(invalid_len);
    }
  }
  return out;
}

std::string path_text(const std::filesystem::path& path) {
  return lossy_utf8(path.native());
}

std::string_view trim_unicode_whitespace(std::string_view text) {
  // Walk forward over leading white space, remembering where the last non-space ended.
  std::size_t begin = std::string_view::npos;
  std::size_t end = 0;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t invalid_len = 1;
    std::size_t len = valid_sequence(text.substr(pos), invalid_len);
    const bool space = len > 0 && is_white_space(decode(text.substr(pos), len));
    if (len == 0) len = invalid_len;
    if (!space) {
      if (begin == std::string_view::npos) begin = pos;
      end = pos + len;
    }
    pos += len;
  }
  if (begin == std::string_view::npos) return text.substr(0, 0);
  return text.substr(begin, end - begin);
}

std::optional<std::filesystem::path> item_file_name(const std::filesystem::path& path) {
  bool absolute = false;
  const auto parts = components(path.native(), absolute);
  if (parts.empty() || parts.back() == "..") return std::nullopt;
  return std::filesystem::path(std::string(parts.back()));
}

std::optional<std::filesystem::path> item_parent(const std::filesystem::path& path) {
  bool absolute = false;
  const auto parts = components(path.native(), absolute);
  if (parts.empty()) return std::nullopt;
  if (parts.size() == 1) return std::filesystem::path(absolute ? "/" : ".");
  std::filesystem::path parent = absolute ? std::filesystem::path("/") : std::filesystem::path();
  for (std::size_t i = 0; i + 1 < parts.size(); ++i)
    parent /= std::filesystem::path(parts[i]);
  return parent;
}

bool is_same_or_inside(const std::filesystem::path& inner, const std::filesystem::path& outer) {
  bool inner_absolute = false;
  bool outer_absolute = false;
  const std::string& inner_text = inner.native();
  const std::string& outer_text = outer.native();
  const auto inner_parts = components(inner_text, inner_absolute);
  const auto outer_parts = components(outer_text, outer_absolute);
  if (inner_absolute != outer_absolute || inner_parts.size() < outer_parts.size()) return false;
  return std::equal(outer_parts.begin(), outer_parts.end(), inner_parts.begin());
}

StemAndExtension split_stem_extension(std::string_view name) {
  const auto dot = name.rfind('.');
  if (dot == std::string_view::npos || dot == 0) return {std::string(name), std::nullopt};
  return {std::string(name.substr(0, dot)), std::string(name.substr(dot + 1))};
}

NameCandidates::NameCandidates(std::string base_name)
    : base_(std::move(base_name)), parts_(split_stem_extension(base_)) {}

std::string NameCandidates::candidate(unsigned n) const {
  if (n <= kFirstCandidate) return base_;
  std::string name = parts_.stem;
  name += ' ';
  name += std::to_string(n);
  if (parts_.extension) {
    name += '.';
    name += *parts_.extension;
  }
  return name;
}

}  // namespace files::fileops
