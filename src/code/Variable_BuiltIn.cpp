#include "code/Variable_BuiltIn.h"

namespace zorvex {

int32_t CBuiltinVariableTable::Register(std::string_view name, BuiltinGetter getter,
                                        BuiltinSetter setter) {
  if (Count() >= kMaxBuiltinVariables) {
    if (show_message) show_message("INTERNAL ERROR: Adding too many variables");
    return -1;
  }
  BuiltinVariableEntry e;
  e.name = std::string(name.substr(0, kMaxBuiltinVariableNameLength));
  e.getter = getter;
  e.setter = setter;
  e.writable = setter != nullptr;
  int32_t id = Count();
  by_name_.emplace(e.name, id);  // the first entry of a name wins
  entries_.push_back(std::move(e));
  return id;
}

int32_t CBuiltinVariableTable::Find(std::string_view name) const {
  auto it = by_name_.find(name);
  return it == by_name_.end() ? -1 : it->second;
}

}  // namespace zorvex
