#include "files_app/action_dispatch.h"

#include <gtest/gtest.h>

#include "support/overloaded.h"

namespace files::app::dispatch {
namespace {

using vask_actions::ActionRequest;
constexpr OperationKind kInspect = OperationKind::Inspect;
constexpr OperationKind kEffect = OperationKind::Effect;
constexpr OperationKind kNavigate = OperationKind::Navigate;

/// One line per decision, so a table row can say what it expects.
std::string describe(const Decision& decision) {
  return std::visit(
      Overloaded{
          [](const NotHandled&) { return std::string("not handled"); },
          [](const Refused& r) { return "refused: " + r.text; },
          [](const RefreshFolder&) { return std::string("refresh"); },
          [](const InvokeControl& c) {
            return "control " + c.invocation.control_id + " " + c.invocation.action;
          },
          [](const FolderCommand& c) { return "folder " + c.word; },
          [](const EntryCommand& c) { return "entry " + c.word + " " + std::to_string(c.entry); },
          [](const OpenLocation& c) { return "open " + c.path.string(); },
          [](const CreateFolder& c) { return "new folder " + c.name; },
          [](const CreateFromTemplate& c) { return "template " + c.template_path.string(); },
          [](const PasteClipboard&) { return std::string("paste"); },
          [](const RenameEntry& c) {
            return "rename " + std::to_string(c.entry) + " " + c.new_name;
          },
      },
      decision);
}

enum class Given { Plain, Trash, ClipboardFull, NoTemplatesFolder, NotAFolder };

class Dispatch : public ::testing::Test {
 protected:
  Dispatch() {
    model::FileEntry a;
    a.name = "a.txt";
    a.path = "/data/folder/a.txt";
    model::FileEntry b;
    b.name = "b";
    b.path = "/data/folder/b";
    b.is_dir = true;
    entries = {a, b};
    base.folder = "/data/folder";
    base.entries = entries;
    base.places = {{"Home", vask_ui::icons::Icon::Home, "/home/u"}};
    base.templates_folder = "/home/u/Templates";
    base.templates_folder_exists = true;
    base.templates = {"/home/u/Templates/Letter.odt"};
  }

  CatalogFacts facts(Given given) const {
    CatalogFacts f = base;
    f.in_trash = given == Given::Trash;
    f.clipboard_empty = given != Given::ClipboardFull;
    f.folder_is_directory = given != Given::NotAFolder;
    if (given == Given::NoTemplatesFolder) {
      f.templates_folder.reset();
      f.templates_folder_exists = false;
      f.templates.clear();
    }
    return f;
  }

  std::vector<model::FileEntry> entries;
  CatalogFacts base;
};

struct Row {
  const char* action;
  OperationKind kind;
  std::string payload;
  std::string expected;
  Given given = Given::Plain;
};

std::string quoted_entry_id(const std::filesystem::path& path) {
  model::FileEntry e;
  e.path = path;
  return "\"" + entry_resource_id(e) + "\"";
}

const std::string kA = quoted_entry_id("/data/folder/a.txt");
const std::string kB = quoted_entry_id("/data/folder/b");
const std::string kGone = "\"files.entry:00000000000000000000000000000000\"";
const std::string kHome = "\"" + place_resource_id("/home/u") + "\"";
const std::string kLetter = "\"" + template_resource_id("/home/u/Templates/Letter.odt") + "\"";

std::string array(std::initializer_list<std::string> items) {
  std::string out = "[";
  for (const std::string& item : items)
    out += (out.size() > 1 ? "," : "") + item;
  return out + "]";
}

TEST_F(Dispatch, AcceptanceMatrix) {
  const std::string kTrashInTrash =
      "refused: Use the separately confirmed permanent-delete action for items already in Trash";
  const std::string kInvalid = "refused: file command has an invalid operation kind";
  const std::string kNotVisible = "refused: file entry is no longer visible";
  const Row rows[] = {
      // Refresh ignores its payload and takes only Effect.
      {"files.refresh", kEffect, "null", "refresh"},
      {"files.refresh", kEffect, "not json {", "refresh"},
      {"files.refresh", kNavigate, "null", "not handled"},
      // Open: entries, then places.
      {"files.open", kNavigate, kA, "open /data/folder/a.txt"},
      {"files.open", kNavigate, kHome, "open /home/u"},
      {"files.open", kNavigate, kGone, "refused: file location is no longer available"},
      {"files.open", kEffect, kA, "not handled"},
      {"files.open", kInspect, kA, "not handled"},
      // Folder commands: the word decides the kind.
      {"files.folder-command", kNavigate, "\"up\"", "folder up"},
      {"files.folder-command", kEffect, "\"up\"", kInvalid},
      {"files.folder-command", kInspect, "\"list\"", kInvalid},
      {"files.folder-command", kEffect, "\"terminal\"", "folder terminal"},
      {"files.folder-command", kNavigate, "\"terminal\"", kInvalid},
      {"files.folder-command", kNavigate, "\"hidden\"", "folder hidden"},
      {"files.folder-command", kNavigate, "\"open-terminal\"", "not handled"},
      {"files.folder-command", kEffect, "\"frobnicate\"", "not handled"},
      {"files.folder-command", kEffect, "\"undo-trash\"", "folder undo-trash"},
      {"files.folder-command", kNavigate, "\"empty-trash\"", kInvalid},
      {"files.folder-command", kEffect, "\"add-favorite\"", "folder add-favorite"},
      {"files.folder-command", kEffect, "\"add-favorite\"",
       "refused: the current location cannot be a favourite", Given::NotAFolder},
      // Entry commands: array shape, entry, word, kind, then the Trash rules.
      {"files.entry-command", kEffect, "[]", "refused: missing file command"},
      {"files.entry-command", kEffect, "[\"copy\"]", "refused: missing file resource"},
      {"files.entry-command", kEffect, array({"\"copy\"", kGone}), kNotVisible},
      {"files.entry-command", kEffect, array({"\"frobnicate\"", kA}), "not handled"},
      {"files.entry-command", kEffect, array({"\"copy\"", kA}), "entry copy 0"},
      {"files.entry-command", kNavigate, array({"\"copy\"", kA}), kInvalid},
      {"files.entry-command", kInspect, array({"\"properties\"", kB}), kInvalid},
      {"files.entry-command", kNavigate, array({"\"properties\"", kB}), "entry properties 1"},
      {"files.entry-command", kEffect, array({"\"extract\"", kA}), "entry extract 0"},
      {"files.entry-command", kEffect, array({"\"compress\"", kB}), "entry compress 1"},
      {"files.entry-command", kEffect, array({"\"trash\"", kA}), "entry trash 0"},
      {"files.entry-command", kEffect, array({"\"trash\"", kA}), kTrashInTrash, Given::Trash},
      {"files.entry-command", kEffect, array({"\"restore\"", kA}), "not handled"},
      {"files.entry-command", kEffect, array({"\"restore\"", kA}), "entry restore 0", Given::Trash},
      {"files.entry-command", kEffect, array({"\"purge\"", kA}), "not handled"},
      {"files.entry-command", kEffect, array({"\"purge\"", kA}), "entry purge 0", Given::Trash},
      {"files.entry-command", kNavigate, array({"\"sharing\"", kA}),
       "refused: sharing is unavailable for this file"},
      {"files.entry-command", kEffect, array({"\"retry-transfer\"", kA}), "entry retry-transfer 0"},
      // Rename.
      {"files.rename", kEffect, "[]", "refused: missing file resource"},
      {"files.rename", kEffect, array({kA}), "refused: missing new file name"},
      {"files.rename", kEffect, array({kGone, "\"x\""}), kNotVisible},
      {"files.rename", kEffect, array({kA, "\"c.txt\""}), "rename 0 c.txt"},
      {"files.rename", kNavigate, array({kA, "\"c.txt\""}), "not handled"},
      // Paste, new folder, templates.
      {"files.paste", kEffect, "null", "refused: The clipboard is empty"},
      {"files.paste", kEffect, "null", "paste", Given::ClipboardFull},
      {"files.paste", kNavigate, "null", "not handled", Given::ClipboardFull},
      {"files.new-folder", kEffect, "\"Drafts\"", "new folder Drafts"},
      {"files.new-folder", kNavigate, "\"Drafts\"", "not handled"},
      {"files.new-from-template", kEffect, kLetter, "template /home/u/Templates/Letter.odt"},
      {"files.new-from-template", kEffect, kHome, "refused: the template is no longer available"},
      {"files.new-from-template", kEffect, kLetter,
       "refused: the Templates directory is unavailable", Given::NoTemplatesFolder},
      // Records, remote accounts and background actions.
      {"files.reveal-record", kNavigate, "\"nope\"", "refused: invalid collaborative record id"},
      {"files.reveal-record", kEffect, "\"nope\"", "not handled"},
      {"files.remote-account", kNavigate, "[]", "refused: missing remote account operation"},
      {"files.remote-account", kNavigate, "[\"details\"]", "refused: missing remote account id"},
      {"files.remote-account", kNavigate, "[\"details\",\"acc\"]",
       "refused: remote account is no longer available"},
      {"files.remote-dav", kNavigate, "[\"browse\",\"acc\"]",
       "refused: remote file operations must be effect actions"},
      {"files.remote-dav", kEffect, "[\"browse\"]", "refused: missing remote account id"},
      {"files.share-link", kEffect, kGone, kNotVisible},
      {"files.share-link", kNavigate, kA, "not handled"},
      {"files.nearby-send", kEffect, array({kGone, "\"dev\""}), kNotVisible},
      {"files.nearby-send", kEffect, array({kA, "\"dev\""}),
       "refused: nearby device is no longer available"},
      {"files.nearby-decide", kEffect, "[]", "refused: nearby transfer is no longer available"},
      // Controls take any kind.
      {"vask.ui.control.invoke", kInspect, "\"files.retry\"", "control files.retry invoke"},
      {"vask.ui.control.invoke", kEffect, "\"\"", "not handled"},
      {"files.unknown", kEffect, "null", "not handled"},
  };
  for (const Row& row : rows) {
    ActionRequest request{row.action, row.kind, row.payload, {}, {1}};
    EXPECT_EQ(describe(accept(request, facts(row.given))), row.expected)
        << row.action << " " << vask_actions::to_string(row.kind) << " " << row.payload;
  }
}

TEST_F(Dispatch, PayloadsOfTheWrongShapeFailWithTheReadersText) {
  const Row rows[] = {
      {"files.open", kNavigate, "[1", ""},
      {"files.folder-command", kNavigate, "5", ""},
      {"files.entry-command", kEffect, "\"copy\"", ""},
      {"files.entry-command", kEffect, "[\"copy\", 5]", ""},
      {"files.new-folder", kEffect, "null", ""},
      {"files.rename", kEffect, "{}", ""},
      {"vask.ui.control.invoke", kEffect, "7", ""},
  };
  for (const Row& row : rows) {
    ActionRequest request{row.action, row.kind, row.payload, {}, {1}};
    std::string got = describe(accept(request, facts(Given::Plain)));
    EXPECT_TRUE(got.starts_with("refused: [json.exception.")) << row.action << ": " << got;
  }
}

}  // namespace
}  // namespace files::app::dispatch
