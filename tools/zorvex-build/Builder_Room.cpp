// rooms/NAME.json: size, speed, caption, colour, background layers, views, instances, tiles and
// creation code. Instances are numbered from 100001 and tiles from 10000001, room by room in
// room order of index, in the order they are written.
#include "zorvex-build/Builder_Catalog.h"
#include "zorvex-build/Builder_Readers.h"

namespace zorvex {

namespace {

constexpr int32_t kFirstInstanceId = 100001;
constexpr int32_t kFirstTileId = 10000001;
// Where tiles lie unless a room says otherwise: behind the instances.
constexpr int32_t kDefaultTileDepth = 1000000;

struct RoomReader {
  const CProject& project;
  const CProjectEntry& entry;
  std::string& error;
  int32_t& next_instance;
  int32_t& next_tile;

  // Each element of an array field as its own object of fields.
  template <class ReadOne>
  bool EachObject(CJsonFields& f, const char* field, size_t max, ReadOne&& read) {
    if (!f.Has(field)) return true;
    const Json& list = f.object().at(field);
    if (!list.is_array()) return f.Fail(field, "expected a list");
    if (list.size() > max) return f.Fail(field, "at most " + std::to_string(max) + " entries");
    for (size_t i = 0; i < list.size(); ++i) {
      const std::string at = std::string(field) + "[" + std::to_string(i) + "]";
      if (list[i].is_null()) continue;  // keeps this entry's defaults
      if (!list[i].is_object()) return f.Fail(at, "expected an object");
      CJsonFields item(list[i], entry.display, at, error);
      if (!read(item, i)) return false;
    }
    return true;
  }

  bool Layer(CJsonFields& f, CBack& b) {
    int32_t x = 0, y = 0, hspeed = 0, vspeed = 0;
    b.visible = true;
    if (!f.OnlyKnown({"background", "visible", "foreground", "x", "y", "htiled", "vtiled", "hspeed",
                      "vspeed", "stretch"}) ||
        !ResolveName(project, f, "background", ProjectKind::kBackground, b.index) ||
        !f.Bool("visible", b.visible) || !f.Bool("foreground", b.foreground) || !f.Int("x", x) ||
        !f.Int("y", y) || !f.Bool("htiled", b.htiled) || !f.Bool("vtiled", b.vtiled) ||
        !f.Int("hspeed", hspeed) || !f.Int("vspeed", vspeed) || !f.Bool("stretch", b.stretch))
      return false;
    b.x = x, b.y = y, b.hspeed = hspeed, b.vspeed = vspeed;
    return true;
  }

  bool View(CJsonFields& f, CView& v) {
    v.visible = true;
    return f.OnlyKnown({"visible", "xview", "yview", "wview", "hview", "xport", "yport", "wport",
                        "hport", "hborder", "vborder", "hspeed", "vspeed", "follow"}) &&
           f.Bool("visible", v.visible) && f.Int("xview", v.xview) && f.Int("yview", v.yview) &&
           f.IntIn("wview", v.wview, 1, INT32_MAX) && f.IntIn("hview", v.hview, 1, INT32_MAX) &&
           f.Int("xport", v.xport) && f.Int("yport", v.yport) &&
           f.IntIn("wport", v.wport, 1, INT32_MAX) && f.IntIn("hport", v.hport, 1, INT32_MAX) &&
           f.Int("hborder", v.hborder) && f.Int("vborder", v.vborder) &&
           f.Int("hspeed", v.hspeed) && f.Int("vspeed", v.vspeed) &&
           ResolveName(project, f, "follow", ProjectKind::kObject, v.object);
  }

  bool Instance(CJsonFields& f, CRoom& room) {
    CRoomInstance inst;
    if (!f.OnlyKnown({"object", "x", "y", "creation_code"})) return false;
    if (!f.Has("object")) return f.Fail("object", "every instance names its object");
    if (!ResolveName(project, f, "object", ProjectKind::kObject, inst.object)) return false;
    if (inst.object < 0) return f.Fail("object", "every instance names its object");
    if (!f.Int("x", inst.x) || !f.Int("y", inst.y) ||
        !CodeField(f, "creation_code", entry.path.parent_path(), DisplayFolder(entry),
                   inst.creation_code))
      return false;
    inst.id = next_instance++;
    room.instances.push_back(std::move(inst));
    return true;
  }

  bool Tile(CJsonFields& f, CRoom& room) {
    CTile t;
    int32_t x = 0, y = 0, depth = kDefaultTileDepth;
    if (!f.OnlyKnown({"background", "x", "y", "left", "top", "width", "height", "depth"}))
      return false;
    if (!f.Has("background")) return f.Fail("background", "every tile names its background");
    if (!ResolveName(project, f, "background", ProjectKind::kBackground, t.background))
      return false;
    if (t.background < 0) return f.Fail("background", "every tile names its background");
    const CBackground* back = project.resources->backgrounds.Get(t.background);
    if (!f.Int("x", x) || !f.Int("y", y) || !f.IntIn("left", t.left, 0, back->width - 1) ||
        !f.IntIn("top", t.top, 0, back->height - 1))
      return false;
    // Without a size the tile takes the rest of the background from its corner.
    t.width = back->width - t.left;
    t.height = back->height - t.top;
    if (!f.IntIn("width", t.width, 1, back->width - t.left) ||
        !f.IntIn("height", t.height, 1, back->height - t.top) || !f.Int("depth", depth))
      return false;
    t.x = x, t.y = y, t.depth = depth;
    t.id = next_tile++;
    room.tiles.push_back(t);
    return true;
  }

  bool Read(CRoom& room) {
    Json j;
    if (!LoadEntryJson(entry.path, entry.display, false, j, error)) return false;
    CJsonFields f(j, entry.display, "", error);
    if (!f.OnlyKnown({"width", "height", "speed", "caption", "color", "show_color", "persistent",
                      "creation_code", "backgrounds", "views_enabled", "views", "instances",
                      "tiles"}) ||
        !f.IntIn("width", room.width, 1, INT32_MAX) ||
        !f.IntIn("height", room.height, 1, INT32_MAX) || !f.IntIn("speed", room.speed, 1, 9999) ||
        !f.Text("caption", room.caption) || !f.Color("color", room.background_color) ||
        !f.Bool("show_color", room.background_showcolor) ||
        !f.Bool("persistent", room.persistent) ||
        !CodeField(f, "creation_code", entry.path.parent_path(), DisplayFolder(entry),
                   room.creation_code) ||
        !f.Bool("views_enabled", room.views_enabled))
      return false;
    return EachObject(
               f, "backgrounds", kRoomLayerCount,
               [&](CJsonFields& item, size_t i) { return Layer(item, room.backgrounds[i]); }) &&
           EachObject(f, "views", kRoomViewCount,
                      [&](CJsonFields& item, size_t i) { return View(item, room.views[i]); }) &&
           EachObject(f, "instances", SIZE_MAX,
                      [&](CJsonFields& item, size_t) { return Instance(item, room); }) &&
           EachObject(f, "tiles", SIZE_MAX,
                      [&](CJsonFields& item, size_t) { return Tile(item, room); });
  }
};

}  // namespace

bool ReadRoomFolder(CProject& project, std::string& error) {
  int32_t next_instance = kFirstInstanceId, next_tile = kFirstTileId;
  for (const CProjectEntry& entry : project.Entries(ProjectKind::kRoom)) {
    auto room = std::make_unique<CRoom>();
    RoomReader reader{project, entry, error, next_instance, next_tile};
    if (!reader.Read(*room)) return false;
    project.resources->rooms.Append(std::move(room), entry.name);
  }
  project.resources->rooms.last_instance_id = next_instance - 1;
  project.resources->rooms.last_tile_id = next_tile - 1;
  return true;
}

}  // namespace zorvex
