#pragma once

namespace zorvex {

class CFunctionTable;

// The File family of built-in functions.
void RegisterFileFunctions(CFunctionTable& table);

}  // namespace zorvex
