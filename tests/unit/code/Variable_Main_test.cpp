#include "code/Variable_Main.h"

#include <gtest/gtest.h>

#include "runner/Support_Stream.h"

namespace zorvex {
namespace {

TEST(GlobalVariables, GlobalvarSetStartsWithTenThousandFalseEntriesAndGrows) {
  CGlobalVariables g;
  EXPECT_EQ(g.GlobalvarCount(), 10000u);
  EXPECT_FALSE(g.IsDeclaredGlobal(100000));
  EXPECT_FALSE(g.IsDeclaredGlobal(5));
  g.DeclareGlobal(109999);
  EXPECT_EQ(g.GlobalvarCount(), 10000u);
  g.DeclareGlobal(120000);  // 20000 past the start
  EXPECT_EQ(g.GlobalvarCount(), 21000u);
  EXPECT_TRUE(g.IsDeclaredGlobal(120000));
  EXPECT_TRUE(g.IsDeclaredGlobal(109999));
  EXPECT_FALSE(g.IsDeclaredGlobal(120001));
  EXPECT_FALSE(g.IsDeclaredGlobal(200000));  // beyond the end
}

TEST(GlobalVariables, DeclaringCreatesTheVariableOnceWithRealZero) {
  CGlobalVariables g;
  g.Set(100004, 0, RValue("kept"));
  g.DeclareGlobal(100004);
  g.DeclareGlobal(100005);
  RValue out;
  ASSERT_TRUE(g.Get(100004, 0, out, false));
  EXPECT_EQ(out, RValue("kept"));
  ASSERT_TRUE(g.Get(100005, 0, out, false));
  EXPECT_EQ(out, RValue(0.0));
  EXPECT_EQ(g.list.Count(), 2);
}

TEST(GlobalVariables, StoredStateRoundTrips) {
  CGlobalVariables g;
  g.DeclareGlobal(100002);
  g.Set(100007, 32000 * 1 + 3, RValue("a"));
  CStream s;
  g.WriteToStream(s);
  s.Seek(0);
  EXPECT_EQ(s.ReadInt(), 700);
  s.Seek(0);
  CGlobalVariables r;
  r.Set(100009, 0, RValue(1.0));
  r.ReadFromStream(s);
  EXPECT_TRUE(s.AtEnd());
  EXPECT_TRUE(r.IsDeclaredGlobal(100002));
  EXPECT_FALSE(r.IsDeclaredGlobal(100007));
  EXPECT_EQ(r.GlobalvarCount(), 10000u);
  RValue out;
  EXPECT_FALSE(r.Get(100009, 0, out, false));
  ASSERT_TRUE(r.Get(100007, 32003, out, false));
  EXPECT_EQ(out, RValue("a"));
}

TEST(GlobalVariables, WrongMarkerOrTruncatedStateLeavesItUntouched) {
  CGlobalVariables g;
  g.DeclareGlobal(100001);
  CStream s;
  s.WriteInt(701);
  s.Seek(0);
  g.ReadFromStream(s);
  EXPECT_TRUE(g.IsDeclaredGlobal(100001));
  EXPECT_EQ(g.list.Count(), 1);

  CGlobalVariables other;
  CStream t;
  other.WriteToStream(t);
  t.Bytes().resize(t.Size() - 8);  // cut inside the globalvar flags
  t.Seek(0);
  EXPECT_THROW(g.ReadFromStream(t), StreamReadError);
  EXPECT_TRUE(g.IsDeclaredGlobal(100001));
  EXPECT_EQ(g.list.Count(), 1);
}

}  // namespace
}  // namespace zorvex
