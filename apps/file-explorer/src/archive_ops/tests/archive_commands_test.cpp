#include "archive_ops/archive_commands.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "archive_test_support.h"
#include "i18n/i18n.h"

namespace files::archive_ops {
namespace {

namespace fs = std::filesystem;
using i18n::count;
using i18n::t;
using i18n::t_args;
using testing::build_tar;
using testing::build_zip;
using testing::gzip;
using testing::names_in;
using testing::TestFolder;
using testing::write_file;

using Paths = std::vector<fs::path>;

std::string two_file_zip() {
  return build_zip({{.name = "a", .content = "1"}, {.name = "d/b", .content = "2"}});
}

TEST(ExtractSelectedArchives, NothingExtractableAsksForAnArchive) {
  TestFolder dir;
  write_file(dir / "notes.txt", "");
  write_file(dir / "notes.gz", "");
  const auto outcome = extract_selected_archives({dir / "notes.txt", dir / "notes.gz"}, dir.path());
  EXPECT_EQ(outcome.status, t("files-archive-select"));
  EXPECT_FALSE(outcome.refresh);
  EXPECT_EQ(names_in(dir.path()), (std::vector<std::string>{"notes.gz", "notes.txt"}));
}

TEST(ExtractSelectedArchives, CountsAddUpOverArchivesAndOtherEntriesAreIgnored) {
  TestFolder dir;
  write_file(dir / "one.zip", two_file_zip());
  write_file(dir / "two.tar", build_tar({{.name = "x", .content = "3"}}));
  write_file(dir / "readme.txt", "");
  const auto outcome =
      extract_selected_archives({dir / "one.zip", dir / "readme.txt", dir / "two.tar"}, dir.path());
  EXPECT_EQ(outcome.status, t_args("files-archive-extracted", {{"count", count(3)}}));
  EXPECT_TRUE(outcome.refresh);
  EXPECT_EQ(names_in(dir.path()),
            (std::vector<std::string>{"one", "one.zip", "readme.txt", "two", "two.tar"}));
}

TEST(ExtractSelectedArchives, ACorruptArchiveMakesThePartialStatusAndTheOthersStillExtract) {
  TestFolder dir;
  write_file(dir / "bad.tar.gz", "not gzip at all");
  write_file(dir / "photos.tar.gz", gzip(build_tar({{.name = "p.jpg", .content = "jpeg"}})));
  fs::create_directory(dir / "photos");
  write_file(dir / "BACKUP.ZIP", two_file_zip());
  const auto outcome = extract_selected_archives(
      {dir / "bad.tar.gz", dir / "photos.tar.gz", dir / "BACKUP.ZIP"}, dir.path());
  const std::string failures = (dir / "bad.tar.gz").string() + ": Unrecognized archive format";
  EXPECT_EQ(outcome.status, t_args("files-archive-extracted-partial",
                                   {{"count", count(3)}, {"failures", failures}}));
  EXPECT_TRUE(outcome.refresh);
  EXPECT_TRUE(fs::is_regular_file(dir / "photos 2/p.jpg"));
  EXPECT_TRUE(fs::is_regular_file(dir / "BACKUP.ZIP 2/d/b"));
  EXPECT_FALSE(fs::exists(dir / "bad"));
}

TEST(ExtractSelectedArchives, EveryFailureIsListed) {
  TestFolder dir;
  write_file(dir / "a.zip", build_zip({{.name = "../evil", .content = "x"}}));
  write_file(dir / "b.tar",
             build_tar({{.name = "ok", .content = "1"}, {.name = "ok", .content = "2"}}));
  const auto outcome = extract_selected_archives({dir / "a.zip", dir / "b.tar"}, dir.path());
  const std::string failures = (dir / "a.zip").string() +
                               ": archive entry escapes its destination; " +
                               (dir / "b.tar").string() + ": File exists";
  EXPECT_EQ(outcome.status, t_args("files-archive-extracted-partial",
                                   {{"count", count(0)}, {"failures", failures}}));
  EXPECT_EQ(names_in(dir.path()), (std::vector<std::string>{"a.zip", "b.tar"}));
}

TEST(ExtractContainingArchive, AVisibleArchiveBecomesTheOnlySelectionAndIsExtractedAsSelected) {
  TestFolder dir;
  write_file(dir / "a.zip", two_file_zip());
  Paths selection = {dir / "other", dir / "more"};
  const auto outcome =
      extract_containing_archive(dir / "a.zip", {dir / "x", dir / "a.zip"}, selection, dir.path());
  EXPECT_EQ(selection, Paths{dir / "a.zip"});
  EXPECT_EQ(outcome.status, t_args("files-archive-extracted", {{"count", count(2)}}));
  EXPECT_TRUE(outcome.refresh);
  EXPECT_TRUE(fs::is_directory(dir / "a"));
}

TEST(ExtractContainingArchive, OtherwiseItIsExtractedNextToItself) {
  TestFolder dir;
  write_file(dir / "a.zip", two_file_zip());
  write_file(dir / "bad.zip", "no zip");
  Paths selection = {dir / "a.zip/d"};
  auto outcome = extract_containing_archive(dir / "a.zip", {dir / "a.zip/d"}, selection, "/");
  EXPECT_TRUE(selection.empty());
  EXPECT_EQ(outcome.status, t_args("files-archive-extracted", {{"count", count(2)}}));
  EXPECT_TRUE(fs::is_regular_file(dir / "a/d/b"));

  outcome = extract_containing_archive(dir / "bad.zip", {}, selection, "/");
  EXPECT_EQ(outcome.status,
            t_args("files-archive-extract-failed", {{"error", "Unrecognized archive format"}}));
}

TEST(CompressSelection, NamesStatusesAndFailures) {
  TestFolder dir;
  write_file(dir / "report.txt", "report");
  write_file(dir / "notes.txt", "notes");

  auto outcome = compress_selection({}, dir.path());
  EXPECT_EQ(outcome.status, t("files-archive-select-compress"));
  EXPECT_FALSE(outcome.refresh);

  for (const char* name : {"report.zip", "report 2.zip"}) {
    outcome = compress_selection({dir / "report.txt"}, dir.path());
    EXPECT_EQ(outcome.status, t_args("files-archive-created", {{"name", name}}));
    EXPECT_TRUE(outcome.refresh);
    EXPECT_TRUE(fs::is_regular_file(dir / name));
  }
  for (const char* name : {"Archive.zip", "Archive 2.zip"}) {
    outcome = compress_selection({dir / "report.txt", dir / "notes.txt"}, dir.path());
    EXPECT_EQ(outcome.status, t_args("files-archive-created", {{"name", name}}));
  }

  outcome = compress_selection({dir / "notes.txt", dir / "gone.txt"}, dir.path());
  EXPECT_EQ(outcome.status,
            t_args("files-archive-create-failed", {{"error", "No such file or directory"}}));
  EXPECT_FALSE(outcome.refresh);
  EXPECT_EQ(names_in(dir.path()),
            (std::vector<std::string>{"Archive 2.zip", "Archive.zip", "notes.txt", "report 2.zip",
                                      "report.txt", "report.zip"}));
}

}  // namespace
}  // namespace files::archive_ops
