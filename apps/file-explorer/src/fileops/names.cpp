#include "fileops/names.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <stdio.h>
#include <sys/stat.h>

#include "fileops/item_name.h"
#include "fileops/seams.h"
#include "fileops/system_error.h"
#include "fileops/transfer.h"
#include "i18n/i18n.h"

namespace files::fileops {
namespace {

using PathResult = std::expected<std::filesystem::path, std::string>;

/// Whether both paths lead to the same item through links and case folding; a failed resolution
/// counts as different.
bool same_item(const std::filesystem::path& a, const std::filesystem::path& b) {
  std::error_code error_a;
  std::error_code error_b;
  const auto resolved_a = std::filesystem::canonical(a, error_a);
  const auto resolved_b = std::filesystem::canonical(b, error_b);
  return !error_a && !error_b && resolved_a == resolved_b;
}

/// The rename that replaces nothing. File systems without RENAME_NOREPLACE (some network and
/// FUSE ones) get one more look at the target right before a plain rename: the best they allow.
int rename_without_replacing(const std::filesystem::path& from, const std::filesystem::path& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
  const int error_number = errno;
  if (error_number != EINVAL && error_number != ENOSYS) return error_number;
  struct stat st {};
  if (::lstat(to.c_str(), &st) == 0) return EEXIST;
  if (::rename(from.c_str(), to.c_str()) == 0) return 0;
  return errno;
}

}  // namespace

std::expected<std::string, std::string> validate_name(std::string_view text) {
  const std::string_view name = trim_unicode_whitespace(text);
  if (name.empty()) return std::unexpected(i18n::t("files-name-empty"));
  if (name.find('/') != std::string_view::npos || name == "." || name == "..") {
    return std::unexpected(i18n::t("files-name-slash"));
  }
  return std::string(name);
}

PathResult find_free_name(const std::filesystem::path& folder, const std::string& name) {
  const NameCandidates candidates(name);
  for (unsigned n = kFirstCandidate; n <= kLastCandidate; ++n) {
    std::filesystem::path candidate = folder / candidates.candidate(n);
    auto occupancy = check_destination(candidate);
    if (!occupancy) return std::unexpected(occupancy.error());
    if (*occupancy == Occupancy::Free) return candidate;
  }
  return std::unexpected(i18n::t_args("files-destination-names-exhausted",
                                      {{"name", name}, {"path", path_text(folder)}}));
}

PathResult create_folder(const std::filesystem::path& parent, std::string_view requested_name) {
  auto name = validate_name(requested_name);
  if (!name) {
    if (trim_unicode_whitespace(requested_name).empty()) {
      return std::unexpected(i18n::t("files-folder-name-empty"));
    }
    return std::unexpected(name.error());
  }
  auto target = find_free_name(parent, *name);
  if (!target) return target;
  if (::mkdir(target->c_str(), 0777) != 0) return std::unexpected(system_error_text(errno));
  return target;
}

PathResult rename_item(const std::filesystem::path& item, std::string_view new_name) {
  auto name = validate_name(new_name);
  if (!name) return std::unexpected(name.error());
  const auto parent = item_parent(item);
  if (!parent || !item_file_name(item)) return std::unexpected(i18n::t("files-no-parent"));
  std::filesystem::path target = *parent / *name;
  if (target == item) return item;

  const auto name_exists = [&] {
    return std::unexpected(i18n::t_args("files-name-exists", {{"name", *name}}));
  };
  bool same_item_case_rename = false;
  struct stat target_st {};
  if (::lstat(target.c_str(), &target_st) == 0) {
    // The only existing target we accept is the item itself under another spelling, as on a
    // case-insensitive file system; a link there is always someone else's item.
    struct stat item_st {};
    if (S_ISLNK(target_st.st_mode) || ::lstat(item.c_str(), &item_st) != 0 ||
        S_ISLNK(item_st.st_mode) || !same_item(item, target)) {
      return name_exists();
    }
    same_item_case_rename = true;
  }
  // A target that cannot be looked at is left to the refusing rename below to judge.

  if (const int injected = injected_fault(FaultPoint::RenameItemCheck, target)) {
    return std::unexpected(system_error_text(injected));
  }

  if (same_item_case_rename) {
    // One item under two names: a refusing rename would see "itself" at the target.
    if (::rename(item.c_str(), target.c_str()) != 0) {
      return std::unexpected(system_error_text(errno));
    }
    return target;
  }
  const int error_number = rename_without_replacing(item, target);
  if (error_number == EEXIST) return name_exists();
  if (error_number != 0) return std::unexpected(system_error_text(error_number));
  return target;
}

PathResult rename_action(const std::filesystem::path& item,
                         const std::optional<std::string>& new_name) {
  if (!new_name) return std::unexpected("missing new file name");
  return rename_item(item, *new_name);
}

RenameCommit commit_rename(const std::filesystem::path& item, std::string_view current_name,
                           std::string_view text) {
  const std::string_view trimmed = trim_unicode_whitespace(text);
  if (trimmed.empty() || trimmed == current_name) return {};
  auto renamed = rename_item(item, trimmed);
  if (!renamed) {
    return {RenameCommit::Kind::Failed,
            i18n::t_args("files-rename-failed", {{"error", renamed.error()}}),
            {}};
  }
  return {RenameCommit::Kind::Renamed, i18n::t("files-renamed"), *renamed};
}

std::expected<Created, std::string> new_folder(const std::filesystem::path& folder) {
  auto created = create_folder(folder, i18n::t("files-new-folder-default-name"));
  if (!created) {
    return std::unexpected(i18n::t_args("files-new-folder-failed", {{"error", created.error()}}));
  }
  return Created{*created, i18n::t("files-created-folder")};
}

}  // namespace files::fileops
