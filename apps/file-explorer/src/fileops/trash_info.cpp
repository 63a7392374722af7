#include "fileops/trash_info.h"

#include <array>

namespace files::fileops {
namespace {

bool keeps_literal(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '.' || c == '_' || c == '~' || c == '/';
}

int hex_value(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string_view trim_ascii(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
    text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) {
    text.remove_suffix(1);
  }
  return text;
}

}  // namespace

std::string percent_encode_path(std::string_view bytes) {
  static constexpr std::array<char, 16> kHex = {'0', '1', '2', '3', '4', '5', '6', '7',
                                                '8', '9', 'A', 'B', 'C', 'D', 'E', 'F'};
  std::string out;
  out.reserve(bytes.size());
  for (const char ch : bytes) {
    const auto c = static_cast<unsigned char>(ch);
    if (keeps_literal(c)) {
      out += ch;
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 0x0F];
    }
  }
  return out;
}

std::optional<std::string> percent_decode(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      out += text[i];
      continue;
    }
    if (i + 2 >= text.size()) return std::nullopt;
    const int high = hex_value(text[i + 1]);
    const int low = hex_value(text[i + 2]);
    if (high < 0 || low < 0) return std::nullopt;
    out += static_cast<char>(high * 16 + low);
    i += 2;
  }
  return out;
}

std::string format_deletion_date(std::time_t when) {
  std::tm local{};
  ::localtime_r(&when, &local);
  std::array<char, 32> buffer{};
  const std::size_t length =
      std::strftime(buffer.data(), buffer.size(), "%Y-%m-%dT%H:%M:%S", &local);
  return std::string(buffer.data(), length);
}

std::string format_trash_info(const std::filesystem::path& original_path,
                              const std::string& deletion_date) {
  std::string text = "[Trash Info]\nPath=";
  text += percent_encode_path(original_path.native());
  text += "\nDeletionDate=";
  text += deletion_date;
  text += '\n';
  return text;
}

std::optional<TrashInfo> parse_trash_info(std::string_view text,
                                          const std::filesystem::path& relative_base) {
  bool in_group = false;
  bool seen_group = false;
  std::optional<std::string> path;
  std::string date;
  while (!text.empty()) {
    const auto end = text.find('\n');
    std::string_view line = trim_ascii(text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (line.empty() || line.front() == '#') continue;
    if (line.front() == '[') {
      in_group = line == "[Trash Info]";
      seen_group = seen_group || in_group;
      continue;
    }
    if (!in_group) continue;
    const auto equals = line.find('=');
    if (equals == std::string_view::npos) continue;
    const std::string_view key = trim_ascii(line.substr(0, equals));
    const std::string_view value = trim_ascii(line.substr(equals + 1));
    // The first occurrence of a key counts, as in the reference readers.
    if (key == "Path" && !path) {
      path = percent_decode(value);
      if (!path || path->empty()) return std::nullopt;
    } else if (key == "DeletionDate" && date.empty()) {
      date = std::string(value);
    }
  }
  if (!seen_group || !path) return std::nullopt;
  std::filesystem::path original(*path);
  if (original.is_relative()) original = relative_base / original;
  return TrashInfo{std::move(original), std::move(date)};
}

}  // namespace files::fileops
