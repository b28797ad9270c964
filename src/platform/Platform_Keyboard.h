// The keyboard as the desktop reports it right now, beside the messages: physical keys by
// virtual-key code and the NumLock state.
#pragma once

#include <cstdint>

namespace zorvex {

// Whether a key that stands for this virtual-key code is down now (no key map applies). The
// common codes 16, 17 and 18 answer for either side of Shift, Ctrl and Alt.
bool PhysicalKeyDown(int32_t vk);
bool NumLockOn();
// Records the NumLock state as the desktop's (a desktop cannot be made to toggle the lamp).
void SetNumLockState(bool on);

}  // namespace zorvex
