#include "fileops/file_clipboard.h"

#include <gtest/gtest.h>

#include "i18n/i18n.h"
#include "test_folder.h"

namespace files::fileops {
namespace {

using testing::names_in;
using testing::read_file;
using testing::TestFolder;
using testing::write_file;

TEST(Clipboard, CopyThenPasteTwiceIntoTheSameFolder) {
  TestFolder dir;
  write_file(dir / "a.txt", "alpha");
  FileClipboard clipboard;
  EXPECT_EQ(put_on_clipboard(clipboard, {dir / "a.txt"}, ClipboardMode::Copy),
            i18n::t_args("files-copied", {{"count", i18n::count(1)}}));

  for (const char* expected : {"a 2.txt", "a 3.txt"}) {
    auto report = paste(clipboard, dir.path());
    ASSERT_TRUE(report);
    EXPECT_EQ(paste_status(*report), i18n::t_args("files-pasted", {{"count", i18n::count(1)}}));
    EXPECT_TRUE(paste_action_result(report));
    EXPECT_EQ(read_file(dir / expected), "alpha");
  }
  EXPECT_EQ(clipboard.paths, std::vector<std::filesystem::path>{dir / "a.txt"});
}

TEST(Clipboard, CutIntoOwnFolderFailsAndStaysOnTheClipboard) {
  TestFolder dir;
  TestFolder other;
  write_file(dir / "a.txt", "alpha");
  write_file(dir / "b.txt", "beta");
  FileClipboard clipboard;
  EXPECT_EQ(put_on_clipboard(clipboard, {dir / "a.txt"}, ClipboardMode::Cut),
            i18n::t_args("files-cut", {{"count", i18n::count(1)}}));

  auto report = paste(clipboard, dir.path());
  ASSERT_TRUE(report);
  EXPECT_EQ(paste_status(*report),
            i18n::t_args("files-pasted-with-failures",
                         {{"count", i18n::count(0)}, {"failed", i18n::count(1)}}));
  EXPECT_EQ(paste_action_result(report).error(),
            "paste failed: " + (dir / "a.txt").native() + ": the item is already in this folder");
  EXPECT_EQ(clipboard.paths, std::vector<std::filesystem::path>{dir / "a.txt"});
  EXPECT_TRUE(clipboard.cut);

  // Moving elsewhere: the moved item leaves the clipboard, the missing one stays.
  put_on_clipboard(clipboard, {dir / "a.txt", dir / "gone", dir / "b.txt"}, ClipboardMode::Cut);
  report = paste(clipboard, other.path());
  ASSERT_TRUE(report);
  EXPECT_EQ(report->total, 3u);
  EXPECT_EQ(report->failures.size(), 1u);
  EXPECT_EQ(clipboard.paths, std::vector<std::filesystem::path>{dir / "gone"});
  EXPECT_EQ(names_in(other.path()), (std::vector<std::string>{"a.txt", "b.txt"}));
}

TEST(Clipboard, EmptyClipboardDoesNothing) {
  TestFolder dir;
  FileClipboard clipboard;
  EXPECT_EQ(put_on_clipboard(clipboard, {}, ClipboardMode::Copy),
            i18n::t_args("files-copied", {{"count", i18n::count(0)}}));
  auto report = paste(clipboard, dir.path());
  EXPECT_FALSE(report);
  EXPECT_EQ(paste_action_result(report).error(), "The clipboard is empty");
  EXPECT_TRUE(names_in(dir.path()).empty());
}

TEST(DropMove, SkipsItemsAlreadyThereAndFoldersOntoThemselves) {
  TestFolder dir;
  std::filesystem::create_directories(dir / "target/sub");
  write_file(dir / "a.txt", "alpha");
  write_file(dir / "target/in.txt", "in");

  auto nothing = drop_move({dir / "target/in.txt", dir / "target", dir.path()}, dir / "target");
  EXPECT_EQ(nothing.status, i18n::t("files-nothing-to-move"));
  EXPECT_FALSE(nothing.refresh());

  auto moved = drop_move({dir / "a.txt", dir / "target"}, dir / "target/sub");
  EXPECT_EQ(moved.moved, 1u);
  EXPECT_EQ(moved.status, i18n::t_args("files-moved-to-folder",
                                       {{"count", i18n::count(1)}, {"destination", "sub"}}));
  EXPECT_TRUE(moved.refresh());
  EXPECT_EQ(read_file(dir / "target/sub/a.txt"), "alpha");

  auto failed = drop_move({dir / "missing"}, dir / "target");
  EXPECT_EQ(failed.status, i18n::t_args("files-moved-with-failures", {{"moved", i18n::count(0)},
                                                                      {"destination", "target"},
                                                                      {"failed", i18n::count(1)}}));
}

}  // namespace
}  // namespace files::fileops
