// The game information (the text F1 shows) and the placement of its window.
#pragma once

#include <cstdint>
#include <string>

namespace zorvex {

class CStream;

struct CGameInformation {
  int32_t background_color = 0xE1FFFF;  // 0x00BBGGRR, a pale yellow until a game sets it
  bool in_game_window = false;
  std::string caption = "Game Information";
  // The window as stored (left/top negative: centred) and as placed on the screen.
  int32_t left = -1;
  int32_t top = -1;
  int32_t width = 600;
  int32_t height = 400;
  bool show_border = true;
  bool sizeable = true;
  bool stay_on_top = false;
  bool modal = false;
  std::string text;  // rich text, as stored
};

// Reads the section (its version first), clamping the window to the screen and centring it
// where the stored position is negative. Clears the old text first. False on a wrong version.
bool ReadGameInformation(CStream& stream, CGameInformation& info, int32_t screen_width,
                         int32_t screen_height);
// The builder's side.
void WriteGameInformation(CStream& stream, const CGameInformation& info);

}  // namespace zorvex
