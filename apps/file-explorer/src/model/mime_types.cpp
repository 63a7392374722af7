#include "model/mime_types.h"

#include <array>
#include <unordered_map>

namespace files::model {
namespace {

struct ExtensionType {
  std::string_view extension;
  std::string_view type;
};

constexpr ExtensionType kTable[] = {
#include "mime_table.inc"
};

const std::unordered_map<std::string_view, std::string_view>& table() {
  static const auto* map = [] {
    auto* m = new std::unordered_map<std::string_view, std::string_view>();
    m->reserve(std::size(kTable));
    for (const auto& row : kTable)
      m->emplace(row.extension, row.type);
    return m;
  }();
  return *map;
}

}  // namespace

std::string_view guess_mime_type(std::string_view file_name) {
  const auto dot = file_name.rfind('.');
  // ".profile" has no extension; neither has "..".
  if (dot == std::string_view::npos || dot == 0) return kOctetStream;
  const std::string_view ext = file_name.substr(dot + 1);
  std::array<char, 32> lower{};
  if (ext.empty() || ext.size() > lower.size()) return kOctetStream;
  for (std::size_t i = 0; i < ext.size(); ++i) {
    const char c = ext[i];
    lower[i] = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  }
  const auto found = table().find(std::string_view(lower.data(), ext.size()));
  return found == table().end() ? kOctetStream : found->second;
}

std::string_view guess_mime_type(const std::filesystem::path& path) {
  return guess_mime_type(std::string_view(path.filename().native()));
}

}  // namespace files::model
