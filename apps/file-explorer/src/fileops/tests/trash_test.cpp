#include "fileops/trash.h"

#include <algorithm>
#include <regex>

#include <gtest/gtest.h>

#include "fileops/seams.h"
#include "fileops/trash_commands.h"
#include "i18n/i18n.h"
#include "test_folder.h"

namespace files::fileops {
namespace {

using testing::names_in;
using testing::read_file;
using testing::TestFolder;
using testing::write_file;

std::string counted(const char* id, std::size_t n) {
  return i18n::t_args(id, {{"count", i18n::count(n)}});
}

/// A Trash of its own and a folder to delete from, both on the root file system.
class TrashTest : public ::testing::Test {
 protected:
  TestFolder data_;
  TestFolder work_;
  Trash trash_{data_ / "Trash"};
  std::optional<TrashUndo> undo_;

  /// Makes the Trash exist, as it does after the first use.
  void prime_trash() {
    write_file(work_ / "primer", "p");
    ASSERT_TRUE(trash_.trash({work_ / "primer"}));
  }
};

TEST_F(TrashTest, TrashWritesRecordsOtherProgramsCanRead) {
  const auto item = work_ / "r\xC3\xA9sum\xC3\xA9 final.txt";
  write_file(item, "cv");
  ASSERT_TRUE(trash_.trash({item}));
  EXPECT_EQ(names_in(trash_.files_dir()),
            std::vector<std::string>{"r\xC3\xA9sum\xC3\xA9 final.txt"});
  const std::string record =
      read_file(trash_.info_dir() / "r\xC3\xA9sum\xC3\xA9 final.txt.trashinfo");
  const std::string encoded_folder = work_.path().native();  // letters, digits, "/" and "-"
  EXPECT_TRUE(std::regex_match(
      record,
      std::regex("\\[Trash Info\\]\nPath=" + encoded_folder +
                 "/r%C3%A9sum%C3%A9%20final\\.txt\nDeletionDate=\\d{4}-\\d\\d-\\d\\dT\\d\\d:"
                 "\\d\\d:\\d\\d\n")))
      << record;
  auto items = trash_.list();
  ASSERT_TRUE(items);
  ASSERT_EQ(items->size(), 1u);
  EXPECT_EQ(items->front().original_path, item);
  EXPECT_EQ(items->front().trash_name, "r\xC3\xA9sum\xC3\xA9 final.txt");

  EXPECT_TRUE(is_trash_folder(trash_, trash_.files_dir()));
  EXPECT_TRUE(is_trash_folder(trash_, trash_.files_dir().native() + "/"));
  // Inside a trashed folder the explorer is not "in Trash".
  EXPECT_FALSE(is_trash_folder(trash_, trash_.files_dir() / "folder"));
  EXPECT_FALSE(is_trash_folder(trash_, trash_.root()));
}

TEST_F(TrashTest, UndoOfTwoItemsRestoresBothOnce) {
  prime_trash();
  write_file(work_ / "a.txt", "a");
  std::filesystem::create_directories(work_ / "folder/sub");
  const std::vector<std::filesystem::path> paths{work_ / "a.txt", work_ / "folder"};
  auto trashed = move_to_trash(trash_, paths, undo_);
  EXPECT_EQ(trashed.status, counted("files-moved-to-trash", 2));
  EXPECT_TRUE(trashed.refresh);
  ASSERT_TRUE(undo_);
  auto recorded = undo_->names;
  std::sort(recorded.begin(), recorded.end());
  EXPECT_EQ(recorded, (std::vector<std::string>{"a.txt", "folder"}));
  EXPECT_EQ(names_in(work_.path()), std::vector<std::string>{});

  auto undone = undo_trash(trash_, undo_);
  EXPECT_EQ(undone.status, counted("files-undo-trash-restored", 2));
  EXPECT_TRUE(undone.refresh);
  EXPECT_EQ(names_in(work_.path()), (std::vector<std::string>{"a.txt", "folder"}));
  EXPECT_TRUE(std::filesystem::is_directory(work_ / "folder/sub"));
  EXPECT_FALSE(undo_);

  EXPECT_EQ(undo_trash(trash_, undo_).status, i18n::t("files-undo-trash-unavailable"));
}

TEST_F(TrashTest, NoUndoWhenTheTrashDidNotExistBefore) {
  write_file(work_ / "a.txt", "a");
  undo_ = TrashUndo{{"stale"}};
  auto trashed = move_to_trash(trash_, {work_ / "a.txt"}, undo_);
  EXPECT_EQ(trashed.status, counted("files-moved-to-trash", 1));
  EXPECT_FALSE(undo_) << "the previous record is replaced by none";
  EXPECT_EQ(names_in(trash_.files_dir()), std::vector<std::string>{"a.txt"});
}

TEST_F(TrashTest, UndoAfterTheTrashWasEmptiedElsewhere) {
  prime_trash();
  write_file(work_ / "a.txt", "a");
  move_to_trash(trash_, {work_ / "a.txt"}, undo_);
  ASSERT_TRUE(undo_);
  // Another program empties the Trash.
  std::filesystem::remove_all(trash_.root());
  EXPECT_EQ(undo_trash(trash_, undo_).status, i18n::t("files-undo-trash-unavailable"));
  EXPECT_FALSE(undo_);
}

TEST_F(TrashTest, NameAlreadyInTheTrashGetsAnotherAndUndoFindsIt) {
  prime_trash();
  write_file(work_ / "a.txt", "first");
  move_to_trash(trash_, {work_ / "a.txt"}, undo_);
  write_file(work_ / "a.txt", "second");
  move_to_trash(trash_, {work_ / "a.txt"}, undo_);
  ASSERT_TRUE(undo_);
  EXPECT_EQ(undo_->names, std::vector<std::string>{"a 2.txt"});

  EXPECT_EQ(undo_trash(trash_, undo_).status, counted("files-undo-trash-restored", 1));
  EXPECT_EQ(read_file(work_ / "a.txt"), "second");
  EXPECT_EQ(read_file(trash_.files_dir() / "a.txt"), "first");
}

TEST_F(TrashTest, RestoreRefusesOccupiedLocationsAndDuplicateTargets) {
  write_file(work_ / "a.txt", "first");
  ASSERT_TRUE(trash_.trash({work_ / "a.txt"}));
  write_file(work_ / "a.txt", "new");

  auto occupied = restore_selection(trash_, {trash_.files_dir() / "a.txt"}, undo_);
  ASSERT_TRUE(occupied.status);
  EXPECT_EQ(*occupied.status,
            i18n::t_args("files-restore-failed",
                         {{"error", "cannot restore “a.txt”: “" + (work_ / "a.txt").native() +
                                        "” already exists"}}));
  EXPECT_EQ(read_file(work_ / "a.txt"), "new");
  EXPECT_EQ(read_file(trash_.files_dir() / "a.txt"), "first");

  // Two items from one place: restoring both at once is refused before anything moves.
  ASSERT_TRUE(trash_.trash({work_ / "a.txt"}));
  auto both = restore_selection(
      trash_, {trash_.files_dir() / "a.txt", trash_.files_dir() / "a 2.txt"}, undo_);
  EXPECT_EQ(*both.status, i18n::t_args("files-restore-failed",
                                       {{"error", "cannot restore two items to “" +
                                                      (work_ / "a.txt").native() + "”"}}));
  EXPECT_EQ(names_in(trash_.files_dir()), (std::vector<std::string>{"a 2.txt", "a.txt"}));

  auto one = restore_selection(trash_, {trash_.files_dir() / "a 2.txt"}, undo_);
  EXPECT_EQ(one.status, counted("files-restored", 1));
  EXPECT_EQ(read_file(work_ / "a.txt"), "new");
  EXPECT_EQ(names_in(trash_.info_dir()), std::vector<std::string>{"a.txt.trashinfo"});
}

TEST_F(TrashTest, RestoreRecreatesMissingParentFolders) {
  std::filesystem::create_directories(work_ / "deep/er");
  write_file(work_ / "deep/er/f", "f");
  ASSERT_TRUE(trash_.trash({work_ / "deep/er/f"}));
  std::filesystem::remove_all(work_ / "deep");
  auto restored = restore_selection(trash_, {trash_.files_dir() / "f"}, undo_);
  EXPECT_EQ(restored.status, counted("files-restored", 1));
  EXPECT_EQ(read_file(work_ / "deep/er/f"), "f");
}

TEST_F(TrashTest, PermanentDeleteOfThree) {
  std::vector<std::filesystem::path> in_trash;
  for (const char* name : {"one", "two", "three"}) {
    write_file(work_ / name, name);
    ASSERT_TRUE(trash_.trash({work_ / name}));
    in_trash.push_back(trash_.files_dir() / name);
  }
  write_file(work_ / "keep", "k");
  ASSERT_TRUE(trash_.trash({work_ / "keep"}));
  // An entry without a record is skipped and not counted.
  write_file(trash_.files_dir() / "orphan", "o");
  in_trash.push_back(trash_.files_dir() / "orphan");

  const auto panel = permanent_delete_confirmation(3);
  EXPECT_EQ(panel.title, counted("files-permanent-delete-title", 3));
  EXPECT_EQ(panel.summary, counted("files-permanent-delete-summary", 3));
  EXPECT_EQ(panel.details, std::vector<std::string>{i18n::t("files-permanent-delete-loss")});
  EXPECT_EQ(panel.confirm, i18n::t("files-permanent-delete-confirm"));

  undo_ = TrashUndo{{"x"}};
  auto purged = purge_paths(trash_, in_trash, undo_);
  EXPECT_EQ(purged.status, counted("files-permanently-deleted", 3));
  EXPECT_FALSE(undo_);
  EXPECT_EQ(names_in(trash_.files_dir()), (std::vector<std::string>{"keep", "orphan"}));
  EXPECT_EQ(names_in(trash_.info_dir()), std::vector<std::string>{"keep.trashinfo"});
}

TEST_F(TrashTest, EmptyTrash) {
  const auto request = empty_trash_request(0);
  EXPECT_EQ(request.status, i18n::t("files-trash-already-empty"));
  EXPECT_FALSE(request.confirmation);
  EXPECT_EQ(empty_trash(trash_, undo_).status, i18n::t("files-trash-already-empty"));

  write_file(work_ / "a", "a");
  std::filesystem::create_directories(work_ / "b/c");
  ASSERT_TRUE(trash_.trash({work_ / "a", work_ / "b"}));
  const auto panel = empty_trash_request(2);
  ASSERT_TRUE(panel.confirmation);
  EXPECT_FALSE(panel.status);
  EXPECT_EQ(panel.confirmation->title, i18n::t("files-empty-trash-title"));
  EXPECT_EQ(panel.confirmation->summary, counted("files-empty-trash-summary", 2));
  EXPECT_EQ(panel.confirmation->confirm, i18n::t("files-empty-trash-confirm"));
  EXPECT_EQ(empty_trash(trash_, undo_).status, counted("files-emptied-trash", 2));
  EXPECT_TRUE(names_in(trash_.files_dir()).empty());
  EXPECT_TRUE(names_in(trash_.info_dir()).empty());
}

TEST_F(TrashTest, FailedMoveToTrashKeepsTheUndoRecordAndNothingIsLost) {
  prime_trash();
  write_file(work_ / "a.txt", "a");
  undo_ = TrashUndo{{"primer"}};
  auto failed = move_to_trash(trash_, {work_ / "missing"}, undo_);
  ASSERT_TRUE(failed.status);
  EXPECT_TRUE(failed.status->starts_with(i18n::t_args("files-delete-failed", {{"error", ""}})));
  ASSERT_TRUE(undo_);
  EXPECT_EQ(undo_->names, std::vector<std::string>{"primer"});

  ScopedFaultHook hook([](FaultPoint point, const std::filesystem::path&) {
    return point == FaultPoint::TrashMove ? EIO : 0;
  });
  EXPECT_FALSE(trash_.trash({work_ / "a.txt"}));
  EXPECT_EQ(read_file(work_ / "a.txt"), "a");
  EXPECT_EQ(names_in(trash_.info_dir()), std::vector<std::string>{"primer.trashinfo"})
      << "the reserved record goes when the item stays";
}

TEST_F(TrashTest, TrashIsNeverTrashedIntoItself) {
  prime_trash();
  EXPECT_FALSE(trash_.trash({trash_.files_dir() / "primer"}));
  EXPECT_FALSE(trash_.trash({data_.path()}));
  EXPECT_EQ(names_in(trash_.files_dir()), std::vector<std::string>{"primer"});
}

TEST(TrashAcrossFileSystems, ItemIsCopiedCompletelyBeforeTheSourceGoes) {
  TestFolder data("/tmp");
  TestFolder work("/dev/shm");
  if (!testing::on_different_file_systems(data.path(), work.path())) {
    GTEST_SKIP() << "/tmp and /dev/shm are one file system here";
  }
  Trash trash(data / "Trash");
  std::filesystem::create_directories(work / "docs/sub");
  testing::write_pattern_file(work / "docs/sub/blob", 5 * 1024 * 1024);
  std::filesystem::create_symlink("sub/blob", work / "docs/link");
  const auto expected = testing::tree_snapshot(work / "docs");

  {
    // A write failing during the copy: the original stays and the Trash gains nothing.
    int writes = 0;
    ScopedFaultHook hook([&](FaultPoint point, const std::filesystem::path&) {
      return point == FaultPoint::CopyWrite && ++writes == 1 ? ENOSPC : 0;
    });
    EXPECT_FALSE(trash.trash({work / "docs"}));
    EXPECT_EQ(testing::tree_snapshot(work / "docs"), expected);
    EXPECT_TRUE(names_in(trash.files_dir()).empty());
    EXPECT_TRUE(names_in(trash.info_dir()).empty());
    EXPECT_TRUE(names_in(trash.root()) == (std::vector<std::string>{"files", "info"}));
  }

  ASSERT_TRUE(trash.trash({work / "docs"}));
  EXPECT_FALSE(std::filesystem::exists(work / "docs"));
  EXPECT_EQ(testing::tree_snapshot(trash.files_dir() / "docs"), expected);
  EXPECT_EQ(names_in(trash.root()), (std::vector<std::string>{"files", "info"}));

  std::optional<TrashUndo> undo;
  auto restored = restore_selection(trash, {trash.files_dir() / "docs"}, undo);
  EXPECT_EQ(restored.status, counted("files-restored", 1));
  EXPECT_EQ(testing::tree_snapshot(work / "docs"), expected);
  EXPECT_FALSE(testing::has_transfer_leftovers(work.path()));
}

}  // namespace
}  // namespace files::fileops
