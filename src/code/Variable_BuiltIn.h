// The built-in variable table: names bound to a getter and, for writable ones, a setter. Their
// ids are table positions, below 10000, and are resolved before user variable names.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "code/Code_NameMap.h"
#include "code/RValue.h"

namespace zorvex {

class CGame;
struct CInstanceCore;

constexpr int32_t kMaxBuiltinVariables = 500;
constexpr int32_t kLastBuiltinVariableId = 9999;
constexpr size_t kMaxBuiltinVariableNameLength = 64;

// The instance is the one the variable is applied to (self, other, or chosen by an owner);
// game variables ignore it. `index` is the combined index (alarm[3] is 3, a plain name is 0).
// Both return success; a failed setter makes the assignment fail.
using BuiltinGetter = bool (*)(CGame& game, CInstanceCore* instance, int32_t index, RValue& out);
using BuiltinSetter = bool (*)(CGame& game, CInstanceCore* instance, int32_t index,
                               const RValue& value);

struct BuiltinVariableEntry {
  std::string name;
  BuiltinGetter getter = nullptr;
  BuiltinSetter setter = nullptr;
  bool writable = false;  // exactly when a setter exists
};

class CBuiltinVariableTable {
 public:
  // Shown when the table is full (wired by the game to a message box).
  std::function<void(const std::string& message)> show_message;

  // Appends an entry and returns its id; the 501st registration shows "INTERNAL ERROR: Adding
  // too many variables", adds nothing and returns -1. Names are cut to 64 characters.
  int32_t Register(std::string_view name, BuiltinGetter getter, BuiltinSetter setter = nullptr);
  // Position of the first entry of that name, or -1.
  int32_t Find(std::string_view name) const;
  const BuiltinVariableEntry* Entry(int32_t id) const {
    return id >= 0 && id < Count() ? &entries_[static_cast<size_t>(id)] : nullptr;
  }
  int32_t Count() const { return static_cast<int32_t>(entries_.size()); }

 private:
  std::vector<BuiltinVariableEntry> entries_;
  NameMap<int32_t> by_name_;
};

}  // namespace zorvex
