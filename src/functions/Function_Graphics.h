#pragma once

namespace zorvex {

class CFunctionTable;

// The graphics family of built-in functions, in their fixed order.
void RegisterGraphicsFunctions(CFunctionTable& table);

}  // namespace zorvex
