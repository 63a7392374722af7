#include "workspace_fs_double/workspace_fs_double.h"

#include <sys/xattr.h>

#include <cerrno>
#include <cstring>
#include <system_error>
#include <variant>

#include <collab_types/availability_projection.h>
#include <nlohmann/json.hpp>

namespace workspace_fs_double {
namespace {

template <typename Call>
auto retry_eintr(Call&& call) {
  for (;;) {
    auto result = call();
    if (result != -1 || errno != EINTR) return result;
  }
}

std::optional<std::string> read_attribute(const std::filesystem::path& path,
                                          std::string_view attribute) {
  const std::string name(attribute);
  for (int attempt = 0; attempt < 4; ++attempt) {
    ssize_t size = retry_eintr([&] { return ::lgetxattr(path.c_str(), name.c_str(), nullptr, 0); });
    if (size < 0) return std::nullopt;
    std::string value(static_cast<std::size_t>(size), '\0');
    ssize_t got = retry_eintr(
        [&] { return ::lgetxattr(path.c_str(), name.c_str(), value.data(), value.size()); });
    if (got >= 0) {
      value.resize(static_cast<std::size_t>(got));
      return value;
    }
    // The value grew between the two calls: ask for its size again.
    if (errno != ERANGE) return std::nullopt;
  }
  return std::nullopt;
}

void remove_attribute(const std::filesystem::path& path, std::string_view attribute) {
  const std::string name(attribute);
  (void)retry_eintr([&] { return ::lremovexattr(path.c_str(), name.c_str()); });
}

const char* phase_text(Phase phase) {
  switch (phase) {
    case Phase::Idle:
      return "idle";
    case Phase::Queued:
      return "queued";
    case Phase::Downloading:
      return "downloading";
    case Phase::Uploading:
      return "uploading";
    case Phase::Verifying:
      return "verifying";
  }
  return "idle";
}

Phase phase_from(collab_types::TransferPhase phase) {
  using collab_types::TransferPhase;
  switch (phase) {
    case TransferPhase::Idle:
      return Phase::Idle;
    case TransferPhase::Queued:
      return Phase::Queued;
    case TransferPhase::Downloading:
      return Phase::Downloading;
    case TransferPhase::Uploading:
      return Phase::Uploading;
    case TransferPhase::Verifying:
      return Phase::Verifying;
  }
  return Phase::Idle;
}

/// Carries out one accepted control on the item's state. Returns whether the pin changed, so
/// the items below a folder follow.
bool apply(ItemState& state, std::string_view attribute, std::string_view value) {
  if (attribute == kPinAttribute) {
    bool pin = value == "pinned";
    if (!pin && value != "automatic") return false;
    bool changed = state.pinned != pin || state.inherited;
    state.pinned = pin;
    state.inherited = false;
    // Keeping an item offline brings its content here; the double finishes that at once.
    if (pin) state.residency = Residency::Resident;
    return changed;
  }
  if (value == "evict" || value == "evict-destructive") {
    if (!state.pinned) state.residency = Residency::NotResident;
  } else if (value == "retry") {
    if (state.phase == Phase::Idle && state.residency != Residency::Resident) {
      state.residency = Residency::Resident;
      state.last_error.reset();
    }
  }
  return false;
}

/// The items below a folder follow its pin: a pin reaches every item not pinned itself, and
/// returning the folder to automatic storage releases what it alone kept offline.
void follow_folder_pin(const std::filesystem::path& folder, bool pinned) {
  std::error_code ec;
  std::filesystem::recursive_directory_iterator it(
      folder, std::filesystem::directory_options::skip_permission_denied, ec);
  for (; !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
    auto child = read_state(it->path());
    if (!child) continue;
    if (pinned && !(child->pinned && !child->inherited)) {
      child->pinned = true;
      child->inherited = true;
      child->residency = Residency::Resident;
    } else if (!pinned && child->pinned && child->inherited) {
      child->pinned = false;
      child->inherited = false;
    } else {
      continue;
    }
    (void)publish(it->path(), *child);
  }
}

}  // namespace

std::string projection_json(const ItemState& state) {
  nlohmann::json residency;
  switch (state.residency) {
    case Residency::NotResident:
      residency = {{"state", "not_resident"}};
      break;
    case Residency::Partial:
      residency = {{"state", "partial"}, {"resident_bytes", state.bytes / 2}};
      break;
    case Residency::Resident:
      residency = {{"state", "resident"}, {"bytes", state.bytes}};
      break;
  }
  nlohmann::json transfer = {{"phase", phase_text(state.phase)}, {"error_truncated", false}};
  if (state.last_error) {
    transfer["last_error"] = *state.last_error;
    transfer["last_error_at_ms"] = 1'700'000'000'000ULL;
  }
  nlohmann::json replicas = {{"state", "unknown"}};
  if (state.durable_replicas) {
    replicas = {{"state", "known"},
                {"reachable", *state.durable_replicas},
                {"durable", *state.durable_replicas}};
  }
  nlohmann::json doc = {
      {"schema_version", 1},
      {"record_id", state.record_id},
      {"residency", residency},
      {"transfer", transfer},
      {"policy", state.pinned ? "pinned" : "automatic"},
      {"policy_inherited", state.inherited},
      {"replicas", replicas},
      {"freshness", nlohmann::json::object()},
  };
  return doc.dump();
}

std::expected<void, std::string> publish(const std::filesystem::path& path,
                                         const ItemState& state) {
  const std::string value = projection_json(state);
  const std::string name(kAvailabilityAttribute);
  int rc = retry_eintr(
      [&] { return ::lsetxattr(path.c_str(), name.c_str(), value.data(), value.size(), 0); });
  if (rc == 0) return {};
  return std::unexpected(path.string() + ": " + std::system_category().message(errno));
}

std::optional<ItemState> read_state(const std::filesystem::path& path) {
  auto value = read_attribute(path, kAvailabilityAttribute);
  if (!value) return std::nullopt;
  auto projection = collab_types::parse_availability_projection(*value);
  if (!projection) return std::nullopt;
  ItemState state;
  state.record_id = projection->record_id;
  if (const auto* partial = std::get_if<collab_types::ResidencyPartial>(&projection->residency)) {
    state.residency = Residency::Partial;
    state.bytes = partial->resident_bytes * 2;
  } else if (const auto* whole =
                 std::get_if<collab_types::ResidencyResident>(&projection->residency)) {
    state.residency = Residency::Resident;
    state.bytes = whole->bytes;
  } else {
    state.residency = Residency::NotResident;
  }
  state.pinned = projection->policy == collab_types::OfflinePolicy::Pinned;
  state.inherited = projection->policy_inherited;
  if (const auto* known = std::get_if<collab_types::ReplicasKnown>(&projection->replicas))
    state.durable_replicas = known->durable;
  state.phase = phase_from(projection->transfer.phase);
  state.last_error = projection->transfer.last_error;
  return state;
}

int refusal(const std::filesystem::path& path, std::string_view attribute, std::string_view value) {
  auto state = read_state(path);
  if (!state) return 0;
  if (attribute == kPinAttribute) return value == "pinned" || value == "automatic" ? 0 : EINVAL;
  if (attribute != kControlAttribute) return 0;
  if (value == "retry") return 0;
  if (value != "evict" && value != "evict-destructive") return EINVAL;
  // Content kept offline is never removed, not even destructively.
  if (state->pinned) return EPERM;
  if (value == "evict" && state->durable_replicas.value_or(0) == 0) return EBUSY;
  return 0;
}

bool settle_item(const std::filesystem::path& path) {
  auto pin = read_attribute(path, kPinAttribute);
  auto control = read_attribute(path, kControlAttribute);
  if (!pin && !control) return false;
  if (pin) remove_attribute(path, kPinAttribute);
  if (control) remove_attribute(path, kControlAttribute);
  auto state = read_state(path);
  if (!state) return true;
  bool pin_changed = false;
  if (pin && refusal(path, kPinAttribute, *pin) == 0)
    pin_changed = apply(*state, kPinAttribute, *pin);
  if (control && refusal(path, kControlAttribute, *control) == 0)
    apply(*state, kControlAttribute, *control);
  (void)publish(path, *state);
  std::error_code ec;
  if (pin_changed && std::filesystem::is_directory(std::filesystem::symlink_status(path, ec)))
    follow_folder_pin(path, state->pinned);
  return true;
}

std::size_t settle(const std::filesystem::path& root) {
  std::size_t settled = 0;
  std::error_code ec;
  std::filesystem::recursive_directory_iterator it(
      root, std::filesystem::directory_options::skip_permission_denied, ec);
  for (; !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
    if (settle_item(it->path())) ++settled;
  }
  return settled;
}

}  // namespace workspace_fs_double
