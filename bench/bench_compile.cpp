// Compiling a large program, and variable reads and writes through every kind of owner.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "code/Code_Instance.h"
#include "code/Code_Language.h"
#include "code/Code_Main.h"
#include "code/Code_Variable.h"
#include "game/Game.h"

namespace {

using namespace zorvex;

void Nothing(CGame&, CInstanceCore*, CInstanceCore*, int, RValue*, RValue&) {}

// About 5000 lines of the sort of code games carry: assignments, conditions, loops, calls,
// arrays and owners.
std::string LargeProgram() {
  std::string s;
  for (int i = 0; i < 5000; ++i) {
    std::string n = std::to_string(i % 97);
    switch (i % 10) {
      case 0:
        s += "var tmp" + n + ", k" + n + ";\r\n";
        break;
      case 1:
        s += "x" + n + " = x" + n + " + speed * 2 - 1 / (3 + y" + n + ");\r\n";
        break;
      case 2:
        s += "if (x" + n + " > 10 && !flag) { hp -= 1 } else hp += 2\r\n";
        break;
      case 3:
        s += "for (k" + n + " = 0; k" + n + " < 10; k" + n + " += 1) grid[k" + n + ", 2] = k" + n +
             "\r\n";
        break;
      case 4:
        s += "name = \"player \" + 'one' // a comment\r\n";
        break;
      case 5:
        s += "with (other) { score += 10; other.hits[3] = $ff }\r\n";
        break;
      case 6:
        s += "f(x" + n + ", y" + n + ", 1.5, \"s\", c_red, vk_left);\r\n";
        break;
      case 7:
        s += "while (tmp" + n + " < 5) tmp" + n + " += 1\r\n";
        break;
      case 8:
        s += "switch (state) { case 1: state = 2 break; default: state = 0 }\r\n";
        break;
      case 9:
        s += "global.total = global.total + (obj.x - self.y) mod 7\r\n";
        break;
    }
  }
  return s;
}

void BM_CompileLargeProgram(benchmark::State& state) {
  std::string src = LargeProgram();
  CGame game;
  game.functions.Register("f", Nothing, -1);
  game.language.builtins.Register("speed", nullptr);
  int lines = 0;
  for (char c : src)
    lines += c == '\r';
  for (auto _ : state) {
    CCode code(src, false);
    if (!code.Compile(game.language)) state.SkipWithError(game.language.error.message.c_str());
    benchmark::DoNotOptimize(code.Root().children.size());
  }
  state.counters["lines"] = lines;
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * src.size()));
}
BENCHMARK(BM_CompileLargeProgram)->Unit(benchmark::kMillisecond);

// A room of 200 instances of four objects.
class BenchWorld : public CInstanceWorld {
 public:
  BenchWorld() {
    for (int i = 0; i < 200; ++i) {
      auto inst = std::make_unique<CInstanceCore>();
      inst->id = 100001 + i;
      inst->object_index = i % 4;
      family_[i % 4].push_back(inst.get());
      active_.push_back(std::move(inst));
    }
  }
  int ActiveCount() const override { return static_cast<int>(active_.size()); }
  CInstanceCore* Active(int i) const override { return active_[static_cast<size_t>(i)].get(); }
  int FamilyCount(int32_t o) const override {
    return o >= 0 && o < 4 ? static_cast<int>(family_[o].size()) : 0;
  }
  CInstanceCore* Family(int32_t o, int i) const override {
    return family_[o][static_cast<size_t>(i)];
  }
  CInstanceCore* FindById(int32_t id) override {
    int i = id - 100001;
    return i >= 0 && i < ActiveCount() ? Active(i) : nullptr;
  }

 private:
  std::vector<std::unique_ptr<CInstanceCore>> active_;
  std::vector<CInstanceCore*> family_[4];
};

void BM_VariableAccess(benchmark::State& state) {
  int32_t owner = static_cast<int32_t>(state.range(0));
  CGame game;
  CLanguage& lang = game.language;
  BenchWorld world;
  lang.world = &world;
  // Instances with a dozen variables each, the one used last.
  std::vector<int32_t> ids;
  for (int i = 0; i < 12; ++i)
    ids.push_back(lang.names.FindOrAdd("v" + std::to_string(i)));
  int32_t id = ids.back();
  for (int i = 0; i < world.ActiveCount(); ++i)
    for (int32_t v : ids)
      world.Active(i)->variables.SetValue(v, 0, RValue(1.0));
  for (int32_t v : ids)
    lang.globals.Set(v, 0, RValue(1.0));
  CVariableContext ctx;
  ctx.self = world.Active(10);
  ctx.other = world.Active(20);
  for (int32_t v : ids)
    WriteVariable(lang, ctx, kOwnerLocal, v, 0, RValue(1.0));
  RValue value(0.0);
  for (auto _ : state) {
    ReadVariable(lang, ctx, owner, id, 0, value);
    value.real += 1;
    WriteVariable(lang, ctx, owner, id, 0, value);
  }
  lang.ReleaseLocals(ctx.locals);
}
BENCHMARK(BM_VariableAccess)
    ->ArgName("owner")
    ->Arg(-1)      // self
    ->Arg(-2)      // other
    ->Arg(-5)      // global
    ->Arg(-6)      // unqualified
    ->Arg(-7)      // local
    ->Arg(2)       // an object: the first instance read, all 50 written
    ->Arg(100150)  // an instance id
    ->Arg(-3);     // all 200 instances written

}  // namespace
