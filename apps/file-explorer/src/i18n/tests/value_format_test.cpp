#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <memory>
#include <string>

#include <unicode/timezone.h>

#include "i18n/bundle_table.h"
#include "i18n/i18n.h"
#include "i18n/value_format.h"

namespace files::i18n {
namespace {

#define NBSP "\u00A0"

TEST(FormatBytes, UsesDecimalUnitsTenthsAndANoBreakSpace) {
  struct Case {
    std::uint64_t bytes;
    const char* english;
    const char* german;
  };
  const Case cases[] = {
      {0, "0" NBSP "B", "0" NBSP "B"},
      {999, "999" NBSP "B", "999" NBSP "B"},
      {1000, "1" NBSP "kB", "1" NBSP "kB"},
      {1049, "1" NBSP "kB", "1" NBSP "kB"},
      {1050, "1.1" NBSP "kB", "1,1" NBSP "kB"},
      {1'500'000, "1.5" NBSP "MB", "1,5" NBSP "MB"},
      // Rounding up does not move to the next unit: the unit is chosen before rounding.
      {999'950, "1,000" NBSP "kB", "1.000" NBSP "kB"},
      {1'000'000'000, "1" NBSP "GB", "1" NBSP "GB"},
      {2'345'000'000'000, "2.3" NBSP "TB", "2,3" NBSP "TB"},
      {1'000'000'000'000'000'000, "1" NBSP "EB", "1" NBSP "EB"},
      {std::numeric_limits<std::uint64_t>::max(), "18.4" NBSP "EB", "18,4" NBSP "EB"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(format_bytes_in("en-US", c.bytes), c.english) << c.bytes;
    EXPECT_EQ(format_bytes_in("de-DE", c.bytes), c.german) << c.bytes;
  }
}

TEST(FormattingLocale, FallsBackToEnglishForPseudoAndBrokenTags) {
  struct Case {
    const char* catalog_locale;
    const char* expected;
  };
  const Case cases[] = {
      {"en-US", "en-US"}, {"de-DE", "de-DE"}, {"qps-ploc", "en-US"}, {"qps", "en-US"},
      {"", "en-US"},      {"$$$", "en-US"},   {"und", "en-US"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(formatting_locale_for(c.catalog_locale), c.expected) << c.catalog_locale;
  }
  EXPECT_EQ(format_bytes_in(formatting_locale_for("qps-ploc"), 1'500'000), "1.5" NBSP "MB");
}

// Pins ICU's default time zone, which `format_time` treats as the local one, for one test.
class FormatTime : public ::testing::Test {
 protected:
  void use_zone(const char* id) {
    icu::TimeZone::adoptDefault(icu::TimeZone::createTimeZone(icu::UnicodeString::fromUTF8(id)));
  }
  void SetUp() override {
    saved_.reset(icu::TimeZone::createDefault());
    use_zone("UTC");
  }
  void TearDown() override { icu::TimeZone::setDefault(*saved_); }

  const vask_ui::EmbeddedCatalog en_{bundle_table(), kSourceLocale, "en-US"};
  const vask_ui::EmbeddedCatalog de_{bundle_table(), kSourceLocale, "de-DE"};

 private:
  std::unique_ptr<icu::TimeZone> saved_;
};

constexpr std::int64_t k2026_03_07_1405_utc = 1'772'892'300'000;

TEST_F(FormatTime, ShowsUnknownTimeOutsideTheCalendar) {
  for (std::int64_t ms : {std::int64_t{-1}, std::numeric_limits<std::int64_t>::min(),
                          kEndOfCalendarMs, std::numeric_limits<std::int64_t>::max()}) {
    EXPECT_EQ(format_time_in(en_, ms), "unknown time") << ms;
    EXPECT_EQ(format_time_in(de_, ms), "unbekannte Zeit") << ms;
  }
}

TEST_F(FormatTime, FormatsDateAndMinutesInTheLocale) {
  EXPECT_EQ(format_time_in(de_, k2026_03_07_1405_utc), "07.03.2026, 14:05");
  EXPECT_EQ(format_time_in(de_, 0), "01.01.1970, 00:00");
  const std::string english = format_time_in(en_, k2026_03_07_1405_utc);
  // CLDR puts a narrow no-break space before "PM"; match the parts rather than the spacing.
  EXPECT_TRUE(english.starts_with("Mar 7, 2026, 2:05")) << english;
  EXPECT_TRUE(english.ends_with("PM")) << english;
}

TEST_F(FormatTime, UsesTheLocalTimeZone) {
  use_zone("Europe/Berlin");
  EXPECT_EQ(format_time_in(de_, k2026_03_07_1405_utc), "07.03.2026, 15:05");
  use_zone("America/New_York");
  EXPECT_EQ(format_time_in(de_, k2026_03_07_1405_utc), "07.03.2026, 09:05");
}

TEST_F(FormatTime, PseudoLocaleFormatsAsEnglish) {
  const vask_ui::BundleSource pseudo[] = {{"en-US", bundle_table()[0].text},
                                          {"qps-ploc", "files-time-unknown = [ûñķñöŵñ ţîɱé]\n"}};
  const vask_ui::EmbeddedCatalog qps(pseudo, kSourceLocale, "qps-ploc");
  ASSERT_EQ(qps.current_locale(), "qps-ploc");
  EXPECT_EQ(format_time_in(qps, k2026_03_07_1405_utc), format_time_in(en_, k2026_03_07_1405_utc));
  EXPECT_EQ(format_time_in(qps, -1), "[ûñķñöŵñ ţîɱé]");
}

TEST_F(FormatTime, FallsBackToIsoTextBeyondTheFormattersRange) {
  // The last representable millisecond lies beyond what ICU's calendar handles.
  EXPECT_EQ(format_time_in(de_, kEndOfCalendarMs - 1), "5879611-07-11 23:59");
  EXPECT_EQ(format_time_fallback(k2026_03_07_1405_utc, 0), "2026-03-07 14:05");
  EXPECT_EQ(format_time_fallback(k2026_03_07_1405_utc, 3'600'000), "2026-03-07 15:05");
  EXPECT_EQ(format_time_fallback(0, -60'000), "1969-12-31 23:59");
  EXPECT_EQ(format_time_fallback(951'782'400'000, 0), "2000-02-29 00:00");
}

TEST(Count, PassesANumberClampedToTheSignedRange) {
  EXPECT_TRUE(count(3).is_number());
  EXPECT_EQ(count(3).number(), 3.0);
  EXPECT_EQ(count(std::numeric_limits<std::uint64_t>::max()).number(),
            static_cast<double>(std::numeric_limits<std::int64_t>::max()));
}

TEST(ProcessCatalog, ServesTheEmbeddedBundlesAndShowsUnknownIds) {
  // The locale depends on the environment of the test run, so only locale-neutral facts here.
  EXPECT_EQ(t("files-app-title"), catalog().t("files-app-title"));
  EXPECT_NE(t("files-app-title"), "files-app-title");
  const std::string unknown = std::string("files-") + "no-such-message";
  EXPECT_EQ(t(unknown), unknown);
  EXPECT_EQ(t_args("files-name-exists", {}).find("{$name}") != std::string::npos, true);
  EXPECT_EQ(current_formatting_locale(), formatting_locale_for(catalog().current_locale()));
  EXPECT_EQ(format_bytes(999), "999" NBSP "B");
}

}  // namespace
}  // namespace files::i18n
