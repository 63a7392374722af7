// widget-gallery: every ready-made widget in its states.
//
//   widget-gallery --out gallery.png   draws the page offscreen into a PNG
//   widget-gallery --window            shows it in a window (for trying the widgets by hand
//                                      and for checking the accessibility bridge)

#include <cstdio>
#include <cstring>
#include <string>

#include "gallery.h"
#include "vask_ui/launch.h"

namespace {

constexpr vask_ui::Size kPage{1408, 1018};

int write_png(const char* out) {
  vask_ui::ShotFrame frame(kPage, vask_ui::Theme::screenshot());
  gallery::Gallery page;
  frame.sync_and_layout(page);
  page.stage();
  frame.sync_and_layout(page);
  frame.draw(page);
  if (auto written = frame.write_png(out); !written) {
    std::fprintf(stderr, "widget-gallery: %s\n", written.error().c_str());
    return 1;
  }
  std::printf("widget-gallery: wrote %s\n", out);
  return 0;
}

int show_window(int argc, char** argv) {
  vask_ui::LaunchConfig config;
  config.application_id = "so.vask.widget-gallery";
  config.title = "Widget gallery";
  config.switches = {"--window"};
  config.default_size = [] { return kPage; };
  config.build = [](const vask_ui::LaunchArgs&)
      -> std::expected<std::unique_ptr<vask_ui::Widget>, vask_ui::LaunchError> {
    return std::make_unique<gallery::Gallery>();
  };
  if (auto ran = vask_ui::run(config, argc, argv); !ran) {
    std::fprintf(stderr, "widget-gallery: %s\n", ran.error().message.c_str());
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--window") == 0) return show_window(argc, argv);
    if (std::strcmp(argv[i], "--out") == 0 && i + 1 < argc) return write_png(argv[i + 1]);
  }
  std::fprintf(stderr, "usage: widget-gallery --out FILE.png | --window\n");
  return 2;
}
