#include "model/file_entry.h"

namespace files::model {

void FileEntry::set_collab_state(CollabState state) {
  sync_state = state.sync;
  content_hash = state.content_hash;
  record_id = state.record_id;
  availability = std::move(state.availability);
  share = std::move(state.share);
  history = std::move(state.history);
  metadata = std::move(state.metadata);
}

bool has_open_conflict(const FileEntry& entry) {
  return has_open_conflict(entry.history.get());
}

std::int64_t to_unix_ms(FileTime time) {
  return std::chrono::floor<std::chrono::milliseconds>(time.time_since_epoch()).count();
}

}  // namespace files::model
