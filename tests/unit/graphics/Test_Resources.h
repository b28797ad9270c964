// Sprites, backgrounds and a small hand-made font for the drawing tests, made through the game's
// own tables so that they get their textures from the device as the game's resources do.
#pragma once

#include <cstdint>
#include <string>
#include <type_traits>
#include <vector>

#include "code/Code_Instance.h"
#include "game/Game.h"

namespace zorvex::testing {

// Calls a built-in function through the game's table with `self` as the calling instance,
// checking the argument count it was registered with.
RValue CallFunction(CGame& game, const char* name, const std::vector<RValue>& args,
                    CInstanceCore* self = nullptr);

// An argument as game code passes it: numbers as reals, texts as strings.
template <class T>
RValue Arg(T v) {
  if constexpr (std::is_arithmetic_v<T>) {
    return RValue(static_cast<double>(v));
  } else {
    return RValue(std::string(v));
  }
}

// Attaches the game's sprite, background and font tables to its device.
void AttachResources(CGame& game);

// A sprite of w x h frames (pixels 0xAARRGGBB, top row first) with its origin; returns its id.
int32_t AddTestSprite(CGame& game, int32_t w, int32_t h,
                      const std::vector<std::vector<uint32_t>>& frames, int32_t xoffset,
                      int32_t yoffset);
int32_t AddTestBackground(CGame& game, int32_t w, int32_t h, const std::vector<uint32_t>& pixels);

// A 3 x 5 pixel font for the characters ' ' to 'Z': cells 3 wide and 6 high (line height 6),
// advance 4, the space 3. Drawn: the capitals but J, Q, V and Z, the digits 0 1 2 5, '#', '-'
// and '.'; the other characters of the range are blank with advance 4.
CFont MiniFont();
int32_t AddMiniFont(CGame& game);
constexpr int32_t kMiniAdvance = 4;
constexpr int32_t kMiniSpace = 3;
constexpr int32_t kMiniLineHeight = 6;

}  // namespace zorvex::testing
