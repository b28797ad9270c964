#include "graphics/Graphics_Text.h"

#include <algorithm>
#include <cmath>

#include "code/Code_Round.h"
#include "graphics/Graphics_Color.h"
#include "graphics/Graphics_Main.h"
#include "graphics/Graphics_Sprite.h"
#include "resources/Font_Main.h"
#include "resources/Sprite_Main.h"

namespace zorvex {

namespace {

constexpr double kDegToRad = 3.14159265358979323846 / 180.0;

int32_t WidthOf(const CFont& font, const std::string& s, size_t begin, size_t end) {
  int32_t w = 0;
  for (size_t i = begin; i < end; ++i)
    w += font.Advance(static_cast<uint8_t>(s[i]));
  return w;
}

// The end of the word starting at `pos`: just after the next space or hyphen, or `end`.
size_t WordEnd(const std::string& s, size_t pos, size_t end) {
  while (pos < end) {
    const char c = s[pos++];
    if (c == ' ' || c == '-') break;
  }
  return pos;
}

void AddLine(std::vector<CTextLine>& lines, size_t begin, size_t end, int32_t width) {
  lines.push_back({static_cast<uint32_t>(begin), static_cast<uint32_t>(end - begin), width});
}

// One piece between line breaks, wrapped at w (w < 0: the whole piece).
void LayoutPiece(const CFont& font, const std::string& s, size_t begin, size_t end, int32_t w,
                 std::vector<CTextLine>& lines) {
  if (w < 0 || begin == end) {
    AddLine(lines, begin, end, WidthOf(font, s, begin, end));
    return;
  }
  size_t pos = begin;
  while (pos < end) {
    const size_t start = pos;
    pos = WordEnd(s, pos, end);
    int32_t width = WidthOf(font, s, start, pos);
    while (pos < end && width < w) {
      const size_t next = WordEnd(s, pos, end);
      const int32_t ww = WidthOf(font, s, pos, next);
      if (width + ww > w) break;
      width += ww;
      pos = next;
    }
    AddLine(lines, start, pos, width);
  }
}

}  // namespace

void LayoutText(const CFont& font, std::string_view text, int32_t w, std::string& converted,
                std::vector<CTextLine>& lines) {
  converted.clear();
  lines.clear();
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\\' && i + 1 < text.size() && text[i + 1] == '#') {
      converted.push_back('#');
      ++i;
    } else {
      converted.push_back(c == '#' ? '\n' : c);
    }
  }
  // Every carriage return and line feed ends a line (so CR LF leaves an empty one between);
  // what follows the last of them is a line when it is not empty.
  size_t begin = 0;
  for (size_t i = 0; i < converted.size(); ++i) {
    if (converted[i] == '\r' || converted[i] == '\n') {
      LayoutPiece(font, converted, begin, i, w, lines);
      begin = i + 1;
    }
  }
  if (begin < converted.size()) LayoutPiece(font, converted, begin, converted.size(), w, lines);
}

CTextState::CTextState() = default;
CTextState::~CTextState() = default;

const CFont& CTextState::FontInUse(CGraphics& g, const CFontTable& fonts) {
  if (const CFont* f = fonts.Get(font)) return *f;
  if (!default_font_ && glyph_renderer) {
    default_font_ = std::make_unique<CFont>();
    default_font_->AttachTextures(&g.resource_textures);
    default_font_->FromSystemFont(*glyph_renderer, "Arial", 12, false, false, 32, 127);
  }
  return default_font_ ? *default_font_ : empty_font_;
}

void DrawSetFont(CGraphics& g, const CFontTable& fonts, int64_t font) {
  g.text.font = font >= 0 && font <= INT32_MAX && fonts.Exists(static_cast<int32_t>(font))
                    ? static_cast<int32_t>(font)
                    : -1;
}

void DrawSetHalign(CGraphics& g, int64_t halign) {
  g.text.halign = halign == 1 || halign == 2 ? static_cast<int32_t>(halign) : 0;
}

void DrawSetValign(CGraphics& g, int64_t valign) {
  g.text.valign = valign == 1 || valign == 2 ? static_cast<int32_t>(valign) : 0;
}

int32_t StringWidth(CGraphics& g, const CFontTable& fonts, std::string_view text, int32_t /*sep*/,
                    int32_t w) {
  CTextState& t = g.text;
  LayoutText(t.FontInUse(g, fonts), text, w, t.converted, t.lines);
  int32_t widest = 1;
  for (const CTextLine& line : t.lines)
    widest = std::max(widest, line.width);
  return widest;
}

int32_t StringHeight(CGraphics& g, const CFontTable& fonts, std::string_view text, int32_t sep,
                     int32_t w) {
  CTextState& t = g.text;
  const CFont& font = t.FontInUse(g, fonts);
  LayoutText(font, text, w, t.converted, t.lines);
  if (t.lines.empty()) return 1;
  const int64_t lh = font.LineHeight();
  const int64_t s = sep < 0 ? lh : sep;
  const int64_t h = lh + s * static_cast<int64_t>(t.lines.size() - 1);
  return static_cast<int32_t>(std::clamp<int64_t>(h, INT32_MIN, INT32_MAX));
}

namespace {

struct LineDrawer {
  CGraphics& g;
  const CFont& font;
  const CSprite* sprite;  // sprite fonts only
  int32_t texture;        // glyph-sheet fonts only
  const CTextStyle& st;
  int32_t color;  // plain forms: the drawing colour
  double alpha;
  double cos_a, sin_a, angle;  // angle in degrees for sprites, radians for textures

  void Draw(const std::string& s, const CTextLine& line, double px, double py) const {
    const double step_x = st.xscale * cos_a, step_y = -st.xscale * sin_a;
    const double width = line.width;
    double p = 0;  // the pen's distance from the line's start, unscaled
    for (uint32_t i = 0; i < line.length; ++i) {
      const uint8_t c = static_cast<uint8_t>(s[line.start + i]);
      const int32_t advance = font.Advance(c);
      if (c >= font.first && c <= font.last) Glyph(c, px, py, p, advance, width);
      px += advance * step_x;
      py += advance * step_y;
      p += advance;
    }
  }

  void Glyph(uint8_t c, double px, double py, double p, int32_t advance, double width) const {
    const CGlyph& gl = font.glyphs[c];
    const double x = px + st.xscale * gl.offset * cos_a;
    const double y = py - st.xscale * gl.offset * sin_a;
    int32_t tl = color, tr = color, br = color, bl = color;
    if (st.colored) {
      const double from = width != 0 ? p / width : 0.0;
      const double to = width != 0 ? (p + advance) / width : 0.0;
      tl = MergeColor(st.c1, st.c2, from);
      tr = MergeColor(st.c1, st.c2, to);
      br = MergeColor(st.c4, st.c3, to);
      bl = MergeColor(st.c4, st.c3, from);
    }
    const int64_t frame = int64_t{c} - font.first;
    if (sprite) {
      if (st.colored) {
        DrawSpriteGeneral(g, *sprite, frame, 0, 0, sprite->width, sprite->height, x, y, st.xscale,
                          st.yscale, angle, tl, tr, br, bl, alpha);
      } else {
        DrawSpriteExt(g, *sprite, frame, x, y, st.xscale, st.yscale, angle, color, alpha);
      }
    } else if (st.colored) {
      TextureDrawGeneral(g, texture, tl, tr, br, bl, alpha, gl.x, gl.y, gl.width, gl.height, x, y,
                         st.xscale, st.yscale, angle);
    } else {
      TextureDrawPart(g, texture, color, gl.x, gl.y, gl.width, gl.height, x, y, st.xscale,
                      st.yscale, angle, alpha);
    }
  }
};

}  // namespace

void DrawText(CGraphics& g, const CFontTable& fonts, const CSpriteTable& sprites, double x,
              double y, std::string_view text, int32_t sep, int32_t w, const CTextStyle& given) {
  CTextStyle style = given;
  if (!style.transformed) {
    style.xscale = style.yscale = 1.0;
    style.angle = 0.0;
  }
  CTextState& t = g.text;
  const CFont& font = t.FontInUse(g, fonts);
  LayoutText(font, text, w, t.converted, t.lines);
  if (t.lines.empty()) return;
  const CSprite* sprite = font.sprite_index >= 0 ? sprites.Get(font.sprite_index) : nullptr;
  const int32_t texture = font.Texture();
  // A font that has neither draws nothing, but there is no point laying it out further.
  if (!sprite && texture < 0) return;

  const int64_t n = static_cast<int64_t>(t.lines.size());
  const int64_t s = sep < 0 ? font.LineHeight() : sep;
  const double rad = style.transformed ? style.angle * kDegToRad : 0.0;
  const double ca = style.transformed ? std::cos(rad) : 1.0;
  const double sa = style.transformed ? std::sin(rad) : 0.0;
  LineDrawer d{g,
               font,
               sprite,
               texture,
               style,
               style.colored ? 0 : DrawGetColor(g),
               style.colored ? style.alpha : g.draw.alpha,
               ca,
               sa,
               sprite ? (style.transformed ? style.angle : 0.0) : rad};

  double sx = x, sy = y;
  if (!style.transformed) {
    if (t.valign == 1) sy -= static_cast<double>((n * s) / 2);
    if (t.valign == 2) sy -= static_cast<double>(n * s);
    for (const CTextLine& line : t.lines) {
      const int32_t offset = t.halign == 1 ? -(line.width / 2) : t.halign == 2 ? -line.width : 0;
      d.Draw(t.converted, line, sx + offset, sy);
      sy += static_cast<double>(s);
    }
    return;
  }
  const double block = static_cast<double>(n * s) * style.yscale;
  if (t.valign == 1) {
    sx -= static_cast<double>(RoundToInt64(block * sa / 2));
    sy -= static_cast<double>(RoundToInt64(block * ca / 2));
  } else if (t.valign == 2) {
    sx -= static_cast<double>(RoundToInt64(block * sa));
    sy -= static_cast<double>(RoundToInt64(block * ca));
  }
  const double line_step = static_cast<double>(s) * style.yscale;
  for (const CTextLine& line : t.lines) {
    double offset = 0;
    if (t.halign == 1) offset = -static_cast<double>(RoundToInt64(style.xscale * line.width / 2));
    if (t.halign == 2) offset = -static_cast<double>(RoundToInt64(style.xscale * line.width));
    d.Draw(t.converted, line, sx + offset * ca, sy - offset * sa);
    sx += line_step * sa;
    sy += line_step * ca;
  }
}

}  // namespace zorvex
