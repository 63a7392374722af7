#include "model/folder_listing.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/time.h>

#include <algorithm>
#include <string>

#include "model/entry_sort.h"
#include "model_test_support.h"
#include "scoped_env.h"

namespace files::model {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;
using testing::write_file;

const FileEntry* find(const std::vector<FileEntry>& entries, std::string_view name) {
  const auto it = std::find_if(entries.begin(), entries.end(),
                               [&](const FileEntry& e) { return e.name == name; });
  return it == entries.end() ? nullptr : &*it;
}

TEST(ListFolderTest, EmptyFolderIsAnEmptyList) {
  TempDir dir;
  const auto listed = list_folder(dir.path(), InWorkspace::No);
  ASSERT_TRUE(listed.has_value());
  EXPECT_TRUE(listed->empty());
}

TEST(ListFolderTest, ReadsMetadataWithoutFollowingLinks) {
  TempDir dir;
  write_file(dir / "notes.txt", "12345");
  fs::create_directory(dir / "sub");
  fs::create_symlink(dir / "sub", dir / "link-to-sub");
  fs::create_symlink(dir / "missing", dir / "dangling");
  const timeval times[2] = {{1000000000, 0}, {1000000000, 500000}};
  ASSERT_EQ(::utimes((dir / "notes.txt").c_str(), times), 0);

  const auto listed = list_folder(dir.path(), InWorkspace::No);
  ASSERT_TRUE(listed.has_value());
  ASSERT_EQ(listed->size(), 4u);
  const FileEntry* notes = find(*listed, "notes.txt");
  ASSERT_NE(notes, nullptr);
  EXPECT_EQ(notes->path, dir / "notes.txt");
  EXPECT_FALSE(notes->is_dir);
  EXPECT_EQ(notes->size, 5u);
  ASSERT_TRUE(notes->modified.has_value());
  EXPECT_EQ(to_unix_ms(*notes->modified), 1000000000500);
  EXPECT_EQ(notes->mime_type, "text/plain");

  EXPECT_TRUE(find(*listed, "sub")->is_dir);
  EXPECT_EQ(find(*listed, "sub")->mime_type, "application/octet-stream");
  const FileEntry* link = find(*listed, "link-to-sub");
  EXPECT_FALSE(link->is_dir);
  EXPECT_TRUE(link->modified.has_value());
  EXPECT_FALSE(find(*listed, "dangling")->is_dir);

  // Sorted, the link to a folder stays among the files.
  std::vector<FileEntry> sorted = *listed;
  sort_entries(sorted, SortKey::Name, SortOrder::Ascending);
  EXPECT_EQ(sorted[0].name, "sub");
  EXPECT_EQ(sorted[1].name, "dangling");
  EXPECT_EQ(sorted[2].name, "link-to-sub");
}

TEST(ListFolderTest, InvalidUtf8NamesKeepTheirExactPath) {
  TempDir dir;
  const std::string raw = "caf\xe9-\xff.txt";  // Latin-1 bytes, not UTF-8
  write_file(dir.path() / raw);
  const auto listed = list_folder(dir.path(), InWorkspace::No);
  ASSERT_TRUE(listed.has_value());
  ASSERT_EQ(listed->size(), 1u);
  EXPECT_EQ((*listed)[0].name, "caf\xef\xbf\xbd-\xef\xbf\xbd.txt");
  EXPECT_EQ((*listed)[0].path.native(), (dir.path() / raw).native());
  EXPECT_EQ((*listed)[0].mime_type, "text/plain");
  struct stat st {};
  EXPECT_EQ(::lstat((*listed)[0].path.c_str(), &st), 0);
}

TEST(ListFolderTest, MimeTypesComeFromTheLastExtension) {
  TempDir dir;
  struct Case {
    const char* name;
    bool folder;
    const char* type;
  };
  const std::vector<Case> cases = {
      {"photo.JPG", false, "image/jpeg"},
      {"archive.tar.gz", false, "application/gzip"},
      {"page.html.txt", false, "text/plain"},
      {"README", false, "application/octet-stream"},
      {".profile", false, "application/octet-stream"},
      {"trailing.", false, "application/octet-stream"},
      {"data.unknownext", false, "application/octet-stream"},
      {"caf\xc3\xa9.\xc3\xa9", false, "application/octet-stream"},
      {"album.zip", true, "application/zip"},  // folders are typed by name like files
  };
  for (const auto& c : cases) {
    if (c.folder) {
      fs::create_directory(dir / c.name);
    } else {
      write_file(dir / c.name);
    }
  }
  const auto listed = list_folder(dir.path(), InWorkspace::No);
  ASSERT_TRUE(listed.has_value());
  for (const auto& c : cases) {
    const FileEntry* e = find(*listed, c.name);
    ASSERT_NE(e, nullptr) << c.name;
    EXPECT_EQ(e->mime_type, c.type) << c.name;
    EXPECT_EQ(e->is_dir, c.folder) << c.name;
  }
}

TEST(ListFolderTest, UnreadableFolderGivesTheSystemErrorText) {
  TempDir dir;
  write_file(dir / "file");
  const auto missing = list_folder(dir / "missing", InWorkspace::No);
  ASSERT_FALSE(missing.has_value());
  EXPECT_EQ(missing.error(), "No such file or directory");
  const auto not_folder = list_folder(dir / "file", InWorkspace::No);
  ASSERT_FALSE(not_folder.has_value());
  EXPECT_EQ(not_folder.error(), "Not a directory");
}

TEST(HideDotFilesTest, RemovesDotNamesKeepingOrder) {
  TempDir dir;
  for (const char* name : {"b", ".hidden", "a", ".config"})
    write_file(dir / name);
  auto listed = list_folder(dir.path(), InWorkspace::No);
  ASSERT_TRUE(listed.has_value());
  std::vector<FileEntry> shown = *listed;
  hide_dot_files(shown);
  sort_entries(shown, SortKey::Name, SortOrder::Ascending);
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0].name, "a");
  EXPECT_EQ(shown[1].name, "b");
  // Shown again, they take their sorted places.
  sort_entries(*listed, SortKey::Name, SortOrder::Ascending);
  ASSERT_EQ(listed->size(), 4u);
  EXPECT_EQ((*listed)[0].name, ".config");
  EXPECT_EQ((*listed)[1].name, ".hidden");
}

TEST(LoadFolderEntriesTest, TrashIsCreatedOnFirstOpen) {
  TempDir home;
  files::testing::ScopedEnv data_home("XDG_DATA_HOME", (home / "data").c_str());
  const auto trash = trash_files_folder();
  ASSERT_TRUE(trash.has_value());
  EXPECT_EQ(*trash, home / "data" / "Trash" / "files");
  ASSERT_FALSE(fs::exists(*trash));
  const auto listed = load_folder_entries(*trash, [](const fs::path&) { return InWorkspace::No; });
  ASSERT_TRUE(listed.has_value()) << listed.error();
  EXPECT_TRUE(listed->empty());
  EXPECT_TRUE(fs::is_directory(*trash));
  // Other missing folders are not created.
  EXPECT_FALSE(load_folder_entries(home / "elsewhere", {}).has_value());
  EXPECT_FALSE(fs::exists(home / "elsewhere"));
}

TEST(LoadFolderEntriesTest, AsksForTheWorkspaceFlagOfTheFolder) {
  TempDir dir;
  write_file(dir / "f.txt");
  testing::set_attribute(dir / "f.txt", kSyncAttribute, "local");
  fs::path asked;
  const auto listed = load_folder_entries(dir.path(), [&](const fs::path& p) {
    asked = p;
    return InWorkspace::Yes;
  });
  ASSERT_TRUE(listed.has_value());
  EXPECT_EQ(asked, dir.path());
  ASSERT_EQ(listed->size(), 1u);
  EXPECT_EQ((*listed)[0].sync_state, SyncState::Local);
}

}  // namespace
}  // namespace files::model
