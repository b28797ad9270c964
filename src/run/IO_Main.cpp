#include "run/IO_Main.h"

#include <algorithm>

#include "game/Game.h"
#include "run/Event_Main.h"
#include "run/Run_Main.h"

namespace zorvex {

bool CInputState::AnyKeyHeld() const {
  return std::find(held_.begin(), held_.end(), true) != held_.end();
}
bool CInputState::AnyKeyPressed() const {
  return std::find(pressed_.begin(), pressed_.end(), true) != pressed_.end();
}
bool CInputState::AnyKeyReleased() const {
  return std::find(released_.begin(), released_.end(), true) != released_.end();
}

void CInputState::Clear() {
  keyboard_string.clear();
  held_.fill(false);
  pressed_.fill(false);
  released_.fill(false);
  button_held_.fill(false);
  button_pressed_.fill(false);
  button_released_.fill(false);
  wheel_up_ = wheel_down_ = false;
  keyboard_key = keyboard_lastkey = 0;
  keyboard_lastchar = 0;
  mouse_button = mouse_lastbutton = 0;
}

void CInputState::EndStep() {
  pressed_.fill(false);
  released_.fill(false);
  button_pressed_.fill(false);
  button_released_.fill(false);
  wheel_up_ = wheel_down_ = false;
}

void CInputState::ClearKey(int32_t k) {
  if (k < 0 || k > 255) return;
  held_[static_cast<size_t>(k)] = pressed_[static_cast<size_t>(k)] =
      released_[static_cast<size_t>(k)] = false;
}

void CInputState::ClearButton(int32_t b) {
  if (b < 1 || b > 3) return;
  button_held_[static_cast<size_t>(b)] = button_pressed_[static_cast<size_t>(b)] =
      button_released_[static_cast<size_t>(b)] = false;
}

void CInputState::KeyDown(int32_t vk) {
  const int32_t k = KeyMap(vk);
  if (k < 0 || k > 255) return;
  keyboard_key = keyboard_lastkey = k;
  const size_t i = static_cast<size_t>(k);
  // Auto-repeat sets pressed only once.
  if (!held_[i]) pressed_[i] = true;
  held_[i] = true;
}

void CInputState::KeyUp(int32_t vk) {
  const int32_t k = KeyMap(vk);
  if (k < 0 || k > 255) return;
  if (keyboard_key == k) keyboard_key = 0;
  held_[static_cast<size_t>(k)] = false;
  released_[static_cast<size_t>(k)] = true;
}

void CInputState::Character(int32_t c) {
  keyboard_lastchar = static_cast<uint8_t>(c);
  if (keyboard_string.size() > kMaxKeyboardString)
    keyboard_string.erase(0, keyboard_string.size() - kMaxKeyboardString);
  if (c == 8) {
    if (!keyboard_string.empty()) keyboard_string.pop_back();
  } else if (c > 31) {
    keyboard_string.push_back(static_cast<char>(c));
  }
}

void CInputState::ButtonDown(int32_t b) {
  if (b != 2 && b != 3) b = 1;
  mouse_button = mouse_lastbutton = b;
  button_held_[static_cast<size_t>(b)] = button_pressed_[static_cast<size_t>(b)] = true;
}

void CInputState::ButtonUp(int32_t b) {
  if (b != 2 && b != 3) b = 1;
  mouse_button = 0;
  button_held_[static_cast<size_t>(b)] = false;
  button_released_[static_cast<size_t>(b)] = true;
}

void CInputState::Wheel(bool up) {
  (up ? wheel_up_ : wheel_down_) = true;
}

void CInputState::CloseAsEscape() {
  held_[27] = true;
  keyboard_key = keyboard_lastkey = 27;
}

void CInputState::ResetKeyMap() {
  for (size_t i = 0; i < key_map_.size(); ++i)
    key_map_[i] = static_cast<int32_t>(i);
}

void CInputState::SetKeyMap(int32_t key1, int32_t key2) {
  if (key1 >= 0 && key1 <= 255) key_map_[static_cast<size_t>(key1)] = key2;
}

void HandleInputMessage(CGame& game, const InputMessage& m) {
  CInputState& in = game.input;
  if (m.kind == InputKind::kMouseMove) {
    in.window_mouse_x = m.x;
    in.window_mouse_y = m.y;
    return;
  }
  if (m.kind == InputKind::kClose) {
    // The window never closes by itself.
    switch (CloseButtonActionFor(game.settings, in.information_shown, in.splash_shown)) {
      case CloseButtonAction::kDismissInformation:
        if (in.close_information) in.close_information();
        break;
      case CloseButtonAction::kCloseSplash:
        if (in.splash_close) in.splash_close();
        break;
      case CloseButtonAction::kPressEscape:
        in.CloseAsEscape();
        break;
      case CloseButtonAction::kCloseButtonEvent:
        PerformEventForAll(game, kEventOther, kOtherCloseButton);
        break;
    }
    return;
  }
  if (in.information_shown || in.splash_shown) {
    // Only a key-up reaches the information text (Esc closes it) or the splash.
    if (m.kind != InputKind::kKeyUp) return;
    if (in.information_shown) {
      if (m.code == 27 && in.close_information) in.close_information();
    } else if (in.splash_key) {
      in.splash_key(m.code);
    }
    return;
  }
  switch (m.kind) {
    case InputKind::kKeyDown:
      in.KeyDown(m.code);
      break;
    case InputKind::kKeyUp:
      in.KeyUp(m.code);
      break;
    case InputKind::kChar:
      in.Character(m.code);
      break;
    case InputKind::kMouseDown:
      in.ButtonDown(m.code);
      break;
    case InputKind::kMouseUp:
      in.ButtonUp(m.code);
      break;
    case InputKind::kWheelUp:
      in.Wheel(true);
      break;
    case InputKind::kWheelDown:
      in.Wheel(false);
      break;
    case InputKind::kClose:
    case InputKind::kMouseMove:
      break;
  }
}

void InstallInput(CGame& game) {
  game.loop.on_input = [&game](const InputMessage& m) { HandleInputMessage(game, m); };
  game.input.Clear();
  game.input.ResetKeyMap();
}

void ClearInput(CGame& game) {
  game.input.Clear();
}

void EndStepInput(CGame& game) {
  game.input.EndStep();
}

CPoint MouseRoomPosition(const CGame& game) {
  const CWindowState& w = game.graphics.window;
  const CScreenRect c = w.Client();
  CPoint region = WindowToRegion(game.input.window_mouse_x, game.input.window_mouse_y, c.w, c.h,
                                 w.region_width, w.region_height, w.region_scale);
  return ViewsMouse(game.graphics.views, region);
}

}  // namespace zorvex
