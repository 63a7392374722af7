#pragma once

/// The formatters behind `format_bytes`, `format_time` and `current_formatting_locale`, with the
/// locale (or the catalog) passed in, so that they can be used and tested for any locale
/// regardless of the process environment.

#include <cstdint>
#include <string>
#include <string_view>

#include <vask_ui/catalog.h>

namespace files::i18n {

/// The first millisecond that no longer fits the calendar: from here on the day count since the
/// common era no longer fits 32 bits (about 5.88 million years from now).
inline constexpr std::int64_t kEndOfCalendarMs = 185'480'451'504'000'000;

/// The formatting locale for a catalog locale: the tag itself when it parses, "en-US" for the
/// "qps" pseudo-locale and for anything that does not parse.
std::string formatting_locale_for(std::string_view catalog_locale);

/// `format_bytes` in the given formatting locale.
std::string format_bytes_in(std::string_view formatting_locale, std::uint64_t bytes);

/// `format_time` for the catalog's locale, in the process's default (local) time zone.
std::string format_time_in(const vask_ui::EmbeddedCatalog& catalog, std::int64_t ms_since_epoch);

/// The fallback text "YYYY-MM-DD HH:MM" for a time, shifted by `utc_offset_ms`.
std::string format_time_fallback(std::int64_t ms_since_epoch, std::int64_t utc_offset_ms);

}  // namespace files::i18n
