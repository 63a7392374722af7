#include "vask_ui/icons.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string>

namespace vask_ui::icons {
namespace {

struct ExtensionIcon {
  std::string_view extension;
  Icon icon;
};

// Lower-case extensions without the dot. Kept sorted by icon for reading, searched linearly:
// the table is small and only consulted when a row is (re)built.
constexpr std::array kExtensionIcons{
    ExtensionIcon{"txt", Icon::FileText},
    ExtensionIcon{"md", Icon::FileText},
    ExtensionIcon{"rtf", Icon::FileText},
    ExtensionIcon{"doc", Icon::FileText},
    ExtensionIcon{"docx", Icon::FileText},
    ExtensionIcon{"odt", Icon::FileText},
    ExtensionIcon{"log", Icon::FileText},
    ExtensionIcon{"epub", Icon::FileText},
    ExtensionIcon{"png", Icon::FileImage},
    ExtensionIcon{"jpg", Icon::FileImage},
    ExtensionIcon{"jpeg", Icon::FileImage},
    ExtensionIcon{"gif", Icon::FileImage},
    ExtensionIcon{"webp", Icon::FileImage},
    ExtensionIcon{"svg", Icon::FileImage},
    ExtensionIcon{"bmp", Icon::FileImage},
    ExtensionIcon{"tif", Icon::FileImage},
    ExtensionIcon{"tiff", Icon::FileImage},
    ExtensionIcon{"heic", Icon::FileImage},
    ExtensionIcon{"mp3", Icon::FileAudio},
    ExtensionIcon{"flac", Icon::FileAudio},
    ExtensionIcon{"ogg", Icon::FileAudio},
    ExtensionIcon{"wav", Icon::FileAudio},
    ExtensionIcon{"m4a", Icon::FileAudio},
    ExtensionIcon{"opus", Icon::FileAudio},
    ExtensionIcon{"mp4", Icon::FileVideo},
    ExtensionIcon{"mkv", Icon::FileVideo},
    ExtensionIcon{"webm", Icon::FileVideo},
    ExtensionIcon{"mov", Icon::FileVideo},
    ExtensionIcon{"avi", Icon::FileVideo},
    ExtensionIcon{"zip", Icon::FileArchive},
    ExtensionIcon{"tar", Icon::FileArchive},
    ExtensionIcon{"gz", Icon::FileArchive},
    ExtensionIcon{"tgz", Icon::FileArchive},
    ExtensionIcon{"xz", Icon::FileArchive},
    ExtensionIcon{"bz2", Icon::FileArchive},
    ExtensionIcon{"7z", Icon::FileArchive},
    ExtensionIcon{"zst", Icon::FileArchive},
    ExtensionIcon{"c", Icon::FileCode},
    ExtensionIcon{"h", Icon::FileCode},
    ExtensionIcon{"cpp", Icon::FileCode},
    ExtensionIcon{"hpp", Icon::FileCode},
    ExtensionIcon{"rs", Icon::FileCode},
    ExtensionIcon{"py", Icon::FileCode},
    ExtensionIcon{"js", Icon::FileCode},
    ExtensionIcon{"ts", Icon::FileCode},
    ExtensionIcon{"json", Icon::FileCode},
    ExtensionIcon{"toml", Icon::FileCode},
    ExtensionIcon{"yaml", Icon::FileCode},
    ExtensionIcon{"yml", Icon::FileCode},
    ExtensionIcon{"sh", Icon::FileCode},
    ExtensionIcon{"html", Icon::FileCode},
    ExtensionIcon{"css", Icon::FileCode},
    ExtensionIcon{"xml", Icon::FileCode},
    ExtensionIcon{"go", Icon::FileCode},
    ExtensionIcon{"pdf", Icon::FilePdf},
    ExtensionIcon{"ods", Icon::FileSpreadsheet},
    ExtensionIcon{"xls", Icon::FileSpreadsheet},
    ExtensionIcon{"xlsx", Icon::FileSpreadsheet},
    ExtensionIcon{"csv", Icon::FileSpreadsheet},
    ExtensionIcon{"parquet", Icon::FileSpreadsheet},
    ExtensionIcon{"odp", Icon::FilePresentation},
    ExtensionIcon{"ppt", Icon::FilePresentation},
    ExtensionIcon{"pptx", Icon::FilePresentation},
    ExtensionIcon{"ttf", Icon::FileFont},
    ExtensionIcon{"otf", Icon::FileFont},
    ExtensionIcon{"woff", Icon::FileFont},
    ExtensionIcon{"woff2", Icon::FileFont},
};

/// Maps the 24-unit icon grid into the target box.
struct Grid {
  float x0, y0, s;
  Point operator()(float x, float y) const { return {x0 + x * s, y0 + y * s}; }
  Rect rect(float x0g, float y0g, float x1g, float y1g) const {
    return {x0 + x0g * s, y0 + y0g * s, x0 + x1g * s, y0 + y1g * s};
  }
};

void sheet_outline(Path& p, const Grid& g) {
  p.move_to(g(6, 3)).line_to(g(14, 3)).line_to(g(19, 8)).line_to(g(19, 21)).line_to(g(6, 21));
  p.close();
  p.move_to(g(14, 3)).line_to(g(14, 8)).line_to(g(19, 8));
}

void folder_outline(Path& p, const Grid& g) {
  p.move_to(g(3, 6.5f)).quad_to(g(3, 5), g(4.5f, 5)).line_to(g(9, 5)).line_to(g(11, 7.5f));
  p.line_to(g(19.5f, 7.5f)).quad_to(g(21, 7.5f), g(21, 9)).line_to(g(21, 17.5f));
  p.quad_to(g(21, 19), g(19.5f, 19)).line_to(g(4.5f, 19)).quad_to(g(3, 19), g(3, 17.5f));
  p.close();
}

Path build(Icon icon, const Grid& g) {
  Path p;
  switch (icon) {
    case Icon::Folder:
      folder_outline(p, g);
      p.move_to(g(3, 10)).line_to(g(21, 10));
      break;
    case Icon::File:
      sheet_outline(p, g);
      break;
    case Icon::FileText:
      sheet_outline(p, g);
      p.move_to(g(9, 12)).line_to(g(16, 12)).move_to(g(9, 15)).line_to(g(16, 15));
      p.move_to(g(9, 18)).line_to(g(13, 18));
      break;
    case Icon::FileImage:
      sheet_outline(p, g);
      p.ellipse(g.rect(8.5f, 10, 11.5f, 13));
      p.move_to(g(8, 19)).line_to(g(12, 15)).line_to(g(14, 17)).line_to(g(15.5f, 15.5f));
      p.line_to(g(18, 18));
      break;
    case Icon::FileAudio:
      sheet_outline(p, g);
      p.ellipse(g.rect(8.5f, 15.5f, 11.5f, 18.5f));
      p.move_to(g(11.5f, 17)).line_to(g(11.5f, 11)).line_to(g(15.5f, 10)).line_to(g(15.5f, 12));
      break;
    case Icon::FileVideo:
      sheet_outline(p, g);
      p.move_to(g(10, 11.5f)).line_to(g(15.5f, 14.75f)).line_to(g(10, 18)).close();
      break;
    case Icon::FileArchive:
      sheet_outline(p, g);
      p.move_to(g(11, 3)).line_to(g(11, 5)).move_to(g(11, 7)).line_to(g(11, 9));
      p.move_to(g(11, 11)).line_to(g(11, 13));
      p.rounded_rect(g.rect(9.5f, 14, 12.5f, 18), 0.8f * g.s);
      break;
    case Icon::FileCode:
      sheet_outline(p, g);
      p.move_to(g(10.5f, 11.5f)).line_to(g(8.5f, 14.5f)).line_to(g(10.5f, 17.5f));
      p.move_to(g(14.5f, 11.5f)).line_to(g(16.5f, 14.5f)).line_to(g(14.5f, 17.5f));
      break;
    case Icon::FilePdf:
      sheet_outline(p, g);
      p.move_to(g(9, 17)).line_to(g(9, 12)).line_to(g(11, 12)).quad_to(g(12.5f, 12),
                                                                       g(12.5f, 13.5f));
      p.quad_to(g(12.5f, 15), g(11, 15)).line_to(g(9, 15));
      p.move_to(g(14.5f, 12)).line_to(g(16.5f, 12)).move_to(g(14.5f, 12)).line_to(g(14.5f, 17));
      p.move_to(g(14.5f, 14.5f)).line_to(g(16, 14.5f));
      break;
    case Icon::FileSpreadsheet:
      sheet_outline(p, g);
      p.rounded_rect(g.rect(8.5f, 11, 16.5f, 18.5f), 0.5f * g.s);
      p.move_to(g(8.5f, 14.75f))
          .line_to(g(16.5f, 14.75f))
          .move_to(g(12.5f, 11))
          .line_to(g(12.5f, 18.5f));
      break;
    case Icon::FilePresentation:
      sheet_outline(p, g);
      p.rounded_rect(g.rect(8.5f, 11, 16.5f, 16.5f), 0.5f * g.s);
      p.move_to(g(12.5f, 16.5f)).line_to(g(12.5f, 19));
      break;
    case Icon::FileFont:
      sheet_outline(p, g);
      p.move_to(g(9, 18)).line_to(g(12.5f, 11)).line_to(g(16, 18));
      p.move_to(g(10.3f, 15.5f)).line_to(g(14.7f, 15.5f));
      break;
    case Icon::Home:
      p.move_to(g(3.5f, 11)).line_to(g(12, 4)).line_to(g(20.5f, 11));
      p.move_to(g(6, 9.5f)).line_to(g(6, 20)).line_to(g(18, 20)).line_to(g(18, 9.5f));
      p.move_to(g(10, 20)).line_to(g(10, 14.5f)).line_to(g(14, 14.5f)).line_to(g(14, 20));
      break;
    case Icon::Documents:
      p.move_to(g(8, 3))
          .line_to(g(15, 3))
          .line_to(g(19, 7))
          .line_to(g(19, 18))
          .line_to(g(8, 18))
          .close();
      p.move_to(g(5, 6)).line_to(g(5, 21)).line_to(g(15, 21));
      p.move_to(g(11, 10.5f)).line_to(g(16, 10.5f)).move_to(g(11, 13.5f)).line_to(g(16, 13.5f));
      break;
    case Icon::Downloads:
      p.move_to(g(12, 3.5f))
          .line_to(g(12, 15))
          .move_to(g(7, 10))
          .line_to(g(12, 15))
          .line_to(g(17, 10));
      p.move_to(g(4, 16)).line_to(g(4, 20)).line_to(g(20, 20)).line_to(g(20, 16));
      break;
    case Icon::Pictures:
      p.rounded_rect(g.rect(3, 5, 21, 19), 2 * g.s);
      p.ellipse(g.rect(7, 8, 10.5f, 11.5f));
      p.move_to(g(3.5f, 17.5f)).line_to(g(9, 13)).line_to(g(12.5f, 16)).line_to(g(15.5f, 12.5f));
      p.line_to(g(20.5f, 17));
      break;
    case Icon::Music:
      p.ellipse(g.rect(4, 15, 9, 20));
      p.ellipse(g.rect(14, 13, 19, 18));
      p.move_to(g(9, 17.5f)).line_to(g(9, 6)).line_to(g(19, 4)).line_to(g(19, 15.5f));
      p.move_to(g(9, 9.5f)).line_to(g(19, 7.5f));
      break;
    case Icon::Videos:
      p.rounded_rect(g.rect(3, 6, 16, 18), 2 * g.s);
      p.move_to(g(16, 10.5f)).line_to(g(21, 7.5f)).line_to(g(21, 16.5f)).line_to(g(16, 13.5f));
      break;
    case Icon::Workspace:
      p.ellipse(g.rect(3.5f, 3.5f, 20.5f, 20.5f));
      p.ellipse(g.rect(9, 7, 15, 13));
      p.move_to(g(6.5f, 18)).quad_to(g(12, 11.5f), g(17.5f, 18));
      break;
    case Icon::Root:
      p.rounded_rect(g.rect(3.5f, 6, 20.5f, 18), 2 * g.s);
      p.move_to(g(3.5f, 13)).line_to(g(20.5f, 13));
      p.ellipse(g.rect(15.5f, 14.5f, 17.5f, 16.5f));
      break;
    case Icon::Trash:
      p.move_to(g(4, 6.5f)).line_to(g(20, 6.5f));
      p.move_to(g(9, 6.5f)).line_to(g(9, 4)).line_to(g(15, 4)).line_to(g(15, 6.5f));
      p.move_to(g(6, 6.5f)).line_to(g(7, 20)).line_to(g(17, 20)).line_to(g(18, 6.5f));
      p.move_to(g(10, 10.5f)).line_to(g(10, 16.5f)).move_to(g(14, 10.5f)).line_to(g(14, 16.5f));
      break;
    case Icon::Back:
      p.move_to(g(19, 12)).line_to(g(5, 12)).move_to(g(11, 6)).line_to(g(5, 12)).line_to(g(11, 18));
      break;
    case Icon::Forward:
      p.move_to(g(5, 12)).line_to(g(19, 12)).move_to(g(13, 6)).line_to(g(19, 12)).line_to(
          g(13, 18));
      break;
    case Icon::Up:
      p.move_to(g(12, 19)).line_to(g(12, 5)).move_to(g(6, 11)).line_to(g(12, 5)).line_to(g(18, 11));
      break;
    case Icon::ViewOptions:
      p.ellipse(g.rect(4, 10.5f, 7, 13.5f));
      p.ellipse(g.rect(10.5f, 10.5f, 13.5f, 13.5f));
      p.ellipse(g.rect(17, 10.5f, 20, 13.5f));
      break;
    case Icon::Sort:
      p.move_to(g(8, 19))
          .line_to(g(8, 5))
          .move_to(g(4.5f, 8.5f))
          .line_to(g(8, 5))
          .line_to(g(11.5f, 8.5f));
      p.move_to(g(16, 5)).line_to(g(16, 19)).move_to(g(12.5f, 15.5f)).line_to(g(16, 19));
      p.line_to(g(19.5f, 15.5f));
      break;
    case Icon::Extract:
      p.rounded_rect(g.rect(4, 4, 20, 10), 1.5f * g.s);
      p.move_to(g(12, 12)).line_to(g(12, 20)).move_to(g(8.5f, 16.5f)).line_to(g(12, 20));
      p.line_to(g(15.5f, 16.5f));
      break;
    case Icon::Close:
      p.move_to(g(6, 6)).line_to(g(18, 18)).move_to(g(18, 6)).line_to(g(6, 18));
      break;
    case Icon::ViewList:
      for (float y : {6.5f, 12.0f, 17.5f}) {
        p.move_to(g(4, y)).line_to(g(5.5f, y)).move_to(g(9, y)).line_to(g(20, y));
      }
      break;
    case Icon::ViewGrid:
      p.rounded_rect(g.rect(4, 4, 10.5f, 10.5f), 1.5f * g.s);
      p.rounded_rect(g.rect(13.5f, 4, 20, 10.5f), 1.5f * g.s);
      p.rounded_rect(g.rect(4, 13.5f, 10.5f, 20), 1.5f * g.s);
      p.rounded_rect(g.rect(13.5f, 13.5f, 20, 20), 1.5f * g.s);
      break;
    case Icon::ChevronRight:
      p.move_to(g(9.5f, 6)).line_to(g(15.5f, 12)).line_to(g(9.5f, 18));
      break;
    case Icon::Star:
      p.move_to(g(12, 3.5f))
          .line_to(g(14.6f, 8.9f))
          .line_to(g(20.5f, 9.7f))
          .line_to(g(16.2f, 13.8f));
      p.line_to(g(17.3f, 19.7f))
          .line_to(g(12, 16.9f))
          .line_to(g(6.7f, 19.7f))
          .line_to(g(7.8f, 13.8f));
      p.line_to(g(3.5f, 9.7f)).line_to(g(9.4f, 8.9f)).close();
      break;
  }
  return p;
}

}  // namespace

Icon icon_for_path(const std::filesystem::path& path, bool is_dir) {
  if (is_dir) return Icon::Folder;
  std::string ext = path.extension().string();
  if (ext.size() < 2) return Icon::File;
  ext.erase(0, 1);
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  for (const ExtensionIcon& entry : kExtensionIcons) {
    if (entry.extension == ext) return entry.icon;
  }
  return Icon::File;
}

void draw_icon(Canvas& canvas, Icon icon, Rect box, Color color, float stroke_width) {
  float side = std::min(box.width(), box.height());
  if (side <= 0) return;
  Grid g{box.x0 + (box.width() - side) / 2, box.y0 + (box.height() - side) / 2, side / 24.0f};
  // Stroke width is given for a 24-unit icon and scales with it, but never below a hairline.
  float width = std::max(1.0f, stroke_width * side / 24.0f);
  canvas.stroke_path(build(icon, g), color, width, LineCap::Round);
}

}  // namespace vask_ui::icons
