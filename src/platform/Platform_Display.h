// The display modes the first display offers.
#pragma once

#include <cstdint>

namespace zorvex {

// Whether the first display offers a mode of that width, height, refresh rate and depth; a
// value <= 0 matches any. The depth is the desktop's and never changes; without video only the
// desktop itself is offered.
bool DisplayModeAvailable(int32_t width, int32_t height, int32_t frequency, int32_t depth);

}  // namespace zorvex
