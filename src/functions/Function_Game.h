#pragma once

namespace zorvex {

class CFunctionTable;

// The game family: rooms and the game, instances, motion and collisions, in their fixed order.
// So far the room, game and instance functions.
void RegisterGameFunctions(CFunctionTable& table);

}  // namespace zorvex
