#pragma once

#include <filesystem>
#include <memory>
#include <vector>

#include "vask_ui/geometry.h"

namespace files::views {

/// A folder laid out in the visible part of the file view, where dragged items can be dropped.
struct DropTarget {
  std::filesystem::path path;
  vask_ui::Rect rect;  ///< window units
};

/// Shared between the window and its file view: the view replaces the contents on every draw,
/// the window reads them when a drag moves or ends.
using DropTargetList = std::vector<DropTarget>;
using DropTargetsHandle = std::shared_ptr<DropTargetList>;

}  // namespace files::views
