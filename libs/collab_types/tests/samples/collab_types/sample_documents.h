#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Valid attribute documents with knobs for the cases the tests vary. Shared by the record
// tests of this library and the attribute reader tests of the directory model.
namespace collab_types::testing {

inline constexpr std::string_view kRecordId = "123e4567-e89b-12d3-a456-426614174000";

/// 32 bytes as the JSON array of 32 integers that keys and digests use.
inline std::string bytes32_json(std::uint8_t fill) {
  std::string out = "[";
  for (int i = 0; i < 32; ++i) {
    if (i > 0) out += ',';
    out += std::to_string(fill);
  }
  return out + "]";
}

/// A version id: a valid UUID that differs in its last digits.
inline std::string version_id(int n) {
  std::string digits = std::to_string(n);
  return "00000000-0000-4000-8000-" + std::string(12 - digits.size(), '0') + digits;
}

/// Pads a document with trailing white space (which JSON allows) to exactly `size` bytes.
inline std::string padded_to(std::string doc, std::size_t size) {
  if (doc.size() < size) doc.append(size - doc.size(), ' ');
  return doc;
}

struct AvailabilityParts {
  std::string residency = R"({"state":"resident","bytes":10})";
  std::string transfer = R"({"phase":"idle","error_truncated":false})";
  std::string policy = "automatic";
  std::optional<bool> policy_inherited;
  std::string replicas = R"({"state":"known","reachable":2,"durable":1})";
  std::string extra;  ///< appended inside the top-level object, e.g. `,"x":1`
};

inline std::string availability_json(const AvailabilityParts& p = {}) {
  std::string out = R"({"schema_version":1,"record_id":")" + std::string(kRecordId) +
                    R"(","current_version":")" + version_id(1) + R"(","residency":)" + p.residency +
                    R"(,"transfer":)" + p.transfer + R"(,"policy":")" + p.policy + "\"";
  if (p.policy_inherited)
    out += std::string(R"(,"policy_inherited":)") + (*p.policy_inherited ? "true" : "false");
  return out + R"(,"replicas":)" + p.replicas +
         R"(,"freshness":{"metadata_observed_at_ms":1700000000000})" + p.extra + "}";
}

inline std::string grant_json(std::string_view status = "active", int n = 0) {
  return R"({"grant_id":"grant-)" + std::to_string(n) +
         R"(","subject":{"kind":"person","person":)" + bytes32_json(7) +
         R"(},"permission":"View","revoked":false,"expired":)" +
         (status == "expired" ? "true" : "false") +
         R"(,"used":false,"exhausted":false,"status":")" + std::string(status) +
         R"(","redemptions":0})";
}

inline std::string share_json(int grants, std::string_view status = "active") {
  std::string list;
  for (int i = 0; i < grants; ++i) {
    if (i > 0) list += ',';
    list += grant_json(status, i);
  }
  return R"({"schema_version":1,"record_id":")" + std::string(kRecordId) +
         R"(","observed_at_ms":1700000000000,"grants":[)" + list + "]}";
}

struct HistoryParts {
  int versions = 2;
  int heads = 1;
  int conflicts = 0;
  std::optional<std::uint64_t> total_versions;  ///< default: the number of versions
  bool self_parent = false;                     ///< the last version names itself as parent
  std::string record_id = std::string(kRecordId);
  std::string version_record_id = std::string(kRecordId);
  std::string conflict_record_id = std::string(kRecordId);
  std::string conflict_status = "Open";
};

inline std::string conflict_json(int n, std::string_view record_id, std::string_view status) {
  std::string out = R"({"id":")" + version_id(900 + n) + R"(","record_id":")" +
                    std::string(record_id) + R"(","versions":[")" + version_id(1) + R"(",")" +
                    version_id(2) + R"("],"status":")" + std::string(status) + "\"";
  if (status == "Resolved") {
    out += R"(,"resolution":{"strategy":"KeepBoth","result":")" + version_id(3) +
           R"(","actor":{"person":)" + bytes32_json(1) + R"(,"device":)" + bytes32_json(2) +
           R"(},"timestamp_ms":5})";
  }
  return out + "}";
}

inline std::string history_json(const HistoryParts& p = {}) {
  std::string versions;
  for (int i = 1; i <= p.versions; ++i) {
    if (i > 1) versions += ',';
    std::string parents = i > 1 ? "\"" + version_id(i - 1) + "\"" : "";
    if (p.self_parent && i == p.versions) {
      parents += (parents.empty() ? "\"" : ",\"") + version_id(i) + "\"";
    }
    versions += R"({"id":")" + version_id(i) + R"(","record_id":")" + p.version_record_id +
                R"(","parents":[)" + parents + R"(],"actor":{"person":)" + bytes32_json(1) +
                R"(,"device":)" + bytes32_json(2) + R"(},"timestamp_ms":)" +
                std::to_string(1700000000000 + i) + R"(,"content_hash":)" +
                bytes32_json(static_cast<std::uint8_t>(i)) + R"(,"metadata_hash":)" +
                bytes32_json(9) + R"(,"provenance":")" + (i == 1 ? "Create" : "Edit") + "\"}";
  }
  std::string heads;
  for (int i = 0; i < p.heads; ++i) {
    if (i > 0) heads += ',';
    heads += "\"" + version_id(p.versions > 0 ? p.versions : 1) + "\"";
  }
  std::string conflicts;
  for (int i = 0; i < p.conflicts; ++i) {
    if (i > 0) conflicts += ',';
    conflicts += conflict_json(i, p.conflict_record_id, p.conflict_status);
  }
  const std::uint64_t total = p.total_versions.value_or(static_cast<std::uint64_t>(p.versions));
  return R"({"schema_version":1,"record_id":")" + p.record_id + R"(","total_versions":)" +
         std::to_string(total) + R"(,"versions_truncated":false,"heads":[)" + heads +
         R"(],"versions":[)" + versions + R"(],"conflicts":[)" + conflicts + "]}";
}

inline std::string metadata_json(
    std::string_view record_id = kRecordId,
    std::string_view properties =
        R"({"schema_version":1,"image_width":640,"image_height":480,"codec":"png"})") {
  return R"({"schema_version":1,"record_id":")" + std::string(record_id) + R"(","properties":)" +
         std::string(properties) + "}";
}

}  // namespace collab_types::testing
