#include "collab_types/share_projection.h"

#include "record_reader.h"

namespace collab_types {
namespace {

using detail::FieldNames;
using detail::JsonCursor;
using detail::read_record;
using detail::required_fields;

bool read_subject(JsonCursor& c, ShareSubject& out) {
  static constexpr FieldNames<2> kFields{"kind", "person"};
  static constexpr FieldNames<2> kKinds{"person", "bearer_link"};
  enum Kind : std::uint8_t { Person, BearerLink } kind = Person;
  ShareSubjectPerson person;
  const auto given = detail::read_tagged_object(c, kFields, [&](std::size_t field) {
    if (field == 0) return detail::read_enum(c, kKinds, kind);
    return detail::read_bytes32(c, person.person);
  });
  if (!given) return false;
  if (kind == BearerLink) {
    if (*given != required_fields({0})) return false;
    out = ShareSubjectBearerLink{};
    return true;
  }
  if (*given != required_fields({0, 1})) return false;
  out = person;
  return true;
}

bool read_grant(JsonCursor& c, ShareGrantProjection& out) {
  static constexpr FieldNames<11> kFields{
      "grant_id", "subject",   "permission", "expires_at_ms", "revoked",        "expired",
      "used",     "exhausted", "status",     "redemptions",   "max_redemptions"};
  static constexpr FieldNames<2> kPermissions{"View", "Edit"};
  static constexpr FieldNames<4> kStatuses{"active", "expired", "revoked", "exhausted"};
  return read_record(c, kFields, required_fields({0, 1, 2, 4, 5, 6, 7, 8, 9}),
                     [&](std::size_t field) {
                       switch (field) {
                         case 0:
                           return c.read_string(out.grant_id);
                         case 1:
                           return read_subject(c, out.subject);
                         case 2:
                           return detail::read_enum(c, kPermissions, out.permission);
                         case 3:
                           return detail::read_optional(c, out.expires_at_ms, detail::read_u64);
                         case 4:
                           return c.read_bool(out.revoked);
                         case 5:
                           return c.read_bool(out.expired);
                         case 6:
                           return c.read_bool(out.used);
                         case 7:
                           return c.read_bool(out.exhausted);
                         case 8:
                           return detail::read_enum(c, kStatuses, out.status);
                         case 9:
                           return c.read_u64(out.redemptions);
                         default:
                           return detail::read_optional(c, out.max_redemptions, detail::read_u64);
                       }
                     });
}

bool read_share(JsonCursor& c, ShareProjection& out) {
  static constexpr FieldNames<4> kFields{"schema_version", "record_id", "observed_at_ms", "grants"};
  return read_record(c, kFields, required_fields({0, 1, 2, 3}), [&](std::size_t field) {
    switch (field) {
      case 0:
        return detail::read_uint(c, out.schema_version);
      case 1:
        return c.read_string(out.record_id);
      case 2:
        return c.read_u64(out.observed_at_ms);
      default:
        return detail::read_array(c, out.grants, read_grant);
    }
  });
}

}  // namespace

std::optional<ShareProjection> parse_share_projection(std::string_view json) {
  return detail::parse_document<ShareProjection>(json, kShareProjectionMaxBytes, read_share);
}

}  // namespace collab_types
