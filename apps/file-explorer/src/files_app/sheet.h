#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "command/explorer_command.h"
#include "vask_ui/geometry.h"

/// The window's single modal sheet: confirmations and information.
namespace files::app {

struct EvictionAction {
  command::Paths paths;
};
struct PermanentDeleteAction {
  command::Paths paths;
};
struct EmptyTrashAction {};
struct MergeApplyAction {
  std::string request;
};
struct NearbyAcceptAction {
  std::string transfer_id;
};
struct NearbyRetryAction {
  std::string transfer_id;
};

/// What the confirm button of a sheet does. Each kind fixes its button label, its description
/// for assistive technology and the command run on confirmation.
using SheetAction = std::variant<EvictionAction, PermanentDeleteAction, EmptyTrashAction,
                                 MergeApplyAction, NearbyAcceptAction, NearbyRetryAction>;

/// The message id of the confirm button's label.
std::string_view action_label_id(const SheetAction& action);
/// The message id of the description read to assistive technology.
std::string_view action_description_id(const SheetAction& action);
command::ExplorerCommand action_command(const SheetAction& action);

struct Sheet {
  std::string title;
  std::string summary;
  std::vector<std::string> details;
  std::optional<SheetAction> action;
};

/// At most this many detail lines are drawn; all of them are read to assistive technology.
inline constexpr std::size_t kMaxDrawnDetails = 14;

struct SheetGeometry {
  vask_ui::Rect card;
  std::optional<vask_ui::Rect> confirm;
  vask_ui::Rect close_box;
  vask_ui::Rect close_icon;

  /// The card centred in a window of the given size (window units).
  static SheetGeometry compute(const Sheet& sheet, vask_ui::Size window);
};

}  // namespace files::app
