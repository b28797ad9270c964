#include "platform/Platform_Input.h"

#include <SDL.h>

#include <array>
#include <string>

#include "platform/Platform_Text.h"

namespace zorvex {

namespace {

struct ScancodeKey {
  SDL_Scancode scancode;
  int32_t vk;
  int32_t vk_without_numlock;  // numpad keys only; 0 elsewhere
};

// The one table from SDL keys to virtual keys; keys that follow the layout are looked up by
// their symbol further below.
constexpr ScancodeKey kKeys[] = {
    {SDL_SCANCODE_BACKSPACE, 8, 0},
    {SDL_SCANCODE_TAB, 9, 0},
    {SDL_SCANCODE_RETURN, 13, 0},
    {SDL_SCANCODE_KP_ENTER, 13, 13},
    {SDL_SCANCODE_LSHIFT, 16, 0},
    {SDL_SCANCODE_RSHIFT, 16, 0},
    {SDL_SCANCODE_LCTRL, 17, 0},
    {SDL_SCANCODE_RCTRL, 17, 0},
    {SDL_SCANCODE_LALT, 18, 0},
    {SDL_SCANCODE_RALT, 18, 0},
    {SDL_SCANCODE_PAUSE, 19, 0},
    {SDL_SCANCODE_CAPSLOCK, 20, 0},
    {SDL_SCANCODE_ESCAPE, 27, 0},
    {SDL_SCANCODE_SPACE, 32, 0},
    {SDL_SCANCODE_PAGEUP, 33, 0},
    {SDL_SCANCODE_PAGEDOWN, 34, 0},
    {SDL_SCANCODE_END, 35, 0},
    {SDL_SCANCODE_HOME, 36, 0},
    {SDL_SCANCODE_LEFT, 37, 0},
    {SDL_SCANCODE_UP, 38, 0},
    {SDL_SCANCODE_RIGHT, 39, 0},
    {SDL_SCANCODE_DOWN, 40, 0},
    {SDL_SCANCODE_PRINTSCREEN, 44, 0},
    {SDL_SCANCODE_INSERT, 45, 0},
    {SDL_SCANCODE_DELETE, 46, 0},
    {SDL_SCANCODE_LGUI, 91, 0},
    {SDL_SCANCODE_RGUI, 92, 0},
    {SDL_SCANCODE_APPLICATION, 93, 0},
    {SDL_SCANCODE_KP_0, 96, 45},
    {SDL_SCANCODE_KP_1, 97, 35},
    {SDL_SCANCODE_KP_2, 98, 40},
    {SDL_SCANCODE_KP_3, 99, 34},
    {SDL_SCANCODE_KP_4, 100, 37},
    {SDL_SCANCODE_KP_5, 101, 12},
    {SDL_SCANCODE_KP_6, 102, 39},
    {SDL_SCANCODE_KP_7, 103, 36},
    {SDL_SCANCODE_KP_8, 104, 38},
    {SDL_SCANCODE_KP_9, 105, 33},
    {SDL_SCANCODE_KP_MULTIPLY, 106, 106},
    {SDL_SCANCODE_KP_PLUS, 107, 107},
    {SDL_SCANCODE_KP_MINUS, 109, 109},
    {SDL_SCANCODE_KP_PERIOD, 110, 46},
    {SDL_SCANCODE_KP_DIVIDE, 111, 111},
    {SDL_SCANCODE_F1, 112, 0},
    {SDL_SCANCODE_F2, 113, 0},
    {SDL_SCANCODE_F3, 114, 0},
    {SDL_SCANCODE_F4, 115, 0},
    {SDL_SCANCODE_F5, 116, 0},
    {SDL_SCANCODE_F6, 117, 0},
    {SDL_SCANCODE_F7, 118, 0},
    {SDL_SCANCODE_F8, 119, 0},
    {SDL_SCANCODE_F9, 120, 0},
    {SDL_SCANCODE_F10, 121, 0},
    {SDL_SCANCODE_F11, 122, 0},
    {SDL_SCANCODE_F12, 123, 0},
    {SDL_SCANCODE_F13, 124, 0},
    {SDL_SCANCODE_F14, 125, 0},
    {SDL_SCANCODE_F15, 126, 0},
    {SDL_SCANCODE_F16, 127, 0},
    {SDL_SCANCODE_NUMLOCKCLEAR, 144, 0},
    {SDL_SCANCODE_SCROLLLOCK, 145, 0},
};

// Symbols of layout keys: letters (upper case), digits and the punctuation ("OEM") keys.
int32_t VirtualKeyForSymbol(int32_t sym) {
  if (sym >= 'a' && sym <= 'z') return sym - 'a' + 'A';
  if (sym >= '0' && sym <= '9') return sym;
  switch (sym) {
    case ';':
      return 186;
    case '=':
      return 187;
    case ',':
      return 188;
    case '-':
      return 189;
    case '.':
      return 190;
    case '/':
      return 191;
    case '`':
      return 192;
    case '[':
      return 219;
    case '\\':
      return 220;
    case ']':
      return 221;
    case '\'':
      return 222;
    default:
      return 0;
  }
}

int32_t MouseButtonFor(uint8_t sdl_button) {
  switch (sdl_button) {
    case SDL_BUTTON_LEFT:
      return kMouseLeft;
    case SDL_BUTTON_RIGHT:
      return kMouseRight;
    case SDL_BUTTON_MIDDLE:
      return kMouseMiddle;
    default:
      return 0;  // the side buttons are not seen by games
  }
}

}  // namespace

int32_t VirtualKeyFor(int scancode, int32_t keysym, bool numlock) {
  for (const ScancodeKey& k : kKeys) {
    if (k.scancode == scancode) {
      if (k.vk_without_numlock != 0 && !numlock) return k.vk_without_numlock;
      return k.vk;
    }
  }
  return VirtualKeyForSymbol(keysym);
}

int32_t SideSpecificVirtualKey(int scancode) {
  switch (scancode) {
    case SDL_SCANCODE_LSHIFT:
      return 160;
    case SDL_SCANCODE_RSHIFT:
      return 161;
    case SDL_SCANCODE_LCTRL:
      return 162;
    case SDL_SCANCODE_RCTRL:
      return 163;
    case SDL_SCANCODE_LALT:
      return 164;
    case SDL_SCANCODE_RALT:
      return 165;
    default:
      return 0;
  }
}

void TranslateSdlEvent(const SDL_Event& e, std::vector<InputMessage>& out) {
  switch (e.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
      const SDL_Keysym& k = e.key.keysym;
      int32_t vk = VirtualKeyFor(k.scancode, k.sym, (k.mod & KMOD_NUM) != 0);
      if (vk == 0) return;
      bool down = e.type == SDL_KEYDOWN;
      out.push_back({down ? InputKind::kKeyDown : InputKind::kKeyUp, vk, 0, 0});
      if (!down) return;
      // Characters that text input never reports.
      if (vk == 8 || vk == 9 || vk == 13 || vk == 27) {
        out.push_back({InputKind::kChar, vk, 0, 0});
      } else if ((k.mod & KMOD_CTRL) != 0 && !(k.mod & KMOD_ALT) && vk >= 'A' && vk <= 'Z') {
        out.push_back({InputKind::kChar, vk - 'A' + 1, 0, 0});
      }
      return;
    }
    case SDL_TEXTINPUT: {
      std::string text = Utf8ToCp1252(e.text.text);
      for (char ch : text)
        out.push_back({InputKind::kChar, static_cast<uint8_t>(ch), 0, 0});
      return;
    }
    case SDL_MOUSEMOTION:
      out.push_back({InputKind::kMouseMove, 0, e.motion.x, e.motion.y});
      return;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      int32_t b = MouseButtonFor(e.button.button);
      if (b == 0) return;
      out.push_back({e.type == SDL_MOUSEBUTTONDOWN ? InputKind::kMouseDown : InputKind::kMouseUp, b,
                     e.button.x, e.button.y});
      return;
    }
    case SDL_MOUSEWHEEL: {
      int32_t y = e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -e.wheel.y : e.wheel.y;
      if (y > 0) out.push_back({InputKind::kWheelUp, 0, 0, 0});
      if (y < 0) out.push_back({InputKind::kWheelDown, 0, 0, 0});
      return;
    }
    case SDL_QUIT:
      out.push_back({InputKind::kClose, 0, 0, 0});
      return;
    case SDL_WINDOWEVENT:
      if (e.window.event == SDL_WINDOWEVENT_CLOSE) out.push_back({InputKind::kClose, 0, 0, 0});
      return;
    default:
      return;
  }
}

}  // namespace zorvex
