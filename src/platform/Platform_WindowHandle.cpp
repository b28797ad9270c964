#include <SDL.h>
#include <SDL_syswm.h>

#include <cstdint>

#include "platform/Platform_Window.h"

namespace zorvex {

uint64_t SystemWindowHandle(SDL_Window* window) {
  if (window == nullptr) return 0;
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (SDL_GetWindowWMInfo(window, &info) != SDL_TRUE) return 0;
  switch (info.subsystem) {
#if defined(SDL_VIDEO_DRIVER_X11)
    case SDL_SYSWM_X11:
      return static_cast<uint64_t>(info.info.x11.window);
#endif
#if defined(SDL_VIDEO_DRIVER_WAYLAND)
    case SDL_SYSWM_WAYLAND:
      return static_cast<uint64_t>(reinterpret_cast<uintptr_t>(info.info.wl.surface));
#endif
    default:
      return 0;
  }
}

}  // namespace zorvex
