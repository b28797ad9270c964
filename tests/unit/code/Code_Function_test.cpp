#include "code/Code_Function.h"

#include <gtest/gtest.h>

#include "CodeTestSupport.h"
#include "game/Game.h"

namespace zorvex {
namespace {

void Nothing(CGame&, CInstanceCore*, CInstanceCore*, int, RValue*, RValue&) {}

TEST(FunctionIds, ScriptsHideExtensionsWhichHideBuiltins) {
  CGame game;
  CLanguage& l = game.language;
  CFunctionTable table;
  l.functions = &table;
  table.Register("abs", Nothing, 1);
  table.Register("sqr", Nothing, 1);
  table.Register("sqr", Nothing, 2);  // a duplicate is never found
  testing::TestLookup lookup;
  l.lookup = &lookup;
  lookup.AddEmptyScriptSlot();
  lookup.AddScript("abs", "return 1");
  lookup.extensions[7] = {"sqr", 3};
  lookup.extensions[9] = {"ext_any", -1};
  int32_t id = 0;
  ASSERT_TRUE(FindFunction(l, "abs", id));
  EXPECT_EQ(id, 100001);
  ASSERT_TRUE(FindFunction(l, "sqr", id));
  EXPECT_EQ(id, 500007);
  lookup.extensions.clear();
  ASSERT_TRUE(FindFunction(l, "sqr", id));
  EXPECT_EQ(id, 1);
  EXPECT_FALSE(FindFunction(l, "Abs", id));
  EXPECT_FALSE(FindFunction(l, "", id));
}

TEST(FunctionIds, ArgumentCountsOfIds) {
  CGame game;
  CLanguage& l = game.language;
  CFunctionTable table;
  l.functions = &table;
  table.Register("one", Nothing, 1);
  table.Register("any", Nothing, -1);
  testing::TestLookup lookup;
  l.lookup = &lookup;
  lookup.extensions[3] = {"e", 2};
  EXPECT_EQ(ArgumentCountOfId(l, 0), 1);
  EXPECT_EQ(ArgumentCountOfId(l, 1), -1);
  EXPECT_EQ(ArgumentCountOfId(l, 2), -100);
  EXPECT_EQ(ArgumentCountOfId(l, -1), -100);
  EXPECT_EQ(ArgumentCountOfId(l, 100000), -1);
  EXPECT_EQ(ArgumentCountOfId(l, 499999), -1);
  EXPECT_EQ(ArgumentCountOfId(l, 500003), 2);
  EXPECT_EQ(ArgumentCountOfId(l, 500004), -100);
}

}  // namespace
}  // namespace zorvex
