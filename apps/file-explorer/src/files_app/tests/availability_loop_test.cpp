// The availability loop end to end: a real window on a real folder whose items carry published
// states, the window's menus and commands writing real control attributes, and the workspace
// filesystem's double carrying them out and republishing the states the window then lists.

#include <sys/xattr.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "fileops/system_error.h"
#include "files_app/file_explorer_widget.h"
#include "i18n/i18n.h"
#include "menu_test_support.h"
#include "vask_ui/launch.h"
#include "vask_ui/regions.h"
#include "window_fixture.h"
#include "workspace_fs_double/workspace_fs_double.h"

namespace files::app {
namespace {

namespace wfd = workspace_fs_double;
using collab_types::OfflinePolicy;
using test_support::ScratchFolder;

/// The seam the program writes through, backed by the double: the double's refusal stands for
/// the filesystem refusing the write; an accepted write lands on the real item and is carried
/// out at once.
class DoubleWriter final : public ControlWriter {
 public:
  std::expected<void, ControlWriteError> write(const std::filesystem::path& path,
                                               std::string_view attribute,
                                               std::string_view value) override {
    written.push_back(path.filename().string() + " " + std::string(value));
    if (int refused = wfd::refusal(path, attribute, value); refused != 0)
      return std::unexpected(ControlWriteError{refused, fileops::system_error_text(refused)});
    if (auto done = real_.write(path, attribute, value); !done) return done;
    wfd::settle_item(path);
    return {};
  }
  std::vector<std::string> written;

 private:
  XattrControlWriter real_;
};

std::string counted(std::string_view id, std::uint64_t n) {
  return i18n::t_args(id, {{"count", i18n::count(n)}});
}

class AvailabilityLoop : public ::testing::Test, protected WindowDriver {
 protected:
  std::filesystem::path item(const std::string& name, wfd::ItemState state, bool folder = false) {
    auto path = root.path() / name;
    if (folder) {
      std::filesystem::create_directories(path);
    } else {
      std::ofstream(path) << "content of " << name;
    }
    state.record_id = "00000000-0000-4000-8000-0000000000" + std::to_string(10 + count_++);
    EXPECT_TRUE(wfd::publish(path, state).has_value()) << name;
    return path;
  }

  void open(const std::filesystem::path& folder) {
    WindowConfig config = local_config(config_dir.path(), folder);
    config.in_workspace = [](const std::filesystem::path&) { return true; };
    config.control_writer = writer;
    open_window(std::move(config));
  }
  std::size_t index_of(const std::string& name) const {
    const auto& entries = window->state().entries();
    for (std::size_t i = 0; i < entries.size(); ++i) {
      if (entries[i].name == name) return i;
    }
    ADD_FAILURE() << name << " is not listed";
    return 0;
  }
  const model::FileEntry& entry(const std::string& name) const {
    return window->state().entries().at(index_of(name));
  }
  void select(std::initializer_list<std::string> names) {
    auto& selection = window->state().selection();
    selection.clear();
    for (const auto& name : names)
      selection.add(index_of(name));
    selection.set_primary(index_of(*names.begin()));
  }
  std::vector<std::string> selected_names() const {
    std::vector<std::string> out;
    for (std::size_t i : window->state().selection().selected())
      out.push_back(window->state().entries().at(i).name);
    return out;
  }
  void press(vask_ui::Point p, vask_ui::PointerButton button) {
    window->handle_event(vask_ui::PointerMove{p, {}});
    window->handle_event(vask_ui::PointerPress{p, button, {}});
    window->handle_event(vask_ui::PointerRelease{p, button, {}});
    render();
  }
  void key(vask_ui::Key k) {
    window->handle_event(vask_ui::KeyPress{k, {}, {}});
    render();
  }
  vask_ui::Point row_of(const std::string& name) const {
    auto rect = vask_ui::regions::current().find(vask_ui::regions::file_row_id(name));
    EXPECT_TRUE(rect) << name;
    return rect ? rect->center() : vask_ui::Point{};
  }
  /// The labels of the open menu, separators as "---".
  std::vector<std::string> menu_labels() const {
    std::vector<std::string> out;
    const auto& menu = window->menu();
    for (std::size_t i = 0; i < menu.size(); ++i)
      out.push_back(menu.entry(i).is_separator() ? "---" : menu.entry(i).label);
    return out;
  }
  /// Clicks the open menu's entry with this label.
  void choose(std::string_view id) {
    const auto& menu = window->menu();
    ASSERT_TRUE(menu.is_open());
    for (std::size_t i = 0; i < menu.size(); ++i) {
      if (menu.entry(i).label == i18n::t(id)) {
        press(menu.item_rect(i).center(), vask_ui::PointerButton::Primary);
        return;
      }
    }
    FAIL() << id << " is not in the menu";
  }

  ScratchFolder root;
  ScratchFolder config_dir;
  std::shared_ptr<DoubleWriter> writer = std::make_shared<DoubleWriter>();
  int count_ = 0;
};

TEST_F(AvailabilityLoop, FreeLocalSpaceWithARefusalAndAFailureThenTheConfirmation) {
  using R = wfd::Residency;
  item("a-unverified.bin", {.residency = R::Resident, .bytes = 10});
  auto gone = item("b-gone.bin", {.residency = R::Resident, .bytes = 10, .durable_replicas = 2});
  item("c-backed-up.bin", {.residency = R::Partial, .bytes = 10, .durable_replicas = 1});
  open(root.path());
  select({"a-unverified.bin", "b-gone.bin", "c-backed-up.bin"});
  // The second file disappears after it was listed: its write fails for real.
  std::filesystem::remove(gone);

  EXPECT_TRUE(window->execute(command::FreeLocalSpace{}));

  EXPECT_EQ(window->state().notice(),
            i18n::t_args("files-free-local-space-failed",
                         {{"errors", gone.string() + ": " + fileops::system_error_text(ENOENT)}}));
  ASSERT_TRUE(window->sheet());
  EXPECT_EQ(window->sheet()->summary, counted("files-destructive-eviction-summary", 1));
  // The silent re-list shows the double's answer and keeps the selection by path.
  EXPECT_TRUE(std::holds_alternative<collab_types::ResidencyNotResident>(
      entry("c-backed-up.bin").availability->residency));
  EXPECT_TRUE(std::holds_alternative<collab_types::ResidencyResident>(
      entry("a-unverified.bin").availability->residency));
  EXPECT_EQ(selected_names(), (std::vector<std::string>{"a-unverified.bin", "c-backed-up.bin"}));

  // Enter confirms the sheet: the destructive request goes to the refused file only.
  writer->written.clear();
  render();
  key(vask_ui::Key::Enter);
  EXPECT_FALSE(window->sheet());
  EXPECT_EQ(writer->written, (std::vector<std::string>{"a-unverified.bin evict-destructive"}));
  EXPECT_EQ(window->state().notice(), counted("files-destructive-eviction-started", 1));
  EXPECT_TRUE(std::holds_alternative<collab_types::ResidencyNotResident>(
      entry("a-unverified.bin").availability->residency));
}

TEST_F(AvailabilityLoop, KeepOfflineFromTheContextMenuPinsAFolderAndItsContents) {
  using R = wfd::Residency;
  auto folder = item("Sketches", {.residency = R::Resident}, true);
  std::ofstream(folder / "first.png") << "png";
  ASSERT_TRUE(wfd::publish(folder / "first.png", {.residency = R::NotResident, .bytes = 3}));
  open(root.path());

  press(row_of("Sketches"), vask_ui::PointerButton::Secondary);
  ASSERT_TRUE(window->menu().is_open());
  EXPECT_EQ(selected_names(), (std::vector<std::string>{"Sketches"}));
  auto labels = menu_labels();
  EXPECT_EQ(std::count(labels.begin(), labels.end(), i18n::t("files-keep-offline")), 1);
  EXPECT_EQ(std::count(labels.begin(), labels.end(), i18n::t("files-free-local-space")), 0)
      << "a folder's local space is not freed as a whole";
  choose("files-keep-offline");

  EXPECT_FALSE(window->menu().is_open());
  EXPECT_EQ(writer->written, (std::vector<std::string>{"Sketches pinned"}));
  EXPECT_EQ(window->state().notice(), counted("files-keeping-offline", 1));
  EXPECT_EQ(entry("Sketches").availability->policy, OfflinePolicy::Pinned);

  // Inside, the file is kept offline by its parent: nothing to undo on the file itself.
  window->navigate(folder);
  render();
  select({"first.png"});
  key(vask_ui::Key::Menu);
  ASSERT_TRUE(window->menu().is_open());
  labels = menu_labels();
  EXPECT_EQ(std::count(labels.begin(), labels.end(), i18n::t("files-pinned-by-parent")), 1);
  EXPECT_EQ(std::count(labels.begin(), labels.end(), i18n::t("files-use-automatic-storage")), 0);
  key(vask_ui::Key::Escape);
  EXPECT_FALSE(window->menu().is_open());
  writer->written.clear();
  window->execute(command::UseAutomaticStorage{});
  EXPECT_TRUE(writer->written.empty());
  EXPECT_EQ(window->state().notice(), i18n::t("files-no-direct-pin"));
  EXPECT_TRUE(entry("first.png").availability->policy_inherited);
}

TEST_F(AvailabilityLoop, RetryDownloadBringsAnOnlineOnlyFileHome) {
  using R = wfd::Residency;
  item("video.mp4", {.residency = R::NotResident, .bytes = 99, .last_error = "timed out"});
  item("resident.txt", {.residency = R::Resident, .bytes = 5});
  open(root.path());
  select({"resident.txt"});
  window->execute(command::RetryDownload{});
  EXPECT_EQ(window->state().notice(), i18n::t("files-no-retryable-transfer"));
  EXPECT_TRUE(writer->written.empty());

  select({"video.mp4", "resident.txt"});
  window->execute(command::RetryDownload{});
  EXPECT_EQ(writer->written, (std::vector<std::string>{"video.mp4 retry"}));
  EXPECT_EQ(window->state().notice(), counted("files-retrying-transfers", 1));
  const auto& video = entry("video.mp4");
  EXPECT_TRUE(
      std::holds_alternative<collab_types::ResidencyResident>(video.availability->residency));
  EXPECT_FALSE(video.availability->transfer.last_error);
}

TEST(XattrControlWriter, WritesTheExactBytesAndNeverFollowsALink) {
  ScratchFolder scratch;
  auto file = scratch.path() / "item";
  std::ofstream(file) << "x";
  auto link = scratch.path() / "link";
  std::filesystem::create_symlink(file, link);
  XattrControlWriter writer;

  ASSERT_TRUE(writer.write(file, "user.vask.availability-control", "evict-destructive"));
  char buffer[64];
  ssize_t size = ::lgetxattr(file.c_str(), "user.vask.availability-control", buffer, sizeof buffer);
  ASSERT_EQ(size, 17);  // no terminator
  EXPECT_EQ(std::string(buffer, 17), "evict-destructive");

  // The link itself cannot carry user attributes; its target must stay untouched.
  auto through_link = writer.write(link, "user.vask.pin", "pinned");
  ASSERT_FALSE(through_link);
  EXPECT_EQ(through_link.error().code, EPERM);
  EXPECT_EQ(through_link.error().text, fileops::system_error_text(EPERM));
  EXPECT_LT(::lgetxattr(file.c_str(), "user.vask.pin", buffer, sizeof buffer), 0);

  auto missing = writer.write(scratch.path() / "missing", "user.vask.pin", "pinned");
  ASSERT_FALSE(missing);
  EXPECT_EQ(missing.error().code, ENOENT);
}

TEST(WorkspaceDouble, SettlesControlsWrittenByAnyoneAndRefusesUnsafeEviction) {
  ScratchFolder scratch;
  auto file = scratch.path() / "doc";
  std::ofstream(file) << "x";
  ASSERT_TRUE(wfd::publish(file, {.residency = wfd::Residency::Resident, .bytes = 1}));
  EXPECT_EQ(wfd::refusal(file, wfd::kControlAttribute, "evict"), EBUSY);
  EXPECT_EQ(wfd::refusal(file, wfd::kControlAttribute, "evict-destructive"), 0);
  EXPECT_EQ(wfd::refusal(file, wfd::kControlAttribute, "shred"), EINVAL);

  // A write made with the real writer is picked up by a later settle.
  XattrControlWriter writer;
  ASSERT_TRUE(writer.write(file, "user.vask.pin", "pinned"));
  EXPECT_EQ(wfd::settle(scratch.path()), 1u);
  auto state = wfd::read_state(file);
  ASSERT_TRUE(state);
  EXPECT_TRUE(state->pinned);
  char buffer[16];
  EXPECT_LT(::lgetxattr(file.c_str(), "user.vask.pin", buffer, sizeof buffer), 0)
      << "the control is consumed";
  // Content kept offline is never evicted.
  EXPECT_EQ(wfd::refusal(file, wfd::kControlAttribute, "evict-destructive"), EPERM);
  // The published document is one the program reads.
  model::FileEntry listed;
  listed.availability = model::read_availability(file);
  ASSERT_TRUE(listed.availability);
  EXPECT_EQ(listed.availability->policy, OfflinePolicy::Pinned);
}

}  // namespace
}  // namespace files::app
