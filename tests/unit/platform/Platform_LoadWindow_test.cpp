#include "platform/Platform_LoadWindow.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include "platform/Platform_Window.h"

namespace zorvex {
namespace {

uint32_t PixelAt(SDL_Surface* s, int x, int y) {
  uint32_t raw =
      *reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(s->pixels) + y * s->pitch + x * 4);
  uint8_t r, g, b;
  SDL_GetRGB(raw, s->format, &r, &g, &b);
  return uint32_t(r) << 16 | uint32_t(g) << 8 | b;
}

// Draws on SDL's off-screen driver and reads the window's surface back.
TEST(PlatformLoadWindow, DrawsPictureAndBars) {
  std::string why;
  ASSERT_TRUE(StartPlatform(true, why)) << why;
  std::vector<uint32_t> picture(100 * 60, 0xFF204060);
  std::vector<uint32_t> front(10 * 16, 0xFFFF0000);
  LoadWindowView v;
  v.width = 100;
  v.height = 60;
  v.picture = {100, 60, picture.data()};
  v.empty_bar = {24, 28, 52, 16};
  v.full_bar = {24, 28, 26, 16};
  v.front_picture = {10, 16, front.data()};
  v.stretch_front = false;
  v.label_visible = true;
  v.label_rect = {24, 28, 52, 16};
  v.label = "Loading";
  {
    CLoadWindow w;
    ASSERT_TRUE(w.Show(v));
    SDL_Surface* s = SDL_GetWindowSurface(SDL_GetWindowFromID(w.Id()));
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(PixelAt(s, 5, 5), 0x204060u);    // the picture
    EXPECT_EQ(PixelAt(s, 75, 28), 0x808080u);  // the empty bar's frame, right of the fill
    EXPECT_EQ(PixelAt(s, 74, 40), 0xFFFFFFu);  // its inside, beyond the filled part
    EXPECT_EQ(PixelAt(s, 30, 30), 0xFF0000u);  // the front picture, not stretched...
    EXPECT_EQ(PixelAt(s, 40, 30), 0xFFFFFFu);  // ...so cut off after its 10 pixels
    v.stretch_front = true;
    v.label_visible = false;
    w.Update(v);
    EXPECT_EQ(PixelAt(s, 40, 30), 0xFF0000u);  // stretched to the bar's 26 pixels
    EXPECT_EQ(PixelAt(s, 52, 30), 0xFFFFFFu);
    w.Hide();
    EXPECT_FALSE(w.IsShown());
  }
  StopPlatform();
}

}  // namespace
}  // namespace zorvex
