#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <thread>

#include "vask_ui/clock.h"
#include "vask_ui/dnd.h"
#include "vask_ui/gesture.h"
#include "vask_ui/host.h"
#include "vask_ui/regions.h"

namespace vask_ui {
namespace {

/// A folder of small opener scripts that stand in for xdg-open.
class OpenerScripts : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/vask-opener-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir_ = tmpl;
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::string script(const std::string& name, const std::string& body) {
    auto path = dir_ / name;
    std::ofstream(path) << "#!/bin/sh\n" << body << "\n";
    chmod(path.c_str(), 0755);
    return path.string();
  }
  std::filesystem::path dir_;
};

TEST_F(OpenerScripts, HandsThePathToTheOpenerAsOneArgument) {
  auto log = dir_ / "args";
  host::ProgramOpener opener(script("ok", "printf '%s|%s' \"$#\" \"$1\" > '" + log.string() + "'"));
  ASSERT_TRUE(opener.open_path("/tmp/a folder/it's \"here\".txt").has_value());
  std::ifstream in(log);
  std::string seen((std::istreambuf_iterator<char>(in)), {});
  EXPECT_EQ(seen, "1|/tmp/a folder/it's \"here\".txt");
}

TEST_F(OpenerScripts, ReportsTheOpenersOwnMessage) {
  host::ProgramOpener opener(
      script("missing", "echo 'xdg-open: file '\\''/nope'\\'' does not exist' >&2; exit 2"));
  auto result = opener.open_uri("/nope");
  ASSERT_FALSE(result.has_value());
  EXPECT_EQ(result.error(), "xdg-open: file '/nope' does not exist");

  host::ProgramOpener silent(script("silent", "exit 4"));
  auto quiet = silent.open_uri("/x");
  ASSERT_FALSE(quiet.has_value());
  EXPECT_NE(quiet.error().find("status 4"), std::string::npos);
}

TEST_F(OpenerScripts, AnOpenerThatKeepsRunningCountsAsSuccess) {
  host::ProgramOpener opener(script("slow", "sleep 2"), std::chrono::milliseconds(100));
  EXPECT_TRUE(opener.open_uri("https://example.org/").has_value());
}

TEST_F(OpenerScripts, RefusesWhatTheOpenerCannotTakeSafely) {
  host::ProgramOpener opener(script("ok", "exit 0"));
  std::string not_utf8 = "/tmp/caf\xE9.txt";
  auto bad = opener.open_path(not_utf8);
  ASSERT_FALSE(bad.has_value());
  EXPECT_EQ(bad.error(), "the desktop opener takes UTF-8 paths");
  EXPECT_FALSE(opener.open_uri("--help").has_value());
  EXPECT_FALSE(opener.open_uri("").has_value());
}

TEST(HostOpener, AMissingOpenerIsAnError) {
  host::ProgramOpener opener("/nonexistent/xdg-open");
  auto result = opener.open_uri("/tmp");
  ASSERT_FALSE(result.has_value());
  EXPECT_NE(result.error().find("could not start /nonexistent/xdg-open"), std::string::npos);
}

TEST_F(OpenerScripts, StartsAProgramInAFolder) {
  auto seen = dir_ / "seen";
  std::filesystem::create_directory(dir_ / "work place");
  auto program = script("term", "pwd > '" + seen.string() + "'");
  host::ProgramOpener host;
  ASSERT_TRUE(host.start_in_folder(program, dir_ / "work place").has_value());
  // The program runs on by itself; give it a moment to write where it started.
  std::string where;
  for (int i = 0; i < 200 && where.empty(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::ifstream in(seen);
    std::getline(in, where);
  }
  EXPECT_EQ(where, (dir_ / "work place").string());

  auto missing = host.start_in_folder("/nonexistent/terminal", dir_);
  ASSERT_FALSE(missing.has_value());
  EXPECT_EQ(missing.error(), std::strerror(ENOENT));
  auto gone = host.start_in_folder(program, dir_ / "gone");
  ASSERT_FALSE(gone.has_value());
  EXPECT_EQ(gone.error(), std::strerror(ENOENT));
}

TEST(HostOpener, InstalledServicesReplaceTheDefault) {
  struct Recorder final : host::HostServices {
    std::vector<std::string> opened;
    std::expected<void, std::string> open_uri(std::string_view uri) override {
      opened.emplace_back(uri);
      return {};
    }
  } recorder;
  host::install(&recorder);
  EXPECT_TRUE(host::current().open_path("/srv/file.txt").has_value());
  host::install(nullptr);
  EXPECT_EQ(recorder.opened, std::vector<std::string>{"/srv/file.txt"});
  EXPECT_NE(&host::current(), &recorder);
}

TEST(Regions, AFrameReplacesThePreviousFramesRegions) {
  RegionMap map;
  map.begin_frame();
  map.report(regions::file_row_id("notes.txt"), Rect{10, 20, 110, 54});
  map.report(regions::file_row_id("old.txt"), Rect{10, 60, 110, 94});
  EXPECT_EQ(map.find("file_row:notes.txt"), (Rect{10, 20, 110, 54}));
  map.begin_frame();
  map.report(regions::file_row_id("notes.txt"), Rect{10, 0, 110, 34});
  EXPECT_EQ(map.find("file_row:notes.txt"), (Rect{10, 0, 110, 34}));
  // Scrolled out of view: no longer drawn, so no region.
  EXPECT_FALSE(map.find("file_row:old.txt").has_value());
  EXPECT_FALSE(map.find("file_row:").has_value());
}

TEST(Services, GestureIntervalDragAndClock) {
  auto interval = gesture::multi_click_interval();
  EXPECT_GE(interval.count(), 100);
  EXPECT_LE(interval.count(), 2000);
  std::vector<std::filesystem::path> paths{"/tmp/a"};
  EXPECT_FALSE(dnd::start_file_drag(paths));
  {
    ui_clock::ManualClock clock;
    auto start = ui_clock::now();
    clock.advance(std::chrono::seconds(3));
    EXPECT_EQ(ui_clock::now() - start, std::chrono::seconds(3));
  }
  auto a = ui_clock::now();
  EXPECT_GT(a.time_since_epoch().count(), 0);
}

}  // namespace
}  // namespace vask_ui
