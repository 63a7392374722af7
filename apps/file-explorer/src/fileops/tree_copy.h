#pragma once

#include <expected>
#include <filesystem>
#include <string>

namespace files::fileops {

/// Copies the item at `source` to `target`, which must not exist yet. The source is addressed
/// relative to its open parent folder and links are never followed: a symbolic link is
/// recreated as a link with the same target text, a regular file is created exclusively and
/// its content copied by the kernel (read/write where that is not possible), a folder is copied
/// entry by entry. Only content, permission bits and link targets are carried over. A failed
/// copy removes what it created at `target`. Errors are the system's text or one of
/// "source has no parent directory", "source has no file name",
/// "source type changed during copy".
std::expected<void, std::string> copy_tree(const std::filesystem::path& source,
                                           const std::filesystem::path& target);

}  // namespace files::fileops
