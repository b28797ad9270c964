// Saved games: the whole running state (game values, globals, every room state with its
// instances and tiles, the id counters) in one file, and loading it back.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "code/Variable_Main.h"
#include "run/Run_Main.h"

namespace zorvex {

class CGame;
class CStream;

inline constexpr int32_t kSaveVersion = 540;
inline constexpr int32_t kRoomStateVersion = 540;

inline constexpr const char* kSecureSaveMessage = "In secure mode you cannot save game to file ";
inline constexpr const char* kSaveFailedMessage = "Failed to save game to file ";
inline constexpr const char* kLoadFailedMessage = "Failed to load game from file ";
inline constexpr const char* kLoadOtherVersionMessage =
    "Cannot load game saved with other version.";
inline constexpr const char* kLoadOtherGameMessage = "This is a save file for a different game!";

// game_save: the file is written at once. Errors are non-fatal and reported in context.
void SaveGame(CGame& game, const std::string& file);
// game_load's work, done by the main loop (or at once by F6): nothing when the file does not
// exist; otherwise the whole file is read and checked before anything of the running game
// changes, so a file that does not load leaves the game as it was.
void LoadGame(CGame& game, const std::string& file);

// The stored form, in memory.
void WriteSavedGame(const CGame& game, CStream& s);
void WriteRoomState(const CRoomState& state, CStream& s);

// Everything a saved game holds, read into fresh objects.
struct CSavedGame {
  int32_t room_index = -1;
  int32_t transition_kind = 0;
  int32_t score = 0;
  int32_t lives = -1;
  double health = 100;
  int32_t cursor_sprite = -1;
  int32_t cursor_frame = 0;
  bool automatic_draw = true;
  CGlobalVariables globals;
  std::vector<std::unique_ptr<CRoomState>> rooms;
  int32_t last_instance_id = 0;
  int32_t last_tile_id = 0;
};

enum class SaveReadResult { kOk, kOtherVersion, kOtherGame, kDamaged };

// Reads and checks a whole saved game. Anything that cannot come from a writer (a count the
// rest of the file cannot hold, a room record of another version, a current room without a
// state, bytes after the end) is damage.
SaveReadResult ReadSavedGame(CGame& game, CStream& s, CSavedGame& out);
// Puts a saved game in place of the running state (rooms, current room, game values, globals,
// id counters) and fits the drawing region to the room. Runs no event.
void ApplySavedGame(CGame& game, CSavedGame&& saved);

// Wires F5, F6 and the load request to SaveGame and LoadGame.
void InstallSaveLoad(CGame& game);

}  // namespace zorvex
