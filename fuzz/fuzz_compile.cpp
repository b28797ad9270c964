// Arbitrary text must compile or record an error: no crash, hang or unbounded growth.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "code/Code_Function.h"
#include "code/Code_Instance.h"
#include "code/Code_Language.h"
#include "code/Code_Lookup.h"
#include "code/Code_Main.h"

namespace {

using namespace zorvex;

void Nothing(CGame&, CInstanceCore*, CInstanceCore*, int, RValue*, RValue&) {}

// A few names of every sort the resolver distinguishes.
class FuzzLookup : public CLanguageLookup {
 public:
  int32_t FindResource(ResourceKind kind, std::string_view name) const override {
    if (kind == ResourceKind::kSprite && name == "spr") return 0;
    if (kind == ResourceKind::kObject && name == "obj") return 3;
    if (kind == ResourceKind::kScript && name == "scr") return 0;
    return -1;
  }
  int32_t ScriptCount() const override { return 1; }
  bool ScriptExists(int32_t i) const override { return i == 0; }
  std::string ScriptName(int32_t) const override { return "scr"; }
  CCode* ScriptCode(int32_t) override { return nullptr; }
  int32_t FindExtensionFunction(std::string_view name) const override {
    return name == "ext" ? 4 : -1;
  }
  int32_t ExtensionArgumentCount(int32_t id) const override { return id == 4 ? 2 : -100; }
  bool CallExtension(int32_t, CInstanceCore*, CInstanceCore*, int, RValue*, RValue&) override {
    return true;
  }
  std::unique_ptr<CInstanceCore> NewTemporaryInstance() override {
    return std::make_unique<CInstanceCore>();
  }
};

bool GetNothing(CGame&, CInstanceCore*, int32_t, RValue&) {
  return true;
}

void Check(CLanguage& lang, const std::string& text, bool expression) {
  CCode code(text, expression);
  bool ok = code.Compile(lang);
  // Success leaves no error; failure always records a message.
  if (ok == lang.error.recorded) std::abort();
  if (!ok && lang.error.message.empty()) std::abort();
  if (ok && code.SourceText() != text) std::abort();
  lang.error.recorded = false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  CFunctionTable table;
  table.Register("f", Nothing, -1);
  table.Register("g1", Nothing, 1);
  table.Register("g0", Nothing, 0);
  FuzzLookup lookup;
  CLanguage lang;  // fresh per input, so the name table cannot grow across inputs
  lang.functions = &table;
  lang.lookup = &lookup;
  lang.builtins.Register("x", GetNothing);
  std::string text(reinterpret_cast<const char*>(data), size);
  Check(lang, text, false);
  Check(lang, text, true);
  return 0;
}
