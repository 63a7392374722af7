#pragma once

/// Every user-visible text of Files comes from here: messages are looked up by id ("files-…") in
/// the bundles compiled into the program, in the locale the environment asks for (en-US or
/// de-DE, falling back to en-US). Sizes and times are formatted for the same locale.
///
/// An id missing from the bundles renders as the id itself and a missing argument as "{$name}";
/// both are logged once. Nothing here throws or fails. Safe to call from any thread.

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include <vask_ui/catalog.h>

namespace files::i18n {

/// A named message argument; the name is the placeable's name without "$".
using Arg = std::pair<std::string_view, vask_ui::ArgValue>;

std::string t(std::string_view id);
std::string t_args(std::string_view id, std::initializer_list<Arg> args);
std::string t_args(std::string_view id, std::span<const Arg> args);

/// A count as a message argument: a number, so that `[one]` and `*[other]` are chosen by the
/// locale's plural rules. Clamped to the largest signed 64-bit value.
vask_ui::ArgValue count(std::uint64_t n);

/// "999 B", "1 kB", "1.5 MB" … "18.4 EB": decimal units, one rounded fractional digit when it
/// is not 0, the locale's decimal separator, and a NO-BREAK SPACE before the unit.
std::string format_bytes(std::uint64_t bytes);

/// The locale's date and hours:minutes in the local time zone, or the text of
/// "files-time-unknown" for a negative time or one beyond the calendar's range.
std::string format_time(std::int64_t ms_since_epoch);

/// The BCP 47 tag the two formatters use (the catalog's locale; "en-US" for the "qps"
/// pseudo-locale or a tag that does not parse).
std::string current_formatting_locale();

/// The process-wide catalog, built on first use from the embedded bundles and the environment
/// (LC_ALL, LC_MESSAGES, LANG, LANGUAGE).
const vask_ui::EmbeddedCatalog& catalog();

}  // namespace files::i18n
