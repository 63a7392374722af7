#include "i18n/value_format.h"

#include <array>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include <fmt/format.h>
#include <unicode/datefmt.h>
#include <unicode/locid.h>
#include <unicode/numberformatter.h>
#include <unicode/timezone.h>
#include <unicode/unistr.h>

namespace files::i18n {
namespace {

__extension__ typedef unsigned __int128 Uint128;

constexpr std::string_view kNoBreakSpace = "\u00A0";
constexpr std::int64_t kMsPerDay = 86'400'000;

icu::Locale icu_locale(std::string_view tag) {
  UErrorCode status = U_ZERO_ERROR;
  icu::Locale locale = icu::Locale::forLanguageTag(
      icu::StringPiece(tag.data(), static_cast<int32_t>(tag.size())), status);
  if (U_FAILURE(status) || locale.isBogus()) return icu::Locale("en", "US");
  return locale;
}

std::string utf8(const icu::UnicodeString& text) {
  std::string out;
  text.toUTF8String(out);
  return out;
}

// Number formatters are immutable and thread-safe once made. Making one, or copying one with new
// settings, loads locale data (tens of microseconds), so each locale's pair is made once.
struct NumberFormatters {
  icu::number::LocalizedNumberFormatter integer;
  icu::number::LocalizedNumberFormatter one_fraction_digit;
};

const NumberFormatters& number_formatters(const std::string& tag) {
  static std::mutex mutex;
  static std::map<std::string, NumberFormatters> by_tag;
  std::lock_guard lock(mutex);
  auto it = by_tag.find(tag);
  if (it == by_tag.end()) {
    const auto base = icu::number::NumberFormatter::withLocale(icu_locale(tag));
    it = by_tag
             .emplace(tag,
                      NumberFormatters{base.precision(icu::number::Precision::integer()),
                                       base.precision(icu::number::Precision::fixedFraction(1))})
             .first;
  }
  return it->second;
}

// `decimal` is a plain decimal text such as "18.4"; formatting it as text keeps binary floating
// point out of the way.
std::optional<std::string> icu_decimal(const std::string& tag, const std::string& decimal,
                                       bool one_fraction_digit) {
  const NumberFormatters& formatters = number_formatters(tag);
  const auto& formatter = one_fraction_digit ? formatters.one_fraction_digit : formatters.integer;
  UErrorCode status = U_ZERO_ERROR;
  icu::UnicodeString text =
      formatter.formatDecimal(icu::StringPiece(decimal), status).toString(status);
  if (U_FAILURE(status) || text.isEmpty()) return std::nullopt;
  return utf8(text);
}

// ICU's date formats are not documented as safe for concurrent use, so they are used under a lock.
std::optional<std::string> icu_date_time(const std::string& tag, std::int64_t ms,
                                         const icu::TimeZone& zone) {
  static std::mutex mutex;
  static std::map<std::string, std::unique_ptr<icu::DateFormat>> by_tag;
  std::lock_guard lock(mutex);
  std::unique_ptr<icu::DateFormat>& format = by_tag[tag];
  if (!format) {
    format.reset(icu::DateFormat::createDateTimeInstance(icu::DateFormat::kMedium,
                                                         icu::DateFormat::kShort, icu_locale(tag)));
    if (!format) return std::nullopt;
    // A lenient calendar silently clamps times beyond its range to its last day; we want the
    // failure, so such times get the fallback text instead of a wrong date.
    format->setLenient(false);
  }
  // Setting a zone resets the calendar, so only do it when the local zone really changed.
  if (format->getTimeZone() != zone) format->setTimeZone(zone);
  icu::UnicodeString text;
  UErrorCode status = U_ZERO_ERROR;
  format->format(static_cast<UDate>(ms), text, nullptr, status);
  if (U_FAILURE(status) || text.isEmpty()) return std::nullopt;
  return utf8(text);
}

std::int64_t utc_offset_ms(const icu::TimeZone& zone, std::int64_t ms) {
  int32_t raw = 0;
  int32_t dst = 0;
  UErrorCode status = U_ZERO_ERROR;
  zone.getOffset(static_cast<UDate>(ms), false, raw, dst, status);
  return U_FAILURE(status) ? 0 : static_cast<std::int64_t>(raw) + dst;
}

struct CivilDate {
  std::int64_t year;
  unsigned month;
  unsigned day;
};

// Proleptic Gregorian date of a day count since 1970-01-01 (Howard Hinnant's algorithm); exact
// for every day count that fits 64 bits with room for the shift below.
CivilDate civil_from_days(std::int64_t days) {
  days += 719'468;
  const std::int64_t era = (days >= 0 ? days : days - 146'096) / 146'097;
  const auto doe = static_cast<std::uint64_t>(days - era * 146'097);
  const std::uint64_t yoe = (doe - doe / 1'460 + doe / 36'524 - doe / 146'096) / 365;
  const std::uint64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const std::uint64_t mp = (5 * doy + 2) / 153;
  const auto day = static_cast<unsigned>(doy - (153 * mp + 2) / 5 + 1);
  const auto month = static_cast<unsigned>(mp < 10 ? mp + 3 : mp - 9);
  const std::int64_t year = static_cast<std::int64_t>(yoe) + era * 400 + (month <= 2 ? 1 : 0);
  return CivilDate{year, month, day};
}

}  // namespace

std::string formatting_locale_for(std::string_view catalog_locale) {
  UErrorCode status = U_ZERO_ERROR;
  const icu::Locale locale = icu::Locale::forLanguageTag(
      icu::StringPiece(catalog_locale.data(), static_cast<int32_t>(catalog_locale.size())), status);
  const std::string_view language = U_SUCCESS(status) ? locale.getLanguage() : "";
  // "qps" is the pseudo-locale used to spot untranslated text; its numbers and dates stay en-US.
  if (locale.isBogus() || language.empty() || language == "qps") return "en-US";
  std::string tag = locale.toLanguageTag<std::string>(status);
  if (U_FAILURE(status) || tag.empty()) return "en-US";
  return tag;
}

std::string format_bytes_in(std::string_view formatting_locale, std::uint64_t bytes) {
  static constexpr std::array<std::string_view, 7> kUnits = {"B",  "kB", "MB", "GB",
                                                             "TB", "PB", "EB"};
  std::size_t unit = 0;
  std::uint64_t factor = 1;
  while (unit + 1 < kUnits.size() && bytes / 1000 >= factor) {
    factor *= 1000;
    ++unit;
  }
  std::string decimal;
  bool fraction = false;
  if (unit == 0) {
    decimal = std::to_string(bytes);
  } else {
    // bytes × 10 overflows 64 bits for sizes above about 1.8 EB.
    const Uint128 tenths = (static_cast<Uint128>(bytes) * 10 + factor / 2) / factor;
    const auto whole = static_cast<std::uint64_t>(tenths / 10);
    const auto digit = static_cast<unsigned>(tenths % 10);
    fraction = digit != 0;
    decimal = fraction ? fmt::format("{}.{}", whole, digit) : std::to_string(whole);
  }
  const std::optional<std::string> number =
      icu_decimal(std::string(formatting_locale), decimal, fraction);
  return fmt::format("{}{}{}", number.value_or(decimal), kNoBreakSpace, kUnits[unit]);
}

std::string format_time_fallback(std::int64_t ms_since_epoch, std::int64_t utc_offset_ms) {
  const std::int64_t local = ms_since_epoch + utc_offset_ms;
  std::int64_t days = local / kMsPerDay;
  std::int64_t in_day = local % kMsPerDay;
  if (in_day < 0) {
    in_day += kMsPerDay;
    --days;
  }
  const CivilDate date = civil_from_days(days);
  const std::int64_t minutes = in_day / 60'000;
  return fmt::format("{:04}-{:02}-{:02} {:02}:{:02}", date.year, date.month, date.day, minutes / 60,
                     minutes % 60);
}

std::string format_time_in(const vask_ui::EmbeddedCatalog& catalog, std::int64_t ms_since_epoch) {
  if (ms_since_epoch < 0 || ms_since_epoch >= kEndOfCalendarMs) {
    return catalog.t("files-time-unknown");
  }
  const std::string tag = formatting_locale_for(catalog.current_locale());
  // The default zone is the system's local zone (TZ, else /etc/localtime).
  const std::unique_ptr<icu::TimeZone> zone(icu::TimeZone::createDefault());
  if (zone) {
    if (std::optional<std::string> text = icu_date_time(tag, ms_since_epoch, *zone)) return *text;
  }
  return format_time_fallback(ms_since_epoch, zone ? utc_offset_ms(*zone, ms_since_epoch) : 0);
}

}  // namespace files::i18n
