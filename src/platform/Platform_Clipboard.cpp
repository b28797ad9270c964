#include "platform/Platform_Clipboard.h"

#include <SDL.h>

#include "platform/Platform_Text.h"
#include "platform/Platform_Window.h"

namespace zorvex {

bool ClipboardHasText() {
  return PlatformHasVideo() && SDL_HasClipboardText() == SDL_TRUE;
}

std::string ClipboardText() {
  if (!PlatformHasVideo()) return {};
  char* text = SDL_GetClipboardText();
  if (text == nullptr) return {};
  std::string out = Utf8ToCp1252(text);
  SDL_free(text);
  return out;
}

bool SetClipboardText(std::string_view text) {
  if (!PlatformHasVideo()) return false;
  return SDL_SetClipboardText(Cp1252ToUtf8(text).c_str()) == 0;
}

}  // namespace zorvex
