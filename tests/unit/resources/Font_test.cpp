#include <gtest/gtest.h>

#include "resources/Font_Main.h"
#include "resources/Sprite_Main.h"

namespace zorvex {
namespace {

// Glyphs are one pixel wide bars of full coverage with a half-covered pixel to their right.
class FakeRenderer : public CGlyphRenderer {
 public:
  int32_t height = 3;
  int32_t width = 2;
  bool outline = false;
  std::vector<std::pair<int, int>> drawn;

  bool SelectFont(const std::string& name, int32_t, bool, bool) override { return name != "none"; }
  int32_t TextHeight(std::string_view text) override { return text == "W" ? height : -1; }
  int32_t TextWidth(std::string_view text) override { return text.size() == 1 ? width : -1; }
  bool CharWidths(uint8_t, int32_t& a, int32_t& b, int32_t& c) override {
    a = -1, b = 5, c = 2;
    return outline;
  }
  void DrawChar(uint8_t, int32_t x, int32_t y, uint8_t ink, uint8_t* canvas, int32_t w,
                int32_t) override {
    if (ink == 255) drawn.emplace_back(x, y);
    canvas[y * w + x] = ink;
    canvas[y * w + x + 1] = static_cast<uint8_t>((canvas[y * w + x + 1] + ink) / 2);
  }
};

TEST(FontRecord, RoundTripAndRefusals) {
  CFont f;
  f.name = "Arial";
  f.size = 14;
  f.bold = true;
  f.first = 40;
  f.last = 41;
  f.glyphs[40] = CGlyph{1, 2, 3, 4, 5, -6};
  f.glyphs[255].advance = 9;
  f.sheet_width = 3;
  f.sheet_height = 2;
  f.sheet = {0, 1, 2, 3, 4, 255};
  CStream s;
  f.WriteTo(s);
  s.Seek(0);
  CFont back;
  ASSERT_TRUE(back.ReadFrom(s));
  EXPECT_TRUE(s.AtEnd());
  EXPECT_EQ(back, f);

  auto spoiled = [&](size_t offset, int32_t value) {
    CStream c(s.Bytes());
    c.Seek(offset);
    c.WriteInt(value);
    c.Seek(0);
    CFont x;
    return x.ReadFrom(c);
  };
  const size_t first_at = 4 + 4 + 5 + 4 + 4 + 4;
  EXPECT_FALSE(spoiled(0, 541));
  EXPECT_FALSE(spoiled(first_at, -1));
  EXPECT_FALSE(spoiled(first_at, 256));
  EXPECT_FALSE(spoiled(first_at + 4, 300));
  const size_t sheet_at = first_at + 8 + 256 * 24;
  EXPECT_FALSE(spoiled(sheet_at, 4));  // sheet of 4 x 2 but 6 bytes stored
  EXPECT_FALSE(spoiled(sheet_at + 4, -2));
}

TEST(FontMetrics, AdvanceOutsideTheRange) {
  CFont caps;
  caps.first = 65;
  caps.last = 90;
  caps.glyphs[65].advance = 7;
  caps.glyphs[32].advance = 3;
  EXPECT_EQ(caps.StringWidth("a b"), 21);
  CFont wide;
  wide.glyphs[32].advance = 4;
  wide.glyphs[200].advance = 99;
  EXPECT_EQ(wide.Advance(200), 4);
  EXPECT_EQ(wide.Advance(33), 0);
}

TEST(FontSheet, LayoutWrapsRowsAndWidensTheSheet) {
  FakeRenderer r;
  CFont f;
  f.FromSystemFont(r, "Sans", 10, false, false, 65, 67);
  EXPECT_EQ(f.sheet_width, 128);
  EXPECT_EQ(f.sheet_height, 4);
  EXPECT_EQ(f.glyphs[66], (CGlyph{4, 0, 3, 3, 2, 0}));
  ASSERT_EQ(f.sheet.size(), 128u * 4);
  EXPECT_EQ(f.sheet[4], 255);  // full coverage
  EXPECT_EQ(f.sheet[5], 127);  // half
  EXPECT_EQ(f.sheet[7], 0);    // nothing drawn
  EXPECT_EQ(f.LineHeight(), 3);
  EXPECT_EQ(f.Texture(), -1);

  r.width = 60;
  f.FromSystemFont(r, "Sans", 10, false, false, 65, 67);
  EXPECT_EQ(f.glyphs[66].x, 62);
  EXPECT_EQ(f.glyphs[67].x, 0);
  EXPECT_EQ(f.glyphs[67].y, 4);
  EXPECT_EQ(f.sheet_height, 8);

  r.height = 100;
  f.FromSystemFont(r, "Sans", 10, false, false, 65, 70);
  EXPECT_EQ(f.sheet_width, 256);
  EXPECT_EQ(f.sheet_height, 202);
  EXPECT_EQ(f.glyphs[68].x, 186);
  EXPECT_EQ(f.glyphs[69].x, 0);
  EXPECT_EQ(f.glyphs[69].y, 101);
}

TEST(FontSheet, OutlineAndItalicMetricsAndClamping) {
  FakeRenderer r;
  r.outline = true;
  CFont f;
  f.FromSystemFont(r, "Sans", 10, false, false, 65, 65);
  EXPECT_EQ(f.glyphs[65], (CGlyph{0, 0, 6, 3, 6, -1}));
  ASSERT_EQ(r.drawn.size(), 1u);
  EXPECT_EQ(r.drawn[0], (std::pair<int, int>{1, 0}));  // drawn A to the right of the cell

  r.outline = false;
  f.FromSystemFont(r, "Sans", 10, false, true, 65, 65);
  EXPECT_EQ(f.glyphs[65].width, 3 / 2 + 2 + 2);

  f.FromSystemFont(r, "Sans", 10, false, false, -5, 300);
  EXPECT_EQ(f.first, 0);
  EXPECT_EQ(f.last, 255);
  f.FromSystemFont(r, "Sans", 10, false, false, 300, 400);
  EXPECT_EQ(f.first, 255);
  f.FromSystemFont(r, "none", 10, false, false, 32, 128);
  EXPECT_EQ(f.sheet_width, 0);  // no such font: nothing to draw
}

TEST(FontSprite, ProportionalAndFixedMetrics) {
  CSpriteTable sprites;
  auto spr = std::make_unique<CSprite>();
  spr->width = 12;
  spr->height = 5;
  CBitmap32 frame(12, 5, 0);
  for (int x = 3; x <= 9; ++x)
    frame.SetPixel(x, 2, 0xFF000000u);
  spr->frames = {frame, frame};
  sprites.Append(std::move(spr), "spr_font");

  CFont f;
  f.FromSprite(sprites, 0, 65, true, 2);
  EXPECT_EQ(f.sprite_index, 0);
  EXPECT_EQ(f.first, 65);
  EXPECT_EQ(f.last, 66);
  EXPECT_EQ(f.glyphs[65].advance, 8);
  EXPECT_EQ(f.glyphs[65].offset, -3);
  EXPECT_EQ(f.LineHeight(), 5);
  f.FromSprite(sprites, 0, 254, false, 2);
  EXPECT_EQ(f.last, 255);
  EXPECT_EQ(f.glyphs[254].advance, 14);
  f.FromSprite(sprites, 3, 65, true, 2);
  EXPECT_EQ(f.sprite_index, -1);
  EXPECT_EQ(f.first, 32);

  CFontTable fonts;
  FakeRenderer r;
  EXPECT_EQ(fonts.AddSpriteFont(sprites, 0, 65, true, 0), 0);
  EXPECT_EQ(fonts.Name(0), "__newfont0");
  EXPECT_EQ(fonts.AddSystemFont(r, "Sans", 10, false, false, 32, 40), 1);
  EXPECT_TRUE(fonts.ReplaceWithSpriteFont(1, sprites, 0, 48, false, 1));
  EXPECT_EQ(fonts.Get(1)->sprite_index, 0);
  EXPECT_EQ(fonts.Name(1), "__newfont1");
  EXPECT_FALSE(fonts.ReplaceWithSystemFont(2, r, "Sans", 10, false, false, 32, 40));
}

}  // namespace
}  // namespace zorvex
