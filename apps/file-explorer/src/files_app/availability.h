#pragma once

#include <expected>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "command/explorer_command.h"
#include "files_app/sheet.h"
#include "model/file_entry.h"

/// The availability controls: requests to the workspace filesystem to keep items offline,
/// return them to automatic storage, free their local copies or retry their transfers. Each
/// request is one extended attribute written on the item; the filesystem carries it out and
/// republishes "user.vask.availability", which the next listing shows.
namespace files::app {

inline constexpr std::string_view kPinAttribute = "user.vask.pin";
inline constexpr std::string_view kAvailabilityControlAttribute = "user.vask.availability-control";

/// A refused control write: the operating system's error code and its text.
struct ControlWriteError {
  int code = 0;
  std::string text;
};

/// Where control attributes go. The program writes them on the item itself; tests put the
/// workspace filesystem's double behind this seam, because only a real workspace filesystem
/// can refuse a write the way the program must handle (EBUSY on "evict").
class ControlWriter {
 public:
  virtual ~ControlWriter() = default;
  /// Sets `attribute` on `path` (never following a symbolic link) to exactly the bytes of
  /// `value`, without a terminator.
  virtual std::expected<void, ControlWriteError> write(const std::filesystem::path& path,
                                                       std::string_view attribute,
                                                       std::string_view value) = 0;
};

/// The real writer: lsetxattr, retried on EINTR.
class XattrControlWriter final : public ControlWriter {
 public:
  std::expected<void, ControlWriteError> write(const std::filesystem::path& path,
                                               std::string_view attribute,
                                               std::string_view value) override;
};

// Which entries each control applies to. An entry without an availability projection (not in
// a workspace, or its attribute was unreadable) takes part in none.
bool keep_offline_eligible(const model::FileEntry& entry);
bool automatic_storage_eligible(const model::FileEntry& entry);
/// Kept offline only because a parent folder is: nothing to undo on the item itself.
bool pinned_by_parent(const model::FileEntry& entry);
bool free_local_space_eligible(const model::FileEntry& entry);
bool retry_download_eligible(const model::FileEntry& entry);

using AvailabilityCommand =
    std::variant<command::KeepOffline, command::UseAutomaticStorage, command::FreeLocalSpace,
                 command::RetryDownload, command::ConfirmDestructiveEviction>;

/// What one command did, for the window to show.
struct AvailabilityOutcome {
  /// The notice line; always set.
  std::string notice;
  /// The destructive eviction confirmation, when the filesystem could not verify that freeing
  /// some copies is safe.
  std::optional<Sheet> sheet;
  /// Something was written (or tried), so the folder must be re-listed for the new state.
  bool reload = false;
};

/// Runs one command on the selected entries (in selection order). `ConfirmDestructiveEviction`
/// acts on the paths it carries, not on the selection.
AvailabilityOutcome run_availability_command(const AvailabilityCommand& command,
                                             std::span<const model::FileEntry* const> selected,
                                             ControlWriter& writer);

/// "path: error" as one line of a failure notice.
std::string failure_line(const std::filesystem::path& path, std::string_view error);

}  // namespace files::app
