#include "code/Code_Phase2.h"

#include <gtest/gtest.h>

#include "CodeTestSupport.h"
#include "TreeDump.h"
#include "game/Game.h"

namespace zorvex {
namespace {

TEST(Resolution, NumberValuesDigitByDigit) {
  EXPECT_EQ(NumberValue("0"), 0.0);
  EXPECT_EQ(NumberValue("42"), 42.0);
  EXPECT_EQ(NumberValue("$"), 0.0);
  EXPECT_EQ(NumberValue("$1F"), 31.0);
  EXPECT_EQ(NumberValue("$ff"), 255.0);
  EXPECT_EQ(NumberValue("$FFFFFFFF"), 4294967295.0);
  EXPECT_EQ(NumberValue(".5"), 0.5);
  EXPECT_EQ(NumberValue("1.2.3"), NumberValue("1.23"));
  EXPECT_EQ(NumberValue("1..2"), NumberValue("1.2"));
  EXPECT_EQ(NumberValue("12."), 12.0);
  // The fraction is summed digit by digit with a shrinking scale, not parsed as a whole.
  double v = 0, scale = 1;
  for (int d : {1, 2, 3}) {
    scale /= 10;
    v += d * scale;
  }
  EXPECT_EQ(NumberValue("0.123"), v);
}

class ResolutionTest : public ::testing::Test {
 protected:
  static void Nothing(CGame&, CInstanceCore*, CInstanceCore*, int, RValue*, RValue&) {}
  void SetUp() override {
    lang.functions = &table;
    lang.lookup = &lookup;
    table.Register("f", Nothing, -1);
    lookup.resources[ResourceKind::kSprite] = {"spr"};
  }
  CGame game;
  CLanguage& lang = game.language;
  CFunctionTable table;
  testing::TestLookup lookup;
};

TEST_F(ResolutionTest, IdentifiersBecomeFunctionsConstantsOrVariables) {
  EXPECT_EQ(testing::ParseDump(lang, "x = f(spr, c_red, 'q', y)"), "{x{-6}=f(0,255,'q',y{-6})}");
  EXPECT_EQ(lang.names.Find("x"), 100000);
  EXPECT_EQ(lang.names.Find("y"), 100001);
  // An identifier is a function only directly before '('.
  EXPECT_EQ(testing::ParseDump(lang, "f = f (1)"), "{f{-6}=f(1)}");
  EXPECT_EQ(lang.names.Find("f"), 100002);
}

TEST_F(ResolutionTest, UnknownFunctionStopsResolution) {
  EXPECT_EQ(testing::CompileMessage(lang, "x = foo(1) + bar(2)"),
            testing::ProgramError(1, "x = foo(1) + bar(2)", 5, "Unknown function or script: foo"));
  // Names after the failure were never resolved.
  EXPECT_EQ(lang.names.Find("x"), 100000);
  EXPECT_EQ(lang.names.Count(), 1);
}

}  // namespace
}  // namespace zorvex
