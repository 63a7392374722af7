#pragma once

#include <cstddef>
#include <cstdint>
#include <expected>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

/// A stand-in for the workspace filesystem's availability side, for tests and demonstrations.
/// It keeps each item's state in the item's own "user.vask.availability" attribute (so the
/// program reads it exactly as it would from the real filesystem) and reacts to the control
/// attributes the program writes: "user.vask.pin" ("pinned", "automatic") and
/// "user.vask.availability-control" ("evict", "evict-destructive", "retry").
///
/// The real filesystem refuses a control write inside setxattr; a plain folder cannot, so the
/// double splits the reaction in two: `refusal` says which error the write would get, and
/// `settle_item` carries out an accepted write that landed on the item. Not shipped with the
/// program.
namespace workspace_fs_double {

inline constexpr std::string_view kAvailabilityAttribute = "user.vask.availability";
inline constexpr std::string_view kPinAttribute = "user.vask.pin";
inline constexpr std::string_view kControlAttribute = "user.vask.availability-control";

enum class Residency { NotResident, Partial, Resident };
enum class Phase { Idle, Queued, Downloading, Uploading, Verifying };

/// What the double records about one item.
struct ItemState {
  std::string record_id = "00000000-0000-4000-8000-000000000000";
  Residency residency = Residency::Resident;
  /// The item's content size; a partial item holds half of it.
  std::uint64_t bytes = 0;
  bool pinned = false;
  /// The pin comes from a parent folder.
  bool inherited = false;
  /// Durable copies known elsewhere; none means replica safety was never verified.
  std::optional<std::uint32_t> durable_replicas;
  Phase phase = Phase::Idle;
  std::optional<std::string> last_error;
  friend bool operator==(const ItemState&, const ItemState&) = default;
};

/// The projection document for a state (compact JSON, as the filesystem writes it).
std::string projection_json(const ItemState& state);

/// Writes the state's projection on `path` (never following a link).
std::expected<void, std::string> publish(const std::filesystem::path& path, const ItemState& state);

/// The state published on `path`, when it carries a readable projection.
std::optional<ItemState> read_state(const std::filesystem::path& path);

/// The error code the filesystem answers a control write with: 0 when it accepts it. "evict" is
/// refused with EBUSY while no durable copy elsewhere is recorded; eviction of an item kept
/// offline with EPERM; an unknown value with EINVAL. Items without a state are not the
/// double's: their writes are accepted (and then fail or succeed on the real folder).
int refusal(const std::filesystem::path& path, std::string_view attribute, std::string_view value);

/// Applies the control attributes found on `path`, removes them and republishes the item's
/// projection (and those of the items below a folder whose pin changed). Returns whether a
/// control was found.
bool settle_item(const std::filesystem::path& path);

/// `settle_item` for every item under `root` (not following links); returns how many had
/// controls.
std::size_t settle(const std::filesystem::path& root);

}  // namespace workspace_fs_double
