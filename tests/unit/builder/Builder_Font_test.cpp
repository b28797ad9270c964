// Fonts: glyph sheets built from system fonts at build time, as the runner reads them.
#include <gtest/gtest.h>

#include "Builder_Test_Project.h"

namespace zorvex {
namespace {

// Whether (x, y) lies in the rectangle of a character of the font's range.
bool InsideSomeGlyph(const CFont& f, int32_t x, int32_t y) {
  for (int32_t c = f.first; c <= f.last; ++c) {
    const CGlyph& g = f.glyphs[static_cast<size_t>(c)];
    if (x >= g.x && x < g.x + g.width && y >= g.y && y < g.y + g.height) return true;
  }
  return false;
}

TEST(BuilderFont, GlyphSheetsOfSystemFontsReachTheRunner) {
  CTestProject t("fonts");
  t.Write("fonts/fnt_sans.json", R"({"font": "Arial", "size": 12})");
  t.Write("fonts/fnt_mono.json", R"({"font": "Courier New", "size": 10, "first": 65,
                                     "last": 90})");
  t.Write("fonts/fnt_serif.json", R"({"font": "Times New Roman", "size": 14, "bold": true,
                                      "italic": true, "first": 48, "last": 57})");
  CProject project;
  std::string error;
  ASSERT_TRUE(t.Read(project, error)) << error;
  auto game = CTestProject::LoadBuilt(project);
  ASSERT_TRUE(game);
  const CFontTable& fonts = game->resources.fonts;
  ASSERT_EQ(fonts.Count(), 3);
  for (int32_t id = 0; id < 3; ++id)
    EXPECT_TRUE(*fonts.Get(id) == *project.resources->fonts.Get(id)) << fonts.Name(id);

  const CFont& sans = *fonts.Get(fonts.Find("fnt_sans"));
  EXPECT_EQ(sans.name, "Arial");
  EXPECT_EQ(sans.size, 12);
  EXPECT_EQ(sans.first, 32);
  EXPECT_EQ(sans.last, 127);
  // 12 points at 96 DPI are 16 pixels to the em; the Liberation Sans cell is
  // (1854 + 434) / 2048 of that: 17.875, 18 pixels.
  EXPECT_EQ(sans.LineHeight(), 18);
  EXPECT_EQ(sans.glyphs['W'].height, 18);
  // Layout: the first character opens the first row; each next one follows a pixel apart.
  EXPECT_EQ(sans.glyphs[32].x, 0);
  EXPECT_EQ(sans.glyphs[32].y, 0);
  EXPECT_EQ(sans.glyphs[33].x, sans.glyphs[32].width + 1);
  EXPECT_GT(sans.glyphs['W'].advance, sans.glyphs['i'].advance);
  EXPECT_GE(sans.sheet_width, 128);
  EXPECT_GE(sans.sheet_width, sans.sheet_height);  // the sheet widens until it is not tall
  // Ink lies only inside the characters' rectangles, and every visible character has some.
  int32_t outside = 0;
  for (int32_t y = 0; y < sans.sheet_height; ++y)
    for (int32_t x = 0; x < sans.sheet_width; ++x)
      if (sans.sheet[static_cast<size_t>(y * sans.sheet_width + x)] != 0 &&
          !InsideSomeGlyph(sans, x, y))
        ++outside;
  EXPECT_EQ(outside, 0);
  for (int c : {'A', 'W', 'g', '0', '~'}) {
    const CGlyph& g = sans.glyphs[static_cast<size_t>(c)];
    int32_t ink = 0;
    for (int32_t y = g.y; y < g.y + g.height; ++y)
      for (int32_t x = g.x; x < g.x + g.width; ++x)
        ink = std::max<int32_t>(ink, sans.sheet[static_cast<size_t>(y * sans.sheet_width + x)]);
    EXPECT_GT(ink, 200) << static_cast<char>(c);
  }

  // Courier New is Liberation Mono here: every character moves the pen alike (1229/2048 of a
  // 13-pixel em, 8 pixels once hinted), and characters outside the range move it like the first.
  const CFont& mono = *fonts.Get(fonts.Find("fnt_mono"));
  EXPECT_EQ(mono.LineHeight(), 15);  // (1705 + 615) / 2048 * 13 = 14.7
  for (int c = 'A'; c <= 'Z'; ++c)
    EXPECT_EQ(mono.glyphs[static_cast<size_t>(c)].advance, 8) << static_cast<char>(c);
  EXPECT_EQ(mono.StringWidth("a b"), 24);
  EXPECT_EQ(mono.glyphs['a'].width, 0);  // outside the range nothing is laid out

  const CFont& serif = *fonts.Get(fonts.Find("fnt_serif"));
  EXPECT_TRUE(serif.bold);
  EXPECT_TRUE(serif.italic);
  EXPECT_EQ(serif.first, 48);
  EXPECT_EQ(serif.last, 57);
  EXPECT_EQ(serif.LineHeight(), 21);  // (1825 + 443) / 2048 * 19 = 21.04
}

TEST(BuilderFont, BadFontFilesNameTheField) {
  CTestProject t("badfonts");
  t.Write("fonts/fnt_x.json", R"({"size": 0})");
  EXPECT_EQ(t.Error(), "fonts/fnt_x.json: field \"size\": expected 1 to 200");
  t.Write("fonts/fnt_x.json", R"({"first": 90, "last": 65})");
  EXPECT_EQ(t.Error(),
            "fonts/fnt_x.json: field \"last\": the range ends before it begins (\"first\" is 90)");
  t.Write("fonts/fnt_x.json", R"({"last": 256})");
  EXPECT_EQ(t.Error(), "fonts/fnt_x.json: field \"last\": expected 0 to 255");
  t.Write("fonts/fnt_x.json", R"({"name": "Arial"})");
  EXPECT_EQ(t.Error(), "fonts/fnt_x.json: field \"name\": unknown field");
  t.Write("fonts/fnt_x.json", R"({"font": 12})");
  EXPECT_EQ(t.Error(), "fonts/fnt_x.json: field \"font\": expected a string");
}

}  // namespace
}  // namespace zorvex
