#include "resources/Object_Main.h"

namespace zorvex {

bool CObjectTable::ReadSection(CStream& s) {
  if (!ReadTable(s, kSectionVersion, [](CStream& in, CObject& o) { return o.ReadFrom(in); }))
    return false;
  if (!ParentsAcyclic()) {
    Clear();
    return false;
  }
  return true;
}

void CObjectTable::WriteSection(CStream& s) const {
  WriteTable(s, kSectionVersion, [](CStream& out, const CObject& o) { o.WriteTo(out); });
}

int32_t CObjectTable::AddObject() {
  return AppendNamed(std::make_unique<CObject>(), kNewName);
}

bool CObjectTable::ParentsAcyclic() const {
  // 0 not seen, 1 on the current walk, 2 known to end.
  std::vector<uint8_t> state(static_cast<size_t>(Count()), 0);
  for (int32_t start = 0; start < Count(); ++start) {
    int32_t id = start;
    while (Exists(id) && state[static_cast<size_t>(id)] == 0) {
      state[static_cast<size_t>(id)] = 1;
      id = Get(id)->parent_index;
    }
    if (Exists(id) && state[static_cast<size_t>(id)] == 1) return false;
    for (id = start; Exists(id) && state[static_cast<size_t>(id)] == 1; id = Get(id)->parent_index)
      state[static_cast<size_t>(id)] = 2;
  }
  return true;
}

bool CObjectTable::IsDescendantOf(int32_t object, int32_t ancestor) const {
  const CObject* o = Get(object);
  // The chain is acyclic, but a bound keeps a walk finite whatever run-time code did.
  for (int32_t steps = 0; o && steps <= Count(); ++steps) {
    int32_t parent = o->parent_index;
    if (parent == ancestor && Exists(parent)) return true;
    o = Get(parent);
  }
  return false;
}

bool CObjectTable::HasEventsOfType(int32_t object, int32_t type) const {
  const CObject* o = Get(object);
  for (int32_t steps = 0; o && steps <= Count(); ++steps) {
    if (o->HasOwnEventsOfType(type)) return true;
    o = Get(o->parent_index);
  }
  return false;
}

bool CObjectTable::WouldCycle(int32_t object, int32_t parent) const {
  return parent == object || IsDescendantOf(parent, object);
}

void CObjectTable::ResolveFunctions(const FunctionResolver& find,
                                    std::vector<std::string>& missing) {
  for (int32_t id = 0; id < Count(); ++id)
    if (CObject* o = Get(id)) o->ResolveFunctions(find, missing);
}

}  // namespace zorvex
