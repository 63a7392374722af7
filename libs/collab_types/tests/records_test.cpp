#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "collab_types/availability_projection.h"
#include "collab_types/history_projection.h"
#include "collab_types/metadata_projection.h"
#include "collab_types/sample_documents.h"
#include "collab_types/share_projection.h"

namespace collab_types {
namespace {

using testing::availability_json;
using testing::AvailabilityParts;
using testing::bytes32_json;

TEST(AvailabilityRecordTest, ReadsEveryField) {
  AvailabilityParts parts;
  parts.transfer = R"({"phase":"downloading","progress":{"completed_bytes":3,"total_bytes":9},)"
                   R"("last_error":"disk full","last_error_at_ms":12,"error_truncated":true})";
  parts.policy = "pinned";
  parts.policy_inherited = true;
  const auto a = parse_availability_projection(availability_json(parts));
  ASSERT_TRUE(a.has_value());
  EXPECT_EQ(a->schema_version, 1);
  EXPECT_EQ(a->record_id, testing::kRecordId);
  EXPECT_EQ(a->current_version, testing::version_id(1));
  EXPECT_EQ(a->residency, Residency(ResidencyResident{10}));
  EXPECT_EQ(a->transfer.phase, TransferPhase::Downloading);
  EXPECT_EQ(a->transfer.progress, (TransferProgress{3, 9}));
  EXPECT_EQ(a->transfer.last_error, "disk full");
  EXPECT_EQ(a->transfer.last_error_at_ms, 12u);
  EXPECT_TRUE(a->transfer.error_truncated);
  EXPECT_EQ(a->policy, OfflinePolicy::Pinned);
  EXPECT_TRUE(a->policy_inherited);
  EXPECT_EQ(a->replicas, ReplicaEvidence(ReplicasKnown{2, 1}));
  EXPECT_EQ(a->freshness.metadata_observed_at_ms, 1700000000000u);
  EXPECT_FALSE(a->freshness.local_verified_at_ms.has_value());
}

// One knob of the availability document at a time; `ok` says whether it still reads.
struct AvailabilityCase {
  const char* name;
  AvailabilityParts parts;
  bool ok;
};

AvailabilityParts with(auto change) {
  AvailabilityParts p;
  change(p);
  return p;
}

TEST(AvailabilityRecordTest, StrictReadingRules) {
  const std::vector<AvailabilityCase> cases = {
      {"baseline", {}, true},
      {"unknown top-level key", with([](auto& p) { p.extra = R"(,"colour":"red")"; }), false},
      {"top-level key twice", with([](auto& p) { p.extra = R"(,"policy":"automatic")"; }), false},
      {"policy_inherited defaults", with([](auto& p) { p.policy_inherited = false; }), true},
      {"unknown key in transfer",
       with([](auto& p) { p.transfer = R"({"phase":"idle","error_truncated":false,"x":1})"; }),
       false},
      {"unknown keys in progress are skipped", with([](auto& p) {
         p.transfer = R"({"phase":"idle","error_truncated":false,)"
                      R"("progress":{"completed_bytes":1,"rate":{"a":[1,2]},"eta":null}})";
       }),
       true},
      {"a skipped progress key given twice", with([](auto& p) {
         p.transfer = R"({"phase":"idle","error_truncated":false,)"
                      R"("progress":{"completed_bytes":1,"rate":1,"rate":2}})";
       }),
       false},
      {"malformed skipped progress value", with([](auto& p) {
         p.transfer = R"({"phase":"idle","error_truncated":false,)"
                      R"("progress":{"completed_bytes":1,"rate":[1,}})";
       }),
       false},
      {"progress without completed_bytes", with([](auto& p) {
         p.transfer = R"({"phase":"idle","error_truncated":false,"progress":{"total_bytes":1}})";
       }),
       false},
      {"missing error_truncated", with([](auto& p) { p.transfer = R"({"phase":"idle"})"; }), false},
      {"null optional reads as none", with([](auto& p) {
         p.transfer = R"({"phase":"idle","error_truncated":false,"last_error":null})";
       }),
       true},
      {"null required value",
       with([](auto& p) { p.transfer = R"({"phase":null,"error_truncated":false})"; }), false},
      {"unknown phase",
       with([](auto& p) { p.transfer = R"({"phase":"Idle","error_truncated":false})"; }), false},
      {"unknown policy", with([](auto& p) { p.policy = "Pinned"; }), false},
      {"partial residency",
       with([](auto& p) { p.residency = R"({"state":"partial","resident_bytes":4})"; }), true},
      {"tag after the variant's keys",
       with([](auto& p) { p.residency = R"({"resident_bytes":4,"state":"partial"})"; }), true},
      {"partial residency without its bytes",
       with([](auto& p) { p.residency = R"({"state":"partial"})"; }), false},
      {"partial residency with the other variant's key",
       with([](auto& p) { p.residency = R"({"state":"partial","bytes":4})"; }), false},
      {"not resident with a size",
       with([](auto& p) { p.residency = R"({"state":"not_resident","bytes":4})"; }), false},
      {"residency without state", with([](auto& p) { p.residency = R"({"bytes":4})"; }), false},
      {"residency as array", with([](auto& p) { p.residency = R"(["resident",4])"; }), false},
      {"replica counts at 32 bits", with([](auto& p) {
         p.replicas = R"({"state":"known","reachable":4294967295,"durable":0})";
       }),
       true},
      {"replica count beyond 32 bits", with([](auto& p) {
         p.replicas = R"({"state":"known","reachable":4294967296,"durable":0})";
       }),
       false},
      {"known replicas without durable",
       with([](auto& p) { p.replicas = R"({"state":"known","reachable":1})"; }), false},
      {"unknown replicas with counts",
       with([](auto& p) { p.replicas = R"({"state":"unknown","reachable":1,"durable":1})"; }),
       false},
      {"float where an integer belongs",
       with([](auto& p) { p.residency = R"({"state":"resident","bytes":10.0})"; }), false},
      {"negative integer",
       with([](auto& p) { p.residency = R"({"state":"resident","bytes":-1})"; }), false},
      {"exponent integer",
       with([](auto& p) { p.residency = R"({"state":"resident","bytes":1e1})"; }), false},
      {"integer as text",
       with([](auto& p) { p.residency = R"({"state":"resident","bytes":"10"})"; }), false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(parse_availability_projection(availability_json(c.parts)).has_value(), c.ok)
        << c.name;
  }
}

TEST(AvailabilityRecordTest, SchemaVersionIsSixteenBits) {
  std::string doc = availability_json();
  const auto at = doc.find("\"schema_version\":1");
  ASSERT_NE(at, std::string::npos);
  std::string max = doc, over = doc;
  max.replace(at, 18, "\"schema_version\":65535");
  over.replace(at, 18, "\"schema_version\":65536");
  ASSERT_TRUE(parse_availability_projection(max).has_value());
  EXPECT_EQ(parse_availability_projection(max)->schema_version, 65535);
  EXPECT_FALSE(parse_availability_projection(over).has_value());
}

TEST(AvailabilityRecordTest, ArrayOfValuesFormReadsLikeTheObject) {
  const std::string object = availability_json();
  const std::string array =
      R"([1,")" + std::string(testing::kRecordId) + R"(",")" + testing::version_id(1) +
      R"(",{"state":"resident","bytes":10},["idle",null,null,null,false],"automatic",false,)"
      R"({"state":"known","reachable":2,"durable":1},[1700000000000]])";
  const auto from_object = parse_availability_projection(object);
  const auto from_array = parse_availability_projection(array);
  ASSERT_TRUE(from_object.has_value());
  ASSERT_TRUE(from_array.has_value());
  EXPECT_EQ(*from_array, *from_object);
  // One value more than the record has fields.
  std::string too_long = array;
  too_long.insert(too_long.size() - 1, ",1");
  EXPECT_FALSE(parse_availability_projection(too_long).has_value());
  // Leaving out a required value.
  EXPECT_FALSE(parse_availability_projection(R"([1,"r"])").has_value());
}

TEST(AvailabilityRecordTest, DocumentLevelSyntax) {
  const std::string doc = availability_json();
  EXPECT_TRUE(parse_availability_projection(" \n" + doc + "\n ").has_value());
  EXPECT_FALSE(parse_availability_projection(doc + "x").has_value());
  EXPECT_FALSE(parse_availability_projection(doc + doc).has_value());
  EXPECT_FALSE(parse_availability_projection(doc.substr(0, doc.size() - 1)).has_value());
  EXPECT_FALSE(parse_availability_projection("").has_value());
  EXPECT_FALSE(parse_availability_projection("null").has_value());
  // Keys match after unescaping, as in any JSON reader.
  std::string escaped = doc;
  escaped.replace(escaped.find("\"policy\""), 8, R"("\u0070olicy")");
  EXPECT_TRUE(parse_availability_projection(escaped).has_value());
}

TEST(RecordBoundsTest, BoundsHoldAtTheExactByte) {
  struct Case {
    const char* name;
    std::string doc;
    std::size_t bound;
    bool (*parses)(const std::string&);
  };
  const std::vector<Case> cases = {
      {"availability", availability_json(), kAvailabilityProjectionMaxBytes,
       [](const std::string& s) { return parse_availability_projection(s).has_value(); }},
      {"share", testing::share_json(1), kShareProjectionMaxBytes,
       [](const std::string& s) { return parse_share_projection(s).has_value(); }},
      {"history", testing::history_json(), kHistoryProjectionMaxBytes,
       [](const std::string& s) { return parse_history_projection(s).has_value(); }},
      {"metadata", testing::metadata_json(), kMetadataProjectionMaxBytes,
       [](const std::string& s) { return parse_metadata_projection(s).has_value(); }},
  };
  for (const auto& c : cases) {
    ASSERT_LT(c.doc.size(), c.bound) << c.name;
    EXPECT_TRUE(c.parses(testing::padded_to(c.doc, c.bound))) << c.name;
    EXPECT_FALSE(c.parses(testing::padded_to(c.doc, c.bound + 1))) << c.name;
  }
}

TEST(ShareRecordTest, ReadsGrantsAndSubjects) {
  const std::string bearer =
      R"({"grant_id":"g2","subject":{"kind":"bearer_link"},"permission":"Edit",)"
      R"("expires_at_ms":99,"revoked":false,"expired":false,"used":true,"exhausted":true,)"
      R"("status":"exhausted","redemptions":3,"max_redemptions":3})";
  const std::string doc = R"({"schema_version":1,"record_id":"r","observed_at_ms":5,"grants":[)" +
                          testing::grant_json() + "," + bearer + "]}";
  const auto share = parse_share_projection(doc);
  ASSERT_TRUE(share.has_value());
  ASSERT_EQ(share->grants.size(), 2u);
  ShareSubjectPerson person;
  person.person.fill(7);
  EXPECT_EQ(share->grants[0].subject, ShareSubject(person));
  EXPECT_EQ(share->grants[0].permission, SharePermission::View);
  EXPECT_FALSE(share->grants[0].expires_at_ms.has_value());
  EXPECT_EQ(share->grants[1].subject, ShareSubject(ShareSubjectBearerLink{}));
  EXPECT_EQ(share->grants[1].permission, SharePermission::Edit);
  EXPECT_EQ(share->grants[1].status, GrantStatus::Exhausted);
  EXPECT_EQ(share->grants[1].max_redemptions, 3u);
}

TEST(ShareRecordTest, KeysAndSubjectsAreStrict) {
  auto with_subject = [](const std::string& subject) {
    std::string grant = testing::grant_json();
    const auto from = grant.find("\"subject\":");
    const auto to = grant.find(",\"permission\"");
    grant.replace(from, to - from, "\"subject\":" + subject);
    return R"({"schema_version":1,"record_id":"r","observed_at_ms":5,"grants":[)" + grant + "]}";
  };
  std::string key31 = bytes32_json(1);
  key31.erase(key31.find(','), 2);
  std::string key33 = bytes32_json(1);
  key33.insert(1, "1,");
  std::string key256 = bytes32_json(1);
  key256.replace(1, 1, "256");
  struct Case {
    std::string subject;
    bool ok;
  };
  for (const Case& c : std::vector<Case>{
           {R"({"kind":"person","person":)" + bytes32_json(255) + "}", true},
           {R"({"kind":"person","person":)" + key31 + "}", false},
           {R"({"kind":"person","person":)" + key33 + "}", false},
           {R"({"kind":"person","person":)" + key256 + "}", false},
           {R"({"kind":"person"})", false},
           {R"({"kind":"bearer_link","person":)" + bytes32_json(1) + "}", false},
           {R"({"kind":"group"})", false},
       }) {
    EXPECT_EQ(parse_share_projection(with_subject(c.subject)).has_value(), c.ok) << c.subject;
  }
  std::string lower_case_permission = testing::share_json(1);
  lower_case_permission.replace(lower_case_permission.find("\"View\""), 6, "\"view\"");
  EXPECT_FALSE(parse_share_projection(lower_case_permission).has_value());
}

TEST(HistoryRecordTest, ReadsVersionsProvenanceAndConflicts) {
  testing::HistoryParts parts;
  parts.conflicts = 1;
  parts.conflict_status = "Resolved";
  std::string doc = testing::history_json(parts);
  // The first version restored from another one, the second without content.
  doc.replace(doc.find("\"Create\""), 8, R"({"Restore":{"version":"v0"}})");
  const std::string hash_of_2 = "\"content_hash\":" + bytes32_json(2);
  doc.replace(doc.find(hash_of_2), hash_of_2.size(), "\"content_hash\":null");
  // The conflict id in braced form.
  const std::string id = testing::version_id(900);
  doc.replace(doc.find(id), id.size(), "{" + id + "}");
  const auto h = parse_history_projection(doc);
  ASSERT_TRUE(h.has_value()) << doc;
  ASSERT_EQ(h->versions.size(), 2u);
  EXPECT_EQ(h->versions[0].provenance.kind, FileProvenance::Kind::Restore);
  EXPECT_EQ(h->versions[0].provenance.restored_version, "v0");
  EXPECT_TRUE(h->versions[0].content_hash.has_value());
  EXPECT_FALSE(h->versions[1].content_hash.has_value());
  EXPECT_EQ(h->versions[1].provenance.kind, FileProvenance::Kind::Edit);
  EXPECT_EQ(h->versions[1].parents, std::vector<std::string>{testing::version_id(1)});
  ASSERT_EQ(h->conflicts.size(), 1u);
  EXPECT_EQ(h->conflicts[0].id.to_string(), id);
  EXPECT_EQ(h->conflicts[0].status, ConflictStatus::Resolved);
  ASSERT_TRUE(h->conflicts[0].resolution.has_value());
  EXPECT_EQ(h->conflicts[0].resolution->strategy, ConflictStrategy::KeepBoth);
  EXPECT_FALSE(h->conflicts_truncated);
}

TEST(HistoryRecordTest, ShapeErrorsRefuseTheDocument) {
  const std::string doc = testing::history_json();
  auto replaced = [&](std::string_view from, std::string_view to) {
    std::string out = doc;
    const auto at = out.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) out.replace(at, from.size(), to);
    return out;
  };
  for (const auto& bad : {
           replaced("\"Create\"", "\"create\""),
           replaced("\"Create\"", R"({"Restore":{}})"),
           replaced("\"Create\"", R"({"Restore":{"version":"v"},"Edit":null})"),
           replaced("\"Create\"", R"({"Delete":null})"),
           replaced("\"metadata_hash\":", "\"metadata_hash\":null,\"x\":"),
           replaced("\"conflicts\":[]", "\"conflicts\":[{\"id\":\"not-a-uuid\"}]"),
           replaced("\"versions_truncated\":false,", ""),
           replaced("\"heads\":[", "\"heads\":[1,"),
       }) {
    EXPECT_FALSE(parse_history_projection(bad).has_value()) << bad;
  }
  // Optional trailing members may be left out.
  EXPECT_TRUE(parse_history_projection(replaced(",\"conflicts\":[]", "")).has_value());
}

TEST(MetadataRecordTest, ReadsRecordIdAndProperties) {
  const auto m = parse_metadata_projection(testing::metadata_json());
  ASSERT_TRUE(m.has_value());
  EXPECT_EQ(m->record_id.to_string(), testing::kRecordId);
  EXPECT_EQ(m->properties.image_width, 640u);
  EXPECT_EQ(m->properties.codec, "png");
  EXPECT_FALSE(m->properties.duration_ms.has_value());
  EXPECT_FALSE(parse_metadata_projection(testing::metadata_json("not a uuid")).has_value());
  EXPECT_FALSE(parse_metadata_projection(
                   testing::metadata_json(testing::kRecordId, R"({"schema_version":1,"dpi":72})"))
                   .has_value());
}

}  // namespace
}  // namespace collab_types
