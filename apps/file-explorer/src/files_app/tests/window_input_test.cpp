#include <gtest/gtest.h>

#include "files_app/file_explorer_widget.h"
#include "i18n/i18n.h"
#include "vask_ui/clock.h"
#include "vask_ui/gesture.h"
#include "vask_ui/host.h"
#include "vask_ui/launch.h"
#include "vask_ui/regions.h"
#include "window_fixture.h"

namespace files::app {
namespace {

using namespace std::chrono_literals;

TEST_F(WindowTest, ListKeysMoveAndExtendTheSelection) {
  for (const char* n : {"a", "b", "c", "d"})
    folder.file(n);
  open();
  key(Key::Down);
  EXPECT_EQ(selected(), (std::vector<std::size_t>{0}));
  key(Key::Up);
  EXPECT_EQ(primary(), 0u);
  key(Key::Down, kShift);
  key(Key::Down, kShift);
  EXPECT_EQ(selected(), (std::vector<std::size_t>{0, 1, 2}));
  key(Key::End);
  EXPECT_EQ(selected(), (std::vector<std::size_t>{3}));
  type("a", kPrimary);
  EXPECT_EQ(selected().size(), 4u);
  key(Key::Escape);
  EXPECT_TRUE(selected().empty());
}

TEST_F(WindowTest, GridArrowsMoveByColumns) {
  for (int i = 0; i < 12; ++i)
    folder.file("f" + std::to_string(10 + i));
  open({932, 700});  // five columns of tiles beside the 232-unit places sidebar
  window->execute(command::SetViewMode{model::ViewMode::Grid});
  render();
  click(at("f19"));  // index 9
  ASSERT_EQ(primary(), 9u);
  key(Key::Down);
  EXPECT_EQ(primary(), 11u);  // capped at the last entry
  key(Key::Up);
  EXPECT_EQ(primary(), 6u);
  key(Key::Up);
  EXPECT_EQ(primary(), 1u);
  key(Key::Up);
  EXPECT_EQ(primary(), 0u);
}

TEST_F(WindowTest, ClicksSelectToggleAndOpen) {
  folder.folder("inner");
  folder.file("x.txt");
  folder.file("y.txt");
  open();
  auto inner = at("inner");
  click(at("x.txt"));
  click(at("y.txt"), kPrimary);
  EXPECT_EQ(selected(), (std::vector<std::size_t>{1, 2}));
  click(at("y.txt"), kPrimary);  // toggled off again, never opened
  EXPECT_EQ(selected(), (std::vector<std::size_t>{1}));
  click(at("x.txt"), kShift);  // a range from the toggled item, the anchor
  EXPECT_EQ(selected(), (std::vector<std::size_t>{1, 2}));

  // Empty space below the last row leaves the selection alone.
  click({inner.x, inner.y + 300});
  EXPECT_EQ(selected(), (std::vector<std::size_t>{1, 2}));

  // Two fast clicks on different items open nothing; on the same item they open it.
  click(at("x.txt"));
  clock.advance(100ms);
  click(inner);
  EXPECT_EQ(window->state().current_folder(), folder.path());
  clock.advance(vask_ui::gesture::multi_click_interval() + 10ms);
  click(inner);
  EXPECT_EQ(window->state().current_folder(), folder.path());
  clock.advance(100ms);
  click(inner);
  EXPECT_EQ(window->state().current_folder(), folder.path() / "inner");
  key(Key::Backspace);
  EXPECT_EQ(window->state().current_folder(), folder.path());
}

TEST_F(WindowTest, DraggingFromAMultiSelectionMovesAllOfIt) {
  folder.folder("box");
  for (const char* n : {"p.txt", "q.txt", "r.txt"})
    folder.file(n);
  open();
  click(at("p.txt"));
  click(at("r.txt"), kShift);
  ASSERT_EQ(selected().size(), 3u);
  auto from = at("q.txt");
  auto to = at("box");
  window->handle_event(vask_ui::PointerMove{from, {}});
  window->handle_event(vask_ui::PointerPress{from, vask_ui::PointerButton::Primary, {}});
  EXPECT_EQ(selected(), (std::vector<std::size_t>{2}));  // the press leaves only that item
  window->handle_event(vask_ui::PointerMove{{from.x + 20, from.y}, {}});
  EXPECT_TRUE(window->drag_in_progress());
  render();
  window->handle_event(vask_ui::PointerMove{to, {}});
  ASSERT_TRUE(window->hovered_drop_target().has_value());
  EXPECT_EQ(window->hovered_drop_target()->path, folder.path() / "box");
  window->handle_event(vask_ui::PointerRelease{to, vask_ui::PointerButton::Primary, {}});
  EXPECT_FALSE(window->drag_in_progress());
  for (const char* n : {"p.txt", "q.txt", "r.txt"}) {
    EXPECT_TRUE(std::filesystem::exists(folder.path() / "box" / n)) << n;
  }
  EXPECT_EQ(
      window->state().notice(),
      i18n::t_args("files-moved-to-folder", {{"count", i18n::count(3)}, {"destination", "box"}}));
}

TEST_F(WindowTest, DraggingAFolderOntoItselfMovesNothing) {
  folder.folder("solo");
  folder.file("other.txt");
  open();
  auto p = at("solo");
  window->handle_event(vask_ui::PointerMove{p, {}});
  window->handle_event(vask_ui::PointerPress{p, vask_ui::PointerButton::Primary, {}});
  window->handle_event(vask_ui::PointerMove{{p.x + 10, p.y + 2}, {}});
  render();
  EXPECT_FALSE(window->hovered_drop_target().has_value());  // never its own target
  window->handle_event(
      vask_ui::PointerRelease{{p.x + 10, p.y + 2}, vask_ui::PointerButton::Primary, {}});
  EXPECT_TRUE(std::filesystem::exists(folder.path() / "solo"));
}

TEST_F(WindowTest, ShortcutsNeedTheirModifiers) {
  folder.file("keep.txt");
  open();
  type("n", kPrimary);
  EXPECT_FALSE(std::filesystem::exists(folder.path() / i18n::t("files-new-folder-default-name")));
  type("N", Modifiers{.shift = true, .primary = true});
  EXPECT_TRUE(std::filesystem::exists(folder.path() / i18n::t("files-new-folder-default-name")));
  // The new folder's name field has the keyboard until it is closed.
  EXPECT_TRUE(window->renaming());
  key(Key::Escape);

  window->handle_event(vask_ui::Wheel{{10, 200}, vask_ui::WheelUnit::Lines, 0, 1, kPrimary});
  EXPECT_EQ(window->state().zoom_step(), 1);
  type("-", kPrimary);
  type("-", kPrimary);
  EXPECT_EQ(window->state().zoom_step(), -1);
  type("0", kPrimary);
  EXPECT_EQ(window->state().zoom_step(), 0);
}

TEST_F(WindowTest, StatusTextCombinesNoticeAndSelection) {
  folder.file("one");
  folder.file("two");
  open();
  EXPECT_EQ(window->status_text(), i18n::t_args("files-item-count", {{"count", i18n::count(2)}}));
  window->set_notice("Copied");
  type("a", kPrimary);
  EXPECT_EQ(window->status_text(), "Copied  ·  2 selected");
}

TEST_F(WindowTest, ASheetIsModal) {
  folder.file("stay.txt");
  open();
  key(Key::F1);
  ASSERT_TRUE(window->sheet().has_value());
  EXPECT_EQ(window->sheet()->title, i18n::t("files-shortcuts-title"));
  EXPECT_EQ(window->sheet()->details.size(), 11u);
  key(Key::Enter);  // an information sheet has nothing to confirm
  EXPECT_TRUE(window->sheet().has_value());
  type("a", kPrimary);
  key(Key::Delete);
  EXPECT_TRUE(selected().empty());
  EXPECT_TRUE(std::filesystem::exists(folder.path() / "stay.txt"));
  auto a11y = window->accessibility();
  EXPECT_EQ(a11y.role, vask_ui::AccessRole::Dialog);
  EXPECT_TRUE(a11y.requests_focus);
  EXPECT_EQ(a11y.children.size(), 2u + 11u);
  key(Key::Escape);
  EXPECT_FALSE(window->sheet().has_value());

  // A click outside the card only closes the sheet; the press never reaches the file view.
  key(Key::F1);
  click(at("stay.txt"));
  EXPECT_FALSE(window->sheet().has_value());
  EXPECT_TRUE(selected().empty());
}

TEST_F(WindowTest, ErrorPanelRetriesWithEnter) {
  open();
  auto gone = folder.path() / "later";
  window->navigate(gone);
  render();
  auto a11y = window->accessibility();
  EXPECT_TRUE(a11y.states.error);
  // The sidebar and the toolbar come first; the panel stands where the list would be.
  ASSERT_EQ(a11y.children.size(), 3u);
  EXPECT_EQ(a11y.children[0].role, vask_ui::AccessRole::Navigation);
  const auto& panel = a11y.children[2];
  EXPECT_EQ(panel.name, i18n::t("files-load-error-title"));
  EXPECT_TRUE(panel.states.error);
  ASSERT_EQ(panel.children.size(), 1u);
  EXPECT_EQ(panel.children[0].name, i18n::t("files-try-again"));
  std::filesystem::create_directory(gone);
  key(Key::Enter);
  EXPECT_FALSE(window->state().load_error().has_value());
}

}  // namespace
}  // namespace files::app

namespace files::app {
namespace {

/// Records what the window asks the desktop to start instead of starting it.
struct RecordingHost final : vask_ui::host::HostServices {
  std::vector<std::pair<std::string, std::filesystem::path>> started;
  std::optional<std::string> refusal;
  std::expected<void, std::string> open_uri(std::string_view) override { return {}; }
  std::expected<void, std::string> start_in_folder(std::string_view program,
                                                   const std::filesystem::path& folder) override {
    started.emplace_back(std::string(program), folder);
    if (refusal) return std::unexpected(*refusal);
    return {};
  }
};

TEST_F(WindowTest, OpenTerminalStartsTheTerminalInTheFolderOnView) {
  folder.folder("inner");
  RecordingHost host;
  vask_ui::host::install(&host);
  open();
  window->navigate(folder.path() / "inner");
  window->execute(command::OpenTerminal{});
  ASSERT_EQ(host.started.size(), 1u);
  EXPECT_EQ(host.started[0].first, "terminal");
  EXPECT_EQ(host.started[0].second, folder.path() / "inner");
  EXPECT_FALSE(window->state().notice().has_value());

  host.refusal = "No such file or directory";
  window->execute(command::OpenTerminal{});
  EXPECT_EQ(window->state().notice(), "could not open terminal: No such file or directory");
  vask_ui::host::install(nullptr);
}

}  // namespace
}  // namespace files::app
