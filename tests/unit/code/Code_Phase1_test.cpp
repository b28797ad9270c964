#include "code/Code_Phase1.h"

#include <gtest/gtest.h>

#include "CodeTestSupport.h"
#include "code/Code_Tree.h"
#include "game/Game.h"

namespace zorvex {
namespace {

struct Lexed {
  bool ok;
  std::vector<int32_t> kinds;
  std::vector<std::string> texts;
  std::vector<int32_t> positions;
  std::string error;
};

Lexed Lex(const std::string& source) {
  CGame game;
  CCode code(source, false);
  std::string padded = source + "   ";
  RTokenList1 tokens;
  Lexed r;
  r.ok = Tokenise(game.language, code, padded, tokens);
  for (const RToken1& t : tokens) {
    r.kinds.push_back(t.kind);
    r.texts.emplace_back(t.text);
    r.positions.push_back(t.position);
  }
  r.error = game.language.error.message;
  return r;
}

using K = std::vector<int32_t>;

TEST(Lexer, AssignmentAndComparisonOperators) {
  EXPECT_EQ(Lex("a=b").kinds, (K{0, 101, 0, -2}));
  EXPECT_EQ(Lex("a==b").kinds, (K{0, 206, 0, -2}));
  EXPECT_EQ(Lex("a:=b").kinds, (K{0, 101, 0, -2}));
  EXPECT_EQ(Lex("x<>y").kinds, (K{0, 207, 0, -2}));
  EXPECT_EQ(Lex("x!=y").kinds, (K{0, 207, 0, -2}));
  EXPECT_EQ(Lex("x<y").kinds, (K{0, 204, 0, -2}));
  EXPECT_EQ(Lex("+= -= *= /= |= &= ^= << >> ^^ && || <= >=").kinds,
            (K{102, 103, 104, 105, 114, 115, 116, 221, 222, 216, 201, 202, 205, 208, -2}));
  EXPECT_EQ(Lex("! & ( ) * + , - . / : ; < = > [ ] ^ { | } ~").kinds,
            (K{203, 218, 106, 107, 212, 210, 109, 211, 112, 213, 113, 108,
               204, 101, 209, 110, 111, 219, 11,  217, 12,  220, -2}));
}

TEST(Lexer, KeywordsOnlyInLowerCase) {
  EXPECT_EQ(
      Lex("begin end if then else while do for until repeat exit break continue with "
          "return switch case default var globalvar")
          .kinds,
      (K{11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, -2}));
  EXPECT_EQ(Lex("and or not xor div mod").kinds, (K{201, 202, 203, 216, 214, 215, -2}));
  Lexed r = Lex("Begin IF Mod begin_x _if if2");
  EXPECT_EQ(r.kinds, (K{0, 0, 0, 0, 0, 0, -2}));
  EXPECT_EQ(r.texts[3], "begin_x");
}

TEST(Lexer, CommentsAreSkipped) {
  Lexed r = Lex("/*/ x");
  EXPECT_EQ(r.kinds, (K{0, -2}));
  EXPECT_EQ(r.texts[0], "x");
  EXPECT_EQ(r.positions[0], 5);
  r = Lex("/* x */ y");
  EXPECT_EQ(r.kinds, (K{0, -2}));
  EXPECT_EQ(r.texts[0], "y");
  r = Lex("a // note");
  EXPECT_EQ(r.kinds, (K{0, -2}));
  r = Lex("a // note\rb // more\nc");
  EXPECT_EQ(r.kinds, (K{0, 0, 0, -2}));
  r = Lex("a /* never closed % # ");
  EXPECT_EQ(r.kinds, (K{0, -2}));
  EXPECT_TRUE(r.ok);
}

TEST(Lexer, StringsKeepTheOtherQuoteAndRunToTheEndWhenOpen) {
  Lexed r = Lex("\"it's\"");
  EXPECT_EQ(r.kinds, (K{2, -2}));
  EXPECT_EQ(r.texts[0], "it's");
  EXPECT_EQ(r.positions[0], 1);
  r = Lex("x = 'say \"hi\"'");
  EXPECT_EQ(r.texts[2], "say \"hi\"");
  EXPECT_EQ(r.positions[2], 5);
  r = Lex("\"abc");
  EXPECT_EQ(r.kinds, (K{2, -2}));
  EXPECT_EQ(r.texts[0], "abc   ");
  r = Lex("'a\r\nb'");
  EXPECT_EQ(r.texts[0], "a\r\nb");
  r = Lex("\"\"");
  EXPECT_EQ(r.texts[0], "");
}

TEST(Lexer, NumberForms) {
  Lexed r = Lex("12.5.3 1..2 .5 $1F $1.5 7");
  EXPECT_EQ(r.kinds, (K{1, 1, 1, 1, 1, 1, 1, -2}));
  EXPECT_EQ(r.texts,
            (std::vector<std::string>{"12.5.3", "1..2", ".5", "$1F", "$1", ".5", "7", ""}));
  r = Lex("a.b");  // a dot not followed by a digit is punctuation
  EXPECT_EQ(r.kinds, (K{0, 112, 0, -2}));
  r = Lex("$ $g");
  EXPECT_EQ(r.kinds, (K{1, 1, 0, -2}));
  EXPECT_EQ(r.texts[1], "$");
}

TEST(Lexer, UnexpectedSymbolStopsAtItsPosition) {
  Lexed r = Lex("x = 5 % 2");
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.kinds.back(), -1);
  EXPECT_EQ(r.positions.back(), 7);
  EXPECT_EQ(r.error, testing::ProgramError(1, "x = 5 % 2", 7, "Unexpected symbol."));
  for (const char* s : {"#", "?", "\xA3", "@", "`", "\\", "\x80"}) {
    Lexed e = Lex(std::string("a ") + s);
    EXPECT_FALSE(e.ok) << s;
    EXPECT_EQ(e.positions.back(), 3) << s;
  }
}

TEST(Lexer, EmptyAndBlankTextsGiveOnlyTheEnd) {
  Lexed r = Lex("");
  EXPECT_EQ(r.kinds, (K{-2}));
  EXPECT_EQ(r.positions[0], 4);
  r = Lex(std::string("\t\r\n \x01\x00", 6));
  EXPECT_EQ(r.kinds, (K{-2}));
}

TEST(Lexer, PositionsAreOneBased) {
  Lexed r = Lex("  ab+\"q\"");
  EXPECT_EQ(r.positions, (K{3, 5, 6, 12}));
}

}  // namespace
}  // namespace zorvex
