#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <vask_ui/catalog.h>
#include <vask_ui/fluent.h>

#include "i18n/bundle_table.h"
#include "scoped_env.h"

namespace files::i18n {
namespace {

using vask_ui::fluent::Message;
using vask_ui::fluent::Resource;

// Each bundle parsed once for the whole test program.
const Resource& parsed(std::size_t index) {
  static const std::vector<Resource> resources = [] {
    std::vector<Resource> out;
    for (const vask_ui::BundleSource& bundle : bundle_table()) {
      out.push_back(vask_ui::fluent::parse_resource(bundle.text));
    }
    return out;
  }();
  return resources.at(index);
}

const Resource& english() {
  return parsed(0);
}
const Resource& german() {
  return parsed(1);
}

TEST(Bundles, TableHoldsEnglishThenGerman) {
  ASSERT_EQ(bundle_table().size(), 2u);
  EXPECT_EQ(bundle_table()[0].locale, "en-US");
  EXPECT_EQ(bundle_table()[1].locale, "de-DE");
  EXPECT_EQ(kSourceLocale, "en-US");
}

TEST(Bundles, ParseCleanlyAndOpenWithTheirHeaders) {
  for (std::size_t i = 0; i < bundle_table().size(); ++i) {
    for (const auto& error : parsed(i).errors) {
      ADD_FAILURE() << bundle_table()[i].locale << " line " << error.line << ": " << error.message;
    }
  }
  EXPECT_TRUE(bundle_table()[0].text.starts_with(
      "# Files — source locale (en-US).\n"
      "# Collaboration, availability, history and received-share surfaces are the\n"
      "# first migrated tranche. Variables are data, never preformatted Fluent source.\n"));
  EXPECT_TRUE(bundle_table()[1].text.starts_with("# Dateien — deutsche Übersetzung (de-DE).\n"));
}

TEST(Bundles, DefineTheSameIdsInTheSameSections) {
  ASSERT_EQ(english().messages.size(), 426u);
  ASSERT_EQ(german().messages.size(), english().messages.size());
  for (std::size_t i = 0; i < english().messages.size(); ++i) {
    const Message& en = english().messages[i];
    const Message& de = german().messages[i];
    EXPECT_TRUE(en.id.starts_with("files-")) << en.id;
    EXPECT_EQ(de.id, en.id) << "position " << i;
    EXPECT_EQ(de.section, en.section) << en.id;
  }

  // Sections appear once each, in this order, with these sizes.
  const std::vector<std::pair<std::string, std::size_t>> expected = {
      {"", 1},
      {"Keyboard shortcuts", 13},
      {"Availability actions and status", 31},
      {"Properties and availability sheet", 25},
      {"Sharing", 56},
      {"History and conflict resolution", 73},
      {"Accessible collaborative state", 15},
      {"Service and received-share errors/status", 40},
      {"Application chrome and navigation", 21},
      {"List, empty/error state and accessibility", 31},
      {"Properties", 12},
      {"Ordinary operation results", 28},
      {"Context, view and sort menus", 31},
      {"Archives", 12},
      {"File-operation validation", 37},
  };
  std::vector<std::pair<std::string, std::size_t>> actual;
  for (const Message& message : english().messages) {
    if (actual.empty() || actual.back().first != message.section) {
      actual.emplace_back(message.section, 0);
    }
    ++actual.back().second;
  }
  EXPECT_EQ(actual, expected);
  EXPECT_EQ(english().messages.front().id, "files-time-unknown");
}

// The selector names of every select expression of a message, in order.
std::vector<std::string> selectors_of(const Message& message) {
  std::vector<std::string> names;
  for (const auto* select : vask_ui::fluent::selects_of(message.value)) {
    names.push_back(select->selector.value);
  }
  return names;
}

TEST(Bundles, UseTheSamePlaceablesAndPluralSelects) {
  std::set<std::string> plural_messages;
  for (const Message& en : english().messages) {
    const Message* de = german().find(en.id);
    ASSERT_NE(de, nullptr) << en.id;
    EXPECT_EQ(vask_ui::fluent::variables_of(de->value), vask_ui::fluent::variables_of(en.value))
        << en.id;
    EXPECT_EQ(selectors_of(*de), selectors_of(en)) << en.id;
    for (const Message* message : {&en, de}) {
      for (const auto* select : vask_ui::fluent::selects_of(message->value)) {
        // Both languages have exactly the plural categories one and other.
        ASSERT_EQ(select->variants.size(), 2u) << message->id;
        EXPECT_EQ(select->variants[0].key, "one") << message->id;
        EXPECT_EQ(select->variants[1].key, "other") << message->id;
        EXPECT_EQ(select->default_index, 1u) << message->id;
      }
    }
    if (!selectors_of(en).empty()) plural_messages.insert(en.id);
  }
  const std::set<std::string> expected = {
      "files-keeping-offline",
      "files-using-automatic",
      "files-retrying-transfers",
      "files-freeing-local-space",
      "files-destructive-eviction-summary",
      "files-destructive-eviction-started",
      "files-permanent-delete-title",
      "files-permanent-delete-summary",
      "files-empty-trash-summary",
      "files-property-sharing",
      "files-property-history",
      "files-replica-counts",
      "files-sharing-summary",
      "files-conflict-line",
      "files-history-summary",
      "files-a11y-shared-recipients",
      "files-item-count",
      "files-permanently-deleted",
      "files-moved-to-trash",
      "files-restored",
      "files-undo-trash-restored",
      "files-copied",
      "files-cut",
      "files-moved-to-folder",
      "files-pasted",
      "files-archive-extracted",
  };
  EXPECT_EQ(plural_messages, expected);
  EXPECT_EQ(selectors_of(*english().find("files-property-history")),
            (std::vector<std::string>{"versions", "conflicts"}));
  EXPECT_EQ(selectors_of(*english().find("files-history-summary")),
            (std::vector<std::string>{"versions", "heads"}));
  EXPECT_EQ(selectors_of(*english().find("files-replica-counts")),
            (std::vector<std::string>{"durable"}));
}

// Renders one message with every variable it uses set to `value`.
std::string render_all(const vask_ui::EmbeddedCatalog& catalog, const Message& message,
                       const vask_ui::ArgValue& value) {
  std::vector<vask_ui::CatalogArg> args;
  const std::vector<std::string> names = vask_ui::fluent::variables_of(message.value);
  for (const std::string& name : names)
    args.emplace_back(name, value);
  return catalog.t_args(message.id, args);
}

TEST(Bundles, EveryMessageRendersWithItsArgumentsInBothLocales) {
  for (const vask_ui::BundleSource& bundle : bundle_table()) {
    const vask_ui::EmbeddedCatalog catalog(bundle_table(), kSourceLocale, bundle.locale);
    ASSERT_EQ(catalog.current_locale(), bundle.locale);
    const Resource& resource = *catalog.resource(bundle.locale);
    for (const Message& message : resource.messages) {
      std::map<std::string, std::string> texts;
      for (const auto& [label, value] : std::vector<std::pair<std::string, vask_ui::ArgValue>>{
               {"0", 0}, {"1", 1}, {"2", 2}, {"1000", 1000}, {"text", "Ablage"}}) {
        const std::string text = render_all(catalog, message, value);
        EXPECT_EQ(text.find("{$"), std::string::npos) << bundle.locale << " " << message.id;
        EXPECT_EQ(text.find('{'), std::string::npos) << bundle.locale << " " << message.id;
        EXPECT_FALSE(text.empty()) << bundle.locale << " " << message.id;
        EXPECT_NE(text, message.id) << bundle.locale;
        texts[label] = text;
      }
      if (!selectors_of(message).empty()) {
        EXPECT_NE(texts["1"], texts["2"]) << bundle.locale << " " << message.id;
      }
    }
  }
}

TEST(Bundles, ChoosesOneForOneAndOtherForZeroAndMore) {
  const vask_ui::EmbeddedCatalog en(bundle_table(), kSourceLocale, "en-US");
  const vask_ui::EmbeddedCatalog de(bundle_table(), kSourceLocale, "de-DE");
  struct Case {
    const char* id;
    double count;
    const char* english;
    const char* german;
  };
  const Case cases[] = {
      {"files-item-count", 0, "0 items", "0 Objekte"},
      {"files-item-count", 1, "1 item", "1 Objekt"},
      {"files-item-count", 2, "2 items", "2 Objekte"},
      {"files-archive-extracted", 0, "Extracted 0 files", "0 Dateien entpackt"},
      {"files-archive-extracted", 1, "Extracted 1 file", "1 Datei entpackt"},
      {"files-archive-extracted", 2, "Extracted 2 files", "2 Dateien entpackt"},
      {"files-undo-trash-restored", 1, "Restored 1 item", "1 Objekt wiederhergestellt"},
      {"files-undo-trash-restored", 2, "Restored 2 items", "2 Objekte wiederhergestellt"},
      {"files-empty-trash-summary", 1, "1 item will be removed from Trash.",
       "1 Objekt wird aus dem Papierkorb entfernt."},
      {"files-empty-trash-summary", 3, "All 3 items will be removed from Trash.",
       "Alle 3 Objekte werden aus dem Papierkorb entfernt."},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(en.t_args(c.id, {{"count", c.count}}), c.english) << c.id << " " << c.count;
    EXPECT_EQ(de.t_args(c.id, {{"count", c.count}}), c.german) << c.id << " " << c.count;
  }
  EXPECT_EQ(en.t_args("files-history-summary", {{"versions", 1}, {"heads", 2}}),
            "1 version, 2 current heads");
  EXPECT_EQ(en.t_args("files-replica-counts", {{"reachable", 3}, {"durable", 1}}),
            "3 reachable, 1 durable replica");
}

TEST(Bundles, FormatsNumbersInPlaceablesForTheLocale) {
  const vask_ui::EmbeddedCatalog en(bundle_table(), kSourceLocale, "en-US");
  const vask_ui::EmbeddedCatalog de(bundle_table(), kSourceLocale, "de-DE");
  EXPECT_EQ(en.t_args("files-emptied-trash", {{"count", 1000}}), "Emptied Trash (1,000)");
  EXPECT_EQ(de.t_args("files-emptied-trash", {{"count", 1000}}), "Papierkorb geleert (1.000)");
  EXPECT_EQ(en.t_args("files-nearby-offer-size", {{"bytes", 1234567}}),
            "Transfer size: 1,234,567 bytes");
  EXPECT_EQ(de.t_args("files-nearby-offer-size", {{"bytes", 1234567}}),
            "Übertragungsgröße: 1.234.567 Bytes");
  // Text arguments are inserted as they are, even when they look like numbers.
  EXPECT_EQ(en.t_args("files-selected-count", {{"base", "Copied 1000 items"}, {"count", 2}}),
            "Copied 1000 items  ·  2 selected");
}

TEST(Bundles, FollowTheLanguageOfTheEnvironment) {
  struct Case {
    const char* lang;
    const char* language;
    const char* locale;
    const char* unknown_time;
  };
  const Case cases[] = {
      {"de_DE.UTF-8", nullptr, "de-DE", "unbekannte Zeit"},
      {"en_US.UTF-8", nullptr, "en-US", "unknown time"},
      {"fr_FR.UTF-8", nullptr, "en-US", "unknown time"},
      {"fr_FR.UTF-8", "fr:de", "de-DE", "unbekannte Zeit"},
      {nullptr, nullptr, "en-US", "unknown time"},
  };
  for (const Case& c : cases) {
    files::testing::ScopedEnv lc_all("LC_ALL", nullptr);
    files::testing::ScopedEnv lc_messages("LC_MESSAGES", nullptr);
    files::testing::ScopedEnv lang("LANG", c.lang);
    files::testing::ScopedEnv language("LANGUAGE", c.language);
    const vask_ui::EmbeddedCatalog catalog(bundle_table(), kSourceLocale);
    EXPECT_EQ(catalog.current_locale(), c.locale) << (c.lang ? c.lang : "(unset)");
    EXPECT_EQ(catalog.t("files-time-unknown"), c.unknown_time) << (c.lang ? c.lang : "(unset)");
  }
}

}  // namespace
}  // namespace files::i18n
