#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "favorites/tests/scratch_folder.h"
#include "files_app/file_explorer_widget.h"
#include "i18n/i18n.h"
#include "vask_ui/launch.h"
#include "vask_ui/regions.h"

namespace files::app {
namespace {

using vask_ui::Key;
using vask_ui::PointerButton;

/// A real window over a scratch home folder, with the toolbar, the path bar and the places
/// sidebar driven by synthetic events.
class WindowChromeTest : public ::testing::Test {
 protected:
  WindowChromeTest() {
    home_ = scratch_.folder("home");
    scratch_.folder("home/Documents/Tax");
    scratch_.folder("home/Music");
    scratch_.file("home/Documents/letter.txt");
  }
  void open(std::filesystem::path start, vask_ui::Size size = {1100, 700}) {
    WindowConfig config;
    config.config_dir = scratch_.path() / "config" / "vask-files";
    config.user_home = home_;
    config.start_folder = std::move(start);
    config.in_workspace = [](const std::filesystem::path&) { return false; };
    window_ = std::make_unique<FileExplorerWidget>(std::move(config));
    frame_ = std::make_unique<vask_ui::ShotFrame>(size, vask_ui::Theme::screenshot());
    render();
  }
  void render() {
    frame_->sync_and_layout(*window_);
    frame_->draw(*window_);
  }
  void click(vask_ui::Point p) {
    window_->handle_event(vask_ui::PointerMove{p, {}});
    window_->handle_event(vask_ui::PointerPress{p, PointerButton::Primary, {}});
    window_->handle_event(vask_ui::PointerRelease{p, PointerButton::Primary, {}});
    render();
  }
  void key(Key k, vask_ui::Modifiers m = {}, std::string text = {}) {
    window_->handle_event(vask_ui::KeyPress{k, std::move(text), m});
    render();
  }
  void type(std::string text) {
    window_->handle_event(vask_ui::TextCommit{std::move(text)});
    render();
  }
  vask_ui::Point entry(const std::string& name) {
    auto rect = vask_ui::regions::current().find(vask_ui::regions::file_row_id(name));
    EXPECT_TRUE(rect.has_value()) << name;
    return rect ? rect->center() : vask_ui::Point{};
  }
  vask_ui::Point crumb(std::size_t index) {
    for (const auto& e : window_->toolbar().path_bar().elements()) {
      if (e.crumb == index) return e.rect.center();
    }
    ADD_FAILURE() << "crumb " << index << " not shown";
    return {};
  }
  /// Drags the entry `name` and releases it at `to`.
  void drag(const std::string& name, vask_ui::Point to) {
    auto from = entry(name);
    window_->handle_event(vask_ui::PointerMove{from, {}});
    window_->handle_event(vask_ui::PointerPress{from, PointerButton::Primary, {}});
    window_->handle_event(vask_ui::PointerMove{{from.x + 20, from.y}, {}});
    ASSERT_TRUE(window_->drag_in_progress());
    window_->handle_event(vask_ui::PointerMove{to, {}});
    window_->handle_event(vask_ui::PointerRelease{to, PointerButton::Primary, {}});
    render();
  }
  std::string favourites_file() const {
    std::ifstream in(scratch_.path() / "config" / "vask-files" / "favorites");
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  const std::filesystem::path& current() const { return window_->state().current_folder(); }

  chrome_testing::ScratchFolder scratch_;
  std::filesystem::path home_;
  std::unique_ptr<FileExplorerWidget> window_;
  std::unique_ptr<vask_ui::ShotFrame> frame_;
};

TEST_F(WindowChromeTest, ToolbarFollowsTheWindowState) {
  open(home_ / "Documents");
  const auto& toolbar = window_->toolbar();
  EXPECT_FALSE(toolbar.is_compact());
  EXPECT_FALSE(toolbar.shown_button("files.back")->enabled());
  EXPECT_FALSE(toolbar.shown_button("files.forward")->enabled());
  EXPECT_TRUE(toolbar.shown_button("files.up")->enabled());
  EXPECT_EQ(toolbar.path_bar().crumbs().size(), 2u);
  EXPECT_EQ(toolbar.path_bar().crumbs().front().label, "Home");

  click(toolbar.shown_button("files.up")->rect().center());
  EXPECT_EQ(current(), home_);
  EXPECT_TRUE(toolbar.shown_button("files.back")->enabled());
  click(toolbar.shown_button("files.back")->rect().center());
  EXPECT_EQ(current(), home_ / "Documents");
  EXPECT_TRUE(toolbar.shown_button("files.forward")->enabled());

  click(toolbar.view_mode_toggle().segment_rect(1).center());
  EXPECT_EQ(window_->state().view_mode(), model::ViewMode::Grid);
  EXPECT_NE(toolbar.shown_button("files.sort_menu"), nullptr);

  window_->navigate("/");
  render();
  EXPECT_FALSE(toolbar.shown_button("files.up")->enabled());
}

TEST_F(WindowChromeTest, ClickingACrumbOpensIt) {
  open(home_ / "Documents" / "Tax");
  click(crumb(0));
  EXPECT_EQ(current(), home_);
  EXPECT_EQ(window_->toolbar().path_bar().crumbs().size(), 1u);
}

TEST_F(WindowChromeTest, PrimaryLEditsTheLocationAndEnterOpensIt) {
  open(home_ / "Documents");
  key(Key::Character, {.primary = true}, "l");
  auto& bar = window_->toolbar().path_bar();
  ASSERT_TRUE(bar.is_editing());
  EXPECT_EQ(bar.field().input().text(), "~/Documents");
  key(Key::Character, {.primary = true}, "a");  // the field's own select-all
  type("~/Mu");
  ASSERT_TRUE(bar.field().is_popup_open());
  key(Key::Tab);  // completes the only match
  EXPECT_EQ(bar.field().input().text(), "~/Music/");
  key(Key::Enter);
  EXPECT_FALSE(bar.is_editing());
  EXPECT_EQ(current(), home_ / "Music");
  EXPECT_EQ(window_->toolbar().path_bar().crumbs().back().label, "Music");
}

TEST_F(WindowChromeTest, ChoosingACompletionWithThePointerOpensIt) {
  open(home_);
  key(Key::Character, {.primary = true}, "L");
  auto& bar = window_->toolbar().path_bar();
  key(Key::Character, {.primary = true}, "a");
  type("~/D");
  vask_ui::Rect popup = bar.popup_rect();
  ASSERT_FALSE(popup.is_empty());
  // The list hangs over the file view; the row is under the pointer, not the view.
  vask_ui::Point first{popup.x0 + 40, popup.y0 + 18};
  click(first);
  EXPECT_EQ(current(), home_ / "Documents");
}

TEST_F(WindowChromeTest, APressElsewhereEndsTheEditWithoutOpening) {
  open(home_ / "Documents");
  key(Key::Character, {.primary = true}, "l");
  ASSERT_TRUE(window_->toolbar().path_bar().is_editing());
  click(entry("letter.txt"));
  EXPECT_FALSE(window_->toolbar().path_bar().is_editing());
  EXPECT_EQ(current(), home_ / "Documents");
  EXPECT_EQ(window_->state().selection().selected(), (std::vector<std::size_t>{1}));
}

TEST_F(WindowChromeTest, DroppingOneFolderOnTheSidebarAddsAFavourite) {
  open(home_);
  const std::size_t before = window_->favourites().size();
  const vask_ui::Rect sidebar = window_->sidebar().rect();
  const vask_ui::Point empty_sidebar{sidebar.center().x, sidebar.y1 - 40};
  drag("Music", empty_sidebar);
  ASSERT_EQ(window_->favourites().size(), before + 1);
  EXPECT_EQ(window_->favourites().back().path, home_ / "Music");
  EXPECT_EQ(window_->state().notice(), i18n::t("files-added-favourite"));
  EXPECT_EQ(favourites_file(), home_.string() + "\n" + (home_ / "Music").string());

  // Again: nothing changes and nothing is said.
  window_->state().clear_notice();
  drag("Music", empty_sidebar);
  EXPECT_EQ(window_->favourites().size(), before + 1);
  EXPECT_FALSE(window_->state().notice().has_value());
}

TEST_F(WindowChromeTest, DroppingAFileOnTheSidebarDoesNothing) {
  open(home_ / "Documents");
  const std::size_t before = window_->favourites().size();
  drag("letter.txt", {window_->sidebar().rect().center().x, window_->sidebar().rect().y1 - 40});
  EXPECT_EQ(window_->favourites().size(), before);
  EXPECT_TRUE(std::filesystem::exists(home_ / "Documents" / "letter.txt"));
}

TEST_F(WindowChromeTest, DroppingOnTheParentCrumbMovesThere) {
  open(home_ / "Documents");
  drag("letter.txt", crumb(0));
  EXPECT_TRUE(std::filesystem::exists(home_ / "letter.txt"));
  EXPECT_FALSE(std::filesystem::exists(home_ / "Documents" / "letter.txt"));
}

TEST_F(WindowChromeTest, FavouritesAreReorderedRemovedAndKeptAcrossRestarts) {
  open(home_);
  window_->execute(command::AddFavourite{home_ / "Documents"});
  window_->execute(command::AddFavourite{home_ / "Music/"});
  ASSERT_EQ(window_->favourites().size(), 3u);
  render();

  // Drag the first favourite (Home) below the last one in the sidebar.
  const auto& sidebar = window_->sidebar();
  auto geometry = sidebar.geometry();
  auto home_row = geometry.row_rect({places::Section::Favourites, 0}).center();
  auto last_row = geometry.row_rect({places::Section::Favourites, 2}).center();
  window_->handle_event(vask_ui::PointerMove{home_row, {}});
  window_->handle_event(vask_ui::PointerPress{home_row, PointerButton::Primary, {}});
  window_->handle_event(vask_ui::PointerMove{{home_row.x, home_row.y + 10}, {}});
  window_->handle_event(vask_ui::PointerMove{last_row, {}});
  window_->handle_event(vask_ui::PointerRelease{last_row, PointerButton::Primary, {}});
  render();
  ASSERT_EQ(window_->favourites().size(), 3u);
  EXPECT_EQ(window_->favourites()[0].path, home_ / "Documents");
  EXPECT_EQ(window_->favourites()[2].path, home_);
  EXPECT_EQ(current(), home_) << "a drag opens nothing";

  window_->execute(command::RemoveFavourite{home_ / "Documents/"});
  EXPECT_EQ(window_->state().notice(), i18n::t("files-removed-favourite"));

  open(home_);
  ASSERT_EQ(window_->favourites().size(), 2u);
  EXPECT_EQ(window_->favourites()[0].label, "Music");
  EXPECT_EQ(window_->favourites()[1].label, "Home");
}

TEST_F(WindowChromeTest, CompactToolbarBelow760) {
  open(home_, {759 + 232, 600});
  EXPECT_TRUE(window_->toolbar().is_compact());
  EXPECT_EQ(window_->toolbar().shown_button("files.forward"), nullptr);
  open(home_, {760 + 232, 600});
  EXPECT_FALSE(window_->toolbar().is_compact());
  EXPECT_NE(window_->toolbar().shown_button("files.forward"), nullptr);
}

}  // namespace
}  // namespace files::app
