#include "run/IO_Main.h"

#include <gtest/gtest.h>

#include <string>

#include "RunTestSupport.h"

namespace zorvex {
namespace {

TEST(InputState, PressedAndReleasedLastOneStep) {
  CInputState in;
  in.KeyDown(65);
  in.KeyUp(65);
  // Pressed and released between two steps: seen as both, but not held.
  EXPECT_FALSE(in.KeyHeld(65));
  EXPECT_TRUE(in.KeyPressed(65));
  EXPECT_TRUE(in.KeyReleased(65));
  in.EndStep();
  EXPECT_FALSE(in.KeyPressed(65));
  EXPECT_FALSE(in.KeyReleased(65));

  // Holding (with auto-repeat) gives pressed in the first step only.
  in.KeyDown(66);
  in.KeyDown(66);
  EXPECT_TRUE(in.KeyPressed(66));
  in.EndStep();
  in.KeyDown(66);
  EXPECT_TRUE(in.KeyHeld(66));
  EXPECT_FALSE(in.KeyPressed(66));
  EXPECT_EQ(in.keyboard_key, 66);
  in.KeyDown(67);
  in.KeyUp(66);
  EXPECT_EQ(in.keyboard_key, 67);  // only the key that is current becomes 0
  EXPECT_EQ(in.keyboard_lastkey, 67);
  in.KeyUp(67);
  EXPECT_EQ(in.keyboard_key, 0);
  EXPECT_FALSE(in.KeyHeld(300));
  EXPECT_FALSE(in.KeyHeld(-1));
}

TEST(InputState, TheKeyMapTranslatesKeys) {
  CInputState in;
  in.SetKeyMap(65, 66);
  in.KeyDown(65);
  EXPECT_TRUE(in.KeyHeld(66));
  EXPECT_FALSE(in.KeyHeld(65));
  EXPECT_EQ(in.keyboard_lastkey, 66);
  EXPECT_EQ(in.KeyMap(65), 66);
  EXPECT_EQ(in.KeyMap(400), 400);
  in.SetKeyMap(70, 999);  // maps out of range: the key is ignored
  in.KeyDown(70);
  EXPECT_EQ(in.keyboard_lastkey, 66);
  in.SetKeyMap(300, 1);  // nothing to map
  in.ResetKeyMap();
  EXPECT_EQ(in.KeyMap(65), 65);
}

TEST(InputState, TheTypedTextKeepsItsLastCharacters) {
  CInputState in;
  in.Character(8);  // backspace on empty text changes nothing
  EXPECT_EQ(in.keyboard_string, "");
  for (int i = 0; i < 1100; ++i)
    in.Character('a' + i % 26);
  EXPECT_EQ(in.keyboard_string.size(), 1025u);
  EXPECT_EQ(in.keyboard_string.back(), 'a' + 1099 % 26);
  EXPECT_EQ(in.keyboard_string.front(), 'a' + 75 % 26);
  in.Character(8);  // the text is cut to 1024 first, then the backspace takes one
  EXPECT_EQ(in.keyboard_string.size(), 1023u);
  in.Character(13);  // control characters are not text
  EXPECT_EQ(in.keyboard_string.size(), 1023u);
  EXPECT_EQ(in.keyboard_lastchar, 13);
  in.Clear();
  EXPECT_EQ(in.keyboard_string, "");
  EXPECT_EQ(in.keyboard_lastchar, 0);
}

TEST(InputState, MouseButtons) {
  CInputState in;
  in.ButtonDown(2);
  EXPECT_EQ(in.mouse_button, 2);
  EXPECT_TRUE(in.ButtonHeld(2));
  EXPECT_TRUE(in.ButtonPressed(2));
  in.ButtonDown(7);  // anything else counts as the left button
  EXPECT_TRUE(in.ButtonHeld(1));
  in.ButtonUp(2);
  EXPECT_EQ(in.mouse_button, 0);
  EXPECT_EQ(in.mouse_lastbutton, 1);
  EXPECT_TRUE(in.ButtonReleased(2));
  EXPECT_FALSE(in.ButtonHeld(4));
  in.Wheel(false);
  EXPECT_TRUE(in.WheelDown());
  in.EndStep();
  EXPECT_FALSE(in.WheelDown());
  EXPECT_TRUE(in.ButtonHeld(1));
}

class InputFunctionsTest : public testing::RunGameTest {
 protected:
  double Call(const std::string& code) { return Eval("return " + code).real; }
};

TEST_F(InputFunctionsTest, KeyboardAndMouseChecks) {
  AddRoom("r");
  Start();
  EXPECT_EQ(Call("keyboard_check(vk_nokey)"), 1);
  EXPECT_EQ(Call("keyboard_check(vk_anykey)"), 0);
  game.input.KeyDown(200);
  EXPECT_EQ(Call("keyboard_check(vk_anykey)"), 1);  // keys above 128 count too
  EXPECT_EQ(Call("keyboard_check(200)"), 1);
  EXPECT_EQ(Call("keyboard_check_pressed(200)"), 1);
  EXPECT_EQ(Call("keyboard_check_released(vk_nokey)"), 1);
  EXPECT_EQ(Call("keyboard_check(256)"), 0);
  EXPECT_EQ(Call("keyboard_check_direct(200)"), 0);  // no physical key is down
  EXPECT_EQ(Call("mouse_check_button(mb_none)"), 1);
  game.input.ButtonDown(3);
  EXPECT_EQ(Call("mouse_check_button(mb_any)"), 1);
  EXPECT_EQ(Call("mouse_check_button(mb_none)"), 0);
  EXPECT_EQ(Call("mouse_check_button_pressed(mb_middle)"), 1);
  EXPECT_EQ(Call("mouse_check_button(4)"), 0);
  Eval("mouse_clear(mb_middle); keyboard_clear(200)");
  EXPECT_EQ(Call("mouse_check_button(mb_any)"), 0);
  EXPECT_EQ(Call("keyboard_check(200)"), 0);
  Eval("keyboard_set_map(ord('A'), ord('B'))");
  EXPECT_EQ(Call("keyboard_get_map(65)"), 66);
  Eval("keyboard_unset_map()");
  EXPECT_EQ(Call("keyboard_get_map(65)"), 65);
}

TEST_F(InputFunctionsTest, SentKeysArriveAsMessages) {
  AddRoom("r");
  Start();
  InstallInput(game);
  Eval("keyboard_key_press(vk_left)");
  EXPECT_EQ(Call("keyboard_check(vk_left)"), 0);  // not before messages are handled
  Eval("io_handle()");
  EXPECT_EQ(Call("keyboard_check(vk_left)"), 1);
  Eval("keyboard_key_release(vk_left); io_clear()");
  EXPECT_EQ(Call("keyboard_check_released(vk_left)"), 0);  // cleared
  EXPECT_EQ(game.input.keyboard_lastkey, 0);
}

TEST_F(InputFunctionsTest, WaitsTakeTheNextScriptedInputInHeadlessRuns) {
  AddRoom("r");
  Start();
  InstallInput(game);
  game.options.headless = true;
  game.options.input = {{5, InputMessage{InputKind::kKeyDown, 70}},
                        {9, InputMessage{InputKind::kMouseDown, 2}}};
  game.input.keyboard_lastkey = 65;  // an earlier key does not end the wait
  Eval("keyboard_wait()");
  EXPECT_EQ(game.input.keyboard_lastkey, 70);
  Eval("mouse_wait()");
  EXPECT_EQ(game.input.mouse_lastbutton, 2);
  // Nothing left: the wait ends at once.
  Eval("keyboard_wait()");
  EXPECT_EQ(game.input.keyboard_lastkey, 0);
}

TEST_F(InputFunctionsTest, InputIsHeldBackWhileInformationOrSplashIsShown) {
  AddRoom("r");
  Start();
  int closed = 0;
  std::string splash_keys;
  game.input.close_information = [&] { ++closed; };
  game.input.splash_key = [&](int32_t k) { splash_keys += std::to_string(k) + " "; };
  game.input.information_shown = true;
  HandleInputMessage(game, InputMessage{InputKind::kKeyDown, 65});
  HandleInputMessage(game, InputMessage{InputKind::kKeyUp, 65});
  HandleInputMessage(game, InputMessage{InputKind::kKeyUp, 27});
  HandleInputMessage(game, InputMessage{InputKind::kClose});
  EXPECT_EQ(closed, 2);
  EXPECT_FALSE(game.input.KeyPressed(65));
  game.input.information_shown = false;
  game.input.splash_shown = true;
  HandleInputMessage(game, InputMessage{InputKind::kKeyUp, 32});
  EXPECT_EQ(splash_keys, "32 ");
  EXPECT_FALSE(game.input.KeyReleased(32));
}

}  // namespace
}  // namespace zorvex
