// Text layout worked out by hand with a small hand-made font (advance 4, the space 3, line
// height 6), and text drawn with it through the function table on Mesa's software renderer.
#include "graphics/Graphics_Text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Render_Fixture.h"
#include "Test_Resources.h"

namespace zorvex::testing {
namespace {

std::vector<std::string> Lines(std::string_view text, int32_t w,
                               std::vector<int32_t>* widths = nullptr,
                               const CFont& font = MiniFont()) {
  std::string converted;
  std::vector<CTextLine> lines;
  LayoutText(font, text, w, converted, lines);
  std::vector<std::string> out;
  for (const CTextLine& l : lines) {
    out.push_back(converted.substr(l.start, l.length));
    if (widths) widths->push_back(l.width);
  }
  return out;
}

using V = std::vector<std::string>;
using Widths = std::vector<int32_t>;

TEST(TextLayout, HashesCarriageReturnsAndLineFeedsBreakLines) {
  EXPECT_EQ(Lines("A#B", -1), (V{"A", "B"}));
  Widths w;
  EXPECT_EQ(Lines("A\\#B", -1, &w), (V{"A#B"}));
  EXPECT_EQ(w, (Widths{12}));
  // CR LF: each ends a line, so an empty one lies between.
  EXPECT_EQ(Lines("A\r\nB", -1), (V{"A", "", "B"}));
  EXPECT_EQ(Lines("A\rB\nC", -1), (V{"A", "B", "C"}));
  // Empty text has no lines; a break at the end ends the last line and starts none.
  EXPECT_EQ(Lines("", -1), V{});
  EXPECT_EQ(Lines("A#", -1), (V{"A"}));
  EXPECT_EQ(Lines("#A", -1), (V{"", "A"}));
  EXPECT_EQ(Lines("A##", -1), (V{"A", ""}));
  // A backslash not before a hash stays; the pair "\#" never breaks.
  EXPECT_EQ(Lines("\\\\#", -1), (V{"\\#"}));
  EXPECT_EQ(Lines("A\\", -1), (V{"A\\"}));
}

TEST(TextLayout, WrappingBreaksAfterSpacesAndHyphensOnly) {
  Widths w;
  // Words "AB " (11), "CD " (11), "EF" (8).
  EXPECT_EQ(Lines("AB CD EF", 22, &w), (V{"AB CD ", "EF"}));
  EXPECT_EQ(w, (Widths{22, 8}));
  w.clear();
  EXPECT_EQ(Lines("AB CD EF", 21, &w), (V{"AB ", "CD EF"}));
  EXPECT_EQ(w, (Widths{11, 19}));
  // A word wider than the limit stands alone and is never broken.
  w.clear();
  EXPECT_EQ(Lines("A ABCDEFG B", 10, &w), (V{"A ", "ABCDEFG ", "B"}));
  EXPECT_EQ(w, (Widths{7, 31, 4}));
  EXPECT_EQ(Lines("ABCDEFGHIJKLMNOPQRSTUVWXYZABCDEFGHIJKL", 100).size(), 1u);  // 152 pixels
  EXPECT_EQ(Lines("AB-CD", 12), (V{"AB-", "CD"}));
  EXPECT_EQ(Lines("AB-CD", 20), (V{"AB-CD"}));
  // Width 0: a word per line. Pieces are wrapped one by one; an empty piece stays a line.
  EXPECT_EQ(Lines("A B#C", 0), (V{"A ", "B", "C"}));
  EXPECT_EQ(Lines("A##B", 50), (V{"A", "", "B"}));
}

TEST(TextLayout, CharactersOutsideTheRangeTakeTheSpacesAdvance) {
  Widths w;
  Lines("a{", -1, &w);  // both above 'Z'
  EXPECT_EQ(w, (Widths{6}));
  // Without the space in the range the first character's advance is used.
  CFont capitals = MiniFont();
  capitals.first = 'A';
  capitals.glyphs['A'].advance = 5;
  w.clear();
  Lines("a b", -1, &w, capitals);
  EXPECT_EQ(w, (Widths{15}));
}

// A stand-in for the platform's text rendering: every character 5 wide, "W" 8 high, drawn as a
// filled cell.
class BoxGlyphs : public CGlyphRenderer {
 public:
  bool SelectFont(const std::string& n, int32_t s, bool b, bool i) override {
    name = n;
    size = s;
    bold = b;
    italic = i;
    return true;
  }
  int32_t TextHeight(std::string_view) override { return 8; }
  int32_t TextWidth(std::string_view) override { return 5; }
  bool CharWidths(uint8_t, int32_t&, int32_t&, int32_t&) override { return false; }
  void DrawChar(uint8_t, int32_t x, int32_t y, uint8_t ink, uint8_t* canvas, int32_t w,
                int32_t h) override {
    for (int32_t yy = y; yy < y + 8 && yy < h; ++yy)
      for (int32_t xx = x; xx < x + 5 && xx < w; ++xx)
        canvas[static_cast<size_t>(yy) * w + xx] = ink;
  }
  std::string name;
  int32_t size = 0;
  bool bold = true, italic = true;
};

class TextDrawing : public RenderTest {
 protected:
  void SetUp() override {
    RenderTest::SetUp();
    AttachResources(*game_);
    font_ = AddMiniFont(*game_);
    Call("draw_set_font", font_);
    Call("draw_set_color", 16777215);
  }
  template <class... A>
  RValue Call(const char* name, A... args) {
    return CallFunction(*game_, name, {Arg(args)...});
  }
  bool Lit(int x, int y) { return Pixel(x, y) != 0u; }
  int32_t font_ = -1;
};

using TextReference = TextDrawing;

TEST_F(TextDrawing, MetricsThroughTheFunctions) {
  EXPECT_EQ(Call("string_width", "").real, 1);
  EXPECT_EQ(Call("string_height", "").real, 1);
  EXPECT_EQ(Call("string_width", "AB#ABC").real, 12);
  EXPECT_EQ(Call("string_height", "AB#ABC").real, 12);
  EXPECT_EQ(Call("string_height_ext", "AB#ABC", 10, -1).real, 16);
  EXPECT_EQ(Call("string_height_ext", "AB#ABC", -1, -1).real, 12);
  EXPECT_EQ(Call("string_width_ext", "AB CD EF", -1, 21).real, 19);
  EXPECT_EQ(Call("string_height_ext", "AB CD EF", 7, 21).real, 13);
  // Reals are shown as string() shows them: 2.5 is the four characters "2.50".
  EXPECT_EQ(Call("string_width", 2.5).real, 16);
  EXPECT_EQ(Call("string_width", 3).real, 4);
  EXPECT_EQ(Call("string_width", -12).real, 12);
}

TEST_F(TextDrawing, FontSelectionFallsBackToTheDefaultFont) {
  // Without the platform's text rendering the default font is empty: no width, nothing drawn.
  Call("draw_set_font", font_ + 1);
  EXPECT_EQ(g().text.font, -1);
  EXPECT_EQ(Call("string_width", "AB").real, 1);
  Call("draw_text", 5, 5, "AB");
  EXPECT_EQ(Pixel(5, 5), 0u);
  Call("draw_set_font", font_);
  EXPECT_EQ(Call("string_width", "AB").real, 8);
  // A deleted font leaves the default font in use even though it stays selected.
  game_->resources.fonts.Delete(font_);
  EXPECT_EQ(Call("string_width", "AB").real, 1);
  // With text rendering the default font is made on first need: Arial 12, characters 32..127.
  BoxGlyphs boxes;
  g().text.glyph_renderer = &boxes;
  EXPECT_EQ(Call("string_width", "AB").real, 10);
  EXPECT_EQ(Call("string_height", "A#B").real, 16);
  EXPECT_EQ(boxes.name, "Arial");
  EXPECT_EQ(boxes.size, 12);
  EXPECT_FALSE(boxes.bold);
  EXPECT_FALSE(boxes.italic);
  const CFont& def = g().text.FontInUse(g(), game_->resources.fonts);
  EXPECT_EQ(def.first, 32);
  EXPECT_EQ(def.last, 127);
  EXPECT_GE(def.Texture(), 0);
  Call("draw_text", 20, 20, "A");
  EXPECT_EQ(Pixel(22, 24), 0xFFFFFFu);
  // Alignment values other than 1 and 2 are 0.
  Call("draw_set_halign", 2);
  EXPECT_EQ(g().text.halign, 2);
  Call("draw_set_halign", 3);
  EXPECT_EQ(g().text.halign, 0);
  Call("draw_set_valign", 1.4);
  EXPECT_EQ(g().text.valign, 1);
  Call("draw_set_valign", -1);
  EXPECT_EQ(g().text.valign, 0);
}

TEST_F(TextDrawing, GlyphsLandOnThePenWithAlignment) {
  // 'I': top row ###, then .#.
  Call("draw_text", 10, 10, "I");
  EXPECT_TRUE(Lit(10, 10));
  EXPECT_TRUE(Lit(12, 10));
  EXPECT_FALSE(Lit(13, 10));
  EXPECT_FALSE(Lit(10, 11));
  EXPECT_TRUE(Lit(11, 11));
  EXPECT_FALSE(Lit(10, 9));
  // The pen moves by the advance: the second 'I' starts at 14 + 4.
  Call("draw_text", 14, 20, "II");
  EXPECT_TRUE(Lit(18, 20));
  EXPECT_FALSE(Lit(17, 20));
  // "A A" is 11 wide: centred it starts 11 div 2 = 5 to the left, right-aligned 11.
  // 'A' has its top pixel in the middle column.
  Call("draw_set_halign", 1);
  Call("draw_text", 30, 30, "A A");
  EXPECT_TRUE(Lit(26, 30));
  EXPECT_FALSE(Lit(25, 30));
  EXPECT_FALSE(Lit(27, 30));
  // Transformed text rounds half of the scaled width instead: round(5.5) = 6 (halves to even).
  Call("draw_text_transformed", 30, 40, "A A", 1, 1, 0);
  EXPECT_TRUE(Lit(25, 40));
  EXPECT_FALSE(Lit(26, 40));
  Call("draw_set_halign", 2);
  Call("draw_text", 60, 50, "A A");
  EXPECT_TRUE(Lit(50, 50));  // starts at 49
  EXPECT_TRUE(Lit(57, 50));  // the second A starts at 56
  EXPECT_FALSE(Lit(58, 50));
}

TEST_F(TextDrawing, LinesStackByTheSeparationAndVerticalAlignment) {
  // Two lines of 'I': tops at y and y + 6 (the line height), or y + 10 with separation 10.
  Call("draw_text", 2, 2, "I#I");
  EXPECT_TRUE(Lit(2, 2));
  EXPECT_TRUE(Lit(2, 8));
  EXPECT_FALSE(Lit(2, 7));
  Call("draw_text_ext", 10, 2, "I#I", 10, -1);
  EXPECT_TRUE(Lit(10, 12));
  EXPECT_FALSE(Lit(10, 8));
  // Middle: up by (2 x 6) div 2 = 6; bottom: up by 12.
  Call("draw_set_valign", 1);
  Call("draw_text", 20, 30, "I#I");
  EXPECT_TRUE(Lit(20, 24));
  EXPECT_TRUE(Lit(20, 30));
  EXPECT_FALSE(Lit(20, 23));
  Call("draw_set_valign", 2);
  Call("draw_text", 30, 30, "I#I");
  EXPECT_TRUE(Lit(30, 18));
  EXPECT_TRUE(Lit(30, 24));
  EXPECT_FALSE(Lit(30, 30));
  // Wrapping at 6 puts "I " and "I" on two lines.
  Call("draw_set_valign", 0);
  Call("draw_text_ext", 40, 40, "I I", -1, 6);
  EXPECT_TRUE(Lit(40, 40));
  EXPECT_TRUE(Lit(40, 46));
  EXPECT_FALSE(Lit(47, 40));
}

TEST_F(TextDrawing, ColourAlphaScaleAndRotation) {
  Call("draw_set_color", 255);
  Call("draw_set_alpha", 0.5);
  Call("draw_text", 2, 2, "I");
  EXPECT_NEAR(static_cast<int>(Pixel(2, 2) >> 16), 128, 1);
  EXPECT_EQ(Pixel(2, 2) & 0xFFFF, 0u);
  Call("draw_set_alpha", 1);
  Call("draw_set_color", 16777215);
  // Scaled twice: the top row of 'I' is 6 wide and 2 high.
  Call("draw_text_transformed", 10, 2, "I", 2, 2, 0);
  EXPECT_TRUE(Lit(15, 3));
  EXPECT_FALSE(Lit(16, 2));
  EXPECT_FALSE(Lit(10, 4));
  // Turned 90 degrees about (20, 40): the column of 'L' runs right along y = 40, its foot up at
  // x = 24; the next letter follows 4 pixels higher.
  Call("draw_text_transformed", 20, 40, "LL", 1, 1, 90);
  EXPECT_TRUE(Lit(20, 40));
  EXPECT_TRUE(Lit(24, 40));
  EXPECT_TRUE(Lit(24, 38));
  EXPECT_FALSE(Lit(20, 39));
  EXPECT_TRUE(Lit(20, 36));
  EXPECT_TRUE(Lit(24, 34));
  // Four colours over a line: red on the left, blue on the right.
  Call("draw_text_color", 40, 10, "II", 255, 16711680, 16711680, 255, 1);
  const uint32_t left = Pixel(40, 10), right = Pixel(46, 10);
  EXPECT_GT(left >> 16, left & 0xFF);
  EXPECT_GT(right & 0xFF, right >> 16);
}

TEST_F(TextDrawing, SpriteFontsDrawFramesWithTheirOrigin) {
  constexpr uint32_t R = 0xFFFF0000u, G = 0xFF00FF00u;
  // Two 2 x 3 frames for 'A' and 'B', origin (0, 1): advance 2 + 1 = 3.
  int32_t spr = AddTestSprite(*game_, 2, 3, {{R, R, R, R, R, R}, {G, G, G, G, G, G}}, 0, 1);
  int32_t f = game_->resources.fonts.AddSpriteFont(game_->resources.sprites, spr, 'A', false, 1);
  Call("draw_set_font", f);
  EXPECT_EQ(Call("string_width", "ABA").real, 9);
  EXPECT_EQ(Call("string_height", "A").real, 3);
  Call("draw_text", 10, 10, "ABC");  // 'C' is outside the font
  EXPECT_EQ(Pixel(10, 9), 0xFF0000u);
  EXPECT_EQ(Pixel(11, 11), 0xFF0000u);
  EXPECT_EQ(Pixel(10, 12), 0u);
  EXPECT_EQ(Pixel(13, 9), 0x00FF00u);
  EXPECT_EQ(Pixel(16, 10), 0u);
  // The drawing colour tints sprite fonts too.
  Call("draw_set_color", 65280);
  Call("draw_text", 10, 20, "AB");
  EXPECT_EQ(Pixel(10, 20), 0u);  // red x green
  EXPECT_EQ(Pixel(13, 20), 0x00FF00u);
}

// ---- reference pictures (ZORVEX_UPDATE_RENDER=1 rewrites them; look at them before accepting) --

TEST_F(TextReference, AlignmentWrappingAndSeparation) {
  // Grey crosses mark the anchor points of the aligned blocks.
  auto cross = [&](int x, int y) {
    Fill(g(), x - 2, y, x + 2, y, 0xFF505050u);
    Fill(g(), x, y - 2, x, y + 2, 0xFF505050u);
  };
  cross(32, 38);
  cross(62, 62);
  Call("draw_text", 1, 1, "LEFT");
  Call("draw_set_halign", 2);
  Call("draw_text", 63, 1, "RIGHT");
  // Two centred lines in yellow.
  Call("draw_set_halign", 1);
  Call("draw_set_color", 65535);
  Call("draw_text", 32, 9, "CENTRE#TO-DO");
  // Wrapped at 28 pixels into "A WIDE ", "TEXT ", "BREAKS ", "HERE", lines 7 apart, the block
  // centred on (32, 38).
  Call("draw_set_valign", 1);
  Call("draw_set_color", 8454143);
  Call("draw_text_ext", 32, 38, "A WIDE TEXT BREAKS HERE", 7, 28);
  // Bottom-right aligned, in blue, with a literal hash.
  Call("draw_set_halign", 2);
  Call("draw_set_valign", 2);
  Call("draw_set_color", 16744576);
  Call("draw_text", 62, 62, "\\#1#20.5");
  ExpectMatchesReference("text_aligned");
}

TEST_F(TextReference, TransformedAndColouredText) {
  Call("draw_text_color", 1, 1, "COLOURED", 255, 65280, 16711680, 65535, 1);
  Call("draw_text_transformed", 3, 62, "ROTATED", 1, 1, 90);
  Call("draw_text_transformed", 12, 24, "TILT", 2, 2, 30);
  // Three lines turned 20 degrees clockwise, centred on (40, 40): each line starts further left.
  Call("draw_set_halign", 1);
  Call("draw_set_valign", 1);
  Call("draw_text_transformed", 40, 40, "HOLD#THE#LINE", 1, 1, -20);
  Call("draw_set_halign", 0);
  Call("draw_set_valign", 0);
  // Wrapped at 20 unscaled pixels, then drawn twice as wide, white fading to red.
  Call("draw_text_ext_transformed_color", 14, 50, "BIG TEXT", -1, 20, 2, 1, 0, 16777215, 255, 255,
       16777215, 0.8);
  ExpectMatchesReference("text_transformed");
}

}  // namespace
}  // namespace zorvex::testing
