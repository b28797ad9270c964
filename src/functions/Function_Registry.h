#pragma once

namespace zorvex {

class CFunctionTable;

// Registers every family of built-in functions, in the fixed family order.
void RegisterBuiltinFunctions(CFunctionTable& table);

}  // namespace zorvex
