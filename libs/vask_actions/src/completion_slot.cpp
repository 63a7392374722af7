#include "vask_actions/completion_slot.h"

namespace vask_actions {

bool CompletionSlot::begin(RequestHandle handle) {
  if (pending_) return false;
  pending_ = handle;
  return true;
}

bool CompletionSlot::finish(Completion completion) {
  if (!pending_) return false;
  stored_.insert_or_assign(*pending_, std::move(completion));
  pending_.reset();
  // Handles count up, so the smallest key is the oldest result.
  while (stored_.size() > kMaxStored)
    stored_.erase(stored_.begin());
  return true;
}

std::optional<Completion> CompletionSlot::take(RequestHandle handle) {
  auto it = stored_.find(handle);
  if (it == stored_.end()) return std::nullopt;
  Completion completion = std::move(it->second);
  stored_.erase(it);
  return completion;
}

}  // namespace vask_actions
