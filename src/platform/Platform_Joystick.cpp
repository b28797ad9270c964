#include "platform/Platform_Joystick.h"

#include <SDL.h>

#include <algorithm>

namespace zorvex {

namespace {

// The hat positions as angles of the old interface.
int32_t PovOf(Uint8 hat) {
  switch (hat) {
    case SDL_HAT_UP:
      return 0;
    case SDL_HAT_RIGHTUP:
      return 4500;
    case SDL_HAT_RIGHT:
      return 9000;
    case SDL_HAT_RIGHTDOWN:
      return 13500;
    case SDL_HAT_DOWN:
      return 18000;
    case SDL_HAT_LEFTDOWN:
      return 22500;
    case SDL_HAT_LEFT:
      return 27000;
    case SDL_HAT_LEFTUP:
      return 31500;
    default:
      return kJoystickPovCentred;
  }
}

// Opened devices stay open (a device handle of the platform, like SDL's own); a device that
// went away is closed and looked for again on the next query.
SDL_Joystick* OpenDevice(int32_t system_id) {
  static SDL_Joystick* open[2] = {nullptr, nullptr};
  if (system_id < 0 || system_id > 1) return nullptr;
  if (!SDL_WasInit(SDL_INIT_JOYSTICK) && SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0) return nullptr;
  SDL_JoystickUpdate();
  SDL_Joystick*& j = open[system_id];
  if (j && !SDL_JoystickGetAttached(j)) {
    SDL_JoystickClose(j);
    j = nullptr;
  }
  if (!j && system_id < SDL_NumJoysticks()) j = SDL_JoystickOpen(system_id);
  return j;
}

}  // namespace

bool ReadJoystick(int32_t system_id, JoystickState& out) {
  out = JoystickState();
  SDL_Joystick* j = OpenDevice(system_id);
  if (!j) return false;
  out.axis_count = std::max(0, SDL_JoystickNumAxes(j));
  out.button_count = std::max(0, SDL_JoystickNumButtons(j));
  for (int a = 0; a < std::min<int>(out.axis_count, 6); ++a)
    out.axes[static_cast<size_t>(a)] = SDL_JoystickGetAxis(j, a) + 32768;
  for (int b = 0; b < std::min<int>(out.button_count, 32); ++b)
    if (SDL_JoystickGetButton(j, b)) out.buttons |= 1u << b;
  if (SDL_JoystickNumHats(j) > 0) {
    out.has_pov = true;
    out.pov = PovOf(SDL_JoystickGetHat(j, 0));
  }
  const char* name = SDL_JoystickName(j);
  out.name = name ? std::string(name).substr(0, 32) : std::string();
  return true;
}

}  // namespace zorvex
