#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "vask_ui/widgets/autocomplete.h"

/// Locations typed into the path bar: the text a folder is shown as, what typed text resolves
/// to, and the completions offered while typing.
namespace files::path_bar {

/// At most this many completions are offered.
inline constexpr std::size_t kMaxSuggestions = 60;

/// "~" for the home folder, "~/rest" inside it, else the plain path.
std::string display_form(const std::filesystem::path& folder,
                         const std::optional<std::filesystem::path>& home);

/// "~" and "~/…" expand to the home folder (when known); anything else is taken literally. The
/// result is joined onto `base`, so relative text is relative to the folder that was shown when
/// editing started. "~name" is not a home folder and stays literal.
std::filesystem::path resolve_typed_text(std::string_view text,
                                         const std::optional<std::filesystem::path>& home,
                                         const std::filesystem::path& base);

/// The location a submitted text opens: resolved as above, with "." and ".." worked out and no
/// trailing separator, so that the folder's parent and its crumbs are the ones people expect.
std::filesystem::path submitted_location(std::string_view text,
                                         const std::optional<std::filesystem::path>& home,
                                         const std::filesystem::path& base);

/// Completions for `text`: the entries of the folder the text names up to its last "/", whose
/// names start with the rest (ignoring ASCII case). Hidden names only when the rest starts
/// with "."; folders first, then by lower-cased name; at most kMaxSuggestions. An unreadable
/// folder offers nothing.
std::vector<vask_ui::Suggestion> path_suggestions(std::string_view text,
                                                  const std::optional<std::filesystem::path>& home,
                                                  const std::filesystem::path& base);

}  // namespace files::path_bar
