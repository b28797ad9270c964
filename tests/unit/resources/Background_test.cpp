#include <gtest/gtest.h>

#include "Resource_Test_Util.h"
#include "resources/Background_Main.h"

namespace zorvex {
namespace {

TEST(BackgroundRecord, RoundTripWithAndWithoutImage) {
  CBackground b;
  b.MakeGradient(2, 3, 0x000000, 0xFFFFFF, 1, true);
  b.transparent = true;
  CStream s;
  b.WriteTo(s);
  CBackground none;
  none.width = 100;
  none.height = 50;
  none.WriteTo(s);
  s.Seek(0);

  CBackground back;
  ASSERT_TRUE(back.ReadFrom(s));
  EXPECT_EQ(back.width, 2);
  EXPECT_EQ(back.height, 3);
  EXPECT_TRUE(back.transparent);
  EXPECT_FALSE(back.smooth);
  EXPECT_TRUE(back.preload);
  EXPECT_TRUE(back.has_image);
  EXPECT_EQ(back.image, b.image);
  EXPECT_EQ(back.Texture(), -1);

  ASSERT_TRUE(back.ReadFrom(s));
  EXPECT_TRUE(s.AtEnd());
  EXPECT_EQ(back.width, 100);
  EXPECT_EQ(back.height, 50);
  EXPECT_FALSE(back.has_image);
  CRawBitmap raw;
  EXPECT_FALSE(back.ImageBitmap(raw));
}

TEST(BackgroundRecord, WrongVersionFails) {
  CStream s;
  s.WriteInt(542);
  s.Seek(0);
  CBackground b;
  EXPECT_FALSE(b.ReadFrom(s));
  CBackgroundTable t;
  CStream section;
  section.WriteInt(400);
  section.WriteInt(1);
  section.WriteBool(true);
  section.WriteString("bg");
  section.WriteInt(542);
  section.Seek(0);
  EXPECT_FALSE(t.ReadSection(section));
}

TEST(Background, GradientRowsAndSolidColour) {
  CBackground b;
  b.MakeGradient(1, 4, 0x000000, 0xFFFFFF, 1, false);
  EXPECT_EQ(b.image.Pixel(0, 0), 0xFF000000u);
  EXPECT_EQ(b.image.Pixel(0, 1), 0xFF404040u);
  EXPECT_EQ(b.image.Pixel(0, 2), 0xFF808080u);
  EXPECT_EQ(b.image.Pixel(0, 3), 0xFFBFBFBFu);
  b.MakeSolid(3, 2, 0x00FF00, true);
  EXPECT_EQ(b.width, 3);
  EXPECT_EQ(b.image.Pixel(2, 1), 0xFF00FF00u);
  EXPECT_FALSE(b.transparent);
  EXPECT_TRUE(b.preload);
}

TEST(Background, FilesBitmapsAlphaAndAssign) {
  testing::TempDir dir;
  ASSERT_TRUE(testing::WritePng(dir.File("b.png"), 2, 1, {0xFFFF0000u, 0xFF00FF00u}, false));
  CBackground b;
  ASSERT_TRUE(b.LoadFromFile(dir.File("b.png"), true, false, true, false));
  EXPECT_EQ(b.width, 2);
  EXPECT_EQ(b.image.Pixel(0, 0) >> 24, 0u);  // bottom-left colour
  EXPECT_EQ(b.image.Pixel(1, 0), 0xFF00FF00u);
  EXPECT_FALSE(b.LoadFromFile(dir.File("none.png"), false, false, false, false));
  EXPECT_EQ(b.width, 2);

  CBackground mask;
  mask.SetFromBitmap(CRawBitmap{2, 1, 24, {0x00606060u, 0x00000000u}}, false, false, false, false);
  b.AlphaFromBackground(mask);
  EXPECT_EQ(b.image.Pixel(1, 0), 0x0000FF00u);

  CBackgroundTable t;
  t.Append(std::make_unique<CBackground>(), "a");
  t.Append(nullptr, "");
  EXPECT_FALSE(t.AssignBackground(0, 1));
  EXPECT_FALSE(t.AssignBackground(2, 0));
  EXPECT_EQ(t.Duplicate(1), -1);
  EXPECT_EQ(t.Duplicate(0), 2);
  EXPECT_EQ(t.Name(2), "__newbackground2");
  EXPECT_EQ(t.AddFromFile(dir.File("missing.png"), false, false, false, false), -1);
  EXPECT_EQ(t.Count(), 3);
  EXPECT_EQ(t.AddFromFile(dir.File("b.png"), false, false, false, true), 3);
}

}  // namespace
}  // namespace zorvex
