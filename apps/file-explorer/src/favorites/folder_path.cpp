#include "favorites/folder_path.h"

#include "model/lossy_text.h"

namespace files::favorites {

std::filesystem::path plain_folder(const std::filesystem::path& path) {
  std::filesystem::path out;
  for (const auto& part : path) {
    if (part.empty() || part == ".") continue;
    out /= part;
  }
  return out;
}

bool same_folder(const std::filesystem::path& a, const std::filesystem::path& b) {
  return plain_folder(a) == plain_folder(b);
}

bool folder_contains(const std::filesystem::path& root, const std::filesystem::path& path) {
  const auto r = plain_folder(root);
  const auto p = plain_folder(path);
  auto pi = p.begin();
  for (const auto& part : r) {
    if (pi == p.end() || *pi != part) return false;
    ++pi;
  }
  return true;
}

std::string display_text(const std::filesystem::path& path) {
  return model::lossy_utf8(path.native());
}

std::optional<std::string> last_component(const std::filesystem::path& path) {
  auto plain = plain_folder(path);
  if (!plain.has_filename()) return std::nullopt;
  return model::lossy_utf8(plain.filename().native());
}

}  // namespace files::favorites
