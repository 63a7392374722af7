#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <sstream>

#include "fileops/tests/test_folder.h"
#include "files_app/action_catalog.h"
#include "files_app/file_explorer_widget.h"
#include "model/archive_reader.h"
#include "support/overloaded.h"
#include "temp_folder.h"
#include "vask_actions/input.h"
#include "vask_ui/launch.h"
#include "window_fixture.h"

namespace files::app {
namespace {

namespace va = vask_actions;
using files::fileops::testing::ScopedEnv;
using files::testing::TempFolder;
constexpr OperationKind kEffect = OperationKind::Effect;
constexpr OperationKind kNavigate = OperationKind::Navigate;

std::string describe(const va::ActionOutcome& outcome) {
  return std::visit(Overloaded{
                        [](const va::ActionFailed& f) { return "failed: " + f.text; },
                        [](const va::ActionNotHandled&) { return std::string("not handled"); },
                        [](const va::ActionPending&) { return std::string("pending"); },
                        [](const va::ActionCompleted&) { return std::string("completed"); },
                    },
                    outcome);
}

std::string read(const std::filesystem::path& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

/// A real window on a real folder, with its own Trash and templates folder, driven through
/// the action entry as an automation client would.
class ActionWindow : public ::testing::Test, protected WindowDriver {
 protected:
  void open(const std::filesystem::path& start) {
    open_window(local_config(config_dir.path(), start));
  }
  std::string act(const std::string& id, OperationKind kind, const std::string& payload) {
    std::string result =
        describe(window->perform_action(va::ActionRequest{id, kind, payload, {}, {next_handle++}}));
    render();
    return result;
  }
  /// Sends the listed action of a resource the way the endpoint does for an address.
  std::string invoke(const std::string& resource_id, const std::string& name,
                     const va::ActionArgs& args = {}) {
    auto resource = window->lookup_action_resource(resource_id);
    if (!resource) return "no resource";
    const va::ActionSpec* spec = resource->find_action(name);
    if (spec == nullptr) return "no action";
    auto payload = va::derive_input(*spec, args);
    if (!payload) return "bad input: " + payload.error();
    return act(spec->target(), spec->kind(), payload->text());
  }
  std::string id_of(const std::string& name) const {
    for (const model::FileEntry& e : window->state().entries()) {
      if (e.name == name) return entry_resource_id(e);
    }
    return "files.entry:missing";
  }
  std::string entry_command(const std::string& word, const std::string& name,
                            OperationKind kind = kEffect) {
    return act("files.entry-command", kind, "[\"" + word + "\",\"" + id_of(name) + "\"]");
  }
  std::vector<std::string> names() const {
    std::vector<std::string> out;
    for (const model::FileEntry& e : window->state().entries())
      out.push_back(e.name);
    return out;
  }

  TempFolder folder;
  TempFolder config_dir;
  TempFolder data;
  TempFolder templates;
  ScopedEnv data_home{"XDG_DATA_HOME", data.path().string()};
  ScopedEnv templates_dir{"XDG_TEMPLATES_DIR", templates.path().string()};
  std::uint64_t next_handle = 1;
};

TEST_F(ActionWindow, CopyThenPasteIntoAnotherFolder) {
  folder.file("src/a.txt", "alpha");
  folder.folder("dest");
  open(folder.path() / "src");
  EXPECT_EQ(act("files.paste", kEffect, "null"), "failed: The clipboard is empty");
  EXPECT_EQ(entry_command("copy", "a.txt"), "completed");
  EXPECT_EQ(window->state().selection().selected(), (std::vector<std::size_t>{0}));

  EXPECT_EQ(act("files.folder-command", kNavigate, "\"up\""), "completed");
  EXPECT_EQ(window->state().current_folder(), folder.path());
  EXPECT_EQ(act("files.open", kNavigate, "\"" + id_of("dest") + "\""), "completed");
  EXPECT_EQ(window->state().current_folder(), folder.path() / "dest");
  auto root = window->action_resources();
  ASSERT_TRUE(root.has_value());
  EXPECT_TRUE(root->find_action("paste")->availability().is_available());

  EXPECT_EQ(invoke(root->id, "paste"), "completed");
  EXPECT_EQ(read(folder.path() / "dest/a.txt"), "alpha");
  EXPECT_TRUE(std::filesystem::exists(folder.path() / "src/a.txt"));
  EXPECT_EQ(names(), (std::vector<std::string>{"a.txt"}));
}

TEST_F(ActionWindow, TrashUndoAndTheTrashRules) {
  folder.file("a.txt", "alpha");
  folder.file("b.txt", "beta");
  // A Trash that was used before: the first move ever into a missing Trash leaves no undo
  // record, because there is no "before" to compare with.
  data.folder("Trash/files");
  open(folder.path());
  EXPECT_EQ(window->action_resources()->find_action("undo-trash"), nullptr);
  EXPECT_EQ(entry_command("trash", "a.txt"), "completed");
  EXPECT_FALSE(std::filesystem::exists(folder.path() / "a.txt"));
  EXPECT_EQ(names(), (std::vector<std::string>{"b.txt"}));

  auto root = window->action_resources();
  ASSERT_NE(root->find_action("undo-trash"), nullptr);
  EXPECT_EQ(invoke(root->id, "undo-trash"), "completed");
  EXPECT_EQ(read(folder.path() / "a.txt"), "alpha");

  EXPECT_EQ(entry_command("restore", "a.txt"), "not handled");
  EXPECT_EQ(entry_command("trash", "b.txt"), "completed");
  window->navigate(data.path() / "Trash/files");
  render();
  ASSERT_EQ(names(), (std::vector<std::string>{"b.txt"}));
  EXPECT_NE(window->action_resources()->find_action("empty-trash"), nullptr);
  EXPECT_EQ(entry_command("trash", "b.txt"),
            "failed: Use the separately confirmed permanent-delete action for items already in "
            "Trash");
  EXPECT_EQ(entry_command("restore", "b.txt"), "completed");
  EXPECT_EQ(read(folder.path() / "b.txt"), "beta");
  EXPECT_TRUE(names().empty());
}

TEST_F(ActionWindow, CompressAndExtractOneEntryByAction) {
  folder.file("doc/note.txt", "inside");
  folder.file("other.txt", "left alone");
  open(folder.path());
  window->state().selection().select_only(1);  // other.txt: the action must not pack it
  EXPECT_EQ(entry_command("compress", "doc"), "completed");
  ASSERT_TRUE(std::filesystem::is_regular_file(folder.path() / "doc.zip"));
  auto members = model::list_archive_members(folder.path() / "doc.zip");
  ASSERT_TRUE(members.has_value()) << members.error();
  std::vector<std::string> packed;
  for (const model::ArchiveMember& member : *members)
    if (!member.is_dir) packed.push_back(member.path.filename().string());
  EXPECT_EQ(packed, (std::vector<std::string>{"note.txt"}));

  // The listing offers extraction on the archive; the extracted copy holds the file.
  const std::string zip_id = id_of("doc.zip");
  const va::Resource* listed = window->action_resources()->find(zip_id);
  ASSERT_NE(listed, nullptr);
  EXPECT_NE(listed->find_action("extract"), nullptr);
  std::filesystem::remove_all(folder.path() / "doc");
  window->state().refresh();
  EXPECT_EQ(entry_command("extract", "doc.zip"), "completed");
  bool found = false;
  for (const auto& item : std::filesystem::recursive_directory_iterator(folder.path())) {
    if (item.path().filename() == "note.txt") found = read(item.path()) == "inside";
  }
  EXPECT_TRUE(found);
  EXPECT_EQ(entry_command("extract", "doc.zip", kNavigate),
            "failed: file command has an invalid operation kind");
}

TEST_F(ActionWindow, RenameAndNewFolderThroughTheirTextInputs) {
  folder.file("a.txt", "alpha");
  folder.file("taken.txt");
  open(folder.path());
  const std::string old_id = id_of("a.txt");
  EXPECT_EQ(invoke(old_id, "rename", va::ActionArgs().set_text("value", "b.txt")), "completed");
  EXPECT_EQ(read(folder.path() / "b.txt"), "alpha");
  EXPECT_EQ(act("files.rename", kEffect, "[\"" + old_id + "\",\"c.txt\"]"),
            "failed: file entry is no longer visible");
  // A taken name is refused and nothing moves.
  std::string refused =
      invoke(id_of("b.txt"), "rename", va::ActionArgs().set_text("value", "taken.txt"));
  EXPECT_TRUE(refused.starts_with("failed: ")) << refused;
  EXPECT_EQ(read(folder.path() / "b.txt"), "alpha");

  const std::string root = folder_resource_id(folder.path());
  EXPECT_EQ(invoke(root, "new-folder", va::ActionArgs().set_text("value", "Drafts")), "completed");
  EXPECT_EQ(invoke(root, "new-folder", va::ActionArgs().set_text("value", "Drafts")), "completed");
  EXPECT_TRUE(std::filesystem::is_directory(folder.path() / "Drafts"));
  EXPECT_TRUE(std::filesystem::is_directory(folder.path() / "Drafts 2"));
  EXPECT_TRUE(
      invoke(root, "new-folder", va::ActionArgs().set_text("value", "  ")).starts_with("failed: "));
}

TEST_F(ActionWindow, NewFileFromATemplate) {
  templates.file("Letter.odt", "template body");
  open(folder.path());
  const std::string id = template_resource_id(templates.path() / "Letter.odt");
  auto root = window->action_resources();
  ASSERT_NE(root->find(id), nullptr);
  EXPECT_EQ(act("files.new-from-template", kEffect, "\"" + id + "\""), "completed");
  EXPECT_EQ(read(folder.path() / "Letter.odt"), "template body");
  std::filesystem::remove(templates.path() / "Letter.odt");
  EXPECT_EQ(act("files.new-from-template", kEffect, "\"" + id + "\""),
            "failed: the template is no longer available");
}

TEST_F(ActionWindow, FolderCommandsChangeTheView) {
  folder.file("a.txt");
  folder.file(".hidden");
  open(folder.path());
  struct Row {
    const char* word;
    std::function<bool(const ExplorerState&)> holds;
  };
  const Row rows[] = {
      {"grid", [](const ExplorerState& s) { return s.view_mode() == model::ViewMode::Grid; }},
      {"list", [](const ExplorerState& s) { return s.view_mode() == model::ViewMode::List; }},
      {"sort-size", [](const ExplorerState& s) { return s.sort_key() == model::SortKey::Size; }},
      {"sort-descending",
       [](const ExplorerState& s) { return s.sort_order() == model::SortOrder::Descending; }},
      {"zoom-in", [](const ExplorerState& s) { return s.zoom_step() == 1; }},
      {"zoom-out", [](const ExplorerState& s) { return s.zoom_step() == 0; }},
      {"hidden", [](const ExplorerState& s) { return s.entries().size() == 2; }},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(act("files.folder-command", kNavigate, std::string("\"") + row.word + "\""),
              "completed")
        << row.word;
    EXPECT_TRUE(row.holds(window->state())) << row.word;
  }
  EXPECT_EQ(act("files.folder-command", kEffect, "\"add-favorite\""), "completed");
  EXPECT_NE(window->action_resources()->find_action("remove-favorite"), nullptr);
  EXPECT_EQ(act("files.folder-command", kEffect, "\"remove-favorite\""), "completed");
  EXPECT_EQ(act("files.folder-command", kEffect, "\"empty-trash\""),
            "failed: file operation could not be applied");
}

TEST_F(ActionWindow, AMissingTerminalIsReported) {
  TempFolder empty_path;
  ScopedEnv path{"PATH", empty_path.path().string()};
  open(folder.path());
  std::string result = act("files.folder-command", kEffect, "\"terminal\"");
  EXPECT_TRUE(result.starts_with("failed: could not open terminal: ")) << result;
}

TEST_F(ActionWindow, APendingBackgroundActionRefusesEverythingUntilItsCompletionIsTaken) {
  open(folder.path());
  ASSERT_TRUE(window->background_actions().begin(va::RequestHandle{42}));
  EXPECT_EQ(act("files.refresh", kEffect, "null"),
            "failed: another file operation is still running");
  EXPECT_EQ(act("files.unknown", kEffect, "null"),
            "failed: another file operation is still running");
  EXPECT_FALSE(window->take_action_completion(va::RequestHandle{42}).has_value());
  ASSERT_TRUE(window->background_actions().finish(va::ActionCompleted{}));
  EXPECT_EQ(act("files.refresh", kEffect, "null"), "completed");
  EXPECT_TRUE(window->take_action_completion(va::RequestHandle{42}).has_value());
  EXPECT_FALSE(window->take_action_completion(va::RequestHandle{42}).has_value());
}

TEST_F(ActionWindow, TheRetryButtonIsListedAndInvokedWhileTheErrorPanelShows) {
  open(folder.path());
  const std::filesystem::path missing = folder.path() / "later";
  window->navigate(missing);
  render();
  ASSERT_TRUE(window->state().load_error().has_value());
  auto root = window->action_resources();
  ASSERT_NE(root->find("vask.control:files.retry"), nullptr);
  EXPECT_TRUE(window->lookup_action_resource("vask.control:files.retry").has_value());
  EXPECT_FALSE(root->find_action("refresh")->availability().is_available());

  std::filesystem::create_directory(missing);
  EXPECT_EQ(act("vask.ui.control.invoke", OperationKind::Inspect, "\"files.no-such-control\""),
            "not handled");
  EXPECT_EQ(act("vask.ui.control.invoke", kEffect, "\"files.retry\""), "completed");
  EXPECT_FALSE(window->state().load_error().has_value());
  EXPECT_EQ(window->action_resources()->find("vask.control:files.retry"), nullptr);
}

}  // namespace
}  // namespace files::app
