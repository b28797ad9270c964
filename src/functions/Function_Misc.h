#pragma once

#include <string_view>

#include "code/RValue.h"

namespace zorvex {

class CFunctionTable;
class CGame;
struct CInstanceCore;

// Registers the miscellaneous family in its fixed order: code execution, variables by name,
// process and clipboard services, then the calendar. The external-library functions and the
// event functions are not registered yet.
void RegisterMiscFunctions(CFunctionTable& table);

// What show_debug_message does: with --debug-messages the text (Windows-1252, written as
// UTF-8) and a line feed go to standard output, flushed at once.
void ShowDebugMessage(CGame& game, std::string_view text);

// Compiles and runs a piece of code for execute_string and execute_file: `args` (at most 16
// are used) become argument0 ... and the caller's arguments are back afterwards; the result
// slot is `result`. A compilation error is delivered as compile_prefix + CR + the message
// (non-fatal, without action context); a run-time error is reported in the current context.
void ExecuteCodeText(CGame& game, CInstanceCore* self, CInstanceCore* other, std::string_view text,
                     const RValue* args, int count, std::string_view compile_prefix,
                     RValue& result);

}  // namespace zorvex
