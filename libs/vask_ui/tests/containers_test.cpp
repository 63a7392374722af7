#include <gtest/gtest.h>

#include "vask_ui/clock.h"
#include "vask_ui/text.h"
#include "vask_ui/widgets/button.h"
#include "vask_ui/widgets/column.h"
#include "vask_ui/widgets/empty_state.h"
#include "vask_ui/widgets/nav_shell.h"
#include "vask_ui/widgets/scrollable.h"
#include "vask_ui/widgets/spinner.h"
#include "vask_ui/widgets/text.h"
#include "widget_test_support.h"

namespace vask_ui {
namespace {

using namespace vask_ui::testing;

/// A block of fixed height that remembers where it was laid out and what reached it.
class Block final : public WidgetBase {
 public:
  explicit Block(float height, bool focusable = false) : height_(height), focusable_(focusable) {}
  LayoutNode build_layout(Size) override {
    return {
        .id = 0, .style = {.height = Dimension::points(height_)}, .content_size = {50, height_}};
  }
  void apply_layout(const LayoutResult& layout) override { rect = layout.rect(0); }
  void draw(Canvas&) override { mark_drawn(); }
  EventResult handle_event(const Event& event) override {
    events.push_back(event);
    if (const auto* p = std::get_if<PointerPress>(&event)) {
      last_press = p->position;
      return EventResult::Handled;
    }
    const auto* k = std::get_if<KeyPress>(&event);
    return k != nullptr && k->key == Key::Enter && focusable_ ? EventResult::Handled
                                                              : EventResult::Ignored;
  }
  void focus_changed(bool f) override { focused = f; }
  bool accepts_focus() const override { return focusable_; }
  AccessNode accessibility() const override {
    return {.role = AccessRole::List, .name = "block", .bounds = rect};
  }

  Rect rect;
  Point last_press;
  bool focused = false;
  std::vector<Event> events;

 private:
  float height_;
  bool focusable_;
};

TEST(Column, StacksChildrenAndRoutesPressesToTheOneUnderThePointer) {
  Column column;
  column.style().gap = 10;
  column.style().padding = Insets::all(5);
  auto a = std::make_unique<Block>(40);
  auto b = std::make_unique<Block>(60);
  Block* pa = a.get();
  Block* pb = b.get();
  column.add(std::move(a)).add(std::move(b));
  lay_out(column, {200, 300});
  EXPECT_EQ(pa->rect, (Rect{5, 5, 195, 45}));
  EXPECT_EQ(pb->rect, (Rect{5, 55, 195, 115}));
  EXPECT_EQ(column.handle_event(press(20, 60)), EventResult::Handled);
  EXPECT_EQ(pb->last_press, (Point{20, 60}));
  EXPECT_TRUE(pa->events.empty());
  EXPECT_EQ(column.handle_event(press(20, 250)), EventResult::Ignored);
}

TEST(Column, PressedChildKeepsThePointerUntilRelease) {
  Column column;
  Button first("First");
  Button second("Second");
  int second_clicks = 0;
  second.set_on_activate([&] { ++second_clicks; });
  column.add(WidgetSlot::borrow(first)).add(WidgetSlot::borrow(second));
  lay_out(column, {200, 300});
  Point in_first = first.rect().center();
  Point in_second = second.rect().center();
  column.handle_event(move(in_first.x, in_first.y));
  EXPECT_TRUE(first.is_hovered());
  column.handle_event(move(in_second.x, in_second.y));
  EXPECT_FALSE(first.is_hovered());
  EXPECT_TRUE(second.is_hovered());
  column.handle_event(press(in_first.x, in_first.y));
  column.handle_event(release(in_second.x, in_second.y));
  EXPECT_FALSE(first.take_activated());
  EXPECT_EQ(second_clicks, 0);
}

TEST(Column, FocusFollowsPressesAndTabAndKeysGoToTheFocusedChild) {
  Column column;
  Button first("First");
  Button second("Second");
  Text label("Just words");
  column.add(WidgetSlot::borrow(first))
      .add(WidgetSlot::borrow(label))
      .add(WidgetSlot::borrow(second));
  lay_out(column, {200, 300});
  column.focus_changed(true);
  EXPECT_TRUE(first.is_focused());
  EXPECT_EQ(column.handle_event(key(Key::Tab)), EventResult::Handled);
  EXPECT_FALSE(first.is_focused());
  EXPECT_TRUE(second.is_focused());
  column.handle_event(key(Key::Enter));
  EXPECT_TRUE(second.take_activated());
  EXPECT_FALSE(first.take_activated());
  // Past the last focusable child Tab is left to the parent.
  EXPECT_EQ(column.handle_event(key(Key::Tab)), EventResult::Ignored);
  EXPECT_EQ(column.handle_event(key(Key::Tab, kShift)), EventResult::Handled);
  EXPECT_TRUE(first.is_focused());
  Point in_second = second.rect().center();
  column.handle_event(press(in_second.x, in_second.y));
  column.handle_event(release(in_second.x, in_second.y));
  EXPECT_TRUE(second.is_focused());
  EXPECT_TRUE(second.take_activated());
}

TEST(Column, ForwardsControlsAndSemanticActions) {
  Column column;
  Button retry("Try again");
  retry.set_control_id("files.retry");
  column.add(std::make_unique<Text>("Heading")).add(WidgetSlot::borrow(retry));
  lay_out(column, {200, 300});
  EXPECT_EQ(column.resources().size(), 1u);
  EXPECT_TRUE(column.take_control_invocation({"files.retry", "invoke", std::nullopt}));
  EXPECT_TRUE(retry.take_activated());
  AccessNode node = column.accessibility();
  ASSERT_EQ(node.children.size(), 2u);
  EXPECT_EQ(node.children[0].role, AccessRole::StaticText);
  EXPECT_EQ(node.children[1].name, "Try again");
}

class ScrollableTest : public ::testing::Test {
 protected:
  void SetUp() override {
    memory.reset("test");
    auto content = std::make_unique<Block>(1000);
    block = content.get();
    scroll = std::make_unique<Scrollable>("test", std::move(content), memory);
    lay_out(*scroll, {300, 200});
  }
  EventResult wheel(float dy, WheelUnit unit = WheelUnit::Lines) {
    return scroll->handle_event(Wheel{{100, 100}, unit, 0, dy, {}});
  }

  ScrollMemory memory;
  Block* block = nullptr;
  std::unique_ptr<Scrollable> scroll;
};

TEST_F(ScrollableTest, WheelLinesAndPixelsMoveTheContent) {
  EXPECT_EQ(scroll->max_offset(), 800);
  EXPECT_EQ(wheel(-3), EventResult::Handled);  // towards the user: further down
  EXPECT_EQ(scroll->offset(), 3 * Scrollable::kLineStep);
  EXPECT_EQ(block->rect.y0, -60);
  wheel(-15, WheelUnit::Pixels);
  EXPECT_EQ(scroll->offset(), 75);
  wheel(100);
  EXPECT_EQ(scroll->offset(), 0);
  // At the top there is nowhere to go: the wheel is left for someone else.
  EXPECT_EQ(wheel(1), EventResult::Ignored);
  wheel(-1000);
  EXPECT_EQ(scroll->offset(), 800);
}

TEST_F(ScrollableTest, ContentReceivesWindowCoordinates) {
  scroll->set_offset(300);
  scroll->handle_event(press(40, 50));
  EXPECT_EQ(block->last_press, (Point{40, 50}));
  // 50 units into the viewport is 350 units into the content.
  EXPECT_EQ(block->last_press.y - block->rect.y0, 350);
}

TEST_F(ScrollableTest, TheOffsetOutlivesTheWidgetUnderItsKey) {
  scroll->set_offset(120);
  Scrollable rebuilt("test", std::make_unique<Block>(1000), memory);
  lay_out(rebuilt, {300, 200});
  EXPECT_EQ(rebuilt.offset(), 120);
  EXPECT_EQ(rebuilt.content_rect().y0, -120);
  memory.reset("test");
  lay_out(rebuilt, {300, 200});
  EXPECT_EQ(rebuilt.content_rect().y0, 0);
  Scrollable other("other", std::make_unique<Block>(1000), memory);
  lay_out(other, {300, 200});
  EXPECT_EQ(other.offset(), 0);
}

TEST_F(ScrollableTest, AShorterContentClampsTheOffset) {
  scroll->set_offset(800);
  scroll->set_content(std::make_unique<Block>(300));
  lay_out(*scroll, {300, 200});
  EXPECT_EQ(scroll->offset(), 100);
  scroll->set_content(std::make_unique<Block>(50));
  lay_out(*scroll, {300, 200});
  EXPECT_EQ(scroll->offset(), 0);
  EXPECT_TRUE(scroll->scroll_bar_rect().is_empty());
}

TEST_F(ScrollableTest, TheThumbDragsAndTheTrackPages) {
  Rect thumb = scroll->thumb_rect();
  ASSERT_FALSE(thumb.is_empty());
  EXPECT_NEAR(thumb.height(), scroll->scroll_bar_rect().height() * 0.2f, 0.5f);
  Point grip = thumb.center();
  EXPECT_EQ(scroll->handle_event(press(grip.x, grip.y)), EventResult::Handled);
  float travel = scroll->scroll_bar_rect().height() - thumb.height();
  scroll->handle_event(move(grip.x, grip.y + 20));
  EXPECT_NEAR(scroll->offset(), 20 * 800 / travel, 0.01f);
  // The drag goes on outside the bar until the button is released.
  scroll->handle_event(move(grip.x - 200, grip.y + 5000));
  EXPECT_EQ(scroll->offset(), 800);
  scroll->handle_event(release(grip.x - 200, grip.y + 5000));
  EXPECT_TRUE(std::none_of(block->events.begin(), block->events.end(), [](const Event& e) {
    return std::holds_alternative<PointerPress>(e) || std::holds_alternative<PointerRelease>(e);
  }));

  Rect track = scroll->scroll_bar_rect();
  scroll->handle_event(press(track.center().x, track.y0 + 2));
  EXPECT_EQ(scroll->offset(), 800 - 200 * 0.9f);
}

TEST_F(ScrollableTest, PageKeysAndRevealScroll) {
  EXPECT_EQ(scroll->handle_event(key(Key::PageDown)), EventResult::Handled);
  EXPECT_EQ(scroll->offset(), 180);
  scroll->handle_event(key(Key::PageUp));
  EXPECT_EQ(scroll->offset(), 0);
  scroll->reveal(500, 534);
  EXPECT_EQ(scroll->offset(), 334);
  scroll->reveal(100, 134);
  EXPECT_EQ(scroll->offset(), 100);
  scroll->reveal(150, 184);  // already in view
  EXPECT_EQ(scroll->offset(), 100);
}

class NavShellTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto side = std::make_unique<Block>(10, true);
    auto main = std::make_unique<Block>(10, true);
    sidebar = side.get();
    content = main.get();
    shell = std::make_unique<NavShell>(std::move(side), std::move(main));
    shell->set_accessible_names("Places", "Folder");
  }
  Block* sidebar = nullptr;
  Block* content = nullptr;
  std::unique_ptr<NavShell> shell;
};

TEST_F(NavShellTest, WideShellsPutTheSidebarBesideTheContent) {
  lay_out(*shell, {1000, 600});
  EXPECT_FALSE(shell->is_collapsed());
  EXPECT_TRUE(shell->is_sidebar_shown());
  EXPECT_FALSE(shell->sidebar_overlays_content());
  EXPECT_EQ(sidebar->rect, (Rect{0, 0, NavShell::kDefaultSidebarWidth, 600}));
  EXPECT_EQ(content->rect.x0, NavShell::kDefaultSidebarWidth);
  shell->handle_event(press(100, 100));
  EXPECT_EQ(sidebar->last_press, (Point{100, 100}));
  shell->handle_event(press(600, 100));
  EXPECT_EQ(content->last_press, (Point{600, 100}));
  // F9 hides and shows the sidebar.
  shell->handle_event(key(Key::F9));
  lay_out(*shell, {1000, 600});
  EXPECT_FALSE(shell->is_sidebar_shown());
  EXPECT_EQ(content->rect.x0, 0);
}

TEST_F(NavShellTest, NarrowShellsShowTheSidebarOverTheContent) {
  shell->set_collapse_width(640);
  lay_out(*shell, {500, 600}, Theme::screenshot());
  EXPECT_TRUE(shell->is_collapsed());
  EXPECT_FALSE(shell->is_sidebar_shown());
  EXPECT_EQ(content->rect, (Rect{0, 0, 500, 600}));
  shell->toggle_sidebar();
  lay_out(*shell, {500, 600}, Theme::screenshot());
  EXPECT_TRUE(shell->sidebar_overlays_content());
  EXPECT_EQ(sidebar->rect.x0, 0);
  EXPECT_TRUE(sidebar->focused || !content->focused);
  // The scrim takes a press and closes the sidebar; the content never sees it.
  content->events.clear();
  EXPECT_EQ(shell->handle_event(press(450, 300)), EventResult::Handled);
  EXPECT_FALSE(shell->is_sidebar_shown());
  EXPECT_TRUE(content->events.empty());
  shell->toggle_sidebar();
  shell->handle_event(key(Key::Escape));
  EXPECT_FALSE(shell->is_sidebar_shown());
}

TEST_F(NavShellTest, SnappedShellsKeepTheSidebarBeside) {
  shell->set_snapped(true);
  lay_out(*shell, {500, 600});
  EXPECT_FALSE(shell->is_collapsed());
  EXPECT_TRUE(shell->is_sidebar_shown());
  EXPECT_EQ(content->rect.x0, NavShell::kDefaultSidebarWidth);
}

TEST_F(NavShellTest, TheSlideAsksForFramesOnlyWhileItRuns) {
  ui_clock::ManualClock clock;
  shell->set_collapse_width(640);
  lay_out(*shell, {500, 600});
  EXPECT_FALSE(shell->needs_animation_frame());
  shell->set_sidebar_open(true);
  EXPECT_TRUE(shell->needs_animation_frame());
  clock.advance(std::chrono::milliseconds(500));
  lay_out(*shell, {500, 600});
  EXPECT_FALSE(shell->needs_animation_frame());
  EXPECT_EQ(shell->sidebar_rect().x0, 0);
}

TEST_F(NavShellTest, AccessibilityNamesBothRegions) {
  lay_out(*shell, {1000, 600});
  AccessNode node = shell->accessibility();
  ASSERT_EQ(node.children.size(), 2u);
  EXPECT_EQ(node.children[0].role, AccessRole::Navigation);
  EXPECT_EQ(node.children[0].name, "Places");
  EXPECT_TRUE(node.children[0].states.expanded);
  ASSERT_EQ(node.children[0].children.size(), 1u);
  EXPECT_EQ(node.children[1].role, AccessRole::Pane);
  EXPECT_EQ(node.children[1].name, "Folder");
  ASSERT_EQ(node.children[1].children.size(), 1u);
  EXPECT_EQ(node.children[1].children[0].name, "block");
}

TEST(EmptyState, CentresItsContentAndHoldsTheAction) {
  EmptyState state("Couldn’t open this folder", "Permission denied · /root");
  Button retry("Try Again");
  state.set_action(WidgetSlot::borrow(retry));
  state.set_error(true);
  lay_out(state, {800, 600});
  Rect action = retry.rect();
  EXPECT_GT(action.width(), 40);
  EXPECT_NEAR(action.center().x, 400, 1);
  EXPECT_GT(action.y0, 200);
  EXPECT_LT(action.y1, 450);
  AccessNode node = state.accessibility();
  EXPECT_EQ(node.name, "Couldn’t open this folder");
  EXPECT_EQ(node.description, "Permission denied · /root");
  EXPECT_TRUE(node.states.error);
  ASSERT_EQ(node.children.size(), 1u);
  EXPECT_EQ(node.children[0].role, AccessRole::Button);
  Point c = action.center();
  state.handle_event(press(c.x, c.y));
  state.handle_event(release(c.x, c.y));
  EXPECT_TRUE(retry.take_activated());
}

TEST(EmptyState, ANarrowPanelWrapsItsText) {
  EmptyState state("Opening folder", "A rather long detail line that cannot fit in a narrow panel");
  lay_out(state, {200, 400});
  RecordingCanvas canvas;
  state.draw(canvas);
  int detail_lines = 0;
  for (const auto& t : canvas.texts) {
    if (t.text != "Opening folder") ++detail_lines;
    EXPECT_LE(TextRenderer::shared().measure(t.text, TextStyle{13}).width, 200) << t.text;
  }
  EXPECT_GE(detail_lines, 2);
}

TEST(Text, WrapsAtSpacesAndShortensTheLastAllowedLine) {
  TextStyle style{13};
  auto lines = Text::wrap("one two three four five six seven eight nine ten", style, 70, 3);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].substr(0, 3), "one");
  EXPECT_TRUE(lines.back().ends_with("…"));
  for (const auto& line : lines)
    EXPECT_LE(TextRenderer::shared().measure(line, style).width, 70) << line;
  // A single word wider than the line is broken inside it.
  auto broken = Text::wrap("/home/ada/a-very-long-folder-name", style, 60, 5);
  EXPECT_GT(broken.size(), 1u);
  EXPECT_EQ(Text::wrap("short", style, 200, 3), std::vector<std::string>{"short"});
}

TEST(Text, ElidesToItsBox) {
  Text text("Quarterly report for the board.pdf");
  text.set_overflow(TextOverflow::ElideMiddle);
  lay_out(text, {120, 20});
  ASSERT_EQ(text.lines().size(), 1u);
  EXPECT_NE(text.lines()[0].find("…"), std::string::npos);
  EXPECT_TRUE(text.lines()[0].ends_with(".pdf"));
}

TEST(Spinner, AnimatesUnlessStaticOrTheThemeSaysNo) {
  Spinner spinner(28);
  lay_out(spinner, {28, 28});
  EXPECT_TRUE(spinner.needs_animation_frame());
  spinner.set_static(true);
  EXPECT_TRUE(spinner.is_static());
  EXPECT_FALSE(spinner.needs_animation_frame());
  Spinner in_shot(28);
  lay_out(in_shot, {28, 28}, Theme::screenshot());
  EXPECT_FALSE(in_shot.needs_animation_frame());
  EXPECT_EQ(measure_layout(spinner.build_layout({100, 100})), (Size{28, 28}));
  auto t = TimePoint{} + std::chrono::hours(1);
  EXPECT_NE(spinner.angle_at(t), spinner.angle_at(t + std::chrono::milliseconds(300)));
}

}  // namespace
}  // namespace vask_ui
