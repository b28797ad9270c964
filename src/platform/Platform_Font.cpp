#include "platform/Platform_Font.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <cmath>

#include "platform/Platform_Text.h"

namespace zorvex {

namespace {

FT_Face FaceOf(void* p) {
  return static_cast<FT_Face>(p);
}

// Point sizes are for a 96 DPI screen, rounded the way the Windows font mapper rounds them.
int32_t PixelsPerEm(int32_t points) {
  return static_cast<int32_t>((int64_t{points} * 96 + 36) / 72);
}

}  // namespace

CSystemFontRenderer::~CSystemFontRenderer() {
  ReleaseFace();
  if (library_ != nullptr) FT_Done_FreeType(static_cast<FT_Library>(library_));
  if (config_ != nullptr) FcConfigDestroy(static_cast<FcConfig*>(config_));
}

void CSystemFontRenderer::ReleaseFace() {
  if (face_ != nullptr) FT_Done_Face(FaceOf(face_));
  face_ = nullptr;
  file_.clear();
  family_.clear();
}

bool CSystemFontRenderer::SelectFont(const std::string& name, int32_t size, bool bold,
                                     bool italic) {
  ReleaseFace();
  if (size <= 0) return false;
  if (library_ == nullptr) {
    FT_Library lib;
    if (FT_Init_FreeType(&lib) != 0) return false;
    library_ = lib;
  }
  // A configuration of our own, released with the renderer (the process-wide one is never
  // released until the platform stops).
  if (config_ == nullptr) config_ = FcInitLoadConfigAndFonts();
  FcConfig* config = static_cast<FcConfig*>(config_);
  if (config == nullptr) return false;
  FcPattern* pattern = FcPatternCreate();
  // Font names come from game data: Windows-1252 bytes.
  const std::string family = Cp1252ToUtf8(name);
  if (!family.empty())
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  FcConfigSubstitute(config, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result;
  FcPattern* match = FcFontMatch(config, pattern, &result);
  FcPatternDestroy(pattern);
  if (match == nullptr) return false;
  FcChar8* file = nullptr;
  FcChar8* matched_family = nullptr;
  int index = 0, weight = FC_WEIGHT_REGULAR, slant = FC_SLANT_ROMAN;
  bool ok = FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch;
  if (ok) {
    file_ = reinterpret_cast<const char*>(file);
    if (FcPatternGetString(match, FC_FAMILY, 0, &matched_family) == FcResultMatch)
      family_ = reinterpret_cast<const char*>(matched_family);
    FcPatternGetInteger(match, FC_INDEX, 0, &index);
    FcPatternGetInteger(match, FC_WEIGHT, 0, &weight);
    FcPatternGetInteger(match, FC_SLANT, 0, &slant);
  }
  FcPatternDestroy(match);
  FT_Face face = nullptr;
  if (!ok || FT_New_Face(static_cast<FT_Library>(library_), file_.c_str(), index, &face) != 0) {
    file_.clear();
    family_.clear();
    return false;
  }
  face_ = face;
  embolden_ = bold && weight < FC_WEIGHT_DEMIBOLD;
  slant_ = italic && slant == FC_SLANT_ROMAN;
  const int32_t ppem = PixelsPerEm(size);
  if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(ppem)) != 0) {
    ReleaseFace();
    return false;
  }
  // The cell height is what the Windows font mapper reports: the font's own ascent and descent
  // for Windows (which the Liberation fonts share with the fonts they stand in for), their sum
  // rounded as a whole, the ascent rounded alone.
  int64_t up = 0, down = 0;
  const TT_OS2* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  if (os2 != nullptr && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
    up = os2->usWinAscent;
    down = os2->usWinDescent;
  } else {
    up = face->ascender;
    down = -face->descender;
  }
  const double scale = static_cast<double>(ppem) / face->units_per_EM;
  const int32_t height = static_cast<int32_t>(std::lround(static_cast<double>(up + down) * scale));
  ascent_ = static_cast<int32_t>(std::lround(static_cast<double>(up) * scale));
  descent_ = height - ascent_;
  return true;
}

bool CSystemFontRenderer::LoadGlyph(uint8_t c) {
  FT_Face face = FaceOf(face_);
  if (face == nullptr) return false;
  const FT_UInt glyph = FT_Get_Char_Index(face, Cp1252CodePoint(c));
  if (FT_Load_Glyph(face, glyph, FT_LOAD_DEFAULT | FT_LOAD_TARGET_NORMAL) != 0) return false;
  if (face->glyph->format == FT_GLYPH_FORMAT_OUTLINE) {
    if (slant_) FT_GlyphSlot_Oblique(face->glyph);
    if (embolden_) FT_GlyphSlot_Embolden(face->glyph);
  }
  return FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL) == 0;
}

int32_t CSystemFontRenderer::TextHeight(std::string_view) {
  return face_ != nullptr ? ascent_ + descent_ : -1;
}

int32_t CSystemFontRenderer::TextWidth(std::string_view text) {
  int32_t w = 0;
  for (char ch : text)
    if (LoadGlyph(static_cast<uint8_t>(ch)))
      w += static_cast<int32_t>((FaceOf(face_)->glyph->advance.x + 32) >> 6);
  return w;
}

bool CSystemFontRenderer::CharWidths(uint8_t c, int32_t& a, int32_t& b, int32_t& cw) {
  if (!LoadGlyph(c)) {
    a = b = cw = 0;
    return face_ != nullptr;
  }
  const FT_GlyphSlot slot = FaceOf(face_)->glyph;
  const int32_t advance = static_cast<int32_t>((slot->advance.x + 32) >> 6);
  a = slot->bitmap.width > 0 ? slot->bitmap_left : 0;
  b = static_cast<int32_t>(slot->bitmap.width);
  cw = advance - a - b;
  return true;
}

void CSystemFontRenderer::DrawChar(uint8_t c, int32_t x, int32_t y, uint8_t ink, uint8_t* canvas,
                                   int32_t w, int32_t h) {
  if (!LoadGlyph(c)) return;
  const FT_GlyphSlot slot = FaceOf(face_)->glyph;
  const FT_Bitmap& bm = slot->bitmap;
  const int32_t left = x + slot->bitmap_left;
  const int32_t top = y + ascent_ - slot->bitmap_top;
  for (int32_t row = 0; row < static_cast<int32_t>(bm.rows); ++row) {
    const int32_t py = top + row;
    if (py < 0 || py >= h) continue;
    const uint8_t* src = bm.buffer + static_cast<ptrdiff_t>(row) * bm.pitch;
    for (int32_t col = 0; col < static_cast<int32_t>(bm.width); ++col) {
      const int32_t px = left + col;
      if (px < 0 || px >= w) continue;
      int32_t cover;
      if (bm.pixel_mode == FT_PIXEL_MODE_MONO)
        cover = (src[col >> 3] >> (7 - (col & 7)) & 1) != 0 ? 255 : 0;
      else
        cover = src[col];
      if (cover == 0) continue;
      uint8_t& dst =
          canvas[static_cast<size_t>(py) * static_cast<size_t>(w) + static_cast<size_t>(px)];
      // Ink laid over what is there by the glyph's coverage, as a transparent text background
      // leaves it.
      dst = static_cast<uint8_t>(dst +
                                 ((int32_t{ink} - dst) * cover + (ink >= dst ? 127 : -127)) / 255);
    }
  }
}

}  // namespace zorvex
