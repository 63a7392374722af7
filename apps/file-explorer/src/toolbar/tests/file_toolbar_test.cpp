#include "toolbar/file_toolbar.h"

#include <gtest/gtest.h>

#include "vask_ui/launch.h"

namespace files::toolbar {
namespace {

using Ids = std::vector<std::string>;

class ToolbarTest : public ::testing::Test {
 protected:
  void lay_out(float width) {
    frame_ = std::make_unique<vask_ui::ShotFrame>(vask_ui::Size{width, 50},
                                                  vask_ui::Theme::screenshot());
    frame_->sync_and_layout(toolbar_);
    frame_->draw(toolbar_);
  }
  ToolbarState state(bool grid = false) {
    ToolbarState s;
    s.back_enabled = true;
    s.up_enabled = true;
    s.grid_view = grid;
    s.current_folder = "/srv/data";
    return s;
  }
  void click(vask_ui::Point p) {
    toolbar_.handle_event(vask_ui::PointerMove{p, {}});
    toolbar_.handle_event(vask_ui::PointerPress{p, vask_ui::PointerButton::Primary, {}});
    toolbar_.handle_event(vask_ui::PointerRelease{p, vask_ui::PointerButton::Primary, {}});
  }
  void click_button(std::string_view id) {
    const vask_ui::Button* button = toolbar_.shown_button(id);
    ASSERT_NE(button, nullptr) << id;
    click(button->rect().center());
  }

  command::CommandQueueHandle queue_ = std::make_shared<command::CommandQueue>();
  FileToolbar toolbar_{queue_};
  std::unique_ptr<vask_ui::ShotFrame> frame_;
};

TEST_F(ToolbarTest, CompactBelow760) {
  struct Case {
    float width;
    bool grid;
    Ids ids;
  };
  const Ids compact{"files.back", "files.up", "files.path_input", "files.view_menu"};
  const Ids list{"files.back",       "files.forward",   "files.up",
                 "files.path_input", "files.view-mode", "files.view_menu"};
  const Ids grid{"files.back",      "files.forward",   "files.up",       "files.path_input",
                 "files.view-mode", "files.sort_menu", "files.view_menu"};
  for (const Case& c : {Case{759, false, compact}, Case{759, true, compact}, Case{760, false, list},
                        Case{760, true, grid}, Case{1280, true, grid}, Case{400, false, compact}}) {
    SCOPED_TRACE(c.width);
    toolbar_.update(state(c.grid));
    lay_out(c.width);
    EXPECT_EQ(toolbar_.is_compact(), c.width < 760);
    EXPECT_EQ(toolbar_.shown_control_ids(), c.ids);
  }
}

TEST_F(ToolbarTest, SwitchingAsksForARelayoutAndPlacesTheNewSetAtOnce) {
  toolbar_.update(state());
  EXPECT_TRUE(toolbar_.is_compact()) << "compact until the first wide layout";
  lay_out(1000);
  EXPECT_TRUE(toolbar_.take_relayout_request());
  EXPECT_FALSE(toolbar_.take_relayout_request());
  const auto* forward = toolbar_.shown_button("files.forward");
  ASSERT_NE(forward, nullptr);
  EXPECT_EQ(forward->rect().width(), 36);
  EXPECT_EQ(forward->rect().height(), 32);
  lay_out(1000);
  EXPECT_FALSE(toolbar_.take_relayout_request());
  lay_out(700);
  EXPECT_TRUE(toolbar_.take_relayout_request());
}

TEST_F(ToolbarTest, PathBarFillsTheWidthTheButtonsLeave) {
  toolbar_.update(state());
  lay_out(1000);
  vask_ui::Rect bar = toolbar_.path_bar().bounds();
  EXPECT_EQ(bar.height(), 34);
  const vask_ui::Rect up = toolbar_.shown_button("files.up")->rect();
  const vask_ui::Rect options = toolbar_.shown_button("files.view_menu")->rect();
  EXPECT_EQ(bar.x0, up.x1 + 4);
  EXPECT_LE(bar.x1 + 4, options.x0);
  EXPECT_EQ(options.x1, 1000 - 8);
  EXPECT_GT(bar.width(), 600);
}

TEST_F(ToolbarTest, EnabledRules) {
  lay_out(1000);
  for (const char* id : {"files.back", "files.forward", "files.up", "files.view_menu"}) {
    EXPECT_FALSE(toolbar_.shown_button(id)->enabled()) << id << " before the first update";
  }
  ToolbarState at_root;
  at_root.current_folder = "/";
  toolbar_.update(at_root);
  lay_out(1000);
  EXPECT_FALSE(toolbar_.shown_button("files.back")->enabled());
  EXPECT_FALSE(toolbar_.shown_button("files.forward")->enabled());
  EXPECT_FALSE(toolbar_.shown_button("files.up")->enabled());
  EXPECT_TRUE(toolbar_.shown_button("files.view_menu")->enabled());

  click_button("files.up");
  click_button("files.back");
  EXPECT_TRUE(queue_->empty()) << "disabled buttons post nothing";

  ToolbarState s = state();
  s.forward_enabled = true;
  toolbar_.update(s);
  lay_out(1000);
  click_button("files.back");
  click_button("files.forward");
  click_button("files.up");
  auto commands = queue_->take_all();
  ASSERT_EQ(commands.size(), 3u);
  EXPECT_TRUE(std::holds_alternative<command::GoBack>(commands[0]));
  EXPECT_TRUE(std::holds_alternative<command::GoForward>(commands[1]));
  EXPECT_TRUE(std::holds_alternative<command::GoUp>(commands[2]));
}

TEST_F(ToolbarTest, ViewButtonsPostTheirCommands) {
  toolbar_.update(state(/*grid=*/true));
  lay_out(1000);
  EXPECT_EQ(toolbar_.view_mode_toggle().selected(), 1u);
  click(toolbar_.view_mode_toggle().segment_rect(0).center());
  click_button("files.sort_menu");
  click_button("files.view_menu");
  auto commands = queue_->take_all();
  ASSERT_EQ(commands.size(), 3u);
  ASSERT_TRUE(std::holds_alternative<command::SetViewMode>(commands[0]));
  EXPECT_EQ(std::get<command::SetViewMode>(commands[0]).mode, model::ViewMode::List);
  ASSERT_TRUE(std::holds_alternative<command::OpenSortMenu>(commands[1]));
  const vask_ui::Rect sort = toolbar_.shown_button("files.sort_menu")->rect();
  EXPECT_EQ(std::get<command::OpenSortMenu>(commands[1]).position.x, sort.x0);
  EXPECT_GT(std::get<command::OpenSortMenu>(commands[1]).position.y, sort.y1);
  EXPECT_TRUE(std::holds_alternative<command::OpenViewMenu>(commands[2]));
  EXPECT_GE(sort.width(), 104);
}

TEST_F(ToolbarTest, ExtractReplacesViewOptionsInsideAnArchive) {
  ToolbarState s = state();
  s.archive = "/srv/data/photos.zip";
  s.current_folder = "/srv/data/photos.zip/2024";
  toolbar_.update(s);
  lay_out(1000);
  EXPECT_EQ(toolbar_.shown_control_ids().back(), "files.archive.extract");
  const auto* extract = toolbar_.shown_button("files.archive.extract");
  EXPECT_EQ(extract->label(), "Extract archive…");
  EXPECT_GE(extract->rect().width(), 104);
  click_button("files.archive.extract");
  auto commands = queue_->take_all();
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(std::get<command::ExtractArchive>(commands[0]).archive,
            std::filesystem::path("/srv/data/photos.zip"));

  lay_out(700);
  extract = toolbar_.shown_button("files.archive.extract");
  ASSERT_NE(extract, nullptr);
  EXPECT_TRUE(extract->label().empty());
  EXPECT_EQ(extract->rect().width(), 36);

  toolbar_.update(state());
  lay_out(700);
  EXPECT_EQ(toolbar_.shown_control_ids().back(), "files.view_menu");
}

TEST_F(ToolbarTest, ButtonsAreAutomationControlsWithAccessibleNames) {
  toolbar_.update(state());
  lay_out(1000);
  auto resources = toolbar_.resources();
  Ids ids;
  for (const auto& r : resources)
    ids.push_back(r.control_id);
  for (const char* id : {"files.back", "files.forward", "files.up", "files.view_menu"}) {
    EXPECT_NE(std::find(ids.begin(), ids.end(), id), ids.end()) << id;
  }
  EXPECT_TRUE(toolbar_.take_control_invocation({"files.up", "invoke", std::nullopt}));
  auto commands = queue_->take_all();
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_TRUE(std::holds_alternative<command::GoUp>(commands[0]));

  auto node = toolbar_.accessibility();
  EXPECT_EQ(node.role, vask_ui::AccessRole::Toolbar);
  std::vector<std::string> names;
  for (const auto& child : node.children)
    names.push_back(child.name);
  EXPECT_EQ(names.front(), "Back");
  EXPECT_NE(std::find(names.begin(), names.end(), "Up one folder"), names.end());
  EXPECT_NE(std::find(names.begin(), names.end(), "View options"), names.end());
}

}  // namespace
}  // namespace files::toolbar
