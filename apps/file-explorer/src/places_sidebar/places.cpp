#include "places_sidebar/places.h"

#include <cmath>

#include "favorites/folder_path.h"
#include "i18n/i18n.h"

namespace files::places {

using vask_ui::icons::Icon;

std::vector<Place> system_places(const std::vector<std::filesystem::path>& workspace_roots,
                                 const std::optional<std::filesystem::path>& trash_folder) {
  std::vector<Place> out;
  for (const auto& root : workspace_roots) {
    out.push_back(Place{favorites::last_component(root).value_or(i18n::t("files-place-workspace")),
                        Icon::Workspace, root});
  }
  out.push_back(Place{i18n::t("files-place-root"), Icon::Root, "/"});
  if (trash_folder) out.push_back(Place{i18n::t("files-place-trash"), Icon::Trash, *trash_folder});
  return out;
}

Icon favourite_icon(favorites::FavouriteKind kind) {
  using favorites::FavouriteKind;
  switch (kind) {
    case FavouriteKind::Home:
      return Icon::Home;
    case FavouriteKind::Documents:
      return Icon::Documents;
    case FavouriteKind::Downloads:
      return Icon::Downloads;
    case FavouriteKind::Pictures:
      return Icon::Pictures;
    case FavouriteKind::Music:
      return Icon::Music;
    case FavouriteKind::Videos:
      return Icon::Videos;
    case FavouriteKind::Other:
      return Icon::Folder;
  }
  return Icon::Folder;
}

SidebarGeometry::SidebarGeometry(vask_ui::Rect bounds, std::size_t favourites, std::size_t system,
                                 float scale)
    : bounds_(bounds), favourites_(favourites), system_(system), scale_(scale) {}

std::size_t SidebarGeometry::count(Section section) const {
  return section == Section::Favourites ? favourites_ : system_;
}

std::optional<float> SidebarGeometry::header_top(Section section) const {
  const float top = bounds_.y0 + kInset;
  if (section == Section::Favourites) {
    if (favourites_ == 0) return std::nullopt;
    return top;
  }
  if (favourites_ == 0) return top;
  return top + kHeaderHeight * scale_ + static_cast<float>(favourites_) * row_height() +
         kSectionGap;
}

float SidebarGeometry::first_row_top(Section section) const {
  return header_top(section).value_or(bounds_.y0 + kInset) + kHeaderHeight * scale_;
}

vask_ui::Rect SidebarGeometry::row_rect(RowRef row) const {
  const float top = first_row_top(row.section) + static_cast<float>(row.index) * row_height();
  return {bounds_.x0 + kInset, top, bounds_.x1 - kInset, top + row_height()};
}

std::optional<RowRef> SidebarGeometry::row_at(vask_ui::Point p) const {
  if (p.x < bounds_.x0 + kInset || p.x > bounds_.x1 - kInset) return std::nullopt;
  for (Section section : {Section::Favourites, Section::System}) {
    if (count(section) == 0) continue;
    const float top = first_row_top(section);
    if (p.y < top) continue;
    const auto index = static_cast<std::size_t>(std::floor((p.y - top) / row_height()));
    if (index < count(section)) return RowRef{section, index};
  }
  return std::nullopt;
}

}  // namespace files::places
