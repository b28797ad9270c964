// Actions at run time: the compile step that turns every stored action into code, and the
// interpreter of an event's action list (blocks, questions with else, repeat, exit, the
// applies-to target) with the execution of one action.
#pragma once

#include <cstdint>

namespace zorvex {

class CGame;
class CAction;
class CEvent;
class CInstance;

// Compiles one action (variable and code actions become code, arguments become constants or
// compiled expressions). A compile error is reported as a fatal error in the current
// preparation context ("COMPILATION ERROR in code action" / "... in argument N").
bool PrepareAction(CGame& game, CAction& action);
// Every action in order, the context's action index following; stops at the first failure.
bool PrepareEvent(CGame& game, CEvent& event);
// The load steps "Compiling time line actions" and "Compiling object actions".
bool CompileTimeLines(CGame& game);
bool PrepareObjects(CGame& game);

// Runs the action list of an event for self and other; stops when a request is pending.
void RunActions(CGame& game, CInstance* self, CInstance* other, CEvent& event);
// One normal action; one question (false for an action with nothing to execute).
void ExecuteAction(CGame& game, CInstance* self, CInstance* other, CAction& action);
bool EvaluateQuestion(CGame& game, CInstance* self, CInstance* other, CAction& action);

}  // namespace zorvex
