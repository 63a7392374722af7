#include "files_app/info_sheets.h"

#include <fmt/format.h>

#include <algorithm>
#include <limits>

#include "i18n/i18n.h"
#include "model/collab_state.h"
#include "model/lossy_text.h"
#include "support/overloaded.h"

namespace files::app {
namespace {

using i18n::t;
using i18n::t_args;

/// Numbers reach the catalog as numbers so that plural rules apply; like counts they are
/// clamped to the largest signed 64-bit value first.
vask_ui::ArgValue number(std::uint64_t n) {
  return i18n::count(n);
}

std::string location_text(const std::filesystem::path& path) {
  auto parent = path.parent_path();
  if (parent.empty() || path == path.root_path()) return "/";
  return model::lossy_utf8(parent.native());
}

std::string residency_text(const collab_types::Residency& residency) {
  return std::visit(
      Overloaded{
          [](const collab_types::ResidencyNotResident&) {
            return t("files-residency-metadata-only");
          },
          [](const collab_types::ResidencyPartial& r) {
            return t_args("files-residency-partly-local", {{"bytes", number(r.resident_bytes)}});
          },
          [](const collab_types::ResidencyResident& r) {
            return t_args("files-residency-local", {{"bytes", number(r.bytes)}});
          },
      },
      residency);
}

std::string_view phase_message(collab_types::TransferPhase phase) {
  switch (phase) {
    case collab_types::TransferPhase::Idle:
      return "files-transfer-idle";
    case collab_types::TransferPhase::Queued:
      return "files-transfer-queued";
    case collab_types::TransferPhase::Downloading:
      return "files-transfer-downloading";
    case collab_types::TransferPhase::Uploading:
      return "files-transfer-uploading";
    case collab_types::TransferPhase::Verifying:
      return "files-transfer-verifying";
  }
  return "files-transfer-idle";
}

std::string hash_prefix(const collab_types::Digest& digest) {
  std::string out;
  for (std::size_t i = 0; i < 8; ++i)
    out += fmt::format("{:02x}", digest[i]);
  return out;
}

void add_metadata_lines(const collab_types::FilePropertiesV1& p, std::vector<std::string>& lines) {
  if (p.image_width && p.image_height) {
    lines.push_back(t_args("files-property-dimensions", {{"width", number(*p.image_width)},
                                                         {"height", number(*p.image_height)}}));
  }
  if (p.duration_ms) {
    lines.push_back(
        t_args("files-property-duration", {{"duration", duration_text(*p.duration_ms)}}));
  }
  if (p.page_count)
    lines.push_back(t_args("files-property-pages", {{"count", number(*p.page_count)}}));
  if (p.codec) lines.push_back(t_args("files-property-codec", {{"codec", *p.codec}}));
  if (p.container)
    lines.push_back(t_args("files-property-container", {{"container", *p.container}}));
}

}  // namespace

std::string duration_text(std::uint64_t ms) {
  std::uint64_t hours = ms / 3'600'000;
  std::uint64_t minutes = (ms / 60'000) % 60;
  std::uint64_t seconds = (ms / 1'000) % 60;
  if (ms < 3'600'000) return fmt::format("{}:{:02}", minutes, seconds);
  return fmt::format("{}:{:02}:{:02}", hours, minutes, seconds);
}

Sheet properties_sheet(const model::FileEntry& entry) {
  Sheet sheet;
  sheet.title = t_args("files-properties-title", {{"name", entry.name}});
  sheet.summary =
      t(entry.record_id ? "files-properties-collab-summary" : "files-properties-summary");
  auto& lines = sheet.details;
  lines.push_back(t_args("files-property-type",
                         {{"type", entry.is_dir ? t("files-a11y-folder") : entry.mime_type}}));
  lines.push_back(t_args("files-property-location", {{"location", location_text(entry.path)}}));
  lines.push_back(
      t_args("files-property-size",
             {{"size", entry.is_dir ? std::string("—") : i18n::format_bytes(entry.size)}}));
  lines.push_back(
      t_args("files-property-modified",
             {{"time", entry.modified ? i18n::format_time(model::to_unix_ms(*entry.modified))
                                      : t("files-property-unknown")}}));
  if (entry.record_id) {
    lines.push_back(
        t_args("files-property-collaborative-record", {{"record", entry.record_id->to_string()}}));
  }
  if (entry.content_hash) {
    lines.push_back(t_args("files-property-content", {{"hash", hash_prefix(*entry.content_hash)}}));
  }
  if (entry.metadata) add_metadata_lines(entry.metadata->properties, lines);
  if (entry.availability) {
    lines.push_back(t_args("files-property-on-device",
                           {{"state", residency_text(entry.availability->residency)}}));
  }
  if (entry.share) {
    lines.push_back(t_args("files-property-sharing",
                           {{"count", number(model::active_grant_count(*entry.share))}}));
  }
  if (entry.history) {
    auto open = static_cast<std::uint64_t>(std::count_if(
        entry.history->conflicts.begin(), entry.history->conflicts.end(),
        [](const auto& c) { return c.status == collab_types::ConflictStatus::Open; }));
    lines.push_back(
        t_args("files-property-history",
               {{"versions", number(entry.history->total_versions)}, {"conflicts", number(open)}}));
  }
  return sheet;
}

std::optional<Sheet> availability_sheet(const model::FileEntry& entry) {
  if (!entry.availability) return std::nullopt;
  const auto& a = *entry.availability;
  Sheet sheet;
  sheet.title = t_args("files-availability-title", {{"name", entry.name}});
  sheet.summary = std::visit(
      Overloaded{
          [](const collab_types::ResidencyNotResident&) { return t("files-not-stored"); },
          [](const collab_types::ResidencyPartial& r) {
            return t_args("files-partly-stored", {{"bytes", number(r.resident_bytes)}});
          },
          [](const collab_types::ResidencyResident& r) {
            return t_args("files-stored", {{"bytes", number(r.bytes)}});
          },
      },
      a.residency);
  if (a.policy == collab_types::OfflinePolicy::Pinned) {
    sheet.details.push_back(
        t(a.policy_inherited ? "files-kept-offline-parent" : "files-kept-offline"));
  } else {
    sheet.details.push_back(t("files-automatic-storage"));
  }
  sheet.details.push_back(std::visit(
      Overloaded{
          [](const collab_types::ReplicasUnknown&) { return t("files-replica-unverified"); },
          [](const collab_types::ReplicasKnown& r) {
            return t_args("files-replica-counts",
                          {{"reachable", number(r.reachable)}, {"durable", number(r.durable)}});
          },
      },
      a.replicas));
  if (a.transfer.last_error) {
    sheet.details.push_back(*a.transfer.last_error);
  } else {
    sheet.details.push_back(
        t_args("files-transfer-state", {{"state", t(phase_message(a.transfer.phase))}}));
  }
  return sheet;
}

}  // namespace files::app
