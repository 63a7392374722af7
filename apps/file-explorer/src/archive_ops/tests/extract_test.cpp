#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "archive_ops/extract.h"
#include "archive_ops/publish_hook.h"
#include "archive_test_support.h"

namespace files::archive_ops {
namespace {

namespace fs = std::filesystem;
using testing::build_tar;
using testing::build_zip;
using testing::gzip;
using testing::names_in;
using testing::read_file;
using testing::TestFolder;
using testing::tree_snapshot;
using testing::write_file;

using Snapshot = std::map<std::string, std::string>;

// A small tree in every supported container: two files, an empty folder, a nested file.
std::string sample_tar() {
  return build_tar({{.name = "docs/", .type = '5'},
                    {.name = "docs/a.txt", .content = "alpha"},
                    {.name = "empty/", .type = '5'},
                    {.name = "b.bin", .content = std::string("\0\1\2\3", 4)}});
}

std::string sample_zip() {
  return build_zip({{.name = "docs/", .unix_mode = 040755},
                    {.name = "docs/a.txt", .content = "alpha", .deflate = true},
                    {.name = "empty/", .unix_mode = 040755},
                    {.name = "b.bin", .content = std::string("\0\1\2\3", 4)}});
}

const Snapshot kSampleTree = {{"docs", "dir"},
                              {"docs/a.txt", "file:alpha"},
                              {"empty", "dir"},
                              {"b.bin", std::string("file:\0\1\2\3", 9)}};

TEST(Extract, EveryFormatExtractsItsFilesAndFolders) {
  struct Case {
    const char* name;
    std::string bytes;
  };
  for (const Case& c : {Case{"sample.zip", sample_zip()}, Case{"SAMPLE.ZIP", sample_zip()},
                        Case{"sample.tar", sample_tar()}, Case{"sample.tar.gz", gzip(sample_tar())},
                        Case{"sample.tgz", gzip(sample_tar())}}) {
    TestFolder dir;
    write_file(dir / c.name, c.bytes);
    auto extracted = extract_archive(dir / c.name, dir / "out");
    ASSERT_TRUE(extracted) << c.name << ": " << extracted.error();
    EXPECT_EQ(extracted->files, 2u) << c.name;  // folders do not count
    EXPECT_EQ(extracted->destination, dir / "out");
    EXPECT_EQ(tree_snapshot(dir / "out"), kSampleTree) << c.name;
    std::vector<std::string> expected = {"out", c.name};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(names_in(dir.path()), expected) << c.name;
  }
}

TEST(Extract, MemberModesAndTimesAreNotApplied) {
  TestFolder dir;
  // The header asks for an executable, set-uid file dated 2023; none of that is applied.
  write_file(dir / "t.tar", build_tar({{.name = "tool", .content = "#!/bin/sh\n", .mode = 04755}}));
  const mode_t old_mask = ::umask(022);
  auto extracted = extract_archive(dir / "t.tar", dir / "out");
  ::umask(old_mask);
  ASSERT_TRUE(extracted) << extracted.error();
  struct stat st {};
  ASSERT_EQ(::stat((dir / "out/tool").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0644u);
  EXPECT_GT(st.st_mtime, 1700000000 + 86400);
}

TEST(ExtractDestination, SuffixesAreRemovedAndTakenNamesNumbered) {
  struct Case {
    const char* archive;
    std::vector<const char*> existing;  // besides the archive itself
    const char* destination;
  };
  const std::vector<Case> cases = {
      {"photos.tar.gz", {}, "photos"},
      {"photos.tar.gz", {"photos"}, "photos 2"},
      {"photos.tar.gz", {"photos", "photos 2"}, "photos 3"},
      {"backup.zip", {}, "backup"},
      {"backup.tar", {}, "backup"},
      {"data.tgz", {}, "data.tgz 2"},  // the archive itself holds "data.tgz"
      {"BACKUP.ZIP", {}, "BACKUP.ZIP 2"},
      {"x.tar.gz.gz", {}, "x"},
      {"x.zip.tar.gz", {}, "x"},
      {"x.gz.tar", {}, "x.gz"},
      {".tar.tar", {}, "Archive"},
  };
  for (const Case& c : cases) {
    TestFolder dir;
    write_file(dir / c.archive, "");
    for (const char* name : c.existing)
      fs::create_directory(dir / name);
    EXPECT_EQ(extraction_destination(dir / c.archive, "/elsewhere"), dir / c.destination)
        << c.archive;
  }
}

TEST(ExtractDestination, AnItemOfAnyKindTakesTheName) {
  TestFolder dir;
  write_file(dir / "a.zip", "");
  fs::create_symlink("missing-target", dir / "a");  // a dangling link still takes the name
  write_file(dir / "a 2", "");
  EXPECT_EQ(extraction_destination(dir / "a.zip", "/"), dir / "a 3");
}

TEST(ExtractDestination, NameThatIsNotTextOrMissingGivesArchive) {
  TestFolder dir;
  EXPECT_EQ(extraction_destination(dir / "\xff\xfe.zip", "/"), dir / "Archive");
  // A bare name lies in the current folder.
  EXPECT_EQ(extraction_destination("photos.tar", dir.path()), dir / "photos");
}

TEST(Extract, RefusesAnExistingDestinationAndPathsWithoutParentOrName) {
  TestFolder dir;
  write_file(dir / "a.zip", sample_zip());
  fs::create_directory(dir / "taken");
  EXPECT_EQ(extract_archive(dir / "a.zip", dir / "taken").error(), kDestinationExists);
  fs::create_symlink("nowhere", dir / "dangling");
  EXPECT_EQ(extract_archive(dir / "a.zip", dir / "dangling").error(), kDestinationExists);
  EXPECT_EQ(extract_archive(dir / "a.zip", "/").error(), kDestinationExists);
  EXPECT_EQ(extract_archive(dir / "a.zip", "").error(), kDestinationNoParent);
  EXPECT_EQ(extract_archive(dir / "a.zip", dir / "new/..").error(), kDestinationNoName);
  EXPECT_TRUE(fs::is_directory(dir / "new")) << "the parent is made before the name is checked";
  EXPECT_TRUE(fs::is_empty(dir / "taken"));
}

TEST(Extract, MissingParentFoldersAreCreated) {
  TestFolder dir;
  write_file(dir / "a.zip", sample_zip());
  auto extracted = extract_archive(dir / "a.zip", dir / "x/y/out");
  ASSERT_TRUE(extracted) << extracted.error();
  EXPECT_EQ(tree_snapshot(dir / "x/y/out"), kSampleTree);
  EXPECT_EQ(names_in(dir / "x/y"), std::vector<std::string>{"out"});
}

TEST(Extract, TakenTemporaryNamesAreSkippedAndAThousandGiveUp) {
  TestFolder dir;
  write_file(dir / "a.zip", sample_zip());
  fs::create_directory(dir / temporary_folder_name("out", 0));
  write_file(dir / temporary_folder_name("out", 1), "someone else's");
  auto extracted = extract_archive(dir / "a.zip", dir / "out");
  ASSERT_TRUE(extracted) << extracted.error();
  EXPECT_EQ(tree_snapshot(dir / "out"), kSampleTree);
  EXPECT_EQ(read_file(dir / temporary_folder_name("out", 1)), "someone else's");
  EXPECT_EQ(names_in(dir.path()).size(), 4u);  // nothing of ours left besides "out"

  for (unsigned attempt = 2; attempt < kTemporaryFolderAttempts; ++attempt) {
    fs::create_directory(dir / temporary_folder_name("second", attempt));
  }
  fs::create_directory(dir / temporary_folder_name("second", 0));
  fs::create_directory(dir / temporary_folder_name("second", 1));
  const auto before = tree_snapshot(dir.path());
  EXPECT_EQ(extract_archive(dir / "a.zip", dir / "second").error(), kNoTemporaryFolder);
  EXPECT_EQ(tree_snapshot(dir.path()), before);
}

TEST(Extract, ADestinationTakenDuringExtractionIsKeptAndTheNextNumberUsed) {
  TestFolder dir;
  write_file(dir / "photos.tar.gz", gzip(sample_tar()));
  const fs::path destination = extraction_destination(dir / "photos.tar.gz", "/");
  ASSERT_EQ(destination, dir / "photos");
  std::vector<fs::path> seen;
  set_publish_hook([&](const fs::path& target) {
    seen.push_back(target);
    // Someone else creates the chosen folder, then also the next numbered one.
    if (seen.size() <= 2) write_file(target, "theirs " + std::to_string(seen.size()));
  });
  auto extracted = extract_archive(dir / "photos.tar.gz", destination);
  set_publish_hook({});
  ASSERT_TRUE(extracted) << extracted.error();
  EXPECT_EQ(seen, (std::vector<fs::path>{dir / "photos", dir / "photos 2", dir / "photos 3"}));
  EXPECT_EQ(extracted->destination, dir / "photos 3");
  EXPECT_EQ(read_file(dir / "photos"), "theirs 1");
  EXPECT_EQ(read_file(dir / "photos 2"), "theirs 2");
  EXPECT_EQ(tree_snapshot(dir / "photos 3"), kSampleTree);
  EXPECT_EQ(names_in(dir.path()),
            (std::vector<std::string>{"photos", "photos 2", "photos 3", "photos.tar.gz"}));
}

TEST(Extract, FailureHalfWayLeavesNothing) {
  struct Case {
    const char* name;
    std::string bytes;
    std::string error;
  };
  std::vector<testing::TarMember> many;
  for (int i = 0; i < 50; ++i) {
    many.push_back(
        {.name = "d" + std::to_string(i % 5) + "/f" + std::to_string(i), .content = "x"});
  }
  auto duplicate = many;
  duplicate.push_back({.name = "d0/f0", .content = "again"});
  auto through_file = many;
  through_file.push_back({.name = "d1/f1/inner", .content = "x"});
  auto folder_over_file = many;
  folder_over_file.push_back({.name = "d2/f2/", .type = '5'});
  auto file_over_folder = many;
  file_over_folder.push_back({.name = "d3", .content = "x"});
  const std::vector<Case> cases = {
      {"duplicate.tar", build_tar(duplicate), "File exists"},
      {"through-file.tar", build_tar(through_file), "Not a directory"},
      {"folder-over-file.tar.gz", gzip(build_tar(folder_over_file)), "Not a directory"},
      {"file-over-folder.tar", build_tar(file_over_folder), "File exists"},
      {"late-escape.zip",
       build_zip({{.name = "a", .content = "1"},
                  {.name = "b/c", .content = "2"},
                  {.name = "b/../../x", .content = "3"}}),
       "archive entry escapes its destination"},
  };
  for (const Case& c : cases) {
    TestFolder dir;
    write_file(dir / c.name, c.bytes);
    const auto before = tree_snapshot(dir.path());
    auto extracted = extract_archive(dir / c.name, dir / "out");
    ASSERT_FALSE(extracted) << c.name;
    EXPECT_EQ(extracted.error(), c.error) << c.name;
    EXPECT_EQ(tree_snapshot(dir.path()), before) << c.name;
  }
}

TEST(Extract, ArchiveNamesOnThingsThatAreNotFilesFailWithoutHanging) {
  TestFolder dir;
  // A FIFO nobody writes to would block a plain open for ever.
  ASSERT_EQ(::mkfifo((dir / "pipe.tar").c_str(), 0644), 0);
  fs::create_directory(dir / "folder.zip");
  const auto before = tree_snapshot(dir.path());
  EXPECT_EQ(extract_archive(dir / "pipe.tar", dir / "pipe").error(), "Unrecognized archive format");
  EXPECT_EQ(extract_archive(dir / "folder.zip", dir / "folder").error(), "Is a directory");
  EXPECT_EQ(extract_archive(dir / "missing.zip", dir / "missing").error(),
            "No such file or directory");
  EXPECT_EQ(tree_snapshot(dir.path()), before);
}

TEST(Extract, SparseTarMembersKeepTheirHoles) {
  TestFolder dir;
  write_file(dir / "s.tar", build_tar({{.name = "s",
                                        .content = "abcdeABCDE",
                                        .pax = {{"GNU.sparse.major", "0"},
                                                {"GNU.sparse.minor", "1"},
                                                {"GNU.sparse.name", "s"},
                                                {"GNU.sparse.realsize", "30"},
                                                {"GNU.sparse.map", "0,5,20,5"}}}}));
  auto extracted = extract_archive(dir / "s.tar", dir / "out");
  ASSERT_TRUE(extracted) << extracted.error();
  EXPECT_EQ(read_file(dir / "out/s"),
            "abcde" + std::string(15, '\0') + "ABCDE" + std::string(5, '\0'));
}

}  // namespace
}  // namespace files::archive_ops
