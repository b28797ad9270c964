// Events and actions written as text: the event keys of objects ("step_end",
// "collision:obj_wall", "keyboard:vk_left") and the action lists of events and time line
// moments (code, a code file, action objects by library and id, or a list of these).
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "resources/Event_Class.h"
#include "zorvex-build/Builder_Json.h"

namespace zorvex {

struct CProject;

// Where the actions of an event come from: the JSON file (for messages and code files).
struct CActionSource {
  const CProject& project;
  std::filesystem::path base;  // folder that code file names are relative to
  std::string base_display;    // that folder as messages show it ("objects")
  std::string file;            // the JSON file as messages show it
};

// Turns an event key into its type and number; false with the reason.
bool ParseEventKey(const CProject& project, const std::string& key, int32_t& type, int32_t& number,
                   std::string& why);

// Reads the actions of one event (or moment) into `event`; `field` is the value's place in the
// file ("events.step") for messages.
bool ReadEventActions(const CActionSource& source, const Json& value, const std::string& field,
                      CEvent& event, std::string& error);

// A key code by name ("vk_left", "A", "7", "37").
bool ParseKeyName(const std::string& name, int32_t& code);

}  // namespace zorvex
