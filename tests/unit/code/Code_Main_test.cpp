#include "code/Code_Main.h"

#include <gtest/gtest.h>

#include "CodeTestSupport.h"
#include "game/Game.h"

namespace zorvex {
namespace {

TEST(CompiledCode, SourceTextComesBackExactly) {
  std::string all;
  for (int i = 0; i < 256; ++i)
    all += static_cast<char>(i);
  CCode c(all, false);
  EXPECT_EQ(c.SourceText(), all);
  EXPECT_EQ(c.SourceLength(), 256u);
}

TEST(CompiledCode, SecondCompileIsAnInternalError) {
  CGame game;
  CCode c("x = 1", false);
  ASSERT_TRUE(c.Compile(game.language));
  EXPECT_FALSE(c.Compile(game.language));
  EXPECT_EQ(game.language.error.message,
            testing::ProgramError(1, "x = 1", 1, "Internal Error: Recompiling compiled code."));
  EXPECT_TRUE(c.Compiled());
  c.Free();
  EXPECT_FALSE(c.Compiled());
  EXPECT_TRUE(c.Compile(game.language));
}

TEST(CompiledCode, OnlyTheFirstErrorIsKept) {
  CGame game;
  CLanguage& l = game.language;
  CCode c("x = )", false);
  EXPECT_FALSE(c.Compile(l));
  std::string first = l.error.message;
  RecordError(l, c, 1, "Later.");
  EXPECT_EQ(l.error.message, first);
  ClearError(l);
  EXPECT_EQ(l.error.message, first);  // readable after clearing
  RecordError(l, c, 1, "Later.");
  EXPECT_EQ(l.error.message, testing::ProgramError(1, "x = )", 1, "Later."));
}

TEST(CompiledCode, RecordedPositionsAreClampedToTheText) {
  CGame game;
  CLanguage& l = game.language;
  CCode empty("", false);
  RecordError(l, empty, 5, "M.");
  EXPECT_EQ(l.error.message, testing::ProgramError(1, "", 0, "M."));
  ClearError(l);
  CCode two("ab\rcd", false);
  RecordError(l, two, 99, "M.");
  EXPECT_EQ(l.error.message, testing::ProgramError(2, "cd", 2, "M."));
  ClearError(l);
  RecordError(l, two, 3, "M.");  // on the carriage return itself
  EXPECT_EQ(l.error.message, testing::ProgramError(2, "cd", 0, "M."));
  ClearError(l);
  CCode expr("ab\rcd", true);
  RecordError(l, expr, -4, "M.");
  EXPECT_EQ(l.error.message, testing::ExpressionError("ab\rcd", 1, "M."));
}

}  // namespace
}  // namespace zorvex
