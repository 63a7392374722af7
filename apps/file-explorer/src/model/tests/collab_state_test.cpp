#include "model/collab_state.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <string>
#include <vector>

#include "collab_types/sample_documents.h"
#include "model/folder_listing.h"
#include "model_test_support.h"

namespace files::model {
namespace {

using collab_types::testing::availability_json;
using collab_types::testing::AvailabilityParts;
using collab_types::testing::history_json;
using collab_types::testing::HistoryParts;
using collab_types::testing::metadata_json;
using collab_types::testing::padded_to;
using collab_types::testing::share_json;
using testing::set_attribute;
using testing::TempDir;
using testing::write_file;

// Every case writes one attribute on a fresh file on tmpfs (values above ext4's ~4 KiB
// budget) and asks that attribute's reader whether it is present.
struct AttributeCase {
  const char* name;
  const char* attribute;
  std::string value;
  bool present;
};

bool read_present(const std::filesystem::path& path, std::string_view attribute) {
  if (attribute == kAvailabilityAttribute) return read_availability(path).has_value();
  if (attribute == kShareAttribute) return read_share(path).has_value();
  if (attribute == kHistoryAttribute) return read_history(path).has_value();
  if (attribute == kMetadataAttribute) return read_metadata(path).has_value();
  if (attribute == kRecordIdAttribute) return read_record_id(path).has_value();
  if (attribute == kContentHashAttribute) return read_content_hash(path).has_value();
  if (attribute == kSyncAttribute) return read_sync_state(path).has_value();
  ADD_FAILURE() << "no reader for " << attribute;
  return false;
}

void run_cases(const std::vector<AttributeCase>& cases) {
  TempDir dir("/dev/shm");
  int n = 0;
  for (const auto& c : cases) {
    const auto path = dir / ("f" + std::to_string(n++));
    write_file(path);
    set_attribute(path, c.attribute, c.value);
    EXPECT_EQ(read_present(path, c.attribute), c.present) << c.name;
  }
}

std::string availability_with_transfer(std::string transfer) {
  AvailabilityParts parts;
  parts.transfer = std::move(transfer);
  return availability_json(parts);
}

std::string history_with(std::function<void(HistoryParts&)> change) {
  HistoryParts parts;
  change(parts);
  return history_json(parts);
}

TEST(CollabAttributesTest, SizeBoundsHoldAtTheExactByte) {
  run_cases({
      {"availability at 2048", kAvailabilityAttribute, padded_to(availability_json(), 2048), true},
      {"availability at 2049", kAvailabilityAttribute, padded_to(availability_json(), 2049), false},
      {"metadata at 2048", kMetadataAttribute, padded_to(metadata_json(), 2048), true},
      {"metadata at 2049", kMetadataAttribute, padded_to(metadata_json(), 2049), false},
      {"share at 16384", kShareAttribute, padded_to(share_json(1), 16384), true},
      {"share at 16385", kShareAttribute, padded_to(share_json(1), 16385), false},
      {"history at 16384", kHistoryAttribute, padded_to(history_json(), 16384), true},
      {"history at 16385", kHistoryAttribute, padded_to(history_json(), 16385), false},
      {"history far above its bound", kHistoryAttribute, padded_to(history_json(), 60000), false},
  });
}

TEST(CollabAttributesTest, ShareAndHistoryCountLimits) {
  run_cases({
      {"32 grants", kShareAttribute, share_json(32), true},
      {"33 grants", kShareAttribute, share_json(33), false},
      {"12 versions, 8 heads, 8 conflicts", kHistoryAttribute, history_with([](auto& p) {
         p.versions = 12;
         p.heads = 8;
         p.conflicts = 8;
       }),
       true},
      {"13 versions", kHistoryAttribute, history_with([](auto& p) { p.versions = 13; }), false},
      {"9 heads", kHistoryAttribute, history_with([](auto& p) { p.heads = 9; }), false},
      {"9 conflicts", kHistoryAttribute, history_with([](auto& p) { p.conflicts = 9; }), false},
      {"total below the listed versions", kHistoryAttribute,
       history_with([](auto& p) { p.total_versions = 1; }), false},
      {"total above the listed versions (truncated list)", kHistoryAttribute,
       history_with([](auto& p) { p.total_versions = 40; }), true},
  });
}

TEST(CollabAttributesTest, HistoryConsistencyChecks) {
  const std::string upper_record_id = "123E4567-E89B-12D3-A456-426614174000";
  run_cases({
      {"self-parent", kHistoryAttribute, history_with([](auto& p) { p.self_parent = true; }),
       false},
      {"record id that is no UUID", kHistoryAttribute, history_with([](auto& p) {
         p.record_id = "record-1";
         p.version_record_id = "record-1";
       }),
       false},
      {"version of another record", kHistoryAttribute,
       history_with([](auto& p) { p.version_record_id = collab_types::testing::version_id(77); }),
       false},
      // Versions compare their record id as text, conflicts as UUIDs.
      {"version record id in another text form", kHistoryAttribute,
       history_with([&](auto& p) { p.version_record_id = upper_record_id; }), false},
      {"conflict record id in another text form", kHistoryAttribute, history_with([&](auto& p) {
         p.conflicts = 1;
         p.conflict_record_id = upper_record_id;
       }),
       true},
      {"conflict of another record", kHistoryAttribute, history_with([](auto& p) {
         p.conflicts = 1;
         p.conflict_record_id = collab_types::testing::version_id(77);
       }),
       false},
      {"resolved conflict with its resolution", kHistoryAttribute, history_with([](auto& p) {
         p.conflicts = 1;
         p.conflict_status = "Resolved";
       }),
       true},
  });
  // A resolved conflict without its resolution does not validate, and takes the history down.
  std::string bad = history_with([](auto& p) { p.conflicts = 1; });
  bad.replace(bad.find("\"status\":\"Open\""), 15, "\"status\":\"Resolved\"");
  run_cases({{"resolved conflict without resolution", kHistoryAttribute, bad, false}});
}

TEST(CollabAttributesTest, AvailabilityConsistencyChecks) {
  run_cases({
      {"error with its time", kAvailabilityAttribute,
       availability_with_transfer(
           R"({"phase":"idle","error_truncated":false,"last_error":"x","last_error_at_ms":1})"),
       true},
      {"error without its time", kAvailabilityAttribute,
       availability_with_transfer(R"({"phase":"idle","error_truncated":false,"last_error":"x"})"),
       false},
      {"time without its error", kAvailabilityAttribute,
       availability_with_transfer(
           R"({"phase":"idle","error_truncated":false,"last_error_at_ms":1})"),
       false},
      {"progress beyond its total", kAvailabilityAttribute,
       availability_with_transfer(R"({"phase":"downloading","error_truncated":false,)"
                                  R"("progress":{"completed_bytes":10,"total_bytes":5}})"),
       false},
      {"progress at its total", kAvailabilityAttribute,
       availability_with_transfer(R"({"phase":"downloading","error_truncated":false,)"
                                  R"("progress":{"completed_bytes":5,"total_bytes":5}})"),
       true},
      {"progress without a total", kAvailabilityAttribute,
       availability_with_transfer(R"({"phase":"downloading","error_truncated":false,)"
                                  R"("progress":{"completed_bytes":10}})"),
       true},
      {"extra key inside progress", kAvailabilityAttribute,
       availability_with_transfer(R"({"phase":"downloading","error_truncated":false,)"
                                  R"("progress":{"completed_bytes":1,"speed":3}})"),
       true},
      {"extra key inside transfer", kAvailabilityAttribute,
       availability_with_transfer(R"({"phase":"idle","error_truncated":false,"speed":3})"), false},
      {"extra key at the top", kAvailabilityAttribute,
       availability_json(AvailabilityParts{.extra = R"(,"speed":3)"}), false},
      {"extra key in replicas", kAvailabilityAttribute,
       availability_json(AvailabilityParts{.replicas = R"({"state":"unknown","speed":3})"}), false},
      {"schema version 2", kAvailabilityAttribute,
       [] {
         std::string doc = availability_json();
         doc.replace(doc.find("\"schema_version\":1"), 18, "\"schema_version\":2");
         return doc;
       }(),
       false},
      {"not JSON", kAvailabilityAttribute, "{\"schema_version\":1", false},
  });
}

TEST(CollabAttributesTest, MetadataChecks) {
  run_cases({
      {"valid", kMetadataAttribute, metadata_json(), true},
      {"nil record id", kMetadataAttribute, metadata_json("00000000-0000-0000-0000-000000000000"),
       false},
      {"simple UUID form", kMetadataAttribute, metadata_json("123e4567e89b12d3a456426614174000"),
       true},
      {"properties failing validation", kMetadataAttribute,
       metadata_json(collab_types::testing::kRecordId, R"({"schema_version":1,"image_width":3})"),
       false},
  });
}

TEST(CollabAttributesTest, RawValuesNeedTheirExactLength) {
  const std::string uuid_text(collab_types::testing::kRecordId);
  run_cases({
      {"16-byte record id", kRecordIdAttribute, std::string(16, '\x01'), true},
      {"record id as 36-byte UUID text", kRecordIdAttribute, uuid_text, false},
      {"15-byte record id", kRecordIdAttribute, std::string(15, '\x01'), false},
      {"17-byte record id", kRecordIdAttribute, std::string(17, '\x01'), false},
      {"32-byte content hash", kContentHashAttribute, std::string(32, '\xff'), true},
      {"31-byte content hash", kContentHashAttribute, std::string(31, '\xff'), false},
      {"33-byte content hash", kContentHashAttribute, std::string(33, '\xff'), false},
  });
}

TEST(CollabAttributesTest, SyncTextIsTrimmedAndMatchedExactly) {
  struct Case {
    std::string value;
    std::optional<SyncState> expected;
  };
  const std::vector<Case> cases = {
      {" projected\n", SyncState::Projected},
      {"Projected", std::nullopt},
      {"local", SyncState::Local},
      {"\t downloading \r\n", SyncState::Downloading},
      {"\xc2\xa0local\xe3\x80\x80", SyncState::Local},  // NO-BREAK SPACE, IDEOGRAPHIC SPACE
      {"lo cal", std::nullopt},
      {"local\xff", std::nullopt},
      {"", std::nullopt},
      {std::string(5000, ' ') + "local", SyncState::Local},
  };
  TempDir dir("/dev/shm");
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const auto path = dir / ("f" + std::to_string(i));
    write_file(path);
    set_attribute(path, kSyncAttribute, cases[i].value);
    EXPECT_EQ(read_sync_state(path), cases[i].expected) << "case " << i;
  }
}

// A file and a folder with all seven attributes, in a workspace folder and outside one.
class CollabStateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directory(dir_ / "folder");
    write_file(dir_ / "file.txt", "hello");
    for (const char* name : {"file.txt", "folder"})
      set_all_attributes(dir_ / name);
  }

  static void set_all_attributes(const std::filesystem::path& path) {
    set_attribute(path, kSyncAttribute, "local");
    set_attribute(path, kContentHashAttribute, std::string(32, '\x02'));
    set_attribute(path, kRecordIdAttribute, std::string(16, '\x01'));
    set_attribute(path, kAvailabilityAttribute, availability_json());
    set_attribute(path, kShareAttribute, share_json(2));
    set_attribute(path, kHistoryAttribute, history_json());
    set_attribute(path, kMetadataAttribute, metadata_json());
  }

  TempDir dir_{"/tmp"};
};

TEST_F(CollabStateTest, FilesGetEverythingFoldersOnlyTheirFour) {
  const CollabState file = read_collab_state(dir_ / "file.txt", InWorkspace::Yes, ItemKind::File);
  EXPECT_EQ(file.sync, SyncState::Local);
  EXPECT_TRUE(file.content_hash.has_value());
  EXPECT_TRUE(file.record_id.has_value());
  EXPECT_TRUE(file.availability.has_value());
  EXPECT_TRUE(file.share.has_value());
  EXPECT_TRUE(file.history.has_value());
  EXPECT_TRUE(file.metadata.has_value());

  for (ItemKind kind : {ItemKind::Folder, ItemKind::Unreadable}) {
    const CollabState folder = read_collab_state(dir_ / "folder", InWorkspace::Yes, kind);
    EXPECT_FALSE(folder.sync.has_value());
    EXPECT_FALSE(folder.content_hash.has_value());
    EXPECT_FALSE(folder.metadata.has_value());
    EXPECT_TRUE(folder.record_id.has_value());
    EXPECT_TRUE(folder.availability.has_value());
    EXPECT_TRUE(folder.share.has_value());
    EXPECT_TRUE(folder.history.has_value());
  }
}

TEST_F(CollabStateTest, NothingIsReadOutsideTheWorkspace) {
  EXPECT_EQ(read_collab_state(dir_ / "file.txt", InWorkspace::No, ItemKind::File), CollabState{});
}

TEST_F(CollabStateTest, ListingAppliesTheSameRules) {
  const auto listed = list_folder(dir_.path(), InWorkspace::Yes);
  ASSERT_TRUE(listed.has_value()) << listed.error();
  ASSERT_EQ(listed->size(), 2u);
  for (const auto& entry : *listed) {
    EXPECT_TRUE(entry.record_id.has_value()) << entry.name;
    EXPECT_TRUE(entry.history.has_value()) << entry.name;
    EXPECT_EQ(entry.metadata.has_value(), !entry.is_dir) << entry.name;
    EXPECT_EQ(entry.sync_state.has_value(), !entry.is_dir) << entry.name;
    EXPECT_EQ(entry.content_hash.has_value(), !entry.is_dir) << entry.name;
  }
  const auto outside = list_folder(dir_.path(), InWorkspace::No);
  ASSERT_TRUE(outside.has_value());
  for (const auto& entry : *outside) {
    EXPECT_FALSE(entry.record_id || entry.availability || entry.share || entry.history ||
                 entry.metadata || entry.sync_state || entry.content_hash)
        << entry.name;
  }
}

TEST_F(CollabStateTest, EachAttributeFailsOnItsOwn) {
  set_attribute(dir_ / "file.txt", kHistoryAttribute,
                history_with([](auto& p) { p.self_parent = true; }));
  const CollabState state = read_collab_state(dir_ / "file.txt", InWorkspace::Yes, ItemKind::File);
  EXPECT_FALSE(state.history.has_value());
  EXPECT_TRUE(state.availability.has_value());
  EXPECT_TRUE(state.share.has_value());
  EXPECT_TRUE(state.metadata.has_value());
}

TEST_F(CollabStateTest, LinksAreNeverFollowed) {
  std::filesystem::create_symlink(dir_ / "file.txt", dir_ / "link");
  const CollabState state = read_collab_state(dir_ / "link", InWorkspace::Yes, ItemKind::File);
  EXPECT_EQ(state, CollabState{});
}

TEST(CollabSummaryTest, ActiveGrantsAndOpenConflicts) {
  auto share = collab_types::parse_share_projection(share_json(3, "expired"));
  ASSERT_TRUE(share.has_value());
  EXPECT_EQ(active_grant_count(*share), 0u);
  share->grants[1].status = collab_types::GrantStatus::Active;
  EXPECT_EQ(active_grant_count(*share), 1u);

  CollabState state;
  EXPECT_FALSE(has_open_conflict(state));
  state.history = decode_history(history_json());
  ASSERT_TRUE(state.history.has_value());
  EXPECT_FALSE(has_open_conflict(state));
  state.history = decode_history(history_with([](auto& p) { p.conflicts = 2; }));
  ASSERT_TRUE(state.history.has_value());
  EXPECT_TRUE(has_open_conflict(state));
  state.history = decode_history(history_with([](auto& p) {
    p.conflicts = 2;
    p.conflict_status = "Resolved";
  }));
  ASSERT_TRUE(state.history.has_value());
  EXPECT_FALSE(has_open_conflict(state));
}

}  // namespace
}  // namespace files::model
