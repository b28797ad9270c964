// Variable names and ids, and the resolution of a variable reference (owner value, id, combined
// index) to storage: instance variables, built-in variables, globals and locals.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "code/Code_NameMap.h"
#include "code/RValue.h"

namespace zorvex {

class CLanguage;
class CVariableList;
struct CInstanceCore;

// Owner values of variable references and `with`.
constexpr int32_t kOwnerSelf = -1;
constexpr int32_t kOwnerOther = -2;
constexpr int32_t kOwnerAll = -3;
constexpr int32_t kOwnerNoone = -4;
constexpr int32_t kOwnerGlobal = -5;
constexpr int32_t kOwnerUnqualified = -6;
constexpr int32_t kOwnerLocal = -7;
constexpr int32_t kFirstInstanceId = 100000;

// User variable names: ids from 100000 in order of first appearance; names only grow.
class CVariableNames {
 public:
  int32_t FindOrAdd(std::string_view name);
  // The id of a name already seen, or -1.
  int32_t Find(std::string_view name) const;
  // The name of a user id, or null.
  const std::string* Name(int32_t id) const;
  int32_t Count() const { return static_cast<int32_t>(names_.size()); }

 private:
  std::vector<std::string> names_;
  NameMap<int32_t> ids_;
};

// Built-in variables first, then user names (an unknown name is added, so this never fails).
int32_t ResolveVariableName(CLanguage& lang, std::string_view name);
// The name used in error messages: "<unknown built-in variable>" / "<unknown variable>" when
// the id names nothing.
std::string VariableName(const CLanguage& lang, int32_t id);

// An instance's variable; ids up to 9999 go to the built-in table (a read-only one fails the
// write).
bool ReadInstanceVariable(CLanguage& lang, CInstanceCore* inst, int32_t id, int64_t index,
                          RValue& out);
bool WriteInstanceVariable(CLanguage& lang, CInstanceCore* inst, int32_t id, int64_t index,
                           const RValue& v);

// The instances and local list a reference is resolved against. The local list is made on the
// first write through owner -7 and handed back to the language by the execution that owns it.
struct CVariableContext {
  CInstanceCore* self = nullptr;
  CInstanceCore* other = nullptr;
  CVariableList* locals = nullptr;
};

bool ReadVariable(CLanguage& lang, CVariableContext& ctx, int32_t owner, int32_t id, int64_t index,
                  RValue& out);
bool WriteVariable(CLanguage& lang, CVariableContext& ctx, int32_t owner, int32_t id, int64_t index,
                   const RValue& v);

// The active instance with that id, marked or not, through the instance id cache; null when
// there is none (or no room).
CInstanceCore* FindInstanceById(CLanguage& lang, int32_t id);
// The first instance of the active list (owner -3) or of an object's family list that is not
// marked; null when there is none.
CInstanceCore* FirstLiveInstance(CLanguage& lang, int32_t owner);

}  // namespace zorvex
