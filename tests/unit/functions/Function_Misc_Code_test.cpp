// execute_string, execute_file, variables by name and the process and clipboard services.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "Function_Test_Call.h"
#include "code/Code_Instance.h"
#include "code/Code_Main.h"
#include "functions/Function_Misc.h"
#include "game/Game.h"
#include "platform/Platform_Dialog.h"
#include "platform/Platform_Process.h"
#include "platform/Platform_Window.h"

namespace zorvex {
namespace {

namespace fs = std::filesystem;
using testing::FunctionCaller;

template <int N>
bool GetArgument(CGame& game, CInstanceCore*, int32_t, RValue& out) {
  out = game.language.arguments[N];
  return true;
}
template <int N>
bool SetArgument(CGame& game, CInstanceCore*, int32_t, const RValue& v) {
  game.language.arguments[N] = v;
  return true;
}
bool GetSpeed(CGame&, CInstanceCore*, int32_t, RValue& out) {
  out.SetReal(2.5);
  return true;
}

template <int... N>
void RegisterArguments(CLanguage& lang, std::integer_sequence<int, N...>) {
  (lang.builtins.Register("argument" + std::to_string(N), GetArgument<N>, SetArgument<N>), ...);
}

// Programs run for one instance, with argument0 ... argument15 and a read-only built-in
// variable in place, and every error window recorded.
class CodeText : public ::testing::Test {
 protected:
  CodeText() {
    RegisterArguments(game.language, std::make_integer_sequence<int, 16>());
    game.language.builtins.Register("fixed_speed", GetSpeed);
    auto d = std::make_unique<CScriptedDialogService>();
    dialogs = d.get();
    game.dialogs = std::move(d);
    self.id = 100001;
  }

  RValue Run(const std::string& source) {
    CCode code(source, false);
    if (!code.Compile(game.language)) {
      ADD_FAILURE() << game.language.error.message;
      return {};
    }
    RValue r;
    ok = code.Execute(game.language, &self, &self, r);
    return r;
  }

  std::vector<std::string> Errors() {
    std::vector<std::string> out;
    for (const auto& s : dialogs->shown)
      out.push_back(s.text);
    dialogs->shown.clear();
    return out;
  }

  CGame game;
  CInstanceCore self;
  CScriptedDialogService* dialogs;
  bool ok = false;
};

// The context of errors raised outside any event.
const std::string kNoContext = "ERROR in\r\naction number 1\r\nof \r\nfor object :\r\n\r\n";

TEST_F(CodeText, ExecuteStringResultsAndArguments) {
  struct Case {
    const char* program;
    RValue result;
  };
  const Case cases[] = {
      {"return execute_string('return argument0 * 2', 21)", 42.0},
      {"return execute_string('x = 3')", 3.0},  // the last assignment
      {"return execute_string('a = 1; b = \"str\"')", "str"},
      {"return execute_string('')", 0.0},
      {"return execute_string()", 0.0},  // no arguments at all: nothing happens
      {"return execute_string('for (i = 0; i < 3; i += 1) {}')", 0.0},
      {"return execute_string('return argument1 + argument2', 1, 2, 3)", 5.0},
      {"return execute_string('return argument3', 1)", 0.0},  // the rest are real 0
      {"return execute_string('return execute_string(\"return argument0 + 1\", argument0 * 10)', "
       "4)",
       41.0},
      {"execute_string('y = 7'); return y", 7.0},  // the caller's self
      {"return execute_string('exit; z = 1')", 0.0},
      {"return execute_string(5)", 0.0},  // a real's text is empty
      {"execute_string('argument7 = 1'); return execute_string('return argument7')", 0.0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Run(c.program), c.result) << c.program;
    EXPECT_TRUE(ok) << c.program;
  }
  EXPECT_EQ(Errors(), std::vector<std::string>{});
}

TEST_F(CodeText, AFailedExecutionKeepsTheLastAssignedValue) {
  // The second turn fails ('abab' * 'ab'); the first turn's value is the result.
  EXPECT_EQ(Run("return execute_string('x = 2; repeat (3) x *= \"ab\"')"), "abab");
  EXPECT_EQ(Errors().size(), 1u);
  // Built-in functions may change the arguments between two reads of them.
  EXPECT_EQ(Run("argument0 = 3; return argument0 + variable_local_set('argument0', 7) + argument0"),
            10.0);
}

TEST_F(CodeText, TheCallersArgumentsStayAsTheyWere) {
  game.language.arguments[0] = 7.0;
  game.language.arguments[5] = "five";
  EXPECT_EQ(Run("r = execute_string('argument5 = 1; return argument0 * 2', 21); "
                "return string(r) + string(argument0) + argument5"),
            "427five");
}

TEST_F(CodeText, CompilationErrorsAreShownWithoutContext) {
  EXPECT_EQ(Run("return execute_string('x = 1 / 0')"), 0.0);
  EXPECT_TRUE(ok);
  EXPECT_EQ(Errors(),
            std::vector<std::string>{
                "COMPILATION ERROR in string to be executed\r"
                "Error in code at line 1:\r   x = 1 / 0\r\rat position 9: Division by 0."});
  ASSERT_EQ(dialogs->shown.size(), 0u);
  // The error has been shown: an error of the calling code afterwards is its own.
  EXPECT_EQ(Run("execute_string('x = '); return nosuch_outer"), 0.0);
  EXPECT_FALSE(ok);
  EXPECT_NE(game.language.error.message.find("Unknown variable nosuch_outer"), std::string::npos)
      << game.language.error.message;
  EXPECT_EQ(Errors().size(), 1u);
}

TEST_F(CodeText, RunTimeErrorsAreReportedInContextAndTheCallerGoesOn) {
  EXPECT_EQ(Run("execute_string('y = nosuch + 1'); return 7"), 7.0);
  EXPECT_TRUE(ok);
  EXPECT_EQ(Errors(),
            std::vector<std::string>{
                kNoContext + "Error in code at line 1:\r   y = nosuch + 1\r\rat position 5: "
                             "Unknown variable nosuch"});
  EXPECT_FALSE(game.language.error.recorded);
  EXPECT_EQ(Run("execute_string('q = nosuch'); return nosuch_outer"), 0.0);
  EXPECT_FALSE(ok);
  EXPECT_NE(game.language.error.message.find("nosuch_outer"), std::string::npos);
  EXPECT_EQ(Errors().size(), 1u);
}

class CodeFile : public CodeText {
 protected:
  CodeFile() {
    dir = fs::temp_directory_path() /
          ("zorvex_execute_file_" + std::to_string(::getpid()) + "_" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  ~CodeFile() override { fs::remove_all(dir); }
  void Write(const std::string& name, const std::string& bytes) {
    std::ofstream(dir / name, std::ios::binary) << bytes;
  }
  fs::path dir;
};

TEST_F(CodeFile, ExecuteFileJoinsTheLinesWithCarriageReturns) {
  // CR LF, LF and CR all end a line.
  Write("Code.TXT", "a = argument0\r\nb = 2\nc = 0\rreturn a + b + c\r\n");
  const std::string game_path = dir.string() + "\\code.txt";  // case and separator as games do
  EXPECT_EQ(Run("return execute_file('" + game_path + "', 40)"), 42.0);
  EXPECT_EQ(Errors(), std::vector<std::string>{});

  Write("bad.txt", "a = 1\nb = 1 / 0\n");
  EXPECT_EQ(Run("return execute_file('" + (dir / "bad.txt").string() + "')"), 0.0);
  EXPECT_EQ(Errors(),
            std::vector<std::string>{
                "COMPILATION ERROR in file to be executed\r"
                "Error in code at line 2:\r   b = 1 / 0\r\rat position 9: Division by 0."});
}

TEST_F(CodeFile, MissingFilesAndFolders) {
  EXPECT_EQ(Run("return execute_file('" + (dir / "nosuch.txt").string() + "')"), 0.0);
  EXPECT_EQ(Run("return execute_file('" + dir.string() + "')"), 0.0);  // a folder is no file
  EXPECT_EQ(Run("return execute_file()"), 0.0);
  EXPECT_TRUE(ok);
  EXPECT_EQ(Errors(),
            (std::vector<std::string>{kNoContext + "Trying to execute non-existing file.",
                                      kNoContext + "Trying to execute non-existing file."}));
}

TEST_F(CodeText, VariablesByName) {
  EXPECT_EQ(Run("variable_global_set('gv', 9); return global.gv"), 9.0);
  EXPECT_EQ(Run("return variable_global_get('gv') + variable_global_exists('gv')"), 10.0);
  EXPECT_EQ(Run("return variable_global_exists('nosuch') + variable_global_get('nosuch')"), 0.0);
  EXPECT_EQ(Run("variable_global_array_set('ga', 3, 's'); return variable_global_array_get('ga', "
                "3) + string(variable_global_get('ga'))"),
            "s0");
  EXPECT_EQ(Run("variable_global_array2_set('g2', 2, 5, 7); return global.g2[2, 5]"), 7.0);
  EXPECT_EQ(Run("return variable_global_array2_get('g2', 2, 5)"), 7.0);
  EXPECT_EQ(Run("return variable_global_array_get('g2', 1)"), 0.0);  // not stored
  // Locals are the self instance's variables, built-in ones included.
  EXPECT_EQ(Run("variable_local_set('lx', 4); return lx"), 4.0);
  EXPECT_EQ(Run("variable_local_array_set('la', 2, 6); return la[2] + variable_local_array_get("
                "'la', 2)"),
            12.0);
  EXPECT_EQ(Run("variable_local_array2_set('lb', 1, 1, 3); return variable_local_array2_get('lb', "
                "1, 1)"),
            3.0);
  EXPECT_EQ(Run("return variable_local_exists('lx') + variable_local_exists('fixed_speed') * 10 + "
                "variable_local_exists('gv') * 100"),
            11.0);
  EXPECT_EQ(Run("return variable_local_get('fixed_speed')"), 2.5);
  EXPECT_EQ(Run("variable_local_set('argument4', 'via setter'); return argument4"), "via setter");
  EXPECT_EQ(Run("variable_local_set('fixed_speed', 1); return fixed_speed"), 2.5);  // read-only
  EXPECT_EQ(Errors(), std::vector<std::string>{});
  EXPECT_TRUE(ok);
}

TEST_F(CodeText, VariableIndicesOutsideTheArrayAreRefused) {
  EXPECT_EQ(Run("variable_global_array_set('a', 2, 1); return variable_global_array_get('a', -1)"),
            0.0);
  EXPECT_EQ(Run("variable_global_array2_set('a', 0, 32000, 5); return variable_global_array_get("
                "'a', 31999.5)"),  // rounds to 32000
            0.0);
  EXPECT_EQ(Run("variable_local_array2_get('a', -0.6, 0); variable_local_array_set('a', 40000, 1)"),
            0.0);
  const std::string e = kNoContext + "Array index >= 32000";
  EXPECT_EQ(Errors(), (std::vector<std::string>{e, e, e, e, e}));
  EXPECT_EQ(Run("return variable_global_array_get('a', 2)"), 1.0);  // untouched
  EXPECT_EQ(Run("return variable_local_exists('a')"), 0.0);
}

TEST_F(CodeText, ReadingANameAddsNoVariableName) {
  const int32_t before = game.language.names.Count();
  Run("variable_global_get('never1'); variable_local_exists('never2'); "
      "variable_global_array_get('never3', 1)");
  EXPECT_EQ(game.language.names.Count(), before);
  Run("variable_global_set('now_named', 1)");
  EXPECT_EQ(game.language.names.Count(), before + 1);
}

TEST_F(CodeText, UninitialisedAsZeroMakesEveryNameExist) {
  game.language.uninitialised_as_zero = true;
  EXPECT_EQ(Run("return variable_global_exists('nosuch') + variable_local_exists('nosuch2') + "
                "variable_global_array_get('nosuch', 4)"),
            2.0);
}

TEST(FunctionMisc, ShowDebugMessageWritesALineWithTheOption) {
  FunctionCaller f;
  ::testing::internal::CaptureStdout();
  f.Call("show_debug_message", {"not shown"});
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
  f.game.options.debug_messages = true;
  ::testing::internal::CaptureStdout();
  f.Call("show_debug_message", {"step 1: \x80 5"});
  f.Call("show_debug_message", {3.0});  // a real has no text
  ShowDebugMessage(f.game, "from the runtime");
  EXPECT_EQ(::testing::internal::GetCapturedStdout(),
            "step 1: \xE2\x82\xAC 5\n\nfrom the runtime\n");
}

TEST(FunctionMisc, ClipboardThroughTheDesktop) {
  FunctionCaller f;
  // Without video there is no clipboard.
  EXPECT_EQ(f.Real("clipboard_has_text", {}), 0);
  EXPECT_EQ(f.Text("clipboard_get_text", {}), "");
  f.Call("clipboard_set_text", {"lost"});
  std::string why;
  ASSERT_TRUE(StartPlatform(true, why)) << why;
  f.Call("clipboard_set_text", {"line 1\r\nprice \x80"});
  EXPECT_EQ(f.Real("clipboard_has_text", {}), 1);
  EXPECT_EQ(f.Text("clipboard_get_text", {}), "line 1\r\nprice \x80");
  StopPlatform();
}

TEST(FunctionMisc, WindowHandleWithoutADesktopWindow) {
  FunctionCaller f;
  EXPECT_EQ(f.Real("window_handle", {}), 0);
}

TEST(FunctionMisc, ProgramPriorityLevelsBecomeNiceValues) {
  const std::pair<int32_t, int32_t> levels[] = {{-3, 19}, {-2, 10}, {-1, 5},  {0, 0},
                                                {1, -5},  {2, -15}, {3, -20}, {7, 0}};
  for (auto [level, nice] : levels)
    EXPECT_EQ(ProgramPriorityNice(level), nice) << level;
  // Lowering needs no privilege; each try runs on a thread of its own so that the test
  // program keeps its priority.
  for (auto [level, nice] : {std::pair{-1.4, 5}, std::pair{-2.6, 19}}) {
    int seen = -100;
    std::thread t([&, level = level] {
      FunctionCaller f;
      f.Call("set_program_priority", {level});
      seen = getpriority(PRIO_PROCESS, static_cast<id_t>(gettid()));
    });
    t.join();
    EXPECT_EQ(seen, nice) << level;
  }
}

TEST(FunctionMisc, CodeVariableAndProcessFunctionsComeBeforeTheCalendar) {
  FunctionCaller f;
  const std::vector<std::pair<const char*, int>> expected = {
      {"execute_string", -1},
      {"execute_file", -1},
      {"variable_global_exists", 1},
      {"variable_global_get", 1},
      {"variable_global_array_get", 2},
      {"variable_global_array2_get", 3},
      {"variable_global_set", 2},
      {"variable_global_array_set", 3},
      {"variable_global_array2_set", 4},
      {"variable_local_exists", 1},
      {"variable_local_get", 1},
      {"variable_local_array_get", 2},
      {"variable_local_array2_get", 3},
      {"variable_local_set", 2},
      {"variable_local_array_set", 3},
      {"variable_local_array2_set", 4},
      {"window_handle", 0},
      {"show_debug_message", 1},
      {"set_program_priority", 1},
      {"clipboard_has_text", 0},
      {"clipboard_get_text", 0},
      {"clipboard_set_text", 1},
      {"date_current_datetime", 0},
  };
  int32_t first = f.game.functions.Find("execute_string");
  ASSERT_GE(first, 0);
  for (size_t i = 0; i < expected.size(); ++i) {
    const FunctionEntry* e = f.game.functions.Entry(first + static_cast<int32_t>(i));
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->name, expected[i].first);
    EXPECT_EQ(e->argc, expected[i].second) << e->name;
  }
}

}  // namespace
}  // namespace zorvex
