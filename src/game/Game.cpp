#include "game/Game.h"

#include "functions/Function_Registry.h"

namespace zorvex {

CGame::CGame() { RegisterBuiltinFunctions(functions); }

CGame::~CGame() = default;

}  // namespace zorvex
