#include "graphics/Graphics_Mapping.h"

#include <gtest/gtest.h>

namespace zorvex {
namespace {

TEST(GraphicsMapping, TargetRectangle) {
  // Fixed factor 2: 640 x 480 centred in 700 x 500.
  EXPECT_EQ(TargetRectangle(700, 500, 320, 240, 2), (CScreenRect{30, 10, 640, 480}));
  // Largest fitting factor min(500/480, 800/640) = 1.0417: 666.67 rounds to 667.
  EXPECT_EQ(TargetRectangle(800, 500, 640, 480, -1), (CScreenRect{66, 0, 667, 500}));
  // Stretch: the whole client area.
  EXPECT_EQ(TargetRectangle(123, 45, 640, 480, 0), (CScreenRect{0, 0, 123, 45}));
  // Larger than the client: negative offsets, halves truncated toward zero (-141 / 2 = -70).
  EXPECT_EQ(TargetRectangle(100, 100, 320, 241, 1), (CScreenRect{-110, -70, 320, 241}));
  // Rounding of the scaled size is to even on halves: 0.5 x 5 = 2.5 -> 2, 0.5 x 7 = 3.5 -> 4.
  EXPECT_EQ(TargetRectangle(10, 10, 5, 7, 0.5), (CScreenRect{4, 3, 2, 4}));
}

TEST(GraphicsMapping, WindowToRegionAndBack) {
  // Scale 2 in 700 x 500: the region starts at (30, 10).
  EXPECT_EQ(WindowToRegion(30, 10, 700, 500, 320, 240, 2), (CPoint{0, 0}));
  EXPECT_EQ(WindowToRegion(31, 11, 700, 500, 320, 240, 2), (CPoint{0, 0}));  // 0.5 -> 0
  EXPECT_EQ(WindowToRegion(33, 13, 700, 500, 320, 240, 2), (CPoint{2, 2}));  // 1.5 -> 2
  EXPECT_EQ(WindowToRegion(0, 0, 700, 500, 320, 240, 2), (CPoint{-15, -5}));
  // Stretch: the far corner of the client maps to about the region size.
  EXPECT_EQ(WindowToRegion(799, 599, 800, 600, 640, 480, 0), (CPoint{639, 479}));
  // Degenerate sizes give the origin rather than a division by zero.
  EXPECT_EQ(WindowToRegion(5, 5, 0, 0, 640, 480, 0), (CPoint{0, 0}));
  EXPECT_EQ(WindowToRegion(5, 5, 100, 100, 0, 0, -1), (CPoint{0, 0}));
  // Region to screen with the client at (100, 50): 100 + 350 - 320 + 20 = 150.
  EXPECT_EQ(RegionToScreen(10, 10, 100, 50, 700, 500, 320, 240, 2), (CPoint{150, 80}));
  EXPECT_EQ(RegionToScreen(320, 240, 0, 0, 640, 480, 320, 240, 0), (CPoint{640, 480}));
}

TEST(GraphicsMapping, ThroughOneView) {
  CViewMappingTable t;
  // A 320 x 240 part of the room at (100, 200), shown twice as large.
  t.Set(0, 100, 200, 320, 240, 0, 0, 640, 480, 0);
  EXPECT_EQ(RegionToRoom(t, 0, 64, 48), (CPoint{132, 224}));
  EXPECT_EQ(RoomToRegion(t, 0, 132, 224), (CPoint{64, 48}));
  // Inactive or out-of-range entries leave the point alone.
  EXPECT_EQ(RegionToRoom(t, 1, 64, 48), (CPoint{64, 48}));
  EXPECT_EQ(RegionToRoom(t, 40, 64.4, 48), (CPoint{64, 48}));
  EXPECT_EQ(RoomToRegion(t, -1, 7, 8), (CPoint{7, 8}));
  // An empty port leaves region points as they are; an empty view leaves room points.
  t.Set(2, 0, 0, 100, 100, 0, 0, 0, 100, 0);
  EXPECT_EQ(RegionToRoom(t, 2, 5, 6), (CPoint{5, 6}));
  t.Set(3, 0, 0, 0, 100, 0, 0, 100, 100, 0);
  EXPECT_EQ(RoomToRegion(t, 3, 5, 6), (CPoint{5, 6}));
}

TEST(GraphicsMapping, RotatedViewsAndTheTinyAngleRule) {
  CViewMappingTable t;
  t.Set(0, 0, 0, 100, 100, 0, 0, 100, 100, 90);
  // phi = -pi/2, ex = 50, ey = 0: x = 50 + 50 cos + 0 = 50, y = 50 - 50 sin(phi) = 100.
  EXPECT_EQ(RegionToRoom(t, 0, 100, 50), (CPoint{50, 100}));
  EXPECT_EQ(RoomToRegion(t, 0, 50, 100), (CPoint{100, 50}));
  // 0.005 degrees counts as unrotated; with rotation this far corner would move 4 pixels.
  t.Set(1, 0, 0, 100000, 100000, 0, 0, 100000, 100000, 0.005);
  EXPECT_EQ(RegionToRoom(t, 1, 0, 0), (CPoint{0, 0}));
  t.Set(1, 0, 0, 100000, 100000, 0, 0, 100000, 100000, 0.02);
  EXPECT_NE(RegionToRoom(t, 1, 0, 0), (CPoint{0, 0}));
}

TEST(GraphicsMapping, ViewsMousePrefersTheHighestViewContainingThePoint) {
  CViewMappingTable t;
  EXPECT_EQ(ViewsMouse(t, {12, 34}), (CPoint{12, 34}));
  t.Set(0, 0, 0, 50, 50, 50, 0, 50, 50, 0);
  t.Set(1, 1000, 1000, 50, 50, 0, 0, 50, 50, 0);
  EXPECT_EQ(t.active_count, 2);
  EXPECT_EQ(ViewsMouse(t, {10, 10}), (CPoint{1010, 1010}));  // inside view 1
  EXPECT_EQ(ViewsMouse(t, {75, 10}), (CPoint{25, 10}));      // view 1 gives 1075: outside
  EXPECT_EQ(ViewsMouse(t, {200, 200}), (CPoint{150, 200}));  // none: the lowest active one
  // Overlapping views both containing the point: the higher-numbered one wins.
  t.Set(5, 1000, 1000, 50, 50, 50, 0, 50, 50, 0);
  EXPECT_EQ(ViewsMouse(t, {75, 10}), (CPoint{1025, 1010}));
  t.Clear(5);
  t.Clear(5);
  EXPECT_EQ(t.active_count, 2);
  t.ClearAll();
  EXPECT_EQ(t.active_count, 0);
  EXPECT_EQ(ViewsMouse(t, {75, 10}), (CPoint{75, 10}));
}

}  // namespace
}  // namespace zorvex
