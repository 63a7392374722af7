#include "files_app/availability.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <map>
#include <string>
#include <vector>

#include "fileops/system_error.h"
#include "i18n/i18n.h"
#include "menu_test_support.h"

namespace files::app {
namespace {

using collab_types::OfflinePolicy;
using collab_types::ResidencyNotResident;
using collab_types::ResidencyPartial;
using collab_types::ResidencyResident;
using collab_types::TransferPhase;
using test_support::file_entry;
using test_support::folder_entry;
using test_support::with_availability;

/// Records every write; answers with the error scripted for a path.
class ScriptedWriter final : public ControlWriter {
 public:
  struct Write {
    std::string path;
    std::string attribute;
    std::string value;
    friend bool operator==(const Write&, const Write&) = default;
  };

  std::expected<void, ControlWriteError> write(const std::filesystem::path& path,
                                               std::string_view attribute,
                                               std::string_view value) override {
    writes.push_back({path.string(), std::string(attribute), std::string(value)});
    if (auto it = errors.find(path.string()); it != errors.end())
      return std::unexpected(ControlWriteError{it->second, fileops::system_error_text(it->second)});
    return {};
  }

  std::vector<Write> writes;
  std::map<std::string, int> errors;
};

std::vector<const model::FileEntry*> pointers(const std::vector<model::FileEntry>& entries) {
  std::vector<const model::FileEntry*> out;
  for (const auto& e : entries)
    out.push_back(&e);
  return out;
}

std::string counted(std::string_view id, std::uint64_t n) {
  return i18n::t_args(id, {{"count", i18n::count(n)}});
}

TEST(Availability, KeepOfflineWritesOnlyTheAutomaticItems) {
  std::vector<model::FileEntry> selection{
      with_availability(file_entry("/w/pinned.txt"), OfflinePolicy::Pinned),
      with_availability(file_entry("/w/auto.txt"), OfflinePolicy::Automatic),
  };
  ScriptedWriter writer;
  auto outcome = run_availability_command(command::KeepOffline{}, pointers(selection), writer);
  EXPECT_EQ(writer.writes,
            (std::vector<ScriptedWriter::Write>{{"/w/auto.txt", "user.vask.pin", "pinned"}}));
  EXPECT_EQ(outcome.notice, counted("files-keeping-offline", 1));
  EXPECT_TRUE(outcome.reload);
  EXPECT_FALSE(outcome.sheet);
}

TEST(Availability, EachCommandWritesItsValueAndCountsTheEligibleItems) {
  std::vector<model::FileEntry> selection{
      with_availability(file_entry("/w/a"), OfflinePolicy::Pinned),
      with_availability(file_entry("/w/b"), OfflinePolicy::Pinned),
      with_availability(file_entry("/w/c"), OfflinePolicy::Automatic, false,
                        ResidencyNotResident{}),
  };
  struct Case {
    AvailabilityCommand command;
    std::vector<std::string> paths;
    std::string attribute;
    std::string value;
    std::string notice;
  };
  const Case cases[] = {
      {command::UseAutomaticStorage{},
       {"/w/a", "/w/b"},
       "user.vask.pin",
       "automatic",
       counted("files-using-automatic", 2)},
      {command::RetryDownload{},
       {"/w/c"},
       "user.vask.availability-control",
       "retry",
       counted("files-retrying-transfers", 1)},
      // The confirmed list is written as it is, whatever is selected now.
      {command::ConfirmDestructiveEviction{{"/elsewhere/x", "/elsewhere/y"}},
       {"/elsewhere/x", "/elsewhere/y"},
       "user.vask.availability-control",
       "evict-destructive",
       counted("files-destructive-eviction-started", 2)},
  };
  for (const Case& c : cases) {
    ScriptedWriter writer;
    auto outcome = run_availability_command(c.command, pointers(selection), writer);
    std::vector<ScriptedWriter::Write> expected;
    for (const auto& p : c.paths)
      expected.push_back({p, c.attribute, c.value});
    EXPECT_EQ(writer.writes, expected) << c.value;
    EXPECT_EQ(outcome.notice, c.notice);
    EXPECT_TRUE(outcome.reload);
  }
}

TEST(Availability, NothingEligibleWritesNothing) {
  struct Case {
    const char* what;
    AvailabilityCommand command;
    model::FileEntry entry;
    std::string notice_id;
  };
  const Case cases[] = {
      {"automatic storage on an item pinned by its parent", command::UseAutomaticStorage{},
       with_availability(file_entry("/w/i"), OfflinePolicy::Pinned, true), "files-no-direct-pin"},
      {"keep offline on a pinned item", command::KeepOffline{},
       with_availability(file_entry("/w/p"), OfflinePolicy::Pinned), "files-no-pin-needed"},
      {"free space on a folder", command::FreeLocalSpace{},
       with_availability(folder_entry("/w/d"), OfflinePolicy::Automatic),
       "files-no-local-space-releasable"},
      {"free space on a pinned file", command::FreeLocalSpace{},
       with_availability(file_entry("/w/p"), OfflinePolicy::Pinned),
       "files-no-local-space-releasable"},
      {"free space on a file being downloaded", command::FreeLocalSpace{},
       with_availability(file_entry("/w/d"), OfflinePolicy::Automatic, false, ResidencyPartial{4},
                         TransferPhase::Downloading),
       "files-no-local-space-releasable"},
      {"free space on an online-only file", command::FreeLocalSpace{},
       with_availability(file_entry("/w/o"), OfflinePolicy::Automatic, false,
                         ResidencyNotResident{}),
       "files-no-local-space-releasable"},
      {"free space on a file whose automatic policy is inherited", command::FreeLocalSpace{},
       with_availability(file_entry("/w/h"), OfflinePolicy::Automatic, true),
       "files-no-local-space-releasable"},
      {"retry on a fully resident file", command::RetryDownload{},
       with_availability(file_entry("/w/r"), OfflinePolicy::Automatic, false,
                         ResidencyResident{10}),
       "files-no-retryable-transfer"},
      {"retry while a transfer runs", command::RetryDownload{},
       with_availability(file_entry("/w/q"), OfflinePolicy::Automatic, false,
                         ResidencyNotResident{}, TransferPhase::Queued),
       "files-no-retryable-transfer"},
      {"an item outside the workspace", command::KeepOffline{}, file_entry("/home/u/plain"),
       "files-no-pin-needed"},
  };
  for (const Case& c : cases) {
    ScriptedWriter writer;
    const model::FileEntry* selected[] = {&c.entry};
    auto outcome = run_availability_command(c.command, selected, writer);
    EXPECT_TRUE(writer.writes.empty()) << c.what;
    EXPECT_EQ(outcome.notice, i18n::t(c.notice_id)) << c.what;
    EXPECT_FALSE(outcome.reload) << c.what;
    EXPECT_FALSE(outcome.sheet) << c.what;
  }
}

TEST(Availability, FreeLocalSpaceSendsRefusedItemsToTheConfirmationSheet) {
  std::vector<model::FileEntry> selection{
      with_availability(file_entry("/w/unverified.bin"), OfflinePolicy::Automatic),
      with_availability(file_entry("/w/locked.bin"), OfflinePolicy::Automatic),
      with_availability(file_entry("/w/fine.bin"), OfflinePolicy::Automatic, false,
                        ResidencyPartial{5}),
  };
  ScriptedWriter writer;
  writer.errors = {{"/w/unverified.bin", EBUSY}, {"/w/locked.bin", EIO}};
  auto outcome = run_availability_command(command::FreeLocalSpace{}, pointers(selection), writer);

  // Every eligible item was attempted, in selection order.
  ASSERT_EQ(writer.writes.size(), 3u);
  EXPECT_EQ(writer.writes[2],
            (ScriptedWriter::Write{"/w/fine.bin", "user.vask.availability-control", "evict"}));
  // Only the plain failure is named; the refusal is a question, not an error.
  EXPECT_EQ(outcome.notice,
            i18n::t_args("files-free-local-space-failed",
                         {{"errors", "/w/locked.bin: " + fileops::system_error_text(EIO)}}));
  ASSERT_TRUE(outcome.sheet);
  const Sheet& sheet = *outcome.sheet;
  EXPECT_EQ(sheet.title, i18n::t("files-destructive-eviction-title"));
  EXPECT_EQ(sheet.summary, counted("files-destructive-eviction-summary", 1));
  EXPECT_EQ(sheet.details, (std::vector<std::string>{
                               i18n::t("files-destructive-eviction-no-replica"),
                               i18n::t("files-destructive-eviction-loss"),
                               i18n::t("files-destructive-eviction-protected"),
                           }));
  ASSERT_TRUE(sheet.action);
  EXPECT_EQ(action_label_id(*sheet.action), "files-destructive-eviction-confirm");
  auto confirm = action_command(*sheet.action);
  ASSERT_TRUE(std::holds_alternative<command::ConfirmDestructiveEviction>(confirm));
  EXPECT_EQ(std::get<command::ConfirmDestructiveEviction>(confirm).paths,
            (command::Paths{"/w/unverified.bin"}));
  EXPECT_TRUE(outcome.reload);
}

TEST(Availability, FreeLocalSpaceNoticeWithoutFailures) {
  std::vector<model::FileEntry> selection{
      with_availability(file_entry("/w/a"), OfflinePolicy::Automatic),
      with_availability(file_entry("/w/b"), OfflinePolicy::Automatic),
  };
  ScriptedWriter all_fine;
  EXPECT_EQ(
      run_availability_command(command::FreeLocalSpace{}, pointers(selection), all_fine).notice,
      counted("files-freeing-local-space", 2));
  ScriptedWriter one_refused;
  one_refused.errors = {{"/w/b", EBUSY}};
  auto outcome =
      run_availability_command(command::FreeLocalSpace{}, pointers(selection), one_refused);
  EXPECT_EQ(outcome.notice, i18n::t("files-eviction-needs-confirmation"));
  ASSERT_TRUE(outcome.sheet);
  EXPECT_EQ(std::get<EvictionAction>(*outcome.sheet->action).paths, (command::Paths{"/w/b"}));
}

TEST(Availability, FailureLinesArePathColonErrorJoinedBySemicolons) {
  std::vector<model::FileEntry> selection{
      with_availability(file_entry("/w/one"), OfflinePolicy::Automatic),
      with_availability(file_entry("/w/two"), OfflinePolicy::Automatic),
      with_availability(file_entry("/w/three"), OfflinePolicy::Automatic),
  };
  ScriptedWriter writer;
  writer.errors = {{"/w/one", EACCES}, {"/w/three", EACCES}};
  auto outcome = run_availability_command(command::KeepOffline{}, pointers(selection), writer);
  EXPECT_EQ(writer.writes.size(), 3u);  // the failure of the first does not stop the others
  EXPECT_EQ(outcome.notice,
            i18n::t_args("files-offline-policy-failed",
                         {{"errors", "/w/one: Permission denied; /w/three: Permission denied"}}));
  EXPECT_EQ(failure_line("/w/caf\xC3\xA9", "Permission denied"), "/w/café: Permission denied");
  // A name that is not UTF-8 is shown readably.
  EXPECT_EQ(failure_line("/w/\xFF", "x"), "/w/\xEF\xBF\xBD: x");
}

}  // namespace
}  // namespace files::app
