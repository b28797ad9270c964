#include "platform/Platform_Input.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstring>

#include "platform/Platform_Text.h"

namespace zorvex {
namespace {

SDL_Event Key(Uint32 type, SDL_Scancode sc, SDL_Keycode sym, Uint16 mod = 0) {
  SDL_Event e{};
  e.type = type;
  e.key.keysym.scancode = sc;
  e.key.keysym.sym = sym;
  e.key.keysym.mod = mod;
  return e;
}

TEST(PlatformInput, VirtualKeys) {
  EXPECT_EQ(VirtualKeyFor(SDL_SCANCODE_A, SDLK_a, false), 65);
  // Letters follow the layout: the key in the Q place typing 'a' is A.
  EXPECT_EQ(VirtualKeyFor(SDL_SCANCODE_Q, SDLK_a, false), 65);
  EXPECT_EQ(VirtualKeyFor(SDL_SCANCODE_Z, SDLK_z, false), 90);
  EXPECT_EQ(VirtualKeyFor(SDL_SCANCODE_1, SDLK_1, false), 49);
  EXPECT_EQ(VirtualKeyFor(SDL_SCANCODE_LSHIFT, SDLK_LSHIFT, false), 16);
  EXPECT_EQ(VirtualKeyFor(SDL_SCANCODE_RCTRL, SDLK_RCTRL, false), 17);
  EXPECT_EQ(VirtualKeyFor(SDL_SCANCODE_RALT, SDLK_RALT, false), 18);
  EXPECT_EQ(SideSpecificVirtualKey(SDL_SCANCODE_LSHIFT), 160);
  EXPECT_EQ(SideSpecificVirtualKey(SDL_SCANCODE_RALT), 165);
  EXPECT_EQ(SideSpecificVirtualKey(SDL_SCANCODE_A), 0);
  EXPECT_EQ(VirtualKeyFor(SDL_SCANCODE_LEFT, SDLK_LEFT, false), 37);
  EXPECT_EQ(VirtualKeyFor(SDL_SCANCODE_DOWN, SDLK_DOWN, false), 40);
  EXPECT_EQ(VirtualKeyFor(SDL_SCANCODE_F1, SDLK_F1, false), 112);
  EXPECT_EQ(VirtualKeyFor(SDL_SCANCODE_F12, SDLK_F12, false), 123);
  EXPECT_EQ(VirtualKeyFor(SDL_SCANCODE_ESCAPE, SDLK_ESCAPE, false), 27);
  EXPECT_EQ(VirtualKeyFor(SDL_SCANCODE_SEMICOLON, SDLK_SEMICOLON, false), 186);
  EXPECT_EQ(VirtualKeyFor(SDL_SCANCODE_APOSTROPHE, SDLK_QUOTE, false), 222);
  EXPECT_EQ(VirtualKeyFor(SDL_SCANCODE_LEFTBRACKET, SDLK_LEFTBRACKET, false), 219);
  // The numpad: digits only with NumLock, otherwise the navigation keys.
  EXPECT_EQ(VirtualKeyFor(SDL_SCANCODE_KP_0, SDLK_KP_0, true), 96);
  EXPECT_EQ(VirtualKeyFor(SDL_SCANCODE_KP_9, SDLK_KP_9, true), 105);
  EXPECT_EQ(VirtualKeyFor(SDL_SCANCODE_KP_4, SDLK_KP_4, false), 37);
  EXPECT_EQ(VirtualKeyFor(SDL_SCANCODE_KP_7, SDLK_KP_7, false), 36);
  EXPECT_EQ(VirtualKeyFor(SDL_SCANCODE_KP_PERIOD, SDLK_KP_PERIOD, true), 110);
  EXPECT_EQ(VirtualKeyFor(SDL_SCANCODE_KP_PERIOD, SDLK_KP_PERIOD, false), 46);
  EXPECT_EQ(VirtualKeyFor(SDL_SCANCODE_KP_ENTER, SDLK_KP_ENTER, false), 13);
  EXPECT_EQ(VirtualKeyFor(SDL_SCANCODE_KP_DIVIDE, SDLK_KP_DIVIDE, false), 111);
  EXPECT_EQ(VirtualKeyFor(SDL_SCANCODE_KP_MINUS, SDLK_KP_MINUS, true), 109);
  EXPECT_EQ(VirtualKeyFor(SDL_SCANCODE_MUTE, SDLK_MUTE, false), 0);
}

TEST(PlatformInput, KeyEventsAndTheirCharacters) {
  std::vector<InputMessage> out;
  TranslateSdlEvent(Key(SDL_KEYDOWN, SDL_SCANCODE_BACKSPACE, SDLK_BACKSPACE), out);
  TranslateSdlEvent(Key(SDL_KEYDOWN, SDL_SCANCODE_C, SDLK_c, KMOD_LCTRL), out);
  TranslateSdlEvent(Key(SDL_KEYUP, SDL_SCANCODE_C, SDLK_c, KMOD_LCTRL), out);
  TranslateSdlEvent(Key(SDL_KEYDOWN, SDL_SCANCODE_KP_1, SDLK_KP_1, KMOD_NUM), out);
  TranslateSdlEvent(Key(SDL_KEYDOWN, SDL_SCANCODE_A, SDLK_a), out);  // text input gives 'a'
  std::vector<InputMessage> want = {
      {InputKind::kKeyDown, 8, 0, 0},  {InputKind::kChar, 8, 0, 0},
      {InputKind::kKeyDown, 67, 0, 0}, {InputKind::kChar, 3, 0, 0},
      {InputKind::kKeyUp, 67, 0, 0},   {InputKind::kKeyDown, 97, 0, 0},
      {InputKind::kKeyDown, 65, 0, 0},
  };
  EXPECT_EQ(out, want);
}

TEST(PlatformInput, TextMouseAndClose) {
  std::vector<InputMessage> out;
  SDL_Event t{};
  t.type = SDL_TEXTINPUT;
  std::strcpy(t.text.text, "a\xE2\x82\xAC\xC3\xA9");  // a, euro sign, e acute
  TranslateSdlEvent(t, out);
  SDL_Event b{};
  b.type = SDL_MOUSEBUTTONDOWN;
  b.button.button = SDL_BUTTON_RIGHT;
  b.button.x = 10;
  b.button.y = 20;
  TranslateSdlEvent(b, out);
  b.button.button = SDL_BUTTON_MIDDLE;
  b.type = SDL_MOUSEBUTTONUP;
  TranslateSdlEvent(b, out);
  b.button.button = SDL_BUTTON_X1;
  TranslateSdlEvent(b, out);  // ignored
  SDL_Event w{};
  w.type = SDL_MOUSEWHEEL;
  w.wheel.y = -2;
  TranslateSdlEvent(w, out);
  SDL_Event c{};
  c.type = SDL_WINDOWEVENT;
  c.window.event = SDL_WINDOWEVENT_CLOSE;
  TranslateSdlEvent(c, out);
  std::vector<InputMessage> want = {
      {InputKind::kChar, 'a', 0, 0},    {InputKind::kChar, 0x80, 0, 0},
      {InputKind::kChar, 0xE9, 0, 0},   {InputKind::kMouseDown, 2, 10, 20},
      {InputKind::kMouseUp, 3, 10, 20}, {InputKind::kWheelDown, 0, 0, 0},
      {InputKind::kClose, 0, 0, 0},
  };
  EXPECT_EQ(out, want);
}

TEST(PlatformText, Windows1252) {
  EXPECT_EQ(Cp1252ToUtf8("a\x80\xE9\x9F\x81"), "a\xE2\x82\xAC\xC3\xA9\xC5\xB8\xC2\x81");
  EXPECT_EQ(Utf8ToCp1252("\xE2\x82\xAC\xC3\xA9\xE2\x84\xA2x"), "\x80\xE9\x99x");
  EXPECT_EQ(Utf8ToCp1252("\xE4\xB8\xAD"), "?");  // not in the code page
  EXPECT_EQ(Utf8ToCp1252("\xC3"), "?");          // cut short
  EXPECT_EQ(Utf8ToCp1252("\xFF"
                         "a"),
            "?a");
  std::string all;
  for (int i = 1; i < 256; ++i)
    all.push_back(static_cast<char>(i));
  EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
}

}  // namespace
}  // namespace zorvex
