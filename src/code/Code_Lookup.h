// What the language needs to know about the game's resources, scripts and extension functions.
// The game implements it over its resource tables and extension packages and hands it to
// CLanguage::lookup; the language never sees the tables themselves.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "code/RValue.h"

namespace zorvex {

class CCode;
struct CInstanceCore;

// The kinds whose names are constants, in the order in which names are looked up.
enum class ResourceKind : int32_t {
  kObject,
  kSprite,
  kSound,
  kBackground,
  kPath,
  kFont,
  kTimeLine,
  kScript,
  kRoom,
};
constexpr ResourceKind kConstantResourceOrder[] = {
    ResourceKind::kObject,     ResourceKind::kSprite, ResourceKind::kSound,
    ResourceKind::kBackground, ResourceKind::kPath,   ResourceKind::kFont,
    ResourceKind::kTimeLine,   ResourceKind::kScript, ResourceKind::kRoom};

class CLanguageLookup {
 public:
  virtual ~CLanguageLookup() = default;

  // The index of the first existing resource of that kind named exactly `name`, or -1.
  virtual int32_t FindResource(ResourceKind kind, std::string_view name) const = 0;

  // Scripts by index 0 .. ScriptCount() - 1; a slot may be empty.
  virtual int32_t ScriptCount() const = 0;
  virtual bool ScriptExists(int32_t index) const = 0;
  virtual std::string ScriptName(int32_t index) const = 0;
  // The program of an existing script (made from its source text, compiled by CompileScripts);
  // null for an empty slot.
  virtual CCode* ScriptCode(int32_t index) = 0;

  // Extension functions by id (function id 500000 + id): find by name (-1 when none), the
  // declared argument count (-1 any, -100 when there is no such function) and the call, which
  // on failure has recorded its message as the code error and returns false.
  virtual int32_t FindExtensionFunction(std::string_view name) const = 0;
  virtual int32_t ExtensionArgumentCount(int32_t id) const = 0;
  virtual bool CallExtension(int32_t id, CInstanceCore* self, CInstanceCore* other, int argc,
                             RValue* args, RValue& result) = 0;

  // A temporary instance (id 0, object 0, at 0, 0) for evaluating constant definitions.
  virtual std::unique_ptr<CInstanceCore> NewTemporaryInstance() = 0;
};

}  // namespace zorvex
