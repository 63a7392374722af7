#include "files_app/explorer_state.h"

#include <gtest/gtest.h>

#include <fstream>

#include "i18n/i18n.h"
#include "temp_folder.h"

namespace files::app {
namespace {

using files::testing::TempFolder;
using namespace std::chrono_literals;

std::vector<std::string> names(const ExplorerState& s) {
  std::vector<std::string> out;
  for (const auto& e : s.entries())
    out.push_back(e.name);
  return out;
}

class ExplorerStateTest : public ::testing::Test {
 protected:
  TempFolder root;
  TempFolder config;
  ExplorerState state{config.path(), [](const std::filesystem::path&) { return false; }};
  TimePoint t0 = TimePoint{} + 1h;
};

TEST(RecheckInterval, GrowsWithTheFolder) {
  EXPECT_EQ(recheck_interval(10), 750ms);
  EXPECT_EQ(recheck_interval(511), 750ms);
  EXPECT_EQ(recheck_interval(512), 3s);
  EXPECT_EQ(recheck_interval(4095), 3s);
  EXPECT_EQ(recheck_interval(4096), 12s);
  EXPECT_EQ(recheck_interval(19999), 12s);
  EXPECT_EQ(recheck_interval(20000), 30s);
}

TEST(PanelTexts, PathShorteningAndErrorCut) {
  std::string forty = "/home/ada/projects/files/src/a/b/cdefghi";
  ASSERT_EQ(forty.size(), 40u);
  EXPECT_EQ(shorten_path_text(forty, 36), "…" + forty.substr(5));
  EXPECT_EQ(shorten_path_text("/short", 36), "/short");
  EXPECT_EQ(shorten_path_text("/äöü/ßß", 4), "…/ßß");  // counts characters, not bytes
  EXPECT_EQ(error_panel_text("Could not open this folder: Permission denied"), "Permission denied");
  EXPECT_EQ(error_panel_text("Could not open this folder: Too many levels of symbolic links"),
            "Too many levels of symbol…");
  EXPECT_EQ(error_panel_text("no colon here"), "no colon here");
  EXPECT_EQ(error_panel_text("x: 12345678901234567890123456"),
            "12345678901234567890123456");  // 26 stays
}

TEST(Notice, CutToFiveHundredTwelveCharactersNotBytes) {
  EXPECT_EQ(clamp_notice(std::string(600, 'a')).size(), 512u);
  std::string umlauts;
  for (int i = 0; i < 600; ++i)
    umlauts += "ü";
  EXPECT_EQ(clamp_notice(umlauts).size(), 1024u);
  EXPECT_EQ(clamp_notice("short"), "short");
}

TEST_F(ExplorerStateTest, NavigationHistory) {
  auto a = root.folder("a");
  auto b = root.folder("b");
  state.open_initial(root.path(), t0);
  state.navigate(a);
  state.navigate(b);
  EXPECT_EQ(state.back_history(), (std::vector<std::filesystem::path>{root.path(), a}));
  state.navigate(b);  // the folder on view: a plain reload
  EXPECT_EQ(state.back_history().size(), 2u);
  EXPECT_EQ(state.load_generation(), 3u);

  state.go_back();
  EXPECT_EQ(state.current_folder(), a);
  state.go_forward();
  EXPECT_EQ(state.current_folder(), b);
  state.go_back();
  state.navigate(root.path());  // a new navigation after going back clears forward history
  EXPECT_TRUE(state.forward_history().empty());

  state.navigate("/");
  state.go_up();  // nothing above the root
  EXPECT_EQ(state.current_folder(), std::filesystem::path("/"));
  state.go_back();
  state.go_up();
  EXPECT_EQ(state.current_folder(), root.path().parent_path());
}

TEST_F(ExplorerStateTest, LoadFailureShowsTheErrorAndKeepsTheFolder) {
  state.open_initial(root.path(), t0);
  auto missing = root.path() / "gone";
  state.navigate(missing);
  EXPECT_EQ(state.current_folder(), missing);
  EXPECT_TRUE(state.entries().empty());
  ASSERT_TRUE(state.load_error().has_value());
  EXPECT_EQ(*state.load_error(),
            i18n::t_args("files-directory-read-failed", {{"error", "No such file or directory"}}));
  root.folder("gone");
  state.refresh();  // Try Again retries the same folder
  EXPECT_FALSE(state.load_error().has_value());
}

TEST_F(ExplorerStateTest, HiddenFilesAndSorting) {
  root.file(".bashrc");
  root.file("b.txt", "12345");
  root.file("a.txt", "1");
  root.folder("z-folder");
  state.open_initial(root.path(), t0);
  EXPECT_EQ(names(state), (std::vector<std::string>{"z-folder", "a.txt", "b.txt"}));
  state.toggle_hidden();
  EXPECT_EQ(names(state), (std::vector<std::string>{"z-folder", ".bashrc", "a.txt", "b.txt"}));
  state.set_sort_order(model::SortOrder::Descending);
  EXPECT_EQ(names(state).front(), "z-folder");  // folders stay first
  EXPECT_EQ(names(state).back(), ".bashrc");
}

TEST_F(ExplorerStateTest, RecheckPicksUpChangesAndKeepsTheSelectionByPath) {
  root.file("b.txt");
  root.file("d.txt");
  state.open_initial(root.path(), t0);
  state.selection().select_only(1);  // d.txt
  EXPECT_FALSE(state.recheck_due(t0 + 700ms));
  EXPECT_TRUE(state.recheck_due(t0 + 750ms));
  EXPECT_FALSE(state.recheck(t0 + 750ms, false, false));  // nothing changed

  root.file("a.txt");  // lands before both
  EXPECT_FALSE(state.recheck(t0 + 2s, /*rename_active=*/true, false));
  EXPECT_FALSE(state.recheck(t0 + 3s, false, /*drag_active=*/true));
  EXPECT_EQ(state.entries().size(), 2u);
  EXPECT_TRUE(state.recheck(t0 + 4s, false, false));
  EXPECT_EQ(names(state), (std::vector<std::string>{"a.txt", "b.txt", "d.txt"}));
  EXPECT_EQ(state.selection().selected(), (std::vector<std::size_t>{2}));
  EXPECT_EQ(state.selection().primary(), 2u);
  EXPECT_EQ(state.next_recheck(), t0 + 4s + 750ms);
}

TEST_F(ExplorerStateTest, ZoomIsClampedAndRemembered) {
  state.set_zoom(6);
  state.zoom_by(1);
  EXPECT_EQ(state.zoom_step(), 6);
  EXPECT_EQ(read_zoom_step(config.path()), 6);
  state.set_zoom(-9);
  EXPECT_EQ(state.zoom_step(), -2);
  ExplorerState again(config.path(), {});
  EXPECT_EQ(again.zoom_step(), -2);

  struct Case {
    const char* text;
    int step;
  };
  for (Case c : {Case{"3\n", 3}, Case{"99", 6}, Case{"-99999999999999999999", -2}, Case{"two", 0},
                 Case{"", 0}, Case{"4x", 0}}) {
    std::ofstream(config.path() / "zoom") << c.text;
    EXPECT_EQ(read_zoom_step(config.path()), c.step) << c.text;
  }
  std::filesystem::remove(config.path() / "zoom");
  EXPECT_EQ(read_zoom_step(config.path()), 0);
}

TEST_F(ExplorerStateTest, AnArchiveOpensAsAReadOnlyFolder) {
  // A tiny stored ZIP with one file, written byte for byte.
  auto zip = root.path() / "photos.zip";
  ASSERT_EQ(
      std::system(("cd " + root.path().string() + " && echo hi > a.txt && zip -q photos.zip a.txt")
                      .c_str()),
      0);
  state.open_initial(root.path(), t0);
  state.navigate(zip);
  EXPECT_FALSE(state.load_error().has_value());
  EXPECT_TRUE(state.in_archive());
  EXPECT_EQ(names(state), (std::vector<std::string>{"a.txt"}));
  EXPECT_EQ(state.notice(), i18n::t("files-archive-read-only"));
}

}  // namespace
}  // namespace files::app
