#include "code/Code_Phase4.h"

#include <gtest/gtest.h>

#include "CodeTestSupport.h"
#include "TreeDump.h"
#include "game/Game.h"

namespace zorvex {
namespace {

using testing::ProgramError;

class FoldTest : public ::testing::Test {
 protected:
  static void Nothing(CGame&, CInstanceCore*, CInstanceCore*, int, RValue*, RValue&) {}
  void SetUp() override {
    lang.functions = &table;
    table.Register("f", Nothing, -1);
  }
  // The checked and folded tree of a program, or the error message.
  std::string C(const std::string& s, bool expression = false) {
    CCode code(s, expression);
    if (!code.Compile(lang)) return lang.error.message;
    return testing::Dump(lang, code.Root());
  }
  CGame game;
  CLanguage& lang = game.language;
  CFunctionTable table;
};

TEST_F(FoldTest, ConstantOwnersWithoutIndicesBecomeFixed) {
  EXPECT_EQ(C("x = self.y + other.z + global.w + (3).v + (100004.5).u"),
            "{x@-6=((((y@-1+z@-2)+w@-5)+v@3)+u@100004)}");
  EXPECT_EQ(C("a[1] = b.c[2]"), "{a{-6}[1]=c{b@-6}[2]}");
  EXPECT_EQ(C("x = (2.5).y + (3.5).y"), "{x@-6=(y@2+y@4)}");  // halves to even
}

TEST_F(FoldTest, VarAffectsOnlyTheVariablesAfterIt) {
  EXPECT_EQ(C("i = 1 var i; i = 2 { j[0] = i } if (1) var j; j = 3"),
            "{i@-6=1;var(i);i@-7=2;{j{-6}[0]=i@-7};if(1,var(j));j@-7=3}");
  EXPECT_EQ(C("var a; a[2] = a.b"), "{var(a);a{-7}[2]=b{a@-7}}");
  EXPECT_EQ(C("globalvar g; g = 1"), "{globalvar(g);g@-6=1}");
  // A written owner is kept even for a declared name.
  EXPECT_EQ(C("var a; self.a = 1"), "{var(a);a@-1=1}");
}

TEST_F(FoldTest, FoldingIsBottomUp) {
  EXPECT_EQ(C("x = 1 + 2 + x"), "{x@-6=(3+x@-6)}");
  EXPECT_EQ(C("x = x + 1 + 2"), "{x@-6=((x@-6+1)+2)}");
  std::string mixed = "x = -(2 * 3) + ~0 + !0.5 + 'a' + 'b'";
  EXPECT_EQ(C(mixed), ProgramError(1, mixed, 28, "Wrong type of arguments to +."));
  EXPECT_EQ(C("x = -(2 * 3) + ~0 + !0.5"), "{x@-6=-7}");
  EXPECT_EQ(C("x = 'a' + 'b' + f(-1)"), "{x@-6=('ab'+f(-1))}");
  EXPECT_EQ(C("x = 3 * 'ab'"), "{x@-6='ababab'}");
  EXPECT_EQ(C("x = 2 < 3 < 1"), "{x@-6=0}");
  EXPECT_EQ(C("x = $10 div 3 mod 4"), "{x@-6=1}");
}

TEST_F(FoldTest, FoldingErrorsAtTheRightOperand) {
  EXPECT_EQ(C("x = 1 / 0"), ProgramError(1, "x = 1 / 0", 9, "Division by 0."));
  EXPECT_EQ(C("s = \"a\" - \"b\""),
            ProgramError(1, "s = \"a\" - \"b\"", 11, "Wrong type of arguments to -."));
  EXPECT_EQ(C("x = \"a\" + 1"),
            ProgramError(1, "x = \"a\" + 1", 11, "Wrong type of arguments to +."));
  EXPECT_EQ(C("x = 5 mod (1 - 1)"), ProgramError(1, "x = 5 mod (1 - 1)", 12, "Modulo by 0."));
  EXPECT_EQ(C("x = -'a'"),
            ProgramError(1, "x = -'a'", 6, "Wrong type of arguments to unary operator."));
  EXPECT_EQ(C("x = 'a' < 1"), ProgramError(1, "x = 'a' < 1", 11, "Cannot compare arguments."));
  EXPECT_EQ(C("x = 1 + 2 * 'a'"),
            ProgramError(1, "x = 1 + 2 * 'a'", 9, "Wrong type of arguments to +."));
  EXPECT_EQ(C("x = 'ab' * 3"),
            ProgramError(1, "x = 'ab' * 3", 12, "Wrong type of arguments to *."));
}

TEST_F(FoldTest, StringOwnerWithoutIndexIsRejected) {
  EXPECT_EQ(C("x = 'obj'.y"),
            ProgramError(1, "x = 'obj'.y", 5, "Left hand side must be a real value."));
  // With an index the owner is checked when the code runs.
  EXPECT_EQ(C("x = 'obj'.y[1]"), "{x@-6=y{'obj'}[1]}");
}

TEST_F(FoldTest, LargeStringsAreLeftForRunTime) {
  EXPECT_EQ(C("x = 100000 * 'a'"), "{x@-6=(100000*'a')}");
  EXPECT_EQ(C("x = 1000000000 * 'ab'"), "{x@-6=(1000000000*'ab')}");
}

TEST_F(FoldTest, ExpressionsThatFoldBecomeConstantCode) {
  CCode c("3 + 4", true);
  ASSERT_TRUE(c.Compile(lang));
  EXPECT_EQ(c.Kind(), kCodeConstant);
  EXPECT_EQ(c.ConstantValue(), RValue(7.0));
  CCode d("'hello'", true);
  ASSERT_TRUE(d.Compile(lang));
  EXPECT_EQ(d.Kind(), kCodeConstant);
  EXPECT_EQ(d.ConstantValue(), RValue("hello"));
  CCode e("x + 1", true);
  ASSERT_TRUE(e.Compile(lang));
  EXPECT_EQ(e.Kind(), kCodeExpression);
  CCode p("return 1", false);
  ASSERT_TRUE(p.Compile(lang));
  EXPECT_EQ(p.Kind(), kCodeProgram);
}

}  // namespace
}  // namespace zorvex
