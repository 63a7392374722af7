#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

/// The explorer's archive commands as the window runs them: each takes what the window knows
/// (the selection in view order, the current folder) and returns what it must show, so that
/// the command handlers only apply the outcome.
namespace files::archive_ops {

/// What an archive command did: the status line to show (nullopt: leave it as it is) and
/// whether the folder on view must be refreshed.
struct ArchiveOutcome {
  std::optional<std::string> status;
  bool refresh = false;
};

/// ExtractSelectedArchive: extracts each selected supported archive (in view order) next to
/// itself. Status "files-archive-select" when none is selected; otherwise
/// "files-archive-extracted" with the total count of files, or "files-archive-extracted-partial"
/// with the count and the failed archives ("<path>: <error>", joined with "; "). The folder is
/// refreshed whenever anything was attempted.
ArchiveOutcome extract_selected_archives(const std::vector<std::filesystem::path>& selected,
                                         const std::filesystem::path& current_folder);

/// ExtractArchive inside an archive view, once the window found the archive containing its
/// folder: the selection is cleared; when the archive itself is among the visible entries it
/// becomes the only selected entry and is extracted as by ExtractSelectedArchive; otherwise it
/// is extracted next to itself with "files-archive-extracted" or "files-archive-extract-failed".
ArchiveOutcome extract_containing_archive(const std::filesystem::path& archive,
                                          const std::vector<std::filesystem::path>& visible,
                                          std::vector<std::filesystem::path>& selection,
                                          const std::filesystem::path& current_folder);

/// CompressSelection: packs the selected items into a new ZIP in the current folder. Status
/// "files-archive-select-compress" when nothing is selected, "files-archive-created" with the
/// archive's name (then a refresh), or "files-archive-create-failed" with the error.
ArchiveOutcome compress_selection(const std::vector<std::filesystem::path>& selected,
                                  const std::filesystem::path& current_folder);

}  // namespace files::archive_ops
