#include "fileops/templates.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>

#include "fileops/dir_entries.h"
#include "fileops/item_name.h"
#include "fileops/system_error.h"
#include "fileops/transfer.h"
#include "fileops/unique_fd.h"
#include "i18n/i18n.h"
#include "xdg_paths/xdg_paths.h"

namespace files::fileops {

std::optional<std::filesystem::path> templates_folder() {
  if (const char* value = std::getenv("XDG_TEMPLATES_DIR")) {
    const std::string_view trimmed = trim_unicode_whitespace(value);
    if (!trimmed.empty()) return std::filesystem::path(std::string(trimmed));
  }
  if (auto home = xdg_paths::home_dir()) return *home / "Templates";
  return std::nullopt;
}

std::vector<std::filesystem::path> list_templates(const std::filesystem::path& folder) {
  std::vector<std::filesystem::path> templates;
  UniqueFd dir_fd(
      retry_eintr([&] { return ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); }));
  if (!dir_fd) return templates;
  auto names = read_entry_names(dir_fd.get());
  if (!names) return templates;
  for (const std::string& name : *names) {
    if (name.starts_with('.')) continue;
    struct stat st {};
    if (::fstatat(dir_fd.get(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
    if (S_ISREG(st.st_mode)) templates.push_back(folder / name);
  }
  // Path order compares component by component, byte-wise within one.
  std::sort(templates.begin(), templates.end());
  return templates;
}

std::vector<std::filesystem::path> list_templates() {
  const auto folder = templates_folder();
  if (!folder) return {};
  return list_templates(*folder);
}

std::string template_label(const std::filesystem::path& template_path) {
  const auto file_name = item_file_name(template_path);
  const std::string name = file_name ? lossy_utf8(file_name->native()) : std::string();
  const auto parts = split_stem_extension(name);
  return i18n::t_args("files-new-from-template",
                      {{"name", parts.stem.empty() ? name : parts.stem}});
}

std::expected<Created, std::string> new_from_template(const std::filesystem::path& template_path,
                                                      const std::filesystem::path& folder) {
  auto copied = copy_into(template_path, folder);
  if (!copied) {
    return std::unexpected(i18n::t_args("files-new-file-failed", {{"error", copied.error()}}));
  }
  return Created{*copied, i18n::t("files-created-file")};
}

std::expected<std::filesystem::path, std::string> new_from_template_action(
    const std::filesystem::path& template_path, const std::filesystem::path& folder) {
  const auto templates = templates_folder();
  if (!templates) return std::unexpected("the Templates directory is unavailable");
  const auto listed = list_templates(*templates);
  if (std::find(listed.begin(), listed.end(), template_path) == listed.end()) {
    return std::unexpected("the template is no longer available");
  }
  return copy_into(template_path, folder);
}

}  // namespace files::fileops
