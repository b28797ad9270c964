#include "graphics/Graphics_Color.h"

#include <gtest/gtest.h>

namespace zorvex {
namespace {

TEST(GraphicsColor, ScriptAndDeviceOrder) {
  EXPECT_EQ(ColorToDevice(255, 1.0), 0xFFFF0000u);        // c_red
  EXPECT_EQ(ColorToDevice(16711680, 0.5), 0x800000FFu);   // c_blue; 127.5 rounds to 128
  EXPECT_EQ(ColorToDevice(0x123456, 2.0), 0xFF563412u);   // alpha clamped to 1
  EXPECT_EQ(ColorToDevice(0x123456, -1.0), 0x00563412u);  // and to 0
  EXPECT_EQ(ColorToDeviceOpaque(65280), 0xFF00FF00u);     // c_lime
  EXPECT_EQ(DeviceToColor(0x80FF0000u), 255);
  EXPECT_EQ(DeviceToColor(ColorToDevice(0x00ABCDEF, 0.3)), 0x00ABCDEF);
}

TEST(GraphicsColor, RgbSpillsAndHsvWraps) {
  EXPECT_EQ(MakeColorRgb(256, 0, 0), 256);  // red 0, green 1
  EXPECT_EQ(MakeColorRgb(255, 255, 255), 16777215);
  EXPECT_EQ(MakeColorRgb(-1, 0, 0), -1);
  EXPECT_EQ(MakeColorHsv(255, 255, 255), 255);       // hue 360 wraps to red
  EXPECT_EQ(MakeColorHsv(85, 255, 255), 65280);      // hue 120: lime
  EXPECT_EQ(MakeColorHsv(170, 255, 255), 16711680);  // hue 240: blue
  EXPECT_EQ(MakeColorHsv(0, 0, 255), 16777215);
  EXPECT_EQ(MakeColorHsv(0, 0, 0), 0);
}

TEST(GraphicsColor, ColourToHsv) {
  EXPECT_EQ(ColorHue(16777215), 0);
  EXPECT_EQ(ColorSaturation(16777215), 0);
  EXPECT_EQ(ColorValue(16777215), 255);
  EXPECT_EQ(ColorHue(65280), 85);          // 120 degrees
  EXPECT_EQ(ColorHue(16711680), 170);      // 240 degrees
  EXPECT_EQ(ColorHue(16711935), 212);      // fuchsia: 300 degrees -> 212.5 truncated
  EXPECT_EQ(ColorSaturation(8421504), 0);  // grey
  EXPECT_EQ(ColorValue(8421504), 128);
  EXPECT_EQ(ColorSaturation(0x000080), 255);  // maroon
}

TEST(GraphicsColor, MergeRoundsEachChannelToEven) {
  EXPECT_EQ(MergeColor(0, 16777215, 0.5), 8421504);  // 127.5 -> 128 per channel
  EXPECT_EQ(MergeColor(255, 16711680, 0.0), 255);
  EXPECT_EQ(MergeColor(255, 16711680, 1.0), 16711680);
  EXPECT_EQ(MergeColor(0x000010, 0x000013, 0.5), 0x000012);  // 17.5 -> 18
}

}  // namespace
}  // namespace zorvex
