#pragma once

#include <cstddef>
#include <map>
#include <optional>

#include "vask_actions/outcome.h"

namespace vask_actions {

/// The pending background operation of a window and the results waiting for their clients.
/// At most one operation is pending; its result is kept under the request's handle until a
/// client fetches it, and handed out exactly once.
class CompletionSlot {
 public:
  /// Results nobody fetched are forgotten oldest first beyond this many.
  static constexpr std::size_t kMaxStored = 64;

  /// Marks the operation of `handle` pending. Returns false (and changes nothing) while
  /// another operation is still pending.
  bool begin(RequestHandle handle);
  bool pending() const { return pending_.has_value(); }
  /// The handle of the pending operation, if any.
  std::optional<RequestHandle> pending_handle() const { return pending_; }
  /// The worker's result: clears the pending mark and stores the completion for the pending
  /// handle. Returns false when nothing was pending (the result has no one to go to).
  bool finish(Completion completion);
  /// The completion call: the stored completion of `handle`, once; nullopt when there is none
  /// (not finished yet, already fetched, or never an operation of this window).
  std::optional<Completion> take(RequestHandle handle);

 private:
  std::optional<RequestHandle> pending_;
  std::map<RequestHandle, Completion> stored_;
};

}  // namespace vask_actions
