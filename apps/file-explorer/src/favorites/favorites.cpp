#include "favorites/favorites.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "favorites/folder_path.h"
#include "i18n/i18n.h"

namespace files::favorites {
namespace {

using vask_ui::sysdirs::UserDirKind;

FavouriteKind kind_of(UserDirKind kind) {
  switch (kind) {
    case UserDirKind::Documents:
      return FavouriteKind::Documents;
    case UserDirKind::Downloads:
      return FavouriteKind::Downloads;
    case UserDirKind::Pictures:
      return FavouriteKind::Pictures;
    case UserDirKind::Music:
      return FavouriteKind::Music;
    case UserDirKind::Videos:
      return FavouriteKind::Videos;
    case UserDirKind::Desktop:
    case UserDirKind::Public:
    case UserDirKind::Templates:
      return FavouriteKind::Other;
  }
  return FavouriteKind::Other;
}

/// The catalog's name of a content folder, for the default list.
std::string_view place_message(UserDirKind kind) {
  switch (kind) {
    case UserDirKind::Documents:
      return "files-place-documents";
    case UserDirKind::Downloads:
      return "files-place-downloads";
    case UserDirKind::Pictures:
      return "files-place-pictures";
    case UserDirKind::Music:
      return "files-place-music";
    case UserDirKind::Videos:
      return "files-place-videos";
    case UserDirKind::Desktop:
    case UserDirKind::Public:
    case UserDirKind::Templates:
      break;
  }
  return {};
}

Favourite home_favourite(const std::filesystem::path& home) {
  return Favourite{i18n::t("files-place-home"), true, FavouriteKind::Home, plain_folder(home)};
}

std::string_view trim(std::string_view s) {
  auto space = [](char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f' || c == '\n';
  };
  while (!s.empty() && space(s.front()))
    s.remove_prefix(1);
  while (!s.empty() && space(s.back()))
    s.remove_suffix(1);
  return s;
}

std::string errno_text(std::string_view what, const std::filesystem::path& path, int err) {
  return std::string(what) + " " + path.string() + ": " + std::strerror(err);
}

std::expected<std::string, std::string> read_whole_file(const std::filesystem::path& path) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::unexpected(errno_text("cannot open", path, errno));
  std::string text;
  char buffer[4096];
  for (;;) {
    ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      int err = errno;
      ::close(fd);
      return std::unexpected(errno_text("cannot read", path, err));
    }
    if (n == 0) break;
    text.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(fd);
  return text;
}

std::expected<void, std::string> write_all(int fd, std::string_view text,
                                           const std::filesystem::path& path) {
  while (!text.empty()) {
    ssize_t n = ::write(fd, text.data(), text.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return std::unexpected(errno_text("cannot write", path, errno));
    text.remove_prefix(static_cast<std::size_t>(n));
  }
  return {};
}

int fsync_retrying(int fd) {
  int rc;
  do {
    rc = ::fsync(fd);
  } while (rc != 0 && errno == EINTR);
  return rc;
}

}  // namespace

Favourite label_favourite(const std::filesystem::path& path,
                          const std::optional<std::filesystem::path>& home,
                          const vask_ui::sysdirs::UserDirs& dirs) {
  if (home && same_folder(path, *home)) return home_favourite(*home);
  Favourite favourite;
  favourite.path = plain_folder(path);
  if (auto kind = dirs.classify(path)) favourite.kind = kind_of(*kind);
  favourite.label = last_component(path).value_or(display_text(favourite.path));
  return favourite;
}

Favourites default_favourites(const std::optional<std::filesystem::path>& home,
                              const vask_ui::sysdirs::UserDirs& dirs) {
  Favourites out;
  if (home) out.push_back(home_favourite(*home));
  for (const auto& [kind, path] : dirs.content_places()) {
    out.push_back(Favourite{i18n::t(place_message(kind)), false, kind_of(kind), path});
  }
  return out;
}

std::optional<Favourites> parse_favourites(std::string_view text,
                                           const std::optional<std::filesystem::path>& home,
                                           const vask_ui::sysdirs::UserDirs& dirs) {
  Favourites out;
  while (!text.empty()) {
    std::size_t end = text.find('\n');
    std::string_view line = trim(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    if (line.empty()) continue;
    out.push_back(label_favourite(std::filesystem::path(std::string(line)), home, dirs));
  }
  if (out.empty()) return std::nullopt;
  return out;
}

std::string favourites_text(const Favourites& favourites) {
  std::string text;
  for (std::size_t i = 0; i < favourites.size(); ++i) {
    if (i > 0) text += '\n';
    text += favourites[i].path.native();
  }
  return text;
}

Favourites load_favourites(const std::optional<std::filesystem::path>& config_dir,
                           const std::optional<std::filesystem::path>& home,
                           const vask_ui::sysdirs::UserDirs& dirs) {
  if (!config_dir) return default_favourites(home, dirs);
  auto text = read_whole_file(*config_dir / kFavouritesFileName);
  if (!text) return default_favourites(home, dirs);
  if (auto parsed = parse_favourites(*text, home, dirs)) return std::move(*parsed);
  return default_favourites(home, dirs);
}

std::expected<void, std::string> save_favourites(const std::filesystem::path& config_dir,
                                                 const Favourites& favourites) {
  std::error_code ec;
  std::filesystem::create_directories(config_dir, ec);
  if (ec) return std::unexpected("cannot create " + config_dir.string() + ": " + ec.message());
  const auto target = config_dir / kFavouritesFileName;
  const auto staging = config_dir / ("." + std::string(kFavouritesFileName) + "." +
                                     std::to_string(::getpid()) + ".tmp");
  int fd = ::open(staging.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return std::unexpected(errno_text("cannot create", staging, errno));
  auto written = write_all(fd, favourites_text(favourites), staging);
  if (written && fsync_retrying(fd) != 0) {
    written = std::unexpected(errno_text("cannot flush", staging, errno));
  }
  if (::close(fd) != 0 && written) {
    written = std::unexpected(errno_text("cannot close", staging, errno));
  }
  if (written && ::rename(staging.c_str(), target.c_str()) != 0) {
    written = std::unexpected(errno_text("cannot replace", target, errno));
  }
  if (!written) ::unlink(staging.c_str());
  return written;
}

bool is_favourite(const Favourites& favourites, const std::filesystem::path& path) {
  return std::any_of(favourites.begin(), favourites.end(),
                     [&](const Favourite& f) { return same_folder(f.path, path); });
}

bool add_favourite(Favourites& favourites, const std::filesystem::path& path,
                   const std::optional<std::filesystem::path>& home,
                   const vask_ui::sysdirs::UserDirs& dirs) {
  if (path.empty() || path.native().find('\n') != std::string::npos) return false;
  if (is_favourite(favourites, path)) return false;
  favourites.push_back(label_favourite(path, home, dirs));
  return true;
}

bool remove_favourite(Favourites& favourites, const std::filesystem::path& path) {
  return std::erase_if(favourites, [&](const Favourite& f) { return same_folder(f.path, path); }) >
         0;
}

bool move_favourite(Favourites& favourites, std::size_t from, std::size_t to) {
  if (from == to || from >= favourites.size() || to >= favourites.size()) return false;
  Favourite moved = std::move(favourites[from]);
  favourites.erase(favourites.begin() + static_cast<std::ptrdiff_t>(from));
  favourites.insert(favourites.begin() + static_cast<std::ptrdiff_t>(to), std::move(moved));
  return true;
}

}  // namespace files::favorites
