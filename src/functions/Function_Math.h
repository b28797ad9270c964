#pragma once

namespace zorvex {

class CFunctionTable;

// Registers the math and string functions, in their fixed order.
void RegisterMathFunctions(CFunctionTable& table);

}  // namespace zorvex
