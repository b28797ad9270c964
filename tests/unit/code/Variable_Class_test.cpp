#include "code/Variable_Class.h"

#include <gtest/gtest.h>

#include "runner/Support_Stream.h"

namespace zorvex {
namespace {

TEST(VariableList, OneDimensionalWriteCreatesScalarAndPaddedRow) {
  CVariableList l;
  l.SetValue(100000, 3, RValue(1.0));
  ASSERT_EQ(l.Count(), 1);
  const RVariable& v = l.At(0);
  EXPECT_EQ(v.value, RValue(0.0));
  ASSERT_EQ(v.rows.size(), 1u);
  ASSERT_EQ(v.rows[0].size(), 4u);
  EXPECT_EQ(v.rows[0][0], RValue(0.0));
  EXPECT_EQ(v.rows[0][3], RValue(1.0));
  RValue out;
  EXPECT_TRUE(l.GetValue(100000, 0, out, false));
  EXPECT_EQ(out, RValue(0.0));
  EXPECT_FALSE(l.GetValue(100000, 4, out, false));
  EXPECT_TRUE(l.GetValue(100000, 4, out, true));
  EXPECT_EQ(out, RValue(0.0));
}

TEST(VariableList, TwoDimensionalWriteLeavesEarlierRowsEmpty) {
  CVariableList l;
  l.SetValue(7, 2 * 32000 + 5, RValue("x"));
  const RVariable& v = l.At(0);
  ASSERT_EQ(v.rows.size(), 3u);
  EXPECT_TRUE(v.rows[0].empty());
  EXPECT_TRUE(v.rows[1].empty());
  EXPECT_EQ(v.rows[2].size(), 6u);
  RValue out;
  EXPECT_FALSE(l.GetValue(7, 32000, out, false));
  EXPECT_TRUE(l.GetValue(7, 2 * 32000 + 5, out, false));
  EXPECT_EQ(out, RValue("x"));
  EXPECT_FALSE(l.GetValue(8, 0, out, false));  // no such variable
}

TEST(VariableList, ScalarIsElementZero) {
  CVariableList l;
  l.SetValue(1, 0, RValue(7.0));
  RValue out;
  EXPECT_TRUE(l.GetValue(1, 0, out, false));
  EXPECT_EQ(out, RValue(7.0));
  EXPECT_TRUE(l.GetValue(1, 0, out, false));
  EXPECT_EQ(out, RValue(7.0));
  EXPECT_FALSE(l.GetValue(1, -5, out, false));
  l.SetValue(1, 0, RValue("s"));
  ASSERT_TRUE(l.GetValue(1, 0, out, false));
  EXPECT_EQ(out, RValue("s"));
}

TEST(VariableList, RowsOfRealsTakeStringsLater) {
  CVariableList l;
  for (int k = 1; k <= 5; ++k)
    l.SetValue(3, k, RValue(double(k)));
  l.SetValue(3, 8, RValue("eight"));  // turns the row into values, padding with real 0
  l.SetValue(3, 2, RValue(-2.0));
  const RRow& row = l.At(0).rows[0];
  ASSERT_EQ(row.size(), 9u);
  EXPECT_EQ(row[1], RValue(1.0));
  EXPECT_EQ(row[2], RValue(-2.0));
  EXPECT_EQ(row[6], RValue(0.0));
  EXPECT_EQ(row[8], RValue("eight"));
  RValue out("stale");
  ASSERT_TRUE(l.GetValue(3, 5, out, false));
  EXPECT_EQ(out, RValue(5.0));
  EXPECT_TRUE(out.str.empty());
  // Out of order writes within a row of reals pad with real 0.
  l.SetValue(4, 32000 + 3, RValue(1.0));
  ASSERT_TRUE(l.GetValue(4, 32000 + 1, out, false));
  EXPECT_EQ(out, RValue(0.0));
}

TEST(VariableList, ManyVariablesKeepOrderAndAreFound) {
  CVariableList l;
  // Enough ids to pass from the short scan to the id index and through several regrowths.
  for (int i = 0; i < 300; ++i)
    l.SetValue(100000 + (i * 7919) % 1000, 0, RValue(double(i)));
  ASSERT_EQ(l.Count(), 300);
  for (int i = 0; i < 300; ++i) {
    int32_t id = 100000 + (i * 7919) % 1000;
    EXPECT_EQ(l.At(i).id, id);
    EXPECT_EQ(l.IndexOf(id), i);
    RValue out;
    ASSERT_TRUE(l.GetValue(id, 0, out, false));
    EXPECT_EQ(out.real, double(i));
  }
  EXPECT_EQ(l.IndexOf(99999), -1);
  l.Declare(100000 + 7919 % 1000);  // present: nothing appended
  EXPECT_EQ(l.Count(), 300);
}

TEST(VariableList, CacheFollowsTheListItWasFilledFrom) {
  CVariableList a, b;
  a.SetValue(5, 0, RValue(1.0));
  a.SetValue(6, 0, RValue(2.0));
  b.SetValue(6, 0, RValue(3.0));
  CVariableCache cache;
  EXPECT_EQ(a.FindVariable(6, cache)->value, RValue(2.0));
  EXPECT_EQ(b.FindVariable(6, cache)->value, RValue(3.0));
  EXPECT_EQ(a.FindVariable(6, cache)->value, RValue(2.0));
  EXPECT_EQ(b.FindVariable(5, cache), nullptr);
  a.Clear();
  EXPECT_EQ(a.FindVariable(6, cache), nullptr);
  EXPECT_EQ(a.ObtainVariable(6, cache).value, RValue(0.0));
}

TEST(VariableList, AssignMakesADeepCopy) {
  CVariableList a, b;
  a.SetValue(1, 32001, RValue("s"));
  b.Assign(a);
  a.SetValue(1, 32001, RValue("t"));
  RValue out;
  ASSERT_TRUE(b.GetValue(1, 32001, out, false));
  EXPECT_EQ(out, RValue("s"));
}

TEST(VariableList, StoredFormRoundTripsAndHasTheFixedLayout) {
  CVariableList l;
  l.SetValue(100003, 0, RValue("hello"));
  l.SetValue(100001, 2 * 32000 + 1, RValue(2.5));
  l.SetValue(100001, 2 * 32000 + 3, RValue("mixed"));
  l.SetValue(5, 0, RValue(-1.0));
  CStream s;
  l.WriteToStream(s);
  s.Seek(0);
  EXPECT_EQ(s.ReadInt(), 440);
  EXPECT_EQ(s.ReadInt(), 3);
  EXPECT_EQ(s.ReadInt(), 100003);
  EXPECT_EQ(s.ReadInt(), 1);  // kind string
  EXPECT_EQ(s.ReadReal(), 0.0);
  EXPECT_EQ(s.ReadString(), "hello");
  EXPECT_EQ(s.ReadInt(), 0);  // no rows
  EXPECT_EQ(s.ReadInt(), 100001);
  s.Seek(0);
  CVariableList r;
  r.SetValue(9, 0, RValue(9.0));  // replaced by the read
  r.ReadFromStream(s);
  ASSERT_EQ(r.Count(), 3);
  EXPECT_EQ(r.At(0).id, 100003);
  EXPECT_EQ(r.At(0).value, RValue("hello"));
  EXPECT_EQ(r.At(1).id, 100001);
  ASSERT_EQ(r.At(1).rows.size(), 3u);
  EXPECT_TRUE(r.At(1).rows[0].empty());
  EXPECT_TRUE(r.At(1).rows[1].empty());
  ASSERT_EQ(r.At(1).rows[2].size(), 4u);
  EXPECT_EQ(r.At(1).rows[2][1], RValue(2.5));
  EXPECT_EQ(r.At(1).rows[2][2], RValue(0.0));
  EXPECT_EQ(r.At(1).rows[2][3], RValue("mixed"));
  EXPECT_EQ(r.At(2).value, RValue(-1.0));
  EXPECT_TRUE(s.AtEnd());
}

TEST(VariableList, WrongMarkerLeavesAnEmptyList) {
  CStream s;
  s.WriteInt(441);
  s.WriteInt(1);
  s.Seek(0);
  CVariableList l;
  l.SetValue(1, 0, RValue(1.0));
  l.ReadFromStream(s);
  EXPECT_EQ(l.Count(), 0);
  EXPECT_EQ(s.Position(), 4u);
}

TEST(VariableList, TruncatedOrAbsurdStoredFormThrowsWithoutHugeAllocation) {
  CStream s;
  s.WriteInt(440);
  s.WriteInt(2000000000);
  s.Seek(0);
  CVariableList l;
  EXPECT_THROW(l.ReadFromStream(s), StreamReadError);
  CStream t;
  t.WriteInt(440);
  t.WriteInt(1);
  t.WriteInt(5);
  WriteValue(t, RValue(1.0));
  t.WriteInt(1 << 30);  // rows
  t.Seek(0);
  EXPECT_THROW(l.ReadFromStream(t), StreamReadError);
}

}  // namespace
}  // namespace zorvex
