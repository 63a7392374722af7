// Failures injected at the engine's seams, and a process killed mid-copy: whatever happens, the
// source survives and the destination shows either nothing new or the complete item.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <spdlog/sinks/ringbuffer_sink.h>
#include <spdlog/spdlog.h>

#include "fileops/log.h"
#include "fileops/seams.h"
#include "fileops/transfer.h"
#include "test_folder.h"

namespace files::fileops {
namespace {

using testing::has_transfer_leftovers;
using testing::names_in;
using testing::read_file;
using testing::TestFolder;
using testing::tree_snapshot;
using testing::write_file;

bool is_temporary(const std::filesystem::path& path) {
  return path.filename().native().starts_with(".vask-transfer-");
}

/// A source tree whose copy needs many write steps: several files, one spanning chunks.
void make_tree(const std::filesystem::path& root) {
  std::filesystem::create_directories(root / "a/b");
  for (int i = 0; i < 5; ++i)
    write_file(root / "a" / ("f" + std::to_string(i)), "content");
  testing::write_pattern_file(root / "a/b/large.bin", 20 * 1024 * 1024, 7);
  std::filesystem::create_symlink("../a", root / "a/b/up");
}

/// Fails the n-th content write (counting from 1) with `error_number`.
FaultHook fail_write_number(int n, int error_number) {
  auto count = std::make_shared<int>(0);
  return [=](FaultPoint point, const std::filesystem::path&) {
    return point == FaultPoint::CopyWrite && ++*count == n ? error_number : 0;
  };
}

TEST(FaultInjection, CopyFailingHalfWayLeavesDestinationAndSourceAsTheyWere) {
  TestFolder src;
  TestFolder dst;
  make_tree(src / "tree");
  write_file(dst / "existing", "keep");
  const auto source_before = tree_snapshot(src.path());
  const auto destination_before = tree_snapshot(dst.path());

  for (const auto mode : {TransferMode::Copy, TransferMode::Move}) {
    // Eight content writes make the whole copy; the seventh fails. The move is made to take the
    // copying path as it would between two file systems.
    auto writes = fail_write_number(7, ENOSPC);
    ScopedFaultHook hook([&](FaultPoint point, const std::filesystem::path& path) {
      return point == FaultPoint::FastRename ? EXDEV : writes(point, path);
    });
    auto result = transfer(src / "tree", dst.path(), mode);
    ASSERT_FALSE(result);
    EXPECT_EQ(result.error(), "No space left on device");
    EXPECT_EQ(tree_snapshot(dst.path()), destination_before);
    EXPECT_EQ(tree_snapshot(src.path()), source_before);
  }
}

TEST(FaultInjection, CrossFileSystemMoveFailingHalfWayKeepsTheSource) {
  TestFolder src("/tmp");
  TestFolder dst("/dev/shm");
  make_tree(src / "tree");
  const auto source_before = tree_snapshot(src.path());
  ScopedFaultHook hook(fail_write_number(3, EIO));
  auto moved = move_into(src / "tree", dst.path());
  ASSERT_FALSE(moved);
  EXPECT_EQ(moved.error(), "Input/output error");
  EXPECT_TRUE(names_in(dst.path()).empty());
  EXPECT_EQ(tree_snapshot(src.path()), source_before);
}

TEST(FaultInjection, MoveWhosePublishFailsRestoresTheSource) {
  TestFolder src;
  TestFolder dst;
  make_tree(src / "tree");
  const auto source_before = tree_snapshot(src.path());
  ScopedFaultHook hook([](FaultPoint point, const std::filesystem::path&) {
    if (point == FaultPoint::FastRename) return EXDEV;  // as across file systems
    if (point == FaultPoint::PublishRename) return EIO;
    return 0;
  });
  auto moved = move_into(src / "tree", dst.path());
  ASSERT_FALSE(moved);
  EXPECT_EQ(moved.error(), "Input/output error");
  EXPECT_EQ(tree_snapshot(src.path()), source_before) << "the source came back, complete";
  EXPECT_TRUE(names_in(dst.path()).empty());
}

TEST(FaultInjection, FailedRestoreKeepsTheStagedDataAndSaysWhere) {
  TestFolder src;
  TestFolder dst;
  make_tree(src / "tree");
  const auto expected = tree_snapshot(src / "tree");
  const auto source = src / "tree";
  ScopedFaultHook hook([&](FaultPoint point, const std::filesystem::path& path) {
    if (point == FaultPoint::FastRename) return EXDEV;
    if (point == FaultPoint::PublishRename) return EIO;
    if (point == FaultPoint::CopyWrite && path == source) return ENOSPC;  // copying back
    return 0;
  });
  auto moved = move_into(source, dst.path());
  ASSERT_FALSE(moved);
  const auto staging = names_in(dst.path());
  ASSERT_EQ(staging.size(), 1u);
  const auto payload = dst / staging.front() / "payload";
  EXPECT_EQ(moved.error(),
            "Input/output error; source restoration failed: No space left on device; "
            "staged data retained at " +
                payload.native());
  EXPECT_EQ(tree_snapshot(payload), expected) << "the staged copy is the complete data";
  EXPECT_FALSE(std::filesystem::exists(source)) << "no half-restored source is left behind";
}

TEST(FaultInjection, QuarantineThatCannotBeDeletedIsRestoredAndNamed) {
  TestFolder src;
  TestFolder dst;
  make_tree(src / "tree");
  const auto expected = tree_snapshot(src / "tree");
  ScopedFaultHook hook([](FaultPoint point, const std::filesystem::path& path) {
    if (point == FaultPoint::FastRename) return EXDEV;
    if (point == FaultPoint::Remove &&
        path.filename().native().starts_with(".vask-transfer-source-"))
      return EACCES;
    return 0;
  });
  auto moved = move_into(src / "tree", dst.path());
  ASSERT_FALSE(moved);
  std::vector<std::string> quarantine;
  for (const auto& name : names_in(src.path())) {
    if (name != "tree") quarantine.push_back(name);
  }
  ASSERT_EQ(quarantine.size(), 1u);
  EXPECT_EQ(moved.error(), "Permission denied; partial source quarantine retained at " +
                               (src / quarantine.front()).native() + ": Permission denied");
  EXPECT_EQ(tree_snapshot(src / "tree"), expected);
  EXPECT_TRUE(names_in(dst.path()).empty()) << "the copy is never published in this case";
}

TEST(FaultInjection, StagingThatCannotBeRemovedIsNamedInTheError) {
  TestFolder src;
  TestFolder dst;
  make_tree(src / "tree");
  auto writes = fail_write_number(2, ENOSPC);
  ScopedFaultHook hook([&](FaultPoint point, const std::filesystem::path& path) {
    if (point == FaultPoint::Remove && is_temporary(path)) return EBUSY;
    return writes(point, path);
  });
  auto copied = copy_into(src / "tree", dst.path());
  ASSERT_FALSE(copied);
  const auto staging = names_in(dst.path());
  ASSERT_EQ(staging.size(), 1u);
  EXPECT_EQ(copied.error(), "No space left on device; private staging retained at " +
                                (dst / staging.front()).native() + ": Device or resource busy");
  EXPECT_TRUE(staging.front().starts_with(".vask-transfer-"));
}

TEST(FaultInjection, EmptyStagingLeftAfterPublishOnlyWarns) {
  TestFolder src;
  TestFolder dst;
  write_file(src / "a.txt", "alpha");
  auto sink = std::make_shared<spdlog::sinks::ringbuffer_sink_mt>(8);
  auto logger = fileops_logger();
  logger->sinks().push_back(sink);
  {
    ScopedFaultHook hook([](FaultPoint point, const std::filesystem::path& path) {
      return point == FaultPoint::Remove && is_temporary(path) ? EBUSY : 0;
    });
    auto copied = copy_into(src / "a.txt", dst.path());
    ASSERT_TRUE(copied) << copied.error();
    EXPECT_EQ(read_file(*copied), "alpha");
  }
  logger->sinks().pop_back();
  const auto lines = sink->last_formatted();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_NE(lines.front().find("empty Files transfer staging container could not be removed"),
            std::string::npos);
  EXPECT_NE(lines.front().find("error=\"Device or resource busy\""), std::string::npos);
  EXPECT_NE(lines.front().find("[warning]"), std::string::npos);
}

TEST(FaultInjection, ProcessKilledDuringCopyLeavesAtMostAHiddenStagingFolder) {
  TestFolder src;
  TestFolder dst;
  make_tree(src / "tree");
  write_file(dst / "existing", "keep");
  const auto source_before = tree_snapshot(src.path());

  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ::close(ready[0]);
    // Halfway through the large file, tell the parent and wait to be killed.
    auto writes = std::make_shared<int>(0);
    set_fault_hook([&](FaultPoint point, const std::filesystem::path&) {
      if (point == FaultPoint::CopyWrite && ++*writes == 7) {
        (void)!::write(ready[1], "x", 1);
        for (;;)
          ::pause();
      }
      return 0;
    });
    (void)copy_into(src / "tree", dst.path());
    ::_exit(0);
  }
  ::close(ready[1]);
  char byte = 0;
  ASSERT_EQ(::read(ready[0], &byte, 1), 1);
  ::close(ready[0]);
  ASSERT_EQ(::kill(child, SIGKILL), 0);
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFSIGNALED(status));

  EXPECT_EQ(tree_snapshot(src.path()), source_before);
  std::vector<std::string> leftovers;
  for (const auto& name : names_in(dst.path())) {
    if (name != "existing") leftovers.push_back(name);
  }
  ASSERT_LE(leftovers.size(), 1u);
  if (!leftovers.empty()) {
    EXPECT_TRUE(leftovers.front().starts_with(".vask-transfer-"));
  }
  EXPECT_EQ(read_file(dst / "existing"), "keep");
  EXPECT_TRUE(has_transfer_leftovers(dst.path())) << "the kill came while the copy was staged";
}

}  // namespace
}  // namespace files::fileops
