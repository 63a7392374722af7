#include "model/collab_a11y.h"

#include <string_view>
#include <variant>
#include <vector>

#include "i18n/i18n.h"

namespace files::model {
namespace {

using namespace collab_types;

std::string_view residency_message(const Residency& residency) {
  if (std::holds_alternative<ResidencyNotResident>(residency)) return "files-a11y-online-only";
  if (std::holds_alternative<ResidencyPartial>(residency)) return "files-a11y-partly-offline";
  return "files-a11y-available-offline";
}

std::string_view transfer_message(const AvailabilityProjection& availability) {
  if (availability.transfer.last_error) return "files-a11y-transfer-failed";
  switch (availability.transfer.phase) {
    case TransferPhase::Queued:
      return "files-a11y-transfer-queued";
    case TransferPhase::Downloading:
      return "files-a11y-downloading";
    case TransferPhase::Uploading:
      return "files-a11y-uploading";
    case TransferPhase::Verifying:
      return "files-a11y-verifying";
    case TransferPhase::Idle:
      break;
  }
  return residency_message(availability.residency);
}

std::string_view sync_message(SyncState sync) {
  switch (sync) {
    case SyncState::Local:
      return "files-a11y-available-offline";
    case SyncState::Projected:
      return "files-a11y-online-only";
    case SyncState::Downloading:
      return "files-a11y-downloading";
  }
  return "files-a11y-online-only";
}

}  // namespace

std::string collab_a11y_description(const FileEntry& entry) {
  std::vector<std::string> parts;
  if (entry.is_dir) {
    parts.push_back(i18n::t("files-a11y-folder"));
  } else {
    parts.push_back(i18n::t_args("files-a11y-file", {{"size", i18n::format_bytes(entry.size)}}));
  }
  if (const auto& availability = entry.availability) {
    parts.push_back(i18n::t(transfer_message(*availability)));
    if (availability->policy == OfflinePolicy::Pinned) {
      parts.push_back(i18n::t(availability->policy_inherited ? "files-a11y-kept-offline-parent"
                                                             : "files-a11y-kept-offline"));
    }
    if (const auto* known = std::get_if<ReplicasKnown>(&availability->replicas)) {
      parts.push_back(i18n::t(known->durable != 0 ? "files-a11y-durably-replicated"
                                                  : "files-a11y-not-durably-replicated"));
    } else {
      parts.push_back(i18n::t("files-a11y-replica-unknown"));
    }
  } else if (entry.sync_state) {
    parts.push_back(i18n::t(sync_message(*entry.sync_state)));
  }
  if (entry.share) {
    parts.push_back(i18n::t_args("files-a11y-shared-recipients",
                                 {{"count", i18n::count(active_grant_count(*entry.share))}}));
  }
  if (has_open_conflict(entry)) parts.push_back(i18n::t("files-a11y-version-conflict"));

  std::string out;
  for (const auto& part : parts) {
    if (!out.empty()) out += ". ";
    out += part;
  }
  return out;
}

}  // namespace files::model
