#include "platform/Platform_Font.h"

#include <gtest/gtest.h>

#include <vector>

namespace zorvex {
namespace {

TEST(PlatformFont, StandInsAndCellHeights) {
  CSystemFontRenderer r;
  // Cell heights: points at 96 DPI give whole pixels per em; the face's Windows ascent and
  // descent (in 2048ths of an em) scaled, rounded as a sum.
  struct {
    const char* name;
    int32_t size;
    const char* family;
    int32_t height;
  } cases[] = {
      {"Arial", 12, "Liberation Sans", 18},             // 16 px: 2288 * 16 / 2048 = 17.9
      {"Arial", 10, "Liberation Sans", 15},             // 13 px: 14.5 rounds up
      {"Times New Roman", 14, "Liberation Serif", 21},  // 19 px: (1825 + 443) = 2268 -> 21.04
      {"Courier New", 10, "Liberation Mono", 15},       // 13 px: 2320 * 13 / 2048 = 14.7
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(r.SelectFont(c.name, c.size, false, false)) << c.name;
    EXPECT_EQ(r.FamilyName(), c.family);
    EXPECT_EQ(r.TextHeight("W"), c.height) << c.name << " " << c.size;
    EXPECT_EQ(r.TextHeight("anything"), c.height);
  }
  EXPECT_FALSE(r.SelectFont("Arial", 0, false, false));
  EXPECT_EQ(r.TextHeight("W"), -1);
}

TEST(PlatformFont, WidthsAddUpToTheAdvance) {
  CSystemFontRenderer r;
  ASSERT_TRUE(r.SelectFont("Courier New", 10, false, false));
  // A monospace face: A + B + C is the same for every character, and equals the text width.
  int32_t a, b, c;
  ASSERT_TRUE(r.CharWidths('M', a, b, c));
  const int32_t advance = a + b + c;
  EXPECT_GT(b, 0);
  for (uint8_t ch : {'i', 'W', '.', ' ', '0'}) {
    ASSERT_TRUE(r.CharWidths(ch, a, b, c));
    EXPECT_EQ(a + b + c, advance) << ch;
  }
  EXPECT_EQ(r.TextWidth("abcd"), 4 * advance);
  ASSERT_TRUE(r.CharWidths(' ', a, b, c));
  EXPECT_EQ(b, 0);  // nothing is drawn for a space

  ASSERT_TRUE(r.SelectFont("Arial", 12, false, false));
  int32_t wa, wb, wc, ia, ib, ic;
  ASSERT_TRUE(r.CharWidths('W', wa, wb, wc));
  ASSERT_TRUE(r.CharWidths('i', ia, ib, ic));
  EXPECT_GT(wb, ib);
  // Windows-1252 0x80 is the euro sign, which the face has.
  ASSERT_TRUE(r.CharWidths(0x80, a, b, c));
  EXPECT_GT(b, 0);
  ASSERT_TRUE(r.SelectFont("Arial", 12, true, false));
  // Bold 'm' is 1821/2048 of an em wide against 1706: 14 pixels instead of 13.
  int32_t ma, mb, mc, ba, bb, bc;
  ASSERT_TRUE(r.CharWidths('m', ba, bb, bc));
  ASSERT_TRUE(r.SelectFont("Arial", 12, false, false));
  ASSERT_TRUE(r.CharWidths('m', ma, mb, mc));
  EXPECT_EQ(ma + mb + mc, 13);
  EXPECT_EQ(ba + bb + bc, 14);
}

TEST(PlatformFont, DrawingLaysInkByCoverage) {
  CSystemFontRenderer r;
  ASSERT_TRUE(r.SelectFont("Arial", 12, false, false));
  int32_t a, b, c;
  ASSERT_TRUE(r.CharWidths('I', a, b, c));
  const int32_t w = 16, h = 18;
  std::vector<uint8_t> light(w * h, 0), dark(w * h, 255);
  r.DrawChar('I', 2 - a, 0, 255, light.data(), w, h);
  r.DrawChar('I', 2 - a, 0, 0, dark.data(), w, h);
  int32_t full = 0, outside = 0;
  for (int32_t y = 0; y < h; ++y) {
    for (int32_t x = 0; x < w; ++x) {
      const uint8_t l = light[static_cast<size_t>(y * w + x)];
      // The same coverage drawn white on black and black on white.
      EXPECT_EQ(l, 255 - dark[static_cast<size_t>(y * w + x)]);
      if (l >= 128) ++full;
      if (l != 0 && (x < 2 || x >= 2 + b)) ++outside;
    }
  }
  EXPECT_GE(full, 10);  // the stem of the I, a column of mostly covered pixels
  EXPECT_EQ(outside, 0);
  // Drawing outside the canvas is clipped.
  r.DrawChar('I', -100, -100, 255, light.data(), w, h);
  r.DrawChar('I', 100, 100, 255, light.data(), w, h);
}

}  // namespace
}  // namespace zorvex
