#pragma once

#include <cstddef>
#include <expected>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "vask_ui/sysdirs.h"

/// The user's favourite folders: an ordered list, labelled from the folders themselves, kept as
/// one path per line in the file "favorites" of the configuration folder.
namespace files::favorites {

/// Chooses the sidebar icon of a favourite.
enum class FavouriteKind { Home, Documents, Downloads, Pictures, Music, Videos, Other };

struct Favourite {
  std::string label;
  /// The label is the catalog's "Home" text rather than a folder name.
  bool localized = false;
  FavouriteKind kind = FavouriteKind::Other;
  std::filesystem::path path;
  friend bool operator==(const Favourite&, const Favourite&) = default;
};

using Favourites = std::vector<Favourite>;

/// The name of the favourites file inside the configuration folder.
inline constexpr std::string_view kFavouritesFileName = "favorites";

/// Labels `path`: the home folder is "Home"; a well-known folder gets its kind and its own name;
/// any other folder its last component (or its whole text when it has none).
Favourite label_favourite(const std::filesystem::path& path,
                          const std::optional<std::filesystem::path>& home,
                          const vask_ui::sysdirs::UserDirs& dirs);

/// Home (when known), then the user's content folders in the toolkit's order.
Favourites default_favourites(const std::optional<std::filesystem::path>& home,
                              const vask_ui::sysdirs::UserDirs& dirs);

/// The favourites in the file's text: one path per line, trimmed, blank lines skipped,
/// duplicates kept. Nullopt when no line names a path (the caller then uses the defaults).
std::optional<Favourites> parse_favourites(std::string_view text,
                                           const std::optional<std::filesystem::path>& home,
                                           const vask_ui::sysdirs::UserDirs& dirs);

/// The list as the file stores it: paths joined with "\n", no newline after the last.
std::string favourites_text(const Favourites& favourites);

/// Reads the favourites file of `config_dir`; a missing, unreadable or empty file (or no
/// configuration folder at all) gives the defaults.
Favourites load_favourites(const std::optional<std::filesystem::path>& config_dir,
                           const std::optional<std::filesystem::path>& home,
                           const vask_ui::sysdirs::UserDirs& dirs);

/// Creates the configuration folder when missing and replaces the file with the list. The file
/// is written beside its final name and renamed over it, so an interrupted save never leaves
/// half a list behind. The explorer ignores failures (the list in memory stays as it is).
std::expected<void, std::string> save_favourites(const std::filesystem::path& config_dir,
                                                 const Favourites& favourites);

/// Appends `path` unless a favourite already names that folder. A path holding a line break
/// is refused: the file could not store it as one line. Returns whether the list changed.
bool add_favourite(Favourites& favourites, const std::filesystem::path& path,
                   const std::optional<std::filesystem::path>& home,
                   const vask_ui::sysdirs::UserDirs& dirs);

/// Removes every favourite naming that folder; returns whether any was.
bool remove_favourite(Favourites& favourites, const std::filesystem::path& path);

/// Takes the favourite at `from` out and inserts it at `to`. Nothing happens unless both are
/// valid indices and differ; returns whether the list changed.
bool move_favourite(Favourites& favourites, std::size_t from, std::size_t to);

/// Whether some favourite names the folder `path`.
bool is_favourite(const Favourites& favourites, const std::filesystem::path& path);

}  // namespace files::favorites
