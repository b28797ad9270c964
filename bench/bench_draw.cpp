// 10,000 textured quads per frame from four textures, with mixed rotation, scale and alpha, on
// the real renderer (Mesa's software renderer under SDL_VIDEODRIVER=offscreen). Reports frames
// per second and draw calls per frame.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "Bench_Frames.h"
#include "game/Game.h"

namespace zorvex {
namespace {

constexpr int kQuads = 10000;
constexpr int kWidth = 640;
constexpr int kHeight = 480;

struct Sprite {
  int texture;
  double x, y, xscale, yscale, angle, alpha;
  int32_t color;
};

class DrawScene {
 public:
  // grouped: the sprites come in runs of one texture, as instances of one object usually do.
  bool Start(std::string* error, bool grouped = false) {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("LIBGL_ALWAYS_SOFTWARE", "1", 0);
    game_ = std::make_unique<CGame>();
    CGraphics& g = game_->graphics;
    if (!g.GraphicsStart(nullptr, kWidth, kHeight, false, error)) return false;
    g.device.SetDrawArea(kWidth, kHeight);
    g.device.SetViewport(0, 0, kWidth, kHeight);
    g.device.SetView2D(0, 0, kWidth, kHeight, 0);
    // Four 32 x 32 sprites of different colours with a soft alpha edge.
    for (int t = 0; t < 4; ++t) {
      std::vector<uint32_t> px(32 * 32);
      for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
          double d = std::hypot(x - 15.5, y - 15.5) / 16.0;
          uint32_t a = d >= 1.0 ? 0u : static_cast<uint32_t>((1.0 - d) * 255.0);
          uint32_t rgb = t == 0 ? 0xFF4040u : t == 1 ? 0x40FF40u : t == 2 ? 0x4040FFu : 0xFFFF40u;
          px[static_cast<size_t>(y * 32 + x)] = a << 24 | rgb;
        }
      }
      textures_[t] = TextureFromImage(g, 32, 32, px.data());
      if (textures_[t] < 0) {
        *error = "texture creation failed";
        return false;
      }
    }
    std::mt19937 rng(1);
    std::uniform_real_distribution<double> u(0.0, 1.0);
    sprites_.resize(kQuads);
    for (int i = 0; i < kQuads; ++i) {
      Sprite& s = sprites_[static_cast<size_t>(i)];
      s.texture = textures_[static_cast<size_t>(rng() % 4)];  // textures interleaved at random
      s.x = u(rng) * kWidth;
      s.y = u(rng) * kHeight;
      s.xscale = 0.25 + u(rng) * 0.75;
      s.yscale = 0.25 + u(rng) * 0.75;
      s.angle = u(rng) < 0.5 ? 0.0 : u(rng) * 6.283;
      s.alpha = 0.3 + u(rng) * 0.7;
      s.color = u(rng) < 0.5 ? 0xFFFFFF : 0x80C0FF;
    }
    if (grouped) {
      std::stable_sort(sprites_.begin(), sprites_.end(),
                       [](const Sprite& a, const Sprite& b) { return a.texture < b.texture; });
    }
    return true;
  }

  void Sprites() {
    CGraphics& g = game_->graphics;
    for (Sprite& s : sprites_) {
      TextureDrawExt(g, s.texture, s.color, 16, 16, s.x, s.y, s.xscale, s.yscale, s.angle, s.alpha);
      s.angle += 0.01;
    }
  }

  void Frame() {
    DrawClear(game_->graphics, 0x202020, 1.0);
    Sprites();
    game_->graphics.PresentFrame();
  }

  CGraphics& graphics() { return game_->graphics; }

  CGLRenderer& gl() { return *game_->graphics.device.gl(); }

 private:
  std::unique_ptr<CGame> game_;
  int textures_[4] = {-1, -1, -1, -1};
  std::vector<Sprite> sprites_;
};

// Argument 0: the four textures interleaved at random; 1: in runs of one texture.
void BM_DrawTenThousandQuads(benchmark::State& state) {
  RunFrames<DrawScene>(state, "quads_per_frame", kQuads);
}
BENCHMARK(BM_DrawTenThousandQuads)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(3.0);

// The CPU side alone: building and batching the quads, drawn into a 1 x 1 viewport so that
// the rasteriser has almost nothing to do.
void BM_BatchTenThousandQuads(benchmark::State& state) {
  DrawScene scene;
  std::string error;
  if (!scene.Start(&error)) {
    state.SkipWithError(error.c_str());
    return;
  }
  scene.graphics().device.SetViewport(0, 0, 1, 1);
  for (auto _ : state) {
    scene.Sprites();
    scene.gl().Flush();
  }
  state.SetItemsProcessed(state.iterations() * kQuads);
}
BENCHMARK(BM_BatchTenThousandQuads)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zorvex
