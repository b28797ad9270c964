// The table of all objects by id, as read from the object section.
#pragma once

#include "resources/Object_Class.h"
#include "resources/Resource_Table.h"

namespace zorvex {

class CObjectTable : public CResourceTable<CObject> {
 public:
  static constexpr int32_t kSectionVersion = 400;
  static constexpr std::string_view kNewName = "__newobject";

  // Also false when the parents of the stored objects form a cycle: every walk up the parents
  // (inherited events, descendants) must end.
  bool ReadSection(CStream& s);
  void WriteSection(CStream& s) const;

  // An empty object in a new slot.
  int32_t AddObject();
  // Whether `ancestor` occurs in the parent chain of `object` (the object itself does not count).
  bool IsDescendantOf(int32_t object, int32_t ancestor) const;
  // Whether the object, or failing that one of its ancestors, has an event of the type with
  // actions.
  bool HasEventsOfType(int32_t object, int32_t type) const;
  // Whether setting object's parent to `parent` would close a cycle.
  bool WouldCycle(int32_t object, int32_t parent) const;
  // Resolves the function names of every action; see CEvent::ResolveFunctions.
  void ResolveFunctions(const FunctionResolver& find, std::vector<std::string>& missing);

 private:
  bool ParentsAcyclic() const;
};

}  // namespace zorvex
