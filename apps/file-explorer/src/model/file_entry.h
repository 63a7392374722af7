#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "model/collab_state.h"
#include "model/entry_path.h"
#include "model/optional_box.h"

namespace files::model {

/// A modification time. Local-time presentation happens when it is formatted.
using FileTime = std::chrono::time_point<std::chrono::system_clock, std::chrono::nanoseconds>;

/// One listed item: a local file or folder, an archive member or a remote item.
struct FileEntry {
  /// The file name as text; bytes that are not UTF-8 are shown as U+FFFD.
  std::string name;
  /// The exact path (byte path); for an archive member, its archive view path.
  EntryPath path;
  /// Only what the item's own metadata says: a link to a folder is not a folder.
  bool is_dir = false;
  /// Bytes; 0 when the metadata could not be read.
  std::uint64_t size = 0;
  /// Absent when the metadata or the time is unavailable, and for archive members.
  std::optional<FileTime> modified;
  std::string mime_type;

  // Collaborative fields, read only in workspace folders (see read_collab_state). The four
  // projections are boxed: see OptionalBox.
  std::optional<SyncState> sync_state;
  std::optional<collab_types::Digest> content_hash;
  std::optional<collab_types::Uuid> record_id;
  OptionalBox<collab_types::AvailabilityProjection> availability;
  OptionalBox<collab_types::ShareProjection> share;
  OptionalBox<collab_types::HistoryProjection> history;
  OptionalBox<collab_types::MetadataProjection> metadata;

  /// Moves the members of a CollabState into the entry's collaborative fields.
  void set_collab_state(CollabState state);

  /// Equal when every field is equal; the silent reload uses this to see whether anything
  /// changed.
  friend bool operator==(const FileEntry&, const FileEntry&) = default;
};

enum class SortKey : std::uint8_t { Name, Size, Modified, Type };
enum class SortOrder : std::uint8_t { Ascending, Descending };
enum class ViewMode : std::uint8_t { List, Grid };

/// True when the entry has a history with an open conflict.
bool has_open_conflict(const FileEntry& entry);

/// Milliseconds since the Unix epoch of a modification time (for format_time).
std::int64_t to_unix_ms(FileTime time);

}  // namespace files::model
