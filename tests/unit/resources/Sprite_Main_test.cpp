#include "resources/Sprite_Main.h"

#include <gtest/gtest.h>

#include "Resource_Test_Util.h"

namespace zorvex {
namespace {

CStream ThreeSlots() {
  CSpriteTable t;
  t.Append(std::make_unique<CSprite>(), "spr_a");
  t.Append(nullptr, "");
  auto b = std::make_unique<CSprite>();
  b->width = 7;
  t.Append(std::move(b), "spr_b");
  CStream s;
  t.WriteSection(s);
  s.Seek(0);
  return s;
}

TEST(SpriteTable, EmptySlotsKeepIdsAndAnswerUndefined) {
  CStream s = ThreeSlots();
  CSpriteTable t;
  ASSERT_TRUE(t.ReadSection(s));
  EXPECT_TRUE(s.AtEnd());
  EXPECT_EQ(t.Count(), 3);
  EXPECT_FALSE(t.Exists(1));
  EXPECT_EQ(t.Get(1), nullptr);
  EXPECT_EQ(t.Name(1), "<undefined>");
  EXPECT_EQ(t.Name(3), "<undefined>");
  EXPECT_EQ(t.Name(-1), "<undefined>");
  EXPECT_EQ(t.Find("spr_b"), 2);
  EXPECT_EQ(t.Get(2)->width, 7);
  EXPECT_EQ(t.Find("SPR_B"), -1);

  EXPECT_TRUE(t.Delete(0));
  EXPECT_FALSE(t.Delete(0));
  EXPECT_EQ(t.Name(0), "<undefined>");
  EXPECT_EQ(t.Find("spr_a"), -1);
  EXPECT_EQ(t.Count(), 3);
}

TEST(SpriteTable, SectionVersionAndBadRecordFailTheSection) {
  CStream s = ThreeSlots();
  s.WriteInt(401);
  s.Seek(0);
  CSpriteTable t;
  EXPECT_FALSE(t.ReadSection(s));

  CStream bad = ThreeSlots();
  bad.Seek(4 + 4 + 4 + 4 + 5);  // version of the first record
  bad.WriteInt(543);
  bad.Seek(0);
  EXPECT_FALSE(t.ReadSection(bad));
  EXPECT_EQ(t.Count(), 0);

  CStream absurd;
  absurd.WriteInt(400);
  absurd.WriteInt(1 << 30);
  absurd.Seek(0);
  EXPECT_FALSE(t.ReadSection(absurd));
}

TEST(SpriteTable, RunTimeAdditionsDuplicatesAndAssignments) {
  CStream s = ThreeSlots();
  CSpriteTable t;
  ASSERT_TRUE(t.ReadSection(s));
  EXPECT_EQ(t.Duplicate(1), -1);
  EXPECT_EQ(t.Duplicate(2), 3);
  EXPECT_EQ(t.Name(3), "__newsprite3");
  EXPECT_EQ(t.Get(3)->width, 7);

  EXPECT_FALSE(t.AssignSprite(5, 2));  // target beyond the table
  EXPECT_FALSE(t.AssignSprite(0, 1));  // empty source
  EXPECT_TRUE(t.AssignSprite(1, 2));   // an empty target gets a sprite
  EXPECT_EQ(t.Get(1)->width, 7);

  EXPECT_EQ(t.AddFromFile("no such file.png", 1, true, true, false, true, 0, 0, false), -1);
  EXPECT_EQ(t.Count(), 4);
  EXPECT_FALSE(t.ReplaceFromFile(9, "x.png", 1, true, true, false, true, 0, 0, false));

  testing::TempDir dir;
  ASSERT_TRUE(
      testing::WritePng(dir.File("p.png"), 2, 2, std::vector<uint32_t>(4, 0xFF0000FFu), false));
  EXPECT_EQ(t.AddFromFile(dir.File("p.png"), 1, true, true, false, true, 0, 0, false), 4);
  EXPECT_EQ(t.Name(4), "__newsprite4");
  EXPECT_EQ(t.NewEmpty(), 5);
  EXPECT_EQ(t.Get(5)->FrameCount(), 0);
}

}  // namespace
}  // namespace zorvex
