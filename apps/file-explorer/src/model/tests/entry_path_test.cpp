#include <gtest/gtest.h>

#include "model/entry_path.h"

// An entry's path compared with any other path must mean what path's own equality means, even
// though it compares bytes where it can.

namespace files::model {
namespace {

TEST(EntryPath, EqualityWithAPathMatchesThePathsOwn) {
  const std::pair<const char*, const char*> cases[] = {
      {"/a/b", "/a/b"},     {"/a//b", "/a/b"}, {"/a/b", "/a//b"}, {"/a/b/", "/a/b"},
      {"/a/./b", "/a/b"},   {"/a/b", "/a/c"},  {"a/b", "/a/b"},   {"//a", "/a"},
      {"/a///b/", "/a/b/"}, {"", ""},          {"/", "//"},
  };
  for (const auto& [left, right] : cases) {
    SCOPED_TRACE(std::string(left) + " vs " + right);
    const bool expected = std::filesystem::path(left) == std::filesystem::path(right);
    EXPECT_EQ(EntryPath(left) == std::filesystem::path(right), expected);
  }
}

TEST(EntryPath, KeepsTheBytesAndMakesThePathOnRequest) {
  const std::string bytes = "/srv/caf\xE9/report.final.txt";  // not UTF-8: kept as it is
  EntryPath path(bytes);
  EXPECT_EQ(path.native(), bytes);
  EXPECT_EQ(path.filename(), "report.final.txt");
  EXPECT_EQ(path.extension(), ".txt");
  EXPECT_EQ(path.parent_path(), std::filesystem::path("/srv/caf\xE9"));
  EXPECT_EQ(path / "x", std::filesystem::path(bytes + "/x"));
  std::filesystem::path converted = path;
  EXPECT_EQ(converted.native(), bytes);
}

}  // namespace
}  // namespace files::model
