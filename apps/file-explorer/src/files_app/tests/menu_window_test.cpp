// The menus in a real window: opened by pointer, Menu key and command, chosen by pointer and
// keyboard, with their commands carried out.

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <optional>
#include <string>

#include "favorites/favorites.h"
#include "files_app/file_explorer_widget.h"
#include "i18n/i18n.h"
#include "menu_test_support.h"
#include "vask_ui/launch.h"
#include "vask_ui/regions.h"
#include "window_fixture.h"

namespace files::app {
namespace {

using test_support::ScratchFolder;
using vask_ui::Key;
using vask_ui::PointerButton;

/// Points the templates folder somewhere else for one test.
class TemplatesFolder {
 public:
  explicit TemplatesFolder(const std::filesystem::path& folder) {
    if (const char* old = std::getenv("XDG_TEMPLATES_DIR")) old_ = old;
    ::setenv("XDG_TEMPLATES_DIR", folder.c_str(), 1);
  }
  ~TemplatesFolder() {
    if (old_) {
      ::setenv("XDG_TEMPLATES_DIR", old_->c_str(), 1);
    } else {
      ::unsetenv("XDG_TEMPLATES_DIR");
    }
  }

 private:
  std::optional<std::string> old_;
};

class MenuWindow : public ::testing::Test, protected WindowDriver {
 protected:
  void SetUp() override {
    folder.file("alpha.txt");
    folder.file("beta.txt");
    folder.file(".hidden");
    templates.file("Letter.odt");
    open_window(local_config(config_dir.path(), folder.path()));
  }
  void click(vask_ui::Point p, PointerButton button = PointerButton::Primary) {
    window->handle_event(vask_ui::PointerMove{p, {}});
    window->handle_event(vask_ui::PointerPress{p, button, {}});
    window->handle_event(vask_ui::PointerRelease{p, button, {}});
    render();
  }
  void key(Key k, std::string text = {}) {
    window->handle_event(vask_ui::KeyPress{k, std::move(text), {}});
    render();
  }
  vask_ui::Rect row_of(const std::string& name) const {
    auto rect = vask_ui::regions::current().find(vask_ui::regions::file_row_id(name));
    EXPECT_TRUE(rect) << name;
    return rect.value_or(vask_ui::Rect{});
  }
  std::optional<std::size_t> menu_index(std::string_view label) const {
    const auto& menu = window->menu();
    for (std::size_t i = 0; i < menu.size(); ++i) {
      if (menu.entry(i).label == label) return i;
    }
    return std::nullopt;
  }
  void choose(std::string_view label) {
    auto index = menu_index(label);
    ASSERT_TRUE(index) << label << " is not in the menu";
    click(window->menu().item_rect(*index).center());
  }
  std::vector<std::string> names() const {
    std::vector<std::string> out;
    for (const auto& e : window->state().entries())
      out.push_back(e.name);
    return out;
  }

  ScratchFolder folder;
  ScratchFolder config_dir;
  ScratchFolder templates;
  TemplatesFolder templates_env{templates.path()};
};

TEST_F(MenuWindow, SecondaryClickSelectsTheItemAndOpensItsMenuAtThePointer) {
  vask_ui::Point at = row_of("beta.txt").center();
  click(at, PointerButton::Secondary);
  ASSERT_TRUE(window->menu().is_open());
  EXPECT_EQ(window->state().selection().selected(), (std::vector<std::size_t>{1}));
  EXPECT_EQ(window->menu().rect().x0, at.x);
  EXPECT_EQ(window->menu().rect().y0, at.y);
  EXPECT_EQ(window->menu().entry(0).label, i18n::t("files-menu-open"));
  // The release of the opening click chose nothing; a click outside closes the menu and does
  // nothing else.
  click({5, 690});
  EXPECT_FALSE(window->menu().is_open());
  EXPECT_EQ(window->state().selection().selected(), (std::vector<std::size_t>{1}));
}

TEST_F(MenuWindow, SecondaryClickOnEmptySpaceClearsTheSelection) {
  window->state().selection().select_only(0);
  click({600, 650}, PointerButton::Secondary);
  ASSERT_TRUE(window->menu().is_open());
  EXPECT_TRUE(window->state().selection().empty());
  EXPECT_FALSE(menu_index(i18n::t("files-menu-open")));
  EXPECT_TRUE(menu_index(i18n::t("files-menu-new-folder")));
}

TEST_F(MenuWindow, MenuKeyOpensBesideThePrimaryRowAndTheKeyboardChooses) {
  key(Key::Menu);
  EXPECT_FALSE(window->menu().is_open()) << "nothing selected";
  window->state().selection().select_only(0);
  render();
  key(Key::Menu);
  ASSERT_TRUE(window->menu().is_open());
  vask_ui::Rect row = row_of("alpha.txt");
  EXPECT_EQ(window->menu().rect().x0, row.x0 + 24);
  EXPECT_EQ(window->menu().rect().y0, row.y0 + 24);
  // Opened from the keyboard, the first entry is ready; Down twice passes Rename and the
  // separator and lands on Cut.
  EXPECT_EQ(window->menu().highlighted(), std::optional<std::size_t>{0});
  key(Key::Down);
  key(Key::Down);
  ASSERT_EQ(window->menu().entry(*window->menu().highlighted()).label, i18n::t("files-menu-cut"));
  key(Key::Enter);
  EXPECT_FALSE(window->menu().is_open());
  EXPECT_EQ(*window->state().notice(), i18n::t_args("files-cut", {{"count", i18n::count(1)}}));
}

TEST_F(MenuWindow, MenuKeyWithoutARowFallsBackBelowTheWindowCorner) {
  window->state().selection().select_only(0);
  window->state().selection().set_primary(1);
  vask_ui::regions::current().clear();
  key(Key::Menu);
  ASSERT_TRUE(window->menu().is_open());
  EXPECT_EQ(window->menu().rect().x0, 24);
  EXPECT_EQ(window->menu().rect().y0, 72);
}

TEST_F(MenuWindow, ViewMenuTogglesHiddenFiles) {
  EXPECT_EQ(names(), (std::vector<std::string>{"alpha.txt", "beta.txt"}));
  window->execute(command::OpenViewMenu{{900, 52}});
  render();
  ASSERT_TRUE(window->menu().is_open());
  EXPECT_EQ(window->menu().entry(0).label, i18n::t("files-menu-new-folder"));
  auto hidden = menu_index(i18n::t("files-menu-show-hidden"));
  ASSERT_TRUE(hidden);
  EXPECT_EQ(window->menu().entry(*hidden).check, vask_ui::CheckState::Unticked);
  choose(i18n::t("files-menu-show-hidden"));
  EXPECT_EQ(names(), (std::vector<std::string>{".hidden", "alpha.txt", "beta.txt"}));
  window->execute(command::OpenViewMenu{{900, 52}});
  EXPECT_EQ(window->menu().entry(*hidden).check, vask_ui::CheckState::Ticked);
}

TEST_F(MenuWindow, TheToolbarStillOpensMenusAfterAChoiceWithThePointer) {
  const vask_ui::Button* options = window->toolbar().shown_button("files.view_menu");
  ASSERT_NE(options, nullptr);
  click(options->rect().center());
  ASSERT_TRUE(window->menu().is_open());
  key(Key::Escape);
  click(row_of("beta.txt").center(), PointerButton::Secondary);
  choose(i18n::t("files-menu-copy"));
  ASSERT_FALSE(window->menu().is_open());
  click(options->rect().center());
  EXPECT_TRUE(window->menu().is_open());
}

TEST_F(MenuWindow, NewFileOpensTheTemplatesBesideItsEntry) {
  click({600, 650}, PointerButton::Secondary);
  auto new_file = menu_index(i18n::t("files-menu-new-file"));
  ASSERT_TRUE(new_file);
  vask_ui::Rect entry = window->menu().item_rect(*new_file);
  choose(i18n::t("files-menu-new-file"));
  ASSERT_TRUE(window->menu().is_open());
  EXPECT_GE(window->menu().rect().x0, entry.x1) << "beside the entry, to its right";
  const std::string letter = i18n::t_args("files-new-from-template", {{"name", "Letter"}});
  ASSERT_EQ(window->menu().size(), 1u);
  EXPECT_EQ(window->menu().entry(0).label, letter);
  choose(letter);
  EXPECT_TRUE(std::filesystem::exists(folder.path() / "Letter.odt"));
  // The command alone opens the submenu where the last menu opened.
  window->execute(command::OpenTemplateMenu{});
  ASSERT_TRUE(window->menu().is_open());
  EXPECT_EQ(window->menu().entry(0).label, letter);
}

TEST_F(MenuWindow, ANarrowToolbarMovesItsControlsIntoTheViewMenu) {
  frame =
      std::make_unique<vask_ui::ShotFrame>(vask_ui::Size{600, 700}, vask_ui::Theme::screenshot());
  render();
  ASSERT_TRUE(window->toolbar().is_compact());
  window->execute(command::OpenViewMenu{{590, 52}});
  ASSERT_TRUE(window->menu().is_open());
  EXPECT_EQ(window->menu().entry(0).label, i18n::t("files-view-list"));
  EXPECT_EQ(window->menu().entry(0).check, vask_ui::CheckState::Ticked);
  // Sort by opens the sort menu beside its entry.
  auto sort_by = menu_index(i18n::t("files-sort-by"));
  ASSERT_TRUE(sort_by);
  choose(i18n::t("files-sort-by"));
  ASSERT_TRUE(window->menu().is_open());
  EXPECT_EQ(window->menu().entry(0).label, i18n::t("files-sort-name"));
}

TEST_F(MenuWindow, TheFolderOnViewCanBeRemovedFromFavourites) {
  window->execute(command::AddFavourite{folder.path()});
  click({600, 650}, PointerButton::Secondary);
  ASSERT_TRUE(menu_index(i18n::t("files-menu-remove-favourite")));
  choose(i18n::t("files-menu-remove-favourite"));
  EXPECT_FALSE(favorites::is_favourite(window->favourites(), folder.path()));
}

TEST_F(MenuWindow, SortMenuChoosesAndTicksTheDirection) {
  window->execute(command::OpenSortMenu{{500, 60}});
  render();
  ASSERT_TRUE(window->menu().is_open());
  choose(i18n::t("files-sort-descending"));
  EXPECT_EQ(window->state().sort_order(), model::SortOrder::Descending);
  EXPECT_EQ(names(), (std::vector<std::string>{"beta.txt", "alpha.txt"}));
  window->execute(command::OpenSortMenu{{500, 60}});
  EXPECT_EQ(window->menu().entry(6).check, vask_ui::CheckState::Ticked);
}

TEST_F(MenuWindow, AnOpenMenuIsPartOfTheAccessibilityTreeAndCanBePressed) {
  window->execute(command::OpenSortMenu{{500, 60}});
  render();
  auto tree = window->accessibility();
  ASSERT_FALSE(tree.children.empty());
  const auto& menu = tree.children.back();
  ASSERT_EQ(menu.role, vask_ui::AccessRole::Menu);
  ASSERT_EQ(menu.children.size(), 7u);
  ASSERT_TRUE(menu.children[1].default_action);
  EXPECT_TRUE(window->perform_semantic_action(
      {.action = vask_ui::access_action::press, .target = *menu.children[1].default_action}));
  EXPECT_EQ(window->state().sort_key(), model::SortKey::Size);
  EXPECT_FALSE(window->menu().is_open());
}

}  // namespace
}  // namespace files::app
