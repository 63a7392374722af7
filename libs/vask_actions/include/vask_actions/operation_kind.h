#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

/// Resources, actions and their outcomes as automation and assistive clients see them.
namespace vask_actions {

/// What an action does to the world; clients pass it with every action so that a reader can
/// never trigger a change by accident.
enum class OperationKind : std::uint8_t {
  Inspect = 0,   ///< reading only; no action of ours accepts it
  Effect = 1,    ///< changes files, the clipboard, settings or remote state
  Navigate = 2,  ///< changes only what the window shows
};

/// "inspect", "effect" or "navigate".
std::string_view to_string(OperationKind kind);
/// Accepts the names of to_string and the decimal values "0", "1", "2".
std::optional<OperationKind> parse_operation_kind(std::string_view text);

}  // namespace vask_actions
