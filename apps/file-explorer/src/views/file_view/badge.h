#pragma once

#include <optional>

#include "model/file_entry.h"
#include "vask_ui/canvas.h"
#include "vask_ui/theme.h"

/// The collaborative badge on an item's icon: where its content is and what is happening to it.
namespace files::views {

enum class BadgeState {
  Local,
  OnlineOnly,
  PartlyLocal,
  Downloading,
  Uploading,
  Queued,
  Verifying,
  Failed
};

/// The availability projection decides when there is one (a transfer in progress or failed
/// first, then the residency); otherwise the plain sync state does. Items with neither have
/// no badge.
std::optional<BadgeState> badge_state(const model::FileEntry& entry);

/// Draws the badge centred on `center`: a disc in the view's background, then the state's
/// glyph in a d × d square.
void draw_badge(vask_ui::Canvas& canvas, BadgeState state, vask_ui::Point center, float diameter,
                float stroke_width, const vask_ui::Theme& theme);

}  // namespace files::views
