#include "code/Script_Main.h"

#include "code/Code_Error.h"
#include "code/Code_Language.h"
#include "code/Code_Lookup.h"
#include "code/Code_Main.h"

namespace zorvex {

int32_t FindScript(const CLanguage& lang, std::string_view name) {
  return lang.lookup ? lang.lookup->FindResource(ResourceKind::kScript, name) : -1;
}

std::string ScriptName(const CLanguage& lang, int32_t index) {
  if (!lang.lookup || !lang.lookup->ScriptExists(index)) return "<undefined>";
  return lang.lookup->ScriptName(index);
}

bool CompileScripts(CLanguage& lang) {
  if (!lang.lookup) return true;
  int32_t n = lang.lookup->ScriptCount();
  for (int32_t i = 0; i < n; ++i) {
    if (!lang.lookup->ScriptExists(i)) continue;
    CCode* code = lang.lookup->ScriptCode(i);
    if (!code || code->Compiled()) continue;
    if (!code->Compile(lang)) {
      std::string m =
          "COMPILATION ERROR in Script: " + lang.lookup->ScriptName(i) + "\r" + lang.error.message;
      if (lang.errors) lang.errors->Deliver(m, true);
      return false;
    }
  }
  return true;
}

}  // namespace zorvex
