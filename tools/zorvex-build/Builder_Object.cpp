// objects/NAME.json: sprite, flags, depth, parent, mask and the events with their actions.
#include <map>

#include "zorvex-build/Builder_Catalog.h"
#include "zorvex-build/Builder_Events.h"
#include "zorvex-build/Builder_Readers.h"

namespace zorvex {

namespace {

bool ReadEvents(const CProject& project, const CProjectEntry& entry, CJsonFields& f,
                CObject& object, std::string& error) {
  if (!f.Has("events")) return true;
  const Json& events = f.object().at("events");
  if (!events.is_object()) return f.Fail("events", "expected an object of \"event\": actions");
  const CActionSource source{project, entry.path.parent_path(), DisplayFolder(entry),
                             entry.display};
  std::map<std::pair<int32_t, int32_t>, std::string> seen;
  for (auto it = events.begin(); it != events.end(); ++it) {
    const std::string field = "events." + it.key();
    int32_t type, number;
    std::string why;
    if (!ParseEventKey(project, it.key(), type, number, why)) return f.Fail(field, why);
    auto [at, fresh] = seen.emplace(std::make_pair(type, number), field);
    if (!fresh) return f.Fail(field, "the same event as \"" + at->second + "\"");
    CEvent* event = object.EventAt(type, number);
    if (!ReadEventActions(source, it.value(), field, *event, error)) return false;
  }
  return true;
}

bool ReadObject(const CProject& project, const CProjectEntry& entry, int32_t self, CObject& object,
                std::string& error) {
  Json j;
  if (!LoadEntryJson(entry.path, entry.display, false, j, error)) return false;
  CJsonFields f(j, entry.display, "", error);
  if (!f.OnlyKnown(
          {"sprite", "solid", "visible", "depth", "persistent", "parent", "mask", "events"}) ||
      !ResolveName(project, f, "sprite", ProjectKind::kSprite, object.sprite_index) ||
      !f.Bool("solid", object.solid) || !f.Bool("visible", object.visible) ||
      !f.Int("depth", object.depth) || !f.Bool("persistent", object.persistent) ||
      !ResolveName(project, f, "parent", ProjectKind::kObject, object.parent_index) ||
      !ResolveName(project, f, "mask", ProjectKind::kSprite, object.mask_index))
    return false;
  if (object.parent_index == self) return f.Fail("parent", "an object cannot be its own parent");
  return ReadEvents(project, entry, f, object, error);
}

// Every walk up the parents must end; the first object on a cycle names it.
bool CheckParents(const CProject& project, std::string& error) {
  const CObjectTable& objects = project.resources->objects;
  const auto& entries = project.Entries(ProjectKind::kObject);
  for (int32_t id = 0; id < objects.Count(); ++id) {
    if (!objects.IsDescendantOf(id, id)) continue;
    std::string chain = entries[static_cast<size_t>(id)].name;
    int32_t at = objects.Get(id)->parent_index;
    for (int32_t n = 0; n <= objects.Count() && at >= 0; ++n) {
      chain += " -> " + entries[static_cast<size_t>(at)].name;
      if (at == id) break;
      at = objects.Get(at)->parent_index;
    }
    error = entries[static_cast<size_t>(id)].display +
            ": field \"parent\": the parents form a cycle (" + chain + ")";
    return false;
  }
  return true;
}

}  // namespace

bool ReadObjectFolder(CProject& project, std::string& error) {
  const auto& entries = project.Entries(ProjectKind::kObject);
  for (size_t i = 0; i < entries.size(); ++i) {
    auto object = std::make_unique<CObject>();
    if (!ReadObject(project, entries[i], static_cast<int32_t>(i), *object, error)) return false;
    project.resources->objects.Append(std::move(object), entries[i].name);
  }
  return CheckParents(project, error);
}

}  // namespace zorvex
