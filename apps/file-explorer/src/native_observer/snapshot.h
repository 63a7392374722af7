#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "model/file_entry.h"
#include "vask_ui/geometry.h"

/// The window's visible state as one JSON object, for automated checks and assistive tooling.
/// Built fresh on every request; nothing is cached.
namespace files::native_observer {

/// What the snapshot is made of, read from the window by its owner.
struct SnapshotInput {
  std::string directory;
  std::span<const model::FileEntry> entries;
  bool loading = false;
  bool has_error = false;
  std::size_t thumbnail_pending = 0;
  std::vector<std::size_t> selected;  ///< ascending
  std::optional<std::size_t> primary;
  float offset_x = 0;
  float offset_y = 0;
  std::optional<vask_ui::Point> last_cursor;
  vask_ui::Rect root_rect;
  std::optional<vask_ui::Rect> viewport_rect;
  std::optional<vask_ui::Rect> content_rect;
  model::ViewMode view_mode = model::ViewMode::List;
  model::SortKey sort_by = model::SortKey::Name;
  model::SortOrder sort_order = model::SortOrder::Ascending;
};

/// SHA-256 over every entry in view order, each fed as its name's length (8 bytes, big-endian),
/// its name's bytes and one byte for the folder flag, so no two different lists share a stream.
/// 64 lower-case hexadecimal digits.
std::string order_hash(std::span<const model::FileEntry> entries);

/// The snapshot object as compact JSON text.
std::string snapshot_json(const SnapshotInput& input);

}  // namespace files::native_observer
