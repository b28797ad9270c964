// Rooms with layers, views, instances and tiles, and the room order, through a built file, as
// the runner reads them.
#include <gtest/gtest.h>

#include "Builder_Test_Project.h"

namespace zorvex {
namespace {

CTestProject RoomProject(const std::string& name) {
  CTestProject t(name, false);
  t.WriteSolidPng("backgrounds/bg_sky.png", 4, 4, 0xFF8080FF);
  t.WriteSolidPng("backgrounds/bg_tiles.png", 32, 16, 0xFF808080);
  t.Write("objects/obj_p.json", "{}");
  t.Write("objects/obj_q.json", "{}");
  return t;
}

TEST(BuilderRoom, EveryPartReachesTheRunner) {
  CTestProject t = RoomProject("rooms");
  t.Write("rooms/rm_a.json", R"({
    "width": 320, "height": 240, "speed": 60, "caption": "Caf\u00e9",
    "color": "#102030", "show_color": false, "persistent": true,
    "creation_code": "room_start.gml",
    "backgrounds": [
      {"background": "bg_sky", "stretch": true},
      null,
      {"background": "bg_tiles", "foreground": true, "x": 4, "y": 8, "htiled": false,
       "vtiled": true, "hspeed": 1, "vspeed": -2, "visible": false}
    ],
    "views_enabled": true,
    "views": [
      {"xview": 10, "yview": 20, "wview": 160, "hview": 120, "xport": 1, "yport": 2,
       "wport": 320, "hport": 240, "hborder": 40, "vborder": 30, "hspeed": 4, "vspeed": -1,
       "follow": "obj_q"},
      null,
      {}
    ],
    "instances": [
      {"object": "obj_p", "x": 0, "y": 0},
      {"object": "obj_q", "x": 32, "y": -48, "creation_code": "speed = 1;"},
      {"object": "obj_p", "x": 64, "y": 48, "creation_code": "inst.gml"}
    ],
    "tiles": [
      {"background": "bg_tiles", "x": 0, "y": 224, "left": 16, "top": 0, "width": 16,
       "height": 8, "depth": 500},
      {"background": "bg_tiles", "x": 16, "y": 224}
    ]
  })");
  t.Write("rooms/room_start.gml", "show_debug_message(\"in\");");
  t.Write("rooms/inst.gml", "hp = 3;");
  t.Write("rooms/rm_b.json", R"({"instances": [{"object": "obj_q", "x": 1, "y": 2}],
    "tiles": [{"background": "bg_sky", "left": 1, "top": 2}]})");
  auto game = t.Load();
  ASSERT_TRUE(game);
  const CRoomTable& rooms = game->resources.rooms;
  ASSERT_EQ(rooms.Count(), 2);
  const CRoom& a = *rooms.Get(0);
  EXPECT_EQ(rooms.Name(0), "rm_a");
  EXPECT_EQ(a.width, 320);
  EXPECT_EQ(a.height, 240);
  EXPECT_EQ(a.speed, 60);
  EXPECT_EQ(a.caption, "Caf\xE9");
  EXPECT_EQ(a.background_color, 0x302010);
  EXPECT_FALSE(a.background_showcolor);
  EXPECT_TRUE(a.persistent);
  EXPECT_EQ(a.creation_code, "show_debug_message(\"in\");");

  const CBack& sky = a.backgrounds[0];
  EXPECT_TRUE(sky.visible);  // a layer that is written is shown unless it says otherwise
  EXPECT_EQ(sky.index, 0);
  EXPECT_TRUE(sky.stretch);
  EXPECT_DOUBLE_EQ(sky.xscale, 80.0);  // 320 / 4, worked out by the runner from the background
  EXPECT_DOUBLE_EQ(sky.yscale, 60.0);
  EXPECT_EQ(a.backgrounds[1], CBack());
  const CBack& tiles = a.backgrounds[2];
  EXPECT_FALSE(tiles.visible);
  EXPECT_TRUE(tiles.foreground);
  EXPECT_EQ(tiles.index, 1);
  EXPECT_EQ(tiles.x, 4);
  EXPECT_EQ(tiles.y, 8);
  EXPECT_FALSE(tiles.htiled);
  EXPECT_TRUE(tiles.vtiled);
  EXPECT_EQ(tiles.hspeed, 1);
  EXPECT_EQ(tiles.vspeed, -2);
  EXPECT_EQ(tiles.xscale, 1.0);

  EXPECT_TRUE(a.views_enabled);
  const CView& v = a.views[0];
  EXPECT_TRUE(v.visible);
  EXPECT_EQ(v.xview, 10);
  EXPECT_EQ(v.yview, 20);
  EXPECT_EQ(v.wview, 160);
  EXPECT_EQ(v.hview, 120);
  EXPECT_EQ(v.xport, 1);
  EXPECT_EQ(v.yport, 2);
  EXPECT_EQ(v.wport, 320);
  EXPECT_EQ(v.hport, 240);
  EXPECT_EQ(v.hborder, 40);
  EXPECT_EQ(v.vborder, 30);
  EXPECT_EQ(v.hspeed, 4);
  EXPECT_EQ(v.vspeed, -1);
  EXPECT_EQ(v.object, 1);  // obj_q
  EXPECT_EQ(a.views[1], CView());
  CView shown;
  shown.visible = true;
  EXPECT_EQ(a.views[2], shown);

  ASSERT_EQ(a.instances.size(), 3u);
  EXPECT_EQ(a.instances[0], (CRoomInstance{0, 0, 0, 100001, ""}));
  EXPECT_EQ(a.instances[1], (CRoomInstance{32, -48, 1, 100002, "speed = 1;"}));
  EXPECT_EQ(a.instances[2], (CRoomInstance{64, 48, 0, 100003, "hp = 3;"}));
  ASSERT_EQ(a.tiles.size(), 2u);
  EXPECT_EQ(a.tiles[0].x, 0);
  EXPECT_EQ(a.tiles[0].y, 224);
  EXPECT_EQ(a.tiles[0].background, 1);
  EXPECT_EQ(a.tiles[0].left, 16);
  EXPECT_EQ(a.tiles[0].width, 16);
  EXPECT_EQ(a.tiles[0].height, 8);
  EXPECT_EQ(a.tiles[0].depth, 500);
  EXPECT_EQ(a.tiles[0].id, 10000001);
  // Without a size a tile takes the background from its corner on; tiles lie behind.
  EXPECT_EQ(a.tiles[1].width, 32);
  EXPECT_EQ(a.tiles[1].height, 16);
  EXPECT_EQ(a.tiles[1].depth, 1000000);
  EXPECT_EQ(a.tiles[1].id, 10000002);

  // Ids go on across rooms; the counters the runner continues from are the last ones used.
  const CRoom& b = *rooms.Get(1);
  EXPECT_EQ(b.width, 640);
  EXPECT_EQ(b.speed, 30);
  EXPECT_EQ(b.background_color, 12632256);
  ASSERT_EQ(b.instances.size(), 1u);
  EXPECT_EQ(b.instances[0].id, 100004);
  ASSERT_EQ(b.tiles.size(), 1u);
  EXPECT_EQ(b.tiles[0].id, 10000003);
  EXPECT_EQ(b.tiles[0].width, 3);
  EXPECT_EQ(b.tiles[0].height, 2);
  EXPECT_EQ(rooms.last_instance_id, 100004);
  EXPECT_EQ(rooms.last_tile_id, 10000003);
  // Without a room order every room plays in index order.
  EXPECT_EQ(game->resources.room_order.order, (std::vector<int32_t>{0, 1}));
}

TEST(BuilderRoom, RoomOrderByNameOrIndex) {
  CTestProject t = RoomProject("roomorder");
  t.Write("rooms/rm_a.json", "{}");
  t.Write("rooms/rm_b.json", "{}");
  t.Write("rooms/rm_c.json", "{}");
  t.Write("game.json", R"({"room_order": ["rm_c", 0, "rm_b"]})");
  auto game = t.Load();
  ASSERT_TRUE(game);
  EXPECT_EQ(game->resources.room_order.order, (std::vector<int32_t>{2, 0, 1}));
  // Listed rooms take the first numbers.
  t.Write("game.json", R"({"resource_order": {"rooms": ["rm_c"]}})");
  game = t.Load();
  ASSERT_TRUE(game);
  EXPECT_EQ(game->resources.rooms.Name(0), "rm_c");
  EXPECT_EQ(game->resources.rooms.Name(1), "rm_a");
  EXPECT_EQ(game->resources.room_order.order, (std::vector<int32_t>{0, 1, 2}));

  t.Write("game.json", R"({"resource_order": {"rooms": ["rm_c", "rm_d"]}})");
  EXPECT_EQ(t.Error(), "game.json: field \"resource_order.rooms[1]\": no room named \"rm_d\"");
  t.Write("game.json", R"({"resource_order": {"rooms": ["rm_c", "rm_c"]}})");
  EXPECT_EQ(t.Error(), "game.json: field \"resource_order.rooms[1]\": \"rm_c\" is listed twice");
  t.Write("game.json", R"({"resource_order": {"levels": []}})");
  EXPECT_EQ(t.Error(),
            "game.json: field \"resource_order.levels\": not a resource folder (sounds, sprites, "
            "backgrounds, paths, scripts, fonts, timelines, objects, rooms)");
  t.Write("game.json", "{}");
  t.Remove("rooms");
  EXPECT_EQ(t.Error(), "rooms/: a game needs at least one room (rooms/NAME.json)");
}

TEST(BuilderRoom, BadRoomsNameTheFileAndTheField) {
  CTestProject t = RoomProject("badrooms");
  auto error = [&](const std::string& json) {
    t.Write("rooms/rm_a.json", json);
    return t.Error();
  };
  EXPECT_EQ(error(R"({"instances": [{"x": 1}]})"),
            "rooms/rm_a.json: field \"instances[0].object\": every instance names its object");
  EXPECT_EQ(error(R"({"instances": [{"object": "obj_p"}, {"object": "obj_z"}]})"),
            "rooms/rm_a.json: field \"instances[1].object\": no object named \"obj_z\"");
  EXPECT_EQ(error(R"({"instances": [{"object": "obj_p", "creation_code": "init.gml"}]})"),
            "rooms/rm_a.json: field \"instances[0].creation_code\": rooms/init.gml: cannot be "
            "read");
  EXPECT_EQ(error(R"({"tiles": [{"background": "bg_sky", "left": 4}]})"),
            "rooms/rm_a.json: field \"tiles[0].left\": expected 0 to 3");
  EXPECT_EQ(error(R"({"tiles": [{"background": "bg_sky", "left": 1, "width": 4}]})"),
            "rooms/rm_a.json: field \"tiles[0].width\": expected 1 to 3");
  EXPECT_EQ(error(R"({"backgrounds": [{}, {}, {}, {}, {}, {}, {}, {}, {}]})"),
            "rooms/rm_a.json: field \"backgrounds\": at most 8 entries");
  EXPECT_EQ(error(R"({"backgrounds": [{"background": "obj_p"}]})"),
            "rooms/rm_a.json: field \"backgrounds[0].background\": no background named \"obj_p\"");
  EXPECT_EQ(error(R"({"views": [{"wview": 0}]})"),
            "rooms/rm_a.json: field \"views[0].wview\": expected 1 to 2147483647");
  EXPECT_EQ(error(R"({"views": [{"follow": "spr_x"}]})"),
            "rooms/rm_a.json: field \"views[0].follow\": no object named \"spr_x\"");
  EXPECT_EQ(error(R"({"views": [5]})"), "rooms/rm_a.json: field \"views[0]\": expected an object");
  EXPECT_EQ(error(R"({"speed": 0})"), "rooms/rm_a.json: field \"speed\": expected 1 to 9999");
  EXPECT_EQ(error(R"({"colour": 0})"), "rooms/rm_a.json: field \"colour\": unknown field");
  EXPECT_EQ(error(R"({"caption": "\u4e2d"})"),
            "rooms/rm_a.json: field \"caption\": line 1: the character U+4E2D (\"\xE4\xB8\xAD\") "
            "has no Windows-1252 form");
}

}  // namespace
}  // namespace zorvex
