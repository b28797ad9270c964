// The game information (the text F1 shows) and how its window looks.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "runner/Support_Stream.h"

namespace zorvex {

class CGameInformation {
 public:
  static constexpr int32_t kSectionVersion = 600;

  int32_t background_color = 16777215;
  bool in_game_window = false;
  std::string caption = "Game Information";
  int32_t left = -1;  // negative: centred
  int32_t top = -1;
  int32_t width = 600;
  int32_t height = 400;
  bool show_border = true;
  bool sizeable = true;
  bool stay_on_top = false;
  bool modal = false;
  std::vector<uint8_t> text;  // rich text (RTF)

  // Clears the text first; false on a wrong version.
  bool ReadSection(CStream& s);
  void WriteSection(CStream& s) const;

  bool operator==(const CGameInformation&) const = default;
};

}  // namespace zorvex
