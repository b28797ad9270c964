// Starting other programs and handing files to the desktop's opener.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zorvex {

// Splits a command line by the Windows rules: blanks separate arguments, double quotes group,
// 2n backslashes before a quote give n backslashes and a quote that groups, 2n+1 give n and a
// literal quote; other backslashes are literal.
std::vector<std::string> SplitCommandLine(std::string_view line);

// Starts argv[0] (searched in PATH when it has no '/') in the directory (empty: the current
// one). Returns the process id, or -1 when it could not be started.
int64_t SpawnProcess(const std::vector<std::string>& argv, const std::string& directory);
// True once the process has ended (it is reaped then); also true for an unknown id.
bool ProcessHasEnded(int64_t pid);

// For a process nobody waits for: it is reaped in the background when it ends.
void ForgetProcess(int64_t pid);

// The priority levels of set_program_priority for the calling (game) thread: -3 idle, -2
// lowest, -1 below normal, 1 above normal, 2 high, 3 the highest; other values normal. They
// become nice values 19, 10, 5, 0, -5, -15 and -20; raising the priority needs the privilege,
// and without it the thread keeps its priority.
void SetProgramPriority(int32_t level);
// The nice value a level asks for.
int32_t ProgramPriorityNice(int32_t level);

// Asks the desktop to open a file or address (xdg-open). True when the opener was started.
bool ShellOpen(const std::string& target, const std::string& directory);

}  // namespace zorvex
