#include "game/Game.h"

#include "functions/Function_Registry.h"
#include "game/Game_Load.h"

namespace zorvex {

CGame::CGame() : sections(SectionTable()), dialogs(std::make_unique<CHeadlessDialogService>()) {
  language.Attach(this, &functions, &errors);
  // The error window belongs to whichever dialog service the run uses (headless, desktop or a
  // test's); each call asks the current one.
  errors.show_window = [this](const std::string& message, bool ignore_allowed) {
    return dialogs->ShowErrorMessages(message, ignore_allowed);
  };
  language.lookup = &lookup;
  RegisterBuiltinFunctions(functions);
  // Shuffles draw from the game's one random sequence.
  data_structures.random.context = &random;
  data_structures.random.draw = [](void* rng, uint32_t n) {
    return static_cast<CRandom*>(rng)->NextBelow(n);
  };
}

CGame::~CGame() {
  // The device draws into the game window: it goes first, while the window still exists. The
  // resources free their textures afterwards into an empty table, which does nothing.
  graphics.GraphicsStop();
  graphics.window.form = nullptr;
}

}  // namespace zorvex
