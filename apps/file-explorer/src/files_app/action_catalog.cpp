#include "files_app/action_catalog.h"

#include <openssl/evp.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <initializer_list>
#include <memory>

#include "fileops/templates.h"
#include "i18n/i18n.h"
#include "model/archive_reader.h"
#include "model/lossy_text.h"
#include "vask_ui/automation.h"

namespace files::app {

namespace va = vask_actions;

namespace {

/// The first 16 bytes of SHA-256 over the concatenated parts, as 32 lower-case hex digits.
std::string digest_hex16(std::initializer_list<std::string_view> parts) {
  std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> ctx(EVP_MD_CTX_new(), EVP_MD_CTX_free);
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int size = 0;
  // Hashing in memory fails only when allocation does; ids must never silently collide, so
  // that is fatal rather than an empty id.
  if (!ctx || EVP_DigestInit_ex(ctx.get(), EVP_sha256(), nullptr) != 1) std::abort();
  for (std::string_view part : parts) {
    if (EVP_DigestUpdate(ctx.get(), part.data(), part.size()) != 1) std::abort();
  }
  if (EVP_DigestFinal_ex(ctx.get(), digest, &size) != 1 || size < 16) std::abort();
  static constexpr char kHex[] = "0123456789abcdef";
  std::string out;
  out.reserve(32);
  for (std::size_t i = 0; i < 16; ++i) {
    out.push_back(kHex[digest[i] >> 4]);
    out.push_back(kHex[digest[i] & 0xf]);
  }
  return out;
}

va::ActionContract unavailable(std::string code, std::string text) {
  va::ActionContract contract;
  contract.availability = va::Availability::unavailable(std::move(code), std::move(text));
  return contract;
}

std::string title(std::string_view message_id) {
  return i18n::t(message_id);
}

/// The commands of an entry: name, title message, command word.
struct EntryCommandSpec {
  std::string_view name;
  std::string_view title;
  std::string_view word;
  bool destructive = false;
};

constexpr std::array<EntryCommandSpec, 3> kTrashEntryCommands{{
    {"restore", "files-menu-restore", "restore"},
    {"delete-permanently", "files-menu-delete-permanently", "purge", true},
    {"properties", "files-menu-properties", "properties"},
}};

constexpr std::array<EntryCommandSpec, 7> kEntryCommands{{
    {"copy", "files-menu-copy", "copy"},
    {"cut", "files-menu-cut", "cut"},
    {"trash", "files-menu-move-trash", "trash", true},
    {"properties", "files-menu-properties", "properties"},
    {"sharing", "files-sharing-access", "sharing"},
    {"history", "files-version-history", "history"},
    {"compress", "files-archive-compress", "compress"},
}};

constexpr std::array<std::pair<std::string_view, OperationKind>, 16> kEntryCommandKinds{{
    {"properties", OperationKind::Navigate},
    {"sharing", OperationKind::Navigate},
    {"history", OperationKind::Navigate},
    {"availability", OperationKind::Navigate},
    {"send-nearby", OperationKind::Navigate},
    {"copy", OperationKind::Effect},
    {"cut", OperationKind::Effect},
    {"restore", OperationKind::Effect},
    {"purge", OperationKind::Effect},
    {"trash", OperationKind::Effect},
    {"keep-offline", OperationKind::Effect},
    {"automatic-storage", OperationKind::Effect},
    {"free-local-space", OperationKind::Effect},
    {"retry-transfer", OperationKind::Effect},
    {"compress", OperationKind::Effect},
    {"extract", OperationKind::Effect},
}};

va::ActionSpec entry_command(const EntryCommandSpec& spec, const std::string& entry_id) {
  OperationKind kind = entry_command_kind(spec.word).value_or(OperationKind::Effect);
  return va::ActionSpec(std::string(spec.name), title(spec.title), kind, "files.entry-command",
                        va::Payload::strings({spec.word, entry_id}))
      .destructive(spec.destructive);
}

/// The availability controls of an entry with an availability projection.
void add_availability_actions(va::Resource& resource, const model::FileEntry& entry) {
  const collab_types::AvailabilityProjection* projection = entry.availability.get();
  if (projection == nullptr) return;
  resource.with_action(entry_command(
      {"availability", "files-availability-title-short", "availability"}, resource.id));
  const bool automatic = projection->policy == collab_types::OfflinePolicy::Automatic;
  const bool idle = projection->transfer.phase == collab_types::TransferPhase::Idle;
  const bool not_resident =
      std::holds_alternative<collab_types::ResidencyNotResident>(projection->residency);
  const bool resident =
      std::holds_alternative<collab_types::ResidencyResident>(projection->residency);
  if (automatic) {
    resource.with_action(
        entry_command({"keep-offline", "files-keep-offline", "keep-offline"}, resource.id));
  }
  if (!automatic && !projection->policy_inherited) {
    resource.with_action(entry_command(
        {"automatic-storage", "files-use-automatic-storage", "automatic-storage"}, resource.id));
  }
  if (!entry.is_dir && automatic && !projection->policy_inherited && idle && !not_resident) {
    resource.with_action(entry_command(
        {"free-local-space", "files-free-local-space", "free-local-space"}, resource.id));
  }
  if (!resident && idle) {
    resource.with_action(
        entry_command({"retry-download", "files-retry-download", "retry-transfer"}, resource.id));
  }
}

va::Resource template_resource(const std::filesystem::path& path, bool can_create) {
  std::string id = template_resource_id(path);
  std::string label = fileops::template_label(path);
  va::ActionSpec create("create", label, OperationKind::Effect, "files.new-from-template",
                        va::Payload::string(id));
  if (!can_create) {
    create.with_contract(
        unavailable("location_unavailable", "The current location cannot contain a new file"));
  }
  return va::Resource(id, "files.template", std::move(label)).with_action(std::move(create));
}

va::Resource place_resource(const places::Place& place) {
  std::string id = place_resource_id(place.path);
  va::ActionSpec open("open", "Open", OperationKind::Navigate, "files.open",
                      va::Payload::string(id));
  return va::Resource(std::move(id), "files.place", place.label).with_action(std::move(open));
}

std::vector<va::Resource> retry_resources(const CatalogFacts& facts) {
  std::vector<va::Resource> out;
  for (const vask_ui::ControlResource& control : facts.retry_controls)
    out.push_back(vask_ui::automation::to_action_resource(control));
  return out;
}

}  // namespace

const std::array<FolderCommandSpec, 16> kFolderCommands{{
    {"up", "Parent folder", "up", OperationKind::Navigate},
    {"back", "Back", "back", OperationKind::Navigate},
    {"forward", "Forward", "forward", OperationKind::Navigate},
    {"open-terminal", "Open terminal here", "terminal", OperationKind::Effect},
    {"toggle-hidden", "Toggle hidden files", "hidden", OperationKind::Navigate},
    {"list", "Use list view", "list", OperationKind::Navigate},
    {"grid", "Use grid view", "grid", OperationKind::Navigate},
    {"sort-name", "Sort by name", "sort-name", OperationKind::Navigate},
    {"sort-size", "Sort by size", "sort-size", OperationKind::Navigate},
    {"sort-type", "Sort by type", "sort-type", OperationKind::Navigate},
    {"sort-modified", "Sort by modified date", "sort-modified", OperationKind::Navigate},
    {"sort-ascending", "Sort ascending", "sort-ascending", OperationKind::Navigate},
    {"sort-descending", "Sort descending", "sort-descending", OperationKind::Navigate},
    {"zoom-in", "Increase item size", "zoom-in", OperationKind::Navigate},
    {"zoom-out", "Decrease item size", "zoom-out", OperationKind::Navigate},
    {"keyboard-shortcuts", "Keyboard shortcuts", "shortcuts", OperationKind::Navigate},
}};

std::optional<OperationKind> folder_command_kind(std::string_view word) {
  for (const FolderCommandSpec& spec : kFolderCommands) {
    if (spec.word == word) return spec.kind;
  }
  // The commands the folder offers outside the table change files or settings.
  if (word == "add-favorite" || word == "remove-favorite" || word == "empty-trash" ||
      word == "undo-trash") {
    return OperationKind::Effect;
  }
  return std::nullopt;
}

std::optional<OperationKind> entry_command_kind(std::string_view word) {
  for (const auto& [known, kind] : kEntryCommandKinds) {
    if (known == word) return kind;
  }
  return std::nullopt;
}

std::string local_resource_digest(const std::filesystem::path& path) {
  // The domain text ends in a backslash and a zero, not a NUL byte: 30 bytes.
  static constexpr std::string_view kDomain = "vask.files.local-resource.v1\\0";
  static_assert(kDomain.size() == 30);
  const std::string& bytes = path.native();
  std::uint64_t length = bytes.size();
  char big_endian[8];
  for (int i = 7; i >= 0; --i) {
    big_endian[i] = static_cast<char>(length & 0xff);
    length >>= 8;
  }
  return digest_hex16({kDomain, std::string_view(big_endian, 8), bytes});
}

std::string folder_resource_id(const std::filesystem::path& folder) {
  return "files.folder:" + local_resource_digest(folder);
}

std::string entry_resource_id(const model::FileEntry& entry) {
  if (entry.record_id) return "files.record:" + entry.record_id->to_string();
  return "files.entry:" + local_resource_digest(entry.path);
}

std::string place_resource_id(const std::filesystem::path& place) {
  return "files.place:" + local_resource_digest(place);
}

std::string template_resource_id(const std::filesystem::path& template_path) {
  return "files.template:" + digest_hex16({model::lossy_utf8(template_path.native())});
}

void read_templates(CatalogFacts& facts) {
  facts.templates_folder = fileops::templates_folder();
  facts.templates_folder_exists = false;
  facts.templates.clear();
  if (!facts.templates_folder) return;
  std::error_code ec;
  facts.templates_folder_exists = std::filesystem::is_directory(*facts.templates_folder, ec);
  if (facts.templates_folder_exists)
    facts.templates = fileops::list_templates(*facts.templates_folder);
}

void read_folder_metadata(CatalogFacts& facts) {
  struct stat st {};
  int rc = 0;
  do {
    rc = ::stat(facts.folder.c_str(), &st);
  } while (rc != 0 && errno == EINTR);
  facts.folder_readable = rc == 0;
  facts.folder_is_directory = rc == 0 && S_ISDIR(st.st_mode);
}

va::Resource folder_resource(const CatalogFacts& facts) {
  va::Resource folder(folder_resource_id(facts.folder), "files.folder",
                      model::lossy_utf8(facts.folder.native()));

  va::ActionSpec refresh("refresh", "Refresh folder", OperationKind::Effect, "files.refresh");
  if (!facts.folder_readable) {
    refresh.with_contract(unavailable("location_missing", "The current folder no longer exists"));
  }
  folder.with_action(std::move(refresh));

  for (const FolderCommandSpec& spec : kFolderCommands) {
    folder.with_action(va::ActionSpec(std::string(spec.name), std::string(spec.title), spec.kind,
                                      "files.folder-command", va::Payload::string(spec.word)));
  }

  const char* favourite_name = facts.folder_is_favourite ? "remove-favorite" : "add-favorite";
  va::ActionSpec favourite(
      favourite_name, facts.folder_is_favourite ? "Remove from Favourites" : "Add to Favourites",
      OperationKind::Effect, "files.folder-command", va::Payload::string(favourite_name));
  if (!facts.folder_is_directory) {
    favourite.with_contract(
        unavailable("location_unavailable", "The current location cannot be a favourite"));
  }
  folder.with_action(std::move(favourite));

  va::ActionSpec new_folder("new-folder", "New folder", OperationKind::Effect, "files.new-folder");
  new_folder.with_input(va::TextInput{"Folder name", "New Folder"});
  if (!facts.folder_is_directory) {
    new_folder.with_contract(
        unavailable("location_unavailable", "The current location cannot contain a new folder"));
  }
  folder.with_action(std::move(new_folder));

  va::ActionSpec paste("paste", "Paste", OperationKind::Effect, "files.paste");
  if (facts.clipboard_empty) {
    paste.with_contract(unavailable("clipboard_empty", "Copy or cut files before pasting"));
  }
  folder.with_action(std::move(paste));

  if (facts.trash_undo_available) {
    folder.with_action(va::ActionSpec("undo-trash", title("files-undo-move-trash"),
                                      OperationKind::Effect, "files.folder-command",
                                      va::Payload::string("undo-trash")));
  }
  if (facts.in_trash) {
    folder.with_action(va::ActionSpec("empty-trash", title("files-menu-empty-trash"),
                                      OperationKind::Effect, "files.folder-command",
                                      va::Payload::string("empty-trash"))
                           .destructive());
  }

  for (va::Resource& transfer : nearby_transfer_resources())
    folder.with_child(std::move(transfer));
  return folder;
}

va::Resource entry_resource(const model::FileEntry& entry, bool in_trash, EntryShape shape) {
  std::string id = entry_resource_id(entry);
  va::Resource resource(id, entry.record_id ? "files.record" : "files.entry", entry.name);
  if (entry.record_id) {
    resource.with_action(va::ActionSpec("reveal", title("files-action-reveal"),
                                        OperationKind::Navigate, "files.reveal-record",
                                        va::Payload::string(entry.record_id->to_string())));
  }
  resource.with_action(va::ActionSpec("open", title("files-menu-open"), OperationKind::Navigate,
                                      "files.open", va::Payload::string(id)));
  if (!in_trash) {
    resource.with_action(
        va::ActionSpec("rename", title("files-menu-rename"), OperationKind::Effect, "files.rename",
                       va::Payload::strings({id}))
            .with_input(va::TextInput{title("files-action-rename-prompt"), entry.name}));
    if (shape == EntryShape::Lookup) {
      resource.with_action(va::ActionSpec("send-nearby", title("files-menu-send-nearby"),
                                          OperationKind::Navigate, "files.entry-command",
                                          va::Payload::strings({"send-nearby", id})));
      for (va::ActionSpec& send : nearby_device_actions(id))
        resource.with_action(std::move(send));
    }
  }
  if (in_trash) {
    for (const EntryCommandSpec& spec : kTrashEntryCommands)
      resource.with_action(entry_command(spec, id));
  } else {
    for (const EntryCommandSpec& spec : kEntryCommands) {
      // Archive commands belong to the listing only.
      if (spec.word == "compress" && shape == EntryShape::Lookup) continue;
      resource.with_action(entry_command(spec, id));
    }
    if (shape == EntryShape::Listing && model::is_supported_archive(entry.path)) {
      resource.with_action(entry_command({"extract", "files-archive-extract-here", "extract"}, id));
    }
  }
  add_availability_actions(resource, entry);
  if (entry.record_id) {
    resource.with_action(va::ActionSpec("share-link", "Create one-time share link",
                                        OperationKind::Effect, "files.share-link",
                                        va::Payload::string(id))
                             .execution(va::Execution::Worker)
                             .returns(va::ResultShape::Nothing));
  }
  return resource;
}

va::Resource build_listing(const CatalogFacts& facts) {
  va::Resource root = folder_resource(facts);
  for (va::Resource& control : retry_resources(facts))
    root.with_child(std::move(control));
  if (!facts.in_trash && facts.templates_folder_exists) {
    for (const std::filesystem::path& path : facts.templates)
      root.with_child(template_resource(path, facts.folder_is_directory));
  }
  for (const places::Place& place : facts.places)
    root.with_child(place_resource(place));
  for (va::Resource& account : remote_account_resources())
    root.with_child(std::move(account));
  std::size_t listed = std::min(facts.entries.size(), kListedEntryLimit);
  for (std::size_t i = 0; i < listed; ++i)
    root.with_child(entry_resource(facts.entries[i], facts.in_trash, EntryShape::Listing));
  return root;
}

std::optional<std::size_t> find_entry(std::span<const model::FileEntry> entries,
                                      std::string_view id) {
  // Ids are recomputed entry by entry: never cached, so a renamed entry can never answer to
  // its old id.
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (entry_resource_id(entries[i]) == id) return i;
  }
  return std::nullopt;
}

const places::Place* find_place(const std::vector<places::Place>& places, std::string_view id) {
  for (const places::Place& place : places) {
    if (place_resource_id(place.path) == id) return &place;
  }
  return nullptr;
}

const std::filesystem::path* find_template(const std::vector<std::filesystem::path>& templates,
                                           std::string_view id) {
  for (const std::filesystem::path& path : templates) {
    if (template_resource_id(path) == id) return &path;
  }
  return nullptr;
}

std::optional<va::Resource> lookup_resource(const CatalogFacts& facts, std::string_view id) {
  if (id == folder_resource_id(facts.folder)) return folder_resource(facts);
  if (auto index = find_entry(facts.entries, id)) {
    return entry_resource(facts.entries[*index], facts.in_trash, EntryShape::Lookup);
  }
  if (const places::Place* place = find_place(facts.places, id)) return place_resource(*place);
  if (auto record = search_record_resource(id)) return record;
  for (va::Resource& account : remote_account_resources()) {
    if (account.id != id) continue;
    // Lookup answers with the account alone and its details action.
    va::Resource found(account.id, account.kind, account.label);
    if (const va::ActionSpec* details = account.find_action("open-remote-account"))
      found.with_action(*details);
    return found;
  }
  for (va::Resource& control : retry_resources(facts)) {
    if (control.id == id) return std::move(control);
  }
  return std::nullopt;
}

std::vector<va::Resource> nearby_transfer_resources() {
  // Incoming nearby transfers are not received yet: no transfer offers an action.
  return {};
}

std::optional<va::Resource> search_record_resource(std::string_view id) {
  // The collaborative search does not publish records yet.
  (void)id;
  return std::nullopt;
}

std::vector<va::Resource> remote_account_resources() {
  // Remote accounts are not loaded yet: the account view is empty.
  return {};
}

std::vector<va::ActionSpec> nearby_device_actions(std::string_view entry_id) {
  // No nearby device is discovered yet.
  (void)entry_id;
  return {};
}

}  // namespace files::app
