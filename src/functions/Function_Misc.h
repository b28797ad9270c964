#pragma once

namespace zorvex {

class CFunctionTable;

// Registers the miscellaneous family in its fixed order. So far that is the calendar
// functions, which come last in the family; code execution, external functions, variables
// by name and the process and clipboard services go before them as they arrive.
void RegisterMiscFunctions(CFunctionTable& table);

}  // namespace zorvex
