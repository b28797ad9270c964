// Input as the game sees it: Windows-style messages with 8-bit virtual-key codes, characters in
// Windows-1252 and the buttons numbered left 1, right 2, middle 3.
#pragma once

#include <cstdint>
#include <vector>

union SDL_Event;

namespace zorvex {

enum class InputKind : uint8_t {
  kKeyDown,    // code: virtual key (also for auto-repeat)
  kKeyUp,      // code: virtual key
  kChar,       // code: the character typed, 0..255
  kMouseMove,  // x, y in window coordinates
  kMouseDown,  // code: button
  kMouseUp,    // code: button
  kWheelUp,
  kWheelDown,
  kClose,  // the window's close button (or the desktop asking to quit)
};

constexpr int32_t kMouseLeft = 1;
constexpr int32_t kMouseRight = 2;
constexpr int32_t kMouseMiddle = 3;

struct InputMessage {
  InputKind kind = InputKind::kKeyDown;
  int32_t code = 0;
  int32_t x = 0;
  int32_t y = 0;

  bool operator==(const InputMessage&) const = default;
};

// The virtual key of an SDL key, from its scancode and (for keys that follow the keyboard
// layout: letters, digits, punctuation) its key symbol. Numpad keys give 96..105 and 110 only
// with NumLock on, otherwise the navigation keys. Left and right Shift, Ctrl and Alt give the
// common codes 16, 17 and 18. 0 for keys without a virtual key.
int32_t VirtualKeyFor(int scancode, int32_t keysym, bool numlock);
// The side-specific code (160..165) of a Shift, Ctrl or Alt scancode, else 0.
int32_t SideSpecificVirtualKey(int scancode);

// Appends the messages an SDL event stands for (none for events of no interest). Key-down of
// Backspace, Tab, Enter and Esc, and Ctrl with a letter, also give their control character, as
// the Windows character messages do.
void TranslateSdlEvent(const SDL_Event& event, std::vector<InputMessage>& out);

}  // namespace zorvex
