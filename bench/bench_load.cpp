// Loading a large game: 500 sprites of 8 frames of 64 x 64, 200 objects with events and 100
// rooms with instances and tiles, built by the builder and read with the runner's own section
// table. Reports the load time and the share of it spent inflating compressed blocks.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "game/Game.h"
#include "game/Game_Load.h"
#include "platform/Platform_Dialog.h"
#include "runner/Support_Stream.h"
#include "zorvex-build/Builder_Game.h"
#include "zorvex-build/Builder_Project.h"

namespace zorvex {
namespace {

constexpr int kSprites = 500, kFrames = 8, kSide = 64;
constexpr int kBackgrounds = 10, kObjects = 200, kRooms = 100;
constexpr int kInstancesPerRoom = 60, kTilesPerRoom = 40;

// A frame as games draw them: a shaded disc with soft edges on a see-through ground.
CBitmap32 Frame(int sprite, int frame) {
  CBitmap32 b(kSide, kSide);
  const double cx = 32 + 6 * std::sin(frame), cy = 32 + 6 * std::cos(frame);
  const double radius = 14 + (sprite * 7 + frame * 3) % 16;
  for (int y = 0; y < kSide; ++y) {
    for (int x = 0; x < kSide; ++x) {
      const double d = std::hypot(x - cx, y - cy);
      if (d > radius + 1) continue;
      const uint32_t alpha = d > radius ? static_cast<uint32_t>(255 * (radius + 1 - d)) : 255;
      const uint32_t shade = static_cast<uint32_t>(255 * (1 - d / (radius + 1)));
      const uint32_t r = (shade + static_cast<uint32_t>(sprite) * 13) & 0xFF;
      const uint32_t g = (shade / 2 + static_cast<uint32_t>(frame) * 29) & 0xFF;
      b.SetPixel(x, y, alpha << 24 | r << 16 | g << 8 | (shade / 3));
    }
  }
  return b;
}

std::unique_ptr<CProject> MakeProject() {
  auto p = std::make_unique<CProject>();
  p->game_id = 31337;
  CResources& r = *p->resources;
  for (int s = 0; s < kSprites; ++s) {
    auto sprite = std::make_unique<CSprite>();
    sprite->width = sprite->height = kSide;
    for (int f = 0; f < kFrames; ++f)
      sprite->frames.push_back(Frame(s, f));
    sprite->xoffset = sprite->yoffset = kSide / 2;
    sprite->ComputeBBox();
    r.sprites.Append(std::move(sprite), "spr_" + std::to_string(s));
  }
  for (int b = 0; b < kBackgrounds; ++b) {
    auto back = std::make_unique<CBackground>();
    back->width = back->height = 256;
    back->has_image = true;
    back->image = CBitmap32(256, 256);
    for (int y = 0; y < 256; ++y)
      for (int x = 0; x < 256; ++x)
        back->image.SetPixel(
            x, y, 0xFF000000u | static_cast<uint32_t>((x / 16 + y / 16 + b) % 4) * 0x303030u);
    r.backgrounds.Append(std::move(back), "bg_" + std::to_string(b));
  }
  for (int o = 0; o < kObjects; ++o) {
    auto object = std::make_unique<CObject>();
    object->sprite_index = o % kSprites;
    object->depth = -o;
    object->EventAt(0, 0)->AddCodeAction("hp = 10; speed = " + std::to_string(o % 5) + ";");
    object->EventAt(3, 0)->AddCodeAction("if (hp <= 0) instance_destroy(); x += hspeed;");
    object->EventAt(4, (o + 1) % kObjects)->AddCodeAction("hp -= 1; move_bounce_solid(true);");
    object->EventAt(8, 0)->AddCodeAction("draw_sprite(sprite_index, image_index, x, y);");
    r.objects.Append(std::move(object), "obj_" + std::to_string(o));
  }
  int32_t instance_id = 100001, tile_id = 10000001;
  for (int k = 0; k < kRooms; ++k) {
    auto room = std::make_unique<CRoom>();
    room->width = 1024;
    room->height = 768;
    room->backgrounds[0].visible = true;
    room->backgrounds[0].index = k % kBackgrounds;
    for (int i = 0; i < kInstancesPerRoom; ++i)
      room->instances.push_back(CRoomInstance{(i * 97) % 1024, (i * 61) % 768, (k + i) % kObjects,
                                              instance_id++, i % 10 == 0 ? "hp = 20;" : ""});
    for (int t = 0; t < kTilesPerRoom; ++t) {
      CTile tile;
      tile.x = (t % 8) * 32;
      tile.y = (t / 8) * 32;
      tile.background = k % kBackgrounds;
      tile.width = tile.height = 32;
      tile.left = (t % 8) * 32;
      tile.depth = 1000000;
      tile.id = tile_id++;
      room->tiles.push_back(tile);
    }
    r.rooms.Append(std::move(room), "rm_" + std::to_string(k));
    p->room_order.push_back(k);
  }
  r.rooms.last_instance_id = instance_id - 1;
  r.rooms.last_tile_id = tile_id - 1;
  return p;
}

struct Workload {
  std::vector<uint8_t> file;
  // The compressed blocks the loader inflates: the game block and every picture in it.
  std::vector<std::vector<uint8_t>> blocks;
  size_t inflated_bytes = 0;
};

const Workload& GetWorkload() {
  static const Workload w = [] {
    Workload out;
    std::unique_ptr<CProject> p = MakeProject();
    std::string error;
    if (!BuildGameFile(*p, out.file, error)) std::abort();
    CStream block;
    if (!WriteGameBlock(*p, ChooseScramble(*p), SectionWriters(), block, error)) std::abort();
    out.blocks.push_back(DeflateBytes(block.Data(), block.Size()));
    out.inflated_bytes += block.Size();
    auto add = [&out](const CBitmap32& b) {
      const size_t n = static_cast<size_t>(b.width()) * static_cast<size_t>(b.height()) * 4;
      out.blocks.push_back(DeflateBytes(reinterpret_cast<const uint8_t*>(b.Pixels()), n));
      out.inflated_bytes += n;
    };
    for (int32_t s = 0; s < p->resources->sprites.Count(); ++s)
      for (const CBitmap32& f : p->resources->sprites.Get(s)->frames)
        add(f);
    for (int32_t b = 0; b < p->resources->backgrounds.Count(); ++b)
      add(p->resources->backgrounds.Get(b)->image);
    return out;
  }();
  return w;
}

double InflateSeconds(const Workload& w) {
  const auto start = std::chrono::steady_clock::now();
  size_t total = 0;
  for (const std::vector<uint8_t>& b : w.blocks)
    total += InflateBytes(b.data(), b.size()).size();
  benchmark::DoNotOptimize(total);
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

std::unique_ptr<CGame> FreshGame() {
  auto game = std::make_unique<CGame>();
  game->dialogs = std::make_unique<CScriptedDialogService>();
  game->options.headless = true;
  return game;
}

// The whole read: header, inflating and descrambling the game block, every section (sprites
// with their masks), as the runner does it at start.
void BM_LoadGame(benchmark::State& state) {
  const Workload& w = GetWorkload();
  double load_seconds = 0;
  for (auto _ : state) {
    state.PauseTiming();
    std::unique_ptr<CGame> game = FreshGame();
    std::vector<uint8_t> bytes = w.file;
    state.ResumeTiming();
    const auto start = std::chrono::steady_clock::now();
    if (!ReadGameFile(*game, std::move(bytes))) state.SkipWithError("the game did not load");
    load_seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    state.PauseTiming();
    game.reset();
    state.ResumeTiming();
  }
  const double per_load = load_seconds / static_cast<double>(state.iterations());
  double inflate = 0;
  for (int i = 0; i < 3; ++i)
    inflate += InflateSeconds(w) / 3;
  state.counters["file_MB"] = static_cast<double>(w.file.size()) / 1e6;
  state.counters["inflated_MB"] = static_cast<double>(w.inflated_bytes) / 1e6;
  state.counters["inflate_ms"] = inflate * 1e3;
  state.counters["inflate_share"] = inflate / per_load;
}
BENCHMARK(BM_LoadGame)->Unit(benchmark::kMillisecond)->Iterations(5);

// Inflating the same blocks alone.
void BM_InflateBlocks(benchmark::State& state) {
  const Workload& w = GetWorkload();
  for (auto _ : state)
    benchmark::DoNotOptimize(InflateSeconds(w));
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(w.inflated_bytes));
}
BENCHMARK(BM_InflateBlocks)->Unit(benchmark::kMillisecond)->Iterations(5);

// Building the game file from the project in memory (writing and compressing every section).
void BM_BuildGame(benchmark::State& state) {
  std::unique_ptr<CProject> p = MakeProject();
  for (auto _ : state) {
    std::vector<uint8_t> file;
    std::string error;
    if (!BuildGameFile(*p, file, error)) state.SkipWithError(error.c_str());
    benchmark::DoNotOptimize(file.data());
  }
}
BENCHMARK(BM_BuildGame)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace zorvex
