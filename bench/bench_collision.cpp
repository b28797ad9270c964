// Collision workloads: whole steps of a room with 2,000 moving instances that have collision
// events with 2,000 solid walls (they bounce off them), and place_free asked for every mover.
// Steps run back to back, as in fast mode; the figure to read is items_per_second (steps/s).
#include <benchmark/benchmark.h>

#include <memory>
#include <random>

#include "code/Code_Main.h"
#include "code/Script_Main.h"
#include "game/Game.h"
#include "run/Event_Action.h"
#include "run/Event_Main.h"
#include "run/Run_Handle_Collision.h"
#include "run/Run_Main.h"

namespace {

using namespace zorvex;

constexpr int kWalls = 2000;
constexpr int kMovers = 2000;
constexpr int kRoomWidth = 2000;
constexpr int kRoomHeight = 1600;

class CollisionRoom {
 public:
  CollisionRoom() {
    InstallRuntime(game);
    game.graphics.automatic_draw = false;
    const int32_t wall_sprite = AddSprite(16, 16);
    const int32_t mover_sprite = AddSprite(8, 8);
    auto wall = std::make_unique<CObject>();
    wall->sprite_index = wall_sprite;
    wall->solid = true;
    const int32_t wall_id = game.resources.objects.Append(std::move(wall), "wall");
    auto mover = std::make_unique<CObject>();
    mover->sprite_index = mover_sprite;
    mover->EventAt(kEventCreate, 0)->AddCodeAction("speed = 2; direction = random(360); hits = 0;");
    mover->EventAt(kEventStep, 0)
        ->AddCodeAction(
            "if (x < 0 || x > 2000) hspeed = -hspeed; if (y < 0 || y > 1600) vspeed = -vspeed;");
    mover->EventAt(kEventCollision, wall_id)
        ->AddCodeAction("hits += 1; hspeed = -hspeed; vspeed = -vspeed;");
    const int32_t mover_id = game.resources.objects.Append(std::move(mover), "mover");
    auto room = std::make_unique<CRoom>();
    room->width = kRoomWidth;
    room->height = kRoomHeight;
    int32_t id = 100000;
    // Walls on a 40-pixel grid (50 x 40), movers scattered between them.
    for (int k = 0; k < kWalls; ++k) {
      CRoomInstance ri;
      ri.object = wall_id;
      ri.x = (k % 50) * 40;
      ri.y = (k / 50) * 40;
      ri.id = ++id;
      room->instances.push_back(ri);
    }
    std::mt19937 rng(7);
    for (int k = 0; k < kMovers; ++k) {
      CRoomInstance ri;
      ri.object = mover_id;
      ri.x = std::uniform_int_distribution<int>(0, kRoomWidth)(rng);
      ri.y = std::uniform_int_distribution<int>(0, kRoomHeight)(rng);
      ri.id = ++id;
      room->instances.push_back(ri);
    }
    game.resources.rooms.last_instance_id = id;
    game.resources.room_order.order.push_back(game.resources.rooms.Append(std::move(room), "r"));
    ok = CompileScripts(game.language) && CompileTimeLines(game) && PrepareObjects(game);
    game.running = true;
    StartGame(game);
  }

  int32_t AddSprite(int32_t w, int32_t h) {
    auto s = std::make_unique<CSprite>();
    s->width = w;
    s->height = h;
    s->bbox_right = w - 1;
    s->bbox_bottom = h - 1;
    s->frames.emplace_back(w, h, 0xFFFFFFFFu);
    s->BuildMasks();
    return game.resources.sprites.Append(std::move(s), "s");
  }

  // The collision events run so far, summed over the movers.
  double Hits() {
    CCode code("var t; t = 0; with (mover) t += hits; return t;", false);
    RValue result;
    std::unique_ptr<CInstance> temp = NewTemporaryInstance(game);
    if (!code.Compile(game.language) ||
        !code.Execute(game.language, temp.get(), temp.get(), result))
      return -1;
    return result.real;
  }

  CGame game;
  bool ok = false;
};

void BM_CollisionSteps(benchmark::State& state) {
  CollisionRoom room;
  if (!room.ok) {
    state.SkipWithError("the room does not compile");
    return;
  }
  for (int k = 0; k < 5; ++k)
    RunStep(room.game);  // warm the index and the code
  const double hits_before = room.Hits();
  for (auto _ : state)
    RunStep(room.game);
  state.SetItemsProcessed(state.iterations());
  state.counters["events/step"] =
      (room.Hits() - hits_before) / static_cast<double>(state.iterations());
  state.SetLabel("items/s = steps/s");
}
BENCHMARK(BM_CollisionSteps)->Unit(benchmark::kMillisecond);

void BM_PlaceFreeForEveryMover(benchmark::State& state) {
  CollisionRoom room;
  if (!room.ok) {
    state.SkipWithError("the room does not compile");
    return;
  }
  CInstanceLists& lists = *room.game.run.Instances();
  int64_t free_places = 0;
  for (auto _ : state) {
    for (int i = kWalls; i < lists.ActiveCount(); ++i) {
      CInstance* m = lists.ActiveAt(i);
      free_places += PlaceFree(room.game, *m, m->x + 4, m->y, true) ? 1 : 0;
    }
  }
  benchmark::DoNotOptimize(free_places);
  state.SetItemsProcessed(state.iterations() * kMovers);
  state.SetLabel("items/s = place_free calls/s");
}
BENCHMARK(BM_PlaceFreeForEveryMover)->Unit(benchmark::kMillisecond);

}  // namespace
