// A room of 10,000 instances of four objects drawn the way the main loop draws a frame: room
// drawing sorts them by depth and draws each one's sprite with its own rotation, scale and alpha
// (four 32 x 32 sprites, so four textures), on the real renderer (Mesa's software renderer under
// SDL_VIDEODRIVER=offscreen). Reports frames per second and draw calls per frame.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>

#include "Bench_Frames.h"
#include "game/Game.h"
#include "game/Game_Draw.h"

namespace zorvex {
namespace {

constexpr int kInstances = 10000;
constexpr int kWidth = 640;
constexpr int kHeight = 480;

class RoomScene {
 public:
  // cpu_only: a room of 1 x 1 pixel, so that the rasteriser has almost nothing to do and the
  // time is that of room drawing and batching.
  bool Start(std::string* error, bool cpu_only) {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("LIBGL_ALWAYS_SOFTWARE", "1", 0);
    game_ = std::make_unique<CGame>();
    CGame& game = *game_;
    CGraphics& g = game.graphics;
    if (!g.GraphicsStart(nullptr, kWidth, kHeight, false, error)) return false;
    game.resources.sprites.SetTextureMaker(&g.resource_textures);
    for (int t = 0; t < 4; ++t) {
      auto s = std::make_unique<CSprite>();
      s->width = s->height = 32;
      s->xoffset = s->yoffset = 16;
      s->frames.emplace_back(32, 32, 0u);
      for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
          const double d = std::hypot(x - 15.5, y - 15.5) / 16.0;
          const uint32_t a = d >= 1.0 ? 0u : static_cast<uint32_t>((1.0 - d) * 255.0);
          const uint32_t rgb = 0x404040u | (0xBFu << (8 * (t % 3)));
          s->frames[0].Pixels()[y * 32 + x] = a << 24 | rgb;
        }
      }
      const int32_t sprite = game.resources.sprites.Append(std::move(s), "spr" + std::to_string(t));
      game.resources.sprites.Get(sprite)->MakeTextures();
      auto o = std::make_unique<CObject>();
      o->sprite_index = sprite;
      o->depth = t;
      game.resources.objects.Append(std::move(o), "obj" + std::to_string(t));
    }
    BuildEventLists(game);
    game.run.rooms.resize(1);
    game.run.rooms[0] = std::make_unique<CRoomState>(game.resources.objects);
    CRoomState& state = *game.run.rooms[0];
    state.room.width = cpu_only ? 1 : kWidth;
    state.room.height = cpu_only ? 1 : kHeight;
    state.room.background_color = 0x202020;
    game.run.current = &state;
    g.FitRegionToRoom(false, nullptr, 0, state.room.width, state.room.height);
    std::mt19937 rng(1);
    std::uniform_real_distribution<double> u(0.0, 1.0);
    int32_t last_id = 100000;
    for (int i = 0; i < kInstances; ++i) {
      CInstance* inst = state.instances.AddInstance(game.resources, static_cast<int32_t>(rng() % 4),
                                                    u(rng) * kWidth, u(rng) * kHeight, last_id);
      inst->image_xscale = 0.25 + u(rng) * 0.75;
      inst->image_yscale = 0.25 + u(rng) * 0.75;
      inst->image_angle = u(rng) < 0.5 ? 0.0 : u(rng) * 360.0;
      inst->image_alpha = 0.3 + u(rng) * 0.7;
      inst->image_blend = u(rng) < 0.5 ? 0xFFFFFF : 0x80C0FF;
    }
    return true;
  }

  void Frame() {
    RedrawScreen(*game_);
    game_->graphics.PresentFrame();
    for (CInstance* inst : game_->run.current->instances.ActiveList())
      inst->image_angle += 1;
  }

  CGLRenderer& gl() { return *game_->graphics.device.gl(); }

 private:
  std::unique_ptr<CGame> game_;
};

void BM_RoomOfTenThousandSprites(benchmark::State& state) {
  RunFrames<RoomScene>(state, "sprites_per_frame", kInstances);
}
// Argument 0: the whole 640 x 480 room; 1: the CPU side alone.
BENCHMARK(BM_RoomOfTenThousandSprites)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(3.0);

}  // namespace
}  // namespace zorvex
