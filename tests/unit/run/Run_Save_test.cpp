#include "run/Run_Save.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "../resources/Resource_Test_Util.h"
#include "RunTestSupport.h"
#include "run/IO_Main.h"

namespace zorvex {
namespace {

using Calls = std::vector<std::string>;
using Bytes = std::vector<uint8_t>;

Bytes ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

void WriteFile(const std::string& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

class SaveGameTest : public testing::RunGameTest {
 protected:
  // The whole running state in its stored form: equal bytes, equal games.
  Bytes State() {
    CStream s;
    WriteSavedGame(game, s);
    return s.Bytes();
  }
  std::string ListIds() {
    std::string s;
    for (const CInstance* i : Lists().ActiveList())
      s += std::to_string(i->id) + (i->marked ? "m " : " ");
    s += "|";
    for (const CInstance* i : Lists().InactiveList())
      s += " " + std::to_string(i->id);
    return s;
  }

  testing::TempDir dir;
};

TEST_F(SaveGameTest, TheStoredFormFieldByField) {
  int32_t a = AddObject("a");
  int32_t hall = AddRoom("hall", {{a, 3, 4}});
  CRoom& r = RoomResource(hall);
  r.caption = "Hall";
  r.width = 320;
  r.height = 240;
  r.speed = 15;
  r.background_color = 0x123456;
  r.backgrounds[1].visible = true;
  r.backgrounds[1].index = 2;
  r.backgrounds[1].x = 1.5;
  r.backgrounds[1].htiled = false;
  r.backgrounds[1].yscale = 3;
  r.backgrounds[1].alpha = 0.5;
  r.views_enabled = true;
  r.views[0].visible = true;
  r.views[0].xview = 11;
  r.views[0].hport = 99;
  r.views[0].angle = 45;
  r.views[0].object = a;
  CTile tile;
  tile.x = 8;
  tile.background = 1;
  tile.width = 16;
  tile.depth = 1000;
  tile.id = 10000001;
  tile.alpha = 0.25;
  r.tiles.push_back(tile);
  game.resources.rooms.last_tile_id = 10000001;
  game.game_id = 7;
  Start();
  game.run.score = 12;
  game.run.lives = 3;
  game.run.health = 50.5;
  game.run.cursor_frame = 4;
  Eval("global.g = 'text'");

  CStream s(State());
  EXPECT_EQ(s.ReadInt(), 540);
  EXPECT_EQ(s.ReadInt(), 7);
  EXPECT_EQ(s.ReadInt(), 0);  // room
  EXPECT_EQ(s.ReadInt(), 0);  // transition kind
  EXPECT_EQ(s.ReadInt(), 12);
  EXPECT_EQ(s.ReadInt(), 3);
  EXPECT_EQ(s.ReadReal(), 50.5);
  EXPECT_EQ(s.ReadInt(), -1);  // cursor sprite
  EXPECT_EQ(s.ReadInt(), 4);
  EXPECT_EQ(s.ReadInt(), 1);  // automatic drawing
  EXPECT_EQ(s.ReadInt(), 700);
  EXPECT_EQ(s.ReadInt(), 440);
  EXPECT_EQ(s.ReadInt(), 1);  // one global variable
  s.ReadInt();                // its id
  EXPECT_EQ(s.ReadInt(), 1);  // a string
  s.ReadReal();
  EXPECT_EQ(s.ReadString(), "text");
  EXPECT_EQ(s.ReadInt(), 0);  // no rows
  EXPECT_EQ(s.ReadInt(), 10000);
  s.Skip(40000);
  EXPECT_EQ(s.ReadInt(), 1);  // room slots
  EXPECT_EQ(s.ReadInt(), 1);  // present
  EXPECT_EQ(s.ReadInt(), 540);
  EXPECT_EQ(s.ReadString(), "Hall");
  EXPECT_EQ(s.ReadInt(), 320);
  EXPECT_EQ(s.ReadInt(), 240);
  EXPECT_EQ(s.ReadInt(), 15);
  EXPECT_EQ(s.ReadInt(), 0);  // persistent
  EXPECT_EQ(s.ReadInt(), 0x123456);
  EXPECT_EQ(s.ReadInt(), 1);
  EXPECT_EQ(s.ReadString(), "");
  EXPECT_EQ(s.ReadInt(), 8);
  s.Skip(80);  // layer 0
  EXPECT_EQ(s.ReadInt(), 1);
  EXPECT_EQ(s.ReadInt(), 0);
  EXPECT_EQ(s.ReadInt(), 2);
  EXPECT_EQ(s.ReadReal(), 1.5);
  EXPECT_EQ(s.ReadReal(), 0);
  EXPECT_EQ(s.ReadInt(), 0);  // not tiled horizontally
  EXPECT_EQ(s.ReadInt(), 1);
  EXPECT_EQ(s.ReadReal(), 1);  // xscale
  EXPECT_EQ(s.ReadReal(), 3);
  EXPECT_EQ(s.ReadReal(), 0);
  EXPECT_EQ(s.ReadReal(), 0);
  EXPECT_EQ(s.ReadInt(), 0xFFFFFF);
  EXPECT_EQ(s.ReadReal(), 0.5);
  s.Skip(6 * 80);
  EXPECT_EQ(s.ReadInt(), 1);  // views enabled
  EXPECT_EQ(s.ReadInt(), 8);
  EXPECT_EQ(s.ReadInt(), 1);
  EXPECT_EQ(s.ReadInt(), 11);
  for (int32_t v : {0, 640, 480, 0, 0, 640, 99})
    EXPECT_EQ(s.ReadInt(), v);
  EXPECT_EQ(s.ReadReal(), 45);
  for (int32_t v : {32, 32, -1, -1, a})
    EXPECT_EQ(s.ReadInt(), v);
  s.Skip(7 * 64);
  EXPECT_EQ(s.ReadInt(), 1);  // active instances
  EXPECT_EQ(s.ReadInt(), 100001);
  s.Seek(s.Position() - 4);
  CInstance inst;
  inst.Create(game.resources, 0, -1, 0, 0);
  inst.ReadFromStream(s);
  EXPECT_EQ(inst.x, 3);
  EXPECT_EQ(inst.y, 4);
  EXPECT_EQ(s.ReadInt(), 0);  // inactive
  EXPECT_EQ(s.ReadInt(), 1);  // tiles
  EXPECT_EQ(s.ReadReal(), 8);
  EXPECT_EQ(s.ReadReal(), 0);
  for (int32_t v : {1, 0, 0, 16, 0})
    EXPECT_EQ(s.ReadInt(), v);
  EXPECT_EQ(s.ReadReal(), 1000);
  EXPECT_EQ(s.ReadInt(), 10000001);
  EXPECT_EQ(s.ReadReal(), 1);
  EXPECT_EQ(s.ReadReal(), 1);
  EXPECT_EQ(s.ReadInt(), 0xFFFFFF);
  EXPECT_EQ(s.ReadReal(), 0.25);
  EXPECT_EQ(s.ReadInt(), 1);
  EXPECT_EQ(s.ReadInt(), 100001);  // last instance id
  EXPECT_EQ(s.ReadInt(), 10000001);
  EXPECT_TRUE(s.AtEnd());
}

// Two rooms: a persistent `home` with a keeper and a walker, and `away`. Every piece of state a
// save holds is set to something that differs from a fresh start.
class RoundTripTest : public SaveGameTest {
 protected:
  void SetUp() override {
    walker = AddObject("walker");
    keeper = AddObject("keeper");
    Code(walker, kEventCreate, 0, "rec('create', id); n = 0");
    Code(walker, kEventStep, 0, "n += 1; rec('step', id, n, x)");
    Code(walker, kEventOther, kOtherRoomStart, "rec('room start', id)");
    Object(keeper).persistent = true;
    home = AddRoom("home", {{walker, 10, 10}, {keeper, 50, 50}, {walker, 90, 90}});
    RoomResource(home).persistent = true;
    away = AddRoom("away", {{walker, 5, 5}});
    game.game_id = 99;
    game.resources.rooms.last_tile_id = 10000000;
    Start();
    Eval("globalvar gv; gv = 3; global.list[2, 1] = 'deep'; score = 40; lives = 2; health = 7.5");
    CInstance* w = Find(100001);
    Eval("hspeed = 1.5; alarm[4] = 17; arr[3] = 'a'; path_speed = 2", w);
    w->path_index = 4;
    w->path_position = 0.25;
    w->path_origin_x = 33;
    w->timeline_index = 2;
    w->timeline_position = 12.5;
    // The third is deactivated: saved in the inactive list.
    Eval("instance_deactivate_object(100003)");
    // The keeper goes to `away` and back: the home room keeps the copy it left behind (marked)
    // until the next removal pass, and the keeper comes back as a new instance with its id.
    Eval("room_goto(away)");
    HandleRequest(game);
    Eval("room_goto(home)");
    HandleRequest(game);
    TakeCalls();
    EXPECT_EQ(ListIds(), "100001 100002m 100002 | 100003");
    EXPECT_EQ(game.resources.rooms.last_instance_id, 100006);
  }
  int32_t walker = 0, keeper = 0, home = 0, away = 0;
};

TEST_F(RoundTripTest, ALoadedGameIsTheSavedOne) {
  const std::string file = dir.File("round.sav");
  Eval("game_save('" + file + "')");
  ASSERT_TRUE(errors.empty()) << Errors();
  const Bytes saved = State();
  EXPECT_EQ(ReadFile(file), saved);
  const int32_t last_id = game.resources.rooms.last_instance_id;

  // Change everything, including rooms, then load.
  Step(3);
  Eval("gv = 8; global.list[2, 1] = 0; score = 1; health = 100; instance_activate_all()");
  Eval("room_goto(away)");
  HandleRequest(game);
  Eval("instance_create(0, 0, walker)");
  TakeCalls();
  ASSERT_NE(State(), saved);
  Eval("game_load('" + file + "')");
  EXPECT_EQ(game.run.request, kRequestLoad);
  EXPECT_EQ(game.run.load_file_name, file);
  HandleRequest(game);
  EXPECT_EQ(game.run.request, kRequestNone);
  // No event runs on loading.
  EXPECT_TRUE(TakeCalls().empty());
  EXPECT_TRUE(errors.empty()) << Errors();
  EXPECT_EQ(State(), saved);

  EXPECT_EQ(game.run.room_index, home);
  EXPECT_EQ(game.run.current, game.run.rooms[static_cast<size_t>(home)].get());
  EXPECT_EQ(game.run.rooms[static_cast<size_t>(away)], nullptr);
  EXPECT_EQ(game.resources.rooms.last_instance_id, last_id);
  EXPECT_EQ(Eval("return string(gv) + global.list[2, 1] + string(score) + string(health)").str,
            "3deep407.50");
  EXPECT_EQ(ListIds(), "100001 100002m 100002 | 100003");
  CInstance* w = static_cast<CInstance*>(game.language.world->Active(0));
  EXPECT_EQ(w->id, 100001);
  EXPECT_EQ(w->alarm[4], 17);
  EXPECT_EQ(w->path_index, 4);
  EXPECT_EQ(w->path_position, 0.25);
  EXPECT_EQ(w->path_origin_x, 33);
  EXPECT_EQ(w->timeline_position, 12.5);
  EXPECT_EQ(Eval("return arr[3] + string(hspeed)", w).str, "a1.50");
  // The loaded instances continue in the next step, the inactive one stays out.
  Step();
  EXPECT_EQ(TakeCalls(), (Calls{"step 100001 1 10"}));
  EXPECT_EQ(ListIds(), "100001 100002 | 100003");
}

TEST_F(RoundTripTest, FunctionKeysSaveAndLoadTheGameFile) {
  const std::string cwd = std::filesystem::current_path().string();
  ASSERT_EQ(chdir(dir.Path().c_str()), 0);
  game.input.KeyDown(116);  // F5
  game.input.KeyUp(116);
  Step();
  const Bytes saved = ReadFile(dir.File("_save99.sav"));
  ASSERT_FALSE(saved.empty());
  Step(2);
  TakeCalls();
  game.input.KeyDown(117);  // F6: loads at once and the step goes on with the loaded game
  game.input.KeyUp(117);
  Step();
  EXPECT_EQ(TakeCalls(), (Calls{"step 100001 1 10"}));
  game.settings.f5_f6_save_load = false;
  std::filesystem::remove(dir.File("_save99.sav"));
  game.input.KeyDown(116);
  Step();
  EXPECT_FALSE(std::filesystem::exists(dir.File("_save99.sav")));
  ASSERT_EQ(chdir(cwd.c_str()), 0);
}

TEST_F(RoundTripTest, AFileThatDoesNotLoadLeavesTheGameAsItWas) {
  const std::string file = dir.File("g.sav");
  SaveGame(game, file);
  const Bytes good = ReadFile(file);
  Step();
  Eval("score = 77");
  TakeCalls();
  const Bytes before = State();
  const std::string bad = dir.File("bad.sav");
  auto load_fails_with = [&](const Bytes& content, const std::string& message) {
    WriteFile(bad, content);
    errors.clear();
    LoadGame(game, bad);
    EXPECT_EQ(State(), before);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find(message), std::string::npos) << errors[0];
    EXPECT_FALSE(fatal[0]);
  };

  // Every cut, from nothing to one byte short.
  for (size_t cut = 0; cut < good.size(); cut += (cut < 64 || good.size() - cut < 600) ? 1 : 97)
    load_fails_with(Bytes(good.begin(), good.begin() + static_cast<ptrdiff_t>(cut)),
                    "Failed to load game from file " + bad);
  Bytes longer = good;
  longer.push_back(0);
  load_fails_with(longer, "Failed to load game from file ");
  Bytes other_version = good;
  other_version[0] = 0x1D;  // 541
  load_fails_with(other_version, "Cannot load game saved with other version.");
  Bytes other_game = good;
  other_game[4] = 98;
  load_fails_with(other_game, "This is a save file for a different game!");
  // A room count far beyond the file: found after the game values (44 bytes) and globals.
  CStream walk(good);
  walk.Skip(44);
  CGlobalVariables globals;
  globals.ReadFromStream(walk);
  const size_t slots = walk.Position();
  Bytes huge = good;
  ASSERT_EQ(huge[slots], 2);
  huge[slots + 3] = 0x7F;
  load_fails_with(huge, "Failed to load game from file ");
  // The current room without a state.
  Bytes roomless = good;
  roomless[8] = 1;  // away, which has no state
  load_fails_with(roomless, "Failed to load game from file ");
  // The good file loads back to exactly what was saved.
  errors.clear();
  LoadGame(game, file);
  ASSERT_TRUE(errors.empty()) << Errors();
  const Bytes loaded = State();
  EXPECT_EQ(loaded, good);
  // Damage anywhere: a byte set to 0xFF either still loads or fails and changes nothing.
  for (size_t at = 0; at < good.size(); at += 13) {
    Bytes damaged = good;
    damaged[at] = 0xFF;
    WriteFile(bad, damaged);
    errors.clear();
    LoadGame(game, bad);
    if (!errors.empty()) {
      EXPECT_EQ(State(), loaded) << "damage at " << at;
      EXPECT_EQ(errors.size(), 1u);
    } else {
      LoadGame(game, file);  // back to a known state for the next round
    }
  }

  // A file that does not exist: nothing happens, no error.
  errors.clear();
  LoadGame(game, dir.File("missing.sav"));
  EXPECT_TRUE(errors.empty());
  EXPECT_EQ(State(), loaded);
}

TEST_F(SaveGameTest, SavingReplacesTheFileWholeOrReportsWhyNot) {
  AddRoom("r");
  Start();
  const std::string file = dir.File("s.sav");
  WriteFile(file, Bytes(100000, 0xAB));
  SaveGame(game, file);
  EXPECT_EQ(ReadFile(file), State());
  // Nothing but the save is left in the folder.
  int entries = 0;
  for (const auto& e : std::filesystem::directory_iterator(dir.Path())) {
    EXPECT_EQ(e.path().filename(), "s.sav");
    ++entries;
  }
  EXPECT_EQ(entries, 1);

  SaveGame(game, dir.File("no/such/folder/x.sav"));
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_NE(errors[0].find("Failed to save game to file " + dir.File("no/such/folder/x.sav")),
            std::string::npos);
  EXPECT_FALSE(fatal[0]);

  // Secure mode refuses names with a folder in them and writes nothing.
  game.resources.included_files.secure_mode = true;
  SaveGame(game, dir.File("secure.sav"));
  ASSERT_EQ(errors.size(), 2u);
  EXPECT_NE(errors[1].find("In secure mode you cannot save game to file " + dir.File("secure.sav")),
            std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(dir.File("secure.sav")));
  Eval("game_save('a\\b.sav')");
  ASSERT_EQ(errors.size(), 3u);
  EXPECT_NE(errors[2].find("In secure mode you cannot save game to file a\\b.sav"),
            std::string::npos);
}

TEST_F(SaveGameTest, SavingInACreateEventRestoresThatInstance) {
  int32_t a = AddObject("a");
  const std::string file = dir.File("create.sav");
  Code(a, kEventCreate, 0,
       "v = 'mine'; alarm[0] = 5; path_speed = 3; timeline_speed = 2; game_save('" + file +
           "'); rec('saved', id)");
  Code(a, kEventAlarm, 0, "rec('alarm', id, v)");
  AddRoom("r", {{a}});
  Start();
  EXPECT_EQ(TakeCalls(), (Calls{"saved 100001"}));
  Eval("with (all) instance_destroy()");
  Step();
  EXPECT_EQ(Lists().ActiveCount(), 0);
  LoadGame(game, file);
  ASSERT_EQ(Lists().ActiveCount(), 1);
  CInstance* inst = Lists().ActiveAt(0);
  EXPECT_EQ(inst->alarm[0], 5);
  EXPECT_EQ(inst->path_speed, 3);
  EXPECT_EQ(inst->timeline_speed, 2);
  Step(5);
  EXPECT_EQ(TakeCalls(), (Calls{"alarm 100001 mine"}));
}

}  // namespace
}  // namespace zorvex
