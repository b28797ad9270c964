// The built-in variables of game code: the argument array, the fields of instances, and the
// game's state (room, score, input, event context, errors), each a getter and, when writable,
// a setter in the language's built-in variable table.
#pragma once

#include <string>

namespace zorvex {

class CGame;

// Registers every built-in variable once (a second call adds nothing).
void RegisterBuiltinVariables(CGame& game);

// The messages of the setters.
inline constexpr const char* kUnexistingRoomMessage = "Unexisting room number: ";
inline constexpr const char* kRoomSpeedMessage = "Trying to set the room speed to a value <= 0.";

// The directory the game was started from, without a trailing separator: the game file's
// directory, or the runner's own when the game is inside the runner.
std::string ProgramDirectory(const CGame& game);

}  // namespace zorvex
