#include "platform/Platform_Window.h"

#include <SDL.h>

#include <fontconfig/fontconfig.h>
#include <algorithm>
#include <climits>

#include "platform/Platform_Text.h"

namespace zorvex {

namespace {
bool g_video = false;  // process-wide: SDL itself is process-wide
}

bool StartPlatform(bool headless, std::string& error) {
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
  SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
  // Software-drawn windows (the loading window) use the driver's own framebuffer rather than a
  // hidden GL renderer.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  if (headless) SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen");
  if (SDL_Init(SDL_INIT_EVENTS) != 0) {
    error = SDL_GetError();
    return false;
  }
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    error = SDL_GetError();
    return false;
  }
  g_video = true;
  return true;
}

void StopPlatform() {
  g_video = false;
  SDL_Quit();
  // Fontconfig keeps its configuration for the whole process; release it at the very end.
  FcFini();
}

bool PlatformHasVideo() {
  return g_video;
}

DisplayInfo DesktopDisplay() {
  DisplayInfo d;
  SDL_DisplayMode mode;
  if (!g_video || SDL_GetDesktopDisplayMode(0, &mode) != 0 || mode.w <= 0) return d;
  d.width = mode.w;
  d.height = mode.h;
  d.depth = SDL_BYTESPERPIXEL(mode.format) * 8;
  d.frequency = mode.refresh_rate;
  return d;
}

CWindow::~CWindow() {
  if (window_ != nullptr) SDL_DestroyWindow(window_);
  if (sdl_cursor_ != nullptr) SDL_FreeCursor(sdl_cursor_);
}

bool CWindow::Create(bool real, bool opengl) {
  if (!real || !g_video) return true;
  Uint32 flags = SDL_WINDOW_HIDDEN | SDL_WINDOW_BORDERLESS | (opengl ? SDL_WINDOW_OPENGL : 0);
  window_ = SDL_CreateWindow("", left_, top_, std::max(width_, 1), std::max(height_, 1), flags);
  return window_ != nullptr;
}

uint32_t CWindow::Id() const {
  return window_ != nullptr ? SDL_GetWindowID(window_) : 0;
}

void CWindow::SetVisible(bool visible) {
  visible_ = visible;
  if (window_ == nullptr) return;
  if (visible) {
    SDL_ShowWindow(window_);
  } else {
    SDL_HideWindow(window_);
  }
}

void CWindow::SetCaption(std::string_view caption) {
  if (caption == caption_) return;
  caption_.assign(caption);
  if (window_ != nullptr) SDL_SetWindowTitle(window_, Cp1252ToUtf8(caption_).c_str());
}

void CWindow::SetBorder(BorderKind border) {
  border_ = border;
  if (window_ == nullptr) return;
  SDL_SetWindowBordered(window_, border == BorderKind::kNone ? SDL_FALSE : SDL_TRUE);
  SDL_SetWindowResizable(window_, border == BorderKind::kSizeable ? SDL_TRUE : SDL_FALSE);
}

void CWindow::SetStayOnTop(bool on) {
  stay_on_top_ = on;
  if (window_ != nullptr) SDL_SetWindowAlwaysOnTop(window_, on ? SDL_TRUE : SDL_FALSE);
}

void CWindow::ApplyFullscreen() {
  if (window_ == nullptr) return;
  if (!fullscreen_) {
    SDL_SetWindowFullscreen(window_, 0);
    return;
  }
  if (HasDisplayMode()) {
    SDL_DisplayMode want{}, got{};
    SDL_GetDesktopDisplayMode(0, &want);
    if (mode_width_ > 0) want.w = mode_width_;
    if (mode_height_ > 0) want.h = mode_height_;
    if (mode_frequency_ > 0) want.refresh_rate = mode_frequency_;
    if (SDL_GetClosestDisplayMode(0, &want, &got) != nullptr) {
      SDL_SetWindowDisplayMode(window_, &got);
      SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN);
      return;
    }
  }
  SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP);
}

void CWindow::SetFullscreen(bool on) {
  if (on == fullscreen_) return;
  fullscreen_ = on;
  ApplyFullscreen();
}

void CWindow::SetDisplayMode(int32_t width, int32_t height, int32_t frequency) {
  mode_width_ = width;
  mode_height_ = height;
  mode_frequency_ = frequency;
  if (fullscreen_) ApplyFullscreen();
}

void CWindow::SetClientSize(int32_t width, int32_t height) {
  width_ = width;
  height_ = height;
  if (window_ != nullptr) SDL_SetWindowSize(window_, std::max(width, 1), std::max(height, 1));
}

void CWindow::SetPosition(int32_t left, int32_t top) {
  left_ = left;
  top_ = top;
  if (window_ != nullptr) SDL_SetWindowPosition(window_, left, top);
}

void CWindow::Centre() {
  DisplayInfo d = DesktopDisplay();
  SetPosition((d.width - ClientWidth()) / 2, (d.height - ClientHeight()) / 2);
}

int32_t CWindow::ClientWidth() const {
  if (window_ == nullptr) return width_;
  int w = 0, h = 0;
  SDL_GetWindowSize(window_, &w, &h);
  return w;
}

int32_t CWindow::ClientHeight() const {
  if (window_ == nullptr) return height_;
  int w = 0, h = 0;
  SDL_GetWindowSize(window_, &w, &h);
  return h;
}

int32_t CWindow::Left() const {
  if (window_ == nullptr) return left_;
  int x = 0, y = 0;
  SDL_GetWindowPosition(window_, &x, &y);
  return x;
}

int32_t CWindow::Top() const {
  if (window_ == nullptr) return top_;
  int x = 0, y = 0;
  SDL_GetWindowPosition(window_, &x, &y);
  return y;
}

void CWindow::SetClientRect(int32_t left, int32_t top, int32_t width, int32_t height) {
  SetClientSize(width, height);
  SetPosition(left, top);
}

void CWindow::SetMinimumClientSize(int32_t width, int32_t height) {
  if (window_ != nullptr)
    SDL_SetWindowMinimumSize(window_, std::max(width, 1), std::max(height, 1));
}

void CWindow::Invalidate() {
  if (window_ == nullptr) return;
  SDL_Event e{};
  e.type = SDL_WINDOWEVENT;
  e.window.event = SDL_WINDOWEVENT_EXPOSED;
  e.window.windowID = SDL_GetWindowID(window_);
  SDL_PushEvent(&e);
}

void CWindow::CursorPosition(int64_t& x, int64_t& y) const {
  if (window_ == nullptr) {
    x = cursor_x_;
    y = cursor_y_;
    return;
  }
  int mx = 0, my = 0;
  SDL_GetGlobalMouseState(&mx, &my);
  x = mx;
  y = my;
}

void CWindow::SetCursorPosition(int64_t x, int64_t y) {
  cursor_x_ = x;
  cursor_y_ = y;
  if (window_ == nullptr) return;
  auto clamp = [](int64_t v) {
    return static_cast<int>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
  };
  SDL_WarpMouseGlobal(clamp(x), clamp(y));
}

void CWindow::SetCursor(int32_t cursor) {
  cursor_ = cursor;
  if (window_ == nullptr) return;
  if (cursor == -1) {
    SDL_ShowCursor(SDL_DISABLE);
    return;
  }
  SDL_SystemCursor shape;
  switch (cursor) {
    case -3:
      shape = SDL_SYSTEM_CURSOR_CROSSHAIR;
      break;
    case -4:
      shape = SDL_SYSTEM_CURSOR_IBEAM;
      break;
    case -6:
      shape = SDL_SYSTEM_CURSOR_SIZENESW;
      break;
    case -7:
    case -15:
      shape = SDL_SYSTEM_CURSOR_SIZENS;
      break;
    case -8:
      shape = SDL_SYSTEM_CURSOR_SIZENWSE;
      break;
    case -9:
    case -14:
      shape = SDL_SYSTEM_CURSOR_SIZEWE;
      break;
    case -11:
    case -17:
      shape = SDL_SYSTEM_CURSOR_WAIT;
      break;
    case -13:
    case -18:
      shape = SDL_SYSTEM_CURSOR_NO;
      break;
    case -19:
      shape = SDL_SYSTEM_CURSOR_WAITARROW;
      break;
    case -21:
      shape = SDL_SYSTEM_CURSOR_HAND;
      break;
    case -22:
      shape = SDL_SYSTEM_CURSOR_SIZEALL;
      break;
    default:
      shape = SDL_SYSTEM_CURSOR_ARROW;
      break;  // default, arrow, up arrow, drag, help
  }
  SDL_Cursor* c = SDL_CreateSystemCursor(shape);
  if (c == nullptr) return;
  SDL_SetCursor(c);
  if (sdl_cursor_ != nullptr) SDL_FreeCursor(sdl_cursor_);
  sdl_cursor_ = c;
  SDL_ShowCursor(SDL_ENABLE);
}

bool CWindow::HasInputFocus() const {
  return window_ == nullptr || (SDL_GetWindowFlags(window_) & SDL_WINDOW_INPUT_FOCUS) != 0;
}

}  // namespace zorvex
