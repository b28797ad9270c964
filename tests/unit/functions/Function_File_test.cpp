#include <gtest/gtest.h>

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

}  // namespace
}  // namespace zorvex
