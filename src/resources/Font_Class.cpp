#include "resources/Font_Class.h"

#include <algorithm>

#include "resources/Resource_Read.h"
#include "resources/Sprite_Main.h"

namespace zorvex {

void CFont::Clear() {
  *this = CFont();
}

bool CFont::ReadFrom(CStream& s) {
  Clear();
  if (s.ReadInt() != kRecordVersion) return false;
  name = s.ReadString();
  size = s.ReadInt();
  bold = s.ReadBool();
  italic = s.ReadBool();
  first = s.ReadInt();
  last = s.ReadInt();
  // Text layout indexes the metrics with these.
  if (first < 0 || first > 255 || last < 0 || last > 255) return false;
  for (CGlyph& g : glyphs) {
    g.x = s.ReadInt();
    g.y = s.ReadInt();
    g.width = s.ReadInt();
    g.height = s.ReadInt();
    g.advance = s.ReadInt();
    g.offset = s.ReadInt();
  }
  sheet_width = s.ReadInt();
  sheet_height = s.ReadInt();
  if (sheet_width < 0 || sheet_height < 0) return false;
  return ReadCompressedBlockExact(
      s, static_cast<size_t>(sheet_width) * static_cast<size_t>(sheet_height), sheet);
}

void CFont::WriteTo(CStream& s) const {
  s.WriteInt(kRecordVersion);
  s.WriteString(name);
  s.WriteInt(size);
  s.WriteBool(bold);
  s.WriteBool(italic);
  s.WriteInt(first);
  s.WriteInt(last);
  for (const CGlyph& g : glyphs) {
    s.WriteInt(g.x);
    s.WriteInt(g.y);
    s.WriteInt(g.width);
    s.WriteInt(g.height);
    s.WriteInt(g.advance);
    s.WriteInt(g.offset);
  }
  s.WriteInt(sheet_width);
  s.WriteInt(sheet_height);
  s.WriteCompressedBlock(sheet.data(), sheet.size());
}

void CFont::FromSystemFont(CGlyphRenderer& renderer, const std::string& name_, int32_t size_,
                           bool bold_, bool italic_, int32_t first_, int32_t last_) {
  Clear();
  name = name_;
  size = size_;
  bold = bold_;
  italic = italic_;
  // A first code above 255 would index past the metrics; it is held to the table like last.
  first = std::clamp(first_, 0, 255);
  last = std::min(255, last_);
  BuildSheet(renderer);
  MakeTexture();
}

void CFont::MakeTexture() {
  textures.Free();
  // A sheet that could not be built has nothing to draw.
  if (sprite_index < 0 && !name.empty() && !sheet.empty())
    textures.AddAlpha(sheet_width, sheet_height, sheet.data());
}

void CFont::AttachTextures(ITextureMaker* maker) {
  if (maker == textures.maker()) return;
  textures.SetMaker(maker);
  MakeTexture();
}

void CFont::BuildSheet(CGlyphRenderer& renderer) {
  if (!renderer.SelectFont(name, size, bold, italic)) return;
  const int32_t h = renderer.TextHeight("W");
  if (h < 0) return;
  std::array<int32_t, 256> a_width{};
  std::array<bool, 256> has_abc{};
  int32_t w = 64;
  int32_t sheet_h = 0;
  do {
    w *= 2;
    if (w > kMaxSheetWidth) return;
    int32_t pen = 0, y = 0;
    for (int32_t c = first; c <= last; ++c) {
      CGlyph& g = glyphs[static_cast<size_t>(c)];
      int32_t a, b, cw;
      uint8_t ch = static_cast<uint8_t>(c);
      has_abc[static_cast<size_t>(c)] = renderer.CharWidths(ch, a, b, cw);
      if (has_abc[static_cast<size_t>(c)]) {
        g.width = b + 1;
        g.advance = a + b + cw;
        g.offset = a;
        a_width[static_cast<size_t>(c)] = a;
      } else {
        char text[1] = {static_cast<char>(ch)};
        int32_t tw = renderer.TextWidth(std::string_view(text, 1));
        g.width = italic ? h / 2 + tw + 2 : tw + 1;
        g.advance = tw;
        g.offset = 0;
      }
      g.height = h;
      if (pen > 0 && pen + g.width >= w) {
        y += h + 1;
        pen = 0;
      }
      g.x = pen;
      g.y = y;
      pen += g.width + 1;
    }
    sheet_h = y + h + 1;
  } while (w < sheet_h);

  size_t n = static_cast<size_t>(w) * static_cast<size_t>(sheet_h);
  std::vector<uint8_t> light(n, 0), dark(n, 255);
  for (int32_t c = first; c <= last; ++c) {
    const CGlyph& g = glyphs[static_cast<size_t>(c)];
    int32_t x = has_abc[static_cast<size_t>(c)] ? g.x - a_width[static_cast<size_t>(c)] : g.x;
    renderer.DrawChar(static_cast<uint8_t>(c), x, g.y, 255, light.data(), w, sheet_h);
    renderer.DrawChar(static_cast<uint8_t>(c), x, g.y, 0, dark.data(), w, sheet_h);
  }
  sheet.resize(n);
  for (size_t i = 0; i < n; ++i)
    sheet[i] = static_cast<uint8_t>((int32_t{light[i]} - dark[i] + 255) >> 1);
  sheet_width = w;
  sheet_height = sheet_h;
}

void CFont::FromSprite(const CSpriteTable& sprites, int32_t sprite, int32_t first_,
                       bool proportional, int32_t separation) {
  Clear();
  const CSprite* spr = sprites.Get(sprite);
  if (!spr) return;
  sprite_index = sprite;
  first = std::clamp(first_, 0, 255);
  last = static_cast<int32_t>(std::min<int64_t>(255, int64_t{first} + spr->FrameCount() - 1));
  for (int32_t c = first; c <= last; ++c) {
    CRect box = proportional ? spr->FrameBounds(c - first) : CRect{0, 0, spr->width, spr->height};
    CGlyph& g = glyphs[static_cast<size_t>(c)];
    g.height = spr->height;
    g.advance = box.right + separation - box.left;
    g.offset = -box.left;
  }
}

int32_t CFont::Advance(uint8_t c) const {
  if (c >= first && c <= last) return glyphs[c].advance;
  if (first <= 32 && 32 <= last) return glyphs[32].advance;
  return glyphs[static_cast<size_t>(first)].advance;
}

int32_t CFont::StringWidth(std::string_view s) const {
  int32_t w = 0;
  for (char ch : s)
    w += Advance(static_cast<uint8_t>(ch));
  return w;
}

int32_t CFont::LineHeight() const {
  return glyphs[static_cast<size_t>(first)].height;
}

}  // namespace zorvex
