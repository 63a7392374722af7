#include "fileops/file_clipboard.h"

#include "fileops/item_name.h"
#include "fileops/transfer.h"
#include "i18n/i18n.h"

namespace files::fileops {
std::string put_on_clipboard(FileClipboard& clipboard, std::vector<std::filesystem::path> paths,
                             ClipboardMode mode) {
  clipboard.paths = std::move(paths);
  clipboard.cut = mode == ClipboardMode::Cut;
  return i18n::t_args(clipboard.cut ? "files-cut" : "files-copied",
                      {{"count", i18n::count(clipboard.paths.size())}});
}

std::optional<PasteReport> paste(FileClipboard& clipboard,
                                 const std::filesystem::path& destination) {
  if (clipboard.empty()) return std::nullopt;
  const std::vector<std::filesystem::path> paths = clipboard.paths;
  const bool cut = clipboard.cut;
  PasteReport report;
  report.total = paths.size();
  std::vector<std::filesystem::path> still_to_move;
  for (const auto& path : paths) {
    auto result = cut ? move_into(path, destination) : copy_into(path, destination);
    if (result) continue;
    report.failures.push_back({path, result.error()});
    if (cut) still_to_move.push_back(path);
  }
  if (cut) clipboard.paths = std::move(still_to_move);
  return report;
}

std::string paste_status(const PasteReport& report) {
  const std::size_t failed = report.failures.size();
  if (failed > 0) {
    return i18n::t_args(
        "files-pasted-with-failures",
        {{"count", i18n::count(report.total - failed)}, {"failed", i18n::count(failed)}});
  }
  return i18n::t_args("files-pasted", {{"count", i18n::count(report.total)}});
}

std::expected<void, std::string> paste_action_result(const std::optional<PasteReport>& report) {
  if (!report) return std::unexpected("The clipboard is empty");
  if (report->failures.empty()) return {};
  std::string text = "paste failed: ";
  bool first = true;
  for (const auto& failure : report->failures) {
    if (!first) text += "; ";
    first = false;
    text += path_text(failure.path);
    text += ": ";
    text += failure.error;
  }
  return std::unexpected(text);
}

DropReport drop_move(const std::vector<std::filesystem::path>& paths,
                     const std::filesystem::path& destination) {
  DropReport report;
  for (const auto& path : paths) {
    const auto parent = item_parent(path);
    if ((parent && *parent == destination) || path == destination ||
        is_same_or_inside(destination, path)) {
      continue;
    }
    if (move_into(path, destination)) {
      ++report.moved;
    } else {
      ++report.failed;
    }
  }
  const auto name = item_file_name(destination);
  const std::string label = path_text(name ? *name : destination);
  if (report.failed > 0) {
    report.status =
        i18n::t_args("files-moved-with-failures", {{"moved", i18n::count(report.moved)},
                                                   {"destination", label},
                                                   {"failed", i18n::count(report.failed)}});
  } else if (report.moved > 0) {
    report.status = i18n::t_args("files-moved-to-folder",
                                 {{"count", i18n::count(report.moved)}, {"destination", label}});
  } else {
    report.status = i18n::t("files-nothing-to-move");
  }
  return report;
}

}  // namespace files::fileops
