#include <gtest/gtest.h>

#include "vask_ui/text.h"

namespace vask_ui {
namespace {

const TextStyle kBody{13, FontWeight::Regular};

TEST(Text, MeasuresGrowWithTextAndSize) {
  auto& r = TextRenderer::shared();
  auto one = r.measure("Documents", kBody);
  auto two = r.measure("Documents and more", kBody);
  auto big = r.measure("Documents", TextStyle{26, FontWeight::Regular});
  EXPECT_GT(one.width, 30);
  EXPECT_LT(one.width, 120);
  EXPECT_GT(two.width, one.width);
  // Twice the size is about twice as wide (hinting is off, so nearly exactly).
  EXPECT_NEAR(big.width / one.width, 2.0f, 0.15f);
  EXPECT_GT(one.height, 13);
  EXPECT_LT(one.height, 24);
  EXPECT_EQ(r.measure("", kBody).width, 0);
  EXPECT_EQ(r.measure("", kBody).height, one.height);
}

TEST(Text, ShapedLinesAreCached) {
  auto& r = TextRenderer::shared();
  r.clear_cache();
  for (int i = 0; i < 3; ++i)
    r.measure("same label", kBody);
  EXPECT_EQ(r.cache_size(), 1u);
  r.measure("same label", TextStyle{13, FontWeight::Bold});
  EXPECT_EQ(r.cache_size(), 2u);
}

TEST(Text, MiddleElisionKeepsBothEndsAndFits) {
  const std::string name = "a-very-long-file-name-that-does-not-fit-anywhere-2026-report.pdf";
  float width = 150;
  std::string elided = elide_middle(name, kBody, width);
  EXPECT_LE(TextRenderer::shared().measure(elided, kBody).width, width);
  EXPECT_NE(elided.find("…"), std::string::npos);
  EXPECT_EQ(elided.rfind("a-ve", 0), 0u);
  EXPECT_TRUE(elided.ends_with(".pdf"));
  EXPECT_EQ(elide_middle("short.txt", kBody, 500), "short.txt");
}

TEST(Text, MiddleElisionKeepsAThirdBeforeAndTwoThirdsAfter) {
  const std::string name = "Quarterly-financial-statement-final-version-2026.pdf";
  std::string elided = elide_middle(name, kBody, 160);
  auto dots = elided.find("…");
  ASSERT_NE(dots, std::string::npos);
  std::size_t head = dots;
  std::size_t tail = elided.size() - dots - std::string("…").size();
  std::size_t kept = head + tail;
  EXPECT_EQ(head, kept / 3);
  EXPECT_EQ(tail, (2 * kept + 2) / 3);
  EXPECT_TRUE(elided.ends_with("2026.pdf"));
  // A one-character name that does not fit becomes the ellipsis; no room at all gives "".
  EXPECT_EQ(elide_middle("W", TextStyle{40, FontWeight::Bold}, 3), "…");
  EXPECT_EQ(elide_middle("anything", kBody, 0), "");
}

TEST(Text, ElisionNeverSplitsACharacter) {
  std::string name;
  for (int i = 0; i < 40; ++i)
    name += "ß€";
  for (float width : {20.0f, 55.0f, 90.0f}) {
    for (const std::string& e : {elide_middle(name, kBody, width), elide_end(name, kBody, width)}) {
      // Every continuation byte follows a lead byte: count code points both ways.
      std::size_t starts = 0;
      for (unsigned char c : e)
        starts += (c & 0xC0) != 0x80;
      std::size_t bytes_expected = 0;
      for (std::size_t i = 0; i < e.size();) {
        unsigned char c = static_cast<unsigned char>(e[i]);
        std::size_t len = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        i += len;
        bytes_expected += len;
      }
      EXPECT_EQ(bytes_expected, e.size()) << e;
      EXPECT_GT(starts, 0u);
    }
  }
}

TEST(Text, EndElisionFitsOrLeavesOnlyTheEllipsis) {
  std::string elided = elide_end("Quarterly planning notes", kBody, 80);
  EXPECT_TRUE(elided.ends_with("…"));
  EXPECT_LE(TextRenderer::shared().measure(elided, kBody).width, 80);
  EXPECT_EQ(elide_end("Quarterly", kBody, 1), "…");
}

}  // namespace
}  // namespace vask_ui
