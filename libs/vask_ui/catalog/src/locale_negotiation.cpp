#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "vask_ui/catalog.h"

namespace vask_ui {
namespace {

struct LanguageRegion {
  std::string language;
  std::string region;
};

bool is_ascii_alpha(std::string_view s) {
  return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
  });
}

bool is_ascii_digits(std::string_view s) {
  return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string lower(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

std::string upper(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

// Reads the language and region out of "de_DE.UTF-8@euro", "de-DE", "zh-Hant-TW" or "de". The
// codeset and modifier of POSIX names say nothing about the language, so they are dropped.
LanguageRegion parse_locale_name(std::string_view name) {
  while (!name.empty() && std::isspace(static_cast<unsigned char>(name.front())))
    name.remove_prefix(1);
  while (!name.empty() && std::isspace(static_cast<unsigned char>(name.back())))
    name.remove_suffix(1);
  name = name.substr(0, name.find_first_of(".@"));
  std::vector<std::string_view> parts;
  while (!name.empty()) {
    const std::size_t cut = name.find_first_of("_-");
    parts.push_back(name.substr(0, cut));
    if (cut == std::string_view::npos) break;
    name.remove_prefix(cut + 1);
  }
  LanguageRegion result;
  if (parts.empty() || parts[0].size() < 2 || parts[0].size() > 3 || !is_ascii_alpha(parts[0])) {
    return result;
  }
  result.language = lower(parts[0]);
  for (std::size_t i = 1; i < parts.size(); ++i) {
    const std::string_view part = parts[i];
    if ((part.size() == 2 && is_ascii_alpha(part)) || (part.size() == 3 && is_ascii_digits(part))) {
      result.region = upper(part);
      break;
    }
  }
  return result;
}

}  // namespace

LocaleEnvironment LocaleEnvironment::from_process() {
  auto read = [](const char* name) {
    const char* value = std::getenv(name);
    return std::string(value == nullptr ? "" : value);
  };
  return LocaleEnvironment{read("LC_ALL"), read("LC_MESSAGES"), read("LANG"), read("LANGUAGE")};
}

std::string match_locale(std::string_view requested, std::span<const std::string_view> available) {
  const LanguageRegion wanted = parse_locale_name(requested);
  // "C" and "POSIX" are one letter or five: they never parse as a language.
  if (wanted.language.empty()) return {};
  for (std::string_view tag : available) {
    const LanguageRegion have = parse_locale_name(tag);
    if (have.language == wanted.language && have.region == wanted.region) return std::string(tag);
  }
  for (std::string_view tag : available) {
    if (parse_locale_name(tag).language == wanted.language) return std::string(tag);
  }
  return {};
}

std::string negotiate_locale(const LocaleEnvironment& env,
                             std::span<const std::string_view> available,
                             std::string_view fallback) {
  // POSIX: LC_ALL overrides LC_MESSAGES, which overrides LANG; only the first one set counts.
  std::string_view posix = env.lc_all;
  if (posix.empty()) posix = env.lc_messages;
  if (posix.empty()) posix = env.lang;
  if (std::string found = match_locale(posix, available); !found.empty()) return found;

  std::string_view list = env.language;
  while (!list.empty()) {
    const std::size_t cut = list.find(':');
    if (std::string found = match_locale(list.substr(0, cut), available); !found.empty())
      return found;
    if (cut == std::string_view::npos) break;
    list.remove_prefix(cut + 1);
  }
  return std::string(fallback);
}

}  // namespace vask_ui
