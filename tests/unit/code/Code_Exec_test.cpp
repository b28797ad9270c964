#include "code/Code_Exec.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "CodeTestSupport.h"
#include "code/Script_Main.h"
#include "game/Game.h"

namespace zorvex {
namespace {

using testing::ExpressionError;
using testing::ProgramError;
using testing::TestLookup;
using testing::TestWorld;

// What the test built-ins record: the arguments of rec(), in call order.
std::vector<std::string> g_log;

std::string Show(const RValue& v) {
  if (v.IsString()) return "'" + v.str + "'";
  char b[64];
  std::snprintf(b, sizeof b, "%.17g", v.real);
  return b;
}

// rec(x): records x and returns it.
void Rec(CGame&, CInstanceCore*, CInstanceCore*, int argc, RValue* args, RValue& result) {
  std::string s = argc > 0 ? Show(args[0]) : "";
  if (s.size() > 2 && s.front() == '\'') s = s.substr(1, s.size() - 2);
  g_log.push_back(s);
  if (argc > 0) result = args[0];
}
// sum(...): the sum of the real parts of its arguments.
void Sum(CGame&, CInstanceCore*, CInstanceCore*, int argc, RValue* args, RValue& result) {
  double s = 0;
  for (int i = 0; i < argc; ++i)
    s += args[i].real;
  result.SetReal(s);
}
// create(object): a new instance at the end of the active list; returns its id.
void Create(CGame& game, CInstanceCore*, CInstanceCore*, int, RValue* args, RValue& result) {
  auto* w = static_cast<TestWorld*>(game.language.world);
  int32_t id = 200000 + w->ActiveCount();
  w->Add(id, static_cast<int32_t>(args[0].real));
  result.SetReal(id);
}
// destroy(id): marks the instance.
void Destroy(CGame& game, CInstanceCore*, CInstanceCore*, int, RValue* args, RValue&) {
  if (CInstanceCore* i = game.language.world->FindById(static_cast<int32_t>(args[0].real)))
    i->marked = true;
}

bool GetId(CGame&, CInstanceCore* inst, int32_t, RValue& out) {
  out.SetReal(inst->id);
  return true;
}
bool GetInstanceCount(CGame& game, CInstanceCore*, int32_t, RValue& out) {
  out.SetReal(game.language.world->ActiveCount());
  return true;
}
template <int I>
bool GetArgument(CGame& game, CInstanceCore*, int32_t, RValue& out) {
  out = game.language.arguments[I];
  return true;
}
template <int I>
bool SetArgument(CGame& game, CInstanceCore*, int32_t, const RValue& v) {
  game.language.WriteArgument(I, v);
  return true;
}
bool GetArgumentIndexed(CGame& game, CInstanceCore*, int32_t index, RValue& out) {
  out = game.language.arguments[index >= 0 && index < 16 ? index : 0];
  return true;
}

template <int... I>
void RegisterArguments(CBuiltinVariableTable& t, std::integer_sequence<int, I...>) {
  (t.Register("argument" + std::to_string(I), GetArgument<I>, SetArgument<I>), ...);
}

// A game with the test built-ins, a few scripts, an extension function and a room of four
// instances: 100001 (object 0, self), 100002 (object 1, other), 100003 (object 1) and 100004
// (object 2, a child of object 1).
class Interpreter : public ::testing::Test {
 protected:
  void SetUp() override {
    g_log.clear();
    lang.functions = &table;
    lang.lookup = &lookup;
    lang.world = &world;
    table.Register("rec", Rec, 1);
    table.Register("sum", Sum, -1);
    table.Register("create", Create, 1);
    table.Register("destroy", Destroy, 1);
    RegisterArguments(lang.builtins, std::make_integer_sequence<int, 16>());
    lang.builtins.Register("argument", GetArgumentIndexed);
    lang.builtins.Register("id", GetId);
    lang.builtins.Register("instance_count", GetInstanceCount);
    lookup.extensions[3] = {"ext", 2};
    lookup.AddScript("add", "return argument0 + argument1");
    lookup.AddScript("twice", "return argument0 * 2");
    lookup.AddScript("noret", "x = 5");
    lookup.AddScript("empty_script", "");
    lookup.AddScript("fail", "return 1 / argument0");
    lookup.AddScript("nested_fail", "return fail(0)");
    lookup.AddScript("recur",
                     "if (argument0 <= 0) return 0; return argument0 + recur(argument0 - 1)");
    lookup.AddScript("setarg", "argument0 = 99; return argument0");
    lookup.AddScript("argcount", "return argument2");
    lookup.AddScript("locals", "var n; if (argument0) n = 5; return n");
    lookup.AddScript("forloop", "y = 7; for (i = 0; i < 3; i += 1) { }");
    lookup.AddScript("depth", "return depth(argument0 + 1)");
    lookup.AddScript("stops", "y = 2; exit; y = 3");
    lookup.AddScript("breaks", "z = 1; break; z = 2");
    lookup.AddScript("argidx", "return argument[1]");
    lookup.AddScript("set5", "argument5 = 'x'; return 0");
    lookup.AddScript("get5", "return argument5");
    lookup.AddScript("withself", "with (other) return id");
    ASSERT_TRUE(CompileScripts(lang)) << lang.error.message;
    world.parent[2] = 1;
    self = world.Add(100001, 0);
    other = world.Add(100002, 1);
    world.Add(100003, 1);
    world.Add(100004, 2);
  }

  // Runs a program with the result slot preset to -999; returns "=value" or "!message".
  std::string Run(const std::string& src, bool expression = false) {
    CCode code(src, expression);
    if (!code.Compile(lang)) return "!" + lang.error.message;
    RValue slot(-999.0);
    if (!code.Execute(lang, self, other, slot)) return "!" + lang.error.message;
    return "=" + Show(slot);
  }
  std::string Log() {
    std::string s;
    for (const std::string& e : g_log)
      s += (s.empty() ? "" : " ") + e;
    return s;
  }

  CGame game;
  CLanguage& lang = game.language;
  CFunctionTable table;
  TestLookup lookup;
  TestWorld world;
  CInstanceCore* self = nullptr;
  CInstanceCore* other = nullptr;
};

struct Case {
  const char* src;
  // "=value" for success with the final result slot; "!col:message" for a failure at line 1;
  // "!!message" for an exact failure message; "~text" for a failure whose message ends so.
  const char* expect;
  const char* log = nullptr;  // the rec() calls, when checked
  bool uninitialised_as_zero = false;
};

const Case kCases[] = {
    // Results and arithmetic
    {"x = 1 + 2", "=3"},
    {"return 7", "=7"},
    {"x = 1 y = 2", "=2"},
    {"x = 3; y = x * 2; return y + 1", "=7"},
    {"a = 'ab'; b = a + 'cd'", "='abcd'"},
    {"s = ''; repeat (3) s += 'x'", "='xxx'"},
    {"x = 10; x -= 3; x *= 2; x /= 7", "=2"},
    {"x = 6; x |= 1; x &= 5; x ^= 3", "=6"},
    {"a = -7; b = 2; return a div b", "=-3"},
    {"a = -7; b = 2; return a mod b", "=-1"},
    {"a = 7.5; return a mod 2", "=1.5"},
    {"a = 1; return a << 64", "=0"},
    {"a = 1; return a << 63", "=-9.2233720368547758e+18"},
    {"a = 2.5; return a | 0", "=2"},
    {"a = 3.5; return a | 0", "=4"},
    {"a = 3; return a * 'ab'", "='ababab'"},
    {"n = -2; return n * 'ab'", "=''"},
    {"a = 'B'; return a < 'a'", "=1"},
    {"a = 'ab'; return a < 'abc'", "=1"},
    {"a = 0.5; return a && 1", "=1"},
    {"a = 0.5; return !a", "=0"},
    {"a = 0.49; return !a", "=1"},
    {"a = 2; return a < 3 < 1", "=0"},
    {"a = 1; return a = 1", "=1"},
    {"a = 1; return a <> 1", "=0"},
    {"a = 0; return a xor 1", "=1"},
    {"a = 5; return ~a", "=-6"},
    {"a = 1; return -a", "=-1"},
    {"s = 'ab'; t = 'c'; return t + s", "='cab'"},
    {"a = 'abc'; return a == 'abc'", "=1"},
    {"a = 0 && rec(1)", "=0", "1"},
    {"a[1] = 'x'; a[1] += 'y'; return a[1]", "='xy'"},
    {"a[0] = 3; a += 1; return a[0]", "=4"},
    // Loops whose body is one assignment: the result is still the last value assigned
    {"t = 5; repeat (0) s += 'x'", "=5"},
    {"s = 'q'; repeat (2) s += 'z'", "='qzz'"},
    {"var s; s = 'q'; repeat (2) s += 'z'", "='qzz'"},
    {"x = 1; repeat (2) x = x + 1", "=3"},
    {"n = 'aaa'; s = ''; while (s != n) s += 'a'", "='aaa'"},
    {"s = 0; for (i = 0; i < 4; i += 1) s += i", "=6"},
    {"for (i = 0; i < 3; i += 1) i += 1", "=3"},  // the step changes the target after the body
    {"s = 'a'; for (i = 0; i < 3; i += 1) s = s + 'b'", "='abbb'"},
    {"repeat (2) nv += 1", "!12:Unknown variable nv"},
    {"x = 2; repeat (3) x *= 'ab'", "!19:Wrong type of arguments to *."},
    // The argument array read in place
    {"argument0 = 3; argument1 = 'a'; return argument0 < 4", "=1"},
    {"argument1 = 'a'; return argument1 < 4", "!37:Cannot compare arguments."},
    {"argument2 = 5; return other.argument2 * 2 + self.argument2", "=15"},
    {"argument0 = 3; return argument0 + setarg(1) + argument0", "=105"},
    // In-place updates and counted loops behave as the plain steps would
    {"x = x + 1", "!5:Unknown variable x"},
    {"x = x + 1; return x", "=1", nullptr, true},
    {"s = 'a'; s = s + 'b'; s = s + s; return s", "='abab'"},
    {"x = 5; x = x - x; return x", "=0"},
    {"s = 'a'; s = s - 1", "!18:Wrong type of arguments to -."},
    {"x = 3; x = x < 4; return x", "=1"},
    {"a[2] = 5; a[2] += 1; return a[2]", "=6"},
    {"a[1,2] = 's'; a[1,2] += 't'; return a[1,2]", "='st'"},
    {"a[2] += 1", "!1:Unknown variable a or array index out of bounds"},
    {"a[2] = 1; a[5] += 1", "!11:Unknown variable a or array index out of bounds"},
    {"a[3] = 'x'; a[1] = 2; return a[1] + a[2]", "=2"},
    {"global.g[3] = 4; return global.g[3]", "=4"},
    {"var v; v[2] = 7; return v[2] + v", "=7"},
    {"s = 'a'; for (i = 0; i < 3; i += 1) s += 'b'; return s", "='abbb'"},
    {"for (i = 0; i < 3; i += 1) i = 'x'", "!20:Wrong type of arguments to +."},
    {"k = 2; n = 0; for (i = 0; i < 10; i += k) n += 1; return n", "=5"},
    {"n = 0; for (i = 10; i > 0; i -= 3) n += i; return n", "=22"},
    {"n = 0; for (i = 0; i < 10; i += 1) { i += 1; n += 1 } return n", "=5"},
    {"for (i = 0; i < 2; i += 1) with (other) x = i", "!45:Unknown variable i"},
    {"n = 0; for (i = 0; i < 3; i += 1) with (other) n2 = 1; return i", "=3"},
    {"i = 0; while (i < 3) i = i + 1; return i", "=3"},
    // Errors in expressions and assignments
    {"a = 0; b = (a != 0) && (10 / a > 1)", "!30:Division by 0."},
    {"s = 'a'; s -= 1", "!10:Wrong type of arguments to -."},
    {"x += 1", "!1:Unknown variable x"},
    {"a[40000] = 1", "!3:Array index >= 32000"},
    {"a[-1] = 1", "!3:Negative array index"},
    {"a['k'] = 1", "!3:Wrong type of array index"},
    {"a[1, 32000] = 1", "!6:Array index >= 32000"},
    {"noone.x = 1", "!1:Cannot assign to the variable"},
    {"y = noone.x", "!11:Unknown variable x"},
    {"y = a[3]", "!5:Unknown variable a or array index out of bounds"},
    {"a[3] = 1; y = a[4]", "!15:Unknown variable a or array index out of bounds"},
    {"a[3] = 1; return a", "=0"},
    {"a = 7; return a[0] + a[0,0]", "=14"},
    {"a[2,5] = 1; return a[1,0]", "!20:Unknown variable a or array index out of bounds"},
    {"a[2,5] = 'q'; return a[2,5]", "='q'"},
    {"x = 'obj'; y = x.z", "!16:Wrong type of variable index"},
    {"s = 'a'; return -s", "!18:Wrong type of arguments to unary operator."},
    {"s = 'a'; return s + 1", "!21:Wrong type of arguments to +."},
    {"s = 'a'; return s < 1", "!21:Cannot compare arguments."},
    {"a = 1; b = 0; return a / b", "!26:Division by 0."},
    {"a = 1; b = 0; return a mod b", "!28:Modulo by 0."},
    {"a = 1; b = 0; return a div b", "!28:Division by 0."},
    {"a = 1; b = 0; a /= b", "!15:Division by 0."},
    {"a = 'x'; a *= 2", "!10:Wrong type of arguments to *."},
    {"id = 5", "!1:Cannot assign to the variable"},
    {"y = x", "!5:Unknown variable x"},
    // Statements
    {"if (0.5) x = 1 else x = 2", "=2"},
    {"a = 0.5; if (a) x = 1", "=0.5"},
    {"a = 0.51; if (a) x = 1", "=1"},
    {"a = 0.5; n = 0; while (a) { n += 1; if (n >= 3) break }", "=3"},
    {"n = 0; do n += 1 until n >= 4", "=4"},
    {"n = 0; do { n += 1; if (n < 3) continue; break } until false", "=3"},
    {"s = 0; for (i = 0; i < 5; i += 1) s += i", "=10"},
    {"s = 0; for (i = 0; i < 5; i += 1) { if (i == 2) continue; if (i == 4) break; s += i }", "=4"},
    {"n = 0; repeat (3.5) n += 1", "=4"},
    {"n = 0; repeat (2.5) n += 1", "=2"},
    {"n = 7; repeat (-1) n += 1", "=7"},
    {"n = 0; repeat (5) { n += 1; if (n == 2) break }", "=2"},
    {"repeat ('a') x = 1", "!9:Repeat count must be a number"},
    {"if ('a') x = 1", "!5:Expression expected"},
    {"while ('a') x = 1", "!8:Boolean expression expected"},
    {"do x = 1 until 'a'", "!16:Boolean expression expected"},
    {"for (i = 0; 'a'; i += 1) x = 1", "!13:Expression expected"},
    {"a = 1; if (a) ;", "!15:Statement expected."},
    {"a = 0; if (a) ;", "=0"},
    {"for (; i < 3; i += 1) x = 1", "!6:Statement expected."},
    {"exit; x = 1", "=-999"},
    {"x = 1; exit; x = 2", "=1"},
    {"return 'r'; x = 2", "='r'"},
    {"x = 4; break; x = 5", "=4"},
    {"x = 4; continue", "=4"},
    {"n = 0; while (n < 3) { n += 1; if (n == 2) exit; rec(n) }", "=2", "1"},
    {"case 1: x = 1", "!6:Case statement only allowed inside switch statement."},
    {"default: x = 1", "!8:Default statement only allowed inside switch statement."},
    {"switch (1) { case 1: { case 2: x = 1 } }",
     "!29:Case statement only allowed inside switch statement."},
    {"var a, b; globalvar c; x = 1", "=1"},
    // switch
    {"switch (2) { case 1: rec(1) case 2: rec(2) case 3: rec(3) }", "=3", "2 3"},
    {"switch (2) { case 1: rec(1) case 2: rec(2) break; case 3: rec(3) }", "=2", "2"},
    {"switch (5) { default: rec(1) case 5: rec(2) }", "=2", "1 2"},
    {"switch ('') { case 0: rec(1) }", "=-999", ""},
    {"switch ('b') { case 'a': rec(1) case 'b': rec(2) }", "=2", "2"},
    {"switch (1) { case rec(7): rec(1) case rec(1): rec(2) case rec(9): rec(3) }", "=3", "7 1 2 3"},
    {"n = 0; while (n < 3) { n += 1; switch (n) { case 2: continue } rec(n) }", "=3", "1 3"},
    {"switch (1) { case 1: exit } rec(5)", "=-999", ""},
    {"switch (1) { case 'a': rec(1) }", "=-999", ""},
    {"switch (1) { case 1: case 2: rec(12) }", "=12", "12"},
    // with
    {"with (all) rec(id)", "=100004", "100001 100002 100003 100004"},
    {"with (1) rec(id)", "=100004", "100002 100003 100004"},
    {"with (2) rec(id)", "=100004", "100004"},
    {"with (3) rec(id)", "=-999", ""},
    {"with (other) rec(id)", "=100002", "100002"},
    {"with (other) rec(other.id)", "=100001", "100001"},
    {"with (self) rec(other.id)", "=100001", "100001"},
    {"with (100003) rec(id)", "=100003", "100003"},
    {"with (100099) rec(id)", "=-999", ""},
    {"with (noone) rec(1)", "=-999", ""},
    {"with (-8) rec(1)", "=-999", ""},
    {"with (global) rec(1)", "!6:Cannot use global in with statement."},
    {"with (local) rec(1)", "!6:Cannot use local in with statement."},
    {"with ('a') rec(1)", "!7:Object id expected"},
    {"n = 0; while (n < 5) { n += 1; with (other) break; rec(n) }", "=1", ""},
    {"n = 0; while (n < 3) { n += 1; with (all) break; rec(n) }", "=3", "1 2 3"},
    {"with (all) { if (id == 100002) continue; rec(id) }", "=100004", "100001 100003 100004"},
    {"with (all) { rec(id) exit } rec(0)", "=100001", "100001"},
    {"with (1) { x = id } return (100002).x + (100004).x", "=200006"},
    {"global.n = 0; with (all) { create(0) global.n += 1 } return global.n", "=4"},
    {"with (all) { if (id == 100001) destroy(100003); rec(id) }", "=100004",
     "100001 100002 100004"},
    {"a = 5; with (other) a = 6; return a", "=5"},
    {"with (other) { return 3 } rec(1)", "=3", ""},
    {"with (1) with (other) rec(id)", "=100001", "100001 100001 100001"},
    {"with (other) with (other) rec(id)", "=100001", "100001"},
    // Owners
    {"other.x = 4; return other.x", "=4"},
    {"x = 3; return self.x", "=3"},
    {"global.g = 5; return global.g", "=5"},
    {"globalvar g; g = 7; return global.g", "=7"},
    {"g = 1; globalvar g; return g", "=0"},
    {"global.g = 2; globalvar g; g += 1; return global.g", "=3"},
    {"var v; v = 3; return self.v", "!27:Unknown variable v"},
    {"var v; v = 3; return local.v", "=3"},
    {"(1).x = 5; return (100002).x", "=5"},
    {"1.x = 5", "!3:Variable name expected."},  // "1." is a number,
    {"all.x = 2; return (100004).x", "=2"},
    {"return all.id", "=100001"},
    {"return (1).id", "=100002"},
    {"return (5).id", "!12:Unknown variable id"},
    {"all.x = 1; return x", "=1"},
    {"obj = 100003; obj.w = 8; return (100003).w", "=8"},
    {"ids[0] = 100002; ids[0].q = 1; return (100002).q", "=1"},
    {"if (0) globalvar h; h = 3; return global.h", "!42:Unknown variable h"},
    {"o = other; o.k = 1; return other.k", "=1"},
    // uninitialised_as_zero
    {"return y", "=0", nullptr, true},
    {"x += 1; return x", "=1", nullptr, true},
    {"return a[5,5]", "=0", nullptr, true},
    {"noone.x = 1", "!1:Cannot assign to the variable", nullptr, true},
    {"var v; v += 2; return v", "=2", nullptr, true},
    {"a[3] = 1; a[5] += 2; return a[5]", "=2", nullptr, true},
    {"return noone.x + all.nothing", "=0", nullptr, true},
    // Calls
    {"rec(5)", "=5", "5"},
    {"return sum(1, 2, 3) + sum()", "=6"},
    {"x = sum(1, 'a')", "=1"},
    {"return add(2, 3)", "=5"},
    {"return add(2)", "=2"},
    {"argument0 = 'keep'; x = add(1, 2); return argument0", "='keep'"},
    {"return noret() + 1", "=6"},
    {"return empty_script()", "=0"},
    {"x = 9; empty_script()", "=9"},
    {"x = 1; add(5, 6)", "=11"},
    {"return recur(4)", "=10"},
    {"return setarg(1) + argument0", "=99"},
    {"return argcount(1, 2)", "=0"},
    {"return argcount(1, 2, 3)", "=3"},
    {"return forloop()", "=7"},
    {"return stops() + 1", "=3"},
    {"return breaks() + 1", "=2"},
    {"return argidx(5, 6)", "=6"},
    // Argument buffers are reused: entries past a call's arguments still read as 0
    {"set5(); return get5()", "=0"},
    {"x = add(1, 2, 3, 4, 5, 6, 7); return argcount(1, 2)", "=0"},
    {"x = set5() + get5(1)", "=0"},
    {"return withself()", "=100002"},
    {"return ext(1, 2)", "=3003"},
    {"return add(add(1, 2), add(3, add(4, 5)))", "=15"},
    {"return twice('a')", "!!In script twice:\r" /* then the script's own message */},
    {"x = nested_fail()", "!!In script nested_fail:\rIn script fail:\r"},
    {"locals(1); return locals(0)", "!!In script locals:\r"},
    {"return depth(0)", "~Calls nested too deeply."},
};

TEST_F(Interpreter, ProgramsAndTheirResults) {
  // Messages of failures inside scripts, composed from the scripts' own texts.
  auto script_error = [](const char* src, int col, const char* m) {
    return ProgramError(1, src, col, m);
  };
  const std::string twice =
      script_error("return argument0 * 2", 20, "Wrong type of arguments to *.");
  const std::string fail = script_error("return 1 / argument0", 12, "Division by 0.");
  const std::string locals =
      script_error("var n; if (argument0) n = 5; return n", 37, "Unknown variable n");
  int n = 0;
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.src);
    ++n;
    // Globals, variables and the room start over for every program.
    lang.globals.Initialise();
    for (auto& inst : world.active)
      inst->variables.Clear();
    while (world.ActiveCount() > 4)
      world.active.pop_back();
    for (auto& inst : world.active)
      inst->marked = false;
    g_log.clear();
    for (int i = 0; i < kArgumentCount; ++i)
      lang.arguments[i].SetReal(0);
    lang.uninitialised_as_zero = c.uninitialised_as_zero;
    std::string got = Run(c.src);
    std::string e = c.expect;
    if (e[0] == '=') {
      EXPECT_EQ(got, e);
    } else if (e.rfind("!!", 0) == 0) {
      std::string prefix = e.substr(2);
      std::string tail = prefix.find("twice") != std::string::npos    ? twice
                         : prefix.find("fail") != std::string::npos   ? fail
                         : prefix.find("locals") != std::string::npos ? locals
                                                                      : "";
      EXPECT_EQ(got, "!" + prefix + tail);
    } else if (e[0] == '~') {
      ASSERT_GT(got.size(), e.size());
      EXPECT_EQ(got.substr(got.size() - (e.size() - 1)), e.substr(1));
      EXPECT_EQ(got.rfind("!In script depth:\rIn script depth:\r", 0), 0u);
    } else {
      size_t colon = e.find(':');
      int col = std::stoi(e.substr(1, colon - 1));
      std::string line = c.src;
      line = line.substr(0, line.find('\r'));
      EXPECT_EQ(got, "!" + ProgramError(1, line, col, e.substr(colon + 1)));
    }
    if (c.log) {
      EXPECT_EQ(Log(), c.log);
    }
  }
  EXPECT_GE(n, 150);
}

TEST_F(Interpreter, FailedCompoundAssignmentLeavesTheVariable) {
  EXPECT_EQ(Run("s = 'a'; s -= 1"),
            "!" + ProgramError(1, "s = 'a'; s -= 1", 10, "Wrong type of arguments to -."));
  RValue v;
  ASSERT_TRUE(self->variables.GetValue(lang.names.Find("s"), 0, v, false));
  EXPECT_EQ(v, RValue("a"));
}

TEST_F(Interpreter, ScriptLocalsAreDestroyedAndArgumentsRestored) {
  lang.arguments[0] = RValue("outer");
  lang.arguments[15] = RValue(15.0);
  EXPECT_EQ(Run("return add(1, 2)"), "=3");
  EXPECT_EQ(lang.arguments[0], RValue("outer"));
  EXPECT_EQ(lang.arguments[15], RValue(15.0));
  EXPECT_EQ(lang.arguments[1], RValue(0.0));
  EXPECT_EQ(lang.exec.arg_depth, 0);
  EXPECT_EQ(lang.exec.depth, 0);
  // The failed call leaves nothing behind either.
  EXPECT_NE(Run("x = nested_fail()"), "=0");
  EXPECT_EQ(lang.arguments[0], RValue("outer"));
  EXPECT_EQ(lang.exec.arg_depth, 0);
  EXPECT_EQ(lang.exec.depth, 0);
}

TEST_F(Interpreter, CallScriptFromAFunction) {
  // As script_execute calls it: any argument pointer, the arguments moved in.
  RValue args[3] = {RValue(5.0), RValue(6.0), RValue("unused")};
  lang.arguments[0] = RValue("caller");
  RValue slot;
  ASSERT_TRUE(CallScript(lang, 0, self, other, slot, args, 2));
  EXPECT_EQ(slot, RValue(11.0));
  EXPECT_EQ(lang.arguments[0], RValue("caller"));
  EXPECT_EQ(lang.exec.arg_depth, 0);
  EXPECT_FALSE(CallScript(lang, 99, self, other, slot, args, 0));  // no such script
  RValue zero(0.0);
  EXPECT_FALSE(CallScript(lang, 4, self, other, slot, &zero, 1));  // fail: 1 / 0
  EXPECT_EQ(slot, RValue("ERROR"));
  EXPECT_EQ(lang.error.message,
            "In script fail:\r" + ProgramError(1, "return 1 / argument0", 12, "Division by 0."));
}

TEST_F(Interpreter, ExpressionsAndConstantCode) {
  EXPECT_EQ(Run("3 4", true), "=3");
  EXPECT_EQ(Run("", true), "=0");
  EXPECT_EQ(Run("add(1, 2) * 2", true), "=6");
  EXPECT_EQ(Run("empty_script()", true), "=0");  // a fresh result, not the caller's slot
  EXPECT_EQ(Run("noret()", true), "=5");
  EXPECT_EQ(Run("y + 1", true), "!" + ExpressionError("y + 1", 1, "Unknown variable y"));
  CCode constant("10", true);
  ASSERT_TRUE(constant.Compile(lang));
  RValue r;
  EXPECT_TRUE(constant.Execute(lang, nullptr, nullptr, r));  // no instance needed
  EXPECT_EQ(r, RValue(10.0));
}

TEST_F(Interpreter, ExecuteEntryPoints) {
  CCode uncompiled("x = 1", false);
  RValue r;
  EXPECT_FALSE(uncompiled.Execute(lang, self, other, r));
  EXPECT_EQ(lang.error.message,
            ProgramError(1, "x = 1", 1, "Internal Error: Executing non-compiled code."));
  CCode code("x = 1", false);
  ASSERT_TRUE(code.Compile(lang));
  EXPECT_FALSE(code.Execute(lang, self, nullptr, r));
  EXPECT_EQ(lang.error.message,
            ProgramError(1, "x = 1", 1, "Internal Error: Executing code for nil instance."));
  // Evaluate turns a failure into the string ERROR.
  CCode bad("y = q", false);
  ASSERT_TRUE(bad.Compile(lang));
  EXPECT_FALSE(bad.Evaluate(lang, self, other, r));
  EXPECT_EQ(r, RValue("ERROR"));
  // Execute and report shows the error in context and clears the flag.
  std::string shown;
  game.errors.settings.show_errors = true;
  game.errors.show_window = [&](const std::string& m, bool) {
    shown = m;
    return false;
  };
  game.errors.event_name = [](int32_t, int32_t) { return std::string("Step Event"); };
  game.errors.object_name = [](int32_t) { return std::string("obj_player"); };
  EXPECT_FALSE(bad.ExecuteAndReport(lang, self, other, r));
  EXPECT_FALSE(lang.error.recorded);
  EXPECT_EQ(shown,
            "ERROR in\r\naction number 1\r\nof Step Event\r\nfor object obj_player:\r\n\r\n" +
                ProgramError(1, "y = q", 5, "Unknown variable q"));
  EXPECT_TRUE(game.errors.occurred);
}

TEST_F(Interpreter, WithAllSkipsInstancesCreatedByTheBody) {
  EXPECT_EQ(Run("with (all) create(1)"), "=200007");
  EXPECT_EQ(world.ActiveCount(), 8);
  // The created instances join the family lists but were not visited.
  g_log.clear();
  EXPECT_EQ(Run("with (1) rec(id)"), "=200007");
  EXPECT_EQ(Log(), "100002 100003 100004 200004 200005 200006 200007");
}

TEST_F(Interpreter, MarkedInstancesAreSkippedEverywhere) {
  world.Active(2)->marked = true;  // 100003
  EXPECT_EQ(Run("with (100003) rec(1)"), "=-999");
  EXPECT_EQ(Run("(100003).x = 1"), "=1");  // succeeds, writes nothing
  EXPECT_EQ(world.Active(2)->variables.Count(), 0);
  EXPECT_EQ(Run("return (100003).id"),
            "!" + ProgramError(1, "return (100003).id", 17, "Unknown variable id"));
  world.Active(0)->marked = true;
  EXPECT_EQ(Run("return all.id"), "=100002");
}

TEST_F(Interpreter, GameConstantsAreDefinedInOrder) {
  std::string shown;
  lang.show_message = [&](const std::string& m) { shown = m; };
  EXPECT_TRUE(DefineGameConstants(lang, {"  big ", "c_red", "twice_big"},
                                  {"100", "5", "big * 2 + sum(1, 1)"}));
  EXPECT_EQ(Run("return big + c_red + twice_big"), "=307");
  EXPECT_FALSE(DefineGameConstants(lang, {"2fast"}, {"1"}));
  EXPECT_EQ(shown, "Constant name 2fast  is not valid.");
  EXPECT_FALSE(DefineGameConstants(lang, {"ok_name", "bad_value"}, {"1", "x +"}));
  EXPECT_EQ(shown, "Value for constant bad_value  is not valid.");
  EXPECT_FALSE(DefineGameConstants(lang, {""}, {"1"}));
  EXPECT_EQ(shown, "Constant name   is not valid.");
  EXPECT_FALSE(DefineGameConstants(lang, {"a-b"}, {"1"}));
  // A value that compiles but fails to evaluate is refused as well.
  EXPECT_FALSE(DefineGameConstants(lang, {"unknown"}, {"nothing_here + 1"}));
  EXPECT_EQ(shown, "Value for constant unknown  is not valid.");
}

}  // namespace
}  // namespace zorvex
