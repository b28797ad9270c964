#include "game/Game_Lookup.h"

#include "code/Code_Function.h"
#include "code/Code_Main.h"
#include "game/Game.h"
#include "run/Run_Main.h"

namespace zorvex {

namespace {

template <class Table>
void IndexNames(const Table& table, NameMap<int32_t>& ids) {
  ids.clear();
  for (int32_t i = table.Count() - 1; i >= 0; --i)
    if (table.Exists(i)) ids[table.Name(i)] = i;  // from the top, so the lowest id stays
}

template <class Table>
int32_t FindIn(const Table& table, std::string_view name, NameMap<int32_t>& ids, int32_t& count) {
  for (int attempt = 0; attempt < 2; ++attempt) {
    if (count != table.Count()) {
      IndexNames(table, ids);
      count = table.Count();
    }
    auto it = ids.find(name);
    if (it == ids.end()) return -1;
    if (table.Exists(it->second) && table.Name(it->second) == name) return it->second;
    count = -1;  // a deleted slot: look again with fresh names
  }
  return table.Find(name);
}

}  // namespace

CGameLookup::~CGameLookup() = default;

int32_t CGameLookup::FindResource(ResourceKind kind, std::string_view name) const {
  const CResources& r = game_.resources;
  NameIndex& n = names_[static_cast<size_t>(kind)];
  switch (kind) {
    case ResourceKind::kObject:
      return FindIn(r.objects, name, n.ids, n.count);
    case ResourceKind::kSprite:
      return FindIn(r.sprites, name, n.ids, n.count);
    case ResourceKind::kSound:
      return FindIn(r.sounds, name, n.ids, n.count);
    case ResourceKind::kBackground:
      return FindIn(r.backgrounds, name, n.ids, n.count);
    case ResourceKind::kPath:
      return FindIn(r.paths, name, n.ids, n.count);
    case ResourceKind::kFont:
      return FindIn(r.fonts, name, n.ids, n.count);
    case ResourceKind::kTimeLine:
      return FindIn(r.time_lines, name, n.ids, n.count);
    case ResourceKind::kScript:
      return FindIn(r.scripts, name, n.ids, n.count);
    case ResourceKind::kRoom:
      return FindIn(r.rooms, name, n.ids, n.count);
  }
  return -1;
}

int32_t CGameLookup::ScriptCount() const {
  return game_.resources.scripts.Count();
}

bool CGameLookup::ScriptExists(int32_t index) const {
  return game_.resources.scripts.Exists(index);
}

std::string CGameLookup::ScriptName(int32_t index) const {
  return game_.resources.scripts.Name(index);
}

CCode* CGameLookup::ScriptCode(int32_t index) {
  const CScript* s = game_.resources.scripts.Get(index);
  if (!s) return nullptr;
  const size_t i = static_cast<size_t>(index);
  if (scripts_.size() <= i) scripts_.resize(i + 1);
  if (!scripts_[i]) scripts_[i] = std::make_unique<CCode>(s->SourceText(), false);
  return scripts_[i].get();
}

int32_t CGameLookup::FindExtensionFunction(std::string_view name) const {
  return game_.resources.extensions.FindFunction(name);
}

int32_t CGameLookup::ExtensionArgumentCount(int32_t id) const {
  const CExtensionFunction* f = game_.resources.extensions.FunctionById(id);
  return f ? f->argument_count : kNoSuchFunction;
}

bool CGameLookup::CallExtension(int32_t id, CInstanceCore* self, CInstanceCore* other, int argc,
                                RValue* args, RValue& result) {
  if (call_extension) return call_extension(game_, id, self, other, argc, args, result);
  const CExtensionFunction* f = game_.resources.extensions.FunctionById(id);
  game_.language.error.recorded = true;
  game_.language.error.message =
      "Extension function " + (f ? f->name : std::to_string(id)) + " cannot be called.";
  return false;
}

std::unique_ptr<CInstanceCore> CGameLookup::NewTemporaryInstance() {
  return zorvex::NewTemporaryInstance(game_);
}

}  // namespace zorvex
