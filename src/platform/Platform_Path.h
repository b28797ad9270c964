// Every file name that game code or game data hands to the system goes through here: Windows
// separators become '/', each existing path component is matched case-insensitively, and drive
// letters are dropped (see docs/DESIGN.md for the policy).
#pragma once

#include <string>
#include <string_view>

namespace zorvex {

// The Linux path of a game-side path. Components that exist in some letter case resolve to the
// existing name; the rest are kept as written (so new files are created with the game's case).
std::string TranslatePath(std::string_view game_path);

// The game-side form of a Linux path: '/' becomes '\'.
std::string ToGamePath(std::string_view linux_path);

}  // namespace zorvex
