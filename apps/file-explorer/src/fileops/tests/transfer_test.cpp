#include "fileops/transfer.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "fileops/remove.h"
#include "fileops/seams.h"
#include "i18n/i18n.h"
#include "test_folder.h"

namespace files::fileops {
namespace {

using testing::has_transfer_leftovers;
using testing::names_in;
using testing::read_file;
using testing::TestFolder;
using testing::tree_snapshot;
using testing::write_file;

std::vector<std::string> names(std::initializer_list<const char*> list) {
  return {list.begin(), list.end()};
}

TEST(Transfer, CopyIntoOwnFolderTakesTheNextNumber) {
  TestFolder dir;
  write_file(dir / "a.txt", "alpha");
  write_file(dir / "archive.tar.gz", "tgz");
  write_file(dir / ".bashrc", "rc");

  EXPECT_EQ(copy_into(dir / "a.txt", dir.path()).value(), dir / "a 2.txt");
  EXPECT_EQ(copy_into(dir / "a.txt", dir.path()).value(), dir / "a 3.txt");
  EXPECT_EQ(copy_into(dir / "archive.tar.gz", dir.path()).value(), dir / "archive.tar 2.gz");
  EXPECT_EQ(copy_into(dir / ".bashrc", dir.path()).value(), dir / ".bashrc 2");
  EXPECT_EQ(read_file(dir / "a 3.txt"), "alpha");
  EXPECT_EQ(names_in(dir.path()), names({".bashrc", ".bashrc 2", "a 2.txt", "a 3.txt", "a.txt",
                                         "archive.tar 2.gz", "archive.tar.gz"}));
}

TEST(Transfer, MoveIntoTheFolderThatHoldsTheItemIsRefused) {
  TestFolder dir;
  write_file(dir / "a.txt", "alpha");
  auto moved = move_into(dir / "a.txt", dir.path());
  ASSERT_FALSE(moved);
  EXPECT_EQ(moved.error(), "the item is already in this folder");
  EXPECT_EQ(names_in(dir.path()), names({"a.txt"}));
}

TEST(Transfer, FolderNeverGoesIntoItselfButIntoItsParent) {
  TestFolder dir;
  std::filesystem::create_directories(dir / "project/sub");
  write_file(dir / "project/sub/file", "x");
  std::filesystem::create_directory_symlink(dir / "project/sub", dir / "alias");

  for (const auto& destination : {dir / "project", dir / "project/sub", dir / "alias"}) {
    for (const auto mode : {TransferMode::Copy, TransferMode::Move}) {
      auto result = transfer(dir / "project", destination, mode);
      ASSERT_FALSE(result) << destination;
      EXPECT_EQ(result.error(), "cannot copy or move a folder into itself");
    }
  }
  EXPECT_EQ(copy_into(dir / "project", dir.path()).value(), dir / "project 2");
  EXPECT_EQ(tree_snapshot(dir / "project 2"), tree_snapshot(dir / "project"));
}

TEST(Transfer, DanglingLinkCountsAsTaken) {
  TestFolder src;
  TestFolder dst;
  write_file(src / "a.txt", "alpha");
  std::filesystem::create_symlink(dst / "nowhere", dst / "a.txt");
  EXPECT_EQ(copy_into(src / "a.txt", dst.path()).value(), dst / "a 2.txt");
  EXPECT_TRUE(std::filesystem::is_symlink(dst / "a.txt"));
  EXPECT_EQ(read_file(dst / "a 2.txt"), "alpha");
}

TEST(Transfer, LinksAreCopiedAsLinksAndTheFolderCheckIgnoresThem) {
  TestFolder dir;
  std::filesystem::create_directories(dir / "folder/inner");
  write_file(dir / "folder/inner/f", "data");
  // A link to the folder that holds it: copying it into that folder must not recurse.
  std::filesystem::create_directory_symlink("..", dir / "folder/inner/up");
  std::filesystem::create_directory_symlink("folder", dir / "folder-link");
  std::filesystem::create_symlink("does/not/exist", dir / "dangling");

  auto copied_link = copy_into(dir / "folder-link", dir / "folder");
  ASSERT_TRUE(copied_link) << copied_link.error();
  EXPECT_TRUE(std::filesystem::is_symlink(*copied_link));
  EXPECT_EQ(std::filesystem::read_symlink(*copied_link), "folder");

  auto copied_dangling = copy_into(dir / "dangling", dir / "folder");
  ASSERT_TRUE(copied_dangling) << copied_dangling.error();
  EXPECT_EQ(std::filesystem::read_symlink(*copied_dangling), "does/not/exist");

  TestFolder other;
  auto tree = copy_into(dir / "folder", other.path());
  ASSERT_TRUE(tree) << tree.error();
  EXPECT_EQ(std::filesystem::read_symlink(other / "folder/inner/up"), "..");
  EXPECT_EQ(tree_snapshot(other / "folder"), tree_snapshot(dir / "folder"));
}

TEST(Transfer, PermissionBitsContentAndEmptyFoldersCarryOver) {
  TestFolder src;
  TestFolder dst;
  std::filesystem::create_directories(src / "tree/empty");
  std::filesystem::create_directories(src / "tree/locked");
  write_file(src / "tree/locked/secret", "s");
  testing::write_pattern_file(src / "tree/big.bin", 9 * 1024 * 1024 + 17);
  write_file(src / "tree/script.sh", "#!/bin/sh\n");
  ::chmod((src / "tree/script.sh").c_str(), 0751);
  ::chmod((src / "tree/locked/secret").c_str(), 0400);
  ::chmod((src / "tree/locked").c_str(), 0500);

  auto copied = copy_into(src / "tree", dst.path());
  ASSERT_TRUE(copied) << copied.error();
  EXPECT_EQ(tree_snapshot(dst / "tree"), tree_snapshot(src / "tree"));
  EXPECT_FALSE(has_transfer_leftovers(dst.path()));
}

TEST(Transfer, SpecialFilesAreRefused) {
  TestFolder src;
  TestFolder dst;
  ASSERT_EQ(::mkfifo((src / "pipe").c_str(), 0600), 0);
  auto copied = copy_into(src / "pipe", dst.path());
  ASSERT_FALSE(copied);
  EXPECT_EQ(copied.error(), "source type changed during copy");
  EXPECT_TRUE(names_in(dst.path()).empty());
}

TEST(Transfer, MissingSourceAndNamelessSourceFail) {
  TestFolder dir;
  auto missing = copy_into(dir / "missing", dir.path());
  ASSERT_FALSE(missing);
  EXPECT_EQ(missing.error(), "No such file or directory");
  auto nameless = copy_into(dir / "..", dir.path());
  ASSERT_FALSE(nameless);
  // ".." is a folder, and the destination lies inside it.
  EXPECT_EQ(nameless.error(), "cannot copy or move a folder into itself");
}

TEST(Transfer, AllNineThousandNineHundredNinetyNineNamesTaken) {
  TestFolder src;
  TestFolder dst;
  write_file(src / "f.txt", "mine");
  write_file(dst / "f.txt", "");
  for (int n = 2; n <= 9999; ++n)
    write_file(dst / ("f " + std::to_string(n) + ".txt"), "");
  const auto before = tree_snapshot(dst.path());
  const std::string exhausted = i18n::t_args("files-destination-names-exhausted",
                                             {{"name", "f.txt"}, {"path", dst.path().native()}});

  auto copied = copy_into(src / "f.txt", dst.path());
  ASSERT_FALSE(copied);
  EXPECT_EQ(copied.error(), exhausted);
  EXPECT_EQ(tree_snapshot(dst.path()), before);

  // A move tries the staged copy too, finds no name to publish under, and gives the source back.
  auto moved = move_into(src / "f.txt", dst.path());
  ASSERT_FALSE(moved);
  EXPECT_EQ(moved.error(), exhausted);
  EXPECT_EQ(read_file(src / "f.txt"), "mine");
  EXPECT_EQ(names_in(src.path()), names({"f.txt"}));
  EXPECT_EQ(tree_snapshot(dst.path()), before);
}

TEST(Transfer, SameFileSystemMoveIsOneRename) {
  TestFolder src;
  TestFolder dst;
  std::filesystem::create_directories(src / "folder/sub");
  write_file(src / "folder/sub/f", "x");
  struct stat before {};
  ASSERT_EQ(::lstat((src / "folder").c_str(), &before), 0);
  auto moved = move_into(src / "folder", dst.path());
  ASSERT_TRUE(moved) << moved.error();
  struct stat after {};
  ASSERT_EQ(::lstat(moved->c_str(), &after), 0);
  EXPECT_EQ(after.st_ino, before.st_ino) << "a rename keeps the inode; a copy would not";
  EXPECT_FALSE(std::filesystem::exists(src / "folder"));
}

TEST(Transfer, FailedFastRenameFallsBackToTheStagedCopy) {
  TestFolder src;
  TestFolder dst;
  std::filesystem::create_directories(src / "folder/sub");
  write_file(src / "folder/sub/f", "payload");
  const auto expected = tree_snapshot(src / "folder");
  int fast_renames = 0;
  ScopedFaultHook hook([&](FaultPoint point, const std::filesystem::path&) {
    if (point != FaultPoint::FastRename) return 0;
    ++fast_renames;
    return EPERM;  // as a file system that refuses the flag or the rename would
  });
  auto moved = move_into(src / "folder", dst.path());
  ASSERT_TRUE(moved) << moved.error();
  EXPECT_EQ(fast_renames, 1);
  EXPECT_EQ(*moved, dst / "folder");
  EXPECT_EQ(tree_snapshot(*moved), expected);
  EXPECT_TRUE(names_in(src.path()).empty()) << "source and quarantine are gone";
  EXPECT_FALSE(has_transfer_leftovers(dst.path()));
}

TEST(Transfer, CrossFileSystemMoveLeavesNoTemporaryItems) {
  TestFolder on_root("/tmp");
  TestFolder on_shm("/dev/shm");
  if (!testing::on_different_file_systems(on_root.path(), on_shm.path())) {
    GTEST_SKIP() << "/tmp and /dev/shm are one file system here";
  }
  std::filesystem::create_directories(on_root / "docs/nested");
  write_file(on_root / "docs/nested/a.txt", "alpha");
  testing::write_pattern_file(on_root / "docs/blob", 3 * 1024 * 1024);
  std::filesystem::create_symlink("nested/a.txt", on_root / "docs/link");
  write_file(on_shm / "docs", "taken");
  const auto expected = tree_snapshot(on_root / "docs");

  auto there = move_into(on_root / "docs", on_shm.path());
  ASSERT_TRUE(there) << there.error();
  EXPECT_EQ(*there, on_shm / "docs 2");
  EXPECT_EQ(tree_snapshot(*there), expected);
  EXPECT_TRUE(names_in(on_root.path()).empty());
  EXPECT_FALSE(has_transfer_leftovers(on_shm.path()));

  auto back = move_into(*there, on_root.path());
  ASSERT_TRUE(back) << back.error();
  EXPECT_EQ(*back, on_root / "docs 2");
  EXPECT_EQ(tree_snapshot(*back), expected);
  EXPECT_EQ(names_in(on_shm.path()), names({"docs"}));
  EXPECT_EQ(names_in(on_root.path()), names({"docs 2"}));
  EXPECT_FALSE(has_transfer_leftovers(on_root.path()));
}

TEST(RemoveIfExists, RemovesTreesAndLinksButNeverFollowsThem) {
  TestFolder dir;
  std::filesystem::create_directories(dir / "keep/inner");
  write_file(dir / "keep/inner/f", "x");
  std::filesystem::create_directory_symlink(dir / "keep", dir / "link");
  std::filesystem::create_directories(dir / "tree/a/b");
  write_file(dir / "tree/a/b/c", "x");
  std::filesystem::create_directory_symlink(dir / "keep", dir / "tree/a/link-inside");

  EXPECT_TRUE(remove_if_exists(dir / "missing"));
  EXPECT_TRUE(remove_if_exists(dir / "link"));
  EXPECT_TRUE(remove_if_exists(dir / "tree"));
  EXPECT_EQ(names_in(dir.path()), names({"keep"}));
  EXPECT_EQ(read_file(dir / "keep/inner/f"), "x");
}

}  // namespace
}  // namespace files::fileops
