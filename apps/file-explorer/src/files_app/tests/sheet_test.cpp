#include <gtest/gtest.h>

#include "files_app/info_sheets.h"
#include "files_app/sheet.h"
#include "i18n/i18n.h"

namespace files::app {
namespace {

using i18n::t;
using i18n::t_args;

Sheet sheet_with(std::size_t details, bool action) {
  Sheet s{"Title", "Summary", std::vector<std::string>(details, "line"), std::nullopt};
  if (action) s.action = EmptyTrashAction{};
  return s;
}

TEST(SheetGeometry, HeightsAndWidths) {
  struct Case {
    std::size_t details;
    bool action;
    vask_ui::Size window;
    float width;
    float height;
  };
  const Case cases[] = {
      {0, false, {1280, 800}, 648, 180},  // 143 < the 180 minimum
      {0, false, {1280, 200}, 648, 180},  // the minimum wins over H − 32 too
      {20, true, {1280, 800}, 648, 552},  // 116 + 27 × 14 + 58
      {20, true, {1280, 584}, 648, 552}, {20, true, {1280, 500}, 648, 468},  // H − 32
      {3, false, {300, 800}, 288, 197},  // 116 + 81; width clamp(300, 320, 680) − 32
  };
  for (const auto& c : cases) {
    auto g = SheetGeometry::compute(sheet_with(c.details, c.action), c.window);
    EXPECT_FLOAT_EQ(g.card.width(), c.width) << c.details << " " << c.window.height;
    EXPECT_FLOAT_EQ(g.card.height(), c.height) << c.details << " " << c.window.height;
    EXPECT_FLOAT_EQ(g.card.center().x, c.window.width / 2);
    EXPECT_EQ(g.confirm.has_value(), c.action);
  }
  auto g = SheetGeometry::compute(sheet_with(1, true), {1280, 800});
  EXPECT_EQ(*g.confirm,
            (vask_ui::Rect{g.card.x0 + 24, g.card.y1 - 50, g.card.x1 - 24, g.card.y1 - 14}));
  EXPECT_EQ(g.close_box,
            (vask_ui::Rect{g.card.x1 - 48, g.card.y0 + 6, g.card.x1 - 8, g.card.y0 + 46}));
}

TEST(SheetAction, LabelsDescriptionsAndCommands) {
  SheetAction purge = PermanentDeleteAction{{"/tmp/a", "/tmp/b"}};
  EXPECT_EQ(action_label_id(purge), "files-permanent-delete-confirm");
  EXPECT_EQ(action_description_id(purge), "files-permanent-delete-loss");
  auto command = action_command(purge);
  ASSERT_TRUE(std::holds_alternative<command::PurgePaths>(command));
  EXPECT_EQ(std::get<command::PurgePaths>(command).paths.size(), 2u);
  SheetAction empty = EmptyTrashAction{};
  EXPECT_EQ(action_description_id(empty), "files-permanent-delete-loss");
  EXPECT_TRUE(std::holds_alternative<command::EmptyTrash>(action_command(empty)));
}

TEST(DurationText, MinutesAndHours) {
  EXPECT_EQ(duration_text(245'000), "4:05");
  EXPECT_EQ(duration_text(59'999), "0:59");
  EXPECT_EQ(duration_text(3'599'999), "59:59");
  EXPECT_EQ(duration_text(3'600'000), "1:00:00");
  EXPECT_EQ(duration_text(3'723'000), "1:02:03");
  EXPECT_EQ(duration_text(90'061'000), "25:01:01");
}

model::FileEntry file_at(std::filesystem::path path) {
  model::FileEntry e;
  e.name = path.filename().string();
  e.path = std::move(path);
  e.mime_type = "application/pdf";
  return e;
}

TEST(PropertiesSheet, FolderOutsideTheWorkspaceHasFourLines) {
  model::FileEntry folder = file_at("/home/ada/Projects");
  folder.is_dir = true;
  folder.mime_type = "application/octet-stream";
  auto sheet = properties_sheet(folder);
  EXPECT_EQ(sheet.title, t_args("files-properties-title", {{"name", "Projects"}}));
  EXPECT_EQ(sheet.summary, t("files-properties-summary"));
  ASSERT_EQ(sheet.details.size(), 4u);
  EXPECT_EQ(sheet.details[0], t_args("files-property-type", {{"type", t("files-a11y-folder")}}));
  EXPECT_EQ(sheet.details[1], t_args("files-property-location", {{"location", "/home/ada"}}));
  EXPECT_EQ(sheet.details[2], t_args("files-property-size", {{"size", "—"}}));
  EXPECT_FALSE(sheet.action.has_value());
}

TEST(PropertiesSheet, UnreadableFileAtTheRoot) {
  auto sheet = properties_sheet(file_at("/report.pdf"));
  EXPECT_EQ(sheet.details[1], t_args("files-property-location", {{"location", "/"}}));
  EXPECT_EQ(sheet.details[2], t_args("files-property-size", {{"size", i18n::format_bytes(0)}}));
  EXPECT_EQ(sheet.details[3],
            t_args("files-property-modified", {{"time", t("files-property-unknown")}}));
}

TEST(PropertiesSheet, CollaborativeFacts) {
  model::FileEntry e = file_at("/var/workspace/clip.mp4");
  e.record_id = collab_types::Uuid::parse("11111111-1111-4111-8111-111111111111");
  collab_types::Digest hash{};
  hash[0] = 0x00;
  hash[1] = 0x0a;
  hash[2] = 0xff;
  e.content_hash = hash;
  collab_types::MetadataProjection meta;
  meta.properties.image_width = 1920;  // no height: no dimensions line
  meta.properties.duration_ms = 245'000;
  e.metadata = meta;
  collab_types::ShareProjection share;
  collab_types::ShareGrantProjection revoked;
  revoked.status = collab_types::GrantStatus::Revoked;
  share.grants = {revoked, revoked};
  e.share = share;
  collab_types::HistoryProjection history;
  history.total_versions = 4;
  collab_types::FileConflictV1 open, resolved;
  open.status = collab_types::ConflictStatus::Open;
  resolved.status = collab_types::ConflictStatus::Resolved;
  history.conflicts = {resolved, open, resolved};
  e.history = history;

  auto sheet = properties_sheet(e);
  EXPECT_EQ(sheet.summary, t("files-properties-collab-summary"));
  const std::vector<std::string> expected_tail = {
      t_args("files-property-collaborative-record",
             {{"record", "11111111-1111-4111-8111-111111111111"}}),
      t_args("files-property-content", {{"hash", "000aff0000000000"}}),
      t_args("files-property-duration", {{"duration", "4:05"}}),
      t_args("files-property-sharing", {{"count", i18n::count(0)}}),
      t_args("files-property-history",
             {{"versions", i18n::count(4)}, {"conflicts", i18n::count(1)}}),
  };
  ASSERT_EQ(sheet.details.size(), 4 + expected_tail.size());
  for (std::size_t i = 0; i < expected_tail.size(); ++i)
    EXPECT_EQ(sheet.details[4 + i], expected_tail[i]);
}

TEST(AvailabilitySheet, PolicyReplicasAndTransferLines) {
  model::FileEntry e = file_at("/var/workspace/a.pdf");
  EXPECT_FALSE(availability_sheet(e).has_value());

  collab_types::AvailabilityProjection a;
  a.residency = collab_types::ResidencyPartial{4096};
  a.policy = collab_types::OfflinePolicy::Automatic;
  a.policy_inherited = true;
  a.replicas = collab_types::ReplicasKnown{3, 1};
  a.transfer.phase = collab_types::TransferPhase::Downloading;
  a.transfer.last_error = "disk quota exceeded";
  e.availability = a;
  auto sheet = availability_sheet(e);
  ASSERT_TRUE(sheet.has_value());
  EXPECT_EQ(sheet->summary, t_args("files-partly-stored", {{"bytes", i18n::count(4096)}}));
  ASSERT_EQ(sheet->details.size(), 3u);
  EXPECT_EQ(sheet->details[0], t("files-automatic-storage"));
  EXPECT_EQ(sheet->details[1], t_args("files-replica-counts", {{"reachable", i18n::count(3)},
                                                               {"durable", i18n::count(1)}}));
  EXPECT_EQ(sheet->details[2], "disk quota exceeded");

  a.policy = collab_types::OfflinePolicy::Pinned;
  a.transfer.last_error.reset();
  a.replicas = collab_types::ReplicasUnknown{};
  e.availability = a;
  sheet = availability_sheet(e);
  EXPECT_EQ(sheet->details[0], t("files-kept-offline-parent"));
  EXPECT_EQ(sheet->details[1], t("files-replica-unverified"));
  EXPECT_EQ(sheet->details[2],
            t_args("files-transfer-state", {{"state", t("files-transfer-downloading")}}));
}

}  // namespace
}  // namespace files::app
