#include "archive_ops/numbered_name.h"

#include <sys/stat.h>

#include <charconv>

namespace files::archive_ops {
namespace {

namespace fs = std::filesystem;

// Walks the numbers from `first` until a free name turns up, saturating at kLastNameNumber.
fs::path free_from(const fs::path& folder, std::string_view base, std::uint64_t first,
                   std::string_view suffix) {
  for (std::uint64_t n = first;; ++n) {
    fs::path candidate = folder / numbered_name(base, n, suffix);
    if (!item_exists(candidate) || n >= kLastNameNumber) return candidate;
  }
}

}  // namespace

std::string numbered_name(std::string_view base, std::uint64_t n, std::string_view suffix) {
  std::string name(base);
  if (n >= 2) {
    name += ' ';
    name += std::to_string(n);
  }
  name += suffix;
  return name;
}

bool item_exists(const fs::path& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0;
}

fs::path first_free_name(const fs::path& folder, std::string_view base, std::string_view suffix) {
  return free_from(folder, base, 1, suffix);
}

fs::path next_free_name(const fs::path& folder, std::string_view taken, std::string_view suffix) {
  std::string_view stem = taken;
  if (stem.ends_with(suffix)) stem.remove_suffix(suffix.size());
  // "photos 3" continues at 4; anything else ("photos", "photos 03", "photos 1") is a base.
  const auto blank = stem.rfind(' ');
  if (blank != std::string_view::npos && blank + 1 < stem.size() && stem[blank + 1] != '0') {
    const std::string_view digits = stem.substr(blank + 1);
    std::uint64_t n = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), n);
    if (error == std::errc() && end == digits.data() + digits.size() && n >= 2 &&
        n < kLastNameNumber) {
      return free_from(folder, stem.substr(0, blank), n + 1, suffix);
    }
  }
  return free_from(folder, stem, 2, suffix);
}

}  // namespace files::archive_ops
