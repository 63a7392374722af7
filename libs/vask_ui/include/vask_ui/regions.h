#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "vask_ui/geometry.h"

/// Named rectangles that widgets report while they draw (for example one per file row) and
/// that the window looks up later, e.g. to open a context menu beside the focused row.
namespace vask_ui {

class RegionMap {
 public:
  /// Starts a frame: regions reported from now on replace the previous frame's, so an item
  /// that is no longer drawn has no region.
  void begin_frame();
  void report(std::string id, Rect rect);
  /// The rectangle reported under `id` in the last frame drawn.
  std::optional<Rect> find(std::string_view id) const;
  void clear();

 private:
  struct Hash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
  };
  using Map = std::unordered_map<std::string, Rect, Hash, std::equal_to<>>;
  Map current_;
};

namespace regions {

/// The prefix of a file row's region id; the entry's name follows it.
inline constexpr std::string_view kFileRowPrefix = "file_row:";
std::string file_row_id(std::string_view name);

/// The window's region map (one window per process); the frame loop starts a new frame of it
/// before every draw.
RegionMap& current();

}  // namespace regions

}  // namespace vask_ui
