#include "native_observer/snapshot.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

namespace files::native_observer {
namespace {

model::FileEntry entry(std::string name, bool dir = false) {
  model::FileEntry e;
  e.name = std::move(name);
  e.is_dir = dir;
  return e;
}

TEST(Snapshot, EmptyFolder) {
  SnapshotInput in;
  in.directory = "/tmp/empty";
  in.root_rect = {0, 0, 1280, 800};
  in.viewport_rect = vask_ui::Rect{0, 48, 1280, 800};
  auto j = nlohmann::json::parse(snapshot_json(in));
  EXPECT_EQ(j["app"], "so.vask.file-explorer");
  EXPECT_EQ(j["view_id"], "file_view");
  EXPECT_EQ(j["entry_count"], 0);
  EXPECT_TRUE(j["selected_indices"].empty());
  EXPECT_TRUE(j["selected_names"].empty());
  EXPECT_TRUE(j["primary_index"].is_null());
  EXPECT_TRUE(j["last_cursor"].is_null());
  EXPECT_EQ(j["ready"], true);
  EXPECT_EQ(j["hash_algorithm"], "sha256");
  EXPECT_EQ(j["offset_units"], "pixels");
  EXPECT_EQ(j["root_rect"], nlohmann::json::array({0, 0, 1280, 800}));
  // SHA-256 of nothing.
  EXPECT_EQ(j["order_hash"], "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
}

TEST(Snapshot, LoadingIsNotReady) {
  SnapshotInput in;
  in.loading = true;
  in.viewport_rect = vask_ui::Rect{0, 0, 10, 10};
  auto j = nlohmann::json::parse(snapshot_json(in));
  EXPECT_EQ(j["ready"], false);
  EXPECT_EQ(j["is_loading"], true);
  in.loading = false;
  in.viewport_rect.reset();  // nothing laid out yet
  EXPECT_EQ(nlohmann::json::parse(snapshot_json(in))["ready"], false);
}

TEST(Snapshot, SelectionAndViewSettings) {
  std::vector<model::FileEntry> entries = {entry("docs", true), entry("a.txt"), entry("b.txt")};
  SnapshotInput in;
  in.entries = entries;
  in.selected = {0, 2};
  in.primary = 2;
  in.view_mode = model::ViewMode::Grid;
  in.sort_by = model::SortKey::Modified;
  in.sort_order = model::SortOrder::Descending;
  in.last_cursor = vask_ui::Point{12.5f, 40};
  auto j = nlohmann::json::parse(snapshot_json(in));
  EXPECT_EQ(j["selected_indices"], nlohmann::json::array({0, 2}));
  EXPECT_EQ(j["selected_names"], nlohmann::json::array({"docs", "b.txt"}));
  EXPECT_EQ(j["primary_index"], 2);
  EXPECT_EQ(j["view_mode"], "Grid");
  EXPECT_EQ(j["sort_by"], "Modified");
  EXPECT_EQ(j["sort_order"], "Descending");
  EXPECT_EQ(j["last_cursor"], nlohmann::json::array({12.5, 40}));
}

TEST(OrderHash, SameOrderSameHashOtherwiseDifferent) {
  std::vector<model::FileEntry> one = {entry("a"), entry("b", true)};
  std::vector<model::FileEntry> same = {entry("a"), entry("b", true)};
  std::vector<model::FileEntry> reversed = {entry("b", true), entry("a")};
  std::vector<model::FileEntry> flag = {entry("a"), entry("b", false)};
  // Without a length prefix these two would feed the same bytes.
  std::vector<model::FileEntry> split1 = {entry("ab"), entry("c")};
  std::vector<model::FileEntry> split2 = {entry("a"), entry("bc")};
  EXPECT_EQ(order_hash(one), order_hash(same));
  EXPECT_NE(order_hash(one), order_hash(reversed));
  EXPECT_NE(order_hash(one), order_hash(flag));
  EXPECT_NE(order_hash(split1), order_hash(split2));
  EXPECT_EQ(order_hash(one).size(), 64u);
}

}  // namespace
}  // namespace files::native_observer
