#include "game/Game.h"

#include "functions/Function_Registry.h"
#include "game/Game_Load.h"

namespace zorvex {

CGame::CGame() : sections(SectionTable()), dialogs(std::make_unique<CHeadlessDialogService>()) {
  RegisterBuiltinFunctions(functions);
}

CGame::~CGame() = default;

}  // namespace zorvex
