#include "files_app/sheet.h"

#include <algorithm>

#include "support/overloaded.h"

namespace files::app {

std::string_view action_label_id(const SheetAction& action) {
  return std::visit(
      Overloaded{
          [](const EvictionAction&) { return "files-destructive-eviction-confirm"; },
          [](const PermanentDeleteAction&) { return "files-permanent-delete-confirm"; },
          [](const EmptyTrashAction&) { return "files-empty-trash-confirm"; },
          [](const MergeApplyAction&) { return "files-merge-apply-safe"; },
          [](const NearbyAcceptAction&) { return "files-nearby-choose-destination"; },
          [](const NearbyRetryAction&) { return "files-nearby-retry"; },
      },
      action);
}

std::string_view action_description_id(const SheetAction& action) {
  return std::visit(Overloaded{
                        [](const EvictionAction&) { return "files-destructive-eviction-loss"; },
                        [](const PermanentDeleteAction&) { return "files-permanent-delete-loss"; },
                        [](const EmptyTrashAction&) { return "files-permanent-delete-loss"; },
                        [](const MergeApplyAction&) { return "files-merge-apply-safe-detail"; },
                        [](const NearbyAcceptAction&) { return "files-nearby-consent-detail"; },
                        [](const NearbyRetryAction&) { return "files-nearby-retry-detail"; },
                    },
                    action);
}

command::ExplorerCommand action_command(const SheetAction& action) {
  return std::visit(
      Overloaded{
          [](const EvictionAction& a) -> command::ExplorerCommand {
            return command::ConfirmDestructiveEviction{a.paths};
          },
          [](const PermanentDeleteAction& a) -> command::ExplorerCommand {
            return command::PurgePaths{a.paths};
          },
          [](const EmptyTrashAction&) -> command::ExplorerCommand { return command::EmptyTrash{}; },
          [](const MergeApplyAction&) -> command::ExplorerCommand {
            return command::ApplySafeMerge{};
          },
          [](const NearbyAcceptAction& a) -> command::ExplorerCommand {
            return command::AcceptNearbyTransfer{a.transfer_id};
          },
          [](const NearbyRetryAction& a) -> command::ExplorerCommand {
            return command::RetryNearbyTransfer{a.transfer_id};
          },
      },
      action);
}

SheetGeometry SheetGeometry::compute(const Sheet& sheet, vask_ui::Size window) {
  float content =
      sheet.details.empty()
          ? 143.0f
          : 116.0f + 27.0f * static_cast<float>(std::min(sheet.details.size(), kMaxDrawnDetails));
  if (sheet.action) content += 58;
  float width = std::clamp(window.width, 320.0f, 680.0f) - 32;
  float height = std::max(std::min(content, window.height - 32), 180.0f);
  float left = (window.width - width) / 2;
  float top = (window.height - height) / 2;
  SheetGeometry g;
  g.card = vask_ui::Rect::from_xywh(left, top, width, height);
  if (sheet.action) {
    g.confirm = vask_ui::Rect{g.card.x0 + 24, g.card.y1 - 50, g.card.x1 - 24, g.card.y1 - 14};
  }
  g.close_box = {g.card.x1 - 48, g.card.y0 + 6, g.card.x1 - 8, g.card.y0 + 46};
  g.close_icon = {g.card.x1 - 42, g.card.y0 + 12, g.card.x1 - 14, g.card.y0 + 40};
  return g;
}

}  // namespace files::app
