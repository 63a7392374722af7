#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <variant>

#include "files_app/action_catalog.h"
#include "vask_actions/outcome.h"
#include "vask_ui/widget.h"

/// The dispatcher's acceptance: which action ids the window takes with which operation kinds,
/// how their payloads must look, and every refusal that happens before the window changes
/// anything. What an accepted action then does is the window's business (action_entry.cpp).
namespace files::app::dispatch {

/// The window does not know the action (or not with this kind); not a failure.
struct NotHandled {
  friend bool operator==(const NotHandled&, const NotHandled&) = default;
};
/// Refused before anything changed; `text` is what the client is told.
struct Refused {
  std::string text;
  friend bool operator==(const Refused&, const Refused&) = default;
};

// Accepted actions, with everything their execution needs already resolved.
struct RefreshFolder {
  friend bool operator==(const RefreshFolder&, const RefreshFolder&) = default;
};
struct InvokeControl {
  vask_ui::ControlInvocation invocation;
};
struct FolderCommand {
  std::string word;
  friend bool operator==(const FolderCommand&, const FolderCommand&) = default;
};
struct EntryCommand {
  std::string word;
  /// Index into the current entries.
  std::size_t entry = 0;
  friend bool operator==(const EntryCommand&, const EntryCommand&) = default;
};
struct OpenLocation {
  std::filesystem::path path;
  friend bool operator==(const OpenLocation&, const OpenLocation&) = default;
};
struct CreateFolder {
  std::string name;
  friend bool operator==(const CreateFolder&, const CreateFolder&) = default;
};
struct CreateFromTemplate {
  std::filesystem::path template_path;
  friend bool operator==(const CreateFromTemplate&, const CreateFromTemplate&) = default;
};
struct PasteClipboard {
  friend bool operator==(const PasteClipboard&, const PasteClipboard&) = default;
};
struct RenameEntry {
  std::size_t entry = 0;
  std::string new_name;
  friend bool operator==(const RenameEntry&, const RenameEntry&) = default;
};

using Decision =
    std::variant<NotHandled, Refused, RefreshFolder, InvokeControl, FolderCommand, EntryCommand,
                 OpenLocation, CreateFolder, CreateFromTemplate, PasteClipboard, RenameEntry>;

/// Decides what to do with one action, reading only `facts`.
Decision accept(const vask_actions::ActionRequest& request, const CatalogFacts& facts);

// Fixed answers shared by the dispatcher and the window.
inline constexpr std::string_view kInvalidKind = "file command has an invalid operation kind";
inline constexpr std::string_view kEntryNotVisible = "file entry is no longer visible";
inline constexpr std::string_view kNotApplied = "file operation could not be applied";
inline constexpr std::string_view kStillRunning = "another file operation is still running";
inline constexpr std::string_view kRemoteNeedsEffect =
    "remote file operations must be effect actions";

}  // namespace files::app::dispatch
