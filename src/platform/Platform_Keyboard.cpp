#include "platform/Platform_Keyboard.h"

#include <SDL.h>

#include "platform/Platform_Input.h"

namespace zorvex {

bool PhysicalKeyDown(int32_t vk) {
  if (vk < 0 || vk > 255 || !SDL_WasInit(SDL_INIT_VIDEO)) return false;
  SDL_PumpEvents();
  int count = 0;
  const Uint8* state = SDL_GetKeyboardState(&count);
  if (!state) return false;
  const bool numlock = NumLockOn();
  for (int sc = 0; sc < count; ++sc) {
    if (!state[sc]) continue;
    auto scancode = static_cast<SDL_Scancode>(sc);
    if (VirtualKeyFor(sc, SDL_GetKeyFromScancode(scancode), numlock) == vk) return true;
    if (SideSpecificVirtualKey(sc) == vk) return true;
  }
  return false;
}

bool NumLockOn() {
  return (SDL_GetModState() & KMOD_NUM) != 0;
}

void SetNumLockState(bool on) {
  SDL_Keymod m = SDL_GetModState();
  SDL_SetModState(static_cast<SDL_Keymod>(on ? (m | KMOD_NUM) : (m & ~KMOD_NUM)));
}

}  // namespace zorvex
