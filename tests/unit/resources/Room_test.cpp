#include <gtest/gtest.h>

#include "resources/Background_Main.h"
#include "resources/Object_Main.h"
#include "resources/Room_Main.h"

namespace zorvex {
namespace {

struct Tables {
  CBackgroundTable backgrounds;
  CObjectTable objects;
  CRoomTable rooms{backgrounds, objects};
  CRoomOrder order{rooms};
  Tables() {
    auto bg = std::make_unique<CBackground>();
    bg->width = 100;
    bg->height = 50;
    backgrounds.Append(std::move(bg), "bg");
    objects.Append(std::make_unique<CObject>(), "obj0");
    objects.Append(nullptr, "");
    objects.Append(std::make_unique<CObject>(), "obj2");
  }
};

CRoom FullRoom() {
  CRoom r;
  r.caption = "Level 1";
  r.speed = 60;
  r.width = 800;
  r.height = 600;
  r.persistent = true;
  r.background_color = 0x123456;
  r.background_showcolor = false;
  r.creation_code = "score = 0;";
  r.backgrounds[7] = CBack{true, true, 5, -3, 4, false, true, 2, -1, 1, 1, kColourWhite, 1, false};
  r.views_enabled = true;
  r.views[6] = CView{true, 1, 2, 3, 4, 5, 6, 7, 8, 0, 9, 10, 11, 12, 2};
  r.instances = {{10, 20, 0, 100001, "hp = 3;"}, {30, 40, 2, 100002, ""}};
  r.tiles = {CTile{1, 2, 0, 3, 4, 5, 6, 1000, 10000001}};
  return r;
}

TEST(RoomRecord, RoundTripKeepsEveryField) {
  Tables t;
  CRoom r = FullRoom();
  CStream s;
  r.WriteTo(s);
  s.Seek(0);
  CRoom back;
  ASSERT_TRUE(back.ReadFrom(s, t.backgrounds, t.objects));
  EXPECT_TRUE(s.AtEnd());
  EXPECT_EQ(back.caption, r.caption);
  EXPECT_EQ(back.speed, 60);
  EXPECT_EQ(back.width, 800);
  EXPECT_EQ(back.height, 600);
  EXPECT_TRUE(back.persistent);
  EXPECT_EQ(back.background_color, 0x123456);
  EXPECT_FALSE(back.background_showcolor);
  EXPECT_EQ(back.creation_code, r.creation_code);
  EXPECT_EQ(back.backgrounds, r.backgrounds);
  EXPECT_TRUE(back.views_enabled);
  EXPECT_EQ(back.views, r.views);
  EXPECT_EQ(back.instances, r.instances);
  EXPECT_EQ(back.tiles, r.tiles);
}

// A room record with the given numbers of layers and views (the first layer stretched over
// background 0), no instances and no tiles.
CStream RoomRecord(int32_t layers, int32_t views, int32_t instances = 0, int32_t object = 0) {
  CStream s;
  s.WriteInt(541);
  s.WriteString("c");
  s.WriteInt(640);
  s.WriteInt(480);
  s.WriteInt(30);
  s.WriteBool(false);
  s.WriteInt(0);
  s.WriteBool(true);
  s.WriteString("");
  s.WriteInt(layers);
  for (int i = 0; i < layers && i < 9; ++i) {
    s.WriteBool(true);
    s.WriteBool(false);
    s.WriteInt(0);
    s.WriteInt(7);
    s.WriteInt(8);
    s.WriteBool(false);
    s.WriteBool(false);
    s.WriteInt(1);
    s.WriteInt(2);
    s.WriteBool(i == 0);
  }
  s.WriteBool(true);
  s.WriteInt(views);
  for (int i = 0; i < views && i < 9; ++i) {
    s.WriteBool(true);
    for (int k = 0; k < 13; ++k)
      s.WriteInt(k);
  }
  s.WriteInt(instances);
  for (int i = 0; i < instances && i < 4; ++i) {
    s.WriteInt(1);
    s.WriteInt(2);
    s.WriteInt(object);
    s.WriteInt(100001 + i);
    s.WriteString("");
  }
  s.WriteInt(0);
  s.Seek(0);
  return s;
}

TEST(RoomRecord, MissingLayersAndViewsKeepTheirDefaultsAndStretchedLayersScale) {
  Tables t;
  CStream s = RoomRecord(3, 2);
  CRoom r;
  ASSERT_TRUE(r.ReadFrom(s, t.backgrounds, t.objects));
  EXPECT_TRUE(s.AtEnd());
  EXPECT_DOUBLE_EQ(r.backgrounds[0].xscale, 6.4);
  EXPECT_DOUBLE_EQ(r.backgrounds[0].yscale, 9.6);
  EXPECT_EQ(r.backgrounds[1].xscale, 1);
  EXPECT_EQ(r.backgrounds[1].x, 7);
  EXPECT_EQ(r.backgrounds[1].hspeed, 1);
  EXPECT_EQ(r.backgrounds[1].blend, kColourWhite);
  EXPECT_EQ(r.backgrounds[3], CBack{});
  EXPECT_EQ(r.backgrounds[3].index, -1);
  EXPECT_EQ(r.views[1].object, 12);
  EXPECT_EQ(r.views[2], CView{});
  EXPECT_EQ(r.views[7].wview, 640);
  EXPECT_EQ(r.views[7].hport, 480);
}

TEST(RoomRecord, RefusesWhatWouldIndexOutsideItsTables) {
  Tables t;
  CRoom r;
  auto reads = [&](CStream s) { return r.ReadFrom(s, t.backgrounds, t.objects); };
  EXPECT_TRUE(reads(RoomRecord(8, 8)));
  EXPECT_FALSE(reads(RoomRecord(9, 0)));
  EXPECT_FALSE(reads(RoomRecord(0, 9)));
  EXPECT_FALSE(reads(RoomRecord(-1, 0)));
  EXPECT_TRUE(reads(RoomRecord(0, 0, 2, 2)));
  EXPECT_FALSE(reads(RoomRecord(0, 0, 1, 1)));  // empty object slot
  EXPECT_FALSE(reads(RoomRecord(0, 0, 1, 3)));  // beyond the objects
  EXPECT_FALSE(reads(RoomRecord(0, 0, 1 << 29)));
  CStream version = RoomRecord(0, 0);
  version.WriteInt(540);
  version.Seek(0);
  EXPECT_FALSE(reads(std::move(version)));
}

CTile Tile(double x, double y, int32_t w, int32_t h, double depth, int32_t id) {
  CTile t;
  t.x = x;
  t.y = y;
  t.width = w;
  t.height = h;
  t.depth = depth;
  t.id = id;
  return t;
}

TEST(Room, MoveBackgroundsAndLayerAccess) {
  CRoom r;
  r.backgrounds[2].hspeed = 1.5;
  r.backgrounds[2].vspeed = -2;
  r.MoveBackgrounds();
  r.MoveBackgrounds();
  EXPECT_EQ(r.backgrounds[2].x, 3);
  EXPECT_EQ(r.backgrounds[2].y, -4);
  EXPECT_EQ(r.backgrounds[0].x, 0);
  EXPECT_EQ(r.Background(8), nullptr);
  EXPECT_EQ(r.View(-1), nullptr);
  EXPECT_EQ(r.View(7), &r.views[7]);
}

TEST(RoomTiles, PositionQueriesUseHalfOpenOrInclusiveEdges) {
  CRoom r;
  r.tiles = {Tile(0, 0, 10, 10, 0, 1), Tile(20, 0, 10, 10, -5, 2)};
  EXPECT_EQ(r.FindTileAt(10, 5, false), -1);  // right edge
  EXPECT_EQ(r.FindTileAt(9.9, 5, false), 0);
  EXPECT_EQ(r.FindTileAt(5, 5, true), -1);  // depth 0 counts as background here
  EXPECT_EQ(r.FindTileAt(25, 5, true), 1);
  EXPECT_EQ(r.tile_cache, 1);

  CRoom fg = r;
  fg.DeleteTilesAt(10, 5, true);  // right edge included, depth 0 counts as foreground too
  ASSERT_EQ(fg.TileCount(), 1);
  EXPECT_EQ(fg.tiles[0].id, 2);
  CRoom bg = r;
  bg.DeleteTilesAt(10, 10, false);
  EXPECT_EQ(bg.TileCount(), 1);

  EXPECT_EQ(r.FindTileInLayer(-5, 20, 0), 1);
  EXPECT_EQ(r.FindTileInLayer(-5, 5, 5), -1);
  r.DeleteTilesInLayerAt(-5, 30, 5);  // half-open: not covered
  EXPECT_EQ(r.TileCount(), 2);
  r.DeleteTilesInLayerAt(-5, 29, 5);
  EXPECT_EQ(r.TileCount(), 1);
}

TEST(RoomTiles, LayersIdsAndSorting) {
  CRoom r;
  int32_t last_tile_id = 100;
  EXPECT_EQ(r.AddTile(Tile(0, 0, 1, 1, 5, 0), last_tile_id), 0);
  EXPECT_EQ(r.AddTile(Tile(0, 0, 1, 1, 10, 0), last_tile_id), 1);
  EXPECT_EQ(r.tiles[0].id, 101);
  EXPECT_EQ(r.tiles[1].id, 102);
  EXPECT_EQ(last_tile_id, 102);
  r.AddTile(Tile(0, 0, 1, 1, 5, 0), last_tile_id);   // 103
  r.AddTile(Tile(0, 0, 1, 1, 10, 0), last_tile_id);  // 104
  r.SortTilesByDepth();
  std::vector<int32_t> ids;
  for (const CTile& t : r.tiles)
    ids.push_back(t.id);
  EXPECT_EQ(ids, (std::vector<int32_t>{102, 104, 101, 103}));  // equal depths keep their order

  r.HideLayer(5);
  EXPECT_FALSE(r.tiles[2].visible);
  EXPECT_TRUE(r.tiles[0].visible);
  r.ShowLayer(5);
  EXPECT_TRUE(r.tiles[2].visible);
  r.ShiftLayer(10, 3, -2);
  EXPECT_EQ(r.tiles[0].x, 3);
  EXPECT_EQ(r.tiles[1].y, -2);
  EXPECT_EQ(r.tiles[2].x, 0);
  r.SetLayerDepth(10, 7);
  EXPECT_EQ(r.tiles[1].depth, 7);
  EXPECT_EQ(r.FindTileById(103), 3);
  EXPECT_EQ(r.tile_cache, 3);
  EXPECT_EQ(r.FindTileById(999), -1);
  r.DeleteLayer(5);
  EXPECT_EQ(r.TileCount(), 2);
  EXPECT_EQ(r.FindTileById(103), -1);  // the cache does not outlive its tile
  CTile out;
  EXPECT_FALSE(r.TileAt(2, out));
  r.DeleteTile(5);
  r.SetTileAt(-1, Tile(0, 0, 0, 0, 0, 0));
  EXPECT_EQ(r.TileCount(), 2);
  r.ClearTiles();
  EXPECT_EQ(r.tile_cache, -1);
}

TEST(RoomTable, CountersAndAssignments) {
  Tables t;
  t.rooms.Append(std::make_unique<CRoom>(FullRoom()), "rm_a");
  t.rooms.Append(nullptr, "");
  t.rooms.last_instance_id = 100002;
  t.rooms.last_tile_id = 10000001;
  CStream s;
  t.rooms.WriteSection(s);
  s.Seek(0);
  Tables u;
  ASSERT_TRUE(u.rooms.ReadSection(s));
  EXPECT_TRUE(s.AtEnd());
  EXPECT_EQ(u.rooms.last_instance_id, 100002);
  EXPECT_EQ(u.rooms.last_tile_id, 10000001);
  EXPECT_EQ(u.rooms.Get(0)->caption, "Level 1");
  EXPECT_FALSE(u.rooms.AssignRoom(0, 1));
  EXPECT_FALSE(u.rooms.AssignRoom(2, 0));
  EXPECT_TRUE(u.rooms.AssignRoom(1, 0));
  EXPECT_EQ(u.rooms.Get(1)->instances.size(), 2u);
  EXPECT_EQ(u.rooms.Duplicate(0), 2);
  EXPECT_EQ(u.rooms.Name(2), "__newroom2");
  EXPECT_EQ(u.rooms.AddRoom(), 3);
  EXPECT_EQ(u.rooms.Get(3)->width, 640);
}

CStream Order(int32_t version, std::vector<int32_t> ids, int32_t count = -100) {
  CStream s;
  s.WriteInt(version);
  s.WriteInt(count == -100 ? static_cast<int32_t>(ids.size()) : count);
  for (int32_t id : ids)
    s.WriteInt(id);
  s.Seek(0);
  return s;
}

TEST(RoomOrder, NeighboursAndRefusals) {
  Tables t;
  for (int i = 0; i < 4; ++i)
    t.rooms.AddRoom();
  CStream s = Order(700, {3, 1, 2});
  ASSERT_TRUE(t.order.ReadSection(s));
  EXPECT_EQ(t.order.FirstRoom(), 3);
  EXPECT_EQ(t.order.LastRoom(), 2);
  EXPECT_EQ(t.order.NextRoom(3), 1);
  EXPECT_EQ(t.order.NextRoom(2), -1);
  EXPECT_EQ(t.order.PreviousRoom(2), 1);
  EXPECT_EQ(t.order.PreviousRoom(3), -1);
  EXPECT_EQ(t.order.NextRoom(0), -1);
  EXPECT_EQ(t.order.PreviousRoom(0), -1);

  CStream again = Order(700, {1, 2, 1, 3});
  ASSERT_TRUE(t.order.ReadSection(again));
  EXPECT_EQ(t.order.NextRoom(1), 3);      // after its last position
  EXPECT_EQ(t.order.PreviousRoom(1), 2);  // before its first position from the second on

  CStream empty = Order(700, {});
  EXPECT_FALSE(t.order.ReadSection(empty));
  CStream version = Order(701, {0});
  EXPECT_FALSE(t.order.ReadSection(version));
  CStream beyond = Order(700, {0, 4});
  EXPECT_FALSE(t.order.ReadSection(beyond));
  t.rooms.Delete(1);
  CStream deleted = Order(700, {1});
  EXPECT_FALSE(t.order.ReadSection(deleted));
  CStream lying = Order(700, {0}, 1000);
  EXPECT_FALSE(t.order.ReadSection(lying));
}

}  // namespace
}  // namespace zorvex
