#include "model/lossy_text.h"

#include <gtest/gtest.h>

namespace files::model {
namespace {

TEST(LossyTextTest, ReplacesEachIllFormedPartOnce) {
  struct Case {
    std::string bytes;
    std::string text;
  };
  const std::string fffd = "\xef\xbf\xbd";
  for (const Case& c : std::vector<Case>{
           {"plain", "plain"},
           {"caf\xc3\xa9", "caf\xc3\xa9"},
           {"a\xffz", "a" + fffd + "z"},
           {"\xe2\x82", fffd},                               // a truncated 3-byte character
           {"\xe2\x82z", fffd + "z"},                        // ... followed by more text
           {"\xc0\xaf", fffd + fffd},                        // overlong forms are two errors
           {"\xed\xa0\x80", fffd + fffd + fffd},             // a surrogate
           {"\xf4\x90\x80\x80", fffd + fffd + fffd + fffd},  // above U+10FFFF
           {"\xf0\x9f\x98\x80\xff", "\xf0\x9f\x98\x80" + fffd},
       }) {
    EXPECT_EQ(lossy_utf8(c.bytes), c.text) << c.bytes;
    EXPECT_EQ(is_valid_utf8(c.bytes), c.bytes == c.text) << c.bytes;
  }
}

}  // namespace
}  // namespace files::model
