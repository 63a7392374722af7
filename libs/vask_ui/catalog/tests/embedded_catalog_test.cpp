#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <spdlog/sinks/ringbuffer_sink.h>
#include <spdlog/spdlog.h>

#include <vask_ui/catalog.h>

namespace vask_ui {
namespace {

constexpr std::string_view kEnglish = R"(# Test bundle.
items = { $count } { $count ->
    [one] item
   *[other] items
}
restored = Restored { $count ->
    [one] 1 item
   *[other] { $count } items
}
exact = { $count ->
    [0] nothing
    [one] one thing
   *[other] { $count } things
}
by-kind = { $kind ->
    [folder] a folder
   *[other] a file
}
moved = Moved { $moved } to “{ $destination }” ({ $failed } failed)
ratio = Ratio { $value }
only-english = Only in English
)";

constexpr std::string_view kGerman = R"(# Testbündel.
items = { $count } { $count ->
    [one] Element
   *[other] Elemente
}
restored = { $count ->
    [one] 1 Element
   *[other] { $count } Elemente
} wiederhergestellt
exact = { $count ->
    [0] nichts
    [one] ein Ding
   *[other] { $count } Dinge
}
by-kind = { $kind ->
    [folder] ein Ordner
   *[other] eine Datei
}
moved = { $moved } nach „{ $destination }“ verschoben ({ $failed } fehlgeschlagen)
ratio = Verhältnis { $value }
)";

const BundleSource kBundles[] = {{"en-US", kEnglish}, {"de-DE", kGerman}};

// Captures what the catalog logs, so "logged once" can be checked.
class CatalogLog {
 public:
  CatalogLog() : sink_(std::make_shared<spdlog::sinks::ringbuffer_sink_mt>(64)) {
    // Constructing a catalog creates its logger; attach to it afterwards.
    EmbeddedCatalog warm_up(kBundles, "en-US", "en-US");
    logger_ = spdlog::get("vask_ui::catalog");
    logger_->sinks().push_back(sink_);
  }
  ~CatalogLog() { logger_->sinks().pop_back(); }
  std::size_t count_containing(std::string_view needle) const {
    std::size_t n = 0;
    for (const std::string& line : sink_->last_formatted()) {
      if (line.find(needle) != std::string::npos) ++n;
    }
    return n;
  }

 private:
  std::shared_ptr<spdlog::sinks::ringbuffer_sink_mt> sink_;
  std::shared_ptr<spdlog::logger> logger_;
};

TEST(EmbeddedCatalog, ChoosesPluralVariantsFromTheLocaleRules) {
  const EmbeddedCatalog en(kBundles, "en-US", "en-US");
  const EmbeddedCatalog de(kBundles, "en-US", "de-DE");
  struct Case {
    double count;
    const char* english;
    const char* german;
  };
  const Case cases[] = {
      {0, "0 items", "0 Elemente"},
      {1, "1 item", "1 Element"},
      {2, "2 items", "2 Elemente"},
      {1.5, "1.5 items", "1,5 Elemente"},
      {1000, "1,000 items", "1.000 Elemente"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(en.t_args("items", {{"count", c.count}}), c.english) << c.count;
    EXPECT_EQ(de.t_args("items", {{"count", c.count}}), c.german) << c.count;
  }
  EXPECT_EQ(en.t_args("restored", {{"count", 1}}), "Restored 1 item");
  EXPECT_EQ(en.t_args("restored", {{"count", 12345}}), "Restored 12,345 items");
  EXPECT_EQ(de.t_args("restored", {{"count", 12345}}), "12.345 Elemente wiederhergestellt");
}

TEST(EmbeddedCatalog, PrefersExactNumericKeysAndMatchesTextSelectors) {
  const EmbeddedCatalog en(kBundles, "en-US", "en-US");
  EXPECT_EQ(en.t_args("exact", {{"count", 0}}), "nothing");
  EXPECT_EQ(en.t_args("exact", {{"count", 1}}), "one thing");
  EXPECT_EQ(en.t_args("exact", {{"count", 7}}), "7 things");
  EXPECT_EQ(en.t_args("by-kind", {{"kind", "folder"}}), "a folder");
  EXPECT_EQ(en.t_args("by-kind", {{"kind", "symlink"}}), "a file");
  // A count passed as text is not a number: it cannot pick a plural category.
  EXPECT_EQ(en.t_args("items", {{"count", "1"}}), "1 items");
}

TEST(EmbeddedCatalog, InsertsTextArgumentsUnchangedAndFormatsNumbers) {
  const EmbeddedCatalog en(kBundles, "en-US", "en-US");
  const EmbeddedCatalog de(kBundles, "en-US", "de-DE");
  const std::string owned = "Reports {2024}";
  EXPECT_EQ(en.t_args("moved", {{"moved", 3}, {"destination", owned}, {"failed", 1}}),
            "Moved 3 to “Reports {2024}” (1 failed)");
  EXPECT_EQ(
      de.t_args("moved",
                {{"moved", 1000}, {"destination", std::string_view("Ablage")}, {"failed", 0}}),
      "1.000 nach „Ablage“ verschoben (0 fehlgeschlagen)");
  EXPECT_EQ(en.t_args("ratio", {{"value", 0.3333333}}), "Ratio 0.333");
  EXPECT_EQ(de.t_args("ratio", {{"value", 1234567.5}}), "Verhältnis 1.234.567,5");
}

TEST(EmbeddedCatalog, FallsBackToTheSourceLocaleForAMissingMessage) {
  const EmbeddedCatalog de(kBundles, "en-US", "de-DE");
  EXPECT_EQ(de.current_locale(), "de-DE");
  EXPECT_EQ(de.t("only-english"), "Only in English");
}

TEST(EmbeddedCatalog, RendersGapsVisiblyAndLogsEachOnce) {
  CatalogLog log;
  const EmbeddedCatalog en(kBundles, "en-US", "en-US");
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(en.t("no-such-message"), "no-such-message");
    EXPECT_EQ(en.t_args("moved", {{"moved", 2}}), "Moved 2 to “{$destination}” ({$failed} failed)");
    // A missing selector takes the default variant.
    EXPECT_EQ(en.t("items"), "{$count} items");
  }
  EXPECT_EQ(log.count_containing("no-such-message"), 1u);
  EXPECT_EQ(log.count_containing("\"destination\""), 1u);
  EXPECT_EQ(log.count_containing("\"failed\""), 1u);
  EXPECT_EQ(log.count_containing("\"count\""), 1u);
}

TEST(EmbeddedCatalog, SurvivesBrokenAndMissingBundles) {
  const BundleSource broken[] = {{"en-US", "good = fine\nbad = { $x\nalso-good = ok\n"},
                                 {"de-DE", ""}};
  const EmbeddedCatalog de(broken, "en-US", "de-DE");
  EXPECT_EQ(de.t("good"), "fine");
  EXPECT_EQ(de.t("also-good"), "ok");
  EXPECT_EQ(de.t("bad"), "bad");

  const EmbeddedCatalog empty(std::span<const BundleSource>(), "en-US", "de-DE");
  EXPECT_EQ(empty.current_locale(), "en-US");
  EXPECT_EQ(empty.t("anything"), "anything");
}

TEST(EmbeddedCatalog, ServesConcurrentCallers) {
  const EmbeddedCatalog de(kBundles, "en-US", "de-DE");
  std::vector<std::thread> threads;
  std::vector<int> wrong(4, 0);
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < 500; ++i) {
        if (de.t_args("items", {{"count", 1}}) != "1 Element") ++wrong[t];
        if (de.t_args("items", {{"count", 2000}}) != "2.000 Elemente") ++wrong[t];
      }
    });
  }
  for (std::thread& thread : threads)
    thread.join();
  EXPECT_EQ(wrong, std::vector<int>(4, 0));
}

TEST(LocaleNegotiation, MatchesPosixAndBcp47Names) {
  const std::string_view available[] = {"en-US", "de-DE"};
  struct Case {
    const char* requested;
    const char* expected;
  };
  const Case cases[] = {
      {"de_DE.UTF-8", "de-DE"},
      {"de_DE.UTF-8@euro", "de-DE"},
      {"de-DE", "de-DE"},
      {"de_AT.UTF-8", "de-DE"},
      {"de", "de-DE"},
      {"DE_de", "de-DE"},
      {"en_GB.UTF-8", "en-US"},
      {"en", "en-US"},
      {"fr_FR.UTF-8", ""},
      {"C", ""},
      {"C.UTF-8", ""},
      {"POSIX", ""},
      {"", ""},
      {"qps-ploc", ""},
      {"  de_CH  ", "de-DE"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(match_locale(c.requested, available), c.expected) << c.requested;
  }
}

TEST(LocaleNegotiation, FollowsThePosixOrderThenLanguageThenFallback) {
  const std::string_view available[] = {"en-US", "de-DE"};
  struct Case {
    LocaleEnvironment env;
    const char* expected;
  };
  const Case cases[] = {
      {{"", "", "de_DE.UTF-8", ""}, "de-DE"},
      {{"", "", "fr_FR.UTF-8", ""}, "en-US"},
      {{"", "", "", ""}, "en-US"},
      {{"en_US.UTF-8", "", "de_DE.UTF-8", ""}, "en-US"},
      {{"", "de_DE.UTF-8", "en_US.UTF-8", ""}, "de-DE"},
      {{"de_DE.UTF-8", "en_US.UTF-8", "en_US.UTF-8", ""}, "de-DE"},
      {{"", "", "fr_FR.UTF-8", "fr:de:en"}, "de-DE"},
      {{"", "", "C.UTF-8", "de"}, "de-DE"},
      {{"", "", "", "fr:it"}, "en-US"},
      // LC_ALL decides even when a lower-ranked variable names a supported language.
      {{"C", "", "de_DE.UTF-8", ""}, "en-US"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(negotiate_locale(c.env, available, "en-US"), c.expected)
        << c.env.lc_all << "|" << c.env.lc_messages << "|" << c.env.lang << "|" << c.env.language;
  }
}

}  // namespace
}  // namespace vask_ui
