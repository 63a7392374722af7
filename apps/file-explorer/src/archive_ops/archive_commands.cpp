#include "archive_ops/archive_commands.h"

#include <algorithm>

#include "archive_ops/create_zip.h"
#include "archive_ops/extract.h"
#include "fileops/item_name.h"
#include "i18n/i18n.h"
#include "model/archive_reader.h"

namespace files::archive_ops {
namespace {

namespace fs = std::filesystem;
using i18n::count;
using i18n::t;
using i18n::t_args;

std::string extracted_status(std::uint64_t files) {
  return t_args("files-archive-extracted", {{"count", count(files)}});
}

}  // namespace

ArchiveOutcome extract_selected_archives(const std::vector<fs::path>& selected,
                                         const fs::path& current_folder) {
  std::vector<fs::path> archives;
  std::copy_if(selected.begin(), selected.end(), std::back_inserter(archives),
               [](const fs::path& path) { return model::is_supported_archive(path); });
  if (archives.empty()) return {t("files-archive-select"), false};

  std::uint64_t total = 0;
  std::string failures;
  for (const fs::path& archive : archives) {
    auto extracted = extract_archive(archive, extraction_destination(archive, current_folder));
    if (extracted) {
      total = extracted->files > UINT64_MAX - total ? UINT64_MAX : total + extracted->files;
      continue;
    }
    if (!failures.empty()) failures += "; ";
    failures += fileops::path_text(archive) + ": " + extracted.error();
  }
  if (failures.empty()) return {extracted_status(total), true};
  return {
      t_args("files-archive-extracted-partial", {{"count", count(total)}, {"failures", failures}}),
      true};
}

ArchiveOutcome extract_containing_archive(const fs::path& archive,
                                          const std::vector<fs::path>& visible,
                                          std::vector<fs::path>& selection,
                                          const fs::path& current_folder) {
  selection.clear();
  if (std::find(visible.begin(), visible.end(), archive) != visible.end()) {
    selection.push_back(archive);
    return extract_selected_archives(selection, current_folder);
  }
  auto extracted = extract_archive(archive, extraction_destination(archive, current_folder));
  if (!extracted) {
    return {t_args("files-archive-extract-failed", {{"error", extracted.error()}}), false};
  }
  return {extracted_status(extracted->files), false};
}

ArchiveOutcome compress_selection(const std::vector<fs::path>& selected,
                                  const fs::path& current_folder) {
  if (selected.empty()) return {t("files-archive-select-compress"), false};
  auto created = create_zip(selected, zip_destination(selected, current_folder));
  if (!created) {
    return {t_args("files-archive-create-failed", {{"error", created.error()}}), false};
  }
  const std::string name = fileops::path_text(created->filename());
  return {t_args("files-archive-created", {{"name", name}}), true};
}

}  // namespace files::archive_ops
