// The graphics parts of start-up and of the main loop: the window set-up from the settings, the
// device and the textures of the resources, full screen, screenshots and shutdown.
#include "game/Game_Graphics.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include <unistd.h>

#include "game/Game.h"
#include "game/Game_Load.h"
#include "graphics/Render_Fixture.h"
#include "graphics/Test_Resources.h"

namespace zorvex {
namespace {

using testing::AddMiniFont;
using testing::AddTestBackground;
using testing::AddTestSprite;
using testing::CallFunction;

class GameGraphics : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("LIBGL_ALWAYS_SOFTWARE", "1", 0);
    game.options.headless = true;
    game.dialogs = std::make_unique<CScriptedDialogService>();
  }
  CGame game;
};

TEST_F(GameGraphics, PreparationSetsUpWindowDeviceAndTextures) {
  CSettings& s = game.settings;
  s.scaling = 200;
  s.allow_resize = true;
  s.no_window_border = false;
  s.no_window_buttons = true;
  s.stay_on_top = true;
  s.window_color = 0x123456;
  s.interpolate_pixels = true;
  // Resources read before the device exists have no textures yet.
  constexpr uint32_t W = 0xFFFFFFFFu;
  int32_t spr = AddTestSprite(game, 1, 1, {{W}, {W}}, 0, 0);
  int32_t back = AddTestBackground(game, 2, 2, {W, W, W, W});
  int32_t font = AddMiniFont(game);
  EXPECT_EQ(game.resources.sprites.Get(spr)->TextureOf(0), -1);

  ASSERT_TRUE(PrepareGraphics(game));
  CGraphics& g = game.graphics;
  ASSERT_TRUE(g.device.Exists());
  EXPECT_EQ(g.device.area_width, 640);
  EXPECT_EQ(g.device.area_height, 480);
  EXPECT_TRUE(g.device.settings().interpolation);
  // The region starts at 8 x 8, shown at twice its size in a window that fits it exactly.
  EXPECT_EQ(g.window.region_width, 8);
  EXPECT_EQ(g.window.region_scale, 2.0);
  EXPECT_EQ(game.form.ClientRect().w, 16);
  EXPECT_EQ(game.form.ClientRect().h, 16);
  EXPECT_EQ(game.window.ClientWidth(), 16);
  EXPECT_EQ(game.window.Border(), BorderKind::kSizeable);
  EXPECT_FALSE(game.window.ShowIcons());
  EXPECT_TRUE(game.window.StayOnTop());
  EXPECT_FALSE(g.window.full_screen);
  EXPECT_EQ(g.window.color, 0x123456);
  EXPECT_EQ(g.window.form, &game.form);
  // Backgrounds first, then sprites, then fonts.
  EXPECT_EQ(game.resources.backgrounds.Get(back)->Texture(), 0);
  EXPECT_EQ(game.resources.sprites.Get(spr)->TextureOf(0), 1);
  EXPECT_EQ(game.resources.sprites.Get(spr)->TextureOf(1), 2);
  EXPECT_EQ(game.resources.fonts.Get(font)->Texture(), 3);
  // A sprite added at run time gets its textures at once.
  int32_t later = AddTestSprite(game, 1, 1, {{W}}, 0, 0);
  EXPECT_EQ(game.resources.sprites.Get(later)->TextureOf(0), 4);

  // The window functions now reach the game window.
  CallFunction(game, "window_set_rectangle", {10.0, 20.0, 300.0, 200.0});
  EXPECT_EQ(game.window.Left(), 10);
  EXPECT_EQ(game.window.Top(), 20);
  EXPECT_EQ(game.window.ClientWidth(), 300);
  CallFunction(game, "window_set_caption", {RValue("Score: 5")});
  EXPECT_EQ(game.window.Caption(), "Score: 5");
  EXPECT_EQ(CallFunction(game, "window_get_caption", {}).str, "Score: 5");
  CallFunction(game, "window_set_visible", {1.0});
  EXPECT_TRUE(game.window.Visible());
  EXPECT_EQ(CallFunction(game, "window_get_visible", {}).real, 1);
  CallFunction(game, "window_mouse_set", {5.0, 6.0});
  EXPECT_EQ(CallFunction(game, "window_mouse_get_x", {}).real, 5);
  EXPECT_EQ(CallFunction(game, "display_mouse_get_y", {}).real, 26);

  ShutDownGraphics(game);
  EXPECT_FALSE(g.device.Exists());
  EXPECT_EQ(g.textures.Get(0), nullptr);
  EXPECT_EQ(game.resources.sprites.Get(spr)->TextureOf(0), -1);
  EXPECT_EQ(game.resources.fonts.Get(font)->Texture(), -1);
}

TEST_F(GameGraphics, FullScreenSwitchesBackToTheWindow) {
  ASSERT_TRUE(PrepareGraphics(game));
  CWindowState& w = game.graphics.window;
  w.SetRectangle(100, 50, 320, 240);
  SwitchFullScreen(game);
  EXPECT_TRUE(w.full_screen);
  EXPECT_TRUE(game.window.Fullscreen());
  EXPECT_EQ(game.window.Border(), BorderKind::kNone);
  const DisplayInfo d = DesktopDisplay();
  EXPECT_EQ(game.form.ClientRect(), (CScreenRect{0, 0, d.width, d.height}));
  EXPECT_EQ(CallFunction(game, "window_get_fullscreen", {}).real, 1);
  SwitchFullScreen(game);
  EXPECT_FALSE(game.window.Fullscreen());
  EXPECT_EQ(game.form.ClientRect(), (CScreenRect{100, 50, 320, 240}));
  EXPECT_EQ(game.window.Border(), BorderKind::kFixed);  // allow_resize is off by default
}

TEST_F(GameGraphics, StartingFullScreenKeepsTheWindowedRectangleForLater) {
  game.settings.start_fullscreen = true;
  ASSERT_TRUE(PrepareGraphics(game));
  EXPECT_TRUE(game.window.Fullscreen());
  SwitchFullScreen(game);
  EXPECT_EQ(game.form.ClientRect(), (CScreenRect{0, 0, 8, 8}));
}

TEST_F(GameGraphics, ScreenshotsOfTheRequestedStepOnly) {
  ASSERT_TRUE(PrepareGraphics(game));
  CGraphics& g = game.graphics;
  g.window.SetRegionSize(32, 16, false);
  g.device.SetDrawArea(32, 16);
  DrawRectangle(g, 0, 0, 3, 3, 0xFFFF0000u, 0xFFFF0000u, 0xFFFF0000u, 0xFFFF0000u, false);
  const std::string dir = ::testing::TempDir() + "zorvex_shots_" + std::to_string(getpid());
  std::filesystem::create_directories(dir);
  game.options.screenshots = {
      {3, dir + "/a.png"}, {5, dir + "/b.png"}, {3, dir + "/missing/c.png"}};
  EXPECT_FALSE(SaveRequestedScreenshots(game, 3));  // c.png cannot be written
  EXPECT_FALSE(std::filesystem::exists(dir + "/b.png"));
  CRegionImage shot;
  ASSERT_TRUE(testing::ReadPngRgb(dir + "/a.png", shot));
  EXPECT_EQ(shot.width, 32);
  EXPECT_EQ(shot.height, 16);
  EXPECT_EQ(shot.pixels[0] & 0xFFFFFFu, 0xFF0000u);
  EXPECT_EQ(shot.pixels[3 * 32 + 3] & 0xFFFFFFu, 0xFF0000u);
  EXPECT_EQ(shot.pixels[4 * 32 + 4] & 0xFFFFFFu, 0u);
  EXPECT_TRUE(SaveRequestedScreenshots(game, 5));
  EXPECT_TRUE(std::filesystem::exists(dir + "/b.png"));
  EXPECT_TRUE(SaveRequestedScreenshots(game, 4));  // nothing asked for
  std::filesystem::remove_all(dir);
}

TEST_F(GameGraphics, PaintsOfOtherWindowsReachTheirOwnHandler) {
  std::vector<uint32_t> painted;
  game.loop.on_paint = [&painted](uint32_t id) { painted.push_back(id); };
  AttachGameWindow(game);
  game.loop.on_paint(77);
  EXPECT_EQ(painted, (std::vector<uint32_t>{77}));
}

// The same on a real (off-screen) desktop window: the device draws into the game window itself.
TEST_F(GameGraphics, TheDeviceDrawsIntoARealGameWindow) {
  std::string why;
  ASSERT_TRUE(StartPlatform(true, why)) << why;
  ASSERT_TRUE(game.window.Create(true, true));
  ASSERT_TRUE(game.window.IsReal());
  ASSERT_TRUE(PrepareGraphics(game));
  CGraphics& g = game.graphics;
  g.window.SetRectangle(40, 30, 200, 100);
  EXPECT_EQ(game.window.ClientWidth(), 200);
  EXPECT_EQ(game.window.ClientHeight(), 100);
  int ww = 0, wh = 0;
  g.device.gl()->WindowSize(ww, wh);
  EXPECT_EQ(ww, 200);
  EXPECT_EQ(wh, 100);
  DrawRectangle(g, 0, 0, 3, 3, 0xFF00FF00u, 0xFF00FF00u, 0xFF00FF00u, 0xFF00FF00u, false);
  EXPECT_TRUE(g.PresentFrame());
  EXPECT_EQ(g.GetRegionPixel(1, 1), 65280);
  // A paint of the game window presents again.
  game.loop.on_paint(game.window.Id());
  EXPECT_EQ(g.GetRegionPixel(1, 1), 65280);
  ShutDownGraphics(game);
}

}  // namespace
}  // namespace zorvex
