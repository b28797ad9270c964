#include "game/Game.h"

#include "functions/Function_Registry.h"
#include "game/Game_Load.h"

namespace zorvex {

CGame::CGame() : sections(SectionTable()), dialogs(std::make_unique<CHeadlessDialogService>()) {
  language.Attach(this, &functions, &errors);
  language.lookup = &lookup;
  RegisterBuiltinFunctions(functions);
  // Shuffles draw from the game's one random sequence.
  data_structures.random.context = &random;
  data_structures.random.draw = [](void* rng, uint32_t n) {
    return static_cast<CRandom*>(rng)->NextBelow(n);
  };
}

CGame::~CGame() = default;

}  // namespace zorvex
