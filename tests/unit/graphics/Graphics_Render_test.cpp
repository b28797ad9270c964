// Drawing with the real GL code on Mesa's software renderer, checked pixel by pixel and against
// reference pictures in tests/render/.
#include <gtest/gtest.h>

#include "Render_Fixture.h"
#include "graphics/Graphics_Color.h"

namespace zorvex::testing {
namespace {

constexpr uint32_t kOpaqueRed = 0xFFFF0000u;
constexpr uint32_t kOpaqueWhite = 0xFFFFFFFFu;

using RenderPixels = RenderTest;

TEST_F(RenderPixels, FilledRectangleCoversLastColumnAndRow) {
  DrawRectangle(g(), 0, 0, 10, 10, kOpaqueRed, kOpaqueRed, kOpaqueRed, kOpaqueRed, false);
  // x and y from 0 to 10.01 cover the pixel centres 0..10: eleven pixels each way.
  EXPECT_EQ(Pixel(0, 0), 0xFF0000u);
  EXPECT_EQ(Pixel(10, 10), 0xFF0000u);
  EXPECT_EQ(Pixel(10, 0), 0xFF0000u);
  EXPECT_EQ(Pixel(11, 5), 0u);
  EXPECT_EQ(Pixel(5, 11), 0u);
  // A fractional edge is kept: 10.5 covers the centres up to 10 only.
  DrawRectangle(g(), 20, 20, 30.5, 30.5, kOpaqueWhite, kOpaqueWhite, kOpaqueWhite, kOpaqueWhite,
                false);
  EXPECT_EQ(Pixel(30, 30), 0xFFFFFFu);
  EXPECT_EQ(Pixel(31, 30), 0u);
}

}  // namespace
}  // namespace zorvex::testing
