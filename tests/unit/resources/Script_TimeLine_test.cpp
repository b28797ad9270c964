#include <gtest/gtest.h>

#include "resources/Script_Class.h"
#include "resources/TimeLine_Main.h"

namespace zorvex {
namespace {

TEST(ScriptRecord, TextIsStoredScrambledAndComesBackExactly) {
  CScript sc;
  sc.source = "var a;\r\na = argument0 * 2;\r\nreturn a;";
  CStream s;
  sc.WriteTo(s);
  s.Seek(0);
  EXPECT_EQ(s.ReadInt(), 400);
  auto block = s.ReadCompressedBlock();
  // Scrambled with seed 27409: the stored bytes are not the plain string record.
  CStream plain;
  plain.WriteString(sc.source);
  EXPECT_EQ(block->Size(), plain.Size());
  EXPECT_NE(block->Bytes(), plain.Bytes());
  ASSERT_TRUE(DescramblePlain(*block, 27409, 0, 0));
  EXPECT_EQ(block->Bytes(), plain.Bytes());

  s.Seek(0);
  CScript back;
  ASSERT_TRUE(back.ReadFrom(s));
  EXPECT_TRUE(s.AtEnd());
  EXPECT_EQ(back.SourceText(), sc.source);
}

TEST(ScriptRecord, RefusesWrongVersionsAndBrokenTextRecords) {
  CScript sc;
  CStream version;
  version.WriteInt(401);
  version.Seek(0);
  EXPECT_FALSE(sc.ReadFrom(version));

  // A text record whose length says more than it holds.
  CStream text;
  text.WriteInt(50);
  text.WriteBytes("abc", 3);
  ScramblePlain(text, 27409, 0, 0);
  CStream s;
  s.WriteInt(400);
  s.WriteCompressedBlock(text);
  s.Seek(0);
  EXPECT_FALSE(sc.ReadFrom(s));

  CStream shorter;
  shorter.WriteInt(400);
  uint8_t two[2] = {1, 2};
  shorter.WriteCompressedBlock(two, 2);
  shorter.Seek(0);
  EXPECT_FALSE(sc.ReadFrom(shorter));
}

TEST(ScriptTable, SectionRoundTrip) {
  CScriptTable t;
  auto a = std::make_unique<CScript>();
  a->source = "return 1;";
  t.Append(std::move(a), "scr_one");
  t.Append(nullptr, "");
  CStream s;
  t.WriteSection(s);
  s.Seek(0);
  CScriptTable back;
  ASSERT_TRUE(back.ReadSection(s));
  EXPECT_EQ(back.Count(), 2);
  EXPECT_EQ(back.Get(0)->source, "return 1;");
  EXPECT_EQ(back.Name(0), "scr_one");
  EXPECT_FALSE(back.Exists(1));
}

CTimeLine Moments(std::initializer_list<int32_t> steps) {
  CTimeLine t;
  for (int32_t step : steps)
    t.AddMoment(step)->AddCodeAction("step" + std::to_string(step));
  return t;
}

TEST(TimeLine, MomentLookupsAddAndDelete) {
  CTimeLine t = Moments({30, 10, 20});
  ASSERT_EQ(t.MomentCount(), 3);
  EXPECT_EQ(t.MomentStep(0), 10);
  EXPECT_EQ(t.MomentStep(2), 30);
  EXPECT_EQ(t.MomentStep(3), 0);
  EXPECT_EQ(t.MomentEvent(-1), nullptr);
  EXPECT_EQ(t.MomentIndexAt(5), 0);
  EXPECT_EQ(t.MomentIndexAt(10.5), 1);
  EXPECT_EQ(t.MomentIndexAt(31), 3);
  EXPECT_EQ(t.FindMoment(20), 1);
  EXPECT_EQ(t.FindMoment(25), -1);

  CEvent* twenty = t.MomentEvent(1);
  EXPECT_EQ(t.AddMoment(20), twenty);
  t.AddMoment(15);
  EXPECT_EQ(t.MomentStep(1), 15);
  EXPECT_EQ(t.MomentEvent(2), twenty);

  t.DeleteMoment(25);
  EXPECT_EQ(t.MomentCount(), 4);
  t.DeleteMoment(10);
  t.DeleteMoment(15);
  ASSERT_EQ(t.MomentCount(), 2);
  EXPECT_EQ(t.MomentStep(0), 20);
  EXPECT_EQ(t.MomentStep(1), 30);
  EXPECT_EQ(t.MomentEvent(0)->actions[0].arguments[0], "step20");
  EXPECT_EQ(CTimeLine().MomentIndexAt(7), 0);
}

TEST(TimeLineRecord, RoundTripAndRefusals) {
  CTimeLine t = Moments({0, 5, 1000});
  CStream s;
  t.WriteTo(s);
  s.Seek(0);
  CTimeLine back;
  ASSERT_TRUE(back.ReadFrom(s));
  EXPECT_TRUE(s.AtEnd());
  ASSERT_EQ(back.MomentCount(), 3);
  for (int32_t i = 0; i < 3; ++i) {
    EXPECT_EQ(back.MomentStep(i), t.MomentStep(i));
    EXPECT_EQ(*back.MomentEvent(i), *t.MomentEvent(i));
  }

  auto record = [](std::vector<int32_t> steps) {
    CStream r;
    r.WriteInt(500);
    r.WriteInt(static_cast<int32_t>(steps.size()));
    for (int32_t step : steps) {
      r.WriteInt(step);
      CEvent().WriteTo(r);
    }
    r.Seek(0);
    return r;
  };
  CStream unsorted = record({5, 3});
  EXPECT_FALSE(back.ReadFrom(unsorted));
  CStream twice = record({5, 5});
  EXPECT_FALSE(back.ReadFrom(twice));
  CStream version = record({1});
  version.WriteInt(501);
  version.Seek(0);
  EXPECT_FALSE(back.ReadFrom(version));
  CStream lying;
  lying.WriteInt(500);
  lying.WriteInt(1 << 28);
  lying.Seek(0);
  EXPECT_FALSE(back.ReadFrom(lying));

  CTimeLineTable table;
  EXPECT_EQ(table.AddTimeLine(), 0);
  EXPECT_EQ(table.Name(0), "__newtimeline0");
  EXPECT_TRUE(table.Delete(0));
  EXPECT_EQ(table.Name(0), "<undefined>");
}

}  // namespace
}  // namespace zorvex
