#include "places_sidebar/places_sidebar.h"

#include <gtest/gtest.h>

#include "vask_ui/launch.h"

namespace files::places {
namespace {

using vask_ui::Key;
using vask_ui::PointerButton;

TEST(SystemPlaces, RootsThenRootThenTrash) {
  auto places =
      system_places({"/w/team", "/"}, std::filesystem::path("/home/u/.local/share/Trash/files"));
  ASSERT_EQ(places.size(), 4u);
  EXPECT_EQ(places[0].label, "team");
  EXPECT_EQ(places[0].icon, vask_ui::icons::Icon::Workspace);
  EXPECT_EQ(places[1].label, "Workspace");
  EXPECT_EQ(places[2], (Place{"Root", vask_ui::icons::Icon::Root, "/"}));
  EXPECT_EQ(places[3].label, "Trash");
  EXPECT_EQ(system_places({}, std::nullopt).size(), 1u) << "no Trash when its folder is unknown";
}

TEST(SidebarGeometry, SectionsAndRows) {
  SidebarGeometry g({0, 0, 232, 800}, 3, 2);
  EXPECT_EQ(g.header_top(Section::Favourites), 12.0f);
  EXPECT_EQ(g.first_row_top(Section::Favourites), 38.0f);
  EXPECT_EQ(g.header_top(Section::System), 12.0f + 26 + 3 * 34 + 12);
  EXPECT_EQ(g.first_row_top(Section::System), 178.0f);
  EXPECT_EQ(g.row_rect({Section::Favourites, 1}), (vask_ui::Rect{12, 72, 220, 106}));

  SidebarGeometry none({0, 0, 232, 800}, 0, 2);
  EXPECT_FALSE(none.header_top(Section::Favourites).has_value());
  EXPECT_EQ(none.header_top(Section::System), 12.0f) << "System moves to the top";
  EXPECT_EQ(none.first_row_top(Section::System), 38.0f);

  SidebarGeometry scaled({0, 100, 232, 800}, 1, 1, 1.5f);
  EXPECT_EQ(scaled.first_row_top(Section::Favourites), 100 + 12 + 39.0f);
  EXPECT_EQ(scaled.row_rect({Section::Favourites, 0}).height(), 51.0f);
}

TEST(SidebarGeometry, HitTesting) {
  SidebarGeometry g({0, 0, 232, 800}, 3, 2);
  struct Case {
    vask_ui::Point p;
    std::optional<RowRef> row;
  };
  for (const Case& c : {
           Case{{100, 38}, RowRef{Section::Favourites, 0}},
           Case{{100, 37.9f}, std::nullopt},  // the Favourites header
           Case{{12, 50}, RowRef{Section::Favourites, 0}},
           Case{{220, 50}, RowRef{Section::Favourites, 0}},
           Case{{11.9f, 50}, std::nullopt},
           Case{{220.1f, 50}, std::nullopt},
           Case{{100, 139.9f}, RowRef{Section::Favourites, 2}},
           Case{{100, 140}, std::nullopt},  // the gap and the System header
           Case{{100, 177}, std::nullopt},
           Case{{100, 178}, RowRef{Section::System, 0}},
           Case{{100, 245.9f}, RowRef{Section::System, 1}},
           Case{{100, 246}, std::nullopt},
       }) {
    SCOPED_TRACE(std::to_string(c.p.x) + "," + std::to_string(c.p.y));
    EXPECT_EQ(g.row_at(c.p), c.row);
  }
}

/// A sidebar alone in an off-screen frame with three favourites; /srv/b is also a workspace
/// root and the folder on view.
class SidebarTest : public ::testing::Test {
 protected:
  SidebarTest() {
    for (const char* path : {"/srv/a", "/srv/b", "/srv/c"}) {
      state_->favourites.push_back(
          favorites::Favourite{std::filesystem::path(path).filename().string(), false,
                               favorites::FavouriteKind::Other, path});
    }
    sidebar_.set_workspace_roots({"/srv/b"});
    render();
  }
  void render() {
    frame_.sync_and_layout(sidebar_);
    frame_.draw(sidebar_);
  }
  vask_ui::Point row_centre(Section section, std::size_t index) const {
    return sidebar_.geometry().row_rect({section, index}).center();
  }
  void press(vask_ui::Point p, PointerButton b = PointerButton::Primary) {
    sidebar_.handle_event(vask_ui::PointerMove{p, {}});
    sidebar_.handle_event(vask_ui::PointerPress{p, b, {}});
  }
  void move(vask_ui::Point p) {
    sidebar_.handle_event(vask_ui::PointerMove{p, {}});
    render();
  }
  void release(vask_ui::Point p) {
    sidebar_.handle_event(vask_ui::PointerRelease{p, PointerButton::Primary, {}});
    render();
  }
  void key(Key k) { sidebar_.handle_event(vask_ui::KeyPress{k, {}, {}}); }
  std::vector<command::ExplorerCommand> posted() { return queue_->take_all(); }
  std::filesystem::path opened() {
    auto commands = posted();
    if (commands.size() != 1 || !std::holds_alternative<command::GoToFolder>(commands[0])) {
      ADD_FAILURE() << "expected one GoToFolder, got " << commands.size() << " commands";
      return {};
    }
    return std::get<command::GoToFolder>(commands[0]).path;
  }

  PlacesStateHandle state_ = std::make_shared<PlacesState>();
  command::CommandQueueHandle queue_ = std::make_shared<command::CommandQueue>();
  PlacesSidebar sidebar_{state_, "/srv/b", queue_, std::filesystem::path("/t/Trash/files")};
  vask_ui::ShotFrame frame_{{232, 600}, vask_ui::Theme::screenshot()};
};

TEST_F(SidebarTest, ClickOpensAPlace) {
  press(row_centre(Section::System, 1));
  EXPECT_EQ(opened(), std::filesystem::path("/"));
  // A favourite opens on release, once it is clear that no drag follows.
  press(row_centre(Section::Favourites, 2));
  EXPECT_TRUE(posted().empty());
  EXPECT_EQ(state_->keyboard_row, 2u);
  EXPECT_TRUE(state_->focused);
  release(row_centre(Section::Favourites, 2));
  EXPECT_EQ(opened(), std::filesystem::path("/srv/c"));
  EXPECT_FALSE(state_->drag.has_value());
}

TEST_F(SidebarTest, SecondaryClickAsksForAFavouritesMenuOnly) {
  press(row_centre(Section::Favourites, 0), PointerButton::Secondary);
  auto commands = posted();
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(std::get<command::OpenFavouriteMenu>(commands[0]).path,
            std::filesystem::path("/srv/a"));
  press(row_centre(Section::System, 0), PointerButton::Secondary);
  EXPECT_TRUE(posted().empty());
}

TEST_F(SidebarTest, DraggingMovesAFavourite) {
  const auto first = row_centre(Section::Favourites, 0);
  press(first);
  move({first.x, first.y + 2});
  EXPECT_EQ(state_->drag->phase, FavouriteDrag::Phase::Pending) << "below the threshold";
  move(row_centre(Section::Favourites, 1));
  EXPECT_EQ(state_->drag->phase, FavouriteDrag::Phase::Dragging);
  EXPECT_EQ(state_->drag->target, 1u);
  // Far below the list the target stays on the last favourite.
  move({first.x, 590});
  EXPECT_EQ(state_->drag->target, 2u);
  release({first.x, 590});
  auto commands = posted();
  ASSERT_EQ(commands.size(), 1u);
  const auto& moved = std::get<command::MoveFavourite>(commands[0]);
  EXPECT_EQ(moved.from, 0u);
  EXPECT_EQ(moved.to, 2u);
  EXPECT_EQ(state_->favourites[0].path, std::filesystem::path("/srv/a")) << "the window moves it";
}

TEST_F(SidebarTest, DraggingBackToItsOwnSlotPostsNothing) {
  const auto second = row_centre(Section::Favourites, 1);
  press(second);
  move({second.x, second.y + 40});
  EXPECT_EQ(state_->drag->target, 2u);
  move({second.x, second.y + 5});
  release({second.x, second.y + 5});
  EXPECT_TRUE(posted().empty());
}

TEST_F(SidebarTest, ADragWhoseListChangedDoesNothing) {
  const auto first = row_centre(Section::Favourites, 0);
  press(first);
  move(row_centre(Section::Favourites, 2));
  state_->favourites.pop_back();
  release(row_centre(Section::Favourites, 2));
  EXPECT_TRUE(posted().empty());
}

TEST_F(SidebarTest, DragPreviewIsARealDragInProgress) {
  sidebar_.show_drag_preview(5, 0);
  EXPECT_FALSE(state_->drag.has_value()) << "only favourites can be lifted";
  sidebar_.show_drag_preview(2, 0);
  ASSERT_TRUE(state_->drag.has_value());
  EXPECT_EQ(state_->drag->phase, FavouriteDrag::Phase::Dragging);
  render();
  // The pointer that holds it agrees with the target slot.
  move(state_->drag->current);
  EXPECT_EQ(state_->drag->target, 0u);
  release(state_->drag->current);
  auto commands = posted();
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(std::get<command::MoveFavourite>(commands[0]).from, 2u);
  EXPECT_EQ(std::get<command::MoveFavourite>(commands[0]).to, 0u);
}

TEST_F(SidebarTest, KeyboardCrossesFromFavouritesToSystemPlaces) {
  key(Key::Down);
  EXPECT_FALSE(state_->keyboard_row.has_value()) << "keys need focus";
  sidebar_.focus_changed(true);
  // Without a keyboard row the moves start at the current folder's row (/srv/b, row 1).
  key(Key::Down);
  EXPECT_EQ(state_->keyboard_row, 2u);
  key(Key::Down);
  EXPECT_EQ(state_->keyboard_row, 3u);
  key(Key::Enter);
  EXPECT_EQ(opened(), std::filesystem::path("/srv/b")) << "the workspace root";
  key(Key::Menu);
  EXPECT_TRUE(posted().empty()) << "system places have no menu";
  key(Key::End);
  EXPECT_EQ(state_->keyboard_row, 5u);
  key(Key::Down);
  EXPECT_EQ(state_->keyboard_row, 5u);
  key(Key::Enter);
  EXPECT_EQ(opened(), std::filesystem::path("/t/Trash/files"));
  key(Key::Home);
  key(Key::Up);
  EXPECT_EQ(state_->keyboard_row, 0u);
  key(Key::Menu);
  auto commands = posted();
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_TRUE(std::holds_alternative<command::OpenFavouriteMenu>(commands[0]));
}

TEST_F(SidebarTest, CurrentFolderIsMarkedInEverySectionListingIt) {
  auto node = sidebar_.accessibility();
  EXPECT_EQ(node.name, "Places");
  ASSERT_EQ(node.children.size(), 6u);
  std::vector<std::size_t> current;
  for (std::size_t i = 0; i < node.children.size(); ++i) {
    if (node.children[i].states.current) current.push_back(i);
  }
  EXPECT_EQ(current, (std::vector<std::size_t>{1, 3}));
  EXPECT_EQ(node.children[0].description, "Favourite, /srv/a");
  EXPECT_EQ(node.children[4].description, "System location, /");
  EXPECT_TRUE(node.children[0].context_menu_action.has_value());
  EXPECT_FALSE(node.children[4].context_menu_action.has_value());

  EXPECT_TRUE(sidebar_.perform_semantic_action({"press", *node.children[4].default_action}));
  EXPECT_EQ(opened(), std::filesystem::path("/"));
  EXPECT_TRUE(
      sidebar_.perform_semantic_action({"showMenu", *node.children[2].context_menu_action}));
  auto commands = posted();
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(std::get<command::OpenFavouriteMenu>(commands[0]).path,
            std::filesystem::path("/srv/c"));
}

TEST_F(SidebarTest, WithoutFavouritesTheSystemSectionComesFirst) {
  state_->favourites.clear();
  render();
  EXPECT_EQ(sidebar_.geometry().row_at({100, 40}), (RowRef{Section::System, 0}));
  press({100, 40});
  EXPECT_EQ(opened(), std::filesystem::path("/srv/b"));
}

}  // namespace
}  // namespace files::places
