#include <gtest/gtest.h>

#include "i18n/i18n.h"
#include "window_fixture.h"

// The inline rename as a user drives it: F2 or a new item opens the field on the label, typing
// edits it, Enter or a press elsewhere commits, Escape cancels; refusals keep the field open.

namespace files::app {
namespace {

class RenameTest : public WindowTest {
 protected:
  void commit_text(const std::string& text) {
    type("a", kPrimary);  // select everything in the field
    window->handle_event(vask_ui::TextCommit{text});
    key(Key::Enter);
  }
  std::string notice() const { return window->state().notice().value_or(""); }
  bool exists(const std::string& name) const {
    return std::filesystem::exists(folder.path() / name);
  }
};

TEST_F(RenameTest, F2OpensTheFieldOnTheLabelWithTheStemSelected) {
  folder.file("report.final.txt");
  open();
  click(at("report.final.txt"));
  key(Key::F2);
  ASSERT_TRUE(window->renaming());
  const auto& field = window->rename_input();
  EXPECT_EQ(field.text(), "report.final.txt");
  EXPECT_EQ(field.selected_text(), "report.final");
  EXPECT_TRUE(field.is_focused());
  // The field lies where the view would have drawn the label, and is what a screen reader finds.
  ASSERT_TRUE(window->rename_index().has_value());
  EXPECT_EQ(*window->rename_index(), 0u);
  EXPECT_FALSE(field.rect().is_empty());
  EXPECT_TRUE(window->viewport_rect().contains(field.rect().center()));
  bool announced = false;
  for (const auto& node : window->accessibility().children)
    announced |= node.states.focused && node.name == i18n::t("files-action-rename-prompt");
  EXPECT_TRUE(announced);

  // Typing replaces the selected stem and keeps the extension.
  window->handle_event(vask_ui::TextCommit{"summary"});
  key(Key::Enter);
  EXPECT_FALSE(window->renaming());
  EXPECT_TRUE(exists("summary.txt"));
  EXPECT_FALSE(exists("report.final.txt"));
  EXPECT_EQ(notice(), i18n::t("files-renamed"));
  ASSERT_EQ(selected().size(), 1u);
  EXPECT_EQ(window->state().entries()[selected()[0]].name, "summary.txt");
}

TEST_F(RenameTest, CommitOutcomes) {
  struct Case {
    std::string text;
    bool stays_open;
    std::string notice;  // empty: no status at all
    const char* renamed_to;
  };
  const std::string slash =
      i18n::t_args("files-rename-failed", {{"error", i18n::t("files-name-slash")}});
  const Case cases[] = {
      {"  Notes  ", false, "", nullptr},  // trims to the current name: nothing to do
      {"   ", false, "", nullptr},        // blanks only: cancelled silently
      {"a/b", true, slash, nullptr},
      {"..", true, slash, nullptr},
      {"other", true,
       i18n::t_args("files-rename-failed",
                    {{"error", i18n::t_args("files-name-exists", {{"name", "other"}})}}),
       nullptr},
      {" Ideas ", false, i18n::t("files-renamed"), "Ideas"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    folder.file("Notes");
    folder.file("other");
    open();
    window->state().clear_notice();
    click(at("Notes"));
    key(Key::F2);
    ASSERT_TRUE(window->renaming());
    commit_text(c.text);
    EXPECT_EQ(window->renaming(), c.stays_open);
    EXPECT_EQ(notice(), c.notice);
    EXPECT_EQ(exists("Notes"), c.renamed_to == nullptr);
    if (c.renamed_to != nullptr) {
      EXPECT_TRUE(exists(c.renamed_to));
      std::filesystem::rename(folder.path() / c.renamed_to, folder.path() / "Notes");
    }
    // A failed commit keeps the typed text so it can be corrected.
    if (c.stays_open) {
      EXPECT_EQ(window->rename_input().text(), c.text);
    }
  }
}

TEST_F(RenameTest, EscapeCancelsAndAPressElsewhereCommits) {
  folder.file("alpha");
  folder.file("beta");
  open();
  click(at("alpha"));
  key(Key::F2);
  window->handle_event(vask_ui::TextCommit{"gamma"});
  key(Key::Escape);
  EXPECT_FALSE(window->renaming());
  EXPECT_TRUE(exists("alpha"));
  EXPECT_FALSE(exists("gamma"));
  // Escape closed only the field; the selection is untouched.
  EXPECT_EQ(selected().size(), 1u);

  key(Key::F2);
  window->handle_event(vask_ui::TextCommit{"gamma"});
  render();
  // A press inside the field moves the caret and keeps editing.
  click(window->rename_input().rect().center());
  EXPECT_TRUE(window->renaming());
  click(at("beta"));
  EXPECT_FALSE(window->renaming());
  EXPECT_TRUE(exists("gamma"));
  EXPECT_FALSE(exists("alpha"));
}

TEST_F(RenameTest, NewFolderTakesTheNextFreeNameAndOpensTheField) {
  folder.folder("New Folder");
  folder.folder("New Folder 2");
  folder.file("zeta");
  open();
  window->execute(command::NewFolder{});
  render();
  ASSERT_TRUE(exists("New Folder 3"));
  ASSERT_TRUE(window->renaming());
  EXPECT_EQ(window->rename_input().text(), "New Folder 3");
  EXPECT_EQ(window->rename_input().selected_text(), "New Folder 3");
  EXPECT_EQ(notice(), i18n::t("files-created-folder"));
  ASSERT_EQ(selected().size(), 1u);
  EXPECT_EQ(window->state().entries()[selected()[0]].name, "New Folder 3");

  window->handle_event(vask_ui::TextCommit{"Drafts"});
  key(Key::Enter);
  EXPECT_TRUE(exists("Drafts"));
  EXPECT_FALSE(exists("New Folder 3"));
}

TEST_F(RenameTest, BeginNeedsExactlyOneSelectedEntryAndEndsWithTheFolder) {
  folder.file("a");
  folder.file("b");
  folder.folder("sub");
  open();
  key(Key::F2);  // nothing selected
  EXPECT_FALSE(window->renaming());
  type("a", kPrimary);
  key(Key::F2);  // three selected
  EXPECT_FALSE(window->renaming());

  click(at("a"));
  key(Key::F2);
  ASSERT_TRUE(window->renaming());
  // Opening another folder cannot carry an index into the new list.
  window->navigate(folder.path() / "sub");
  render();
  EXPECT_FALSE(window->renaming());
  EXPECT_TRUE(exists("a"));
}

}  // namespace
}  // namespace files::app
