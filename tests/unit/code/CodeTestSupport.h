// Test doubles for the language's views of the game: resources, scripts and extension
// functions (CLanguageLookup) and the room's instance lists (CInstanceWorld).
#pragma once

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "code/Code_Instance.h"
#include "code/Code_Language.h"
#include "code/Code_Lookup.h"
#include "code/Code_Main.h"

namespace zorvex::testing {

class TestLookup : public CLanguageLookup {
 public:
  struct Script {
    std::string name;
    std::unique_ptr<CCode> code;  // null for an empty slot
  };
  struct Extension {
    std::string name;
    int32_t argc = -1;
  };

  std::map<ResourceKind, std::vector<std::string>> resources;  // "" is an empty slot
  std::vector<Script> scripts;
  std::map<int32_t, Extension> extensions;  // by id, searched in id order
  int extension_calls = 0;

  void AddScript(const std::string& name, const std::string& source) {
    scripts.push_back({name, std::make_unique<CCode>(source, false)});
    resources[ResourceKind::kScript].push_back(name);
  }
  void AddEmptyScriptSlot() {
    scripts.push_back({"", nullptr});
    resources[ResourceKind::kScript].push_back("");
  }

  int32_t FindResource(ResourceKind kind, std::string_view name) const override {
    auto it = resources.find(kind);
    if (it == resources.end()) return -1;
    for (size_t i = 0; i < it->second.size(); ++i)
      if (!it->second[i].empty() && it->second[i] == name) return static_cast<int32_t>(i);
    return -1;
  }
  int32_t ScriptCount() const override { return static_cast<int32_t>(scripts.size()); }
  bool ScriptExists(int32_t i) const override {
    return i >= 0 && i < ScriptCount() && scripts[static_cast<size_t>(i)].code != nullptr;
  }
  std::string ScriptName(int32_t i) const override { return scripts[static_cast<size_t>(i)].name; }
  CCode* ScriptCode(int32_t i) override {
    return ScriptExists(i) ? scripts[static_cast<size_t>(i)].code.get() : nullptr;
  }
  int32_t FindExtensionFunction(std::string_view name) const override {
    for (const auto& [id, e] : extensions)
      if (e.name == name) return id;
    return -1;
  }
  int32_t ExtensionArgumentCount(int32_t id) const override {
    auto it = extensions.find(id);
    return it == extensions.end() ? -100 : it->second.argc;
  }
  // The double's extension functions return the sum of their real arguments plus 1000 * id.
  bool CallExtension(int32_t id, CInstanceCore*, CInstanceCore*, int argc, RValue* args,
                     RValue& result) override {
    ++extension_calls;
    double s = 1000.0 * id;
    for (int i = 0; i < argc; ++i)
      s += args[i].real;
    result.SetReal(s);
    return true;
  }
  std::unique_ptr<CInstanceCore> NewTemporaryInstance() override {
    return std::make_unique<CInstanceCore>();
  }
};

// Instances in creation order; each object's family list holds the live-list instances of the
// object and of its descendants, in active-list order.
class TestWorld : public CInstanceWorld {
 public:
  std::vector<std::unique_ptr<CInstanceCore>> active;
  std::map<int32_t, int32_t> parent;  // object -> parent object

  CInstanceCore* Add(int32_t id, int32_t object_index) {
    auto inst = std::make_unique<CInstanceCore>();
    inst->id = id;
    inst->object_index = object_index;
    active.push_back(std::move(inst));
    return active.back().get();
  }

  int ActiveCount() const override { return static_cast<int>(active.size()); }
  CInstanceCore* Active(int i) const override { return active[static_cast<size_t>(i)].get(); }
  int FamilyCount(int32_t object_index) const override {
    return static_cast<int>(FamilyOf(object_index).size());
  }
  CInstanceCore* Family(int32_t object_index, int i) const override {
    return FamilyOf(object_index)[static_cast<size_t>(i)];
  }
  CInstanceCore* FindById(int32_t id) override {
    for (auto& i : active)
      if (i->id == id) return i.get();
    return nullptr;
  }

 private:
  bool Descends(int32_t object, int32_t ancestor) const {
    for (int guard = 0; guard < 100; ++guard) {
      if (object == ancestor) return true;
      auto it = parent.find(object);
      if (it == parent.end()) return false;
      object = it->second;
    }
    return false;
  }
  std::vector<CInstanceCore*> FamilyOf(int32_t object_index) const {
    std::vector<CInstanceCore*> r;
    for (auto& i : active)
      if (Descends(i->object_index, object_index)) r.push_back(i.get());
    return r;
  }
};

// The text of a program error as the language composes it.
inline std::string ProgramError(int line, const std::string& line_text, int column,
                                const std::string& message) {
  return "Error in code at line " + std::to_string(line) + ":\r   " + line_text +
         "\r\rat position " + std::to_string(column) + ": " + message;
}

inline std::string ExpressionError(const std::string& source, int column,
                                   const std::string& message) {
  return "Error in expression:" + source + "\r position " + std::to_string(column) + ": " + message;
}

// Compiles a program (or an expression); returns "" on success, else the recorded message.
inline std::string CompileMessage(CLanguage& lang, const std::string& source,
                                  bool expression = false) {
  CCode code(source, expression);
  if (code.Compile(lang)) return "";
  return lang.error.message;
}

}  // namespace zorvex::testing
