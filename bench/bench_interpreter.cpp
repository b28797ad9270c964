// Interpreter workloads: a numeric loop, string building, a 2-D array, built-in calls and
// script calls. bench/lua/interpreter.lua runs the same workloads in Lua 5.4 for comparison, and
// bench/run-vs-lua runs both and prints the ratios.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <string>

#include "code/Code_Instance.h"
#include "code/Code_Language.h"
#include "code/Code_Lookup.h"
#include "code/Code_Main.h"
#include "code/Script_Main.h"
#include "game/Game.h"

namespace {

using namespace zorvex;

void BenchAbs(CGame&, CInstanceCore*, CInstanceCore*, int, RValue* args, RValue& result) {
  result.SetReal(std::fabs(args[0].real));
}

bool GetArgument0(CGame& game, CInstanceCore*, int32_t, RValue& out) {
  out = game.language.arguments[0];
  return true;
}
bool GetArgument1(CGame& game, CInstanceCore*, int32_t, RValue& out) {
  out = game.language.arguments[1];
  return true;
}

// Two scripts: bench_add and the doubly recursive fib.
class BenchLookup : public CLanguageLookup {
 public:
  BenchLookup()
      : add_("return argument0 + argument1", false),
        fib_(
            "if (argument0 < 2) return argument0; "
            "return fib(argument0 - 1) + fib(argument0 - 2)",
            false) {}
  int32_t FindResource(ResourceKind kind, std::string_view name) const override {
    if (kind != ResourceKind::kScript) return -1;
    return name == "bench_add" ? 0 : name == "fib" ? 1 : -1;
  }
  int32_t ScriptCount() const override { return 2; }
  bool ScriptExists(int32_t i) const override { return i == 0 || i == 1; }
  std::string ScriptName(int32_t i) const override { return i == 0 ? "bench_add" : "fib"; }
  CCode* ScriptCode(int32_t i) override { return i == 0 ? &add_ : i == 1 ? &fib_ : nullptr; }
  int32_t FindExtensionFunction(std::string_view) const override { return -1; }
  int32_t ExtensionArgumentCount(int32_t) const override { return -100; }
  bool CallExtension(int32_t, CInstanceCore*, CInstanceCore*, int, RValue*, RValue&) override {
    return false;
  }
  std::unique_ptr<CInstanceCore> NewTemporaryInstance() override {
    return std::make_unique<CInstanceCore>();
  }

 private:
  CCode add_;
  CCode fib_;
};

class Bench {
 public:
  Bench() {
    game.functions.Register("bench_abs", BenchAbs, 1);
    game.language.builtins.Register("argument0", GetArgument0);
    game.language.builtins.Register("argument1", GetArgument1);
    game.language.lookup = &lookup;
    CompileScripts(game.language);
    self.id = 100001;
  }
  void Run(benchmark::State& state, const std::string& src, double expect) {
    CCode code(src, false);
    if (!code.Compile(game.language)) {
      state.SkipWithError(game.language.error.message.c_str());
      return;
    }
    for (auto _ : state) {
      self.variables.Clear();
      RValue r;
      if (!code.Execute(game.language, &self, &self, r)) {
        state.SkipWithError(game.language.error.message.c_str());
        return;
      }
      if (r.real != expect) {
        state.SkipWithError("wrong result");
        return;
      }
    }
  }

  CGame game;
  BenchLookup lookup;
  CInstanceCore self;
};

void BM_NumericLoopLocals(benchmark::State& state) {
  Bench b;
  b.Run(state, "var i, s; s = 0; for (i = 0; i < 10000000; i += 1) s += i; return s",
        49999995000000.0);
}
BENCHMARK(BM_NumericLoopLocals)->Unit(benchmark::kMillisecond);

void BM_NumericLoopInstance(benchmark::State& state) {
  Bench b;
  b.Run(state, "s = 0; for (i = 0; i < 10000000; i += 1) s += i; return s", 49999995000000.0);
}
BENCHMARK(BM_NumericLoopInstance)->Unit(benchmark::kMillisecond);

void BM_NumericWhileLoop(benchmark::State& state) {
  Bench b;
  b.Run(state, "var i, s; s = 0; i = 0; while (i < 10000000) { s = s + i; i = i + 1 } return s",
        49999995000000.0);
}
BENCHMARK(BM_NumericWhileLoop)->Unit(benchmark::kMillisecond);

void BM_StringBuild(benchmark::State& state) {
  Bench b;
  b.Run(state,
        "var s, n; s = ''; repeat (100000) s += 'a'; n = 0; if (s == 100000 * 'a') n = 1; return n",
        1);
}
BENCHMARK(BM_StringBuild)->Unit(benchmark::kMillisecond);

void BM_StringConcatenate(benchmark::State& state) {
  Bench b;
  b.Run(state,
        "var s, n; s = ''; repeat (100000) s = s + 'a'; n = 0; if (s == 100000 * 'a') n = 1; "
        "return n",
        1);
}
BENCHMARK(BM_StringConcatenate)->Unit(benchmark::kMillisecond);

void BM_Array2D(benchmark::State& state) {
  Bench b;
  b.Run(state,
        "var i, j, s; "
        "for (i = 0; i < 1000; i += 1) for (j = 0; j < 1000; j += 1) a[i, j] = i + j; "
        "s = 0; "
        "for (i = 0; i < 1000; i += 1) for (j = 0; j < 1000; j += 1) s += a[i, j]; "
        "return s",
        999000000.0);
}
BENCHMARK(BM_Array2D)->Unit(benchmark::kMillisecond);

void BM_BuiltinCalls(benchmark::State& state) {
  Bench b;
  b.Run(state, "var i, x; x = 0; for (i = 0; i < 1000000; i += 1) x += bench_abs(-i); return x",
        499999500000.0);
}
BENCHMARK(BM_BuiltinCalls)->Unit(benchmark::kMillisecond);

// The built-in functions themselves, as games call them.
void BM_BuiltinAbsSqrt(benchmark::State& state) {
  double expect = 0;
  for (int i = 0; i < 1000000; ++i)
    expect += std::fabs(-static_cast<double>(i)) + std::sqrt(static_cast<double>(i));
  Bench b;
  b.Run(state, "var i, x; x = 0; for (i = 0; i < 1000000; i += 1) x += abs(-i) + sqrt(i); return x",
        expect);
}
BENCHMARK(BM_BuiltinAbsSqrt)->Unit(benchmark::kMillisecond);

// 242785 script calls.
void BM_Fibonacci(benchmark::State& state) {
  Bench b;
  b.Run(state, "return fib(25)", 75025);
}
BENCHMARK(BM_Fibonacci)->Unit(benchmark::kMillisecond);

void BM_ScriptCalls(benchmark::State& state) {
  Bench b;
  b.Run(state, "var i, x; x = 0; for (i = 0; i < 100000; i += 1) x = bench_add(x, i); return x",
        4999950000.0);
}
BENCHMARK(BM_ScriptCalls)->Unit(benchmark::kMillisecond);

}  // namespace
