#include <gtest/gtest.h>

#include "vask_ui/icons.h"
#include "vask_ui/launch.h"

namespace vask_ui {
namespace {

/// Records what a widget draws, so drawing code can be checked as data.
class RecordingCanvas final : public Canvas {
 public:
  std::vector<std::pair<const Path*, Rect>> strokes;
  std::vector<Rect> path_bounds;

  float scale_factor() const override { return 1; }
  void fill_rect(Rect, Color) override {}
  void fill_rounded_rect(Rect, float, Color) override {}
  void stroke_rounded_rect(Rect, float, Color, float) override {}
  void fill_path(const Path&, Color) override {}
  void stroke_path(const Path& path, Color, float, LineCap) override {
    Rect b{1e9f, 1e9f, -1e9f, -1e9f};
    for (const auto& e : path.elements()) {
      int points = e.verb == Path::Verb::Close   ? 0
                   : e.verb == Path::Verb::Quad  ? 2
                   : e.verb == Path::Verb::Cubic ? 3
                                                 : 1;
      for (int i = 0; i < points; ++i) {
        b.x0 = std::min(b.x0, e.p[i].x);
        b.y0 = std::min(b.y0, e.p[i].y);
        b.x1 = std::max(b.x1, e.p[i].x);
        b.y1 = std::max(b.y1, e.p[i].y);
      }
    }
    path_bounds.push_back(b);
  }
  void draw_shadow(Rect, float, Color, float, Point) override {}
  void draw_image(const Image&, Rect, Rect, float) override {}
  void draw_text(std::string_view, const TextStyle&, Point, Color) override {}
  void push_clip(Rect) override {}
  void push_clip_rounded(Rect, float) override {}
  void pop_clip() override {}
  void push_translate(float, float) override {}
  void pop_translate() override {}
};

TEST(Icons, EveryIconStaysInsideItsBox) {
  const Rect box{100, 50, 132, 82};
  for (int i = 0; i <= static_cast<int>(icons::Icon::Star); ++i) {
    RecordingCanvas canvas;
    icons::draw_icon(canvas, static_cast<icons::Icon>(i), box, Color::rgb(0));
    ASSERT_EQ(canvas.path_bounds.size(), 1u) << "icon " << i;
    Rect b = canvas.path_bounds[0];
    EXPECT_GE(b.x0, box.x0) << "icon " << i;
    EXPECT_GE(b.y0, box.y0) << "icon " << i;
    EXPECT_LE(b.x1, box.x1) << "icon " << i;
    EXPECT_LE(b.y1, box.y1) << "icon " << i;
    // Something of substance: at least half the box along its longer side.
    EXPECT_GE(std::max(b.width(), b.height()), box.width() / 2) << "icon " << i;
  }
}

TEST(Icons, ChosenByExtensionCaseInsensitively) {
  using icons::Icon;
  EXPECT_EQ(icons::icon_for_path("/x/photo.JPG", false), Icon::FileImage);
  EXPECT_EQ(icons::icon_for_path("/x/archive.tar.gz", false), Icon::FileArchive);
  EXPECT_EQ(icons::icon_for_path("/x/photo.jpg", true), Icon::Folder);
  EXPECT_EQ(icons::icon_for_path("/x/.bashrc", false), Icon::File);
  EXPECT_EQ(icons::icon_for_path("/x/README", false), Icon::File);
  EXPECT_EQ(icons::icon_for_path("/x/budget.ods", false), Icon::FileSpreadsheet);
}

/// A widget that paints one coloured square, to check the offscreen frame end to end.
class Square final : public Widget {
 public:
  int syncs = 0;
  LayoutNode build_layout(Size) override {
    LayoutNode root{.id = 0, .style = {.padding = Insets::all(10)}};
    root.add({.id = 1, .style = {.width = Dimension::points(20), .height = Dimension::points(20)}});
    return root;
  }
  void sync(const FrameContext&) override { ++syncs; }
  void apply_layout(const LayoutResult& layout) override { square_ = layout.rect(1); }
  void draw(Canvas& canvas) override { canvas.fill_rect(square_, Color::rgb(0xFF0000)); }
  Rect square_;
};

TEST(ShotFrame, RendersTheWidgetOffscreenAndWritesAPng) {
  ShotFrame frame(Size{64, 48}, Theme::screenshot());
  Square square;
  frame.sync_and_layout(square);
  EXPECT_EQ(square.syncs, 1);
  EXPECT_EQ(square.square_, (Rect{10, 10, 30, 30}));
  frame.draw(square);
  EXPECT_EQ(frame.count_pixels_unlike_corner(), 400u);
  auto out = std::filesystem::temp_directory_path() / "vask-ui-shot-test.png";
  ASSERT_TRUE(frame.write_png(out).has_value());
  EXPECT_GT(std::filesystem::file_size(out), 60u);
  std::filesystem::remove(out);
  EXPECT_FALSE(frame.write_png("/nonexistent-dir/x.png").has_value());
}

}  // namespace
}  // namespace vask_ui
