// The runtime's hot paths: whole steps of a room full of instances (as --fast runs them,
// without waiting), and creating and destroying instances in bulk.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "game/Game.h"
#include "run/Event_Action.h"
#include "run/Event_Main.h"
#include "run/Run_Command.h"
#include "run/Run_Instance.h"
#include "run/Run_Main.h"

namespace {

using namespace zorvex;

// A game of one object with the given step code and one empty room, started.
class RuntimeBench {
 public:
  explicit RuntimeBench(const std::string& step_code) {
    InstallRuntime(game);
    auto o = std::make_unique<CObject>();
    if (!step_code.empty()) o->EventAt(kEventStep, kStepNormal)->AddCodeAction(step_code);
    object = game.resources.objects.Append(std::move(o), "unit");
    int32_t room = game.resources.rooms.Append(std::make_unique<CRoom>(), "room");
    game.resources.room_order.order.push_back(room);
    game.resources.rooms.last_instance_id = 100000;
    ok = PrepareObjects(game);
    game.running = true;
    StartGame(game);
  }

  CGame game;
  int32_t object = 0;
  bool ok = false;
};

// 10,000 instances, each running a step event of three assignments; one iteration is one
// whole step (all passes, motion, removal, the draw events and animation).
void BM_StepTenThousandInstances(benchmark::State& state) {
  RuntimeBench b("a = 1; b = a + 2; c = b * x");
  if (!b.ok) {
    state.SkipWithError("the step code does not compile");
    return;
  }
  for (int i = 0; i < 10000; ++i)
    CreateInstance(b.game, i % 640, i / 640, b.object);
  for (auto _ : state) {
    RunStep(b.game);
    if (b.game.run.Pending()) {
      state.SkipWithError("a request stopped the step");
      return;
    }
  }
  // The step code ran: c = (1 + 2) * x for the last instance.
  CInstance* last = b.game.run.Instances()->ActiveAt(9999);
  RValue c;
  const int32_t c_id = b.game.language.names.Find("c");
  if (!last->variables.GetValue(c_id, 0, c, false) || c.real != 3 * last->x) {
    state.SkipWithError("the step code did not run");
    return;
  }
  state.SetItemsProcessed(state.iterations());
  state.counters["steps_per_second"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_StepTenThousandInstances)->Unit(benchmark::kMillisecond);

// 100,000 instances created (with their create event looked up), destroyed (destroy event)
// and freed by the removal pass.
void BM_CreateAndDestroyHundredThousand(benchmark::State& state) {
  RuntimeBench b("");
  for (auto _ : state) {
    CInstanceLists& lists = *b.game.run.Instances();
    for (int i = 0; i < 100000; ++i)
      CreateInstance(b.game, i % 640, i / 640, b.object);
    for (int i = 0; i < lists.ActiveCount(); ++i)
      DestroyInstance(b.game, lists.ActiveAt(i));
    lists.RemoveMarkedInstances();
    if (lists.ActiveCount() != 0) {
      state.SkipWithError("instances left over");
      return;
    }
  }
  state.SetItemsProcessed(state.iterations() * 100000);
}
BENCHMARK(BM_CreateAndDestroyHundredThousand)->Unit(benchmark::kMillisecond);

}  // namespace
