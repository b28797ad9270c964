#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "../resources/Resource_Test_Util.h"
#include "game/Game.h"

namespace zorvex {
namespace {

void Call(CGame& game, const char* name, std::vector<RValue> args) {
  int32_t id = game.functions.Find(name);
  ASSERT_GE(id, 0) << name;
  const FunctionEntry* e = game.functions.Entry(id);
  ASSERT_EQ(e->argc, static_cast<int32_t>(args.size()));
  RValue argv[16];
  for (size_t i = 0; i < args.size(); ++i)
    argv[i] = args[i];
  RValue result;
  e->handler(game, nullptr, nullptr, static_cast<int>(args.size()), argv, result);
  EXPECT_EQ(result, RValue(0.0));
}

bool EndsWith(const std::string& s, const std::string& tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

TEST(FunctionFile, IncludedFileFunctionsExportAndReport) {
  testing::TempDir temp;
  CGame game;
  CDataFile f;
  f.file_name = "level.dat";
  f.stored = true;
  f.data = {'L', '1'};
  f.export_mode = CDataFile::kTempDirectory;
  f.free_after_export = false;
  game.resources.included_files.files.push_back(f);
  game.resources.SetTempDirectory(temp.Path());

  Call(game, "export_include_file", {RValue("level.dat")});
  EXPECT_TRUE(std::filesystem::exists(temp.File("level.dat")));
  EXPECT_FALSE(game.errors.occurred);

  Call(game, "export_include_file_location", {RValue("level.dat"), RValue(temp.File("copy.dat"))});
  EXPECT_TRUE(std::filesystem::exists(temp.File("copy.dat")));

  Call(game, "export_include_file", {RValue("other.dat")});
  EXPECT_TRUE(game.errors.occurred);
  EXPECT_TRUE(EndsWith(game.errors.last_message, "Trying to export non-existing file."));

  Call(game, "discard_include_file", {RValue(3.0)});
  EXPECT_TRUE(EndsWith(game.errors.last_message, "Trying to discard non-existing file."));
  Call(game, "discard_include_file", {RValue("level.dat")});
  EXPECT_FALSE(game.resources.included_files.files[0].stored);
}

RValue CallFor(CGame& game, const char* name, std::vector<RValue> args) {
  const FunctionEntry* e = game.functions.Entry(game.functions.Find(name));
  EXPECT_NE(e, nullptr) << name;
  if (e == nullptr) return {};
  EXPECT_EQ(e->argc, static_cast<int32_t>(args.size()));
  RValue argv[16];
  for (size_t i = 0; i < args.size(); ++i)
    argv[i] = args[i];
  RValue result;
  e->handler(game, nullptr, nullptr, static_cast<int>(args.size()), argv, result);
  return result;
}

TEST(FunctionFile, CommandLineParameters) {
  CGame game;
  game.options.game_path = "games/My Game.exe";
  game.options.game_parameters = {"-level", "3"};
  EXPECT_EQ(CallFor(game, "parameter_count", {}), RValue(2.0));
  EXPECT_EQ(CallFor(game, "parameter_string", {1.0}), RValue("-level"));
  EXPECT_EQ(CallFor(game, "parameter_string", {2.4}), RValue("3"));
  EXPECT_EQ(CallFor(game, "parameter_string", {3.0}), RValue(""));
  EXPECT_EQ(CallFor(game, "parameter_string", {-1.0}), RValue(""));
  // The running program is the game file, with its whole path in the game's form.
  std::string cwd = std::filesystem::current_path().string();
  std::string expected = cwd + "/games/My Game.exe";
  for (char& c : expected)
    if (c == '/') c = '\\';
  EXPECT_EQ(CallFor(game, "parameter_string", {0.4}), RValue(expected));
  game.options.game_parameters.clear();
  EXPECT_EQ(CallFor(game, "parameter_count", {}), RValue(0.0));
}

// Sets an environment variable for one test and puts the old state back.
class EnvironmentSetting {
 public:
  EnvironmentSetting(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old, had_ = true;
    if (value != nullptr) {
      setenv(name, value, 1);
    } else {
      unsetenv(name);
    }
  }
  ~EnvironmentSetting() {
    if (had_) {
      setenv(name_.c_str(), old_.c_str(), 1);
    } else {
      unsetenv(name_.c_str());
    }
  }

 private:
  std::string name_, old_;
  bool had_ = false;
};

TEST(FunctionFile, EnvironmentVariablesIgnoreLetterCase) {
  CGame game;
  EnvironmentSetting var("ZORVEX_TEST_SETTING", "on");
  EnvironmentSetting temp("TEMP", nullptr);
  EnvironmentSetting tmp("TMP", nullptr);
  EnvironmentSetting tmpdir("TMPDIR", "/var/tmp/zorvex");
  EnvironmentSetting user("USER", "player");
  EnvironmentSetting username("USERNAME", nullptr);
  EXPECT_EQ(CallFor(game, "environment_get_variable", {"ZORVEX_TEST_SETTING"}), RValue("on"));
  EXPECT_EQ(CallFor(game, "environment_get_variable", {"Zorvex_Test_Setting"}), RValue("on"));
  EXPECT_EQ(CallFor(game, "environment_get_variable", {"ZORVEX_NOT_SET_ANYWHERE"}), RValue(""));
  EXPECT_EQ(CallFor(game, "environment_get_variable", {""}), RValue(""));
  // What Windows games expect and Linux does not set.
  EXPECT_EQ(CallFor(game, "environment_get_variable", {"temp"}), RValue("\\var\\tmp\\zorvex"));
  EXPECT_EQ(CallFor(game, "environment_get_variable", {"USERNAME"}), RValue("player"));
}

}  // namespace
}  // namespace zorvex
