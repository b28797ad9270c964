#include "platform/Platform_SoftDraw.h"

#include <SDL.h>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <string>

#include "platform/Platform_Text.h"

namespace zorvex {

namespace {

std::string MatchFontFile(const char* family) {
  std::string path;
  if (!FcInit()) return path;
  FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(family));
  if (pattern == nullptr) return path;
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  FcChar8* file = nullptr;
  if (match != nullptr && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch)
    path = reinterpret_cast<const char*>(file);
  if (match != nullptr) FcPatternDestroy(match);
  FcPatternDestroy(pattern);
  return path;
}

}  // namespace

CSoftFont::~CSoftFont() {
  Release();
}

void CSoftFont::Release() {
  if (face_ != nullptr) FT_Done_Face(static_cast<FT_Face>(face_));
  if (library_ != nullptr) FT_Done_FreeType(static_cast<FT_Library>(library_));
  face_ = nullptr;
  library_ = nullptr;
  glyphs_ = {};
}

bool CSoftFont::Load(const char* family, int32_t pixel_size) {
  Release();
  FT_Library lib;
  if (FT_Init_FreeType(&lib) != 0) return false;
  library_ = lib;
  std::string path = MatchFontFile(family);
  FT_Face f;
  if (path.empty() || FT_New_Face(lib, path.c_str(), 0, &f) != 0) {
    Release();
    return false;
  }
  face_ = f;
  FT_Set_Pixel_Sizes(f, 0, static_cast<FT_UInt>(std::max(pixel_size, 1)));
  ascent_ = static_cast<int32_t>(f->size->metrics.ascender >> 6);
  descent_ = static_cast<int32_t>(-f->size->metrics.descender >> 6);
  return true;
}

const CSoftFont::Glyph& CSoftFont::GlyphOf(uint8_t byte) {
  Glyph& g = glyphs_[byte];
  if (g.loaded || face_ == nullptr) return g;
  g.loaded = true;
  FT_Face face = static_cast<FT_Face>(face_);
  if (FT_Load_Char(face, Cp1252CodePoint(byte), FT_LOAD_RENDER) != 0) return g;
  const FT_Bitmap& bm = face->glyph->bitmap;
  g.left = face->glyph->bitmap_left;
  g.top = face->glyph->bitmap_top;
  g.width = static_cast<int32_t>(bm.width);
  g.rows = static_cast<int32_t>(bm.rows);
  g.advance = static_cast<int32_t>(face->glyph->advance.x >> 6);
  g.coverage.resize(static_cast<size_t>(g.width) * static_cast<size_t>(g.rows));
  for (int32_t row = 0; row < g.rows; ++row)
    for (int32_t col = 0; col < g.width; ++col)
      g.coverage[static_cast<size_t>(row * g.width + col)] = bm.buffer[row * bm.pitch + col];
  return g;
}

int32_t CSoftFont::TextWidth(std::string_view text) {
  int32_t w = 0;
  for (char ch : text)
    w += GlyphOf(static_cast<uint8_t>(ch)).advance;
  return w;
}

void CSoftFont::Draw(SDL_Surface* target, int32_t x, int32_t baseline, std::string_view text,
                     uint32_t rgb, const SoftRect& clip) {
  if (face_ == nullptr || target == nullptr || target->format->BytesPerPixel != 4) return;
  const int32_t left = std::max(clip.x, 0), top = std::max(clip.y, 0);
  const int32_t right = std::min(clip.x + clip.w, target->w);
  const int32_t bottom = std::min(clip.y + clip.h, target->h);
  const uint32_t cr = rgb >> 16 & 0xFF, cg = rgb >> 8 & 0xFF, cb = rgb & 0xFF;
  const SDL_PixelFormat* fmt = target->format;
  SDL_LockSurface(target);
  uint8_t* base = static_cast<uint8_t*>(target->pixels);
  int32_t pen = x;
  for (char ch : text) {
    const Glyph& g = GlyphOf(static_cast<uint8_t>(ch));
    const int32_t gx = pen + g.left, gy = baseline - g.top;
    pen += g.advance;
    if (pen < left) continue;
    if (gx >= right) break;
    for (int32_t row = 0; row < g.rows; ++row) {
      const int32_t py = gy + row;
      if (py < top || py >= bottom) continue;
      for (int32_t col = 0; col < g.width; ++col) {
        const int32_t px = gx + col;
        if (px < left || px >= right) continue;
        const uint32_t cover = g.coverage[static_cast<size_t>(row * g.width + col)];
        if (cover == 0) continue;
        uint32_t* p = reinterpret_cast<uint32_t*>(base + py * target->pitch + px * 4);
        uint8_t r, gr, b;
        SDL_GetRGB(*p, fmt, &r, &gr, &b);
        const uint32_t keep = 255u - cover;
        *p = SDL_MapRGB(fmt, static_cast<uint8_t>((r * keep + cr * cover) / 255),
                        static_cast<uint8_t>((gr * keep + cg * cover) / 255),
                        static_cast<uint8_t>((b * keep + cb * cover) / 255));
      }
    }
  }
  SDL_UnlockSurface(target);
}

void SoftFill(SDL_Surface* target, const SoftRect& r, uint32_t rgb) {
  if (target == nullptr || r.w <= 0 || r.h <= 0) return;
  SDL_Rect rect{r.x, r.y, r.w, r.h};
  SDL_FillRect(target, &rect,
               SDL_MapRGB(target->format, static_cast<uint8_t>(rgb >> 16),
                          static_cast<uint8_t>(rgb >> 8), static_cast<uint8_t>(rgb)));
}

void SoftFrame(SDL_Surface* target, const SoftRect& r, uint32_t rgb) {
  SoftFill(target, {r.x, r.y, r.w, 1}, rgb);
  SoftFill(target, {r.x, r.y + r.h - 1, r.w, 1}, rgb);
  SoftFill(target, {r.x, r.y, 1, r.h}, rgb);
  SoftFill(target, {r.x + r.w - 1, r.y, 1, r.h}, rgb);
}

}  // namespace zorvex
