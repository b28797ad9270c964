#include "game/Game.h"

#include "functions/Function_Registry.h"

namespace zorvex {

CGame::CGame() {
  language.Attach(this, &functions, &errors);
  RegisterBuiltinFunctions(functions);
}

CGame::~CGame() = default;

}  // namespace zorvex
