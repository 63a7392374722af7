#include "vask_ui/dnd.h"

namespace vask_ui::dnd {

bool start_file_drag(std::span<const std::filesystem::path> paths) {
  // Drags between applications are not offered yet: the window keeps its in-app drag, which
  // covers moving items onto folders and favourites.
  (void)paths;
  return false;
}

}  // namespace vask_ui::dnd
