#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "collab_types/keys.h"

namespace collab_types {

struct ShareSubjectPerson {
  PublicKey person{};
  friend bool operator==(const ShareSubjectPerson&, const ShareSubjectPerson&) = default;
};
struct ShareSubjectBearerLink {
  friend bool operator==(const ShareSubjectBearerLink&, const ShareSubjectBearerLink&) = default;
};
/// Who a grant is for ("kind": person, bearer_link).
using ShareSubject = std::variant<ShareSubjectPerson, ShareSubjectBearerLink>;

enum class SharePermission : std::uint8_t { View, Edit };
enum class GrantStatus : std::uint8_t { Active, Expired, Revoked, Exhausted };

struct ShareGrantProjection {
  std::string grant_id;
  ShareSubject subject;
  SharePermission permission = SharePermission::View;
  std::optional<std::uint64_t> expires_at_ms;  ///< none: never expires
  bool revoked = false;
  bool expired = false;
  bool used = false;
  bool exhausted = false;
  GrantStatus status = GrantStatus::Active;
  std::uint64_t redemptions = 0;
  std::optional<std::uint64_t> max_redemptions;  ///< none: unlimited
  friend bool operator==(const ShareGrantProjection&, const ShareGrantProjection&) = default;
};

/// "user.vask.share": the grants of one item.
struct ShareProjection {
  std::uint16_t schema_version = 0;
  std::string record_id;
  std::uint64_t observed_at_ms = 0;
  std::vector<ShareGrantProjection> grants;
  friend bool operator==(const ShareProjection&, const ShareProjection&) = default;
};

inline constexpr std::size_t kShareProjectionMaxBytes = 16384;

/// Strict reading (rules in availability_projection.h); none above kShareProjectionMaxBytes.
std::optional<ShareProjection> parse_share_projection(std::string_view json);

}  // namespace collab_types
