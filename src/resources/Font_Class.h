// A font: a glyph sheet (an 8-bit alpha map of the characters of a system font, with metrics
// per character) or a sprite font whose characters are the frames of a sprite.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "resources/Resource_Texture.h"
#include "runner/Support_Stream.h"

namespace zorvex {

class CSpriteTable;

struct CGlyph {
  int32_t x = 0;  // the character's rectangle on the sheet
  int32_t y = 0;
  int32_t width = 0;
  int32_t height = 0;
  int32_t advance = 0;  // how far the pen moves
  int32_t offset = 0;   // horizontal shift of the drawn glyph from the pen
  bool operator==(const CGlyph&) const = default;
};

// What building a glyph sheet needs of the platform's text rendering.
class CGlyphRenderer {
 public:
  virtual ~CGlyphRenderer() = default;
  // False when no font can be made for these values.
  virtual bool SelectFont(const std::string& name, int32_t size, bool bold, bool italic) = 0;
  virtual int32_t TextHeight(std::string_view text) = 0;
  virtual int32_t TextWidth(std::string_view text) = 0;
  // The A, B and C widths of an outline font's character; false for fonts without them.
  virtual bool CharWidths(uint8_t c, int32_t& a, int32_t& b, int32_t& cw) = 0;
  // Draws character c, its cell's top-left at (x, y), in grey level `ink` onto a w x h grey
  // canvas (row-major, top row first), with a transparent text background.
  virtual void DrawChar(uint8_t c, int32_t x, int32_t y, uint8_t ink, uint8_t* canvas, int32_t w,
                        int32_t h) = 0;
};

class CFont {
 public:
  static constexpr int32_t kRecordVersion = 540;
  // Sheets wider than this are not built (a font that large cannot be meant).
  static constexpr int32_t kMaxSheetWidth = 16384;

  std::string name;
  int32_t size = 12;
  bool bold = false;
  bool italic = false;
  int32_t first = 32;
  int32_t last = 128;
  int32_t sprite_index = -1;  // -1: a glyph-sheet font
  std::array<CGlyph, 256> glyphs{};
  int32_t sheet_width = 0;
  int32_t sheet_height = 0;
  std::vector<uint8_t> sheet;  // alpha per sheet pixel, row-major, top row first
  // The texture of the sheet, made through the maker the font is attached to; none for sprite
  // fonts, fonts without a name and while attached to none.
  CTextureIds textures;

  int32_t Texture() const { return textures.At(0); }

  void Clear();
  // Clear, then the stored record. False on a wrong version, a character range outside 0-255
  // or a sheet of another size than stored.
  bool ReadFrom(CStream& s);
  void WriteTo(CStream& s) const;

  // A glyph sheet of a system font, built through the renderer. first and last are clamped to
  // 0-255.
  void FromSystemFont(CGlyphRenderer& renderer, const std::string& name, int32_t size, bool bold,
                      bool italic, int32_t first, int32_t last);
  // A font whose characters from `first` on are the frames of a sprite.
  void FromSprite(const CSpriteTable& sprites, int32_t sprite, int32_t first, bool proportional,
                  int32_t separation);

  // The pen movement for character code c (characters outside the range move the pen by the
  // space's advance when the range holds a space, else by the first character's).
  int32_t Advance(uint8_t c) const;
  int32_t StringWidth(std::string_view s) const;
  int32_t LineHeight() const;

  // Frees the old texture; a glyph-sheet font with a name gets one made from its sheet.
  void MakeTexture();
  // From now on the texture is made through `maker` (null: none); made when it changes.
  void AttachTextures(ITextureMaker* maker);

  bool operator==(const CFont&) const = default;

 private:
  void BuildSheet(CGlyphRenderer& renderer);
};

}  // namespace zorvex
