// Room drawing without a device: the order of draw events and particle systems, which instances
// are drawn, views following instances, the view mapping and the caption. What reaches the
// screen is checked by the render projects under tests/render_games/.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "../run/RunTestSupport.h"
#include "game/Game_Draw.h"
#include "game/Game_Graphics.h"
#include "game/Game_Load.h"
#include "graphics/Test_Resources.h"
#include "runner/Support_Image.h"

namespace zorvex {
namespace {

using Calls = std::vector<std::string>;

// FollowPoint: the rules for one axis worked out by hand.
TEST(FollowPoint, BordersRoomEdgesAndSpeeds) {
  CView v;
  v.xview = 100;
  v.yview = 100;
  v.wview = 200;
  v.hview = 100;
  v.hborder = 32;
  v.vborder = 20;
  // Inside the borders: nothing moves.
  FollowPoint(v, 200, 150, 1000, 1000);
  EXPECT_EQ(v.xview, 100);
  EXPECT_EQ(v.yview, 100);
  // Past the right border by 10: the view moves 10; above the top border by 5: up 5.
  FollowPoint(v, 100 + 200 - 32 + 10, 100 + 20 - 5, 1000, 1000);
  EXPECT_EQ(v.xview, 110);
  EXPECT_EQ(v.yview, 95);
  // Left of the room: stopped at 0; below the room's end: stopped at room height - hview.
  FollowPoint(v, 5, 990, 1000, 1000);
  EXPECT_EQ(v.xview, 0);
  EXPECT_EQ(v.yview, 900);
}

TEST(FollowPoint, WideBordersCentreAndWideViewsGoNegative) {
  CView v;
  v.xview = 0;
  v.wview = 64;
  v.hborder = 32;  // 2 x 32 >= 64: centred
  v.yview = 0;
  v.hview = 480;
  FollowPoint(v, 101, 0, 1000, 480);
  EXPECT_EQ(v.xview, 101 - 32);
  // A view wider than the room ends at room width - view width.
  CView w;
  w.wview = 640;
  w.hborder = 10;
  FollowPoint(w, 300, 0, 400, 480);
  EXPECT_EQ(w.xview, 400 - 640);
}

TEST(FollowPoint, SpeedLimits) {
  CView v;
  v.xview = 0;
  v.wview = 100;
  v.hborder = 10;
  v.yview = 0;
  v.hview = 100;
  v.vborder = 10;
  v.hspeed = 0;  // frozen horizontally
  v.vspeed = 3;  // at most 3 a step vertically
  FollowPoint(v, 500, 500, 1000, 1000);
  EXPECT_EQ(v.xview, 0);
  EXPECT_EQ(v.yview, 3);
  FollowPoint(v, 0, 0, 1000, 1000);
  EXPECT_EQ(v.yview, 0);
  v.hspeed = -1;  // unlimited
  FollowPoint(v, 500, 0, 1000, 1000);
  EXPECT_EQ(v.xview, 500 + 10 - 100);
}

class RoomDrawing : public testing::RunGameTest {
 protected:
  RoomDrawing() {
    game.run.hooks.draw_room = [](CGame& g) { RedrawScreen(g); };
  }
  // An object whose draw event records its name and the view being drawn.
  int32_t Drawer(const std::string& name, double depth) {
    int32_t o = AddObject(name);
    Object(o).depth = depth;
    Code(o, kEventDraw, 0, "rec(\"" + name + "\", view_current);");
    return o;
  }
};

TEST_F(RoomDrawing, LargerDepthsFirstAndEqualDepthsKeepTheirOrder) {
  int32_t a = Drawer("a", 0);
  int32_t b = Drawer("b", 10);
  int32_t c = Drawer("c", -5);
  int32_t hidden = Drawer("hidden", 100);
  AddRoom("r", {{a}, {b}, {c}, {hidden, 0, 0, "visible = false;"}, {a, 0, 0, "depth = 10;"}});
  Start();
  // The room start draws once: b (10) and the second a (10) in list order, a (0), c (-5).
  EXPECT_EQ(TakeCalls(), (Calls{"b 0", "a 0", "a 0", "c 0"}));
  Find(100003)->marked = true;
  Step();
  EXPECT_EQ(TakeCalls(), (Calls{"b 0", "a 0", "a 0"}));
}

TEST_F(RoomDrawing, ParticleSystemsComeBeforeInstancesOfTheirDepth) {
  int32_t a = Drawer("a", 0);
  int32_t b = Drawer("b", 20);
  AddRoom("r", {{a}, {b}});
  // Systems at depths 20, 5 and -50.
  game.room_drawing.particles.next_depth = [](double below) {
    for (double d : {20.0, 5.0, -50.0})
      if (d < below) return d;
    return -1e9;
  };
  game.room_drawing.particles.draw_at = [](double depth) {
    testing::RecordedCalls().push_back("p " + RealToString(depth));
  };
  Start();
  EXPECT_EQ(TakeCalls(), (Calls{"p 20", "b 0", "p 5", "a 0", "p -50"}));
}

TEST_F(RoomDrawing, ParticleDepthsThatDoNotGoDownEndTheParticles) {
  int32_t a = Drawer("a", 0);
  AddRoom("r", {{a}});
  // A broken source that answers the same depth again, then NaN: each is drawn once.
  game.room_drawing.particles.next_depth = [](double below) {
    return below > 1e300 ? 7.0 : below == 7.0 ? 7.0 : -1e9;
  };
  game.room_drawing.particles.draw_at = [](double depth) {
    testing::RecordedCalls().push_back("p " + RealToString(depth));
  };
  Start();
  EXPECT_EQ(TakeCalls(), (Calls{"p 7", "a 0"}));
  game.room_drawing.particles.next_depth = [](double) { return std::nan(""); };
  Step();
  EXPECT_EQ(TakeCalls(), (Calls{"a 0"}));
}

TEST_F(RoomDrawing, AnInstanceWithoutADrawEventNeedsNoEvent) {
  // Without a device nothing reaches a screen; what matters is that instances without a draw
  // event and without a sprite are passed over quietly.
  int32_t plain = AddObject("plain");
  int32_t a = Drawer("a", 0);
  AddRoom("r", {{plain}, {a}});
  Start();
  EXPECT_EQ(TakeCalls(), (Calls{"a 0"}));
  EXPECT_TRUE(errors.empty()) << Errors();
}

TEST_F(RoomDrawing, EveryVisibleViewDrawsTheRoomAndIsRegistered) {
  int32_t a = Drawer("a", 0);
  int32_t r = AddRoom("r", {{a}});
  CRoom& room = RoomResource(r);
  room.views_enabled = true;
  room.views[1].visible = true;
  room.views[1].xview = 10;
  room.views[1].wview = 50;
  room.views[1].hview = 40;
  room.views[1].xport = 5;
  room.views[1].wport = 100;
  room.views[1].hport = 80;
  room.views[3].visible = true;
  Start();
  EXPECT_EQ(TakeCalls(), (Calls{"a 1", "a 3"}));
  EXPECT_EQ(game.graphics.view_current, 0);
  const CViewMapping& m = game.graphics.views.entries[1];
  EXPECT_TRUE(m.active);
  EXPECT_EQ(m.view_x, 10);
  EXPECT_EQ(m.port_x, 5);
  EXPECT_EQ(m.port_w, 100);
  EXPECT_FALSE(game.graphics.views.entries[0].active);
  EXPECT_TRUE(game.graphics.views.entries[3].active);
  // Views switched off: the mapping is emptied at the next frame.
  Eval("view_enabled = false;");
  Step();
  EXPECT_EQ(TakeCalls(), (Calls{"a 0"}));
  EXPECT_FALSE(game.graphics.views.entries[1].active);
  EXPECT_FALSE(game.graphics.views.entries[3].active);
}

TEST_F(RoomDrawing, ViewsFollowObjectsAndInstanceIds) {
  int32_t mover = AddObject("mover");
  int32_t r = AddRoom("r", {{mover, 300, 200}, {mover, 50, 50}});
  CRoom& room = RoomResource(r);
  room.width = 1000;
  room.height = 1000;
  room.views_enabled = true;
  for (int i = 0; i < 2; ++i) {
    room.views[i].visible = true;
    room.views[i].wview = 100;
    room.views[i].hview = 100;
    room.views[i].hborder = 10;
    room.views[i].vborder = 10;
  }
  room.views[0].object = mover;   // the first instance of the object: (300, 200)
  room.views[1].object = 100002;  // that instance: (50, 50)
  Start();
  CRoom& running = game.run.current->room;
  EXPECT_EQ(running.views[0].xview, 300 + 10 - 100);
  EXPECT_EQ(running.views[0].yview, 200 + 10 - 100);
  EXPECT_EQ(running.views[1].xview, 0);
  EXPECT_EQ(running.views[1].yview, 0);
  // The followed instance moves right by 2.5: positions round to nearest (212.5 -> 212).
  Eval("with (100001) { x += 2.5; y += 12.5; }");
  Step();
  EXPECT_EQ(running.views[0].xview, 302 + 10 - 100);
  EXPECT_EQ(running.views[0].yview, 212 + 10 - 100);
  // A destroyed instance is not followed: the object's view takes its next instance.
  Find(100001)->marked = true;
  Eval("with (100002) x = 900;");
  Step();
  EXPECT_EQ(running.views[0].xview, 900 + 10 - 100);
  EXPECT_EQ(running.views[1].xview, 900 + 10 - 100);
  // With no instance left to follow, the views stay where they are.
  Find(100002)->marked = true;
  running.views[0].xview = 5;
  running.views[1].xview = 6;
  Step();
  EXPECT_EQ(running.views[0].xview, 5);
  EXPECT_EQ(running.views[1].xview, 6);
}

TEST_F(RoomDrawing, TheCaptionShowsTheScoreOnceItIsAboveZero) {
  AttachGameWindow(game);
  int32_t r = AddRoom("r");
  RoomResource(r).caption = "Cave";
  Start();
  EXPECT_EQ(game.window.Caption(), "Cave");
  game.run.score = 5;
  game.run.show_lives = true;
  game.run.lives = 3;
  Step();
  EXPECT_EQ(game.window.Caption(), "Cave Score: 5 Lives: 3");
  // A caption set by the game lasts until the next frame.
  Eval("window_set_caption(\"mine\");");
  EXPECT_EQ(game.window.Caption(), "mine");
  Step();
  EXPECT_EQ(game.window.Caption(), "Cave Score: 5 Lives: 3");
}

}  // namespace
}  // namespace zorvex

namespace zorvex {
namespace {

class ScreenFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("LIBGL_ALWAYS_SOFTWARE", "1", 0);
    game.options.headless = true;
    game.dialogs = std::make_unique<CScriptedDialogService>();
    game.errors.show_window = [this](const std::string& m, bool) {
      errors.push_back(m);
      return false;
    };
    ASSERT_TRUE(PrepareGraphics(game));
    CGraphics& g = game.graphics;
    g.window.SetRegionSize(20, 10, false);
    g.device.SetDrawArea(20, 10);
    DrawClear(g, 0x000000, 1.0);
    // A red 4 x 4 square at the top left, a blue pixel at (19, 9).
    DrawRectangle(g, 0, 0, 3, 3, 0xFFFF0000u, 0xFFFF0000u, 0xFFFF0000u, 0xFFFF0000u, false);
    DrawPoint(g, 19, 9, 0xFF0000FFu);
    dir = ::testing::TempDir() + "zorvex_screen_" + std::to_string(getpid());
    std::filesystem::create_directories(dir);
  }
  void TearDown() override { std::filesystem::remove_all(dir); }

  std::unique_ptr<CImage> ReadBmp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                               std::istreambuf_iterator<char>());
    return DecodeBmp(bytes.data(), bytes.size());
  }

  CGame game;
  std::string dir;
  std::vector<std::string> errors;
};

TEST_F(ScreenFiles, ScreenSaveWritesTheDrawingAreaAsABitmap) {
  testing::CallFunction(game, "screen_save", {RValue(dir + "/whole.bmp")});
  std::unique_ptr<CImage> img = ReadBmp(dir + "/whole.bmp");
  ASSERT_TRUE(img);
  EXPECT_EQ(img->width, 20);
  EXPECT_EQ(img->height, 10);
  EXPECT_EQ(img->At(0, 0) & 0xFFFFFFu, 0xFF0000u);
  EXPECT_EQ(img->At(3, 3) & 0xFFFFFFu, 0xFF0000u);
  EXPECT_EQ(img->At(4, 4) & 0xFFFFFFu, 0u);
  EXPECT_EQ(img->At(19, 9) & 0xFFFFFFu, 0x0000FFu);
}

TEST_F(ScreenFiles, PartsAreCutToTheDrawingArea) {
  // Partly outside: only the inside 4 x 3 from (16, 7) is saved.
  testing::CallFunction(
      game, "screen_save_part",
      {RValue(dir + "/part.bmp"), RValue(16.0), RValue(7.0), RValue(10.0), RValue(10.0)});
  std::unique_ptr<CImage> img = ReadBmp(dir + "/part.bmp");
  ASSERT_TRUE(img);
  EXPECT_EQ(img->width, 4);
  EXPECT_EQ(img->height, 3);
  EXPECT_EQ(img->At(3, 2) & 0xFFFFFFu, 0x0000FFu);
  // Wholly outside: nothing is written, and that is no error.
  testing::CallFunction(
      game, "screen_save_part",
      {RValue(dir + "/none.bmp"), RValue(30.0), RValue(0.0), RValue(5.0), RValue(5.0)});
  EXPECT_FALSE(std::filesystem::exists(dir + "/none.bmp"));
  EXPECT_TRUE(errors.empty());
  testing::CallFunction(game, "screen_save", {RValue("")});
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_NE(errors[0].find("Trying to save screen to empty image file name."), std::string::npos);
}

TEST_F(ScreenFiles, F9AndF4GoThroughTheHooks) {
  ASSERT_TRUE(game.run.hooks.save_screenshot);
  EXPECT_TRUE(game.run.hooks.save_screenshot(game, dir + "/screenshot100.bmp"));
  std::unique_ptr<CImage> img = ReadBmp(dir + "/screenshot100.bmp");
  ASSERT_TRUE(img);
  EXPECT_EQ(img->width, 20);
  EXPECT_FALSE(game.run.hooks.save_screenshot(game, dir + "/missing/screenshot101.bmp"));
  ASSERT_TRUE(game.run.hooks.toggle_fullscreen);
  game.run.hooks.toggle_fullscreen(game);
  EXPECT_TRUE(game.graphics.window.full_screen);
  game.run.hooks.toggle_fullscreen(game);
  EXPECT_FALSE(game.graphics.window.full_screen);
  // The renderers the drawing needs are wired too.
  EXPECT_EQ(game.graphics.text.glyph_renderer, &game.font_renderer);
  EXPECT_NE(game.graphics.image_index_of, nullptr);
}

TEST_F(ScreenFiles, DisplayModesTheDisplayOffers) {
  // Headless, the display is the 1024 x 768 x 32 desktop at 60 Hz and nothing else.
  auto call = [&](const char* name, std::vector<RValue> args) {
    return testing::CallFunction(game, name, args).real;
  };
  EXPECT_EQ(call("display_test_all", {RValue(1024.0), RValue(768.0), RValue(60.0), RValue(32.0)}),
            1);
  EXPECT_EQ(call("display_test_all", {RValue(0.0), RValue(0.0), RValue(0.0), RValue(16.0)}), 0);
  EXPECT_EQ(call("display_test_all", {RValue(1000.0), RValue(-1.0), RValue(0.0), RValue(0.0)}), 0);
  EXPECT_EQ(call("display_set_colordepth", {RValue(8.0)}), 0);
  EXPECT_EQ(call("display_set_size", {RValue(1024.0), RValue(768.0)}), 1);
  EXPECT_EQ(game.graphics.display_width, 1024);
  EXPECT_EQ(game.graphics.display_frequency, -1);
  EXPECT_EQ(call("display_set_frequency", {RValue(60.0)}), 1);
  EXPECT_EQ(game.graphics.display_width, 1024);  // kept from before
  EXPECT_EQ(game.graphics.display_frequency, 60);
  EXPECT_TRUE(game.window.HasDisplayMode());
  call("display_reset", {});
  EXPECT_FALSE(game.window.HasDisplayMode());
  EXPECT_TRUE(game.graphics.device.Exists());  // reset, not lost
}

TEST_F(ScreenFiles, WindowCursorAlsoDecidesWhetherTheCursorShows) {
  testing::CallFunction(game, "window_set_cursor", {RValue(-1.0)});
  EXPECT_EQ(testing::CallFunction(game, "window_get_cursor", {}).real, -1);
  EXPECT_FALSE(game.settings.show_cursor);
  testing::CallFunction(game, "window_set_cursor", {RValue(-3.0)});
  EXPECT_EQ(testing::CallFunction(game, "window_get_cursor", {}).real, -3);
  EXPECT_TRUE(game.settings.show_cursor);
}

}  // namespace
}  // namespace zorvex
