// The loading window's model: the pictures and the layout of its progress bar and step label,
// worked out from the settings. Drawing it is the platform's job; headless runs draw nothing.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "runner/Support_Image.h"

namespace zorvex {

struct CSettings;

struct LoadRect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t width = 0;
  int32_t height = 0;
};

class CLoadForm {
 public:
  static constexpr int32_t kDefaultWidth = 332;
  static constexpr int32_t kDefaultHeight = 92;
  static constexpr int32_t kBarLeft = 24;
  static constexpr int32_t kBarHeight = 16;
  static constexpr uint32_t kDefaultPictureColor = 0xFF2B3440;

  // Applies the loading settings in order; takes the three pictures out of the settings, which
  // no longer hold them afterwards. Ends by showing 0 and "Loading".
  void SetUp(CSettings& settings, bool show_step_text, int32_t screen_width, int32_t screen_height);
  // The bar's filled width is percent of the empty bar's, rounded half to even.
  void SetProgress(int32_t percent, std::string_view step_text);
  // Hides the window and frees its pictures.
  void Close();

  bool visible = false;
  std::unique_ptr<CImage> picture;  // none: a plain picture of the default size
  std::unique_ptr<CImage> back_picture;
  std::unique_ptr<CImage> front_picture;
  int32_t left = 0;
  int32_t top = 0;
  int32_t client_width = kDefaultWidth;
  int32_t client_height = kDefaultHeight;
  bool transparent = false;
  uint32_t transparent_color = 0;  // 0xAARRGGBB of the picture's bottom-left pixel
  int32_t alpha = 255;             // below 255: translucent
  bool bars_visible = true;
  bool stretch_front = true;
  bool label_visible = false;
  LoadRect empty_bar{kBarLeft, kDefaultHeight - 32, kDefaultWidth - 2 * kBarLeft, kBarHeight};
  LoadRect full_bar{kBarLeft, kDefaultHeight - 32, 0, kBarHeight};
  LoadRect label_rect{kBarLeft, kDefaultHeight - 32, kDefaultWidth - 2 * kBarLeft, kBarHeight};
  std::string label;
  int32_t percent = 0;
};

// percent * width / 100 rounded to the nearest integer, ties to even.
int32_t ProgressWidth(int32_t percent, int32_t width);

}  // namespace zorvex
