#include "files_app/action_catalog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

#include "vask_actions/input.h"
#include "vask_ui/widgets/button.h"

namespace files::app {
namespace {

namespace va = vask_actions;

model::FileEntry entry(const std::string& name, bool is_dir = false) {
  model::FileEntry e;
  e.name = name;
  e.path = std::filesystem::path("/data/folder") / name;
  e.is_dir = is_dir;
  return e;
}

std::vector<std::string> action_names(const va::Resource& resource) {
  std::vector<std::string> names;
  for (const va::ActionSpec& action : resource.actions)
    names.push_back(action.name());
  return names;
}

std::vector<std::string> child_kinds(const va::Resource& resource) {
  std::vector<std::string> kinds;
  for (const va::Resource& child : resource.children)
    kinds.push_back(child.kind);
  return kinds;
}

const va::ActionSpec& action(const va::Resource& resource, std::string_view name) {
  const va::ActionSpec* found = resource.find_action(name);
  if (found == nullptr) throw std::runtime_error("no action " + std::string(name));
  return *found;
}

struct Catalog : ::testing::Test {
  Catalog() { facts.folder = "/data/folder"; }
  void set_entries(std::vector<model::FileEntry> list) {
    entries = std::move(list);
    facts.entries = entries;
  }
  std::vector<model::FileEntry> entries;
  CatalogFacts facts;
};

TEST(ResourceIds, LocalDigestHasItsKnownAnswerAndIsSharedByFoldersEntriesAndPlaces) {
  EXPECT_EQ(local_resource_digest("/tmp"), "46477e48b4d46b86773a48b1ae7342ed");
  EXPECT_EQ(folder_resource_id("/tmp"), "files.folder:46477e48b4d46b86773a48b1ae7342ed");
  EXPECT_EQ(place_resource_id("/tmp"), "files.place:46477e48b4d46b86773a48b1ae7342ed");
  model::FileEntry tmp;
  tmp.path = "/tmp";
  EXPECT_EQ(entry_resource_id(tmp), "files.entry:46477e48b4d46b86773a48b1ae7342ed");
  // The length goes into the digest, so a path is never confused with its prefix.
  EXPECT_NE(local_resource_digest("/tmp/"), local_resource_digest("/tmp"));
}

TEST(ResourceIds, TemplateIdHashesTheLossyPathText) {
  EXPECT_EQ(template_resource_id("/home/u/Templates/Letter.odt"),
            "files.template:0e2b871dccae7071896e0b2dae790266");
  // A byte that is not UTF-8 counts as U+FFFD.
  EXPECT_EQ(template_resource_id("/t/\xff.odt"), "files.template:09f3ff2351174836f99a28841be8fa5a");
}

TEST(ResourceIds, RecordEntriesUseTheirRecordId) {
  model::FileEntry e = entry("report.odt");
  e.record_id = collab_types::Uuid::parse("123E4567-E89B-12D3-A456-426614174000");
  EXPECT_EQ(entry_resource_id(e), "files.record:123e4567-e89b-12d3-a456-426614174000");
}

TEST_F(Catalog, FolderOffersItsActionsInOrder) {
  va::Resource root = build_listing(facts);
  EXPECT_EQ(root.id, folder_resource_id("/data/folder"));
  EXPECT_EQ(root.kind, "files.folder");
  EXPECT_EQ(root.label, "/data/folder");
  EXPECT_EQ(action_names(root), (std::vector<std::string>{"refresh",
                                                          "up",
                                                          "back",
                                                          "forward",
                                                          "open-terminal",
                                                          "toggle-hidden",
                                                          "list",
                                                          "grid",
                                                          "sort-name",
                                                          "sort-size",
                                                          "sort-type",
                                                          "sort-modified",
                                                          "sort-ascending",
                                                          "sort-descending",
                                                          "zoom-in",
                                                          "zoom-out",
                                                          "keyboard-shortcuts",
                                                          "add-favorite",
                                                          "new-folder",
                                                          "paste"}));

  const va::ActionSpec& refresh = action(root, "refresh");
  EXPECT_EQ(refresh.target(), "files.refresh");
  EXPECT_EQ(refresh.kind(), OperationKind::Effect);
  EXPECT_EQ(refresh.payload().text(), "null");

  // The command word differs from the name for three commands.
  struct Row {
    const char* name;
    const char* payload;
    OperationKind kind;
  };
  for (const Row& row : {Row{"open-terminal", "\"terminal\"", OperationKind::Effect},
                         Row{"toggle-hidden", "\"hidden\"", OperationKind::Navigate},
                         Row{"keyboard-shortcuts", "\"shortcuts\"", OperationKind::Navigate},
                         Row{"up", "\"up\"", OperationKind::Navigate},
                         Row{"add-favorite", "\"add-favorite\"", OperationKind::Effect}}) {
    const va::ActionSpec& a = action(root, row.name);
    EXPECT_EQ(a.target(), "files.folder-command") << row.name;
    EXPECT_EQ(a.payload().text(), row.payload) << row.name;
    EXPECT_EQ(a.kind(), row.kind) << row.name;
  }

  const va::ActionSpec& new_folder = action(root, "new-folder");
  EXPECT_EQ(new_folder.target(), "files.new-folder");
  ASSERT_TRUE(new_folder.input().has_value());
  EXPECT_EQ(new_folder.input()->label, "Folder name");
  EXPECT_EQ(new_folder.input()->default_value, "New Folder");
  // The answer becomes the payload as a JSON string.
  auto sent = va::derive_input(new_folder, va::ActionArgs().set_text("value", "Drafts"));
  ASSERT_TRUE(sent.has_value());
  EXPECT_EQ(sent->text(), "\"Drafts\"");
}

TEST_F(Catalog, OptionalFolderActionsFollowTheWindowState) {
  struct Row {
    const char* what;
    bool favourite, undo, trash;
    std::vector<std::string> tail;  // after "keyboard-shortcuts"
  };
  const Row rows[] = {
      {"plain", false, false, false, {"add-favorite", "new-folder", "paste"}},
      {"favourite", true, false, false, {"remove-favorite", "new-folder", "paste"}},
      {"undo record", false, true, false, {"add-favorite", "new-folder", "paste", "undo-trash"}},
      {"trash", false, false, true, {"add-favorite", "new-folder", "paste", "empty-trash"}},
      {"all",
       true,
       true,
       true,
       {"remove-favorite", "new-folder", "paste", "undo-trash", "empty-trash"}},
  };
  for (const Row& row : rows) {
    facts.folder_is_favourite = row.favourite;
    facts.trash_undo_available = row.undo;
    facts.in_trash = row.trash;
    va::Resource root = folder_resource(facts);
    auto names = action_names(root);
    std::vector<std::string> tail(names.begin() + 17, names.end());
    EXPECT_EQ(tail, row.tail) << row.what;
    if (row.favourite) {
      EXPECT_EQ(action(root, "remove-favorite").title(), "Remove from Favourites");
      EXPECT_EQ(action(root, "remove-favorite").payload().text(), "\"remove-favorite\"");
    }
    if (row.trash) {
      EXPECT_TRUE(action(root, "empty-trash").is_destructive());
      EXPECT_EQ(action(root, "empty-trash").payload().text(), "\"empty-trash\"");
    }
  }
}

TEST_F(Catalog, PasteIsListedUnavailableWhileTheClipboardIsEmpty) {
  facts.clipboard_empty = true;
  const va::Availability empty = action(folder_resource(facts), "paste").availability();
  EXPECT_FALSE(empty.is_available());
  EXPECT_EQ(empty.reason_code(), "clipboard_empty");
  EXPECT_EQ(empty.reason_text(), "Copy or cut files before pasting");
  facts.clipboard_empty = false;
  EXPECT_TRUE(action(folder_resource(facts), "paste").availability().is_available());
}

TEST_F(Catalog, UnavailabilityReasonsOfTheLocation) {
  facts.templates = {"/home/u/Templates/Letter.odt"};
  facts.templates_folder = "/home/u/Templates";
  facts.templates_folder_exists = true;
  struct Row {
    const char* what;
    bool readable, directory;
    const char* action;
    const char* code;  // empty: available
    const char* text;
  };
  const Row rows[] = {
      {"missing folder", false, false, "refresh", "location_missing",
       "The current folder no longer exists"},
      {"missing folder", false, false, "add-favorite", "location_unavailable",
       "The current location cannot be a favourite"},
      {"not a folder", true, false, "new-folder", "location_unavailable",
       "The current location cannot contain a new folder"},
      {"not a folder", true, false, "refresh", "", ""},
      {"folder", true, true, "new-folder", "", ""},
  };
  for (const Row& row : rows) {
    facts.folder_readable = row.readable;
    facts.folder_is_directory = row.directory;
    const va::Availability a = action(folder_resource(facts), row.action).availability();
    EXPECT_EQ(a.reason_code(), row.code) << row.what << " " << row.action;
    EXPECT_EQ(a.reason_text(), row.text) << row.what << " " << row.action;
  }
  facts.folder_is_directory = false;
  va::Resource root = build_listing(facts);
  const va::Resource* letter = root.find(template_resource_id("/home/u/Templates/Letter.odt"));
  ASSERT_NE(letter, nullptr);
  EXPECT_EQ(action(*letter, "create").availability().reason_text(),
            "The current location cannot contain a new file");
}

TEST_F(Catalog, ChildrenComeInTheirOrder) {
  set_entries({entry("a.txt"), entry("b", true)});
  facts.templates_folder = "/home/u/Templates";
  facts.templates_folder_exists = true;
  facts.templates = {"/home/u/Templates/Letter.odt", "/home/u/Templates/Sheet.ods"};
  facts.places = {{"Home", vask_ui::icons::Icon::Home, "/home/u"},
                  {"Root", vask_ui::icons::Icon::Folder, "/"}};
  vask_ui::Button retry("Try Again");
  retry.set_control_id("files.retry");
  facts.retry_controls = retry.resources();

  va::Resource root = build_listing(facts);
  EXPECT_EQ(child_kinds(root),
            (std::vector<std::string>{"vask.control", "files.template", "files.template",
                                      "files.place", "files.place", "files.entry", "files.entry"}));
  EXPECT_EQ(root.children[0].id, "vask.control:files.retry");

  const va::Resource& letter = root.children[1];
  EXPECT_EQ(letter.id, template_resource_id("/home/u/Templates/Letter.odt"));
  EXPECT_NE(letter.label.find("Letter"), std::string::npos);
  EXPECT_EQ(letter.label.find(".odt"), std::string::npos);
  EXPECT_EQ(action(letter, "create").target(), "files.new-from-template");
  EXPECT_EQ(action(letter, "create").payload().text(), "\"" + letter.id + "\"");

  const va::Resource& home = root.children[3];
  EXPECT_EQ(home.id, place_resource_id("/home/u"));
  EXPECT_EQ(home.label, "Home");
  EXPECT_EQ(action(home, "open").kind(), OperationKind::Navigate);
  EXPECT_EQ(action(home, "open").payload().text(), "\"" + home.id + "\"");

  // Lookup finds each of them by id too, except templates, which only the listing carries; an
  // unknown id finds nothing.
  for (const va::Resource& child : root.children) {
    if (child.kind == "files.template") {
      EXPECT_FALSE(lookup_resource(facts, child.id).has_value());
      continue;
    }
    auto found = lookup_resource(facts, child.id);
    ASSERT_TRUE(found.has_value()) << child.id;
    EXPECT_EQ(found->kind, child.kind);
  }
  EXPECT_FALSE(lookup_resource(facts, "files.entry:00000000000000000000000000000000"));
}

TEST_F(Catalog, TemplatesAreLeftOutInTheTrashAndWithoutTheirFolder) {
  facts.templates_folder = "/home/u/Templates";
  facts.templates = {"/home/u/Templates/Letter.odt"};
  facts.templates_folder_exists = false;
  EXPECT_TRUE(build_listing(facts).children.empty());
  facts.templates_folder_exists = true;
  facts.in_trash = true;
  EXPECT_TRUE(build_listing(facts).children.empty());
}

TEST_F(Catalog, AFolderOf200EntriesLists128AndLookupFindsEveryOne) {
  std::vector<model::FileEntry> many;
  for (int i = 0; i < 200; ++i)
    many.push_back(entry("file-" + std::to_string(1000 + i)));
  set_entries(std::move(many));
  va::Resource root = build_listing(facts);
  EXPECT_EQ(root.children.size(), kListedEntryLimit);
  EXPECT_EQ(root.children.back().label, "file-1127");

  const std::string id = entry_resource_id(entries[149]);
  EXPECT_EQ(root.find(id), nullptr);
  auto found = lookup_resource(facts, id);
  ASSERT_TRUE(found.has_value());
  EXPECT_EQ(found->label, "file-1149");
  EXPECT_EQ(found->kind, "files.entry");
}

TEST_F(Catalog, EntryActionsInAnOrdinaryFolderAndByLookup) {
  set_entries({entry("backup.tar.gz"), entry("notes.txt")});
  va::Resource root = build_listing(facts);
  const va::Resource& archive = root.children[0];
  EXPECT_EQ(action_names(archive),
            (std::vector<std::string>{"open", "rename", "copy", "cut", "trash", "properties",
                                      "sharing", "history", "compress", "extract"}));
  EXPECT_EQ(action_names(root.children[1]),
            (std::vector<std::string>{"open", "rename", "copy", "cut", "trash", "properties",
                                      "sharing", "history", "compress"}));
  EXPECT_EQ(action(archive, "extract").payload().text(), "[\"extract\",\"" + archive.id + "\"]");
  EXPECT_EQ(action(archive, "extract").kind(), OperationKind::Effect);
  EXPECT_TRUE(action(archive, "trash").is_destructive());
  EXPECT_EQ(action(archive, "properties").kind(), OperationKind::Navigate);
  EXPECT_EQ(action(archive, "open").payload().text(), "\"" + archive.id + "\"");

  const va::ActionSpec& rename = action(archive, "rename");
  EXPECT_EQ(rename.target(), "files.rename");
  ASSERT_TRUE(rename.input().has_value());
  EXPECT_EQ(rename.input()->default_value, "backup.tar.gz");
  auto sent = va::derive_input(rename, va::ActionArgs().set_text("value", "old.tar.gz"));
  ASSERT_TRUE(sent.has_value());
  EXPECT_EQ(sent->text(), "[\"" + archive.id + "\",\"old.tar.gz\"]");

  auto looked_up = lookup_resource(facts, archive.id);
  ASSERT_TRUE(looked_up.has_value());
  EXPECT_EQ(action_names(*looked_up),
            (std::vector<std::string>{"open", "rename", "send-nearby", "copy", "cut", "trash",
                                      "properties", "sharing", "history"}));
  EXPECT_EQ(action(*looked_up, "send-nearby").payload().text(),
            "[\"send-nearby\",\"" + archive.id + "\"]");
}

TEST_F(Catalog, TheTrashOffersRestoreDeleteAndPropertiesButNoRename) {
  facts.in_trash = true;
  set_entries({entry("old.txt")});
  va::Resource root = build_listing(facts);
  EXPECT_TRUE(action(root, "empty-trash").is_destructive());
  const va::Resource& item = root.children.at(0);
  EXPECT_EQ(action_names(item),
            (std::vector<std::string>{"open", "restore", "delete-permanently", "properties"}));
  EXPECT_EQ(action(item, "delete-permanently").payload().text(), "[\"purge\",\"" + item.id + "\"]");
  EXPECT_TRUE(action(item, "delete-permanently").is_destructive());
  EXPECT_FALSE(action(item, "restore").is_destructive());
  auto looked_up = lookup_resource(facts, item.id);
  ASSERT_TRUE(looked_up.has_value());
  EXPECT_EQ(action_names(*looked_up), action_names(item));
}

TEST_F(Catalog, RecordEntriesRevealAndShareInTheBackground) {
  model::FileEntry e = entry("report.odt");
  e.record_id = collab_types::Uuid::parse("123e4567-e89b-12d3-a456-426614174000");
  set_entries({e});
  const va::Resource root = build_listing(facts);
  const va::Resource& item = root.children.at(0);
  EXPECT_EQ(item.kind, "files.record");
  EXPECT_EQ(item.actions.front().name(), "reveal");
  EXPECT_EQ(item.actions.front().payload().text(), "\"123e4567-e89b-12d3-a456-426614174000\"");
  const va::ActionSpec& share = item.actions.back();
  EXPECT_EQ(share.name(), "share-link");
  EXPECT_EQ(share.title(), "Create one-time share link");
  EXPECT_TRUE(share.is_background());
  // Only the one-time link works in the background.
  for (const va::ActionSpec& a : item.actions)
    EXPECT_EQ(a.is_background(), a.name() == "share-link") << a.name();
}

TEST_F(Catalog, AvailabilityControlsFollowTheProjection) {
  using collab_types::OfflinePolicy;
  using collab_types::TransferPhase;
  struct Row {
    const char* what;
    OfflinePolicy policy;
    bool inherited;
    TransferPhase phase;
    collab_types::Residency residency;
    bool is_dir;
    std::vector<std::string> actions;
  };
  const Row rows[] = {
      {"automatic, resident file",
       OfflinePolicy::Automatic,
       false,
       TransferPhase::Idle,
       collab_types::ResidencyResident{10},
       false,
       {"availability", "keep-offline", "free-local-space"}},
      {"automatic, not resident",
       OfflinePolicy::Automatic,
       false,
       TransferPhase::Idle,
       collab_types::ResidencyNotResident{},
       false,
       {"availability", "keep-offline", "retry-download"}},
      {"automatic folder, partial",
       OfflinePolicy::Automatic,
       false,
       TransferPhase::Idle,
       collab_types::ResidencyPartial{3},
       true,
       {"availability", "keep-offline", "retry-download"}},
      {"pinned on the item",
       OfflinePolicy::Pinned,
       false,
       TransferPhase::Idle,
       collab_types::ResidencyResident{10},
       false,
       {"availability", "automatic-storage"}},
      {"pinned by a parent, downloading",
       OfflinePolicy::Pinned,
       true,
       TransferPhase::Downloading,
       collab_types::ResidencyPartial{3},
       false,
       {"availability"}},
      {"automatic but inherited",
       OfflinePolicy::Automatic,
       true,
       TransferPhase::Idle,
       collab_types::ResidencyResident{10},
       false,
       {"availability", "keep-offline"}},
  };
  for (const Row& row : rows) {
    model::FileEntry e = entry("doc", row.is_dir);
    collab_types::AvailabilityProjection p;
    p.policy = row.policy;
    p.policy_inherited = row.inherited;
    p.transfer.phase = row.phase;
    p.residency = row.residency;
    e.availability = p;
    va::Resource r = entry_resource(e, false, EntryShape::Listing);
    auto names = action_names(r);
    auto first = std::find(names.begin(), names.end(), "availability");
    ASSERT_NE(first, names.end()) << row.what;
    EXPECT_EQ(std::vector<std::string>(first, names.end()), row.actions) << row.what;
  }
  model::FileEntry e = entry("doc");
  collab_types::AvailabilityProjection p;
  p.residency = collab_types::ResidencyNotResident{};
  e.availability = p;
  va::Resource r = entry_resource(e, false, EntryShape::Listing);
  EXPECT_EQ(action(r, "retry-download").payload().text(), "[\"retry-transfer\",\"" + r.id + "\"]");
  EXPECT_EQ(action(r, "availability").kind(), OperationKind::Navigate);
  EXPECT_EQ(action(r, "keep-offline").kind(), OperationKind::Effect);
}

}  // namespace
}  // namespace files::app
