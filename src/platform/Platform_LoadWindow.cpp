#include "platform/Platform_LoadWindow.h"

#include <SDL.h>
#include <SDL_shape.h>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>

#include "platform/Platform_Text.h"
#include "platform/Platform_Window.h"

namespace zorvex {

namespace {

SDL_Surface* SurfaceOf(const PixelView& v) {
  if (v.Empty()) return nullptr;
  return SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint32_t*>(v.pixels), v.width, v.height, 32,
                                            v.width * 4, SDL_PIXELFORMAT_ARGB8888);
}

SDL_Rect RectOf(const PixelRect& r) {
  return SDL_Rect{r.left, r.top, r.width, r.height};
}

// The step label: black text in the Liberation Sans face, about the size of the dialog font.
bool LoadFont(void*& library, void*& face) {
  if (face != nullptr) return true;
  FT_Library lib;
  if (FT_Init_FreeType(&lib) != 0) return false;
  library = lib;
  std::string path;
  if (FcInit()) {
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>("Liberation Sans"));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcChar8* file = nullptr;
    if (match != nullptr && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch)
      path = reinterpret_cast<const char*>(file);
    if (match != nullptr) FcPatternDestroy(match);
    FcPatternDestroy(pattern);
  }
  FT_Face f;
  if (path.empty() || FT_New_Face(lib, path.c_str(), 0, &f) != 0) return false;
  FT_Set_Pixel_Sizes(f, 0, 11);
  face = f;
  return true;
}

void DrawLabel(SDL_Surface* target, void* face_ptr, const PixelRect& rect,
               const std::string& text) {
  FT_Face face = static_cast<FT_Face>(face_ptr);
  std::string utf8 = Cp1252ToUtf8(text);
  const int ascent = static_cast<int>(face->size->metrics.ascender >> 6);
  const int descent = static_cast<int>(-face->size->metrics.descender >> 6);
  int pen_x = rect.left;
  const int baseline = rect.top + (rect.height - (ascent + descent)) / 2 + ascent;
  SDL_LockSurface(target);
  uint8_t* base = static_cast<uint8_t*>(target->pixels);
  const SDL_PixelFormat* fmt = target->format;
  size_t i = 0;
  while (i < utf8.size()) {
    // Decode one UTF-8 character.
    uint32_t cp = static_cast<uint8_t>(utf8[i]);
    size_t len = cp < 0x80 ? 1 : cp < 0xE0 ? 2 : cp < 0xF0 ? 3 : 4;
    cp = len == 1 ? cp : cp & (0xFF >> (len + 1));
    for (size_t k = 1; k < len && i + k < utf8.size(); ++k)
      cp = cp << 6 | (static_cast<uint8_t>(utf8[i + k]) & 0x3F);
    i += len;
    if (FT_Load_Char(face, cp, FT_LOAD_RENDER) != 0) continue;
    const FT_Bitmap& bm = face->glyph->bitmap;
    const int gx = pen_x + face->glyph->bitmap_left, gy = baseline - face->glyph->bitmap_top;
    for (unsigned row = 0; row < bm.rows; ++row) {
      for (unsigned col = 0; col < bm.width; ++col) {
        int x = gx + static_cast<int>(col), y = gy + static_cast<int>(row);
        if (x < 0 || y < 0 || x >= target->w || y >= target->h) continue;
        uint8_t cover = bm.buffer[row * static_cast<unsigned>(bm.pitch) + col];
        if (cover == 0) continue;
        uint32_t* px = reinterpret_cast<uint32_t*>(base + y * target->pitch + x * 4);
        uint8_t r, g, b;
        SDL_GetRGB(*px, fmt, &r, &g, &b);
        const uint32_t keep = 255u - cover;  // black text over what is there
        *px = SDL_MapRGB(fmt, uint8_t(r * keep / 255), uint8_t(g * keep / 255),
                         uint8_t(b * keep / 255));
      }
    }
    pen_x += static_cast<int>(face->glyph->advance.x >> 6);
  }
  SDL_UnlockSurface(target);
}

}  // namespace

CLoadWindow::~CLoadWindow() {
  Hide();
  if (font_ != nullptr) FT_Done_Face(static_cast<FT_Face>(font_));
  if (library_ != nullptr) FT_Done_FreeType(static_cast<FT_Library>(library_));
}

uint32_t CLoadWindow::Id() const {
  return window_ != nullptr ? SDL_GetWindowID(window_) : 0;
}

bool CLoadWindow::Show(const LoadWindowView& view) {
  if (!PlatformHasVideo()) return false;
  if (window_ == nullptr) {
    const int w = std::max(view.width, 1), h = std::max(view.height, 1);
    const Uint32 flags = SDL_WINDOW_BORDERLESS | SDL_WINDOW_SKIP_TASKBAR;
    if (view.transparent && !view.picture.Empty()) {
      // A colour-keyed window needs the shaped kind; where the desktop has none, the window
      // is simply not see-through.
      window_ = SDL_CreateShapedWindow("", static_cast<unsigned>(view.left),
                                       static_cast<unsigned>(view.top), static_cast<unsigned>(w),
                                       static_cast<unsigned>(h), flags);
      if (window_ != nullptr) {
        SDL_Surface* shape = SurfaceOf(view.picture);
        SDL_WindowShapeMode mode;
        mode.mode = ShapeModeColorKey;
        mode.parameters.colorKey =
            SDL_Color{uint8_t(view.transparent_color >> 16), uint8_t(view.transparent_color >> 8),
                      uint8_t(view.transparent_color), 255};
        if (shape != nullptr) {
          SDL_SetWindowShape(window_, shape, &mode);
          SDL_FreeSurface(shape);
        }
      }
    }
    if (window_ == nullptr)
      window_ = SDL_CreateWindow("", view.left, view.top, w, h, flags | SDL_WINDOW_HIDDEN);
    if (window_ == nullptr) return false;
    if (view.alpha < 255) SDL_SetWindowOpacity(window_, static_cast<float>(view.alpha) / 255.0f);
    SDL_ShowWindow(window_);
  }
  Draw(view);
  return true;
}

void CLoadWindow::Update(const LoadWindowView& view) {
  if (window_ != nullptr) Draw(view);
}

void CLoadWindow::Hide() {
  if (window_ != nullptr) SDL_DestroyWindow(window_);
  window_ = nullptr;
}

void CLoadWindow::Draw(const LoadWindowView& view) {
  SDL_Surface* target = SDL_GetWindowSurface(window_);
  if (target == nullptr) return;
  const SDL_PixelFormat* fmt = target->format;
  auto fill = [&](const SDL_Rect& r, uint32_t argb) {
    SDL_FillRect(target, &r,
                 SDL_MapRGB(fmt, uint8_t(argb >> 16), uint8_t(argb >> 8), uint8_t(argb)));
  };
  SDL_Rect all{0, 0, target->w, target->h};
  if (SDL_Surface* pic = SurfaceOf(view.picture)) {
    SDL_BlitSurface(pic, nullptr, target, nullptr);
    SDL_FreeSurface(pic);
  } else {
    fill(all, view.default_color);
  }
  if (view.bars_visible) {
    SDL_Rect back = RectOf(view.empty_bar);
    if (SDL_Surface* pic = SurfaceOf(view.back_picture)) {
      SDL_BlitScaled(pic, nullptr, target, &back);  // the empty bar always stretches
      SDL_FreeSurface(pic);
    } else {
      fill(back, 0xFF808080);
      SDL_Rect inner{back.x + 1, back.y + 1, back.w - 2, back.h - 2};
      fill(inner, 0xFFFFFFFF);
    }
    SDL_Rect full = RectOf(view.full_bar);
    if (full.w > 0) {
      if (SDL_Surface* pic = SurfaceOf(view.front_picture)) {
        if (view.stretch_front) {
          SDL_BlitScaled(pic, nullptr, target, &full);
        } else {
          SDL_Rect src{0, 0, std::min(full.w, pic->w), std::min(full.h, pic->h)};
          SDL_Rect dst{full.x, full.y, src.w, src.h};
          SDL_BlitSurface(pic, &src, target, &dst);
        }
        SDL_FreeSurface(pic);
      } else {
        fill(full, 0xFF1E5AC8);
      }
    }
  }
  if (view.label_visible && !view.label.empty() && LoadFont(library_, font_))
    DrawLabel(target, font_, view.label_rect, view.label);
  SDL_UpdateWindowSurface(window_);
}

}  // namespace zorvex
