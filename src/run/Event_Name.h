// The names of events, keys and mouse events as messages and the debugger show them.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace zorvex {

// "Step Event", "Keyboard Event for <Left> Key", "Collision Event with object obj_wall", ...
// The collision event names its object through `object_name`.
std::string EventName(int32_t type, int32_t number,
                      const std::function<std::string(int32_t)>& object_name);
std::string KeyName(int32_t key);
std::string MouseEventName(int32_t number);
std::string OtherEventName(int32_t number);

}  // namespace zorvex
