#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include <vask_ui/fluent.h>

namespace vask_ui::fluent {
namespace {

// The text of a pattern that holds no placeables.
std::string plain_text(const Pattern& pattern) {
  std::string out;
  for (const PatternElement& element : pattern) {
    const auto* text = std::get_if<std::string>(&element);
    if (text == nullptr) return "<placeable>";
    out += *text;
  }
  return out;
}

std::string text_of(const Resource& resource, std::string_view id) {
  const Message* message = resource.find(id);
  return message == nullptr ? "<missing>" : plain_text(message->value);
}

TEST(FluentParser, ReadsInlineAndMultiLineValues) {
  const Resource resource = parse_resource(
      "single = One line\n"
      "spaced = Keeps  two  spaces inside   \n"
      "block =\n"
      "    Starts on the next line\n"
      "    and continues here.\n"
      "mixed = First line\n"
      "      indented further\n"
      "    back to the common indent\n"
      "\n"
      "    after a blank line\n"
      "last = end of file without newline");
  ASSERT_TRUE(resource.errors.empty()) << resource.errors.front().message;
  EXPECT_EQ(text_of(resource, "single"), "One line");
  EXPECT_EQ(text_of(resource, "spaced"), "Keeps  two  spaces inside");
  EXPECT_EQ(text_of(resource, "block"), "Starts on the next line\nand continues here.");
  EXPECT_EQ(text_of(resource, "mixed"),
            "First line\n  indented further\nback to the common indent\n\nafter a blank line");
  EXPECT_EQ(text_of(resource, "last"), "end of file without newline");
}

TEST(FluentParser, RecordsSectionsAndIgnoresComments) {
  const Resource resource = parse_resource(
      "# Resource comment.\n"
      "first = A\n"
      "## Keyboard shortcuts\n"
      "\n"
      "# A note for translators.\n"
      "second = B\n"
      "### File comment\n"
      "third = C\n"
      "## Archives\n"
      "fourth = D\n");
  ASSERT_TRUE(resource.errors.empty());
  ASSERT_EQ(resource.messages.size(), 4u);
  EXPECT_EQ(resource.messages[0].section, "");
  EXPECT_EQ(resource.messages[1].section, "Keyboard shortcuts");
  EXPECT_EQ(resource.messages[2].section, "Keyboard shortcuts");
  EXPECT_EQ(resource.messages[3].section, "Archives");
  EXPECT_EQ(resource.messages[3].line, 10u);
}

TEST(FluentParser, ReadsPlaceablesAndLiterals) {
  const Resource resource = parse_resource(
      "msg = Moved { $moved } to “{$destination}” {\"{\"}x{ \"\\u00A0\" }{ -2.50 }\n");
  ASSERT_TRUE(resource.errors.empty()) << resource.errors.front().message;
  const Pattern& value = resource.messages.at(0).value;
  ASSERT_EQ(value.size(), 9u);
  EXPECT_EQ(std::get<std::string>(value[0]), "Moved ");
  EXPECT_EQ(std::get<Placeable>(value[1]).expression.value, "moved");
  EXPECT_EQ(std::get<Placeable>(value[3]).expression.value, "destination");
  const auto& brace = std::get<Placeable>(value[5]).expression;
  EXPECT_EQ(brace.kind, InlineExpression::Kind::string_literal);
  EXPECT_EQ(brace.value, "{");
  EXPECT_EQ(std::get<Placeable>(value[7]).expression.value, "\xC2\xA0");
  const auto& number = std::get<Placeable>(value[8]).expression;
  EXPECT_EQ(number.kind, InlineExpression::Kind::number_literal);
  EXPECT_EQ(number.value, "-2.50");
  EXPECT_EQ(variables_of(value), (std::vector<std::string>{"destination", "moved"}));
}

TEST(FluentParser, ReadsSelectExpressions) {
  const Resource resource = parse_resource(
      "files-item-count = { $count } { $count ->\n"
      "    [one] item\n"
      "   *[other] items\n"
      "}\n"
      "summary = { $versions ->\n"
      "    [0] no versions\n"
      "    [one]\n"
      "        one version\n"
      "   *[other] { $versions } versions of { $name }\n"
      "}, done\n"
      "next = after\n");
  ASSERT_TRUE(resource.errors.empty()) << resource.errors.front().message;
  ASSERT_EQ(resource.messages.size(), 3u);

  const Pattern& count = resource.messages[0].value;
  ASSERT_EQ(count.size(), 3u);
  const auto& select = *std::get<Placeable>(count[2]).select;
  EXPECT_EQ(select.selector.value, "count");
  ASSERT_EQ(select.variants.size(), 2u);
  EXPECT_EQ(select.variants[0].key, "one");
  EXPECT_EQ(plain_text(select.variants[0].value), "item");
  EXPECT_EQ(select.default_index, 1u);
  EXPECT_EQ(plain_text(select.variants[1].value), "items");

  const Pattern& summary = resource.messages[1].value;
  const auto& versions = *std::get<Placeable>(summary[0]).select;
  ASSERT_EQ(versions.variants.size(), 3u);
  EXPECT_TRUE(versions.variants[0].numeric_key);
  EXPECT_EQ(plain_text(versions.variants[1].value), "one version");
  EXPECT_EQ(std::get<std::string>(summary[1]), ", done");
  EXPECT_EQ(variables_of(summary), (std::vector<std::string>{"name", "versions"}));
  EXPECT_EQ(selects_of(summary).size(), 1u);
  EXPECT_EQ(text_of(resource, "next"), "after");
}

TEST(FluentParser, SkipsMalformedEntriesAndKeepsTheRest) {
  struct Case {
    const char* name;
    const char* entry;
  };
  const Case cases[] = {
      {"missing equals", "broken value\n"},
      {"no value", "broken =\n"},
      {"unclosed placeable", "broken = { $name\n"},
      {"stray closing brace", "broken = a } b\n"},
      {"no default variant", "broken = { $n ->\n    [one] a\n    [other] b\n}\n"},
      {"two defaults", "broken = { $n ->\n   *[one] a\n   *[other] b\n}\n"},
      {"variants on the selector line", "broken = { $n -> [one] a }\n"},
      {"message reference", "broken = { other }\n"},
      {"term", "-brand = Vask\n"},
      {"attribute", "broken = value\n    .title = Title\n"},
      {"unterminated string", "broken = { \"abc }\n"},
      {"not an identifier", "%broken = value\n"},
  };
  for (const Case& c : cases) {
    const Resource resource = parse_resource(std::string("before = A\n") + c.entry + "after = B\n");
    EXPECT_EQ(resource.errors.size(), 1u) << c.name;
    EXPECT_EQ(resource.find("broken"), nullptr) << c.name;
    EXPECT_EQ(text_of(resource, "before"), "A") << c.name;
    EXPECT_EQ(text_of(resource, "after"), "B") << c.name;
    if (!resource.errors.empty()) {
      EXPECT_EQ(resource.errors[0].line, 2u) << c.name;
    }
  }
}

TEST(FluentParser, KeepsTheFirstOfDuplicateIds) {
  const Resource resource = parse_resource("same = first\nsame = second\n");
  ASSERT_EQ(resource.errors.size(), 1u);
  EXPECT_EQ(resource.errors[0].line, 2u);
  ASSERT_EQ(resource.messages.size(), 1u);
  EXPECT_EQ(text_of(resource, "same"), "first");
}

TEST(FluentParser, AcceptsWindowsLineEnds) {
  const Resource resource = parse_resource("a = one\r\n    two\r\nb = three\r\n");
  ASSERT_TRUE(resource.errors.empty());
  EXPECT_EQ(text_of(resource, "a"), "one\ntwo");
  EXPECT_EQ(text_of(resource, "b"), "three");
}

}  // namespace
}  // namespace vask_ui::fluent
