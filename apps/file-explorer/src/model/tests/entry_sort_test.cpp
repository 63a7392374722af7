#include "model/entry_sort.h"

#include <gtest/gtest.h>
#include <unicode/ucasemap.h>

#include <string>
#include <vector>

namespace files::model {
namespace {

FileEntry entry(std::string name, bool is_dir = false) {
  FileEntry e;
  e.name = std::move(name);
  e.path = "/f/" + e.name;
  e.is_dir = is_dir;
  return e;
}

std::vector<std::string> names(const std::vector<FileEntry>& entries) {
  std::vector<std::string> out;
  for (const auto& e : entries)
    out.push_back(e.name);
  return out;
}

std::vector<std::string> sorted_names(std::vector<FileEntry> entries, SortKey key,
                                      SortOrder order) {
  sort_entries(entries, key, order);
  return names(entries);
}

using Names = std::vector<std::string>;

TEST(EntrySortTest, NameIgnoresCaseAndKeepsFoldersFirst) {
  const std::vector<FileEntry> entries = {entry("B"), entry("zdir", true), entry("a"), entry("C"),
                                          entry("Adir", true)};
  EXPECT_EQ(sorted_names(entries, SortKey::Name, SortOrder::Ascending),
            (Names{"Adir", "zdir", "a", "B", "C"}));
  EXPECT_EQ(sorted_names(entries, SortKey::Name, SortOrder::Descending),
            (Names{"zdir", "Adir", "C", "B", "a"}));
}

TEST(EntrySortTest, NamesEqualIgnoringCaseKeepTheirOrderInBothDirections) {
  const std::vector<FileEntry> entries = {entry("b"), entry("README"), entry("a"), entry("readme"),
                                          entry("ReadMe")};
  EXPECT_EQ(sorted_names(entries, SortKey::Name, SortOrder::Ascending),
            (Names{"a", "b", "README", "readme", "ReadMe"}));
  EXPECT_EQ(sorted_names(entries, SortKey::Name, SortOrder::Descending),
            (Names{"README", "readme", "ReadMe", "b", "a"}));
}

TEST(EntrySortTest, NameUsesTheFullLowerCaseMappingComparedAsBytes) {
  // "É" lowers to "é" (0xC3 0xA9), which sorts after every ASCII letter; no collation, no
  // numeric order ("10" before "9").
  EXPECT_EQ(sorted_names(
                {entry("Éclair"), entry("zebra"), entry("eclair"), entry("file10"), entry("file9")},
                SortKey::Name, SortOrder::Ascending),
            (Names{"eclair", "file10", "file9", "zebra", "Éclair"}));
  EXPECT_EQ(name_sort_key("ÀÉÎ"), "àéî");
  EXPECT_EQ(name_sort_key("İ"), "i\xcc\x87");  // the full mapping: i + COMBINING DOT ABOVE
  EXPECT_EQ(name_sort_key("ΟΔΟΣ"), "οδος");    // final sigma
  EXPECT_EQ(name_sort_key("\xef\xbf\xbd"), "\xef\xbf\xbd");
}

// The Latin-1 shortcut must give exactly what ICU's full mapping gives.
TEST(EntrySortTest, NameKeysMatchIcuForEveryLatin1Character) {
  UErrorCode status = U_ZERO_ERROR;
  UCaseMap* map = ucasemap_open("", 0, &status);
  ASSERT_TRUE(U_SUCCESS(status));
  for (unsigned cp = 1; cp < 0x100; ++cp) {
    std::string name = "Ab";
    if (cp < 0x80) {
      name.push_back(static_cast<char>(cp));
    } else {
      name.push_back(static_cast<char>(0xC0 | (cp >> 6)));
      name.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
    name += "Z";
    char lower[32];
    status = U_ZERO_ERROR;
    const int32_t n = ucasemap_utf8ToLower(map, lower, sizeof lower, name.data(),
                                           static_cast<int32_t>(name.size()), &status);
    ASSERT_TRUE(U_SUCCESS(status));
    EXPECT_EQ(name_sort_key(name), std::string(lower, static_cast<std::size_t>(n)))
        << "U+" << std::hex << cp;
  }
  ucasemap_close(map);
}

TEST(EntrySortTest, AbsentTimesComeFirstAscendingAndLastDescendingAfterFolders) {
  auto timed = [](std::string name, std::optional<std::int64_t> seconds, bool dir = false) {
    FileEntry e = entry(std::move(name), dir);
    if (seconds) e.modified = FileTime(std::chrono::seconds(*seconds));
    return e;
  };
  const std::vector<FileEntry> entries = {timed("new", 300), timed("none1", std::nullopt),
                                          timed("old", -5), timed("dir", std::nullopt, true),
                                          timed("none2", std::nullopt)};
  EXPECT_EQ(sorted_names(entries, SortKey::Modified, SortOrder::Ascending),
            (Names{"dir", "none1", "none2", "old", "new"}));
  EXPECT_EQ(sorted_names(entries, SortKey::Modified, SortOrder::Descending),
            (Names{"dir", "new", "old", "none1", "none2"}));
}

TEST(EntrySortTest, SizeAndType) {
  auto sized = [](std::string name, std::uint64_t size, std::string type) {
    FileEntry e = entry(std::move(name));
    e.size = size;
    e.mime_type = std::move(type);
    return e;
  };
  const std::vector<FileEntry> entries = {
      sized("a", 10, "text/plain"), sized("b", UINT64_MAX, "image/png"),
      sized("c", 0, "Text/plain"), sized("d", 10, "application/zip")};
  EXPECT_EQ(sorted_names(entries, SortKey::Size, SortOrder::Ascending),
            (Names{"c", "a", "d", "b"}));
  EXPECT_EQ(sorted_names(entries, SortKey::Size, SortOrder::Descending),
            (Names{"b", "a", "d", "c"}));
  // Case-sensitive byte order: "Text" before "application".
  EXPECT_EQ(sorted_names(entries, SortKey::Type, SortOrder::Ascending),
            (Names{"c", "d", "b", "a"}));
}

TEST(EntrySortTest, ALinkToAFolderSortsAmongTheFiles) {
  // A listed link to a folder is not a folder (is_dir comes from the link's own metadata).
  const std::vector<FileEntry> entries = {entry("b.txt"), entry("a-link"), entry("z", true)};
  EXPECT_EQ(sorted_names(entries, SortKey::Name, SortOrder::Ascending),
            (Names{"z", "a-link", "b.txt"}));
}

TEST(EntrySortTest, LongSharedPrefixesStillCompareFully) {
  const std::vector<FileEntry> entries = {entry("report-2024-b"), entry("REPORT-2024-a"),
                                          entry("report-2024"), entry("report")};
  EXPECT_EQ(sorted_names(entries, SortKey::Name, SortOrder::Ascending),
            (Names{"report", "report-2024", "REPORT-2024-a", "report-2024-b"}));
}

TEST(EntrySortTest, EmptyAndSingleLists) {
  std::vector<FileEntry> none;
  sort_entries(none, SortKey::Name, SortOrder::Ascending);
  EXPECT_TRUE(none.empty());
  EXPECT_EQ(sorted_names({entry("x")}, SortKey::Type, SortOrder::Descending), (Names{"x"}));
}

}  // namespace
}  // namespace files::model
