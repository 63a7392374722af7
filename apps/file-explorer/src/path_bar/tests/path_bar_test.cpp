#include "path_bar/path_bar.h"

#include <gtest/gtest.h>

#include "favorites/tests/scratch_folder.h"
#include "path_bar/typed_path.h"
#include "vask_ui/launch.h"

namespace files::path_bar {
namespace {

using vask_ui::Key;

/// A path bar alone in an off-screen frame, over a real home folder.
class PathBarTest : public ::testing::Test {
 protected:
  PathBarTest() {
    home_ = tmp_.folder("home");
    tmp_.folder("home/Documents/Tax/2024");
    tmp_.folder("home/Downloads");
    bar_.set_path(home_ / "Documents" / "Tax", home_, {});
    render();
  }
  void render() {
    frame_.sync_and_layout(bar_);
    frame_.draw(bar_);
  }
  vask_ui::EventResult click(vask_ui::Point p) {
    bar_.handle_event(vask_ui::PointerMove{p, {}});
    auto r = bar_.handle_event(vask_ui::PointerPress{p, vask_ui::PointerButton::Primary, {}});
    bar_.handle_event(vask_ui::PointerRelease{p, vask_ui::PointerButton::Primary, {}});
    render();
    return r;
  }
  vask_ui::EventResult key(Key k, std::string text = {}) {
    auto r = bar_.handle_event(vask_ui::KeyPress{k, std::move(text), {}});
    render();
    return r;
  }
  void type(std::string text) {
    bar_.handle_event(vask_ui::TextCommit{std::move(text)});
    render();
  }
  vask_ui::Point crumb_centre(std::size_t crumb) const {
    for (const CrumbItem& e : bar_.elements()) {
      if (e.crumb == crumb) return e.rect.center();
    }
    ADD_FAILURE() << "crumb " << crumb << " not placed";
    return {};
  }
  std::vector<command::ExplorerCommand> posted() { return queue_->take_all(); }

  chrome_testing::ScratchFolder tmp_;
  std::filesystem::path home_;
  command::CommandQueueHandle queue_ = std::make_shared<command::CommandQueue>();
  PathBar bar_{queue_};
  vask_ui::ShotFrame frame_{{600, 34}, vask_ui::Theme::screenshot()};
};

TEST_F(PathBarTest, ClickingAnAncestorPostsGoToFolder) {
  ASSERT_EQ(bar_.crumbs().size(), 3u);
  EXPECT_EQ(click(crumb_centre(1)), vask_ui::EventResult::Handled);
  auto commands = posted();
  ASSERT_EQ(commands.size(), 1u);
  ASSERT_TRUE(std::holds_alternative<command::GoToFolder>(commands[0]));
  EXPECT_EQ(std::get<command::GoToFolder>(commands[0]).path, home_ / "Documents");
  EXPECT_FALSE(bar_.is_editing());
  // The bar itself does not move: the window answers with set_path.
  EXPECT_EQ(bar_.crumbs().back().path, home_ / "Documents" / "Tax");
}

TEST_F(PathBarTest, ClickingTheCurrentCrumbEditsItsDisplayForm) {
  click(crumb_centre(2));
  EXPECT_TRUE(posted().empty());
  ASSERT_TRUE(bar_.is_editing());
  EXPECT_EQ(bar_.field().input().text(), "~/Documents/Tax");
  EXPECT_EQ(bar_.field().input().control_id(), "files.path_input");
}

TEST_F(PathBarTest, TypedRelativePathIsResolvedAgainstTheFolderShownWhenEditingStarted) {
  bar_.start_editing();
  render();
  // The window moves on while the user types: the base stays, the crumbs wait.
  bar_.set_path(home_ / "Downloads", home_, {});
  EXPECT_EQ(bar_.crumbs().back().path, home_ / "Documents" / "Tax");
  bar_.field().input().select_all();
  type("2024");
  EXPECT_EQ(key(Key::Enter), vask_ui::EventResult::Handled);
  auto commands = posted();
  ASSERT_EQ(commands.size(), 1u);
  ASSERT_TRUE(std::holds_alternative<command::GoToTypedPath>(commands[0]));
  EXPECT_EQ(std::get<command::GoToTypedPath>(commands[0]).path,
            home_ / "Documents" / "Tax" / "2024");
  EXPECT_FALSE(bar_.is_editing());
  // Ending the edit shows the folder the window reported meanwhile.
  EXPECT_EQ(bar_.crumbs().back().path, home_ / "Downloads");
}

TEST_F(PathBarTest, CompletionThenEnterOpensTheSuggestion) {
  bar_.start_editing();
  bar_.field().input().select_all();
  type("~/Do");
  ASSERT_TRUE(bar_.field().is_popup_open());
  EXPECT_EQ(bar_.field().suggestions().size(), 2u);
  EXPECT_FALSE(bar_.popup_rect().is_empty());
  key(Key::Down);
  key(Key::Down);
  key(Key::Enter);
  auto commands = posted();
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(std::get<command::GoToTypedPath>(commands[0]).path, home_ / "Downloads");
}

TEST_F(PathBarTest, EscapeTwiceLeavesEditingWithoutACommand) {
  bar_.start_editing();
  key(Key::Escape);  // closes the popup
  EXPECT_TRUE(bar_.is_editing());
  key(Key::Escape);
  EXPECT_FALSE(bar_.is_editing());
  EXPECT_TRUE(posted().empty());
}

TEST_F(PathBarTest, LosingFocusEndsTheEdit) {
  bar_.focus_changed(true);
  bar_.start_editing();
  bar_.focus_changed(false);
  EXPECT_FALSE(bar_.is_editing());
  EXPECT_TRUE(posted().empty());
}

TEST_F(PathBarTest, KeyboardMovesBetweenCrumbsWhileFocused) {
  EXPECT_EQ(key(Key::Left), vask_ui::EventResult::Ignored) << "only with keyboard focus";
  bar_.focus_changed(true);
  EXPECT_EQ(bar_.keyboard_crumb(), 2u);
  key(Key::Right);
  EXPECT_EQ(bar_.keyboard_crumb(), 2u);
  key(Key::Left);
  key(Key::Left);
  key(Key::Left);
  EXPECT_EQ(bar_.keyboard_crumb(), 0u);
  key(Key::End);
  EXPECT_EQ(bar_.keyboard_crumb(), 2u);
  key(Key::Home);
  EXPECT_EQ(bar_.accessibility().value, "Home");
  key(Key::Enter);
  auto commands = posted();
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(std::get<command::GoToFolder>(commands[0]).path, home_);
  key(Key::End);
  key(Key::Enter);
  EXPECT_TRUE(bar_.is_editing());
}

TEST_F(PathBarTest, AccessibilityDescribesEachCrumb) {
  bar_.focus_changed(true);
  auto node = bar_.accessibility();
  EXPECT_EQ(node.name, "Breadcrumbs");
  ASSERT_EQ(node.children.size(), 3u);
  EXPECT_EQ(node.children[0].description, "Open ~");
  EXPECT_EQ(node.children[2].description,
            "Current folder, ~/Documents/Tax. Press Enter to edit the path");
  EXPECT_TRUE(node.children[2].states.current);
  EXPECT_TRUE(node.children[2].states.focused);
  EXPECT_NE(node.children[0].role, node.children[2].role);
  EXPECT_EQ(node.children[1].position_in_set, 2);
  EXPECT_EQ(node.children[1].set_size, 3);

  ASSERT_TRUE(node.children[1].default_action);
  EXPECT_TRUE(bar_.perform_semantic_action({"press", *node.children[1].default_action}));
  auto commands = posted();
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(std::get<command::GoToFolder>(commands[0]).path, home_ / "Documents");
}

TEST_F(PathBarTest, ParentDropZoneIsTheParentsCrumb) {
  auto zone = bar_.parent_drop_zone();
  ASSERT_TRUE(zone.has_value());
  EXPECT_TRUE(zone->contains(crumb_centre(1)));
  EXPECT_FALSE(zone->contains(crumb_centre(2)));
  bar_.set_path(home_, home_, {});
  render();
  EXPECT_FALSE(bar_.parent_drop_zone().has_value()) << "home's parent is not on the trail";
}

TEST_F(PathBarTest, CursorShapes) {
  EXPECT_EQ(bar_.cursor_shape(crumb_centre(1)), vask_ui::CursorShape::Pointer);
  EXPECT_EQ(bar_.cursor_shape(crumb_centre(2)), vask_ui::CursorShape::Text);
  EXPECT_EQ(bar_.cursor_shape({590, 17}), vask_ui::CursorShape::Text);
  EXPECT_EQ(bar_.cursor_shape({590, 60}), vask_ui::CursorShape::Arrow);
}

}  // namespace
}  // namespace files::path_bar
