#include "resources/Room_Class.h"

#include <algorithm>

#include "resources/Background_Main.h"
#include "resources/Object_Main.h"
#include "resources/Resource_Read.h"

namespace zorvex {

namespace {

constexpr size_t kMinStoredInstanceBytes = 5 * 4;
constexpr size_t kStoredTileBytes = 9 * 4;

bool Covers(const CTile& t, double x, double y) {
  return t.x <= x && x < t.x + t.width && t.y <= y && y < t.y + t.height;
}

}  // namespace

void CRoom::Clear() {
  *this = CRoom();
}

bool CRoom::ReadFrom(CStream& s, const CBackgroundTable& bgs, const CObjectTable& objects) {
  Clear();
  if (s.ReadInt() != kRecordVersion) return false;
  caption = s.ReadString();
  width = s.ReadInt();
  height = s.ReadInt();
  speed = s.ReadInt();
  persistent = s.ReadBool();
  background_color = s.ReadInt();
  background_showcolor = s.ReadBool();
  creation_code = s.ReadString();

  int32_t count = s.ReadInt();
  if (count < 0 || count > kRoomLayerCount) return false;
  for (int32_t i = 0; i < count; ++i) {
    CBack& b = backgrounds[static_cast<size_t>(i)];
    b.visible = s.ReadBool();
    b.foreground = s.ReadBool();
    b.index = s.ReadInt();
    b.x = s.ReadInt();
    b.y = s.ReadInt();
    b.htiled = s.ReadBool();
    b.vtiled = s.ReadBool();
    b.hspeed = s.ReadInt();
    b.vspeed = s.ReadInt();
    b.stretch = s.ReadBool();
    if (const CBackground* bg = b.stretch ? bgs.Get(b.index) : nullptr) {
      if (bg->width > 0) b.xscale = static_cast<double>(width) / bg->width;
      if (bg->height > 0) b.yscale = static_cast<double>(height) / bg->height;
    }
  }

  views_enabled = s.ReadBool();
  count = s.ReadInt();
  if (count < 0 || count > kRoomViewCount) return false;
  for (int32_t i = 0; i < count; ++i) {
    CView& v = views[static_cast<size_t>(i)];
    v.visible = s.ReadBool();
    v.xview = s.ReadInt();
    v.yview = s.ReadInt();
    v.wview = s.ReadInt();
    v.hview = s.ReadInt();
    v.xport = s.ReadInt();
    v.yport = s.ReadInt();
    v.wport = s.ReadInt();
    v.hport = s.ReadInt();
    v.hborder = s.ReadInt();
    v.vborder = s.ReadInt();
    v.hspeed = s.ReadInt();
    v.vspeed = s.ReadInt();
    v.object = s.ReadInt();
  }

  if (!ReadCount(s, kMinStoredInstanceBytes, count)) return false;
  instances.reserve(static_cast<size_t>(count));
  for (int32_t i = 0; i < count; ++i) {
    CRoomInstance inst;
    inst.x = s.ReadInt();
    inst.y = s.ReadInt();
    inst.object = s.ReadInt();
    inst.id = s.ReadInt();
    inst.creation_code = s.ReadString();
    // An instance is made from its object's template; there is none to make it from.
    if (!objects.Exists(inst.object)) return false;
    instances.push_back(std::move(inst));
  }

  if (!ReadCount(s, kStoredTileBytes, count)) return false;
  tiles.reserve(static_cast<size_t>(count));
  for (int32_t i = 0; i < count; ++i) {
    CTile t;
    t.x = s.ReadInt();
    t.y = s.ReadInt();
    t.background = s.ReadInt();
    t.left = s.ReadInt();
    t.top = s.ReadInt();
    t.width = s.ReadInt();
    t.height = s.ReadInt();
    t.depth = s.ReadInt();
    t.id = s.ReadInt();
    tiles.push_back(t);
  }
  return true;
}

void CRoom::WriteTo(CStream& s) const {
  s.WriteInt(kRecordVersion);
  s.WriteString(caption);
  s.WriteInt(width);
  s.WriteInt(height);
  s.WriteInt(speed);
  s.WriteBool(persistent);
  s.WriteInt(background_color);
  s.WriteBool(background_showcolor);
  s.WriteString(creation_code);
  s.WriteInt(kRoomLayerCount);
  for (const CBack& b : backgrounds) {
    s.WriteBool(b.visible);
    s.WriteBool(b.foreground);
    s.WriteInt(b.index);
    s.WriteInt(StoredInt(b.x));
    s.WriteInt(StoredInt(b.y));
    s.WriteBool(b.htiled);
    s.WriteBool(b.vtiled);
    s.WriteInt(StoredInt(b.hspeed));
    s.WriteInt(StoredInt(b.vspeed));
    s.WriteBool(b.stretch);
  }
  s.WriteBool(views_enabled);
  s.WriteInt(kRoomViewCount);
  for (const CView& v : views) {
    s.WriteBool(v.visible);
    s.WriteInt(v.xview);
    s.WriteInt(v.yview);
    s.WriteInt(v.wview);
    s.WriteInt(v.hview);
    s.WriteInt(v.xport);
    s.WriteInt(v.yport);
    s.WriteInt(v.wport);
    s.WriteInt(v.hport);
    s.WriteInt(v.hborder);
    s.WriteInt(v.vborder);
    s.WriteInt(v.hspeed);
    s.WriteInt(v.vspeed);
    s.WriteInt(v.object);
  }
  s.WriteInt(static_cast<int32_t>(instances.size()));
  for (const CRoomInstance& i : instances) {
    s.WriteInt(i.x);
    s.WriteInt(i.y);
    s.WriteInt(i.object);
    s.WriteInt(i.id);
    s.WriteString(i.creation_code);
  }
  s.WriteInt(TileCount());
  for (const CTile& t : tiles) {
    s.WriteInt(StoredInt(t.x));
    s.WriteInt(StoredInt(t.y));
    s.WriteInt(t.background);
    s.WriteInt(t.left);
    s.WriteInt(t.top);
    s.WriteInt(t.width);
    s.WriteInt(t.height);
    s.WriteInt(StoredInt(t.depth));
    s.WriteInt(t.id);
  }
}

void CRoom::Assign(const CRoom& other) {
  if (&other == this) return;
  *this = other;
}

void CRoom::MoveBackgrounds() {
  for (CBack& b : backgrounds) {
    b.x += b.hspeed;
    b.y += b.vspeed;
  }
}

bool CRoom::TileAt(int32_t i, CTile& out) const {
  if (i < 0 || i >= TileCount()) return false;
  out = tiles[static_cast<size_t>(i)];
  return true;
}

void CRoom::SetTileAt(int32_t i, const CTile& tile) {
  if (i >= 0 && i < TileCount()) tiles[static_cast<size_t>(i)] = tile;
}

int32_t CRoom::AddTile(const CTile& tile, int32_t& last_tile_id) {
  tiles.push_back(tile);
  tiles.back().id = ++last_tile_id;
  tile_cache = TileCount() - 1;
  return tile_cache;
}

void CRoom::ClearTiles() {
  tiles.clear();
  tile_cache = -1;
}

int32_t CRoom::FindTileById(int32_t id) {
  if (tile_cache >= 0 && tile_cache < TileCount() &&
      tiles[static_cast<size_t>(tile_cache)].id == id)
    return tile_cache;
  for (int32_t i = 0; i < TileCount(); ++i)
    if (tiles[static_cast<size_t>(i)].id == id) return tile_cache = i;
  return -1;
}

void CRoom::DeleteTile(int32_t i) {
  if (i < 0 || i >= TileCount()) return;
  tiles.erase(tiles.begin() + i);
}

void CRoom::SortTilesByDepth() {
  bool sorted = true;
  for (size_t i = 1; i < tiles.size() && sorted; ++i)
    sorted = tiles[i - 1].depth >= tiles[i].depth;
  if (sorted) return;
  // Insertion sort: equal depths keep their order.
  for (size_t i = 1; i < tiles.size(); ++i) {
    CTile t = tiles[i];
    size_t j = i;
    for (; j > 0 && t.depth > tiles[j - 1].depth; --j)
      tiles[j] = tiles[j - 1];
    tiles[j] = t;
  }
}

int32_t CRoom::FindTileAt(double x, double y, bool foreground) {
  for (int32_t i = 0; i < TileCount(); ++i) {
    const CTile& t = tiles[static_cast<size_t>(i)];
    if (!Covers(t, x, y)) continue;
    if (foreground ? t.depth < 0 : t.depth >= 0) return tile_cache = i;
  }
  return -1;
}

void CRoom::DeleteTilesAt(double x, double y, bool foreground) {
  std::erase_if(tiles, [&](const CTile& t) {
    bool inside = t.x <= x && x <= t.x + t.width && t.y <= y && y <= t.y + t.height;
    return inside && (foreground ? t.depth <= 0 : t.depth >= 0);
  });
}

void CRoom::HideLayer(double depth) {
  for (CTile& t : tiles)
    if (t.depth == depth) t.visible = false;
}

void CRoom::ShowLayer(double depth) {
  for (CTile& t : tiles)
    if (t.depth == depth) t.visible = true;
}

void CRoom::DeleteLayer(double depth) {
  std::erase_if(tiles, [&](const CTile& t) { return t.depth == depth; });
}

void CRoom::ShiftLayer(double depth, double dx, double dy) {
  for (CTile& t : tiles)
    if (t.depth == depth) {
      t.x += dx;
      t.y += dy;
    }
}

int32_t CRoom::FindTileInLayer(double depth, double x, double y) {
  for (int32_t i = 0; i < TileCount(); ++i) {
    const CTile& t = tiles[static_cast<size_t>(i)];
    if (t.depth == depth && Covers(t, x, y)) return tile_cache = i;
  }
  return -1;
}

void CRoom::DeleteTilesInLayerAt(double depth, double x, double y) {
  std::erase_if(tiles, [&](const CTile& t) { return t.depth == depth && Covers(t, x, y); });
}

void CRoom::SetLayerDepth(double depth, double new_depth) {
  for (CTile& t : tiles)
    if (t.depth == depth) t.depth = new_depth;
}

}  // namespace zorvex
