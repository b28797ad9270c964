#include "platform/Platform_Display.h"

#include <SDL.h>

#include "platform/Platform_Window.h"

namespace zorvex {

bool DisplayModeAvailable(int32_t width, int32_t height, int32_t frequency, int32_t depth) {
  auto matches = [&](int32_t w, int32_t h, int32_t f, int32_t d) {
    return (width <= 0 || width == w) && (height <= 0 || height == h) &&
           (frequency <= 0 || frequency == f) && (depth <= 0 || depth == d);
  };
  const DisplayInfo desktop = DesktopDisplay();
  if (matches(desktop.width, desktop.height, desktop.frequency, desktop.depth)) return true;
  if (!PlatformHasVideo() || (depth > 0 && depth != desktop.depth)) return false;
  const int count = SDL_GetNumDisplayModes(0);
  for (int i = 0; i < count; ++i) {
    SDL_DisplayMode mode;
    if (SDL_GetDisplayMode(0, i, &mode) != 0) continue;
    if (matches(mode.w, mode.h, mode.refresh_rate, desktop.depth)) return true;
  }
  return false;
}

}  // namespace zorvex
