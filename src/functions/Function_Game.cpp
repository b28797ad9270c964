// Built-in functions of the game family, registered in their fixed order: the room and game
// functions, then the instance functions.
#include "functions/Function_Game.h"

#include "functions/Function_Game_Instance.h"
#include "functions/Function_Game_Room.h"

namespace zorvex {

void RegisterGameFunctions(CFunctionTable& table) {
  RegisterGameRoomFunctions(table);
  RegisterGameInstanceFunctions(table);
}

}  // namespace zorvex
