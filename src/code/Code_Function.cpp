#include "code/Code_Function.h"

namespace zorvex {

int32_t CFunctionTable::Register(std::string_view name, BuiltinHandler handler, int32_t argc) {
  FunctionEntry e;
  e.name = std::string(name.substr(0, kMaxFunctionNameLength));
  e.handler = handler;
  e.argc = argc;
  int32_t id = Count();
  by_name_.emplace(e.name, id);  // the first entry of a name wins
  entries_.push_back(std::move(e));
  return id;
}

int32_t CFunctionTable::Find(std::string_view name) const {
  auto it = by_name_.find(std::string(name));
  return it == by_name_.end() ? -1 : it->second;
}

}  // namespace zorvex
