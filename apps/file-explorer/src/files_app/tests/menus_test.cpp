#include "files_app/menus.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "i18n/i18n.h"
#include "menu_test_support.h"

namespace files::app {
namespace {

using collab_types::OfflinePolicy;
using collab_types::TransferPhase;
using test_support::describe;
using test_support::Row;
using test_support::rows;
using vask_ui::CheckState;

Row sep() {
  return {"", ""};
}
Row row(std::string_view id, std::string command) {
  return {i18n::t(id), std::move(command)};
}

/// The folder part of every ordinary context menu, after the selection block.
std::vector<Row> folder_tail(bool new_file) {
  std::vector<Row> out{sep(), row("files-menu-new-folder", "NewFolder")};
  if (new_file) out.push_back(row("files-menu-new-file", "OpenTemplateMenu"));
  for (Row r : {sep(), row("files-menu-show-hidden", "ToggleHidden"), sep(),
                row("files-menu-sort-name", "SetSortKey(name)"),
                row("files-menu-sort-size", "SetSortKey(size)"),
                row("files-menu-sort-type", "SetSortKey(type)"),
                row("files-menu-sort-date", "SetSortKey(date)"), sep(),
                row("files-menu-open-terminal", "OpenTerminal")})
    out.push_back(r);
  return out;
}

class MenuTest : public ::testing::Test {
 protected:
  MenuFacts facts;
  model::FileEntry photos = test_support::folder_entry("/home/u/Photos");
  model::FileEntry notes = test_support::file_entry("/home/u/notes.txt");
  model::FileEntry bundle = test_support::file_entry("/home/u/bundle.zip");

  void select(std::initializer_list<const model::FileEntry*> entries) {
    facts.selected = entries;
    facts.focused = facts.selected.empty() ? nullptr : facts.selected.front();
  }

  void SetUp() override { facts.current_folder = "/home/u"; }
};

TEST_F(MenuTest, EmptySpaceInAnOrdinaryFolder) {
  EXPECT_EQ(rows(build_context_menu(facts)), folder_tail(false));
  facts.templates = {"/t/Letter.odt"};
  EXPECT_EQ(rows(build_context_menu(facts)), folder_tail(true));
}

TEST_F(MenuTest, OneFolderSelectedOffersAddToFavouritesEvenWhenAlreadyOne) {
  select({&photos});
  facts.favourites = {{"/home/u/Photos", false}};
  facts.clipboard_size = 2;
  std::vector<Row> expected{
      row("files-menu-open", "OpenEntry(/home/u/Photos)"),
      row("files-menu-rename", "BeginRename"),
      sep(),
      row("files-menu-cut", "CutSelection"),
      row("files-menu-copy", "CopySelection"),
      row("files-menu-send-nearby", "SendNearby"),
      row("files-archive-compress", "CompressSelection"),
      sep(),
      row("files-menu-properties", "ShowProperties"),
      row("files-menu-paste", "Paste"),
      sep(),
      row("files-menu-new-folder", "NewFolder"),
      sep(),
      row("files-menu-move-trash", "DeleteSelection"),
      sep(),
      row("files-menu-add-favourite", "AddFavourite(/home/u/Photos)"),
  };
  std::vector<Row> rest = folder_tail(false);
  expected.insert(expected.end(), rest.begin() + 2, rest.end());
  EXPECT_EQ(rows(build_context_menu(facts)), expected);
}

TEST_F(MenuTest, TwoFilesSelectedHaveNoSendNearbyNorProperties) {
  select({&notes, &bundle});
  auto menu = rows(build_context_menu(facts));
  std::vector<Row> head(menu.begin(), menu.begin() + 8);
  EXPECT_EQ(head, (std::vector<Row>{
                      row("files-menu-open", "OpenEntry(/home/u/notes.txt)"),
                      row("files-menu-rename", "BeginRename"),
                      sep(),
                      row("files-menu-cut", "CutSelection"),
                      row("files-menu-copy", "CopySelection"),
                      row("files-archive-extract-here", "ExtractSelectedArchive"),
                      row("files-archive-compress", "CompressSelection"),
                      sep(),
                  }));
  // No Properties, no favourite entry: Move to Trash follows the folder entries directly.
  EXPECT_EQ(menu[8], sep());
  EXPECT_EQ(menu[9], row("files-menu-new-folder", "NewFolder"));
  EXPECT_EQ(menu[10], sep());
  EXPECT_EQ(menu[11], row("files-menu-move-trash", "DeleteSelection"));
  EXPECT_EQ(menu[12], sep());
  EXPECT_EQ(menu[13], row("files-menu-show-hidden", "ToggleHidden"));
}

TEST_F(MenuTest, OpenIsInactiveWithoutAFocusedEntry) {
  select({&notes});
  facts.focused = nullptr;
  auto menu = build_context_menu(facts);
  EXPECT_EQ(menu[0].label, i18n::t("files-menu-open"));
  EXPECT_FALSE(menu[0].command.has_value());
}

TEST_F(MenuTest, InsideAZipOnlyOpenAndExtract) {
  facts.current_folder = "/home/u/trip.zip/Photos";
  facts.archive = "/home/u/trip.zip";
  EXPECT_EQ(rows(build_context_menu(facts)),
            (std::vector<Row>{row("files-archive-extract", "ExtractArchive(/home/u/trip.zip)")}));
  model::FileEntry member = test_support::file_entry("/home/u/trip.zip/Photos/a.jpg");
  select({&member});
  EXPECT_EQ(
      rows(build_context_menu(facts)),
      (std::vector<Row>{row("files-menu-open", "OpenEntry(/home/u/trip.zip/Photos/a.jpg)"), sep(),
                        row("files-archive-extract", "ExtractArchive(/home/u/trip.zip)")}));
  // The view menu: the compact toolbar's controls (when compact), then Extract, and no more.
  EXPECT_EQ(rows(build_view_menu(facts)),
            (std::vector<Row>{row("files-archive-extract", "ExtractArchive(/home/u/trip.zip)")}));
  facts.toolbar_compact = true;
  EXPECT_EQ(rows(build_view_menu(facts)),
            (std::vector<Row>{row("files-view-list", "SetViewMode(list)"),
                              row("files-view-grid", "SetViewMode(grid)"), sep(),
                              row("files-sort-by", "OpenSortMenu"), sep(),
                              row("files-archive-extract", "ExtractArchive(/home/u/trip.zip)")}));
}

TEST_F(MenuTest, TrashMenus) {
  facts.in_trash = true;
  EXPECT_EQ(rows(build_context_menu(facts)),
            (std::vector<Row>{sep(), row("files-menu-empty-trash", "ConfirmEmptyTrash")}));
  select({&notes});
  EXPECT_EQ(rows(build_context_menu(facts)),
            (std::vector<Row>{row("files-menu-open", "OpenEntry(/home/u/notes.txt)"), sep(),
                              row("files-menu-restore", "RestoreSelection"),
                              row("files-menu-delete-permanently", "DeleteSelection"), sep(),
                              row("files-menu-empty-trash", "ConfirmEmptyTrash")}));
}

TEST_F(MenuTest, FavouriteRemovalForTheFolderOnView) {
  struct Case {
    FavouriteFact favourite;
    bool removable;
  };
  const Case cases[] = {
      {{"/home/u/", false}, true},  // the same folder, written with a trailing slash
      {{"/home/u", true}, false},   // the Home favourite is not removed from here
      {{"/home/u/Photos", false}, false},
  };
  for (const Case& c : cases) {
    facts.favourites = {c.favourite};
    auto menu = rows(build_context_menu(facts));
    Row remove = row("files-menu-remove-favourite", "RemoveFavourite(/home/u)");
    EXPECT_EQ(std::count(menu.begin(), menu.end(), remove), c.removable ? 1 : 0)
        << c.favourite.path;
    if (c.removable) {
      auto at = std::find(menu.begin(), menu.end(), remove);
      EXPECT_EQ(*(at - 1), sep());
    }
  }
  // A single selected folder offers adding it instead.
  facts.favourites = {{"/home/u", false}};
  select({&photos});
  auto menu = rows(build_context_menu(facts));
  EXPECT_EQ(std::count(menu.begin(), menu.end(),
                       row("files-menu-remove-favourite", "RemoveFavourite(/home/u)")),
            0);
}

TEST_F(MenuTest, HiddenFilesLabelFollowsTheSetting) {
  facts.show_hidden = true;
  auto menu = rows(build_context_menu(facts));
  EXPECT_EQ(menu[3], row("files-menu-hide-hidden", "ToggleHidden"));
  auto view = build_view_menu(facts);
  auto hidden = std::find_if(view.begin(), view.end(), [](const MenuEntry& e) {
    return e.label == i18n::t("files-menu-show-hidden");
  });
  ASSERT_NE(hidden, view.end());
  EXPECT_EQ(hidden->check, CheckState::Ticked);
}

TEST_F(MenuTest, AvailabilityRows) {
  using test_support::with_availability;
  auto automatic =
      with_availability(test_support::file_entry("/w/a.txt"), OfflinePolicy::Automatic);
  auto pinned = with_availability(test_support::file_entry("/w/p.txt"), OfflinePolicy::Pinned);
  auto inherited =
      with_availability(test_support::file_entry("/w/i.txt"), OfflinePolicy::Pinned, true);
  auto online_only =
      with_availability(test_support::file_entry("/w/o.txt"), OfflinePolicy::Automatic, false,
                        collab_types::ResidencyNotResident{});
  auto busy =
      with_availability(test_support::file_entry("/w/b.txt"), OfflinePolicy::Automatic, false,
                        collab_types::ResidencyPartial{3}, TransferPhase::Downloading);
  auto plain = test_support::file_entry("/w/plain.txt");
  struct Case {
    const char* what;
    std::vector<const model::FileEntry*> selection;
    std::vector<Row> rows;
  };
  const Row keep = row("files-keep-offline", "KeepOffline");
  const Row automatic_row = row("files-use-automatic-storage", "UseAutomaticStorage");
  const Row by_parent = row("files-pinned-by-parent", "");
  const Row free = row("files-free-local-space", "FreeLocalSpace");
  const Row retry = row("files-retry-download", "RetryDownload");
  const Case cases[] = {
      {"mixed pinned and automatic", {&pinned, &automatic}, {keep, automatic_row, free}},
      {"pinned by parent only", {&inherited}, {by_parent}},
      {"a direct pin wins over one by parent", {&inherited, &pinned}, {automatic_row}},
      {"online only", {&online_only}, {keep, retry}},
      {"downloading", {&busy}, {keep}},
      {"no projection", {&plain}, {}},
  };
  for (const Case& c : cases) {
    facts.selected = c.selection;
    facts.focused = c.selection.front();
    auto menu = rows(build_context_menu(facts));
    // The availability rows sit between the separator after Compress and Properties (or the
    // folder part for several items).
    auto start =
        std::find(menu.begin(), menu.end(), row("files-archive-compress", "CompressSelection")) + 2;
    auto end = std::find_if(start, menu.end(), [](const Row& r) {
      return r == row("files-menu-properties", "ShowProperties") || r == sep();
    });
    EXPECT_EQ(std::vector<Row>(start, end), c.rows) << c.what;
  }
}

TEST_F(MenuTest, SingleCollaborativeEntryOffersItsAvailabilitySheet) {
  auto automatic = test_support::with_availability(test_support::file_entry("/w/a.txt"),
                                                   OfflinePolicy::Automatic);
  select({&automatic});
  auto menu = rows(build_context_menu(facts));
  auto properties =
      std::find(menu.begin(), menu.end(), row("files-menu-properties", "ShowProperties"));
  ASSERT_NE(properties, menu.end());
  EXPECT_EQ(*(properties + 1), row("files-availability-title-short", "ShowAvailability"));
}

TEST_F(MenuTest, ViewMenuAtFullWidthStartsWithNewFolder) {
  facts.templates = {"/t/Letter.odt"};
  EXPECT_EQ(rows(build_view_menu(facts)),
            (std::vector<Row>{row("files-menu-new-folder", "NewFolder"),
                              row("files-menu-new-file", "OpenTemplateMenu"), sep(),
                              row("files-menu-show-hidden", "ToggleHidden"), sep(),
                              row("files-menu-open-terminal", "OpenTerminal"), sep(),
                              row("files-shortcuts-title", "ShowShortcuts")}));
}

TEST_F(MenuTest, ViewMenuUndoRowOnlyWithAnUndoRecord) {
  const Row undo = row("files-undo-move-trash", "UndoTrash");
  auto without = rows(build_view_menu(facts));
  EXPECT_EQ(std::count(without.begin(), without.end(), undo), 0);
  facts.undo_available = true;
  auto with = rows(build_view_menu(facts));
  EXPECT_EQ(with[1], sep());
  EXPECT_EQ(with[2], undo);
}

TEST_F(MenuTest, CompactViewMenuRepeatsTheHiddenToolbarControls) {
  facts.toolbar_compact = true;
  facts.forward_available = true;
  facts.view_mode = model::ViewMode::Grid;
  facts.in_trash = true;
  auto menu = build_view_menu(facts);
  EXPECT_EQ(rows(menu), (std::vector<Row>{
                            row("files-forward", "GoForward"),
                            sep(),
                            row("files-view-list", "SetViewMode(list)"),
                            row("files-view-grid", "SetViewMode(grid)"),
                            sep(),
                            row("files-sort-by", "OpenSortMenu"),
                            sep(),
                            row("files-menu-new-folder", "NewFolder"),
                            sep(),
                            row("files-menu-show-hidden", "ToggleHidden"),
                            sep(),
                            row("files-menu-empty-trash", "ConfirmEmptyTrash"),
                            sep(),
                            row("files-menu-open-terminal", "OpenTerminal"),
                            sep(),
                            row("files-shortcuts-title", "ShowShortcuts"),
                        }));
  EXPECT_EQ(menu[0].check, CheckState::None);
  EXPECT_EQ(menu[2].check, CheckState::Unticked);
  EXPECT_EQ(menu[3].check, CheckState::Ticked);
  EXPECT_EQ(menu[9].check, CheckState::Unticked);  // hidden files are not shown
}

TEST(SortMenu, TicksTheKeyAndTheDirection) {
  using model::SortKey;
  using model::SortOrder;
  auto menu = build_sort_menu(SortKey::Modified, SortOrder::Descending);
  EXPECT_EQ(
      rows(menu),
      (std::vector<Row>{
          row("files-sort-name", "SetSortKey(name)"), row("files-sort-size", "SetSortKey(size)"),
          row("files-sort-type", "SetSortKey(type)"), row("files-sort-date", "SetSortKey(date)"),
          sep(), row("files-sort-ascending", "SetSortDirection(ascending)"),
          row("files-sort-descending", "SetSortDirection(descending)")}));
  std::vector<CheckState> checks;
  for (const auto& e : menu)
    checks.push_back(e.check);
  using enum CheckState;
  EXPECT_EQ(checks, (std::vector<CheckState>{Unticked, Unticked, Unticked, Ticked, None, Unticked,
                                             Ticked}));
  auto by_type = build_sort_menu(SortKey::Type, SortOrder::Ascending);
  EXPECT_EQ(by_type[2].check, Ticked);
  EXPECT_EQ(by_type[5].check, Ticked);
  EXPECT_EQ(by_type[6].check, Unticked);
}

TEST(TemplateMenu, OneEntryPerTemplateInListOrder) {
  auto menu = build_template_menu({"/t/Letter.odt", "/t/notes.tar.gz", "/t/README"});
  EXPECT_EQ(rows(menu), (std::vector<Row>{
                            {i18n::t_args("files-new-from-template", {{"name", "Letter"}}),
                             "NewFromTemplate(/t/Letter.odt)"},
                            {i18n::t_args("files-new-from-template", {{"name", "notes.tar"}}),
                             "NewFromTemplate(/t/notes.tar.gz)"},
                            {i18n::t_args("files-new-from-template", {{"name", "README"}}),
                             "NewFromTemplate(/t/README)"},
                        }));
  EXPECT_TRUE(build_template_menu({}).empty());
}

TEST(MenuWidget, FilledEntriesKeepTheirCommands) {
  vask_ui::ContextMenu<command::ExplorerCommand> widget;
  Menu menu = build_sort_menu(model::SortKey::Name, model::SortOrder::Ascending);
  fill_context_menu(widget, menu);
  ASSERT_EQ(widget.size(), menu.size());
  EXPECT_TRUE(widget.entry(4).is_separator());
  EXPECT_EQ(widget.entry(0).check, CheckState::Ticked);
  ASSERT_TRUE(widget.command(6).has_value());
  EXPECT_EQ(describe(*widget.command(6)), "SetSortDirection(descending)");
  // Separators are drawn only between entries.
  MenuFacts trash;
  trash.in_trash = true;
  fill_context_menu(widget, build_context_menu(trash));
  ASSERT_EQ(widget.size(), 1u);
  EXPECT_EQ(widget.entry(0).label, i18n::t("files-menu-empty-trash"));
  MenuFacts folder;
  model::FileEntry a = test_support::file_entry("/a"), b = test_support::file_entry("/b");
  folder.selected = {&a, &b};
  Menu built = build_context_menu(folder);
  fill_context_menu(widget, built);
  std::size_t drawn_separators = 0;
  for (std::size_t i = 0; i < widget.size(); ++i) {
    if (!widget.entry(i).is_separator()) continue;
    ++drawn_separators;
    ASSERT_GT(i, 0u);
    ASSERT_LT(i + 1, widget.size());
    EXPECT_FALSE(widget.entry(i - 1).is_separator());
  }
  EXPECT_LT(drawn_separators,
            static_cast<std::size_t>(std::count_if(
                built.begin(), built.end(), [](const MenuEntry& e) { return e.is_separator(); })));
  // Refilling replaces everything.
  fill_context_menu(widget, build_favourite_menu("/f"));
  ASSERT_EQ(widget.size(), 1u);
  EXPECT_EQ(describe(*widget.command(0)), "RemoveFavourite(/f)");
}

}  // namespace
}  // namespace files::app
