// The loading window on the desktop: a borderless, centred window showing a picture, the
// progress bar and the step text, drawn in software onto the window's surface.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

struct SDL_Window;

namespace zorvex {

class CSoftFont;

// A picture owned by the caller: 0xAARRGGBB, rows top first. Empty when pixels is null.
struct PixelView {
  int32_t width = 0;
  int32_t height = 0;
  const uint32_t* pixels = nullptr;
  bool Empty() const { return pixels == nullptr || width <= 0 || height <= 0; }
};

struct PixelRect {
  int32_t left = 0, top = 0, width = 0, height = 0;
};

struct LoadWindowView {
  int32_t left = 0, top = 0, width = 0, height = 0;
  PixelView picture;
  uint32_t default_color = 0xFF2B3440;  // filled when there is no picture
  bool bars_visible = true;
  PixelRect empty_bar;
  PixelRect full_bar;
  PixelView back_picture;
  PixelView front_picture;
  bool stretch_front = true;
  bool label_visible = false;
  PixelRect label_rect;
  std::string label;  // Windows-1252
  int32_t alpha = 255;
  bool transparent = false;
  uint32_t transparent_color = 0;
};

class CLoadWindow {
 public:
  CLoadWindow();
  ~CLoadWindow();
  CLoadWindow(const CLoadWindow&) = delete;
  CLoadWindow& operator=(const CLoadWindow&) = delete;

  // Creates (on first use) and shows the window; false when there is no video.
  bool Show(const LoadWindowView& view);
  // Redraws with a new state of the bar and the label.
  void Update(const LoadWindowView& view);
  void Hide();
  uint32_t Id() const;
  bool IsShown() const { return window_ != nullptr; }

 private:
  void Draw(const LoadWindowView& view);
  SDL_Window* window_ = nullptr;
  std::unique_ptr<CSoftFont> font_;  // the label's face, loaded when first needed
};

}  // namespace zorvex
