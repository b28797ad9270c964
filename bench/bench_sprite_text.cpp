// The CPU side of the drawing functions game code calls most: draw_sprite and draw_sprite_ext
// through the function table (argument conversion, sprite lookup, frame choice, one quad) and
// draw_text of a line of 40 characters, drawn into a 1 x 1 viewport so that the rasteriser has
// almost nothing to do.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "game/Game.h"

namespace zorvex {
namespace {

class Scene {
 public:
  bool Start(std::string* error) {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("LIBGL_ALWAYS_SOFTWARE", "1", 0);
    game_ = std::make_unique<CGame>();
    CGraphics& g = game_->graphics;
    if (!g.GraphicsStart(nullptr, 640, 480, false, error)) return false;
    g.device.SetViewport(0, 0, 1, 1);
    ITextureMaker* maker = &g.resource_textures;
    game_->resources.sprites.SetTextureMaker(maker);
    game_->resources.fonts.SetTextureMaker(maker);
    // A 32 x 32 sprite of four frames.
    auto s = std::make_unique<CSprite>();
    s->width = s->height = 32;
    s->xoffset = s->yoffset = 16;
    for (int f = 0; f < 4; ++f)
      s->frames.emplace_back(32, 32, 0xFF000000u | (0x3F3F3Fu * static_cast<uint32_t>(f + 1)));
    s->MakeTextures();
    sprite_ = game_->resources.sprites.Append(std::move(s), "spr");
    // A font of the printable characters, each glyph an 8 x 12 cell of one sheet.
    auto font = std::make_unique<CFont>();
    font->name = "bench";
    font->first = 32;
    font->last = 127;
    font->sheet_width = 16 * 9;
    font->sheet_height = 6 * 13;
    font->sheet.assign(static_cast<size_t>(font->sheet_width) * font->sheet_height, 255);
    for (int c = 32; c <= 127; ++c) {
      CGlyph& gl = font->glyphs[static_cast<size_t>(c)];
      gl.x = (c - 32) % 16 * 9;
      gl.y = (c - 32) / 16 * 13;
      gl.width = 8;
      gl.height = 12;
      gl.advance = 9;
    }
    font->MakeTexture();
    int32_t f = game_->resources.fonts.Append(std::move(font), "font");
    DrawSetFont(g, game_->resources.fonts, f);
    draw_sprite_ = game_->functions.Find("draw_sprite");
    draw_sprite_ext_ = game_->functions.Find("draw_sprite_ext");
    draw_text_ = game_->functions.Find("draw_text");
    return draw_sprite_ >= 0 && draw_sprite_ext_ >= 0 && draw_text_ >= 0;
  }

  void Call(int32_t id, int argc) {
    RValue result;
    game_->functions.Entry(id)->handler(*game_, nullptr, nullptr, argc, args_, result);
  }

  CGame& game() { return *game_; }
  int32_t sprite_ = -1, draw_sprite_ = -1, draw_sprite_ext_ = -1, draw_text_ = -1;
  RValue args_[16];

 private:
  std::unique_ptr<CGame> game_;
};

void BM_DrawSpriteThroughTheTable(benchmark::State& state) {
  Scene scene;
  std::string error;
  if (!scene.Start(&error)) {
    state.SkipWithError(error.c_str());
    return;
  }
  const bool ext = state.range(0) == 1;
  int64_t i = 0;
  for (auto _ : state) {
    scene.args_[0] = RValue(static_cast<double>(scene.sprite_));
    scene.args_[1] = RValue(static_cast<double>(i & 3));
    scene.args_[2] = RValue(static_cast<double>(i % 640));
    scene.args_[3] = RValue(static_cast<double>(i % 480));
    if (ext) {
      scene.args_[4] = RValue(1.5);
      scene.args_[5] = RValue(0.75);
      scene.args_[6] = RValue(static_cast<double>(i % 360));
      scene.args_[7] = RValue(16777215.0);
      scene.args_[8] = RValue(0.8);
      scene.Call(scene.draw_sprite_ext_, 9);
    } else {
      scene.Call(scene.draw_sprite_, 4);
    }
    ++i;
  }
  scene.game().graphics.device.gl()->Flush();
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DrawSpriteThroughTheTable)->Arg(0)->Arg(1);

void BM_DrawTextLine(benchmark::State& state) {
  Scene scene;
  std::string error;
  if (!scene.Start(&error)) {
    state.SkipWithError(error.c_str());
    return;
  }
  scene.args_[0] = RValue(10.0);
  scene.args_[1] = RValue(10.0);
  scene.args_[2] = RValue("Score: 12345  Lives: 3  Health: 100 #ok");
  for (auto _ : state)
    scene.Call(scene.draw_text_, 3);
  scene.game().graphics.device.gl()->Flush();
  state.SetItemsProcessed(state.iterations() * 40);
}
BENCHMARK(BM_DrawTextLine);

}  // namespace
}  // namespace zorvex
