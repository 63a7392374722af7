#include "vask_ui/regions.h"

namespace vask_ui {

void RegionMap::begin_frame() {
  current_.clear();
}

void RegionMap::report(std::string id, Rect rect) {
  current_.insert_or_assign(std::move(id), rect);
}

std::optional<Rect> RegionMap::find(std::string_view id) const {
  if (auto it = current_.find(id); it != current_.end()) return it->second;
  return std::nullopt;
}

void RegionMap::clear() {
  current_.clear();
}

namespace regions {

std::string file_row_id(std::string_view name) {
  std::string id(kFileRowPrefix);
  id.append(name);
  return id;
}

RegionMap& current() {
  static RegionMap map;
  return map;
}

}  // namespace regions
}  // namespace vask_ui
