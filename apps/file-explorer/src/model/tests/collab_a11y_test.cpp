#include "model/collab_a11y.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "i18n/i18n.h"

namespace files::model {
namespace {

using namespace collab_types;

std::string t(std::string_view id) {
  return i18n::t(id);
}

std::string joined(const std::vector<std::string>& parts) {
  std::string out;
  for (const auto& part : parts)
    out += (out.empty() ? "" : ". ") + part;
  return out;
}

std::string file_part(std::uint64_t size) {
  return i18n::t_args("files-a11y-file", {{"size", i18n::format_bytes(size)}});
}

std::string recipients(std::uint64_t n) {
  return i18n::t_args("files-a11y-shared-recipients", {{"count", i18n::count(n)}});
}

AvailabilityProjection availability(TransferPhase phase, Residency residency,
                                    ReplicaEvidence replicas = ReplicasUnknown{}) {
  AvailabilityProjection a;
  a.schema_version = 1;
  a.transfer.phase = phase;
  a.residency = residency;
  a.replicas = replicas;
  return a;
}

FileEntry file(std::uint64_t size = 1500) {
  FileEntry e;
  e.name = "notes.txt";
  e.size = size;
  return e;
}

ShareGrantProjection grant(GrantStatus status) {
  ShareGrantProjection g;
  g.status = status;
  return g;
}

TEST(CollabA11yTest, DescribesEachCombination) {
  struct Case {
    const char* name;
    FileEntry entry;
    std::vector<std::string> parts;
  };
  std::vector<Case> cases;

  FileEntry folder;
  folder.is_dir = true;
  folder.size = 4096;
  cases.push_back({"plain folder", folder, {t("files-a11y-folder")}});
  cases.push_back({"plain file", file(), {file_part(1500)}});

  for (auto [sync, id] : std::vector<std::pair<SyncState, const char*>>{
           {SyncState::Local, "files-a11y-available-offline"},
           {SyncState::Projected, "files-a11y-online-only"},
           {SyncState::Downloading, "files-a11y-downloading"}}) {
    FileEntry e = file();
    e.sync_state = sync;
    cases.push_back({id, e, {file_part(1500), t(id)}});
  }

  for (auto [phase, id] : std::vector<std::pair<TransferPhase, const char*>>{
           {TransferPhase::Queued, "files-a11y-transfer-queued"},
           {TransferPhase::Downloading, "files-a11y-downloading"},
           {TransferPhase::Uploading, "files-a11y-uploading"},
           {TransferPhase::Verifying, "files-a11y-verifying"}}) {
    FileEntry e = file();
    e.availability = availability(phase, ResidencyResident{1});
    cases.push_back({id, e, {file_part(1500), t(id), t("files-a11y-replica-unknown")}});
  }

  for (auto [residency, id] : std::vector<std::pair<Residency, const char*>>{
           {ResidencyNotResident{}, "files-a11y-online-only"},
           {ResidencyPartial{1}, "files-a11y-partly-offline"},
           {ResidencyResident{1}, "files-a11y-available-offline"}}) {
    FileEntry e = file();
    e.availability = availability(TransferPhase::Idle, residency, ReplicasKnown{2, 1});
    cases.push_back({id, e, {file_part(1500), t(id), t("files-a11y-durably-replicated")}});
  }

  {
    // The availability projection wins over the sync state; a failure wins over the phase.
    FileEntry e = file();
    e.sync_state = SyncState::Local;
    e.availability =
        availability(TransferPhase::Downloading, ResidencyNotResident{}, ReplicasKnown{3, 0});
    e.availability->transfer.last_error = "disk full";
    e.availability->transfer.last_error_at_ms = 1;
    e.availability->policy = OfflinePolicy::Pinned;
    cases.push_back({"failed pinned transfer",
                     e,
                     {file_part(1500), t("files-a11y-transfer-failed"),
                      t("files-a11y-kept-offline"), t("files-a11y-not-durably-replicated")}});
  }
  {
    FileEntry e = folder;
    e.availability = availability(TransferPhase::Idle, ResidencyResident{1});
    e.availability->policy = OfflinePolicy::Pinned;
    e.availability->policy_inherited = true;
    cases.push_back({"folder pinned by its parent",
                     e,
                     {t("files-a11y-folder"), t("files-a11y-available-offline"),
                      t("files-a11y-kept-offline-parent"), t("files-a11y-replica-unknown")}});
  }
  {
    // Only expired grants: still shared, with no active recipient.
    FileEntry e = file();
    e.share = ShareProjection{.schema_version = 1, .grants = {grant(GrantStatus::Expired)}};
    cases.push_back({"only expired grants", e, {file_part(1500), recipients(0)}});
    e.share->grants.push_back(grant(GrantStatus::Active));
    e.share->grants.push_back(grant(GrantStatus::Active));
    cases.push_back({"two active grants", e, {file_part(1500), recipients(2)}});
  }
  {
    FileEntry e = file(0);
    e.sync_state = SyncState::Projected;
    e.share = ShareProjection{.schema_version = 1, .grants = {grant(GrantStatus::Active)}};
    e.history = HistoryProjection{};
    e.history->conflicts.push_back(FileConflictV1{.status = ConflictStatus::Resolved});
    cases.push_back(
        {"resolved conflict only", e, {file_part(0), t("files-a11y-online-only"), recipients(1)}});
    e.history->conflicts.push_back(FileConflictV1{.status = ConflictStatus::Open});
    cases.push_back({"open conflict",
                     e,
                     {file_part(0), t("files-a11y-online-only"), recipients(1),
                      t("files-a11y-version-conflict")}});
  }

  for (const auto& c : cases) {
    EXPECT_EQ(collab_a11y_description(c.entry), joined(c.parts)) << c.name;
  }
}

TEST(CollabA11yTest, ReadsAsEnglishText) {
  FileEntry e = file(1500000);
  e.sync_state = SyncState::Local;
  EXPECT_EQ(collab_a11y_description(e), "File, 1.5\u00a0MB. " + t("files-a11y-available-offline"));
  FileEntry folder;
  folder.is_dir = true;
  EXPECT_EQ(collab_a11y_description(folder), "Folder");
}

}  // namespace
}  // namespace files::model
