#include "runner/Support_Table.h"

#include <gtest/gtest.h>

namespace zorvex {
namespace {

struct Thing {
  int32_t value = 0;
};
bool ReadThing(CStream& s, Thing& t) {
  t.value = s.ReadInt();
  return t.value >= 0;  // a negative value stands for a record that fails
}
void WriteThing(CStream& s, const Thing& t) {
  s.WriteInt(t.value);
}

TEST(SupportTable, EmptySlotsKeepTheirPlace) {
  std::vector<std::unique_ptr<Thing>> items;
  items.push_back(std::make_unique<Thing>(Thing{7}));
  items.push_back(nullptr);
  items.push_back(std::make_unique<Thing>(Thing{9}));
  std::vector<std::string> names = {"first", "", "third"};
  CStream s;
  WriteResourceTable(s, 400, items, names, WriteThing);
  // version, count, (1, "first", 7), (0), (1, "third", 9)
  EXPECT_EQ(s.Size(), 4u + 4u + (4 + 4 + 5 + 4) + 4 + (4 + 4 + 5 + 4));
  s.WriteInt(-1);
  s.Seek(0);
  std::vector<std::unique_ptr<Thing>> got;
  std::vector<std::string> got_names = {"stale"};
  ASSERT_TRUE(ReadResourceTable(s, 400, got, got_names, ReadThing));
  ASSERT_EQ(got.size(), 3u);
  EXPECT_EQ(got[0]->value, 7);
  EXPECT_EQ(got[1], nullptr);
  EXPECT_EQ(got[2]->value, 9);
  EXPECT_EQ(got_names, names);
  EXPECT_EQ(s.ReadInt(), -1);
}

TEST(SupportTable, WrongVersionsFailingRecordsAndBadCounts) {
  CStream s;
  s.WriteInt(401);
  s.WriteInt(0);
  s.Seek(0);
  std::vector<std::unique_ptr<Thing>> items;
  std::vector<std::string> names;
  EXPECT_FALSE(ReadResourceTable(s, 400, items, names, ReadThing));

  CStream f;
  f.WriteInt(400);
  f.WriteInt(1);
  f.WriteBool(true);
  f.WriteString("x");
  f.WriteInt(-5);
  f.Seek(0);
  EXPECT_FALSE(ReadResourceTable(f, 400, items, names, ReadThing));

  CStream n;
  n.WriteInt(400);
  n.WriteInt(-3);
  n.Seek(0);
  EXPECT_TRUE(ReadResourceTable(n, 400, items, names, ReadThing));
  EXPECT_TRUE(items.empty());

  CStream huge;
  huge.WriteInt(400);
  huge.WriteInt(1000000);
  huge.WriteInt(0);
  huge.Seek(0);
  EXPECT_THROW(ReadResourceTable(huge, 400, items, names, ReadThing), StreamReadError);
}

}  // namespace
}  // namespace zorvex
