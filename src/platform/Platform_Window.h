// SDL start-up, the desktop's display, and a window with the properties the game window needs.
// Without a real window (headless runs, tests) the window keeps its state all the same, so the
// rest of the runner need not care whether anything is on a screen.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

struct SDL_Window;
struct SDL_Cursor;

namespace zorvex {

// Starts SDL's video and event parts. Headless runs use SDL's off-screen driver, so no window
// ever reaches a screen. False (with the reason in error) when there is no display to use.
bool StartPlatform(bool headless, std::string& error);
void StopPlatform();
bool PlatformHasVideo();

struct DisplayInfo {
  int32_t width = 1024;
  int32_t height = 768;
  int32_t depth = 32;      // bits: bytes per pixel times 8, so 24-bit desktops report 32
  int32_t frequency = 60;  // 0 when unknown
};
// The desktop of the first display; the fixed 1024 x 768 x 32 at 60 Hz without video.
DisplayInfo DesktopDisplay();

// The desktop's own handle of a window (the X11 window id, or the Wayland surface's address);
// 0 for no window or a desktop without such handles (the off-screen driver).
uint64_t SystemWindowHandle(SDL_Window* window);

enum class BorderKind { kNone, kFixed, kSizeable };

class CWindow {
 public:
  CWindow() = default;
  ~CWindow();
  CWindow(const CWindow&) = delete;
  CWindow& operator=(const CWindow&) = delete;

  // Creates the real window, hidden, when video is there; ready for OpenGL when asked.
  bool Create(bool real, bool opengl);
  bool IsReal() const { return window_ != nullptr; }
  // Whether the window has the keyboard focus (a window that is not real has it).
  bool HasInputFocus() const;
  uint32_t Id() const;
  SDL_Window* Handle() const { return window_; }

  void SetVisible(bool visible);
  bool Visible() const { return visible_; }
  // Windows-1252 text; the desktop only hears of it when it changes.
  void SetCaption(std::string_view caption);
  const std::string& Caption() const { return caption_; }
  void SetBorder(BorderKind border);
  BorderKind Border() const { return border_; }
  // Caption buttons cannot be switched separately on the desktop; the state is kept.
  void SetShowIcons(bool show) { show_icons_ = show; }
  bool ShowIcons() const { return show_icons_; }
  void SetStayOnTop(bool on);
  bool StayOnTop() const { return stay_on_top_; }
  void SetFullscreen(bool on);
  bool Fullscreen() const { return fullscreen_; }
  void SetClientSize(int32_t width, int32_t height);
  // The client area: as the desktop has it for a real window (the user may have moved or sized
  // it), else as last set.
  int32_t ClientWidth() const;
  int32_t ClientHeight() const;
  void SetPosition(int32_t left, int32_t top);
  void Centre();
  int32_t Left() const;
  int32_t Top() const;
  // Position and size at once.
  void SetClientRect(int32_t left, int32_t top, int32_t width, int32_t height);
  // The user cannot size the client area below this (0 x 0: no limit).
  void SetMinimumClientSize(int32_t width, int32_t height);
  // Asks for a repaint: the message loop reports it as a paint of this window.
  void Invalidate();
  // The mouse cursor in screen pixels. Without a real window it is wherever it was last put.
  void CursorPosition(int64_t& x, int64_t& y) const;
  void SetCursorPosition(int64_t x, int64_t y);
  void SetColor(int32_t color_bbggrr) { color_ = color_bbggrr; }
  int32_t Color() const { return color_; }
  // Cursor ids as games number them: 0 default, -1 none, -2 arrow ... -22 size all.
  void SetCursor(int32_t cursor);
  int32_t Cursor() const { return cursor_; }

  // The display mode to use in full screen: -1 keeps a value. Only an exclusive full-screen
  // window can switch the mode, and the depth never changes.
  void SetDisplayMode(int32_t width, int32_t height, int32_t frequency);
  bool HasDisplayMode() const { return mode_width_ > 0 || mode_height_ > 0 || mode_frequency_ > 0; }

 private:
  void ApplyFullscreen();

  SDL_Window* window_ = nullptr;
  SDL_Cursor* sdl_cursor_ = nullptr;
  bool visible_ = false;
  std::string caption_;
  BorderKind border_ = BorderKind::kNone;
  bool show_icons_ = true;
  bool stay_on_top_ = false;
  bool fullscreen_ = false;
  int32_t width_ = 0;
  int32_t height_ = 0;
  int32_t left_ = 0;
  int32_t top_ = 0;
  int32_t color_ = 0;
  int32_t cursor_ = 0;
  int64_t cursor_x_ = 0;
  int64_t cursor_y_ = 0;
  int32_t mode_width_ = -1;
  int32_t mode_height_ = -1;
  int32_t mode_frequency_ = -1;
};

}  // namespace zorvex
