// The language's view of the game's resources, scripts and extension functions.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "code/Code_Lookup.h"
#include "code/Code_NameMap.h"

namespace zorvex {

class CGame;

class CGameLookup final : public CLanguageLookup {
 public:
  explicit CGameLookup(CGame& game) : game_(game) {}
  ~CGameLookup() override;

  int32_t FindResource(ResourceKind kind, std::string_view name) const override;
  int32_t ScriptCount() const override;
  bool ScriptExists(int32_t index) const override;
  std::string ScriptName(int32_t index) const override;
  CCode* ScriptCode(int32_t index) override;
  int32_t FindExtensionFunction(std::string_view name) const override;
  int32_t ExtensionArgumentCount(int32_t id) const override;
  bool CallExtension(int32_t id, CInstanceCore* self, CInstanceCore* other, int argc,
                     RValue* args, RValue& result) override;
  std::unique_ptr<CInstanceCore> NewTemporaryInstance() override;

  // Extension functions are called through this once extension packages can run them; until
  // then a call fails with a message naming the function.
  using ExtensionCaller = bool (*)(CGame& game, int32_t id, CInstanceCore* self,
                                   CInstanceCore* other, int argc, RValue* args, RValue& result);
  ExtensionCaller call_extension = nullptr;

 private:
  // Names of one resource kind by their lowest id, made again when the table grows (names
  // only come with new slots; a deleted slot is caught when its hit is checked).
  struct NameIndex {
    int32_t count = -1;
    NameMap<int32_t> ids;
  };

  CGame& game_;
  mutable std::array<NameIndex, 9> names_;
  std::vector<std::unique_ptr<CCode>> scripts_;  // made from the scripts' texts when first asked
};

}  // namespace zorvex
