// Built-in functions of the interaction family: the keyboard, the mouse buttons and joysticks.
#include "functions/Function_Interaction.h"

#include "code/Code_Function.h"
#include "code/Code_Round.h"
#include "game/Game.h"
#include "platform/Platform_Joystick.h"
#include "platform/Platform_Keyboard.h"
#include "run/IO_Main.h"
#include "run/Run_Main.h"

namespace zorvex {

namespace {

constexpr int32_t kNumLockKey = 144;
// Stick positions that count as pushed, on the 0-65535 scale.
constexpr int32_t kStickLow = 20000;
constexpr int32_t kStickHigh = 44000;

int32_t Int(const RValue& v) {
  return RoundToInt32(v.real);
}
double Truth(bool b) {
  return b ? 1 : 0;
}

// key 0: no key; key 1: any key; 2-255: that key; others: false.
template <bool (CInputState::*Flag)(int32_t) const>
double KeyCheck(const CInputState& in, int32_t key) {
  if (key == 0 || key == 1) {
    bool any = false;
    for (int32_t k = 0; k <= 255 && !any; ++k)
      any = (in.*Flag)(k);
    return Truth(key == 1 ? any : !any);
  }
  return Truth((in.*Flag)(key));
}

// button -1: any; 0: none; 1-3: that button; others: false.
template <bool (CInputState::*Flag)(int32_t) const>
double ButtonCheck(const CInputState& in, int32_t button) {
  if (button == -1 || button == 0) {
    const bool any = (in.*Flag)(1) || (in.*Flag)(2) || (in.*Flag)(3);
    return Truth(button == -1 ? any : !any);
  }
  return Truth((in.*Flag)(button));
}

void F_keyboard_check(CGame& g, CInstanceCore*, CInstanceCore*, int, RValue* a, RValue& r) {
  r.SetReal(KeyCheck<&CInputState::KeyHeld>(g.input, Int(a[0])));
}
void F_keyboard_check_pressed(CGame& g, CInstanceCore*, CInstanceCore*, int, RValue* a,
                              RValue& r) {
  r.SetReal(KeyCheck<&CInputState::KeyPressed>(g.input, Int(a[0])));
}
void F_keyboard_check_released(CGame& g, CInstanceCore*, CInstanceCore*, int, RValue* a,
                               RValue& r) {
  r.SetReal(KeyCheck<&CInputState::KeyReleased>(g.input, Int(a[0])));
}
void F_keyboard_check_direct(CGame&, CInstanceCore*, CInstanceCore*, int, RValue* a, RValue& r) {
  r.SetReal(Truth(PhysicalKeyDown(Int(a[0]))));
}
void F_keyboard_set_map(CGame& g, CInstanceCore*, CInstanceCore*, int, RValue* a, RValue&) {
  g.input.SetKeyMap(Int(a[0]), Int(a[1]));
}
void F_keyboard_get_map(CGame& g, CInstanceCore*, CInstanceCore*, int, RValue* a, RValue& r) {
  r.SetReal(g.input.KeyMap(Int(a[0])));
}
void F_keyboard_unset_map(CGame& g, CInstanceCore*, CInstanceCore*, int, RValue*, RValue&) {
  g.input.ResetKeyMap();
}
void F_keyboard_get_numlock(CGame&, CInstanceCore*, CInstanceCore*, int, RValue*, RValue& r) {
  r.SetReal(Truth(NumLockOn()));
}
void F_keyboard_set_numlock(CGame& g, CInstanceCore*, CInstanceCore*, int, RValue* a, RValue&) {
  const bool on = IsTrue(a[0].real);
  if (NumLockOn() == on) return;
  // The key press and release reach the game as from the keyboard.
  g.loop.Post(InputMessage{InputKind::kKeyDown, kNumLockKey});
  g.loop.Post(InputMessage{InputKind::kKeyUp, kNumLockKey});
  SetNumLockState(on);
}
void F_keyboard_key_press(CGame& g, CInstanceCore*, CInstanceCore*, int, RValue* a, RValue&) {
  g.loop.Post(InputMessage{InputKind::kKeyDown, Int(a[0])});
}
void F_keyboard_key_release(CGame& g, CInstanceCore*, CInstanceCore*, int, RValue* a, RValue&) {
  g.loop.Post(InputMessage{InputKind::kKeyUp, Int(a[0])});
}
void F_keyboard_clear(CGame& g, CInstanceCore*, CInstanceCore*, int, RValue* a, RValue&) {
  g.loop.ProcessMessages();
  g.input.ClearKey(Int(a[0]));
}
void F_mouse_check_button(CGame& g, CInstanceCore*, CInstanceCore*, int, RValue* a, RValue& r) {
  r.SetReal(ButtonCheck<&CInputState::ButtonHeld>(g.input, Int(a[0])));
}
void F_mouse_check_button_pressed(CGame& g, CInstanceCore*, CInstanceCore*, int, RValue* a,
                                  RValue& r) {
  r.SetReal(ButtonCheck<&CInputState::ButtonPressed>(g.input, Int(a[0])));
}
void F_mouse_check_button_released(CGame& g, CInstanceCore*, CInstanceCore*, int, RValue* a,
                                   RValue& r) {
  r.SetReal(ButtonCheck<&CInputState::ButtonReleased>(g.input, Int(a[0])));
}
void F_mouse_clear(CGame& g, CInstanceCore*, CInstanceCore*, int, RValue* a, RValue&) {
  g.loop.ProcessMessages();
  g.input.ClearButton(Int(a[0]));
}
void F_io_clear(CGame& g, CInstanceCore*, CInstanceCore*, int, RValue*, RValue&) {
  g.loop.ProcessMessages();
  ClearInput(g);
}
void F_io_handle(CGame& g, CInstanceCore*, CInstanceCore*, int, RValue*, RValue&) {
  g.loop.ProcessMessages();
}

// Waits, processing messages every 50 ms, until `arrived` says so. Headless runs have no
// player: there the next step's scripted input stands for the awaited key or click, and the
// wait ends when no scripted input is left.
template <class Arrived>
void WaitForInput(CGame& g, Arrived&& arrived) {
  for (;;) {
    g.loop.ProcessMessages();
    if (arrived() || g.loop.Terminated()) return;
    if (g.options.headless && !DeliverNextScriptedInput(g)) return;
    if (arrived()) return;
    g.graphics.clock.Wait(50000);
  }
}
void F_keyboard_wait(CGame& g, CInstanceCore*, CInstanceCore*, int, RValue*, RValue&) {
  g.input.keyboard_lastkey = 0;
  WaitForInput(g, [&g] { return g.input.keyboard_lastkey != 0; });
}
void F_mouse_wait(CGame& g, CInstanceCore*, CInstanceCore*, int, RValue*, RValue&) {
  g.input.mouse_lastbutton = 0;
  WaitForInput(g, [&g] { return g.input.mouse_lastbutton != 0; });
}

// Joystick id 2 is the second joystick; anything else the first.
bool Joystick(const RValue& id, JoystickState& s) {
  return ReadJoystick(Int(id) == 2 ? 1 : 0, s);
}
void F_joystick_exists(CGame&, CInstanceCore*, CInstanceCore*, int, RValue* a, RValue& r) {
  JoystickState s;
  r.SetReal(Truth(Joystick(a[0], s)));
}
void F_joystick_direction(CGame&, CInstanceCore*, CInstanceCore*, int, RValue* a, RValue& r) {
  JoystickState s;
  if (!Joystick(a[0], s)) {
    r.SetReal(101);
    return;
  }
  const int32_t column = s.axes[0] < kStickLow ? 0 : s.axes[0] > kStickHigh ? 2 : 1;
  const int32_t row = s.axes[1] < kStickLow ? 103 : s.axes[1] > kStickHigh ? 97 : 100;
  r.SetReal(row + column);
}
void F_joystick_name(CGame&, CInstanceCore*, CInstanceCore*, int, RValue* a, RValue& r) {
  JoystickState s;
  r.SetString(Joystick(a[0], s) ? s.name : std::string());
}
void F_joystick_axes(CGame&, CInstanceCore*, CInstanceCore*, int, RValue* a, RValue& r) {
  JoystickState s;
  r.SetReal(Joystick(a[0], s) ? s.axis_count : 0);
}
void F_joystick_buttons(CGame&, CInstanceCore*, CInstanceCore*, int, RValue* a, RValue& r) {
  JoystickState s;
  r.SetReal(Joystick(a[0], s) ? s.button_count : 0);
}
void F_joystick_has_pov(CGame&, CInstanceCore*, CInstanceCore*, int, RValue* a, RValue& r) {
  JoystickState s;
  r.SetReal(Truth(Joystick(a[0], s) && s.has_pov));
}
void F_joystick_check_button(CGame&, CInstanceCore*, CInstanceCore*, int, RValue* a,
                             RValue& r) {
  JoystickState s;
  const int32_t b = Int(a[1]);
  r.SetReal(Truth(b >= 1 && b <= 32 && Joystick(a[0], s) && (s.buttons >> (b - 1)) & 1u));
}
template <int Axis>
void F_joystick_pos(CGame&, CInstanceCore*, CInstanceCore*, int, RValue* a, RValue& r) {
  JoystickState s;
  r.SetReal(Joystick(a[0], s) ? s.axes[Axis] / 32767.0 - 1 : 0.0);
}
void F_joystick_pov(CGame&, CInstanceCore*, CInstanceCore*, int, RValue* a, RValue& r) {
  JoystickState s;
  if (!Joystick(a[0], s)) {
    r.SetReal(-1);
    return;
  }
  const double angle = s.pov / 100.0;
  r.SetReal(angle > 360 ? -1 : angle);
}

struct InteractionFunction {
  const char* name;
  BuiltinHandler handler;
  int32_t argc;
};

constexpr InteractionFunction kInteractionFunctions[] = {
    {"keyboard_check", F_keyboard_check, 1},
    {"keyboard_check_pressed", F_keyboard_check_pressed, 1},
    {"keyboard_check_released", F_keyboard_check_released, 1},
    {"keyboard_check_direct", F_keyboard_check_direct, 1},
    {"keyboard_set_map", F_keyboard_set_map, 2},
    {"keyboard_get_map", F_keyboard_get_map, 1},
    {"keyboard_unset_map", F_keyboard_unset_map, 0},
    {"keyboard_get_numlock", F_keyboard_get_numlock, 0},
    {"keyboard_set_numlock", F_keyboard_set_numlock, 1},
    {"keyboard_key_press", F_keyboard_key_press, 1},
    {"keyboard_key_release", F_keyboard_key_release, 1},
    {"keyboard_clear", F_keyboard_clear, 1},
    {"mouse_check_button", F_mouse_check_button, 1},
    {"mouse_check_button_pressed", F_mouse_check_button_pressed, 1},
    {"mouse_check_button_released", F_mouse_check_button_released, 1},
    {"mouse_clear", F_mouse_clear, 1},
    {"io_clear", F_io_clear, 0},
    {"io_handle", F_io_handle, 0},
    {"keyboard_wait", F_keyboard_wait, 0},
    {"mouse_wait", F_mouse_wait, 0},
    {"joystick_exists", F_joystick_exists, 1},
    {"joystick_direction", F_joystick_direction, 1},
    {"joystick_name", F_joystick_name, 1},
    {"joystick_axes", F_joystick_axes, 1},
    {"joystick_buttons", F_joystick_buttons, 1},
    {"joystick_has_pov", F_joystick_has_pov, 1},
    {"joystick_check_button", F_joystick_check_button, 2},
    {"joystick_xpos", F_joystick_pos<0>, 1},
    {"joystick_ypos", F_joystick_pos<1>, 1},
    {"joystick_zpos", F_joystick_pos<2>, 1},
    {"joystick_rpos", F_joystick_pos<3>, 1},
    {"joystick_upos", F_joystick_pos<4>, 1},
    {"joystick_vpos", F_joystick_pos<5>, 1},
    {"joystick_pov", F_joystick_pov, 1},
};

}  // namespace

void RegisterInteractionFunctions(CFunctionTable& table) {
  for (const InteractionFunction& f : kInteractionFunctions)
    table.Register(f.name, f.handler, f.argc);
}

}  // namespace zorvex
