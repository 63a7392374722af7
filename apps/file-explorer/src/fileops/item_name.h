#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace files::fileops {

/// The first and last numbered candidate a transfer or free-name search may use.
inline constexpr unsigned kFirstCandidate = 1;
inline constexpr unsigned kLastCandidate = 9999;

/// A byte string as text: invalid UTF-8 sequences become U+FFFD, one per maximal invalid part.
std::string lossy_utf8(std::string_view bytes);

/// A path as text for messages: its bytes as lossy UTF-8.
std::string path_text(const std::filesystem::path& path);

/// Text without leading and trailing Unicode white space (U+0009..U+000D, U+0020, U+0085,
/// U+00A0, U+1680, U+2000..U+200A, U+2028, U+2029, U+202F, U+205F, U+3000).
std::string_view trim_unicode_whitespace(std::string_view text);

/// The last ordinary component of a path, trailing slashes and "." components ignored;
/// nullopt for "/", "" and a path ending in "..".
std::optional<std::filesystem::path> item_file_name(const std::filesystem::path& path);

/// The folder that holds the item `item_file_name` names: nullopt when there is none ("/");
/// "." for a bare relative name.
std::optional<std::filesystem::path> item_parent(const std::filesystem::path& path);

/// Whether `inner` is `outer` or lies inside it, comparing whole components as written (links are
/// not resolved; callers resolve first where that matters).
bool is_same_or_inside(const std::filesystem::path& inner, const std::filesystem::path& outer);

/// Stem and extension of a name the way numbered names split it: the extension is the text after
/// the last "." unless that dot is the first character (".bashrc" has none); "notes." has an
/// empty extension.
struct StemAndExtension {
  std::string stem;
  std::optional<std::string> extension;
};
StemAndExtension split_stem_extension(std::string_view name);

/// The names one item may receive in a folder, in the order they are tried: the name itself,
/// then "stem 2.ext", "stem 3.ext" ... "stem 9999.ext".
class NameCandidates {
 public:
  explicit NameCandidates(std::string base_name);

  const std::string& base_name() const { return base_; }
  /// Candidate n (1 ... 9999); 1 is the base name.
  std::string candidate(unsigned n) const;

 private:
  std::string base_;
  StemAndExtension parts_;
};

}  // namespace files::fileops
