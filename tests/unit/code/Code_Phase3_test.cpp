#include "code/Code_Phase3.h"

#include <gtest/gtest.h>

#include "CodeTestSupport.h"
#include "TreeDump.h"
#include "game/Game.h"

namespace zorvex {
namespace {

using testing::CompileMessage;
using testing::ExpressionError;
using testing::ProgramError;

bool GetNothing(CGame&, CInstanceCore*, int32_t, RValue&) {
  return true;
}

class ParserTest : public ::testing::Test {
 protected:
  static void Nothing(CGame&, CInstanceCore*, CInstanceCore*, int, RValue*, RValue&) {}
  void SetUp() override {
    lang.functions = &table;
    table.Register("f", Nothing, -1);
    table.Register("g0", Nothing, 0);
    table.Register("g1", Nothing, 1);
    lang.builtins.Register("speed", GetNothing);
  }
  std::string P(const std::string& s) { return testing::ParseDump(lang, s); }
  std::string E(const std::string& s) { return testing::ParseDump(lang, s, true); }
  // The message of a program that fails to compile, at line 1.
  std::string Err(const std::string& s) { return CompileMessage(lang, s); }
  std::string At(const std::string& s, int column, const std::string& m) {
    return ProgramError(1, s, column, m);
  }
  CGame game;
  CLanguage& lang = game.language;
  CFunctionTable table;
};

TEST_F(ParserTest, StatementsNeedNoSeparators) {
  EXPECT_EQ(P("x = 1 y = 2"), "{x{-6}=1;y{-6}=2}");
  EXPECT_EQ(P("x = 1;;; y = 2;"), "{x{-6}=1;y{-6}=2}");
  EXPECT_EQ(P(";"), "{;}");
  EXPECT_EQ(P(""), "<empty>");
  EXPECT_EQ(P("  // only a comment"), "<empty>");
  EXPECT_EQ(P("x := 1 x += 1 x -= 1 x *= 1 x /= 1 x |= 1 x &= 1 x ^= 1"),
            "{x{-6}=1;x{-6}+=1;x{-6}-=1;x{-6}*=1;x{-6}/=1;x{-6}|=1;x{-6}&=1;x{-6}^=1}");
}

TEST_F(ParserTest, ArgumentAndIndexListsAcceptATrailingComma) {
  EXPECT_EQ(P("f(1,)"), "{f(1)}");
  EXPECT_EQ(P("f()"), "{f()}");
  EXPECT_EQ(P("a[2,] = 1"), "{a{-6}[2]=1}");
  EXPECT_EQ(P("a[] = 1"), "{a{-6}=1}");
  EXPECT_EQ(P("a[1, 2] = b[3]"), "{a{-6}[1,2]=b{-6}[3]}");
}

TEST_F(ParserTest, PrecedenceAndAssociativity) {
  EXPECT_EQ(E("a < b == c"), "((a{-6}<b{-6})==c{-6})");
  // Bitwise operators bind tighter than comparisons.
  EXPECT_EQ(E("a & b == c"), "((a{-6}&b{-6})==c{-6})");
  EXPECT_EQ(E("a == b | c"), "(a{-6}==(b{-6}|c{-6}))");
  EXPECT_EQ(E("-a.b"), "(-b{a{-6}})");
  EXPECT_EQ(E("-a*b"), "((-a{-6})*b{-6})");
  EXPECT_EQ(E("2 < 3 < 1"), "((2<3)<1)");
  EXPECT_EQ(E("1 - 2 - 3"), "((1-2)-3)");
  EXPECT_EQ(E("a || b && c ^^ d"), "(((a{-6}||b{-6})&&c{-6})^^d{-6})");
  EXPECT_EQ(E("a = b"), "(a{-6}=b{-6})");
  EXPECT_EQ(E("1 + 2 * 3 << 1 | 4"), "(((1+(2*3))<<1)|4)");
  EXPECT_EQ(E("a div b mod c / d * e"), "((((a{-6} div b{-6}) mod c{-6})/d{-6})*e{-6})");
  EXPECT_EQ(E("!-~+x"), "(!(-(~(+x{-6}))))");
  EXPECT_EQ(E("not a and b"), "((!a{-6})&&b{-6})");
  EXPECT_EQ(E("(1 + 2) * 3"), "((1+2)*3)");
}

TEST_F(ParserTest, OwnersFromDotParts) {
  EXPECT_EQ(E("(a).x"), "x{a{-6}}");
  EXPECT_EQ(E("a[2].x"), "x{a{-6}[2]}");
  EXPECT_EQ(E("f(1).x"), "x{f(1)}");
  EXPECT_EQ(E("obj.x.y"), "y{x{obj{-6}}}");
  EXPECT_EQ(E("other.x[1]"), "x{-2}[1]");
  EXPECT_EQ(P("self.x = global.y"), "{x{-1}=y{-5}}");
}

TEST_F(ParserTest, StatementForms) {
  EXPECT_EQ(P("if a then b = 1 else b = 2"), "{if(a{-6},b{-6}=1,b{-6}=2)}");
  EXPECT_EQ(P("if (a) ;"), "{if(a{-6},;)}");
  EXPECT_EQ(P("while a do b = 1"), "{while(a{-6},b{-6}=1)}");
  EXPECT_EQ(P("do b = 1 until a"), "{do(b{-6}=1,a{-6})}");
  EXPECT_EQ(P("for (i = 0; i < 3; i += 1) {}"), "{for(i{-6}=0,(i{-6}<3),i{-6}+=1,{})}");
  EXPECT_EQ(P("for (i = 0 i < 3 i += 1) x = 1"), "{for(i{-6}=0,(i{-6}<3),i{-6}+=1,x{-6}=1)}");
  EXPECT_EQ(P("for (; i < 3; i += 1) x = 1"), "{for(;,(i{-6}<3),i{-6}+=1,x{-6}=1)}");
  EXPECT_EQ(P("repeat 3 x = 1"), "{repeat(3,x{-6}=1)}");
  EXPECT_EQ(P("with (other) do x = 1"), "{with(-2,x{-6}=1)}");
  EXPECT_EQ(P("return 1 + 2"), "{return((1+2))}");
  EXPECT_EQ(P("exit break continue"), "{exit();break();continue()}");
  EXPECT_EQ(P("switch a { case 1: x = 1 break; default: case 'b': }"),
            "{switch(a{-6},case(1),x{-6}=1,break(),default(),case('b'))}");
  EXPECT_EQ(P("begin x = 1 end"), "{x{-6}=1}");
  EXPECT_EQ(P("x = 1 { y = 2 }"), "{x{-6}=1;{y{-6}=2}}");
  EXPECT_EQ(P("{}"), "{}");
  EXPECT_EQ(P("g0()"), "{g0()}");
}

TEST_F(ParserTest, DeclarationsTakeNamesUntilSomethingElse) {
  EXPECT_EQ(P("var a, b c; d = 1"), "{var(a,b,c);d{-6}=1}");
  EXPECT_EQ(P("globalvar g"), "{globalvar(g)}");
  EXPECT_EQ(P("var"), "{var()}");
  EXPECT_EQ(P("var a,, b = 1"), "");  // the second comma starts a statement
  EXPECT_EQ(lang.error.message, At("var a,, b = 1", 7, "Unexpected symbol in expression."));
}

TEST_F(ParserTest, ExpressionPieces) {
  EXPECT_EQ(E("3 4"), "3");
  EXPECT_EQ(E(""), "0");
  EXPECT_EQ(E("'s' + x"), "('s'+x{-6})");
}

TEST_F(ParserTest, TreePositions) {
  CCode code("if  x { y = a + -b }", false);
  ASSERT_TRUE(code.Compile(lang));
  const RToken& ifnode = code.Root().children[0];
  EXPECT_EQ(ifnode.position, 5);  // the token after the keyword
  const RToken& block = ifnode.children[1];
  EXPECT_EQ(block.position, 9);  // the token after '{'
  const RToken& assign = block.children[0];
  EXPECT_EQ(assign.position, 9);
  const RToken& sum = assign.children[1];
  EXPECT_EQ(sum.position, 13);              // its left operand
  EXPECT_EQ(sum.children[1].position, 17);  // the unary operator
  EXPECT_EQ(sum.children[1].children[0].position, 18);
}

// Every message of resolution and parsing, with the token it is reported at.
TEST_F(ParserTest, ErrorMessagesAndPositions) {
  EXPECT_EQ(Err("g1(1, 2)"), At("g1(1, 2)", 8, "Wrong number of arguments to function or script."));
  EXPECT_EQ(Err("x = g0(1)"),
            At("x = g0(1)", 9, "Wrong number of arguments to function or script."));
  std::string seventeen = "f(1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17)";
  EXPECT_EQ(Err(seventeen), At(seventeen, 44, "Wrong number of arguments to function or script."));
  EXPECT_EQ(Err("f(1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16)"), "");
  EXPECT_EQ(Err("f(1 2)"), At("f(1 2)", 5, "Symbol , or ) expected."));
  EXPECT_EQ(Err("f(1"), At("f(1", 3, "Symbol ) expected."));
  EXPECT_EQ(Err("f(1,"), At("f(1,", 4, "Symbol ) expected."));
  EXPECT_EQ(Err("x = (1 + 2"), At("x = (1 + 2", 10, "Symbol ) expected."));
  EXPECT_EQ(Err("x = (1 + 2 y = 3"), At("x = (1 + 2 y = 3", 12, "Symbol ) expected."));
  EXPECT_EQ(Err("for (i = 0; i < 3; i += 1 x = 1"),
            At("for (i = 0; i < 3; i += 1 x = 1", 27, "Symbol ) expected."));
  EXPECT_EQ(Err("for i = 0"), At("for i = 0", 5, "Symbol ( expected."));
  EXPECT_EQ(Err("a[1 2] = 0"), At("a[1 2] = 0", 5, "Symbol , or ] expected."));
  EXPECT_EQ(Err("x = a[1"), At("x = a[1", 7, "Symbol ] expected."));
  EXPECT_EQ(Err("x = a["), At("x = a[", 6, "Symbol ] expected."));
  EXPECT_EQ(Err("a[1,2,3] = 0"),
            At("a[1,2,3] = 0", 10, "Only 1- and 2-dimensional arrays are supported."));
  EXPECT_EQ(Err("x = )"), At("x = )", 5, "Unexpected symbol in expression."));
  EXPECT_EQ(Err("var a = 1"), At("var a = 1", 7, "Unexpected symbol in expression."));
  EXPECT_EQ(Err("x = 1 +"), At("x = 1 +", 7, "Unexpected symbol in expression."));
  EXPECT_EQ(Err("obj.f()"), At("obj.f()", 5, "Variable name expected."));
  // '.3' is a number: `x = a` is complete and `.3` starts a statement that is no variable.
  EXPECT_EQ(Err("x = a.3"), At("x = a.3", 7, "Variable name expected."));
  EXPECT_EQ(Err("c_red = 5"), At("c_red = 5", 7, "Variable name expected."));
  EXPECT_EQ(Err("f(1) = 5"), At("f(1) = 5", 6, "Unexpected symbol in expression."));
  EXPECT_EQ(Err("(x) = 5"), "");  // a parenthesised variable is still a variable
  EXPECT_EQ(Err("(1) = 5"), At("(1) = 5", 5, "Variable name expected."));
  EXPECT_EQ(Err("x == 3"), At("x == 3", 3, "Assignment operator expected."));
  EXPECT_EQ(Err("x"), At("x", 1, "Assignment operator expected."));
  EXPECT_EQ(Err("var a, speed"), At("var a, speed", 8, "Cannot redeclare a builtin variable."));
  EXPECT_EQ(Err("globalvar speed"),
            At("globalvar speed", 11, "Cannot redeclare a builtin variable."));
  EXPECT_EQ(Err("switch (a) { case 1 x = 1 }"),
            At("switch (a) { case 1 x = 1 }", 21, "Symbol : expected."));
  EXPECT_EQ(Err("switch (a) { default x = 1 }"),
            At("switch (a) { default x = 1 }", 22, "Symbol : expected."));
  EXPECT_EQ(Err("switch (a) x = 1"), At("switch (a) x = 1", 12, "Symbol { expected."));
  EXPECT_EQ(Err("{ x = 1"), At("{ x = 1", 7, "Symbol } expected."));
  EXPECT_EQ(Err("switch (a) { case 1:"), At("switch (a) { case 1:", 20, "Symbol } expected."));
  EXPECT_EQ(Err("do x = 1 while a"), At("do x = 1 while a", 10, "Keyword until expected."));
  EXPECT_EQ(Err("if (a)"), At("if (a)", 6, "Unexpected end of code reached."));
  EXPECT_EQ(Err("while a"), At("while a", 7, "Unexpected end of code reached."));
  EXPECT_EQ(Err("{ x = 1 } y = 2"),
            At("{ x = 1 } y = 2", 11, "Program ends before end of the code."));
  EXPECT_EQ(Err("{ x = 1 };"), At("{ x = 1 };", 10, "Program ends before end of the code."));
  EXPECT_EQ(Err("x = 1 else"), At("x = 1 else", 7, "Unexpected symbol in expression."));
}

TEST_F(ParserTest, ErrorsInLaterLinesAndInExpressions) {
  EXPECT_EQ(Err("a = 1\r\nb = 2\r\nc = )"),
            ProgramError(3, "\nc = )", 6, "Unexpected symbol in expression."));
  EXPECT_EQ(Err("a = 1\r\nb = 2\r\n%"), ProgramError(3, "\n%", 2, "Unexpected symbol."));
  EXPECT_EQ(Err("a = 1\rb = )\rc = 3"),
            ProgramError(2, "b = )", 5, "Unexpected symbol in expression."));
  EXPECT_EQ(Err("a = 1\nb = )"),
            ProgramError(1, "a = 1\nb = )", 11, "Unexpected symbol in expression."));
  EXPECT_EQ(CompileMessage(lang, "a +", true),
            ExpressionError("a +", 3, "Unexpected symbol in expression."));
  EXPECT_EQ(CompileMessage(lang, "1 + \r(2", true),
            ExpressionError("1 + \r(2", 2, "Symbol ) expected."));
}

TEST_F(ParserTest, DeepNestingIsACompileErrorNotACrash) {
  for (std::string open : {"(", "-", "{", "if 1 ", "!", "f("}) {
    std::string s = "x = ";
    if (open == "{" || open == "if 1 ") s.clear();
    for (int i = 0; i < 100000; ++i)
      s += open;
    std::string m = Err(s);
    EXPECT_NE(m.find("Code nested too deeply."), std::string::npos) << open;
  }
  std::string chain = "x = 1";
  for (int i = 0; i < 100000; ++i)
    chain += "+1";
  EXPECT_NE(Err(chain), "");  // folding would be fine; the tree is refused first
  std::string dots = "x = a";
  for (int i = 0; i < 100000; ++i)
    dots += ".a";
  EXPECT_NE(Err(dots).find("Code nested too deeply."), std::string::npos);
  // Nesting well within the limit compiles.
  std::string ok = "x = ";
  for (int i = 0; i < 200; ++i)
    ok += "(";
  ok += "1";
  for (int i = 0; i < 200; ++i)
    ok += ")";
  EXPECT_EQ(Err(ok), "");
}

}  // namespace
}  // namespace zorvex
