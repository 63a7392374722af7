#include "views/file_view/badge.h"

#include "support/overloaded.h"

namespace files::views {

using vask_ui::Color;
using vask_ui::Path;
using vask_ui::Point;
using vask_ui::Rect;

std::optional<BadgeState> badge_state(const model::FileEntry& entry) {
  if (entry.availability) {
    const auto& a = *entry.availability;
    if (a.transfer.last_error) return BadgeState::Failed;
    switch (a.transfer.phase) {
      case collab_types::TransferPhase::Queued:
        return BadgeState::Queued;
      case collab_types::TransferPhase::Downloading:
        return BadgeState::Downloading;
      case collab_types::TransferPhase::Uploading:
        return BadgeState::Uploading;
      case collab_types::TransferPhase::Verifying:
        return BadgeState::Verifying;
      case collab_types::TransferPhase::Idle:
        break;
    }
    return std::visit(
        Overloaded{
            [](const collab_types::ResidencyNotResident&) { return BadgeState::OnlineOnly; },
            [](const collab_types::ResidencyPartial&) { return BadgeState::PartlyLocal; },
            [](const collab_types::ResidencyResident&) { return BadgeState::Local; },
        },
        a.residency);
  }
  if (entry.sync_state) {
    switch (*entry.sync_state) {
      case model::SyncState::Local:
        return BadgeState::Local;
      case model::SyncState::Projected:
        return BadgeState::OnlineOnly;
      case model::SyncState::Downloading:
        return BadgeState::Downloading;
    }
  }
  return std::nullopt;
}

namespace {

// One hue per meaning: green for content on this device, blue for what lives in the cloud,
// violet for transfers in flight, amber for waiting or checking, red for failure.
Color badge_color(BadgeState state) {
  switch (state) {
    case BadgeState::Local:
      return Color::rgb(0x2E7D32);
    case BadgeState::OnlineOnly:
      return Color::rgb(0x1E6FD9);
    case BadgeState::PartlyLocal:
      return Color::rgb(0x2B8A8A);
    case BadgeState::Downloading:
    case BadgeState::Uploading:
      return Color::rgb(0x6A4FD8);
    case BadgeState::Queued:
    case BadgeState::Verifying:
      return Color::rgb(0xB26A00);
    case BadgeState::Failed:
      return Color::rgb(0xC62828);
  }
  return Color::rgb(0x5F6670);
}

Path arrow(Rect r, bool down) {
  float cx = (r.x0 + r.x1) / 2;
  float top = r.y0 + r.height() * 0.22f, bottom = r.y1 - r.height() * 0.22f;
  float head = r.width() * 0.24f;
  Path p;
  if (down) {
    p.move_to({cx, top}).line_to({cx, bottom});
    p.move_to({cx - head, bottom - head}).line_to({cx, bottom}).line_to({cx + head, bottom - head});
  } else {
    p.move_to({cx, bottom}).line_to({cx, top});
    p.move_to({cx - head, top + head}).line_to({cx, top}).line_to({cx + head, top + head});
  }
  return p;
}

}  // namespace

void draw_badge(vask_ui::Canvas& canvas, BadgeState state, Point center, float d, float stroke,
                const vask_ui::Theme& theme) {
  float halo = 0.62f * d;
  Path disc;
  disc.ellipse({center.x - halo, center.y - halo, center.x + halo, center.y + halo});
  canvas.fill_path(disc, theme.content_background);
  Rect box{center.x - d / 2, center.y - d / 2, center.x + d / 2, center.y + d / 2};
  Color color = badge_color(state);
  Path ring;
  ring.ellipse(box);
  // Every glyph sits in a circle: filled for settled states, outlined while work is pending.
  switch (state) {
    case BadgeState::Local: {
      canvas.fill_path(ring, color);
      Path tick;
      tick.move_to({box.x0 + d * 0.28f, box.y0 + d * 0.52f})
          .line_to({box.x0 + d * 0.44f, box.y0 + d * 0.68f})
          .line_to({box.x0 + d * 0.74f, box.y0 + d * 0.36f});
      canvas.stroke_path(tick, theme.content_background, stroke);
      break;
    }
    case BadgeState::OnlineOnly: {
      // A small cloud: three bumps over a flat base.
      Path cloud;
      float y = box.y0 + d * 0.70f;
      cloud.move_to({box.x0 + d * 0.18f, y})
          .quad_to({box.x0 + d * 0.05f, box.y0 + d * 0.48f},
                   {box.x0 + d * 0.30f, box.y0 + d * 0.45f})
          .quad_to({box.x0 + d * 0.40f, box.y0 + d * 0.18f},
                   {box.x0 + d * 0.62f, box.y0 + d * 0.35f})
          .quad_to({box.x0 + d * 0.95f, box.y0 + d * 0.38f}, {box.x0 + d * 0.82f, y})
          .close();
      canvas.stroke_path(cloud, color, stroke);
      break;
    }
    case BadgeState::PartlyLocal: {
      canvas.stroke_path(ring, color, stroke);
      Path lower;
      lower.move_to({center.x, box.y0})
          .cubic_to({box.x0 - d * 0.05f, box.y0}, {box.x0 - d * 0.05f, box.y1}, {center.x, box.y1})
          .close();
      canvas.fill_path(lower, color);
      break;
    }
    case BadgeState::Downloading:
    case BadgeState::Uploading:
      canvas.stroke_path(ring, color, stroke);
      canvas.stroke_path(arrow(box, state == BadgeState::Downloading), color, stroke);
      break;
    case BadgeState::Queued: {
      canvas.stroke_path(ring, color, stroke);
      Path hands;
      hands.move_to({center.x, box.y0 + d * 0.25f})
          .line_to(center)
          .line_to({box.x0 + d * 0.70f, center.y});
      canvas.stroke_path(hands, color, stroke);
      break;
    }
    case BadgeState::Verifying: {
      canvas.stroke_path(ring, color, stroke);
      Path dots;
      for (float fx : {0.3f, 0.5f, 0.7f}) {
        float r = d * 0.06f;
        dots.ellipse({box.x0 + d * fx - r, center.y - r, box.x0 + d * fx + r, center.y + r});
      }
      canvas.fill_path(dots, color);
      break;
    }
    case BadgeState::Failed: {
      canvas.fill_path(ring, color);
      Path mark;
      mark.move_to({center.x, box.y0 + d * 0.24f}).line_to({center.x, box.y0 + d * 0.58f});
      mark.move_to({center.x, box.y0 + d * 0.74f}).line_to({center.x, box.y0 + d * 0.76f});
      canvas.stroke_path(mark, theme.content_background, stroke);
      break;
    }
  }
}

}  // namespace files::views
