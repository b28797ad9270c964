// Built-in math and string calls as game code makes them every step: random draws, number to
// text for drawn scores, direction and distance for motion, and string slicing.
#include <benchmark/benchmark.h>

#include <string>

#include "code/Code_Function.h"
#include "functions/Function_Math_Format.h"
#include "game/Game.h"

namespace {

using zorvex::RValue;

struct Caller {
  explicit Caller(const char* name) { entry = game.functions.Entry(game.functions.Find(name)); }
  RValue& Call() {
    entry->handler(game, nullptr, nullptr, argc, args, result);
    return result;
  }
  zorvex::CGame game;
  const zorvex::FunctionEntry* entry;
  RValue args[zorvex::kMaxArguments];
  int argc = 0;
  RValue result;
};

void BM_RandomReal(benchmark::State& state) {
  zorvex::CRandom r;
  for (auto _ : state)
    benchmark::DoNotOptimize(r.NextReal());
}
BENCHMARK(BM_RandomReal);

void BM_StringOfWholeNumber(benchmark::State& state) {
  std::string s;
  double x = 123456;
  for (auto _ : state) {
    s.clear();
    zorvex::AppendRealString(s, x);
    benchmark::DoNotOptimize(s.data());
  }
}
BENCHMARK(BM_StringOfWholeNumber);

void BM_StringOfFraction(benchmark::State& state) {
  std::string s;
  double x = 1234.5678;
  for (auto _ : state) {
    s.clear();
    zorvex::AppendRealString(s, x);
    benchmark::DoNotOptimize(s.data());
  }
}
BENCHMARK(BM_StringOfFraction);

void BM_PointDirection(benchmark::State& state) {
  Caller c("point_direction");
  c.argc = 4;
  c.args[0] = 10.0, c.args[1] = 20.0, c.args[2] = 30.5, c.args[3] = -4.25;
  for (auto _ : state)
    benchmark::DoNotOptimize(c.Call().real);
}
BENCHMARK(BM_PointDirection);

void BM_StringCopy(benchmark::State& state) {
  Caller c("string_copy");
  c.argc = 3;
  c.args[0] = "the quick brown fox jumps over the lazy dog";
  c.args[1] = 5.0, c.args[2] = 11.0;
  for (auto _ : state)
    benchmark::DoNotOptimize(c.Call().str.data());
}
BENCHMARK(BM_StringCopy);

}  // namespace
