// Joysticks through SDL's virtual joysticks: the functions and the joystick events.
#include "functions/Function_Interaction.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include "../run/RunTestSupport.h"

namespace zorvex {
namespace {

using Calls = std::vector<std::string>;

class JoystickTest : public testing::RunGameTest {
 protected:
  void SetUp() override {
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK), 0) << SDL_GetError();
    if (SDL_NumJoysticks() > 0) GTEST_SKIP() << "a real joystick is attached";
    device_ = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 6, 10, 1);
    ASSERT_GE(device_, 0) << SDL_GetError();
    stick_ = SDL_JoystickOpen(device_);
    ASSERT_NE(stick_, nullptr) << SDL_GetError();
  }
  void TearDown() override {
    if (stick_) SDL_JoystickClose(stick_);
    if (device_ >= 0) SDL_JoystickDetachVirtual(device_);
    SDL_JoystickUpdate();
  }
  // Axis values on SDL's scale; -32768 is the old interface's 0.
  void Set(int16_t x, int16_t y, std::initializer_list<int> buttons = {}, Uint8 hat = 0) {
    SDL_JoystickSetVirtualAxis(stick_, 0, x);
    SDL_JoystickSetVirtualAxis(stick_, 1, y);
    for (int b = 0; b < 10; ++b)
      SDL_JoystickSetVirtualButton(stick_, b, 0);
    for (int b : buttons)
      SDL_JoystickSetVirtualButton(stick_, b, 1);
    SDL_JoystickSetVirtualHat(stick_, 0, hat);
    SDL_JoystickUpdate();
  }
  double Call(const std::string& code) { return Eval("return " + code).real; }

  int device_ = -1;
  SDL_Joystick* stick_ = nullptr;
};

TEST_F(JoystickTest, FunctionsReadTheFirstJoystick) {
  AddRoom("r");
  Start();
  Set(-32768, -32768, {0, 9}, SDL_HAT_RIGHT);
  EXPECT_EQ(Call("joystick_exists(1)"), 1);
  EXPECT_EQ(Call("joystick_exists(2)"), 0);
  EXPECT_EQ(Call("joystick_direction(1)"), 103);  // up and left
  EXPECT_EQ(Call("joystick_direction(2)"), 101);  // no second joystick
  EXPECT_EQ(Call("joystick_xpos(1)"), -1);
  EXPECT_EQ(Call("joystick_axes(1)"), 6);
  EXPECT_EQ(Call("joystick_buttons(1)"), 10);
  EXPECT_EQ(Call("joystick_has_pov(1)"), 1);
  EXPECT_EQ(Call("joystick_pov(1)"), 90);
  EXPECT_EQ(Call("joystick_check_button(1, 1)"), 1);
  EXPECT_EQ(Call("joystick_check_button(1, 2)"), 0);
  EXPECT_EQ(Call("joystick_check_button(1, 10)"), 1);
  EXPECT_EQ(Call("joystick_check_button(1, 33)"), 0);
  EXPECT_NE(Eval("return joystick_name(0)").str, "");
  Set(32767, 0);
  EXPECT_EQ(Call("joystick_direction(0)"), 102);
  EXPECT_NEAR(Call("joystick_xpos(1)"), 65535.0 / 32767 - 1, 1e-12);
  EXPECT_EQ(Call("joystick_pov(1)"), -1);  // centred
  EXPECT_EQ(Call("joystick_pov(2)"), -1);
}

TEST_F(JoystickTest, StickAndButtonsRaiseTheirEventsEveryStep) {
  int32_t a = AddObject("a");
  Code(a, kEventMouse, 16, "rec('left')");
  Code(a, kEventMouse, 19, "rec('down')");
  Code(a, kEventMouse, 22, "rec('button 2')");
  Code(a, kEventMouse, 31, "rec('second left')");
  AddRoom("r", {{a}});
  Start();
  Set(-30000, 30000, {1});
  Step();
  Step();
  EXPECT_EQ(TakeCalls(), (Calls{"left", "down", "button 2", "left", "down", "button 2"}));
  Set(0, 0);
  Step();
  EXPECT_TRUE(TakeCalls().empty());
}

}  // namespace
}  // namespace zorvex
