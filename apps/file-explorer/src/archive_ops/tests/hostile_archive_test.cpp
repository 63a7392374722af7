// A corpus of hostile archives, built here byte by byte, with the exact outcome of each: what
// the extraction reports, what it wrote, and proof that nothing landed outside the destination
// and no hidden temporary folder was left behind.
#include <gtest/gtest.h>
#include <unistd.h>

#include <optional>
#include <string>
#include <vector>

#include "archive_ops/extract.h"
#include "archive_test_support.h"
#include "file_size_limit.h"

namespace files::archive_ops {
namespace {

namespace fs = std::filesystem;
using testing::build_tar;
using testing::build_zip;
using testing::gzip;
using testing::TarMember;
using testing::TestFolder;
using testing::tree_snapshot;
using testing::write_file;
using testing::ZipMember;

using Snapshot = std::map<std::string, std::string>;

constexpr std::uint64_t k16GiB = 17179869184ULL;

// An absolute path outside every test folder that a hostile member aims at.
fs::path absolute_target() {
  return "/tmp/files-archive-evil-" + std::to_string(::getpid());
}

struct Hostile {
  std::string name;  ///< the archive's file name (its extension picks the reader)
  std::string bytes;
  std::optional<std::string> error;  ///< the expected failure, or
  std::uint64_t files = 0;           ///< the expected count and
  Snapshot tree;                     ///< the expected extracted tree
};

std::string sparse_tar(const std::string& stored, const std::string& realsize,
                       const std::string& map) {
  return build_tar({{.name = "s",
                     .content = stored,
                     .pax = {{"GNU.sparse.major", "0"},
                             {"GNU.sparse.minor", "1"},
                             {"GNU.sparse.name", "s"},
                             {"GNU.sparse.realsize", realsize},
                             {"GNU.sparse.map", map}}}});
}

std::string many_members_tar(std::size_t members) {
  // Ten real files, the rest character devices: the limit counts members, and devices are
  // counted but never created, which keeps this test fast.
  std::vector<TarMember> list;
  list.push_back({.name = "many/", .type = '5'});
  for (std::size_t i = 0; i < 10; ++i) {
    list.push_back({.name = "many/f" + std::to_string(i), .content = std::to_string(i)});
  }
  while (list.size() < members) {
    list.push_back({.name = "many/dev" + std::to_string(list.size()), .type = '3'});
  }
  return build_tar(list);
}

Snapshot many_members_tree() {
  Snapshot tree{{"many", "dir"}};
  for (int i = 0; i < 10; ++i)
    tree["many/f" + std::to_string(i)] = "file:" + std::to_string(i);
  return tree;
}

std::vector<Hostile> corpus() {
  const std::string escapes = "archive entry escapes its destination";
  const std::string abs = absolute_target().string();
  std::vector<Hostile> c;
  // Names.
  c.push_back({"dotdot.zip",
               build_zip({{.name = "ok", .content = "1"}, {.name = "../evil", .content = "x"}}),
               escapes});
  c.push_back({"dotdot-inner.tar", build_tar({{.name = "a/../../evil", .content = "x"}}), escapes});
  c.push_back({"absolute.zip", build_zip({{.name = abs, .content = "x"}}), escapes});
  c.push_back(
      {"absolute.tar.gz", gzip(build_tar({{.name = abs + "/x", .content = "x"}})), escapes});
  c.push_back({"dots.zip",
               build_zip({{.name = "./a/./b.txt", .content = "b"}}),
               std::nullopt,
               1,
               {{"a", "dir"}, {"a/b.txt", "file:b"}}});
  c.push_back({"only-dot.tar", build_tar({{.name = "./", .type = '5'}}), "empty archive entry"});
  // Links are skipped, so a later member "through" a link lands in a real folder inside.
  c.push_back({"symlink.zip",
               build_zip({{.name = "passwd", .content = "/etc/passwd", .unix_mode = 0120777},
                          {.name = "up", .content = "..", .unix_mode = 0120777},
                          {.name = "up/escaped", .content = "x"}}),
               std::nullopt,
               1,
               {{"up", "dir"}, {"up/escaped", "file:x"}}});
  c.push_back({"links.tar",
               build_tar({{.name = "sl", .type = '2', .link_target = "/etc"},
                          {.name = "hl", .type = '1', .link_target = "/etc/passwd"},
                          {.name = "sl/passwd", .content = "mine"},
                          {.name = "hl", .content = "file after link"}}),
               std::nullopt,
               2,
               {{"sl", "dir"}, {"sl/passwd", "file:mine"}, {"hl", "file:file after link"}}});
  c.push_back({"special.tar",
               build_tar({{.name = "chr", .type = '3'},
                          {.name = "blk", .type = '4'},
                          {.name = "fifo", .type = '6'},
                          {.name = "f", .content = "data"}}),
               std::nullopt,
               1,
               {{"f", "file:data"}}});
  // Member count.
  c.push_back({"100000.tar", many_members_tar(100000), std::nullopt, 10, many_members_tree()});
  c.push_back({"100001.tar", many_members_tar(100001), "archive has too many entries"});
  // Declared sizes: exactly 16 GiB passes the limit (the member's short data then fails it);
  // one byte more is refused before anything is read.
  c.push_back({"16GiB.zip", build_zip({{.name = "big", .content = "abcde", .declared = k16GiB}}),
               "truncated ZIP entry"});
  c.push_back({"16GiB+1.zip",
               build_zip({{.name = "big", .content = "abcde", .declared = k16GiB + 1}}),
               "archive expands beyond the safety limit"});
  c.push_back({"sum-16GiB.zip",
               build_zip({{.name = "a", .content = "0123456789"},
                          {.name = "b", .content = "x", .declared = k16GiB - 10}}),
               "truncated ZIP entry"});
  c.push_back({"sum-16GiB+1.zip",
               build_zip({{.name = "a", .content = "0123456789"},
                          {.name = "b", .content = "x", .declared = k16GiB - 9}}),
               "archive expands beyond the safety limit"});
  c.push_back({"16GiB.tar", build_tar({{.name = "big", .content = "abc", .declared = k16GiB}}),
               "Truncated tar archive"});
  c.push_back({"16GiB+1.tar",
               build_tar({{.name = "big", .content = "abc", .declared = k16GiB + 1}}),
               "archive expands beyond the safety limit"});
  c.push_back(
      {"16GiB+1-pax.tar.gz",
       gzip(build_tar({{.name = "big", .content = "abc", .pax = {{"size", "17179869185"}}}})),
       "archive expands beyond the safety limit"});
  // Content longer or shorter than declared.
  c.push_back({"longer.zip", build_zip({{.name = "a", .content = "0123456789", .declared = 5}}),
               "truncated ZIP entry"});
  c.push_back(
      {"longer-deflate.zip",
       build_zip(
           {{.name = "a", .content = std::string(1 << 20, 'z'), .deflate = true, .declared = 100}}),
       "truncated ZIP entry"});
  c.push_back({"shorter.zip", build_zip({{.name = "a", .content = "0123456789", .declared = 20}}),
               "truncated ZIP entry"});
  c.push_back(
      {"longer-sparse.tar", sparse_tar("abcdeABCDE", "10", "0,5,20,5"), "truncated TAR entry"});
  c.push_back({"shorter.tar",
               build_tar({{.name = "a", .content = "hello", .declared = 2000}}, true),
               "Truncated tar archive"});
  c.push_back({"shorter.tar.gz",
               gzip(build_tar({{.name = "a", .content = "hello", .declared = 2000}}, true)),
               "Truncated tar archive"});
  // Damaged and undecodable archives: the reader's own texts.
  std::string bad_directory =
      build_zip({{.name = "a", .content = "abc"}, {.name = "b", .content = "abc"}});
  bad_directory[bad_directory.find("PK\x01\x02")] = 'X';
  c.push_back({"corrupt-directory.zip", bad_directory, "Damaged Zip archive"});
  c.push_back({"bad-crc.zip", build_zip({{.name = "a", .content = "0123456789", .crc = 1}}),
               "ZIP bad CRC: 0xa684c7c6 should be 0x1"});
  c.push_back({"encrypted.zip",
               build_zip({{.name = "secret",
                           .content = "0123456789",
                           .stored_bytes = std::string(22, 'q'),
                           .flags = 1}}),
               "Passphrase required for this entry"});
  c.push_back({"not-an-archive.zip", "plain text, no archive", "Unrecognized archive format"});
  c.push_back({"bad-gzip.tar.gz",
               std::string("\x1f\x8b\x08\x00\x00\x00\x00\x00\x00\x03garbage!", 18),
               "gzip decompression failed"});
  return c;
}

TEST(HostileArchives, EachHasItsExactOutcomeAndNothingEscapes) {
  for (const Hostile& h : corpus()) {
    SCOPED_TRACE(h.name);
    TestFolder dir;
    fs::create_directories(dir / "outside");
    write_file(dir / "outside/sentinel", "untouched");
    fs::create_directories(dir / "work");
    write_file(dir / "work" / h.name, h.bytes);
    const Snapshot before = tree_snapshot(dir.path());

    auto extracted = extract_archive(dir / "work" / h.name, dir / "work/out");

    Snapshot after = tree_snapshot(dir.path());
    if (h.error) {
      ASSERT_FALSE(extracted) << "extracted " << extracted->files << " files";
      EXPECT_EQ(extracted.error(), *h.error);
      EXPECT_EQ(after, before);  // no folder, no temporary folder, nothing outside
    } else {
      ASSERT_TRUE(extracted) << extracted.error();
      EXPECT_EQ(extracted->files, h.files);
      EXPECT_EQ(tree_snapshot(dir / "work/out"), h.tree);
      std::erase_if(after, [](const auto& item) { return item.first.starts_with("work/out"); });
      after.erase("work/out");
      EXPECT_EQ(after, before);  // only the destination is new
    }
    EXPECT_FALSE(fs::exists(fs::symlink_status(absolute_target())));
    EXPECT_FALSE(fs::exists(fs::symlink_status(dir.path().parent_path() / "evil")));
  }
}

TEST(HostileArchives, WritingStopsAtTheDeclaredSize) {
  // Each member declares 1 MiB and delivers 64 MiB. Files may not grow past 2 MiB here: had
  // the extraction written beyond the declared size it would fail with "File too large".
  const std::uint64_t declared = 1 << 20;
  const std::string bomb(64 << 20, '\0');
  struct Case {
    const char* name;
    std::string bytes;
    const char* error;
  };
  const std::vector<Case> cases = {
      {"bomb.zip",
       build_zip({{.name = "bomb", .content = bomb, .deflate = true, .declared = declared}}),
       "truncated ZIP entry"},
      {"bomb.tar.gz",
       gzip(sparse_tar(std::string(4 << 20, 'y'), std::to_string(declared),
                       "0,1048576,1048576,3145728")),
       "truncated TAR entry"},
  };
  for (const Case& c : cases) {
    TestFolder dir;
    write_file(dir / c.name, c.bytes);
    const auto before = tree_snapshot(dir.path());
    std::expected<Extracted, std::string> extracted;
    {
      testing::FileSizeLimit limit(2 << 20);
      extracted = extract_archive(dir / c.name, dir / "out");
    }
    ASSERT_FALSE(extracted) << c.name;
    EXPECT_EQ(extracted.error(), c.error) << c.name;
    EXPECT_EQ(tree_snapshot(dir.path()), before) << c.name;
  }
}

}  // namespace
}  // namespace files::archive_ops
