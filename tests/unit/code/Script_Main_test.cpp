#include "code/Script_Main.h"

#include <gtest/gtest.h>

#include "CodeTestSupport.h"
#include "game/Game.h"

namespace zorvex {
namespace {

TEST(ScriptTable, FindAndNameThroughTheLookup) {
  CGame game;
  CLanguage& l = game.language;
  EXPECT_EQ(FindScript(l, "s"), -1);
  EXPECT_EQ(ScriptName(l, 0), "<undefined>");
  testing::TestLookup lookup;
  l.lookup = &lookup;
  lookup.AddScript("first", "a = 1");
  lookup.AddEmptyScriptSlot();
  lookup.AddScript("third", "b = 2");
  EXPECT_EQ(FindScript(l, "third"), 2);
  EXPECT_EQ(FindScript(l, "Third"), -1);
  EXPECT_EQ(ScriptName(l, 0), "first");
  EXPECT_EQ(ScriptName(l, 1), "<undefined>");
  EXPECT_EQ(ScriptName(l, 3), "<undefined>");
}

TEST(ScriptTable, CompileScriptsStopsAtTheFirstFailureWithAFatalError) {
  CGame game;
  CLanguage& l = game.language;
  std::string delivered;
  game.errors.settings.show_errors = false;
  bool ended = false;
  game.errors.end_game = [&] { ended = true; };
  testing::TestLookup lookup;
  l.lookup = &lookup;
  lookup.AddScript("good", "a = 1");
  lookup.AddScript("bad", "a = ");
  lookup.AddScript("later", "b = 1");
  EXPECT_FALSE(CompileScripts(l));
  EXPECT_TRUE(lookup.scripts[0].code->Compiled());
  EXPECT_FALSE(lookup.scripts[1].code->Compiled());
  EXPECT_FALSE(lookup.scripts[2].code->Compiled());
  EXPECT_EQ(game.errors.last_message,
            "COMPILATION ERROR in Script: bad\r" +
                testing::ProgramError(1, "a = ", 4, "Unexpected symbol in expression."));
  EXPECT_TRUE(ended);
}

TEST(ScriptTable, ScriptsMayCallEachOtherWhateverTheirOrder) {
  CGame game;
  CLanguage& l = game.language;
  testing::TestLookup lookup;
  l.lookup = &lookup;
  lookup.AddScript("caller", "return callee(1, 2)");
  lookup.AddScript("callee", "return argument0");
  EXPECT_TRUE(CompileScripts(l));
  EXPECT_TRUE(lookup.scripts[1].code->Compiled());
}

}  // namespace
}  // namespace zorvex
