// Joysticks as the game sees them: the first two devices, with positions on the 0-65535 scale
// of the old joystick interface, a button mask and a point-of-view angle.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace zorvex {

inline constexpr int32_t kJoystickPovCentred = 65535;

struct JoystickState {
  // x, y, z, r, u, v; the middle is 32768. Axes the device lacks read as the middle.
  std::array<int32_t, 6> axes{32768, 32768, 32768, 32768, 32768, 32768};
  uint32_t buttons = 0;  // bit b: button b + 1 is down (buttons 1 to 32)
  // Hundredths of a degree clockwise from up; kJoystickPovCentred when centred or absent.
  int32_t pov = kJoystickPovCentred;
  int32_t axis_count = 0;
  int32_t button_count = 0;
  bool has_pov = false;
  std::string name;  // at most 32 characters
};

// The current state of joystick `system_id` (0 or 1); false when there is no such device.
bool ReadJoystick(int32_t system_id, JoystickState& out);

}  // namespace zorvex
