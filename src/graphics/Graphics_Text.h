// Text drawing: the selected font and alignment, the layout of a text into lines ("#" breaks a
// line and "\#" is a literal "#", as are carriage returns and line feeds; optional wrapping at
// a width) and drawing it glyph by glyph from a font's glyph sheet or sprite, plain, scaled and
// turned, or with four corner colours.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "resources/Font_Class.h"

namespace zorvex {

class CGraphics;
class CFontTable;
class CSpriteTable;

// One laid-out line: a range of the converted text and its width in pixels.
struct CTextLine {
  uint32_t start = 0;
  uint32_t length = 0;
  int32_t width = 0;
};

// Splits `text` into lines measured with `font`. `converted` receives the text with "\#" made a
// literal "#" and every other "#" a line feed; the lines index into it. With w >= 0 each piece is
// wrapped into lines no wider than w, breaking after spaces and hyphens only, so a single wider
// word stands on a line of its own. Empty text has no lines.
void LayoutText(const CFont& font, std::string_view text, int32_t w, std::string& converted,
                std::vector<CTextLine>& lines);

class CTextState {
 public:
  CTextState();
  ~CTextState();

  int32_t font = -1;   // chosen with draw_set_font; -1 for the default font
  int32_t halign = 0;  // 0 left, 1 centre, 2 right
  int32_t valign = 0;  // 0 top, 1 middle, 2 bottom
  // Renders the default font's sheet ("Arial", 12, characters 32 to 127) on first need; until
  // the platform gives one, the default font is empty and draws nothing.
  CGlyphRenderer* glyph_renderer = nullptr;

  // The font operations use: the selected one if it exists, else the default font.
  const CFont& FontInUse(CGraphics& g, const CFontTable& fonts);

  // Scratch of the last layout, kept so that drawing text allocates nothing once warm.
  std::string converted;
  std::vector<CTextLine> lines;

 private:
  std::unique_ptr<CFont> default_font_;
  CFont empty_font_;
};

// draw_set_font: an index that is not a font selects the default font.
void DrawSetFont(CGraphics& g, const CFontTable& fonts, int64_t font);
// 1 and 2 as they are, anything else 0.
void DrawSetHalign(CGraphics& g, int64_t halign);
void DrawSetValign(CGraphics& g, int64_t valign);

// Widest line, at least 1; w < 0 means no wrapping (the separation changes no width).
int32_t StringWidth(CGraphics& g, const CFontTable& fonts, std::string_view text, int32_t sep,
                    int32_t w);
// Line height + separation x (lines - 1), sep < 0 meaning the line height; 1 for no lines.
int32_t StringHeight(CGraphics& g, const CFontTable& fonts, std::string_view text, int32_t sep,
                     int32_t w);

// How a text is drawn: plain (the drawing colour and alpha, alignment in whole pixels), or
// transformed (scales and an angle in degrees), optionally with four colours spread over each
// line: c1, c2 the top corners of a line, c4, c3 the bottom ones, left to right.
struct CTextStyle {
  bool transformed = false;
  double xscale = 1.0;
  double yscale = 1.0;
  double angle = 0.0;
  bool colored = false;
  int32_t c1 = 0, c2 = 0, c3 = 0, c4 = 0;
  double alpha = 1.0;
};

void DrawText(CGraphics& g, const CFontTable& fonts, const CSpriteTable& sprites, double x,
              double y, std::string_view text, int32_t sep, int32_t w, const CTextStyle& style);

}  // namespace zorvex
