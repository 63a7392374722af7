#include "files_app/action_dispatch.h"

#include <collab_types/uuid.h>

#include <expected>
#include <nlohmann/json.hpp>
#include <vector>

namespace files::app::dispatch {

namespace {

using nlohmann::json;
using vask_actions::ActionRequest;

/// The payload read as `T`; a text that is no JSON or has another shape fails with the JSON
/// reader's own error text.
template <class T>
std::expected<T, std::string> read_payload(std::string_view text) {
  try {
    return json::parse(text).get<T>();
  } catch (const json::exception& error) {
    return std::unexpected(std::string(error.what()));
  }
}

Refused refuse(std::string_view text) {
  return Refused{std::string(text)};
}

Decision folder_command(const ActionRequest& request, const CatalogFacts& facts) {
  auto word = read_payload<std::string>(request.payload);
  if (!word) return Refused{word.error()};
  auto kind = folder_command_kind(*word);
  if (!kind) return NotHandled{};
  if (*kind != request.kind) return refuse(kInvalidKind);
  if (*word == "add-favorite" && !facts.folder_is_directory) {
    return refuse("the current location cannot be a favourite");
  }
  return FolderCommand{std::move(*word)};
}

Decision entry_command(const ActionRequest& request, const CatalogFacts& facts) {
  auto words = read_payload<std::vector<std::string>>(request.payload);
  if (!words) return Refused{words.error()};
  if (words->empty()) return refuse("missing file command");
  if (words->size() < 2) return refuse("missing file resource");
  auto entry = find_entry(facts.entries, (*words)[1]);
  if (!entry) return refuse(kEntryNotVisible);
  const std::string& word = (*words)[0];
  auto kind = entry_command_kind(word);
  if (!kind) return NotHandled{};
  if (*kind != request.kind) return refuse(kInvalidKind);
  if (word == "trash" && facts.in_trash) {
    return refuse(
        "Use the separately confirmed permanent-delete action for items already in Trash");
  }
  if ((word == "restore" || word == "purge") && !facts.in_trash) return NotHandled{};
  if (word == "sharing" && !facts.entries[*entry].share) {
    return refuse("sharing is unavailable for this file");
  }
  return EntryCommand{word, *entry};
}

Decision open_location(const ActionRequest& request, const CatalogFacts& facts) {
  auto id = read_payload<std::string>(request.payload);
  if (!id) return Refused{id.error()};
  if (auto entry = find_entry(facts.entries, *id)) return OpenLocation{facts.entries[*entry].path};
  if (const places::Place* place = find_place(facts.places, *id)) return OpenLocation{place->path};
  return refuse("file location is no longer available");
}

Decision rename_entry(const ActionRequest& request, const CatalogFacts& facts) {
  auto words = read_payload<std::vector<std::string>>(request.payload);
  if (!words) return Refused{words.error()};
  if (words->empty()) return refuse("missing file resource");
  if (words->size() < 2) return refuse("missing new file name");
  auto entry = find_entry(facts.entries, (*words)[0]);
  if (!entry) return refuse(kEntryNotVisible);
  return RenameEntry{*entry, (*words)[1]};
}

Decision new_from_template(const ActionRequest& request, const CatalogFacts& facts) {
  auto id = read_payload<std::string>(request.payload);
  if (!id) return Refused{id.error()};
  if (!facts.templates_folder) return refuse("the Templates directory is unavailable");
  const std::filesystem::path* path = find_template(facts.templates, *id);
  if (path == nullptr) return refuse("the template is no longer available");
  return CreateFromTemplate{*path};
}

Decision share_link(const ActionRequest& request, const CatalogFacts& facts) {
  auto id = read_payload<std::string>(request.payload);
  if (!id) return Refused{id.error()};
  if (!find_entry(facts.entries, *id)) return refuse(kEntryNotVisible);
  // The one-time link needs the sharing service; without it no entry can be shared, and
  // accepting would leave the action pending for ever.
  return refuse("sharing is unavailable for this file");
}

Decision nearby_send(const ActionRequest& request, const CatalogFacts& facts) {
  auto words = read_payload<std::vector<std::string>>(request.payload);
  if (!words) return Refused{words.error()};
  if (words->empty() || !find_entry(facts.entries, (*words)[0])) return refuse(kEntryNotVisible);
  // No nearby device is discovered yet, so none is listed.
  return refuse("nearby device is no longer available");
}

Decision reveal_record(const ActionRequest& request) {
  auto text = read_payload<std::string>(request.payload);
  if (!text) return Refused{text.error()};
  if (!collab_types::Uuid::parse(*text)) return refuse("invalid collaborative record id");
  // The window keeps no record index yet, so no record can be found.
  return refuse("collaborative record is not indexed yet");
}

Decision remote_account(const ActionRequest& request) {
  auto words = read_payload<std::vector<std::string>>(request.payload);
  if (!words) return Refused{words.error()};
  if (words->empty()) return refuse("missing remote account operation");
  if (words->size() < 2) return refuse("missing remote account id");
  // The account view is empty until remote accounts are loaded.
  return refuse("remote account is no longer available");
}

Decision remote_dav(const ActionRequest& request) {
  if (request.kind != OperationKind::Effect) return refuse(kRemoteNeedsEffect);
  auto words = read_payload<std::vector<std::string>>(request.payload);
  if (!words) return Refused{words.error()};
  if (words->size() < 2) return refuse("missing remote account id");
  return refuse("remote account is no longer available");
}

Decision control(const ActionRequest& request) {
  auto id = read_payload<std::string>(request.payload);
  if (!id) return Refused{id.error()};
  auto invocation = vask_ui::control_invocation_of(request);
  if (!invocation) return NotHandled{};
  return InvokeControl{std::move(*invocation)};
}

}  // namespace

Decision accept(const ActionRequest& request, const CatalogFacts& facts) {
  const std::string& id = request.action_id;
  const OperationKind kind = request.kind;
  const bool effect = kind == OperationKind::Effect;
  const bool navigate = kind == OperationKind::Navigate;

  if (id == "vask.ui.control.invoke" || id == "vask.ui.segmented.select") return control(request);
  if (id == "files.folder-command") return folder_command(request, facts);
  if (id == "files.entry-command") return entry_command(request, facts);
  if (id == "files.remote-dav") return remote_dav(request);
  if (navigate) {
    if (id == "files.open") return open_location(request, facts);
    if (id == "files.reveal-record") return reveal_record(request);
    if (id == "files.remote-account") return remote_account(request);
  }
  if (effect) {
    if (id == "files.refresh") return RefreshFolder{};
    if (id == "files.new-folder") {
      auto name = read_payload<std::string>(request.payload);
      if (!name) return Refused{name.error()};
      return CreateFolder{std::move(*name)};
    }
    if (id == "files.new-from-template") return new_from_template(request, facts);
    if (id == "files.paste") {
      if (facts.clipboard_empty) return refuse("The clipboard is empty");
      return PasteClipboard{};
    }
    if (id == "files.rename") return rename_entry(request, facts);
    if (id == "files.share-link") return share_link(request, facts);
    if (id == "files.nearby-send") return nearby_send(request, facts);
    if (id == "files.nearby-decide" || id == "files.nearby-retry" || id == "files.nearby-cancel") {
      // No incoming transfer is held yet.
      return refuse("nearby transfer is no longer available");
    }
  }
  return NotHandled{};
}

}  // namespace files::app::dispatch
