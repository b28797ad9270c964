#pragma once

namespace zorvex {

class CFunctionTable;

// Registers the ds_ functions (stacks, queues, lists, maps, priority queues, grids).
void RegisterDataStructureFunctions(CFunctionTable& table);

}  // namespace zorvex
