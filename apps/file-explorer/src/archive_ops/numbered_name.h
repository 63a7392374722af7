#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

/// Numbered names ("photos 2", "report 3.zip"): the names extraction folders and new archives
/// take when their natural name is taken.
namespace files::archive_ops {

/// The counter of numbered names stops growing here; the name at this number is the last tried.
inline constexpr std::uint64_t kLastNameNumber = 4294967295;

/// `base` + " " + `n` + `suffix`, or `base` + `suffix` for n below 2.
std::string numbered_name(std::string_view base, std::uint64_t n, std::string_view suffix);

/// Whether something is at `path`; a final symbolic link counts, even a dangling one.
bool item_exists(const std::filesystem::path& path);

/// The first of `base`+`suffix`, `base 2`+`suffix`, `base 3`+`suffix` ... in `folder` where
/// nothing exists. When every number up to kLastNameNumber is taken, the last one is returned
/// (whoever uses it then meets the item that is there).
std::filesystem::path first_free_name(const std::filesystem::path& folder, std::string_view base,
                                      std::string_view suffix);

/// The numbered name that follows `taken` (a name that ends in `suffix`) and is free in
/// `folder`: "photos" continues with "photos 2", "photos 3" with "photos 4". Used when a name
/// chosen a moment ago was taken by someone else before it could be published.
std::filesystem::path next_free_name(const std::filesystem::path& folder, std::string_view taken,
                                     std::string_view suffix);

}  // namespace files::archive_ops
