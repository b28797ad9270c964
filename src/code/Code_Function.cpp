#include "code/Code_Function.h"

#include "code/Code_Language.h"
#include "code/Code_Lookup.h"

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
  auto it = by_name_.find(name);
  return it == by_name_.end() ? -1 : it->second;
}

bool FindFunction(const CLanguage& lang, std::string_view name, int32_t& id) {
  if (lang.lookup) {
    int32_t script = lang.lookup->FindResource(ResourceKind::kScript, name);
    if (script >= 0) {
      id = kScriptIdBase + script;
      return true;
    }
    int32_t ext = lang.lookup->FindExtensionFunction(name);
    if (ext >= 0) {
      id = kExtensionIdBase + ext;
      return true;
    }
  }
  int32_t builtin = lang.functions ? lang.functions->Find(name) : -1;
  if (builtin < 0) return false;
  id = builtin;
  return true;
}

int32_t ArgumentCountOfId(const CLanguage& lang, int32_t id) {
  if (id >= kExtensionIdBase)
    return lang.lookup ? lang.lookup->ExtensionArgumentCount(id - kExtensionIdBase)
                       : kNoSuchFunction;
  if (id >= kScriptIdBase) return kAnyArgumentCount;
  const FunctionEntry* e = lang.functions ? lang.functions->Entry(id) : nullptr;
  return e ? e->argc : kNoSuchFunction;
}

}  // namespace zorvex
