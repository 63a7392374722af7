#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace files::model {

inline constexpr std::string_view kOctetStream = "application/octet-stream";
inline constexpr std::string_view kFolderMimeType = "inode/directory";

/// The MIME type of a name's extension (after its last dot, ignoring ASCII case) from the
/// standard extension table compiled into the program; application/octet-stream when there
/// is no extension or the table does not know it.
std::string_view guess_mime_type(std::string_view file_name);
std::string_view guess_mime_type(const std::filesystem::path& path);

}  // namespace files::model
