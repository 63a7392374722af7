#include "fileops/item_name.h"

#include <gtest/gtest.h>

namespace files::fileops {
namespace {

struct CandidateCase {
  std::string base;
  unsigned n;
  std::string expected;
};

TEST(NameCandidates, NumbersGoBeforeTheLastExtension) {
  const CandidateCase cases[] = {
      {"report.pdf", 1, "report.pdf"},       {"report.pdf", 2, "report 2.pdf"},
      {"report.pdf", 3, "report 3.pdf"},     {"archive.tar.gz", 2, "archive.tar 2.gz"},
      {".bashrc", 2, ".bashrc 2"},           {"Notes", 2, "Notes 2"},
      {"Notes", 9999, "Notes 9999"},         {"notes.", 2, "notes 2."},
      {".config.json", 2, ".config 2.json"}, {"New Folder", 3, "New Folder 3"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(NameCandidates(c.base).candidate(c.n), c.expected) << c.base << " #" << c.n;
  }
}

TEST(ItemPath, FileNameAndParentFollowComponentsNotCharacters) {
  EXPECT_FALSE(item_file_name("/"));
  EXPECT_FALSE(item_file_name(""));
  EXPECT_FALSE(item_file_name("/a/.."));
  EXPECT_EQ(*item_file_name("/a/b/"), "b");
  EXPECT_EQ(*item_file_name("/a/b/."), "b");
  EXPECT_FALSE(item_parent("/"));
  EXPECT_EQ(*item_parent("/a"), "/");
  EXPECT_EQ(*item_parent("/a/b//"), "/a");
  EXPECT_EQ(*item_parent("a"), ".");
}

TEST(ItemPath, InsideComparesWholeComponents) {
  EXPECT_TRUE(is_same_or_inside("/a/b", "/a/b"));
  EXPECT_TRUE(is_same_or_inside("/a/b/c", "/a/b/"));
  EXPECT_TRUE(is_same_or_inside("/anything", "/"));
  EXPECT_FALSE(is_same_or_inside("/a/bc", "/a/b"));
  EXPECT_FALSE(is_same_or_inside("/a", "/a/b"));
  EXPECT_FALSE(is_same_or_inside("a/b", "/a"));
}

TEST(LossyText, InvalidSequencesBecomeReplacementCharacters) {
  EXPECT_EQ(lossy_utf8("caf\xC3\xA9"), "caf\xC3\xA9");
  EXPECT_EQ(lossy_utf8("caf\xE9.txt"), "caf\xEF\xBF\xBD.txt");
  // A truncated three-byte sequence is one maximal invalid part, so one replacement.
  EXPECT_EQ(lossy_utf8("a\xE2\x82z"), "a\xEF\xBF\xBDz");
  // Encoded surrogates are not UTF-8.
  EXPECT_EQ(lossy_utf8("\xED\xA0\x80"), "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD");
}

TEST(TrimWhitespace, TrimsUnicodeSpaceOnBothEnds) {
  EXPECT_EQ(trim_unicode_whitespace("  Notes\t\n"), "Notes");
  // NO-BREAK SPACE, IDEOGRAPHIC SPACE and LINE SEPARATOR count as white space.
  EXPECT_EQ(trim_unicode_whitespace("\xC2\xA0Notes 2\xE3\x80\x80\xE2\x80\xA8"), "Notes 2");
  EXPECT_EQ(trim_unicode_whitespace(" \xE3\x80\x80 "), "");
  // ZERO WIDTH SPACE is not white space by Unicode's definition.
  EXPECT_EQ(trim_unicode_whitespace("\xE2\x80\x8Bx"), "\xE2\x80\x8Bx");
}

}  // namespace
}  // namespace files::fileops
