#include "fileops/trash_info.h"

#include <gtest/gtest.h>

#include <regex>

namespace files::fileops {
namespace {

TEST(TrashInfo, PathsArePercentEncodedAndDecodeBack) {
  const std::string raw = "/home/ann/My Files/r\xC3\xA9sum\xC3\xA9 100%.txt\xFF";
  const std::string encoded = percent_encode_path(raw);
  EXPECT_EQ(encoded, "/home/ann/My%20Files/r%C3%A9sum%C3%A9%20100%25.txt%FF");
  EXPECT_EQ(percent_decode(encoded), raw);
  EXPECT_EQ(percent_encode_path("/a-b_c.d~e"), "/a-b_c.d~e");
  EXPECT_FALSE(percent_decode("/broken%2"));
  EXPECT_FALSE(percent_decode("/broken%zz"));
}

TEST(TrashInfo, RecordHasTheGroupPathAndLocalDate) {
  const std::string date = format_deletion_date(0);
  EXPECT_TRUE(std::regex_match(date, std::regex(R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d)"))) << date;
  const std::string record = format_trash_info("/tmp/a b", "2024-05-06T07:08:09");
  EXPECT_EQ(record, "[Trash Info]\nPath=/tmp/a%20b\nDeletionDate=2024-05-06T07:08:09\n");
  auto parsed = parse_trash_info(record, "/unused");
  ASSERT_TRUE(parsed);
  EXPECT_EQ(parsed->original_path, "/tmp/a b");
  EXPECT_EQ(parsed->deletion_date, "2024-05-06T07:08:09");
}

TEST(TrashInfo, ParsingToleratesOtherWritersAndRejectsBrokenRecords) {
  auto relative = parse_trash_info(
      "[Trash Info]\r\nPath=docs/x\r\nDeletionDate=2020-01-01T00:00:00\r\n", "/mnt/volume");
  ASSERT_TRUE(relative);
  EXPECT_EQ(relative->original_path, "/mnt/volume/docs/x");
  auto later_group =
      parse_trash_info("# comment\n[Other]\nPath=/wrong\n[Trash Info]\nPath=/right\n", "/");
  ASSERT_TRUE(later_group);
  EXPECT_EQ(later_group->original_path, "/right");
  EXPECT_FALSE(parse_trash_info("Path=/no/group\n", "/"));
  EXPECT_FALSE(parse_trash_info("[Trash Info]\nDeletionDate=2020-01-01T00:00:00\n", "/"));
  EXPECT_FALSE(parse_trash_info("[Trash Info]\nPath=/bad%4\n", "/"));
}

}  // namespace
}  // namespace files::fileops
