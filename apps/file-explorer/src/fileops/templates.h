#pragma once

#include <expected>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "fileops/names.h"

namespace files::fileops {

/// $XDG_TEMPLATES_DIR when it is non-empty after trimming (taken literally, no "~" expansion),
/// otherwise the home folder's "Templates"; nullopt without either.
std::optional<std::filesystem::path> templates_folder();

/// The regular files directly inside `folder` whose names do not begin with "."; links, folders
/// and other types are left out. Sorted by path. An unreadable or missing folder gives none.
std::vector<std::filesystem::path> list_templates(const std::filesystem::path& folder);

/// `list_templates` of `templates_folder`, read afresh.
std::vector<std::filesystem::path> list_templates();

/// The menu label of a template: "files-new-from-template" with its name without the last
/// extension ("New Letter" for Letter.odt).
std::string template_label(const std::filesystem::path& template_path);

/// The NewFromTemplate command: copies the template into `folder` (numbered name when taken).
/// Status "files-created-file"; error "files-new-file-failed" with the reason.
std::expected<Created, std::string> new_from_template(const std::filesystem::path& template_path,
                                                      const std::filesystem::path& folder);

/// The "files.new-from-template" action: refuses with "the Templates directory is unavailable"
/// or "the template is no longer available", else copies; the error is the plain reason.
std::expected<std::filesystem::path, std::string> new_from_template_action(
    const std::filesystem::path& template_path, const std::filesystem::path& folder);

}  // namespace files::fileops
