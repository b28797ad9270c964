#include "run/Run_Main.h"

#include <gtest/gtest.h>

#include "RunTestSupport.h"
#include "run/IO_Main.h"

namespace zorvex {
namespace {

using Calls = std::vector<std::string>;

class MainLoopTest : public testing::RunGameTest {};

TEST_F(MainLoopTest, RoomStartRunsCreationCodeCreateEventsAndRoomEventsInOrder) {
  int32_t a = AddObject("a");
  Code(a, kEventCreate, 0, "rec('create', id, v)");
  Code(a, kEventOther, kOtherGameStart, "rec('game start', id)");
  Code(a, kEventOther, kOtherRoomStart, "rec('room start', id)");
  AddRoom("r", {{a, 0, 0, "v = 1; rec('code', id)"}, {a, 0, 0, "v = 2"}, {a, 0, 0, "v = "}},
          "rec('room code', instance_count)");
  game.language.uninitialised_as_zero = true;
  Start();
  EXPECT_EQ(TakeCalls(), (Calls{"code 100001", "create 100001 1", "create 100002 2",
                                "create 100003 0", "game start 100001", "game start 100002",
                                "game start 100003", "room code 3", "room start 100001",
                                "room start 100002", "room start 100003"}));
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_FALSE(fatal[0]);
  EXPECT_NE(errors[0].find("COMPILATION ERROR in initialization code for instance\r"),
            std::string::npos);
}

TEST_F(MainLoopTest, ARoomChangeEndsTheStepAfterThePassThatAskedForIt) {
  int32_t a = AddObject("a");
  int32_t b = AddObject("b");
  Code(a, kEventStep, kStepBegin, "rec('begin'); room_goto(second)");
  Code(a, kEventStep, kStepNormal, "rec('step')");
  Code(a, kEventDraw, 0, "rec('draw')");
  Code(a, kEventOther, kOtherRoomEnd, "rec('room end', room)");
  Code(b, kEventCreate, 0, "rec('b create', room)");
  AddRoom("first", {{a}});
  AddRoom("second", {{b}});
  Start();
  EXPECT_EQ(TakeCalls(), (Calls{"draw"}));
  game.run.steps = 0;
  DeliverScriptedInput(game, 1);
  RunStep(game);
  EXPECT_EQ(TakeCalls(), (Calls{"begin"}));
  HandleRequest(game);
  EXPECT_EQ(TakeCalls(), (Calls{"room end 0", "b create 1"}));
  EXPECT_EQ(game.run.room_index, 1);
  // The first room was not persistent: its state is gone.
  EXPECT_EQ(game.run.rooms[0], nullptr);
}

TEST_F(MainLoopTest, PersistentInstancesAndRoomsKeepTheirState) {
  int32_t keeper = AddObject("keeper");
  Object(keeper).persistent = true;
  int32_t local = AddObject("local");
  Code(keeper, kEventCreate, 0, "n = 0");
  Code(keeper, kEventOther, kOtherRoomStart, "n += 1; rec('keeper', id, n, room)");
  Code(local, kEventCreate, 0, "rec('local create', id)");
  Code(local, kEventOther, kOtherRoomStart, "rec('local', id, room)");
  int32_t home = AddRoom("home", {{keeper}, {local}});
  RoomResource(home).persistent = true;
  // The second room places an instance with the keeper's id: the carried keeper replaces it.
  int32_t away = AddRoom("away", {{local}});
  RoomResource(away).instances[0].id = 100001;
  Start();
  EXPECT_EQ(TakeCalls(), (Calls{"local create 100002", "keeper 100001 1 0", "local 100002 0"}));
  Eval("room_goto(away)");
  HandleRequest(game);
  EXPECT_EQ(TakeCalls(), (Calls{"keeper 100001 2 1"}));
  EXPECT_EQ(Lists().ActiveCount(), 2);  // the replaced one waits for the removal pass
  EXPECT_TRUE(Lists().ActiveAt(0)->marked);
  Step();
  EXPECT_EQ(Lists().ActiveCount(), 1);
  // The carried instance was added as a new instance: the id counter moved on.
  EXPECT_EQ(game.resources.rooms.last_instance_id, 100004);
  Eval("room_goto(home)");
  HandleRequest(game);
  // A revisit: no creation code, no create events; the instances continue. The keeper left
  // behind is marked and goes at the next removal pass; the new copy is at the end.
  EXPECT_EQ(TakeCalls(), (Calls{"local 100002 0", "keeper 100001 3 0"}));
  EXPECT_EQ(Lists().ActiveCount(), 3);
  Step();
  EXPECT_EQ(Lists().ActiveCount(), 2);
}

TEST_F(MainLoopTest, RestartMakesEverythingNewButHealth) {
  int32_t a = AddObject("a");
  Code(a, kEventCreate, 0, "rec('create', score, lives, health); global.count += 1");
  Code(a, kEventOther, kOtherGameEnd, "rec('game end')");
  Code(a, kEventOther, kOtherRoomEnd, "rec('room end')");
  AddRoom("r", {{a}}, "global.count = 0");
  game.settings.uninitialised_as_zero = true;
  game.language.uninitialised_as_zero = true;
  Start();
  Eval("score = 5; lives = 3; health = 50; global.other_value = 1");
  Eval("game_restart()");
  HandleRequest(game);
  EXPECT_EQ(TakeCalls(),
            (Calls{"create 0 -1 100", "room end", "game end", "create 0 -1 50"}));
  EXPECT_EQ(Eval("return global.other_value").real, 0);
}

TEST_F(MainLoopTest, AnimationEndsWhenTheImagesRunOut) {
  int32_t four = AddSprite("four", 4, 4, 4);
  int32_t anim = AddObject("anim", -1, four);
  int32_t bare = AddObject("bare");
  Code(anim, kEventCreate, 0, "image_speed = 0.5");
  for (int32_t o : {anim, bare})
    Code(o, kEventOther, kOtherAnimationEnd, "rec(object_index)");
  AddRoom("r", {{anim}, {bare}});
  Start();
  Calls anim_steps;
  for (int step = 1; step <= 16; ++step) {
    Step();
    for (const std::string& c : TakeCalls())
      if (c == "0") anim_steps.push_back(std::to_string(step));
      else EXPECT_EQ(c, "1");  // without a sprite: every step
  }
  EXPECT_EQ(anim_steps, (Calls{"8", "16"}));
  EXPECT_EQ(Lists().ActiveAt(0)->image_index, 0);
}

TEST_F(MainLoopTest, MotionMovesInstancesAndRemembersTheirPreviousPlace) {
  int32_t a = AddObject("a");
  Code(a, kEventCreate, 0, "hspeed = 2; gravity = 1");
  Code(a, kEventStep, kStepEnd, "rec(x, y, xprevious, yprevious)");
  AddRoom("r", {{a, 10, 10}});
  Start();
  Step(2);
  EXPECT_EQ(TakeCalls(), (Calls{"12 11 10 10", "14 13 12 11"}));
}

TEST_F(MainLoopTest, BackgroundsMoveEveryStep) {
  int32_t r = AddRoom("r");
  RoomResource(r).backgrounds[2].hspeed = 1.5;
  RoomResource(r).backgrounds[2].vspeed = -1;
  Start();
  Step(2);
  EXPECT_EQ(game.run.current->room.backgrounds[2].x, 3);
  EXPECT_EQ(game.run.current->room.backgrounds[2].y, -2);
}

TEST_F(MainLoopTest, EscapeEndsTheGameAndTheCloseButtonActsAsEscape) {
  int32_t a = AddObject("a");
  Code(a, kEventKeyboard, 27, "rec('esc held')");
  Code(a, kEventOther, kOtherCloseButton, "rec('close')");
  AddRoom("r", {{a}});
  Start();
  HandleInputMessage(game, InputMessage{InputKind::kClose});
  RunStep(game);
  EXPECT_EQ(game.run.request, kRequestEndGame);
  EXPECT_EQ(game.input.keyboard_lastkey, 0);
  // The step goes on after the key is handled, but ends after the pass: the request stops it.
  EXPECT_TRUE(TakeCalls().empty());

  game.run.request = kRequestNone;
  game.settings.close_as_esc = false;
  HandleInputMessage(game, InputMessage{InputKind::kClose});
  EXPECT_EQ(TakeCalls(), (Calls{"close"}));
  // Esc ending the game can be switched off; then Esc is only a key.
  game.settings.esc_ends_game = false;
  HandleInputMessage(game, InputMessage{InputKind::kKeyDown, 27});
  RunStep(game);
  EXPECT_EQ(game.run.request, kRequestNone);
  EXPECT_EQ(TakeCalls(), (Calls{"esc held"}));
}

TEST_F(MainLoopTest, FunctionKeysCallTheirHooks) {
  AddRoom("r");
  game.game_id = 42;
  std::string saved, loaded;
  int fullscreen = 0;
  game.run.hooks.save_game = [&](CGame&, const std::string& f) { saved = f; };
  game.run.hooks.load_game = [&](CGame&, const std::string& f) { loaded = f; };
  game.run.hooks.toggle_fullscreen = [&](CGame&) { ++fullscreen; };
  Start();
  for (int32_t key : {116, 117, 115}) {
    game.input.KeyDown(key);
    game.input.KeyUp(key);
    Step();
  }
  EXPECT_EQ(saved, "_save42.sav");
  EXPECT_EQ(loaded, "_save42.sav");
  EXPECT_EQ(fullscreen, 1);
  game.settings.f4_switches_fullscreen = false;
  game.input.KeyDown(115);
  Step();
  EXPECT_EQ(fullscreen, 1);
}

TEST_F(MainLoopTest, FrozenWhileTheWindowIsNotActive) {
  int32_t a = AddObject("a");
  Code(a, kEventStep, 0, "rec('step')");
  AddRoom("r", {{a}});
  bool active = false;
  game.run.hooks.window_active = [&](CGame&) { return active; };
  Start();
  Step();
  EXPECT_EQ(TakeCalls(), (Calls{"step"}));
  game.settings.freeze_unfocused = true;
  Step();
  EXPECT_TRUE(TakeCalls().empty());
  active = true;
  Step();
  EXPECT_EQ(TakeCalls(), (Calls{"step"}));
}

TEST_F(MainLoopTest, RunGameEndsAfterMaxStepsWithScriptedInput) {
  int32_t a = AddObject("a");
  Code(a, kEventKeyPress, 65, "rec('A pressed', current_time - global.t0)");
  Code(a, kEventCreate, 0, "global.t0 = current_time");
  Code(a, kEventStep, kStepEnd, "global.steps += 1");
  Code(a, kEventOther, kOtherGameEnd, "rec('game end', global.steps, fps)");
  AddRoom("r", {{a}});
  RoomResource(0).speed = 50;
  game.options.fast = true;
  game.options.max_steps = 110;
  game.options.input = {{3, InputMessage{InputKind::kKeyDown, 65}},
                        {4, InputMessage{InputKind::kKeyUp, 65}}};
  InstallRuntime(game);
  InstallInput(game);
  game.language.uninitialised_as_zero = true;
  Prepare();
  RunGame(game);
  EXPECT_FALSE(game.running);
  // The key went down before step 3: two steps of 20 ms had passed on the game's clock.
  Calls calls = TakeCalls();
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].substr(0, 10), "A pressed ");
  const double ms = std::stod(calls[0].substr(10));
  EXPECT_GE(ms, 40);
  EXPECT_LT(ms, 60);
  // 50 steps a second: the count of the second whole second of game time.
  EXPECT_EQ(calls[1], "game end 110 50");
  EXPECT_EQ(game.run.steps, 110);
  EXPECT_EQ(game.run.rooms.size(), 0u);
}

TEST_F(MainLoopTest, LibraryInitCodeRunsAtGameStart) {
  game.resources.library_init.code = {"global.lib = 7", "", "rec('lib', global.lib)"};
  AddRoom("r");
  Start();
  EXPECT_EQ(TakeCalls(), (Calls{"lib 7"}));
  game.resources.library_init.code = {"x = "};
  StartGame(game);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_TRUE(fatal[0]);
  EXPECT_NE(errors[0].find("COMPILATION ERROR in library initialization code\r"),
            std::string::npos);
}

TEST_F(MainLoopTest, WindowCaptionShowsTheValuesAsAsked) {
  int32_t r = AddRoom("r");
  RoomResource(r).caption = "Level";
  Start();
  EXPECT_EQ(ComposeWindowCaption(game), "Level");
  Eval("score = 12; show_lives = 1; lives = 3; show_health = 1; health = 42.5");
  EXPECT_EQ(ComposeWindowCaption(game), "Level Score: 12 Lives: 3 Health: 42");
  Eval("score = 0; caption_lives = 'L='");
  EXPECT_EQ(ComposeWindowCaption(game), "Level L=3 Health: 42");
  Eval("show_score = true");
  EXPECT_EQ(ComposeWindowCaption(game), "Level Score: 0 L=3 Health: 42");
}

}  // namespace
}  // namespace zorvex
