#pragma once

namespace zorvex {

class CFunctionTable;

// The collision functions of the game family: place_free ... distance_to_object.
void RegisterCollisionFunctions(CFunctionTable& table);

}  // namespace zorvex
