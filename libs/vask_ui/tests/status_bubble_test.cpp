#include <gtest/gtest.h>

#include "vask_ui/status_bubble.h"

namespace vask_ui {
namespace {

using std::chrono::milliseconds;

/// The window's bubble: 1.9 s of hold, then the fade.
class StatusBubbleTest : public ::testing::Test {
 protected:
  TimePoint t0 = TimePoint{} + std::chrono::hours(5);
  StatusBubble bubble{milliseconds(1900)};
  TimePoint at(int ms) const { return t0 + milliseconds(ms); }
};

TEST_F(StatusBubbleTest, NeverPokedIsInvisible) {
  EXPECT_FALSE(bubble.is_visible(t0));
  EXPECT_EQ(bubble.alpha(t0), 0);
  EXPECT_FALSE(bubble.needs_frame(t0));
  EXPECT_FALSE(bubble.next_deadline(t0).has_value());
}

TEST_F(StatusBubbleTest, HoldsThenFadesThenHides) {
  bubble.poke(t0);
  EXPECT_EQ(bubble.alpha(at(0)), 1);
  EXPECT_EQ(bubble.alpha(at(1899)), 1);
  EXPECT_FALSE(bubble.needs_frame(at(1000)));
  EXPECT_EQ(bubble.next_deadline(at(1000)), at(1900));

  float half = bubble.alpha(at(1900 + 120));
  EXPECT_GT(half, 0.3f);
  EXPECT_LT(half, 0.7f);
  EXPECT_TRUE(bubble.needs_frame(at(1950)));
  EXPECT_FALSE(bubble.next_deadline(at(1950)).has_value());
  EXPECT_GT(bubble.alpha(at(1950)), bubble.alpha(at(2100)));

  EXPECT_FALSE(bubble.is_visible(at(1900 + 240)));
  EXPECT_FALSE(bubble.needs_frame(at(3000)));
}

TEST_F(StatusBubbleTest, APokeRestartsTheHold) {
  bubble.poke(t0);
  bubble.poke(at(1500));
  EXPECT_EQ(bubble.alpha(at(3000)), 1);
  EXPECT_EQ(bubble.next_deadline(at(3000)), at(3400));
  // A poke during the fade brings the bubble back at full strength.
  EXPECT_LT(bubble.alpha(at(3500)), 1);
  bubble.poke(at(3500));
  EXPECT_EQ(bubble.alpha(at(3500)), 1);
}

TEST_F(StatusBubbleTest, HoverKeepsItAndLeavingGivesAFullHoldAgain) {
  bubble.poke(t0);
  bubble.set_hover(true, at(1000));
  EXPECT_EQ(bubble.alpha(at(10000)), 1);
  EXPECT_FALSE(bubble.needs_frame(at(10000)));
  EXPECT_FALSE(bubble.next_deadline(at(10000)).has_value());
  bubble.set_hover(false, at(10000));
  EXPECT_EQ(bubble.alpha(at(11800)), 1);
  EXPECT_FALSE(bubble.is_visible(at(12200)));
}

TEST_F(StatusBubbleTest, HoveredAfterFadingShowsItAgain) {
  // Pinned status (archives, screenshots) is hover that never ends.
  bubble.poke(t0);
  EXPECT_FALSE(bubble.is_visible(at(5000)));
  bubble.set_hover(true, at(5000));
  EXPECT_TRUE(bubble.is_visible(at(5000)));
}

TEST_F(StatusBubbleTest, ThemesWithoutAnimationsDrawItWholeOrNotAtAll) {
  bubble.poke(t0);
  EXPECT_EQ(bubble.opacity(at(1900 + 120), Theme::screenshot()), 1);
  EXPECT_LT(bubble.opacity(at(1900 + 120), Theme::light()), 1);
  EXPECT_EQ(bubble.opacity(at(5000), Theme::screenshot()), 0);
}

TEST(StatusPill, GrowsWithItsText) {
  Size small = StatusBubble::pill_size("3 items", 13);
  Size large = StatusBubble::pill_size("124 items  ·  12 selected", 13);
  EXPECT_GT(large.width, small.width);
  EXPECT_EQ(small.height, large.height);
  EXPECT_GE(small.height, 28);
}

}  // namespace
}  // namespace vask_ui
