// The script table operations that code needs: find a script by name, name a script, compile
// all scripts at load time. The table itself is the game's, reached through CLanguageLookup.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zorvex {

class CLanguage;

// Index of the first existing script of that name, or -1.
int32_t FindScript(const CLanguage& lang, std::string_view name);
// The name of a script, "<undefined>" for an index without a script.
std::string ScriptName(const CLanguage& lang, int32_t index);
// Compiles every existing script in index order; the first failure is delivered as the fatal
// error "COMPILATION ERROR in Script: " + name + CR + the recorded message, and fails.
bool CompileScripts(CLanguage& lang);

}  // namespace zorvex
