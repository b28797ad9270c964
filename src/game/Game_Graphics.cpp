#include "game/Game_Graphics.h"

#include <cstdio>
#include <string>

#include "game/Game.h"
#include "game/Game_Draw.h"
#include "game/Game_Load.h"

namespace zorvex {

void AttachGameWindow(CGame& game) {
  CGraphics& g = game.graphics;
  g.window.form = &game.form;
  g.window.display = {DesktopDisplay().width, DesktopDisplay().height};
  // The loop reports exposure and size changes alike; storing the geometry on an exposure
  // stores what is already stored.
  std::function<void(uint32_t)> previous = game.loop.on_paint;
  game.loop.on_paint = [&game, previous](uint32_t window_id) {
    if (game.window.IsReal() && window_id == game.window.Id()) {
      game.graphics.window.OnResize();
      PaintGameWindow(game);
    } else if (previous) {
      previous(window_id);
    }
  };
}

bool PrepareGraphics(CGame& game) {
  const CSettings& s = game.settings;
  if (!PrepareDisplayMode(game, DesktopDisplay().depth)) return false;
  CGraphics& g = game.graphics;
  CWindowState& w = g.window;
  AttachGameWindow(game);
  // 8 x 8 first, so that the first room always refits the window.
  w.SetRegionSize(8, 8, true);
  w.SetRegionScale(s.scaling / 100.0, true);
  w.SetSizeable(s.allow_resize);
  game.form.SetStayOnTop(s.stay_on_top);
  w.color = s.window_color;
  game.window.SetColor(s.window_color);
  w.SetShowBorder(!s.no_window_border);
  w.SetShowIcons(!s.no_window_buttons);
  w.SetFullScreen(s.start_fullscreen);

  std::string message;
  if (!g.GraphicsStart(game.window.Handle(), 640, 480, s.use_synchronization, &message)) {
    ShowStartupMessage(game, message);
    return false;
  }
  g.device.SetInterpolation(s.interpolate_pixels);
  game.resources.backgrounds.SetTextureMaker(&g.resource_textures);
  game.resources.sprites.SetTextureMaker(&g.resource_textures);
  game.resources.fonts.SetTextureMaker(&g.resource_textures);
  InstallGraphicsHooks(game);
  g.BeginFrame();
  return true;
}

void PaintGameWindow(CGame& game) {
  game.graphics.RepaintFrame();
}

void SwitchFullScreen(CGame& game) {
  CWindowState& w = game.graphics.window;
  w.SetFullScreen(!w.full_screen);
}

bool SaveRequestedScreenshots(CGame& game, int64_t step) {
  bool ok = true;
  for (const ScreenshotRequest& r : game.options.screenshots) {
    if (r.step != step) continue;
    if (!SaveScreenshotPng(game.graphics, r.file)) {
      std::fprintf(stderr, "zorvex-run: cannot write the screenshot of step %lld to %s\n",
                   static_cast<long long>(step), r.file.c_str());
      ok = false;
    }
  }
  return ok;
}

void ShutDownGraphics(CGame& game) {
  game.resources.fonts.SetTextureMaker(nullptr);
  game.resources.sprites.SetTextureMaker(nullptr);
  game.resources.backgrounds.SetTextureMaker(nullptr);
  game.graphics.GraphicsStop();
}

}  // namespace zorvex
