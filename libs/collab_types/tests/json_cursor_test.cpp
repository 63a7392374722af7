#include "json_cursor.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <set>
#include <string>
#include <vector>

namespace collab_types::detail {
namespace {

// nlohmann-json as an independent judge of JSON syntax; it keeps the last of duplicate keys,
// so duplicates are detected here and count as a refusal, as they do for our records.
class DuplicateAwareSax : public nlohmann::json_sax<nlohmann::json> {
 public:
  bool null() override { return true; }
  bool boolean(bool) override { return true; }
  bool number_integer(number_integer_t) override { return true; }
  bool number_unsigned(number_unsigned_t) override { return true; }
  bool number_float(number_float_t, const string_t&) override { return true; }
  bool string(string_t&) override { return true; }
  bool binary(binary_t&) override { return true; }
  bool start_object(std::size_t) override {
    keys_.emplace_back();
    return true;
  }
  bool key(string_t& key) override { return keys_.back().insert(key).second; }
  bool end_object() override {
    keys_.pop_back();
    return true;
  }
  bool start_array(std::size_t) override { return true; }
  bool end_array() override { return true; }
  bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) override {
    return false;
  }

 private:
  std::vector<std::set<std::string>> keys_;
};

bool reference_accepts(const std::string& text) {
  DuplicateAwareSax sax;
  try {
    return nlohmann::json::sax_parse(text, &sax);
  } catch (...) {
    return false;
  }
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
