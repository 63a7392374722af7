#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "model/file_entry.h"
#include "vask_ui/geometry.h"

/// Every request that widgets, menus, sheets and keys make of the window. Widgets never change
/// window state themselves: they post one of these, and the window executes it in the module
/// that owns the behaviour.
namespace files::command {

using Path = std::filesystem::path;
using Paths = std::vector<std::filesystem::path>;

// Navigation and view.
struct Refresh {};
struct GoToFolder {
  Path path;
};
/// A location typed into the path bar: an existing regular file is opened, anything else is
/// navigated to.
struct GoToTypedPath {
  Path path;
};
struct GoUp {};
struct GoBack {};
struct GoForward {};
struct OpenEntry {
  Path path;
};
struct SetViewMode {
  model::ViewMode mode;
};
struct SetSortKey {
  model::SortKey key;
};
struct SetSortDirection {
  model::SortOrder order;
};
struct ToggleHidden {};
struct OpenTerminal {};

// Pointer, keyboard and selection.
struct ItemClick {
  std::size_t index;
  bool toggle = false;
  bool range = false;
};
struct ItemContext {
  std::optional<std::size_t> index;
};
struct MoveFocus {
  std::size_t index;
  bool extend = false;
};
struct SortByColumn {
  model::SortKey key;
};
struct ArmDrag {
  Path path;
  bool is_dir = false;
  vask_ui::Point position;
};
struct BeginDrag {
  Path path;
  bool is_dir = false;
};
struct ShowShortcuts {};

// Menus.
struct OpenSortMenu {
  vask_ui::Point position;
};
struct OpenViewMenu {
  vask_ui::Point position;
};
struct OpenTemplateMenu {
  vask_ui::Point position;
};

// Favourites.
struct AddFavourite {
  Path path;
};
struct RemoveFavourite {
  Path path;
};
struct OpenFavouriteMenu {
  Path path;
  vask_ui::Point position;
};
struct MoveFavourite {
  std::size_t from;
  std::size_t to;
};

// Clipboard and transfers.
struct CopySelection {};
struct CutSelection {};
struct Paste {};

// Names.
struct NewFolder {};
struct NewFromTemplate {
  Path template_path;
};
struct BeginRename {};
struct CommitRename {};
struct CancelRename {};

// Trash.
struct DeleteSelection {};
struct UndoTrash {};
struct RestoreSelection {};
struct ConfirmEmptyTrash {};
struct PurgePaths {
  Paths paths;
};
struct EmptyTrash {};

// Archives.
struct ExtractArchive {
  Path archive;
};
struct ExtractSelectedArchive {};
struct CompressSelection {};

// Availability and information sheets.
struct KeepOffline {};
struct UseAutomaticStorage {};
struct FreeLocalSpace {};
struct ConfirmDestructiveEviction {
  Paths paths;
};
struct RetryDownload {};
struct ShowProperties {};
struct ShowAvailability {};

// Sharing.
struct ShareWith {
  std::string person;
  std::string permission;
};
struct CopyShareLink {};
struct ShowSharing {};
struct RevokeGrant {
  std::string grant_id;
};

// Version history and conflicts.
struct ShowVersionHistory {};
struct RestorePreviousVersion {
  std::string version_id;
};
struct ResolveConflict {
  std::string strategy;
};
struct ReviewMerge {};
struct ApplySafeMerge {};

// Nearby send.
struct SendNearby {};
struct ChooseNearbyDevice {
  std::string device_id;
};
struct AcceptNearbyTransfer {
  std::string transfer_id;
};
struct DeclineNearbyTransfer {
  std::string transfer_id;
};
struct RetryNearbyTransfer {
  std::string transfer_id;
};

using ExplorerCommand = std::variant<
    Refresh, GoToFolder, GoToTypedPath, GoUp, GoBack, GoForward, OpenEntry, SetViewMode, SetSortKey,
    SetSortDirection, ToggleHidden, OpenTerminal, ItemClick, ItemContext, MoveFocus, SortByColumn,
    ArmDrag, BeginDrag, ShowShortcuts, OpenSortMenu, OpenViewMenu, OpenTemplateMenu, AddFavourite,
    RemoveFavourite, OpenFavouriteMenu, MoveFavourite, CopySelection, CutSelection, Paste,
    NewFolder, NewFromTemplate, BeginRename, CommitRename, CancelRename, DeleteSelection, UndoTrash,
    RestoreSelection, ConfirmEmptyTrash, PurgePaths, EmptyTrash, ExtractArchive,
    ExtractSelectedArchive, CompressSelection, KeepOffline, UseAutomaticStorage, FreeLocalSpace,
    ConfirmDestructiveEviction, RetryDownload, ShowProperties, ShowAvailability, ShareWith,
    CopyShareLink, ShowSharing, RevokeGrant, ShowVersionHistory, RestorePreviousVersion,
    ResolveConflict, ReviewMerge, ApplySafeMerge, SendNearby, ChooseNearbyDevice,
    AcceptNearbyTransfer, DeclineNearbyTransfer, RetryNearbyTransfer>;

/// The variant's name, for logs and diagnostics.
std::string_view command_name(const ExplorerCommand& command);

/// The window's single-threaded command queue, shared by handle with the widgets that post
/// into it. Commands run in posting order; a command posted while others run waits for the
/// next drain.
class CommandQueue {
 public:
  void push(ExplorerCommand command) { queue_.push_back(std::move(command)); }
  /// Takes every queued command out at once.
  std::vector<ExplorerCommand> take_all() {
    std::vector<ExplorerCommand> out;
    out.swap(queue_);
    return out;
  }
  bool empty() const { return queue_.empty(); }
  std::size_t size() const { return queue_.size(); }

 private:
  std::vector<ExplorerCommand> queue_;
};

using CommandQueueHandle = std::shared_ptr<CommandQueue>;

}  // namespace files::command
