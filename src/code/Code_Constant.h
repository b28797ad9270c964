// Named constants: the built-in ones, those of extension packages and the game's own, and the
// lookup that also turns resource names into their indices.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "code/Code_NameMap.h"
#include "code/RValue.h"

namespace zorvex {

class CLanguage;

constexpr int32_t kBuiltinConstantCount = 288;

class CConstantTable {
 public:
  void Add(std::string_view name, const RValue& value);
  // The latest definition of the name, or null.
  const RValue* Find(std::string_view name) const;
  int32_t Count() const { return static_cast<int32_t>(entries_.size()); }
  const std::pair<std::string, RValue>& At(int32_t i) const {
    return entries_[static_cast<size_t>(i)];
  }

 private:
  std::vector<std::pair<std::string, RValue>> entries_;  // definition order
  NameMap<int32_t> latest_;                              // name -> last entry of that name
};

// The 288 built-in constants, in their family order.
void AddBuiltinConstants(CConstantTable& table);

// Resource names first (objects, sprites, sounds, backgrounds, paths, fonts, time lines,
// scripts, rooms), then the constant table from its latest definition back.
bool FindConstant(const CLanguage& lang, std::string_view name, RValue& out);

// Defines one constant from the text of its name and of its value expression, as the game's
// constants and those of extension packages are: the name is trimmed and checked, the value
// compiled and evaluated with a temporary instance. Shows "Constant name ... is not valid." or
// "Value for constant ... is not valid." through the language's message hook and returns false
// on failure.
bool DefineConstant(CLanguage& lang, std::string_view name_text, std::string_view value_text);
// The load step: every game constant in settings order; stops at the first failure.
bool DefineGameConstants(CLanguage& lang, const std::vector<std::string>& names,
                         const std::vector<std::string>& values);

}  // namespace zorvex
