#include "fileops/names.h"

#include <gtest/gtest.h>

#include "fileops/seams.h"
#include "i18n/i18n.h"
#include "test_folder.h"

namespace files::fileops {
namespace {

using testing::names_in;
using testing::read_file;
using testing::TestFolder;
using testing::write_file;

TEST(ValidateName, TrimsAndRefusesWhatIsNotOneName) {
  struct Case {
    std::string text;
    std::optional<std::string> name;  // nullopt: the error below
    std::string error_id;
  };
  const Case cases[] = {
      {"  Notes  ", "Notes", ""},
      {"\xC2\xA0"
       "Caf\xC3\xA9"
       "\xE3\x80\x80",
       "Caf\xC3\xA9", ""},
      {"...", "...", ""},
      {".hidden", ".hidden", ""},
      {"", std::nullopt, "files-name-empty"},
      {" \t\n ", std::nullopt, "files-name-empty"},
      {"a/b", std::nullopt, "files-name-slash"},
      {"/", std::nullopt, "files-name-slash"},
      {" .. ", std::nullopt, "files-name-slash"},
      {".", std::nullopt, "files-name-slash"},
  };
  for (const auto& c : cases) {
    auto result = validate_name(c.text);
    if (c.name) {
      ASSERT_TRUE(result) << c.text;
      EXPECT_EQ(*result, *c.name);
    } else {
      ASSERT_FALSE(result) << c.text;
      EXPECT_EQ(result.error(), i18n::t(c.error_id)) << c.text;
    }
  }
}

TEST(CreateFolder, TakesTheNextFreeNumberedName) {
  TestFolder dir;
  std::filesystem::create_directory(dir / "New Folder");
  std::filesystem::create_directory(dir / "New Folder 2");
  auto created = create_folder(dir.path(), "New Folder");
  ASSERT_TRUE(created) << created.error();
  EXPECT_EQ(*created, dir / "New Folder 3");
  EXPECT_TRUE(std::filesystem::is_directory(*created));

  auto made = new_folder(dir.path());
  ASSERT_TRUE(made) << made.error();
  EXPECT_EQ(made->status, i18n::t("files-created-folder"));
  EXPECT_EQ(made->path.parent_path(), dir.path());
  EXPECT_TRUE(std::filesystem::is_directory(made->path));
}

TEST(CreateFolder, RefusesBadNamesAndLeavesNothingBehind) {
  TestFolder dir;
  EXPECT_EQ(create_folder(dir.path(), "   ").error(), i18n::t("files-folder-name-empty"));
  EXPECT_EQ(create_folder(dir.path(), "a/b").error(), i18n::t("files-name-slash"));
  EXPECT_EQ(create_folder(dir.path(), "..").error(), i18n::t("files-name-slash"));
  EXPECT_EQ(create_folder(dir / "missing", "x").error(), "No such file or directory");
  EXPECT_TRUE(names_in(dir.path()).empty());
  auto failed = new_folder(dir / "missing");
  ASSERT_FALSE(failed);
  EXPECT_EQ(failed.error(),
            i18n::t_args("files-new-folder-failed", {{"error", "No such file or directory"}}));
}

TEST(RenameItem, RenamesAndRefusesTakenNames) {
  TestFolder dir;
  write_file(dir / "readme", "mine");
  write_file(dir / "README", "other");
  std::filesystem::create_symlink("readme", dir / "pointer");

  // Case-sensitive file system with both names taken: nothing is replaced.
  auto taken = rename_item(dir / "readme", "README");
  ASSERT_FALSE(taken);
  EXPECT_EQ(taken.error(), i18n::t_args("files-name-exists", {{"name", "README"}}));
  // A link at the target is someone else's item even when it points back here.
  auto link = rename_item(dir / "readme", "pointer");
  ASSERT_FALSE(link);
  EXPECT_EQ(link.error(), i18n::t_args("files-name-exists", {{"name", "pointer"}}));
  EXPECT_EQ(read_file(dir / "README"), "other");

  std::filesystem::remove(dir / "README");
  EXPECT_EQ(rename_item(dir / "readme", "README").value(), dir / "README");
  EXPECT_EQ(read_file(dir / "README"), "mine");
  EXPECT_EQ(rename_item(dir / "README", " README ").value(), dir / "README");
  EXPECT_EQ(rename_item("/", "x").error(), i18n::t("files-no-parent"));
  EXPECT_EQ(rename_item(dir / "gone", "x").error(), "No such file or directory");
}

TEST(RenameItem, TargetCreatedBetweenCheckAndRenameIsNeverReplaced) {
  TestFolder dir;
  write_file(dir / "draft.txt", "mine");
  ScopedFaultHook hook([&](FaultPoint point, const std::filesystem::path& target) {
    // Another program saves a file under the new name right after our look.
    if (point == FaultPoint::RenameItemCheck) write_file(target, "theirs");
    return 0;
  });
  auto renamed = rename_item(dir / "draft.txt", "final.txt");
  ASSERT_FALSE(renamed);
  EXPECT_EQ(renamed.error(), i18n::t_args("files-name-exists", {{"name", "final.txt"}}));
  EXPECT_EQ(read_file(dir / "final.txt"), "theirs");
  EXPECT_EQ(read_file(dir / "draft.txt"), "mine");
}

TEST(CommitRename, SilentCancelsFailuresThatStayOpenAndSuccess) {
  TestFolder dir;
  write_file(dir / "Notes", "n");
  const auto item = dir / "Notes";

  EXPECT_EQ(commit_rename(item, "Notes", "  Notes  ").kind, RenameCommit::Kind::Cancelled);
  EXPECT_EQ(commit_rename(item, "Notes", "   ").kind, RenameCommit::Kind::Cancelled);
  for (const char* text : {"a/b", ".."}) {
    auto failed = commit_rename(item, "Notes", text);
    EXPECT_EQ(failed.kind, RenameCommit::Kind::Failed) << text;
    EXPECT_EQ(failed.status,
              i18n::t_args("files-rename-failed", {{"error", i18n::t("files-name-slash")}}));
  }
  auto renamed = commit_rename(item, "Notes", " Ideas ");
  EXPECT_EQ(renamed.kind, RenameCommit::Kind::Renamed);
  EXPECT_EQ(renamed.status, i18n::t("files-renamed"));
  EXPECT_EQ(renamed.new_path, dir / "Ideas");
  EXPECT_EQ(names_in(dir.path()), std::vector<std::string>{"Ideas"});

  EXPECT_EQ(rename_action(dir / "Ideas", std::nullopt).error(), "missing new file name");
  EXPECT_EQ(rename_action(dir / "Ideas", "Plans").value(), dir / "Plans");
}

}  // namespace
}  // namespace files::fileops
