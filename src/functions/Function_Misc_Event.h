#pragma once

namespace zorvex {

class CFunctionTable;

// event_perform, event_perform_object, event_user and event_inherited: code performing events
// of the current self and other.
void RegisterEventFunctions(CFunctionTable& table);

}  // namespace zorvex
