#pragma once

namespace zorvex {

class CFunctionTable;

// room_goto ... game_restart, game_save, game_load, sleep.
void RegisterGameRoomFunctions(CFunctionTable& table);

}  // namespace zorvex
