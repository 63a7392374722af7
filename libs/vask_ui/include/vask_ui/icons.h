#pragma once

#include <filesystem>
#include <string_view>

#include "vask_ui/canvas.h"

/// Stroke icons drawn from paths on a 24-unit grid, scaled to any size.
namespace vask_ui::icons {

enum class Icon {
  Folder,
  File,
  FileText,
  FileImage,
  FileAudio,
  FileVideo,
  FileArchive,
  FileCode,
  FilePdf,
  FileSpreadsheet,
  FilePresentation,
  FileFont,
  Home,
  Documents,
  Downloads,
  Pictures,
  Music,
  Videos,
  Workspace,
  Root,
  Trash,
  Back,
  Forward,
  Up,
  ViewOptions,
  Sort,
  Extract,
  Close,
  ViewList,
  ViewGrid,
  ChevronRight,
  Star,
};

/// The icon for an item: folders by their well-known names don't matter here (the places
/// sidebar chooses those); files by their extension.
Icon icon_for_path(const std::filesystem::path& path, bool is_dir);

/// Draws the icon centred in `box` (square icons keep their aspect ratio).
void draw_icon(Canvas& canvas, Icon icon, Rect box, Color color, float stroke_width = 1.6f);

}  // namespace vask_ui::icons
