// The input state that the window's key, character, mouse-button, wheel and close messages
// update and that the event passes, the built-in variables and the input functions read.
// Pressed and released flags last one step.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "graphics/Graphics_Mapping.h"
#include "platform/Platform_Input.h"

namespace zorvex {

class CGame;

inline constexpr size_t kMaxKeyboardString = 1024;

class CInputState {
 public:
  CInputState() { ResetKeyMap(); }

  // Flags of a key (0-255) or button (1-3); false outside.
  bool KeyHeld(int32_t k) const { return Flag(held_, k); }
  bool KeyPressed(int32_t k) const { return Flag(pressed_, k); }
  bool KeyReleased(int32_t k) const { return Flag(released_, k); }
  bool ButtonHeld(int32_t b) const { return ButtonFlag(button_held_, b); }
  bool ButtonPressed(int32_t b) const { return ButtonFlag(button_pressed_, b); }
  bool ButtonReleased(int32_t b) const { return ButtonFlag(button_released_, b); }
  bool WheelUp() const { return wheel_up_; }
  bool WheelDown() const { return wheel_down_; }
  bool AnyKeyHeld() const;
  bool AnyKeyPressed() const;
  bool AnyKeyReleased() const;

  // ClearInput: the typed text, every flag and the last keys and buttons.
  void Clear();
  // EndStepInput: the pressed and released flags and the wheel.
  void EndStep();
  void ClearKey(int32_t k);
  void ClearButton(int32_t b);

  // The handlers of the messages (virtual keys before mapping; buttons 1 left, 2 right,
  // 3 middle).
  void KeyDown(int32_t vk);
  void KeyUp(int32_t vk);
  void Character(int32_t c);
  void ButtonDown(int32_t b);
  void ButtonUp(int32_t b);
  void Wheel(bool up);
  // The close button with close_as_esc: Esc looks held and was the last key.
  void CloseAsEscape();

  void ResetKeyMap();
  // key1 outside 0-255 changes nothing; key_map[key] for a key outside gives the key itself.
  void SetKeyMap(int32_t key1, int32_t key2);
  int32_t KeyMap(int32_t key) const {
    return key >= 0 && key <= 255 ? key_map_[static_cast<size_t>(key)] : key;
  }

  int32_t keyboard_key = 0;
  int32_t keyboard_lastkey = 0;
  uint8_t keyboard_lastchar = 0;
  std::string keyboard_string;
  int32_t mouse_button = 0;
  int32_t mouse_lastbutton = 0;
  // The mouse in window client coordinates, from the last move message.
  int32_t window_mouse_x = 0;
  int32_t window_mouse_y = 0;

  // While the game information is shown inside the game window, or a splash screen is shown,
  // input does not reach the game; these say where it goes instead.
  bool information_shown = false;
  bool splash_shown = false;
  std::function<void()> close_information;
  std::function<void(int32_t vk)> splash_key;
  std::function<void()> splash_close;

 private:
  static bool Flag(const std::array<bool, 256>& f, int32_t k) {
    return k >= 0 && k <= 255 && f[static_cast<size_t>(k)];
  }
  static bool ButtonFlag(const std::array<bool, 4>& f, int32_t b) {
    return b >= 1 && b <= 3 && f[static_cast<size_t>(b)];
  }

  std::array<bool, 256> held_{};
  std::array<bool, 256> pressed_{};
  std::array<bool, 256> released_{};
  std::array<bool, 4> button_held_{};
  std::array<bool, 4> button_pressed_{};
  std::array<bool, 4> button_released_{};
  bool wheel_up_ = false;
  bool wheel_down_ = false;
  std::array<int32_t, 256> key_map_{};
};

// Connects the message loop's input to the game (the last preparation step): clears the
// state and resets the key map.
void InstallInput(CGame& game);
// One input message, as the window system or --input delivers it.
void HandleInputMessage(CGame& game, const InputMessage& message);
// ClearInput and EndStepInput of the game.
void ClearInput(CGame& game);
void EndStepInput(CGame& game);
// The mouse in room coordinates, through the region and the views.
CPoint MouseRoomPosition(const CGame& game);

}  // namespace zorvex
