// Items trashed here are listed and restored by Debian's trash-cli, and the other way round.
#include <unistd.h>

#include <cstdio>

#include <gtest/gtest.h>

#include "fileops/trash.h"
#include "fileops/trash_commands.h"
#include "test_folder.h"

namespace files::fileops {
namespace {

using testing::names_in;
using testing::read_file;
using testing::ScopedEnv;
using testing::TestFolder;
using testing::write_file;

std::string shell_quote(const std::string& text) {
  std::string quoted = "'";
  for (const char c : text) {
    if (c == '\'') {
      quoted += "'\\''";
    } else {
      quoted += c;
    }
  }
  return quoted + "'";
}

/// Runs a shell command and returns its standard output; the exit status goes to `status`.
std::string run(const std::string& command, int& status) {
  std::string output;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) {
    status = -1;
    return output;
  }
  char buffer[4096];
  std::size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
    output.append(buffer, got);
  status = ::pclose(pipe);
  return output;
}

class TrashCliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* tool :
         {"/usr/bin/trash-put", "/usr/bin/trash-list", "/usr/bin/trash-restore"}) {
      if (::access(tool, X_OK) != 0) GTEST_SKIP() << "trash-cli is not installed";
    }
  }

  /// Runs a trash-cli tool against the private Trash.
  std::string trash_cli(const std::string& arguments, int& status) {
    return run("XDG_DATA_HOME=" + shell_quote(data_.path().native()) + " " + arguments +
                   " 2>&1 </dev/null",
               status);
  }

  TestFolder data_;
  TestFolder work_;
  // Our side finds the Trash the same way trash-cli does.
  ScopedEnv env_{"XDG_DATA_HOME", data_.path().native()};
};

TEST_F(TrashCliTest, TrashCliListsAndRestoresWhatWeTrashed) {
  const auto item = work_ / "Caf\xC3\xA9 menu 100%.txt";
  write_file(item, "espresso");
  std::filesystem::create_directories(work_ / "folder/sub");
  write_file(work_ / "folder/sub/inner", "inner");
  auto trash = Trash::home();
  ASSERT_TRUE(trash);
  ASSERT_EQ(trash->root(), data_ / "Trash");
  ASSERT_TRUE(trash->trash({item, work_ / "folder"}));

  int status = 0;
  const std::string listing = trash_cli("trash-list", status);
  EXPECT_EQ(status, 0) << listing;
  EXPECT_NE(listing.find(item.native()), std::string::npos) << listing;
  EXPECT_NE(listing.find((work_ / "folder").native()), std::string::npos) << listing;

  for (const auto& path : {item, work_ / "folder"}) {
    const std::string output = run("cd " + shell_quote(work_.path().native()) + " && echo 0 | " +
                                       "XDG_DATA_HOME=" + shell_quote(data_.path().native()) +
                                       " trash-restore " + shell_quote(path.native()) + " 2>&1",
                                   status);
    EXPECT_EQ(status, 0) << output;
  }
  EXPECT_EQ(read_file(item), "espresso");
  EXPECT_EQ(read_file(work_ / "folder/sub/inner"), "inner");
  EXPECT_TRUE(names_in(trash->files_dir()).empty());
  EXPECT_TRUE(names_in(trash->info_dir()).empty());
}

TEST_F(TrashCliTest, WeListAndRestoreWhatTrashCliTrashed) {
  const auto first = work_ / "r\xC3\xA9sum\xC3\xA9 #1.txt";
  write_file(first, "first");
  int status = 0;
  std::string output = trash_cli("trash-put " + shell_quote(first.native()), status);
  ASSERT_EQ(status, 0) << output;
  write_file(first, "second");
  output = trash_cli("trash-put " + shell_quote(first.native()), status);
  ASSERT_EQ(status, 0) << output;
  EXPECT_FALSE(std::filesystem::exists(first));

  auto trash = Trash::home();
  ASSERT_TRUE(trash);
  auto items = trash->list();
  ASSERT_TRUE(items) << items.error();
  ASSERT_EQ(items->size(), 2u);
  for (const auto& item : *items)
    EXPECT_EQ(item.original_path, first);

  // Both came from one place: restoring both at once is refused, one at a time works.
  std::optional<TrashUndo> undo;
  std::vector<std::filesystem::path> entries;
  for (const auto& item : *items)
    entries.push_back(trash->files_dir() / item.trash_name);
  EXPECT_NE(restore_selection(*trash, entries, undo).status, std::nullopt);
  EXPECT_FALSE(std::filesystem::exists(first));
  ASSERT_TRUE(trash->restore({items->front()}));
  const std::string restored = read_file(first);
  EXPECT_TRUE(restored == "first" || restored == "second") << restored;
  EXPECT_EQ(trash->list()->size(), 1u);

  // Our own next trashing of that name picks a name trash-cli has not used.
  ASSERT_TRUE(trash->trash({first}));
  EXPECT_EQ(trash->list()->size(), 2u);
  output = trash_cli("trash-list", status);
  EXPECT_EQ(status, 0) << output;
  EXPECT_EQ(std::count(output.begin(), output.end(), '\n'), 2) << output;
}

}  // namespace
}  // namespace files::fileops
