#pragma once

#include <array>
#include <cstdint>

namespace collab_types {

/// A 32-byte Ed25519 public key of a person or a device; JSON writes it as 32 integers 0..255.
using PublicKey = std::array<std::uint8_t, 32>;
/// A 32-byte SHA-256 digest; JSON writes it as 32 integers 0..255.
using Digest = std::array<std::uint8_t, 32>;

/// Who made a version or resolved a conflict: the person and the device they used.
struct HistoryActor {
  PublicKey person{};
  PublicKey device{};
  friend bool operator==(const HistoryActor&, const HistoryActor&) = default;
};

}  // namespace collab_types
