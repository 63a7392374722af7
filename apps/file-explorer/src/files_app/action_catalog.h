#pragma once

#include <array>
#include <cstddef>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/file_entry.h"
#include "places_sidebar/places.h"
#include "vask_actions/resource.h"
#include "vask_ui/widget.h"

/// What the window publishes to automation and assistive clients: the current folder as one
/// resource whose children are the retry button, the templates, the places and the entries,
/// each with the actions a client may send back. Everything is built afresh from the window's
/// state on every call; ids are derived from paths and record ids so that they stay the same
/// across reloads and restarts.
namespace files::app {

using vask_actions::OperationKind;

/// The listing carries at most this many entry resources; lookup still finds every entry.
inline constexpr std::size_t kListedEntryLimit = 128;

/// The 32 lower-case hex digits that identify a local path in resource ids. Folders, entries
/// and places share it, so a place and an entry with the same path share the digest part.
std::string local_resource_digest(const std::filesystem::path& path);

std::string folder_resource_id(const std::filesystem::path& folder);
/// "files.record:" + the record id when the entry has one, else "files.entry:" + the digest.
std::string entry_resource_id(const model::FileEntry& entry);
std::string place_resource_id(const std::filesystem::path& place);
/// "files.template:" + the first 16 bytes of SHA-256 over the path's text (lossy UTF-8).
std::string template_resource_id(const std::filesystem::path& template_path);

/// One of the sixteen commands every folder offers.
struct FolderCommandSpec {
  std::string_view name;
  std::string_view title;
  /// What "files.folder-command" receives.
  std::string_view word;
  OperationKind kind;
};
extern const std::array<FolderCommandSpec, 16> kFolderCommands;

/// The operation kind the folder command `word` must arrive with; nullopt for a word that is
/// no folder command.
std::optional<OperationKind> folder_command_kind(std::string_view word);
/// The same for the words of "files.entry-command".
std::optional<OperationKind> entry_command_kind(std::string_view word);

/// Everything of the window that the catalog and the dispatcher read.
struct CatalogFacts {
  std::filesystem::path folder;
  /// In view order.
  std::span<const model::FileEntry> entries;
  bool in_trash = false;
  /// The current folder's metadata could be read.
  bool folder_readable = true;
  /// The current path is a folder (following links), so things can be created in it.
  bool folder_is_directory = true;
  bool folder_is_favourite = false;
  bool clipboard_empty = true;
  /// An undo record of the last move to Trash exists.
  bool trash_undo_available = false;
  /// The templates folder; nullopt when there is none at all.
  std::optional<std::filesystem::path> templates_folder;
  bool templates_folder_exists = false;
  /// In template-list order.
  std::vector<std::filesystem::path> templates;
  /// In sidebar order.
  std::vector<places::Place> places;
  /// The retry button's controls while the error panel shows, else empty.
  std::vector<vask_ui::ControlResource> retry_controls;
};

/// Reads the templates folder, its existence and its templates from the disk.
void read_templates(CatalogFacts& facts);
/// Reads whether the current folder's metadata is readable and whether it is a folder.
void read_folder_metadata(CatalogFacts& facts);

/// How an entry resource is built: the listing offers the archive commands, lookup offers
/// sending to nearby devices instead.
enum class EntryShape { Listing, Lookup };

/// The whole listing: the current folder with everything else as its children.
vask_actions::Resource build_listing(const CatalogFacts& facts);
/// Only the resource with that id, or nullopt when the id names nothing the window shows.
std::optional<vask_actions::Resource> lookup_resource(const CatalogFacts& facts,
                                                      std::string_view id);

/// The current folder with its actions and its nearby-transfer children.
vask_actions::Resource folder_resource(const CatalogFacts& facts);
vask_actions::Resource entry_resource(const model::FileEntry& entry, bool in_trash,
                                      EntryShape shape);

/// The index of the entry whose resource id is `id`, or nullopt.
std::optional<std::size_t> find_entry(std::span<const model::FileEntry> entries,
                                      std::string_view id);
/// The place whose resource id is `id`, or nullptr.
const places::Place* find_place(const std::vector<places::Place>& places, std::string_view id);
/// The template whose resource id is `id`, or nullptr.
const std::filesystem::path* find_template(const std::vector<std::filesystem::path>& templates,
                                           std::string_view id);

// Resources of features that keep their own state (incoming nearby transfers, collaborative
// records found by search, remote accounts). Until those features hold any state, they list
// nothing; the catalog already asks them in the right places.

/// One "files.nearby-transfer" resource per incoming transfer that offers an action.
std::vector<vask_actions::Resource> nearby_transfer_resources();
/// The "files.record" resource that the collaborative search knows under `id`.
std::optional<vask_actions::Resource> search_record_resource(std::string_view id);
/// One "files.remote-account" resource per account of the account view, with its entries.
std::vector<vask_actions::Resource> remote_account_resources();
/// The "send-nearby-…" actions of an entry, one per nearby device available now.
std::vector<vask_actions::ActionSpec> nearby_device_actions(std::string_view entry_id);

}  // namespace files::app
