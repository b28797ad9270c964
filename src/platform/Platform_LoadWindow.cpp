#include "platform/Platform_LoadWindow.h"

#include <SDL.h>
#include <SDL_shape.h>

#include <algorithm>

#include "platform/Platform_SoftDraw.h"
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

}  // namespace

CLoadWindow::CLoadWindow() = default;

CLoadWindow::~CLoadWindow() {
  Hide();
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
  if (view.label_visible && !view.label.empty()) {
    // The step label: black text in Liberation Sans, about the size of the dialog font.
    if (!font_) {
      font_ = std::make_unique<CSoftFont>();
      font_->Load("Liberation Sans", 11);
    }
    if (font_->Loaded()) {
      const PixelRect& r = view.label_rect;
      const int32_t baseline = r.top + (r.height - font_->LineHeight()) / 2 + font_->Ascent();
      font_->Draw(target, r.left, baseline, view.label, 0x000000,
                  SoftRect{0, 0, target->w, target->h});
    }
  }
  SDL_UpdateWindowSurface(window_);
}

}  // namespace zorvex
