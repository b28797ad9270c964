#pragma once

namespace zorvex {

class CFunctionTable;

// The interaction family in its fixed order. So far the keyboard, mouse and joystick
// functions.
void RegisterInteractionFunctions(CFunctionTable& table);

}  // namespace zorvex
