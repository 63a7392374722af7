#pragma once

#include <cstddef>
#include <expected>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace files::fileops {

/// The window's private file clipboard: the items of the last Copy or Cut, in view order, and
/// whether they were cut. Nothing of it reaches the desktop's clipboard.
struct FileClipboard {
  std::vector<std::filesystem::path> paths;
  bool cut = false;

  bool empty() const { return paths.empty(); }
};

/// CopySelection / CutSelection: replaces the clipboard and returns the status ("files-copied" or
/// "files-cut" with the count).
enum class ClipboardMode { Copy, Cut };
std::string put_on_clipboard(FileClipboard& clipboard, std::vector<std::filesystem::path> paths,
                             ClipboardMode mode);

/// One item that could not be pasted, with the reason.
struct PasteFailure {
  std::filesystem::path path;
  std::string error;
};

/// What one paste did.
struct PasteReport {
  std::size_t total = 0;
  std::vector<PasteFailure> failures;
};

/// Pastes the clipboard into `destination`: copies, or moves after a Cut. A cut clipboard then
/// keeps only the items that failed to move, so they can be pasted again; a copied one stays as
/// it was. nullopt when the clipboard is empty (nothing happens, nothing is shown); otherwise the
/// caller refreshes the folder.
std::optional<PasteReport> paste(FileClipboard& clipboard,
                                 const std::filesystem::path& destination);

/// The status line of the Paste command: "files-pasted", or "files-pasted-with-failures".
std::string paste_status(const PasteReport& report);

/// The answer of the "files.paste" action for what `paste` returned: "The clipboard is empty",
/// or "paste failed: " with "<path>: <error>" of every failure joined by "; ".
std::expected<void, std::string> paste_action_result(const std::optional<PasteReport>& report);

/// What dropping dragged items on a folder did.
struct DropReport {
  std::size_t moved = 0;
  std::size_t failed = 0;
  /// "files-moved-with-failures", "files-moved-to-folder" or "files-nothing-to-move".
  std::string status;
  /// Whether anything moved, so the folder on view must be refreshed.
  bool refresh() const { return moved > 0; }
};

/// Moves the dragged `paths` into `destination`, skipping items already directly in it, the
/// destination itself and folders that contain it (plain path comparison).
DropReport drop_move(const std::vector<std::filesystem::path>& paths,
                     const std::filesystem::path& destination);

}  // namespace files::fileops
