#include "locale_services.h"

#include <cmath>
#include <optional>

#include <fmt/format.h>
#include <unicode/locid.h>
#include <unicode/numberformatter.h>
#include <unicode/plurrule.h>
#include <unicode/unistr.h>

namespace vask_ui::detail {

struct LocaleServices::Icu {
  icu::Locale locale;
  std::unique_ptr<icu::PluralRules> plural_rules;
  // Fluent's default: grouping and up to three fraction digits. Kept ready because a formatter
  // copied with new settings resolves the locale's data again, which costs tens of microseconds
  // per number, while a kept one compiles itself after a few uses.
  std::optional<icu::number::LocalizedNumberFormatter> numbers;
};

LocaleServices::LocaleServices(std::string_view bcp47_tag) : icu_(std::make_unique<Icu>()) {
  UErrorCode status = U_ZERO_ERROR;
  icu_->locale = icu::Locale::forLanguageTag(
      icu::StringPiece(bcp47_tag.data(), static_cast<int32_t>(bcp47_tag.size())), status);
  if (U_FAILURE(status) || icu_->locale.isBogus()) icu_->locale = icu::Locale("en", "US");

  status = U_ZERO_ERROR;
  icu_->plural_rules.reset(icu::PluralRules::forLocale(icu_->locale, status));
  if (U_FAILURE(status)) icu_->plural_rules.reset();

  icu_->numbers = icu::number::NumberFormatter::withLocale(icu_->locale)
                      .precision(icu::number::Precision::minMaxFraction(0, 3));
}

LocaleServices::~LocaleServices() = default;

std::string LocaleServices::plural_category(double value) const {
  if (!icu_->plural_rules || !std::isfinite(value)) return "other";
  std::lock_guard lock(plural_mutex_);
  std::string category;
  icu_->plural_rules->select(value).toUTF8String(category);
  return category.empty() ? "other" : category;
}

std::string LocaleServices::format_number(double value, int min_fraction_digits) const {
  const int min_digits = min_fraction_digits < 0 ? 0 : min_fraction_digits;
  UErrorCode status = U_ZERO_ERROR;
  icu::UnicodeString text;
  if (min_digits == 0) {
    text = icu_->numbers->formatDouble(value, status).toString(status);
  } else {
    // Only number literals written with fraction digits get here; they are rare.
    const int max_digits = min_digits > 3 ? min_digits : 3;
    text = icu_->numbers->precision(icu::number::Precision::minMaxFraction(min_digits, max_digits))
               .formatDouble(value, status)
               .toString(status);
  }
  if (U_FAILURE(status)) {
    return min_digits == 0 ? fmt::format("{}", value) : fmt::format("{:.{}f}", value, min_digits);
  }
  std::string out;
  text.toUTF8String(out);
  return out;
}

}  // namespace vask_ui::detail
