#pragma once

/// The message catalog: every user-visible text is looked up by id in bundles compiled into the
/// program, one per locale, written in the Fluent subset of <vask_ui/fluent.h>.

#include <concepts>
#include <initializer_list>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include <vask_ui/fluent.h>

namespace vask_ui {

/// A value handed to a placeable: text that is inserted as it is, or a number that is formatted
/// for the locale and drives plural selection. Counts must be numbers, or `[one]` never matches.
class ArgValue {
 public:
  ArgValue(std::string_view text) : value_(std::string(text)) {}
  ArgValue(const char* text) : value_(std::string(text == nullptr ? "" : text)) {}
  ArgValue(std::string text) : value_(std::move(text)) {}
  ArgValue(double number) : value_(number) {}
  // Without this, a literal 0 would be ambiguous between a pointer and a number.
  template <std::integral Integer>
  ArgValue(Integer number) : value_(static_cast<double>(number)) {}

  bool is_number() const noexcept { return std::holds_alternative<double>(value_); }
  /// The number, or 0 for text.
  double number() const noexcept {
    const double* n = std::get_if<double>(&value_);
    return n == nullptr ? 0.0 : *n;
  }
  /// The text, or empty for a number.
  std::string_view text() const noexcept {
    const std::string* s = std::get_if<std::string>(&value_);
    return s == nullptr ? std::string_view() : std::string_view(*s);
  }

 private:
  std::variant<std::string, double> value_;
};

/// One named argument; the name is the placeable's name without "$".
using CatalogArg = std::pair<std::string_view, ArgValue>;

/// One row of the bundle table: a BCP 47 locale tag and the bundle's Fluent source. Both views
/// must outlive the catalog (they normally point at data compiled into the program).
struct BundleSource {
  std::string_view locale;
  std::string_view text;
};

/// The locale variables of the process environment, in the order POSIX gives them weight.
struct LocaleEnvironment {
  std::string lc_all;
  std::string lc_messages;
  std::string lang;
  /// GNU extension: a colon-separated list of preferred languages.
  std::string language;

  static LocaleEnvironment from_process();
};

/// Maps one locale name, POSIX ("de_DE.UTF-8@euro") or BCP 47 ("de-AT"), to the best of
/// `available`: the same language and region first, then the first available locale with the
/// same language. Empty when nothing fits (also for "C" and "POSIX").
std::string match_locale(std::string_view requested, std::span<const std::string_view> available);

/// The locale to show: the POSIX message locale (LC_ALL, else LC_MESSAGES, else LANG) when it
/// matches an available one, else the first match among the LANGUAGE entries, else `fallback`.
std::string negotiate_locale(const LocaleEnvironment& env,
                             std::span<const std::string_view> available,
                             std::string_view fallback);

/// Looks up and formats messages. Thread-safe: workers may build their messages concurrently.
///
/// A message missing from the current locale's bundle comes from the source locale's bundle. An
/// unknown id renders as the id itself and a missing argument as "{$name}", so a gap is visible
/// on screen instead of crashing; each such gap is logged once (logger "vask_ui::catalog").
class EmbeddedCatalog {
 public:
  /// Chooses the locale from the process environment.
  EmbeddedCatalog(std::span<const BundleSource> bundles, std::string_view source_locale);
  /// Uses `requested_locale` (matched with `match_locale`, else the source locale) instead of the
  /// environment, so a caller or a test can pin the language.
  EmbeddedCatalog(std::span<const BundleSource> bundles, std::string_view source_locale,
                  std::string_view requested_locale);
  ~EmbeddedCatalog();
  EmbeddedCatalog(const EmbeddedCatalog&) = delete;
  EmbeddedCatalog& operator=(const EmbeddedCatalog&) = delete;

  std::string t(std::string_view id) const;
  std::string t_args(std::string_view id, std::span<const CatalogArg> args) const;
  std::string t_args(std::string_view id, std::initializer_list<CatalogArg> args) const {
    return t_args(id, std::span<const CatalogArg>(args.begin(), args.size()));
  }

  /// The BCP 47 tag of the locale messages are shown in, for example "de-DE".
  const std::string& current_locale() const noexcept;

  /// The parsed bundle of one locale of the table, or nullptr.
  const fluent::Resource* resource(std::string_view locale) const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace vask_ui
