// scripts/NAME.gml.
#include "zorvex-build/Builder_Catalog.h"
#include "zorvex-build/Builder_Readers.h"
#include "zorvex-build/Builder_Text.h"

namespace zorvex {

bool ReadScriptFolder(CProject& project, std::string& error) {
  for (const CProjectEntry& entry : project.Entries(ProjectKind::kScript)) {
    auto script = std::make_unique<CScript>();
    std::string text;
    if (!ReadGameTextFile(entry.path, entry.display, text, error)) return false;
    script->source = WithCrLf(text);
    project.resources->scripts.Append(std::move(script), entry.name);
  }
  return true;
}

}  // namespace zorvex
