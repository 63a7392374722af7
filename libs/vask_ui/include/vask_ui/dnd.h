#pragma once

#include <filesystem>
#include <span>

namespace vask_ui::dnd {

/// Offers `paths` to the platform as a file drag to other applications. Returns true when the
/// platform took the drag over; then the caller ends its own in-window drag. This toolkit keeps
/// drags inside the window for now and always returns false.
bool start_file_drag(std::span<const std::filesystem::path> paths);

}  // namespace vask_ui::dnd
