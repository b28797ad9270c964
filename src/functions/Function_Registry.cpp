#include "functions/Function_Registry.h"

#include "code/Code_Function.h"
#include "functions/Function_Math.h"
#include "functions/Function_Game.h"
#include "functions/Function_Game_Collision.h"
#include "functions/Function_Interaction.h"
#include "functions/Function_Misc.h"
#include "functions/Function_Misc_Event.h"
#include "functions/Function_Graphics.h"
#include "functions/Function_Data_Structures.h"
#include "functions/Function_File.h"

namespace zorvex {

void RegisterBuiltinFunctions(CFunctionTable& table) {
  // Family order: Action, Math, Graphics, Game, File, Interaction, DPlay, Misc, Resource,
  // Particles, Data_Structures, Sound, 3D. Each family registers only what works.
  RegisterMathFunctions(table);
  RegisterGraphicsFunctions(table);
  RegisterGameFunctions(table);
  RegisterCollisionFunctions(table);
  RegisterFileFunctions(table);
  RegisterInteractionFunctions(table);
  RegisterMiscFunctions(table);
  RegisterEventFunctions(table);
  RegisterDataStructureFunctions(table);
}

}  // namespace zorvex
