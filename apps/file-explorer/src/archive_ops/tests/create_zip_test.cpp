#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "archive_ops/create_zip.h"
#include "archive_ops/extract.h"
#include "archive_ops/publish_hook.h"
#include "archive_test_support.h"
#include "file_size_limit.h"

namespace files::archive_ops {
namespace {

namespace fs = std::filesystem;
using testing::names_in;
using testing::read_file;
using testing::read_zip_directory;
using testing::run_command;
using testing::TestFolder;
using testing::tree_snapshot;
using testing::write_file;

using Paths = std::vector<fs::path>;

// The entry names a folder contributes, in the order the system lists its items.
void expected_entries(const fs::path& folder, const std::string& name,
                      std::vector<std::string>& out) {
  out.push_back(name + "/");
  for (const auto& item : fs::directory_iterator(folder)) {
    const std::string child = name + "/" + item.path().filename().string();
    const auto status = item.symlink_status();
    if (fs::is_directory(status)) {
      expected_entries(item.path(), child, out);
    } else if (fs::is_regular_file(status)) {
      out.push_back(child);
    }
  }
}

// Whether the extra fields (id, length, data ...) hold one with this id.
bool has_extra_field(const std::string& extra, int id) {
  std::size_t at = 0;
  while (at + 4 <= extra.size()) {
    auto byte = [&](std::size_t i) { return static_cast<unsigned char>(extra[at + i]); };
    if ((byte(0) | byte(1) << 8) == id) return true;
    at += 4 + (byte(2) | byte(3) << 8);
  }
  return false;
}

TEST(ZipDestination, NamedAfterTheOnlyItemOrArchiveAndNumberedWhenTaken) {
  struct Case {
    std::vector<const char*> items;
    std::vector<const char*> existing;
    const char* zip;
  };
  const std::vector<Case> cases = {
      {{"report.txt"}, {}, "report.zip"},
      {{"report.txt"}, {"report.zip"}, "report 2.zip"},
      {{"report.txt"}, {"report.zip", "report 2.zip"}, "report 3.zip"},
      {{"a.tar.gz"}, {}, "a.tar.zip"},
      {{".bashrc"}, {}, ".bashrc.zip"},
      {{"photos"}, {}, "photos.zip"},
      {{"x.zip"}, {"x.zip"}, "x 2.zip"},
      {{"a", "b"}, {}, "Archive.zip"},
      {{"a", "b"}, {"Archive.zip"}, "Archive 2.zip"},
      {{"bad\xff.txt"}, {}, "Archive.zip"},
      {{"/"}, {}, "Archive.zip"},
  };
  for (const Case& c : cases) {
    TestFolder dir;
    for (const char* name : c.existing)
      write_file(dir / name, "");
    Paths items;
    for (const char* item : c.items)
      items.push_back(dir / item);
    if (std::string(c.items.front()) == "/") items = {"/"};
    EXPECT_EQ(zip_destination(items, dir.path()), dir / c.zip) << c.items.front();
  }
}

class CreateZip : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(dir_ / "src/folder/sub");
    fs::create_directories(dir_ / "src/folder/empty");
    write_file(dir_ / "src/folder/a.txt", "alpha");
    write_file(dir_ / "src/folder/sub/b.txt", std::string(300000, 'b'));
    fs::create_symlink("a.txt", dir_ / "src/folder/link-to-file");
    fs::create_directory_symlink("sub", dir_ / "src/folder/link-to-folder");
    ASSERT_EQ(::mkfifo((dir_ / "src/folder/fifo").c_str(), 0644), 0);
    write_file(dir_ / "src/report.txt", "report");
    fs::create_symlink("report.txt", dir_ / "src/selected-link-to-file");
    fs::create_directory_symlink("folder/sub", dir_ / "src/selected-link-to-folder");
    fs::create_directory(dir_ / "src/lonely");
  }

  fs::path src(const char* name) const { return dir_ / "src" / name; }

  TestFolder dir_;
};

TEST_F(CreateZip, EntriesFollowTheSelectionAndListingOrderWithFixedOptions) {
  const Paths items = {src("report.txt"), src("folder"), src("selected-link-to-file"),
                       src("selected-link-to-folder"), src("lonely")};
  auto created = create_zip(items, dir_ / "Archive.zip");
  ASSERT_TRUE(created) << created.error();
  EXPECT_EQ(*created, dir_ / "Archive.zip");

  std::vector<std::string> expected = {"report.txt"};
  expected_entries(src("folder"), "folder", expected);
  expected_entries(src("folder/sub"), "selected-link-to-folder", expected);
  expected.push_back("lonely/");
  const auto entries = read_zip_directory(read_file(dir_ / "Archive.zip"));
  std::vector<std::string> names;
  for (const auto& e : entries)
    names.push_back(e.name);
  EXPECT_EQ(names, expected);

  for (const auto& e : entries) {
    SCOPED_TRACE(e.name);
    const bool folder = e.name.ends_with("/");
    EXPECT_EQ(e.dos_time, 0) << "00:00:00";
    EXPECT_EQ(e.dos_date, (1 << 5) | 1) << "1980-01-01";
    EXPECT_EQ(e.flags & 1, 0) << "not encrypted";
    EXPECT_LT(e.version_needed, 45) << "no ZIP64";
    EXPECT_FALSE(has_extra_field(e.extra, 0x0001)) << "no ZIP64 field";
    EXPECT_EQ(e.method, folder ? 0 : 8) << "files are deflated";
    EXPECT_EQ(e.external_attributes >> 16, folder ? 040755u : 0100644u);
  }
  EXPECT_EQ(names_in(dir_.path()), (std::vector<std::string>{"Archive.zip", "src"}));
}

TEST_F(CreateZip, ArchivesPassUnzipAndBsdtarAndRoundTripByteForByte) {
  write_file(src("folder/Grüße.txt"), "non-ASCII name");
  std::string binary;
  for (std::uint32_t i = 0; i < (1u << 20); ++i)
    binary.push_back(static_cast<char>((i * 7919u) >> 3));
  write_file(src("folder/sub/binary.bin"), binary);
  write_file(src("folder/zero-length"), "");
  const Paths items = {src("folder"), src("report.txt")};
  auto created = create_zip(items, dir_ / "Archive.zip");
  ASSERT_TRUE(created) << created.error();

  const std::string zip = created->string();
  EXPECT_EQ(run_command("unzip -tq '" + zip + "' >/dev/null"), 0);
  EXPECT_EQ(run_command("bsdtar -tf '" + zip + "' >/dev/null"), 0);

  // What the archive should hold: the sources without links and special files.
  auto expected = tree_snapshot(src("folder"), SIZE_MAX);
  std::erase_if(expected, [](const auto& item) {
    return item.second.starts_with("link:") || item.second == "other";
  });
  auto with_prefix = [](const std::map<std::string, std::string>& tree) {
    std::map<std::string, std::string> out;
    for (const auto& [path, value] : tree)
      out["folder/" + path] = value;
    return out;
  };
  auto wanted = with_prefix(expected);
  wanted["folder"] = "dir";
  wanted["report.txt"] = "file:report";

  auto extracted = extract_archive(*created, dir_ / "ours");
  ASSERT_TRUE(extracted) << extracted.error();
  EXPECT_EQ(tree_snapshot(dir_ / "ours", SIZE_MAX), wanted);

  fs::create_directory(dir_ / "unzip");
  ASSERT_EQ(run_command("cd '" + (dir_ / "unzip").string() + "' && unzip -q '" + zip + "'"), 0);
  EXPECT_EQ(tree_snapshot(dir_ / "unzip", SIZE_MAX), wanted);
  struct stat st {};
  ASSERT_EQ(::stat((dir_ / "unzip/folder/a.txt").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0644u) << "the recorded permissions are usable";
}

TEST_F(CreateZip, NamesThatAreNotUtf8AreStoredWithReplacementCharacters) {
  write_file(src("folder/bad\xff.txt"), "x");
  auto created = create_zip(Paths{src("folder")}, dir_ / "names.zip");
  ASSERT_TRUE(created) << created.error();
  bool found = false;
  for (const auto& e : read_zip_directory(read_file(*created))) {
    if (e.name == "folder/bad\xEF\xBF\xBD.txt") {
      found = true;
      EXPECT_NE(e.flags & (1 << 11), 0) << "marked as UTF-8";
    }
  }
  EXPECT_TRUE(found);
}

TEST_F(CreateZip, FailuresLeaveNoPartFileAndNoArchive) {
  // A file larger than ZIP without ZIP64 allows, made sparse so it costs no disk space, and
  // content that does not compress, so that a small file size limit is reached half-way.
  TestFolder other;
  {
    const int fd = ::open((other / "huge.bin").c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, 4294967296LL), 0);
    ::close(fd);
  }
  std::string noise;
  std::uint32_t state = 1;
  for (int i = 0; i < 400000; ++i) {
    state = state * 1664525u + 1013904223u;
    noise.push_back(static_cast<char>(state >> 24));
  }
  write_file(src("folder/sub/noise.bin"), noise);
  struct Case {
    const char* what;
    Paths items;
    std::string error;
    rlim_t file_size_limit = RLIM_INFINITY;
  };
  const std::vector<Case> cases = {
      {"no file name", {src("report.txt"), "/"}, std::string(kPathHasNoFileName)},
      {"missing source", {src("report.txt"), src("missing")}, "No such file or directory"},
      {"file above 4294967295 bytes",
       {src("report.txt"), other / "huge.bin"},
       "Files > 4GB require Zip64 extensions"},
      {"disk full half-way", {src("folder")}, "File too large", 100000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const auto before = tree_snapshot(dir_.path());
    std::expected<fs::path, std::string> created;
    {
      testing::FileSizeLimit limit(c.file_size_limit);
      created = create_zip(c.items, dir_ / "Archive.zip");
    }
    ASSERT_FALSE(created);
    EXPECT_EQ(created.error(), c.error);
    EXPECT_EQ(tree_snapshot(dir_.path()), before);
  }
}

TEST_F(CreateZip, AnExistingPartFileIsNeverTouched) {
  write_file(dir_ / "report.zip.part", "the user's own file");
  write_file(dir_ / "report.zip.2.part", "another compression's file");
  auto created = create_zip(Paths{src("report.txt")}, dir_ / "report.zip");
  ASSERT_TRUE(created) << created.error();
  EXPECT_EQ(*created, dir_ / "report.zip");
  EXPECT_EQ(read_file(dir_ / "report.zip.part"), "the user's own file");
  EXPECT_EQ(read_file(dir_ / "report.zip.2.part"), "another compression's file");
  EXPECT_EQ(names_in(dir_.path()), (std::vector<std::string>{"report.zip", "report.zip.2.part",
                                                             "report.zip.part", "src"}));
  EXPECT_EQ(run_command("unzip -tq '" + created->string() + "' >/dev/null"), 0);
}

TEST_F(CreateZip, AFinalNameTakenMeanwhileIsKeptAndTheNextNumberUsed) {
  struct Case {
    const char* requested;
    const char* published;
  };
  for (const Case& c : {Case{"report.zip", "report 2.zip"}, Case{"report 2.zip", "report 3.zip"},
                        Case{"Archive 9.zip", "Archive 10.zip"}}) {
    std::vector<fs::path> seen;
    set_publish_hook([&](const fs::path& target) {
      seen.push_back(target);
      if (seen.size() == 1) write_file(target, "appeared meanwhile");
    });
    auto created = create_zip(Paths{src("report.txt")}, dir_ / c.requested);
    set_publish_hook({});
    ASSERT_TRUE(created) << created.error();
    EXPECT_EQ(*created, dir_ / c.published);
    EXPECT_EQ(seen, (Paths{dir_ / c.requested, dir_ / c.published}));
    EXPECT_EQ(read_file(dir_ / c.requested), "appeared meanwhile");
    fs::remove(dir_ / c.requested);
    fs::remove(dir_ / c.published);
  }
  EXPECT_EQ(names_in(dir_.path()), std::vector<std::string>{"src"});
}

}  // namespace
}  // namespace files::archive_ops
