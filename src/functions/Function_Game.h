#pragma once

namespace zorvex {

class CFunctionTable;

// The game family: rooms and the game, instances, motion and collisions, in their fixed order.
// So far the room and game functions and instance_create.
void RegisterGameFunctions(CFunctionTable& table);

}  // namespace zorvex
