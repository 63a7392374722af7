#include "files_app/availability.h"

#include <sys/xattr.h>

#include <cerrno>
#include <string>
#include <vector>

#include "fileops/system_error.h"
#include "files_app/file_explorer_widget.h"
#include "i18n/i18n.h"
#include "model/lossy_text.h"
#include "support/overloaded.h"
#include "vask_ui/clock.h"

namespace files::app {
namespace {

using collab_types::AvailabilityProjection;
using collab_types::OfflinePolicy;
using collab_types::TransferPhase;

const AvailabilityProjection* projection(const model::FileEntry& entry) {
  return entry.availability.get();
}

bool is_resident(const AvailabilityProjection& a) {
  return std::holds_alternative<collab_types::ResidencyResident>(a.residency);
}

/// The attribute, value and notice ids of one control.
struct Control {
  std::string_view attribute;
  std::string_view value;
  std::string_view empty_id;
  std::string_view success_id;
  std::string_view failure_id;
  bool (*eligible)(const model::FileEntry&);
};

constexpr Control kKeepOffline{kPinAttribute,
                               "pinned",
                               "files-no-pin-needed",
                               "files-keeping-offline",
                               "files-offline-policy-failed",
                               keep_offline_eligible};
constexpr Control kAutomatic{kPinAttribute,
                             "automatic",
                             "files-no-direct-pin",
                             "files-using-automatic",
                             "files-offline-policy-failed",
                             automatic_storage_eligible};
constexpr Control kRetry{kAvailabilityControlAttribute, "retry",
                         "files-no-retryable-transfer", "files-retrying-transfers",
                         "files-retry-failed",          retry_download_eligible};
constexpr Control kEvict{kAvailabilityControlAttribute,     "evict",
                         "files-no-local-space-releasable", "files-freeing-local-space",
                         "files-free-local-space-failed",   free_local_space_eligible};
constexpr std::string_view kEvictDestructive = "evict-destructive";

std::vector<std::filesystem::path> eligible_paths(
    const Control& control, std::span<const model::FileEntry* const> selected) {
  std::vector<std::filesystem::path> paths;
  for (const model::FileEntry* entry : selected) {
    if (entry != nullptr && control.eligible(*entry)) paths.push_back(entry->path);
  }
  return paths;
}

std::string joined(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& line : lines) {
    if (!out.empty()) out += "; ";
    out += line;
  }
  return out;
}

std::string counted(std::string_view id, std::size_t count) {
  return i18n::t_args(id, {{"count", i18n::count(count)}});
}

std::string failed(std::string_view id, const std::vector<std::string>& failures) {
  return i18n::t_args(id, {{"errors", joined(failures)}});
}

/// Writes the control's value on every path; returns the failure lines.
std::vector<std::string> write_all(const std::vector<std::filesystem::path>& paths,
                                   std::string_view attribute, std::string_view value,
                                   ControlWriter& writer) {
  std::vector<std::string> failures;
  for (const auto& path : paths) {
    if (auto written = writer.write(path, attribute, value); !written)
      failures.push_back(failure_line(path, written.error().text));
  }
  return failures;
}

AvailabilityOutcome run_simple(const Control& control,
                               std::span<const model::FileEntry* const> selected,
                               ControlWriter& writer) {
  auto paths = eligible_paths(control, selected);
  if (paths.empty()) return {i18n::t(control.empty_id), std::nullopt, false};
  auto failures = write_all(paths, control.attribute, control.value, writer);
  std::string notice = failures.empty() ? counted(control.success_id, paths.size())
                                        : failed(control.failure_id, failures);
  return {std::move(notice), std::nullopt, true};
}

Sheet destructive_eviction_sheet(std::vector<std::filesystem::path> paths) {
  Sheet sheet;
  sheet.title = i18n::t("files-destructive-eviction-title");
  sheet.summary = counted("files-destructive-eviction-summary", paths.size());
  for (const char* id : {"files-destructive-eviction-no-replica", "files-destructive-eviction-loss",
                         "files-destructive-eviction-protected"}) {
    sheet.details.push_back(i18n::t(id));
  }
  sheet.action = EvictionAction{std::move(paths)};
  return sheet;
}

AvailabilityOutcome free_local_space(std::span<const model::FileEntry* const> selected,
                                     ControlWriter& writer) {
  auto paths = eligible_paths(kEvict, selected);
  if (paths.empty()) return {i18n::t(kEvict.empty_id), std::nullopt, false};
  std::vector<std::string> failures;
  std::vector<std::filesystem::path> needs_confirmation;
  for (const auto& path : paths) {
    auto written = writer.write(path, kEvict.attribute, kEvict.value);
    if (written) continue;
    // The filesystem answers EBUSY when it cannot prove that another durable copy exists:
    // that is a question for the user, not a failure.
    if (written.error().code == EBUSY) {
      needs_confirmation.push_back(path);
    } else {
      failures.push_back(failure_line(path, written.error().text));
    }
  }
  AvailabilityOutcome outcome;
  outcome.reload = true;
  if (!failures.empty()) {
    outcome.notice = failed(kEvict.failure_id, failures);
  } else if (!needs_confirmation.empty()) {
    outcome.notice = i18n::t("files-eviction-needs-confirmation");
  } else {
    outcome.notice = counted(kEvict.success_id, paths.size());
  }
  if (!needs_confirmation.empty())
    outcome.sheet = destructive_eviction_sheet(std::move(needs_confirmation));
  return outcome;
}

AvailabilityOutcome confirm_destructive_eviction(const command::Paths& paths,
                                                 ControlWriter& writer) {
  // The list is what the user confirmed; it is not filtered again against the selection.
  if (paths.empty()) return {counted("files-destructive-eviction-started", 0), std::nullopt, false};
  auto failures = write_all(paths, kAvailabilityControlAttribute, kEvictDestructive, writer);
  std::string notice = failures.empty()
                           ? counted("files-destructive-eviction-started", paths.size())
                           : failed("files-free-local-space-failed", failures);
  return {std::move(notice), std::nullopt, true};
}

}  // namespace

std::expected<void, ControlWriteError> XattrControlWriter::write(const std::filesystem::path& path,
                                                                 std::string_view attribute,
                                                                 std::string_view value) {
  const std::string name(attribute);
  int rc = fileops::retry_eintr(
      [&] { return ::lsetxattr(path.c_str(), name.c_str(), value.data(), value.size(), 0); });
  if (rc == 0) return {};
  int code = errno;
  return std::unexpected(ControlWriteError{code, fileops::system_error_text(code)});
}

bool keep_offline_eligible(const model::FileEntry& entry) {
  const auto* a = projection(entry);
  return a != nullptr && a->policy == OfflinePolicy::Automatic;
}

bool automatic_storage_eligible(const model::FileEntry& entry) {
  const auto* a = projection(entry);
  return a != nullptr && a->policy == OfflinePolicy::Pinned && !a->policy_inherited;
}

bool pinned_by_parent(const model::FileEntry& entry) {
  const auto* a = projection(entry);
  return a != nullptr && a->policy == OfflinePolicy::Pinned && a->policy_inherited;
}

bool free_local_space_eligible(const model::FileEntry& entry) {
  const auto* a = projection(entry);
  if (entry.is_dir || a == nullptr) return false;
  if (a->policy != OfflinePolicy::Automatic || a->policy_inherited) return false;
  if (a->transfer.phase != TransferPhase::Idle) return false;
  return !std::holds_alternative<collab_types::ResidencyNotResident>(a->residency);
}

bool retry_download_eligible(const model::FileEntry& entry) {
  const auto* a = projection(entry);
  return a != nullptr && !is_resident(*a) && a->transfer.phase == TransferPhase::Idle;
}

AvailabilityOutcome run_availability_command(const AvailabilityCommand& command,
                                             std::span<const model::FileEntry* const> selected,
                                             ControlWriter& writer) {
  return std::visit(
      Overloaded{
          [&](const command::KeepOffline&) { return run_simple(kKeepOffline, selected, writer); },
          [&](const command::UseAutomaticStorage&) {
            return run_simple(kAutomatic, selected, writer);
          },
          [&](const command::RetryDownload&) { return run_simple(kRetry, selected, writer); },
          [&](const command::FreeLocalSpace&) { return free_local_space(selected, writer); },
          [&](const command::ConfirmDestructiveEviction& c) {
            return confirm_destructive_eviction(c.paths, writer);
          },
      },
      command);
}

std::string failure_line(const std::filesystem::path& path, std::string_view error) {
  return model::lossy_utf8(path.native()) + ": " + std::string(error);
}

// The window's side: the selection in, the notice, the confirmation sheet and a silent
// re-list out, so the badges show what the filesystem made of the request.
bool FileExplorerWidget::run_availability(const AvailabilityCommand& command) {
  AvailabilityOutcome outcome =
      run_availability_command(command, selected_entries(), *control_writer_);
  state_.set_notice(outcome.notice);
  if (outcome.sheet) open_sheet(std::move(*outcome.sheet));
  if (outcome.reload) state_.recheck(vask_ui::ui_clock::now(), false, drag_.has_value());
  return true;
}

}  // namespace files::app
