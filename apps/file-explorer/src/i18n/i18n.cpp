#include "i18n/i18n.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "i18n/bundle_table.h"
#include "i18n/value_format.h"

namespace files::i18n {

const vask_ui::EmbeddedCatalog& catalog() {
  // Built on first use, after main has started, so the environment is final.
  static const vask_ui::EmbeddedCatalog instance(bundle_table(), kSourceLocale);
  return instance;
}

std::string t(std::string_view id) {
  return catalog().t(id);
}

std::string t_args(std::string_view id, std::initializer_list<Arg> args) {
  return catalog().t_args(id, args);
}

std::string t_args(std::string_view id, std::span<const Arg> args) {
  return catalog().t_args(id, args);
}

vask_ui::ArgValue count(std::uint64_t n) {
  constexpr auto kMax = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
  return vask_ui::ArgValue(static_cast<double>(std::min(n, kMax)));
}

std::string format_bytes(std::uint64_t bytes) {
  return format_bytes_in(current_formatting_locale(), bytes);
}

std::string format_time(std::int64_t ms_since_epoch) {
  return format_time_in(catalog(), ms_since_epoch);
}

std::string current_formatting_locale() {
  // The catalog's locale never changes once it is built, so neither does this.
  static const std::string tag = formatting_locale_for(catalog().current_locale());
  return tag;
}

}  // namespace files::i18n
