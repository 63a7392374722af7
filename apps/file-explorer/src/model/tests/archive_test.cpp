#include "model/archive_reader.h"

#include <archive.h>
#include <archive_entry.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <vector>

#include "model/folder_listing.h"
#include "model_test_support.h"

namespace files::model {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;
using testing::write_file;

enum class Kind { File, Folder, Symlink, Hardlink };

struct Member {
  std::string name;
  Kind kind = Kind::File;
  std::string data;
  std::string target;  ///< for links
};

// Writes a real archive with libarchive's writer, in the format its name asks for.
void write_archive(const fs::path& path, const std::vector<Member>& members) {
  archive* a = archive_write_new();
  const ArchiveFormat format = archive_format_for(path);
  if (format == ArchiveFormat::Zip) {
    archive_write_set_format_zip(a);
  } else {
    archive_write_set_format_pax_restricted(a);
    if (format == ArchiveFormat::TarGzip) archive_write_add_filter_gzip(a);
  }
  ASSERT_EQ(archive_write_open_filename(a, path.c_str()), ARCHIVE_OK) << archive_error_string(a);
  archive_entry* e = archive_entry_new();
  for (const auto& m : members) {
    archive_entry_clear(e);
    archive_entry_set_pathname(e, m.name.c_str());
    archive_entry_set_mtime(e, 1700000000, 0);
    switch (m.kind) {
      case Kind::File:
        archive_entry_set_filetype(e, AE_IFREG);
        archive_entry_set_perm(e, 0644);
        archive_entry_set_size(e, static_cast<la_int64_t>(m.data.size()));
        break;
      case Kind::Folder:
        archive_entry_set_filetype(e, AE_IFDIR);
        archive_entry_set_perm(e, 0755);
        break;
      case Kind::Symlink:
        archive_entry_set_filetype(e, AE_IFLNK);
        archive_entry_set_perm(e, 0777);
        archive_entry_set_symlink(e, m.target.c_str());
        break;
      case Kind::Hardlink:
        archive_entry_set_filetype(e, AE_IFREG);
        archive_entry_set_perm(e, 0644);
        archive_entry_set_hardlink(e, m.target.c_str());
        break;
    }
    ASSERT_EQ(archive_write_header(a, e), ARCHIVE_OK) << m.name << ": " << archive_error_string(a);
    if (m.kind == Kind::File && !m.data.empty()) {
      ASSERT_EQ(archive_write_data(a, m.data.data(), m.data.size()),
                static_cast<la_ssize_t>(m.data.size()));
    }
  }
  archive_entry_free(e);
  ASSERT_EQ(archive_write_close(a), ARCHIVE_OK);
  archive_write_free(a);
}

// A GNU tar whose members declare any size: the size field is written in base-256 and the
// data is left as a hole, so a 16 GiB member costs a few blocks of disk.
void write_sparse_tar(const fs::path& path,
                      const std::vector<std::pair<std::string, std::uint64_t>>& members) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  ASSERT_GE(fd, 0) << std::strerror(errno);
  std::uint64_t offset = 0;
  for (const auto& [name, size] : members) {
    char h[512] = {};
    std::memcpy(h, name.data(), std::min<std::size_t>(name.size(), 99));
    std::memcpy(h + 100, "0000644", 7);
    std::memcpy(h + 108, "0000000", 7);
    std::memcpy(h + 116, "0000000", 7);
    h[124] = static_cast<char>(0x80);
    for (int i = 0; i < 8; ++i)
      h[135 - i] = static_cast<char>((size >> (8 * i)) & 0xFF);
    std::memcpy(h + 136, "14500000000", 11);
    h[156] = '0';
    std::memcpy(h + 257, "ustar  ", 8);  // GNU magic and version
    std::memset(h + 148, ' ', 8);
    unsigned sum = 0;
    for (unsigned char c : h)
      sum += c;
    std::snprintf(h + 148, 8, "%06o", sum);
    ASSERT_EQ(::pwrite(fd, h, sizeof h, static_cast<off_t>(offset)), 512);
    offset += 512 + (size + 511) / 512 * 512;
  }
  // Two zero blocks end the archive; everything between headers stays a hole.
  ASSERT_EQ(::ftruncate(fd, static_cast<off_t>(offset + 1024)), 0);
  ::close(fd);
}

std::vector<std::string> paths_of(const std::vector<ArchiveMember>& members) {
  std::vector<std::string> out;
  for (const auto& m : members)
    out.push_back(m.path.string() + (m.is_dir ? "/" : ""));
  return out;
}

using Paths = std::vector<std::string>;

TEST(ArchiveNamesTest, SupportedNamesAndFormats) {
  struct Case {
    const char* name;
    bool supported;
    ArchiveFormat format;
  };
  for (const Case& c : std::vector<Case>{
           {"BACKUP.ZIP", true, ArchiveFormat::Zip},
           {"notes.gz", false, ArchiveFormat::TarGzip},
           {"photos.tar.gz", true, ArchiveFormat::TarGzip},
           {"PHOTOS.TAR.GZ", true, ArchiveFormat::TarGzip},
           {"data.tgz", true, ArchiveFormat::TarGzip},
           {"plain.tar", true, ArchiveFormat::Tar},
           {"tar.gz", false, ArchiveFormat::TarGzip},
           {".zip", false, ArchiveFormat::Tar},
           {"a.tar.bz2", false, ArchiveFormat::Tar},
           {"zip", false, ArchiveFormat::Tar},
       }) {
    EXPECT_EQ(is_supported_archive(fs::path("/home/u") / c.name), c.supported) << c.name;
    EXPECT_EQ(archive_format_for(c.name), c.format) << c.name;
  }
}

TEST(ArchiveContainingTest, WalksUpToTheNearestArchiveFile) {
  TempDir dir;
  write_file(dir / "a.zip", "not read here");
  fs::create_symlink(dir / "a.zip", dir / "link.zip");
  fs::create_directory(dir / "folder.zip");
  write_file(dir / "notes.gz");

  EXPECT_EQ(archive_containing(dir / "a.zip/docs/x.txt"),
            (ArchiveLocation{dir / "a.zip", "docs/x.txt"}));
  EXPECT_EQ(archive_containing(dir / "a.zip/docs"), (ArchiveLocation{dir / "a.zip", "docs"}));
  EXPECT_EQ(archive_containing(dir / "link.zip/x"), (ArchiveLocation{dir / "link.zip", "x"}));
  EXPECT_EQ(archive_containing(dir / "a.zip"), std::nullopt);
  EXPECT_EQ(archive_containing(dir / "folder.zip/x"), std::nullopt);
  EXPECT_EQ(archive_containing(dir / "notes.gz/x"), std::nullopt);
  EXPECT_EQ(archive_containing(dir / "missing.zip/x"), std::nullopt);
  EXPECT_EQ(archive_containing("/"), std::nullopt);
  // The folder view also opens the archive file itself, as its top-level folder.
  EXPECT_EQ(archive_view_location(dir / "a.zip"), (ArchiveLocation{dir / "a.zip", ""}));
  EXPECT_EQ(archive_view_location(dir.path()), std::nullopt);
}

TEST(ArchiveMembersTest, ListsEveryFormatSkippingLinks) {
  TempDir dir;
  const std::vector<Member> members = {
      {"docs/", Kind::Folder},
      {"docs/x.txt", Kind::File, "hello"},
      {"./a/./b.txt", Kind::File, "b"},
      {"link", Kind::Symlink, "", "docs/x.txt"},
      {"caf\xc3\xa9.txt", Kind::File, "123"},
  };
  for (const char* name : {"one.zip", "two.tar", "three.tar.gz", "four.TGZ"}) {
    write_archive(dir / name, members);
    const auto listed = list_archive_members(dir / name);
    ASSERT_TRUE(listed.has_value()) << name << ": " << listed.error();
    EXPECT_EQ(paths_of(*listed), (Paths{"docs/", "docs/x.txt", "a/b.txt", "caf\xc3\xa9.txt"}))
        << name;
    EXPECT_EQ((*listed)[1].size, 5u) << name;
    EXPECT_EQ((*listed)[3].size, 3u) << name;
  }
  write_archive(dir / "hard.tar",
                {{"f.txt", Kind::File, "x"}, {"hard", Kind::Hardlink, "", "f.txt"}});
  const auto hard = list_archive_members(dir / "hard.tar");
  ASSERT_TRUE(hard.has_value());
  EXPECT_EQ(paths_of(*hard), (Paths{"f.txt"}));
}

TEST(ArchiveMembersTest, HostileNamesFailTheWholeListing) {
  TempDir dir;
  struct Case {
    const char* name;
    const char* error;
  };
  for (const Case& c : std::vector<Case>{
           {"../evil", "archive entry escapes its destination"},
           {"docs/../../evil", "archive entry escapes its destination"},
           {"/etc/passwd", "archive entry escapes its destination"},
           {"./", "empty archive entry"},
           {".", "empty archive entry"},
       }) {
    for (const char* archive : {"x.zip", "x.tar"}) {
      write_archive(dir / archive, {{"fine.txt", Kind::File, "ok"}, {c.name, Kind::File, "x"}});
      const auto listed = list_archive_members(dir / archive);
      ASSERT_FALSE(listed.has_value()) << c.name << " in " << archive;
      EXPECT_EQ(listed.error(), c.error) << c.name << " in " << archive;
    }
  }
}

TEST(ArchiveMembersTest, SanitisingRebuildsPlainComponents) {
  EXPECT_EQ(sanitize_member_name("./a/./b.txt"), fs::path("a/b.txt"));
  EXPECT_EQ(sanitize_member_name("a//b/"), fs::path("a/b"));
  EXPECT_EQ(sanitize_member_name("a..b/..c"), fs::path("a..b/..c"));
  EXPECT_EQ(sanitize_member_name(""), std::unexpected(std::string(kArchiveEntryEmpty)));
  EXPECT_EQ(sanitize_member_name("a/.."), std::unexpected(std::string(kArchiveEntryEscapes)));
}

TEST(ArchiveMembersTest, AtMostOneHundredThousandMembers) {
  TempDir dir;
  std::vector<Member> members;
  for (int i = 0; i < 100000; ++i)
    members.push_back({"m" + std::to_string(i)});
  write_archive(dir / "full.tar.gz", members);
  const auto full = list_archive_members(dir / "full.tar.gz");
  ASSERT_TRUE(full.has_value()) << full.error();
  EXPECT_EQ(full->size(), 100000u);

  // Links do not count towards the limit.
  members.push_back({"link", Kind::Symlink, "", "m0"});
  write_archive(dir / "links.tar.gz", members);
  EXPECT_TRUE(list_archive_members(dir / "links.tar.gz").has_value());

  members.push_back({"one-more"});
  write_archive(dir / "over.tar.gz", members);
  const auto over = list_archive_members(dir / "over.tar.gz");
  ASSERT_FALSE(over.has_value());
  EXPECT_EQ(over.error(), "archive has too many entries");
}

TEST(ArchiveMembersTest, DeclaredSizesAtMostSixteenGibibytes) {
  TempDir dir;
  constexpr std::uint64_t kGiB16 = 17179869184;
  write_sparse_tar(dir / "exact.tar", {{"big", kGiB16}});
  const auto exact = list_archive_members(dir / "exact.tar");
  ASSERT_TRUE(exact.has_value()) << exact.error();
  ASSERT_EQ(exact->size(), 1u);
  EXPECT_EQ((*exact)[0].size, kGiB16);

  write_sparse_tar(dir / "sum.tar", {{"a", kGiB16 - 1}, {"b", 1}, {"empty", 0}});
  EXPECT_TRUE(list_archive_members(dir / "sum.tar").has_value());

  for (const auto& members : std::vector<std::vector<std::pair<std::string, std::uint64_t>>>{
           {{"big", kGiB16 + 1}}, {{"a", kGiB16 - 1}, {"b", 2}}}) {
    write_sparse_tar(dir / "over.tar", members);
    const auto over = list_archive_members(dir / "over.tar");
    ASSERT_FALSE(over.has_value());
    EXPECT_EQ(over.error(), "archive expands beyond the safety limit");
  }
}

TEST(ArchiveBudgetTest, OverflowIsCaughtBeforeTheLimit) {
  ArchiveBudget budget;
  ASSERT_TRUE(budget.admit(kMaxArchiveExpandedBytes).has_value());
  EXPECT_EQ(budget.admit(UINT64_MAX).error(), "archive size overflow");
  EXPECT_EQ(budget.admit(1).error(), "archive expands beyond the safety limit");
  EXPECT_TRUE(budget.admit(0).has_value());
  EXPECT_EQ(budget.members(), 2u);
}

TEST(ArchiveMembersTest, UnreadableArchivesFailWithTheReadersText) {
  TempDir dir;
  write_file(dir / "junk.zip", std::string(4096, 'j'));
  write_file(dir / "junk.tar.gz", "\x1f\x8b not really gzip");
  write_archive(dir / "good.tar.gz", {{"a.txt", Kind::File, std::string(100000, 'a')}});
  const auto size = fs::file_size(dir / "good.tar.gz");
  fs::resize_file(dir / "good.tar.gz", size / 2);
  for (const char* name : {"junk.zip", "junk.tar.gz", "good.tar.gz", "absent.zip"}) {
    const auto listed = list_archive_members(dir / name);
    ASSERT_FALSE(listed.has_value()) << name;
    EXPECT_FALSE(listed.error().empty()) << name;
  }
}

TEST(ArchiveFolderTest, ImpliedFoldersAreShownOnce) {
  const std::vector<ArchiveMember> members = {{"docs/x.txt", 5, false},
                                              {"top.txt", 1, false},
                                              {"docs", 0, true},
                                              {"docs/sub/y.txt", 2, false},
                                              {"other/deep/z", 3, false}};
  EXPECT_EQ(paths_of(members_in_folder(members, "")), (Paths{"docs/", "top.txt", "other/"}));
  EXPECT_EQ(paths_of(members_in_folder(members, "docs")), (Paths{"docs/x.txt", "docs/sub/"}));
  EXPECT_EQ(paths_of(members_in_folder(members, "./docs/")), (Paths{"docs/x.txt", "docs/sub/"}));
  EXPECT_EQ(paths_of(members_in_folder(members, "other")), (Paths{"other/deep/"}));
  EXPECT_TRUE(members_in_folder(members, "top.txt").empty());
  EXPECT_TRUE(members_in_folder(members, "missing").empty());
}

TEST(ArchiveFolderTest, LoadFolderEntriesShowsArchiveFolders) {
  TempDir dir;
  write_archive(dir / "a.tgz", {{"docs/x.txt", Kind::File, "hello"},
                                {"docs/sub/", Kind::Folder},
                                {"top.TXT", Kind::File, "1"},
                                {".hidden", Kind::File, ""}});
  auto never_asked = [](const fs::path& p) {
    ADD_FAILURE() << "workspace flag asked for " << p;
    return InWorkspace::Yes;
  };
  const auto top = load_folder_entries(dir / "a.tgz", never_asked);
  ASSERT_TRUE(top.has_value()) << top.error();
  ASSERT_EQ(top->size(), 3u);
  EXPECT_EQ((*top)[0].name, "docs");
  EXPECT_EQ((*top)[0].path, dir / "a.tgz" / "docs");
  EXPECT_TRUE((*top)[0].is_dir);
  EXPECT_EQ((*top)[0].mime_type, "inode/directory");
  EXPECT_EQ((*top)[1].name, "top.TXT");
  EXPECT_EQ((*top)[1].mime_type, "text/plain");
  EXPECT_FALSE((*top)[1].modified.has_value());
  EXPECT_EQ((*top)[2].name, ".hidden");

  const auto docs = load_folder_entries(dir / "a.tgz" / "docs", never_asked);
  ASSERT_TRUE(docs.has_value());
  ASSERT_EQ(docs->size(), 2u);
  EXPECT_EQ((*docs)[0].path, dir / "a.tgz" / "docs" / "x.txt");
  EXPECT_EQ((*docs)[0].size, 5u);
  EXPECT_FALSE((*docs)[0].record_id.has_value());
  EXPECT_EQ((*docs)[1].name, "sub");

  write_file(dir / "bad.zip", "not a zip");
  const auto bad = load_folder_entries(dir / "bad.zip" / "x", never_asked);
  ASSERT_FALSE(bad.has_value());
  EXPECT_FALSE(bad.error().empty());
}

}  // namespace
}  // namespace files::model
