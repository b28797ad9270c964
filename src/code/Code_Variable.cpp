#include "code/Code_Variable.h"

#include "code/Code_Instance.h"
#include "code/Code_Language.h"

namespace zorvex {

int32_t CVariableNames::FindOrAdd(std::string_view name) {
  auto it = ids_.find(name);
  if (it != ids_.end()) return it->second;
  int32_t id = kFirstUserVariableId + Count();
  names_.emplace_back(name);
  ids_.emplace(names_.back(), id);
  return id;
}

int32_t CVariableNames::Find(std::string_view name) const {
  auto it = ids_.find(name);
  return it == ids_.end() ? -1 : it->second;
}

const std::string* CVariableNames::Name(int32_t id) const {
  int64_t i = int64_t{id} - kFirstUserVariableId;
  if (i < 0 || i >= Count()) return nullptr;
  return &names_[static_cast<size_t>(i)];
}

int32_t ResolveVariableName(CLanguage& lang, std::string_view name) {
  int32_t id = lang.builtins.Find(name);
  return id >= 0 ? id : lang.names.FindOrAdd(name);
}

std::string VariableName(const CLanguage& lang, int32_t id) {
  if (id < kFirstUserVariableId) {
    const BuiltinVariableEntry* e = lang.builtins.Entry(id);
    return e ? e->name : "<unknown built-in variable>";
  }
  const std::string* n = lang.names.Name(id);
  return n ? *n : "<unknown variable>";
}

bool ReadInstanceVariable(CLanguage& lang, CInstanceCore* inst, int32_t id, int64_t index,
                          RValue& out) {
  if (id <= kLastBuiltinVariableId) {
    const BuiltinVariableEntry* e = lang.builtins.Entry(id);
    if (!e || !e->getter || !lang.game) return false;
    return e->getter(*lang.game, inst, static_cast<int32_t>(index), out);
  }
  return inst->variables.GetValue(id, index, out, lang.uninitialised_as_zero);
}

bool WriteInstanceVariable(CLanguage& lang, CInstanceCore* inst, int32_t id, int64_t index,
                           const RValue& v) {
  if (id <= kLastBuiltinVariableId) {
    const BuiltinVariableEntry* e = lang.builtins.Entry(id);
    if (!e || !e->writable || !lang.game) return false;
    return e->setter(*lang.game, inst, static_cast<int32_t>(index), v);
  }
  inst->variables.SetValue(id, index, v);
  return true;
}

CInstanceCore* FindInstanceById(CLanguage& lang, int32_t id) {
  CInstanceWorld* w = lang.world;
  if (!w) return nullptr;
  int n = w->ActiveCount();
  CInstanceIdCache& c = lang.id_cache;
  for (int32_t pos : {c.newer, c.older}) {
    if (pos >= 0 && pos < n) {
      CInstanceCore* inst = w->Active(pos);
      if (inst->id == id && !inst->marked) return inst;
    }
  }
  // An id is held by one live instance at most, but an instance changed into another object
  // leaves its marked predecessor with the same id in the list until the removal pass: the
  // live one is the answer.
  CInstanceCore* marked = nullptr;
  for (int i = n; i-- > 0;) {
    CInstanceCore* inst = w->Active(i);
    if (inst->id != id) continue;
    if (inst->marked) {
      if (!marked) marked = inst;
      continue;
    }
    c.older = c.newer;
    c.newer = i;
    return inst;
  }
  return marked;
}

CInstanceCore* FirstLiveInstance(CLanguage& lang, int32_t owner) {
  CInstanceWorld* w = lang.world;
  if (!w) return nullptr;
  if (owner == kOwnerAll) {
    int n = w->ActiveCount();
    for (int i = 0; i < n; ++i) {
      CInstanceCore* inst = w->Active(i);
      if (!inst->marked) return inst;
    }
    return nullptr;
  }
  int n = w->FamilyCount(owner);
  for (int i = 0; i < n; ++i) {
    CInstanceCore* inst = w->Family(owner, i);
    if (!inst->marked) return inst;
  }
  return nullptr;
}

bool ReadVariable(CLanguage& lang, CVariableContext& ctx, int32_t owner, int32_t id, int64_t index,
                  RValue& out) {
  switch (owner) {
    case kOwnerLocal:
      return ctx.locals && ctx.locals->GetValue(id, index, out, lang.uninitialised_as_zero);
    case kOwnerUnqualified:
      if (lang.globals.IsDeclaredGlobal(id))
        return lang.globals.Get(id, index, out, lang.uninitialised_as_zero);
      return ReadInstanceVariable(lang, ctx.self, id, index, out);
    case kOwnerGlobal:
      return lang.globals.Get(id, index, out, lang.uninitialised_as_zero);
    case kOwnerNoone:
      return false;
    case kOwnerAll: {
      CInstanceCore* inst = FirstLiveInstance(lang, owner);
      return inst && ReadInstanceVariable(lang, inst, id, index, out);
    }
    case kOwnerOther:
      return ReadInstanceVariable(lang, ctx.other, id, index, out);
    case kOwnerSelf:
      return ReadInstanceVariable(lang, ctx.self, id, index, out);
    default:
      break;
  }
  if (owner < 0) return false;
  CInstanceCore* inst;
  if (owner < kFirstInstanceId) {
    inst = FirstLiveInstance(lang, owner);
  } else {
    inst = FindInstanceById(lang, owner);
    if (inst && inst->marked) inst = nullptr;
  }
  return inst && ReadInstanceVariable(lang, inst, id, index, out);
}

bool WriteVariable(CLanguage& lang, CVariableContext& ctx, int32_t owner, int32_t id, int64_t index,
                   const RValue& v) {
  switch (owner) {
    case kOwnerLocal:
      if (!ctx.locals) ctx.locals = lang.AcquireLocals();
      ctx.locals->SetValue(id, index, v);
      return true;
    case kOwnerUnqualified:
      if (lang.globals.IsDeclaredGlobal(id)) {
        lang.globals.Set(id, index, v);
        return true;
      }
      return WriteInstanceVariable(lang, ctx.self, id, index, v);
    case kOwnerGlobal:
      lang.globals.Set(id, index, v);
      return true;
    case kOwnerNoone:
      return false;
    case kOwnerOther:
      return WriteInstanceVariable(lang, ctx.other, id, index, v);
    case kOwnerSelf:
      return WriteInstanceVariable(lang, ctx.self, id, index, v);
    case kOwnerAll:
      break;
    default:
      if (owner < 0) return false;
      break;
  }
  CInstanceWorld* w = lang.world;
  if (owner >= kFirstInstanceId) {
    CInstanceCore* inst = FindInstanceById(lang, owner);
    if (!inst || inst->marked) return true;
    return WriteInstanceVariable(lang, inst, id, index, v);
  }
  if (!w) return true;
  // Every live instance of the active list or of the object's family, in list order; the
  // result is that of the last one written.
  bool all = owner == kOwnerAll;
  int n = all ? w->ActiveCount() : w->FamilyCount(owner);
  bool ok = true;
  for (int i = 0; i < n; ++i) {
    CInstanceCore* inst = all ? w->Active(i) : w->Family(owner, i);
    if (inst->marked) continue;
    ok = WriteInstanceVariable(lang, inst, id, index, v);
  }
  return ok;
}

}  // namespace zorvex
