// The built-in function table. Built-ins are numbered by table position; scripts are
// 100000 + index and extension functions 500000 + index in the same id space.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "code/Code_NameMap.h"
#include "code/RValue.h"

namespace zorvex {

class CGame;
class CLanguage;
struct CInstanceCore;

constexpr int32_t kScriptIdBase = 100000;
constexpr int32_t kExtensionIdBase = 500000;
constexpr int32_t kAnyArgumentCount = -1;
constexpr int32_t kNoSuchFunction = -100;
constexpr int kMaxArguments = 16;
constexpr size_t kMaxFunctionNameLength = 64;

// A handler gets the argument array of which the first argc entries are set, and a result
// preset to real 0. It reports misuse through the error path and returns normally.
using BuiltinHandler = void (*)(CGame& game, CInstanceCore* self, CInstanceCore* other, int argc,
                                RValue* args, RValue& result);

struct FunctionEntry {
  std::string name;
  BuiltinHandler handler = nullptr;
  int32_t argc = 0;  // 0..16, or -1 for any count up to 16
};

class CFunctionTable {
 public:
  // Appends an entry; its position is its id. Names longer than 64 characters are cut.
  int32_t Register(std::string_view name, BuiltinHandler handler, int32_t argc);
  // The first built-in of that name, or -1.
  int32_t Find(std::string_view name) const;
  const FunctionEntry* Entry(int32_t id) const {
    return id >= 0 && id < Count() ? &entries_[static_cast<size_t>(id)] : nullptr;
  }
  int32_t Count() const { return static_cast<int32_t>(entries_.size()); }

 private:
  std::vector<FunctionEntry> entries_;
  NameMap<int32_t> by_name_;
};

// The id of a name in the one id space: the first script of that name (100000 + index), else
// the extension function (500000 + id), else the first built-in. False when none has it.
bool FindFunction(const CLanguage& lang, std::string_view name, int32_t& id);
// The declared argument count of a function id: -1 (any) for scripts, the extension function's
// or built-in's count, -100 for an id that names nothing.
int32_t ArgumentCountOfId(const CLanguage& lang, int32_t id);

}  // namespace zorvex
