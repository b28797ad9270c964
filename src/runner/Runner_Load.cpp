#include "runner/Runner_Load.h"

#include <algorithm>

#include "runner/Option_Main.h"

namespace zorvex {

int32_t ProgressWidth(int32_t percent, int32_t width) {
  int64_t p = static_cast<int64_t>(percent) * width;
  int64_t q = p / 100, r = p % 100;
  if (r < 0) r += 100, q -= 1;  // floor division for negative products
  if (r > 50 || (r == 50 && (q & 1) != 0)) ++q;
  return static_cast<int32_t>(q);
}

void CLoadForm::SetUp(CSettings& s, bool show_step_text, int32_t screen_width,
                      int32_t screen_height) {
  if (s.loading_image) picture = std::move(s.loading_image);
  const int32_t pw = picture ? picture->width : kDefaultWidth;
  const int32_t ph = picture ? picture->height : kDefaultHeight;
  if (s.loading_transparent) {
    transparent = true;
    transparent_color = picture ? picture->At(0, ph - 1) : kDefaultPictureColor;
  }
  if (s.loading_alpha < 255) alpha = std::max(s.loading_alpha, 0);
  s.loading_image.reset();
  if (s.show_progress_bar) {
    if (s.progress_back_image) back_picture = std::move(s.progress_back_image);
    if (s.progress_front_image) front_picture = std::move(s.progress_front_image);
  }
  s.progress_back_image.reset();
  s.progress_front_image.reset();
  bars_visible = s.show_progress_bar;
  stretch_front = s.scale_progress_bar;
  label_visible = show_step_text && s.show_progress_bar;
  client_width = pw;
  client_height = ph;
  left = (screen_width - client_width) / 2;
  top = (screen_height - client_height) / 2;
  const int32_t bar_top = client_height - 32;
  empty_bar = {kBarLeft, bar_top, client_width - 2 * kBarLeft, kBarHeight};
  full_bar = {kBarLeft, bar_top, 0, kBarHeight};
  label_rect = {kBarLeft, bar_top, client_width - 2 * kBarLeft, kBarHeight};
  SetProgress(0, "Loading");
  visible = true;
}

void CLoadForm::SetProgress(int32_t pct, std::string_view step_text) {
  percent = pct;
  full_bar.width = ProgressWidth(pct, empty_bar.width);
  label.assign(step_text);
}

void CLoadForm::Close() {
  visible = false;
  picture.reset();
  back_picture.reset();
  front_picture.reset();
}

}  // namespace zorvex
