#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <string_view>

namespace vask_ui::detail {

/// What formatting one bundle needs from ICU: plural categories and number texts for its locale.
/// Formatting failures fall back to plain ASCII digits and the category "other", so a broken ICU
/// data file degrades the text instead of the program.
class LocaleServices {
 public:
  explicit LocaleServices(std::string_view bcp47_tag);
  ~LocaleServices();
  LocaleServices(const LocaleServices&) = delete;
  LocaleServices& operator=(const LocaleServices&) = delete;

  /// "zero", "one", "two", "few", "many" or "other".
  std::string plural_category(double value) const;

  /// A number as the locale writes it in running text: grouped, at most three fraction digits
  /// (and at least `min_fraction_digits`), the way Fluent's default NUMBER formatting does.
  std::string format_number(double value, int min_fraction_digits = 0) const;

 private:
  struct Icu;
  std::unique_ptr<Icu> icu_;
  // ICU documents its number formatter as immutable, but not plural rules; one lock keeps
  // concurrent callers on the safe side for the few microseconds a selection takes.
  mutable std::mutex plural_mutex_;
};

}  // namespace vask_ui::detail
