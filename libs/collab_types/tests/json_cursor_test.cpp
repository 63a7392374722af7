#include "json_cursor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>
#include "collab_types/reference_json.h"

namespace collab_types::detail {
namespace {

bool reference_accepts(const std::string& text) {
  // Deep enough that nesting never decides these cases.
  return collab_types::testing::reference_verdict(text, 1000) ==
         collab_types::testing::JsonVerdict::Accepts;
}

bool cursor_accepts(const std::string& text) {
  JsonCursor c(text);
  return c.skip_value() && c.at_end();
}

TEST(JsonCursorTest, SyntaxAgreesWithAnIndependentParser) {
  const std::vector<std::string> texts = {"{}",
                                          "[]",
                                          " {\"a\" : [1, -2, 3.5e+2, true, false, null, \"x\"]} ",
                                          "0",
                                          "-0",
                                          "1.0",
                                          "1e5",
                                          "1E-5",
                                          "01",
                                          "1.",
                                          ".5",
                                          "-",
                                          "+1",
                                          "1e",
                                          "--1",
                                          "[1,]",
                                          "[,1]",
                                          "{\"a\":1,}",
                                          "{\"a\"}",
                                          "{a:1}",
                                          "{\"a\":1 \"b\":2}",
                                          "[1 2]",
                                          "tru",
                                          "nul",
                                          "True",
                                          "\"\\u00e9\"",
                                          "\"\\ud83d\\ude00\"",
                                          "\"\\ud83d\"",
                                          "\"\\ude00\"",
                                          "\"\\ud83d\\u0041\"",
                                          "\"\\x\"",
                                          "\"\\u12\"",
                                          "\"tab\there\"",
                                          "\"line\nbreak\"",
                                          "\"\xc3\xa9\"",
                                          "\"\xc3\"",
                                          "\"\xe0\x80\x80\"",
                                          "\"\xed\xa0\x80\"",
                                          "\"\xf4\x90\x80\x80\"",
                                          "\"\xff\"",
                                          "\"unterminated",
                                          "{\"a\":1,\"a\":2}",
                                          "{\"a\":{\"b\":1,\"b\":2}}",
                                          "{\"a\":1,\"\\u0061\":2}",
                                          "[{\"a\":1},{\"a\":1}]",
                                          "1 2",
                                          "",
                                          "   ",
                                          "[1]x",
                                          "18446744073709551615",
                                          "18446744073709551616",
                                          "\"\\/\\b\\f\\n\\r\\t\\\\\\\"\""};
  for (const auto& text : texts) {
    EXPECT_EQ(cursor_accepts(text), reference_accepts(text)) << text;
  }
}

TEST(JsonCursorTest, DeepNestingIsRefusedWithoutExhaustingTheStack) {
  const std::string deep = std::string(100000, '[') + std::string(100000, ']');
  EXPECT_FALSE(cursor_accepts(deep));
  const int depth = JsonCursor::kMaxDepth;
  EXPECT_TRUE(cursor_accepts(std::string(depth, '[') + std::string(depth, ']')));
  EXPECT_FALSE(cursor_accepts(std::string(depth + 1, '[') + std::string(depth + 1, ']')));
}

TEST(JsonCursorTest, IntegersAreStrictlyUnsigned) {
  struct Case {
    const char* text;
    bool ok;
    std::uint64_t value;
  };
  for (const Case& c : std::vector<Case>{{"0", true, 0},
                                         {"18446744073709551615", true, UINT64_MAX},
                                         {"18446744073709551616", false, 0},
                                         {"-1", false, 0},
                                         {"-0", false, 0},
                                         {"1.0", false, 0},
                                         {"1e3", false, 0},
                                         {"007", false, 0},
                                         {"\"7\"", false, 0}}) {
    JsonCursor cursor(c.text);
    std::uint64_t value = 0;
    EXPECT_EQ(cursor.read_u64(value), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(value, c.value) << c.text;
    }
  }
}

TEST(JsonCursorTest, EscapedStringsAreDecoded) {
  JsonCursor c(R"("a\u0062\n\ud83d\ude00")");
  std::string out;
  ASSERT_TRUE(c.read_string(out));
  EXPECT_EQ(out, "ab\n\xf0\x9f\x98\x80");
}

}  // namespace
}  // namespace collab_types::detail
