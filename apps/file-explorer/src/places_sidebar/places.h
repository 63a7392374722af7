#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "favorites/favorites.h"
#include "vask_ui/geometry.h"
#include "vask_ui/icons.h"
#include "vask_ui/layout.h"

/// What the places sidebar lists and the state that outlives any one sidebar: the favourites,
/// the keyboard row, the focus flag and a favourite being dragged to a new position.
namespace files::places {

/// One row of the sidebar.
struct Place {
  std::string label;
  vask_ui::icons::Icon icon = vask_ui::icons::Icon::Folder;
  std::filesystem::path path;
  friend bool operator==(const Place&, const Place&) = default;
};

/// A favourite being moved by the pointer. It stays pending until the pointer has travelled
/// `threshold` from the press, so that a plain click still opens the favourite.
struct FavouriteDrag {
  enum class Phase { Pending, Dragging };
  Phase phase = Phase::Pending;
  std::size_t pressed = 0;
  /// The slot the favourite would land in if released now.
  std::size_t target = 0;
  /// Pointer y minus the pressed row's top, so the lifted row keeps its place under the pointer.
  float grab_offset = 0;
  vask_ui::Point press;
  vask_ui::Point current;
  /// The favourites changed under the drag when the count differs at release: it then does
  /// nothing.
  std::size_t count_at_press = 0;
  float threshold = 4;
  /// Rows move along this axis only.
  vask_ui::Direction axis = vask_ui::Direction::Column;
};

/// Shared by the window and its sidebar (single-threaded; the window owns it).
struct PlacesState {
  favorites::Favourites favourites;
  /// Rows are numbered favourites first, then system places.
  std::optional<std::size_t> keyboard_row;
  bool focused = false;
  std::optional<FavouriteDrag> drag;
};
using PlacesStateHandle = std::shared_ptr<PlacesState>;

/// One place per workspace root (named after its last component, or "Workspace"), then Root,
/// then Trash when its folder is known.
std::vector<Place> system_places(const std::vector<std::filesystem::path>& workspace_roots,
                                 const std::optional<std::filesystem::path>& trash_folder);

vask_ui::icons::Icon favourite_icon(favorites::FavouriteKind kind);

enum class Section { Favourites, System };

struct RowRef {
  Section section = Section::Favourites;
  std::size_t index = 0;
  friend bool operator==(const RowRef&, const RowRef&) = default;
};

/// Where the sections and rows lie in the sidebar's rectangle. Rows are inset by 12 on both
/// sides and 34·s high; each section has a 26·s header; the Favourites section is left out
/// when there are no favourites.
class SidebarGeometry {
 public:
  static constexpr float kInset = 12;
  static constexpr float kRowHeight = 34;
  static constexpr float kHeaderHeight = 26;
  static constexpr float kSectionGap = 12;

  SidebarGeometry(vask_ui::Rect bounds, std::size_t favourites, std::size_t system,
                  float scale = 1);

  std::size_t count(Section section) const;
  /// The top of the section's header text; nullopt for an empty Favourites section.
  std::optional<float> header_top(Section section) const;
  float first_row_top(Section section) const;
  float row_height() const { return kRowHeight * scale_; }
  vask_ui::Rect row_rect(RowRef row) const;
  std::optional<RowRef> row_at(vask_ui::Point p) const;

 private:
  vask_ui::Rect bounds_;
  std::size_t favourites_;
  std::size_t system_;
  float scale_;
};

}  // namespace files::places
