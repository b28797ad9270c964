// The shape tests of one instance: boxes inclusive on all sides, precise masks under scale and
// rotation, and the special rules (marked, self, no mask sprite).
#include <gtest/gtest.h>

#include "CollisionTestSupport.h"

namespace zorvex {
namespace {

// An L: the left column and the bottom row.
const std::vector<std::string> kL = {"#...", "#...", "#...", "####"};
// Two top corners and the bottom-left corner.
const std::vector<std::string> kCorners = {"#..#", "....", "....", "#..."};

class InstanceCollisionTest : public testing::CollisionGameTest {};

TEST_F(InstanceCollisionTest, BoxesAreInclusiveOnAllSides) {
  const int32_t spr = AddSprite("box", 16, 16);
  const int32_t obj = AddObject("obj", -1, spr);
  auto a = Loose(obj, 0, 0, 100001);
  auto b = Loose(obj, 16, 0, 100002);
  EXPECT_EQ(a->bbox_right, 15);
  EXPECT_FALSE(a->CollidesWith(*b, true));
  EXPECT_FALSE(b->CollidesWith(*a, false));
  b->SetPosition(15, 0);
  EXPECT_TRUE(a->CollidesWith(*b, true));
  EXPECT_TRUE(b->CollidesWith(*a, true));
  b->SetPosition(0, 16);
  EXPECT_FALSE(a->CollidesWith(*b, false));
  b->SetPosition(-15, -15);
  EXPECT_TRUE(a->CollidesWith(*b, false));
  // Never with itself; never once destroyed, even before it is removed.
  EXPECT_FALSE(a->CollidesWith(*a, false));
  b->marked = true;
  EXPECT_FALSE(a->CollidesWith(*b, false));
  EXPECT_FALSE(b->CollidesWith(*a, false));
}

TEST_F(InstanceCollisionTest, PointsInsideUpToTheRightEdgePlusOne) {
  const int32_t spr = AddSprite("box", 11, 11);
  auto i = Loose(AddObject("obj", -1, spr), 10, 10);
  ASSERT_EQ(i->bbox_right, 20);
  EXPECT_TRUE(i->PointInside(true, 20.9, 15));
  EXPECT_FALSE(i->PointInside(true, 21, 15));
  EXPECT_TRUE(i->PointInside(true, 10, 10));
  EXPECT_FALSE(i->PointInside(true, 9.999, 10));
  EXPECT_FALSE(i->PointInside(true, 15, 21));
  EXPECT_TRUE(i->PointInside(true, 15, 20.5));
}

TEST_F(InstanceCollisionTest, WithoutAMaskSpriteNothingCollides) {
  // Both would have the placeholder box -100000 on all sides; that is no shape.
  const int32_t obj = AddObject("ghost");
  auto a = Loose(obj, 0, 0, 100001);
  auto b = Loose(obj, 50, 50, 100002);
  ASSERT_EQ(a->bbox_left, kNoBoundingBox);
  EXPECT_FALSE(a->CollidesWith(*b, false));
  EXPECT_FALSE(a->PointInside(false, -100000, -100000));
  EXPECT_FALSE(a->RectangleOverlaps(false, -100001, -100001, -99999, -99999));
  EXPECT_FALSE(a->LineOverlaps(false, -100001, -100000, -99999, -100000));
  // A mask alone gives the shape.
  a->SetMask(AddSprite("m", 4, 4));
  EXPECT_TRUE(a->PointInside(true, 3, 3));
}

TEST_F(InstanceCollisionTest, PreciseMasksDecideWhenBothAskForThem) {
  const int32_t l = Pattern("l", kL);
  const int32_t dot = Pattern("dot", {"#"});
  const int32_t loose_dot = Pattern("loose_dot", {"#"}, false);
  auto a = Loose(AddObject("a", -1, l), 0, 0, 100001);
  auto d = Loose(AddObject("d", -1, dot), 2, 1, 100002);
  ASSERT_EQ(a->bbox_right, 3);
  ASSERT_EQ(a->bbox_bottom, 3);
  // The box of the dot lies inside the L's box, over a see-through pixel.
  EXPECT_FALSE(a->CollidesWith(*d, true));
  EXPECT_TRUE(a->CollidesWith(*d, false));
  d->SetPosition(0, 2);
  EXPECT_TRUE(a->CollidesWith(*d, true));
  d->SetPosition(3, 3);
  EXPECT_TRUE(d->CollidesWith(*a, true));
  // One precise side is enough: the other counts its whole frame.
  d->SetSprite(loose_dot);
  ASSERT_FALSE(d->precise);
  d->SetPosition(2, 1);
  EXPECT_FALSE(a->CollidesWith(*d, true));
  // Neither precise: the boxes decide.
  a->SetSprite(Pattern("loose_l", kL, false));
  EXPECT_TRUE(a->CollidesWith(*d, true));
}

TEST_F(InstanceCollisionTest, TheMaskIndexReplacesTheSpritesShape) {
  const int32_t l = Pattern("l", kL);
  const int32_t big = AddSprite("big", 40, 40);
  auto a = Loose(AddObject("a", -1, big), 0, 0);
  EXPECT_TRUE(a->PointInside(true, 2, 1));
  a->SetMask(l);
  EXPECT_EQ(a->bbox_right, 3);
  EXPECT_FALSE(a->PointInside(true, 2, 1));
  EXPECT_TRUE(a->PointInside(true, 2, 3));
  EXPECT_FALSE(a->PointInside(true, 30, 30));
}

TEST_F(InstanceCollisionTest, TheImageIndexChoosesTheMaskFrame) {
  const int32_t two = Frames("two", {{"#.", ".."}, {".#", "#."}});
  auto a = Loose(AddObject("a", -1, two), 0, 0);
  ASSERT_EQ(a->bbox_right, 1);
  EXPECT_TRUE(a->PointInside(true, 0, 0));
  EXPECT_FALSE(a->PointInside(true, 1, 0));
  a->image_index = 1.7;
  EXPECT_FALSE(a->PointInside(true, 0, 0));
  EXPECT_TRUE(a->PointInside(true, 1, 0));
  // -1 is the last frame; 2 wraps to frame 0.
  a->image_index = -1;
  EXPECT_TRUE(a->PointInside(true, 0, 1));
  a->image_index = 2;
  EXPECT_TRUE(a->PointInside(true, 0, 0));
}

TEST_F(InstanceCollisionTest, ScaledMasksStretchThePixels) {
  const int32_t l = Pattern("l", kL);
  auto a = Loose(AddObject("a", -1, l), 0, 0);
  a->SetImageXScale(2);
  ASSERT_EQ(a->bbox_left, 0);
  ASSERT_EQ(a->bbox_right, 7);
  // Room x maps to floor(x / 2).
  EXPECT_TRUE(a->PointInside(true, 1, 2));
  EXPECT_FALSE(a->PointInside(true, 2, 2));
  EXPECT_TRUE(a->PointInside(true, 7, 3));
  EXPECT_FALSE(a->PointInside(true, 7, 2));
  // Mirrored at x = 10: the box is 5..10 (one pixel wider than the mask, as computed), the
  // column of the L is at x 10, its bottom row at 7..10.
  a->SetImageXScale(-1);
  a->SetPosition(10, 0);
  ASSERT_EQ(a->bbox_left, 5);
  ASSERT_EQ(a->bbox_right, 10);
  EXPECT_TRUE(a->PointInside(true, 10, 0));
  EXPECT_FALSE(a->PointInside(true, 9, 0));
  EXPECT_TRUE(a->PointInside(true, 7, 3));
  EXPECT_FALSE(a->PointInside(true, 6, 3));
  EXPECT_TRUE(a->PointInside(false, 6, 3));
}

TEST_F(InstanceCollisionTest, RotatedMasksAreTestedAtTheirTurnedPixels) {
  const int32_t l = Pattern("l", kL);
  auto a = Loose(AddObject("a", -1, l), 10, 10);
  a->SetImageAngle(90);
  // Turned a quarter counter-clockwise about (10, 10): the column becomes the row y = 10
  // (x 10..13), the bottom row the column x = 13 (y 7..10).
  EXPECT_EQ(a->bbox_left, 10);
  EXPECT_EQ(a->bbox_right, 13);
  EXPECT_EQ(a->bbox_top, 7);
  EXPECT_EQ(a->bbox_bottom, 10);
  EXPECT_TRUE(a->PointInside(true, 10, 10));
  EXPECT_TRUE(a->PointInside(true, 12, 10));
  EXPECT_TRUE(a->PointInside(true, 13, 7));
  EXPECT_FALSE(a->PointInside(true, 10, 7));
  EXPECT_FALSE(a->PointInside(true, 11, 8));
  auto d = Loose(AddObject("d", -1, Pattern("dot", {"#"})), 11, 8, 100002);
  EXPECT_FALSE(a->CollidesWith(*d, true));
  d->SetPosition(13, 8);
  EXPECT_TRUE(a->CollidesWith(*d, true));
  d->SetPosition(14, 8);
  EXPECT_FALSE(a->CollidesWith(*d, false));
}

TEST_F(InstanceCollisionTest, RectanglesMeetTheBoxAndThenTheMask) {
  auto a = Loose(AddObject("a", -1, Pattern("l", kL)), 0, 0);
  EXPECT_FALSE(a->RectangleOverlaps(true, 1, 0, 3, 2));
  EXPECT_TRUE(a->RectangleOverlaps(false, 1, 0, 3, 2));
  EXPECT_TRUE(a->RectangleOverlaps(true, 3, 2, 1, 3));  // corners in any order
  // The box stage in reals: 4 is past the right edge, 3.9 is not.
  EXPECT_FALSE(a->RectangleOverlaps(false, 4, 0, 10, 10));
  EXPECT_TRUE(a->RectangleOverlaps(false, 3.9, 0, 10, 10));
  // ... but the precise stage rounds 3.9 to 4, outside the box.
  EXPECT_FALSE(a->RectangleOverlaps(true, 3.9, 0, 10, 10));
  EXPECT_FALSE(a->RectangleOverlaps(false, -5, -5, 10, -0.1));
  a->marked = true;
  EXPECT_FALSE(a->RectangleOverlaps(false, 0, 0, 3, 3));
}

TEST_F(InstanceCollisionTest, EllipsesRejectTheBoxCornersOutsideThem) {
  auto a = Loose(AddObject("a", -1, Pattern("l", kL)), 0, 0);
  auto c = Loose(AddObject("c", -1, Pattern("corners", kCorners)), 0, 0);
  // Centre (7, 7), half-axes 5: the nearest corner (3, 3) is at 32/25 > 1.
  EXPECT_FALSE(a->EllipseOverlaps(false, 2, 2, 12, 12));
  EXPECT_TRUE(a->RectangleOverlaps(false, 2, 2, 12, 12));
  // Centre (6, 6): the corner (3, 3) is at 18/25; inside it lie (3, 3), (2, 3) and (3, 2).
  EXPECT_TRUE(a->EllipseOverlaps(false, 1, 1, 11, 11));
  EXPECT_TRUE(a->EllipseOverlaps(true, 1, 1, 11, 11));
  EXPECT_TRUE(c->EllipseOverlaps(false, 1, 1, 11, 11));
  EXPECT_FALSE(c->EllipseOverlaps(true, 1, 1, 11, 11));
  // Rounded to one pixel wide (3..4): half-axis 0.5 about x 3.5; of the column x = 3 only the
  // pixel at the centre row y = 3 is inside.
  EXPECT_TRUE(a->EllipseOverlaps(true, 2.6, 1.6, 3.6, 4.4));
  EXPECT_FALSE(c->EllipseOverlaps(true, 2.6, 1.6, 3.6, 4.4));
  // Rounded to no width: tested as the rectangle.
  EXPECT_TRUE(c->EllipseOverlaps(true, 2.8, -1, 3.4, 0.2));
  EXPECT_FALSE(c->EllipseOverlaps(true, 1.8, -1, 2.4, 5));
}

TEST_F(InstanceCollisionTest, LinesAreClippedToTheBoxAndWalkedPixelByPixel) {
  auto a = Loose(AddObject("a", -1, Pattern("l", kL)), 0, 0);
  EXPECT_TRUE(a->LineOverlaps(true, -5, 1, 10, 1));
  EXPECT_TRUE(a->LineOverlaps(true, 1, -5, 1, 10));
  EXPECT_FALSE(a->LineOverlaps(true, 2, -5, 2, 2.4));
  // y = x - 1 crosses only see-through pixels (1, 0), (2, 1), (3, 2); y = x + 1 starts on (0, 1).
  EXPECT_FALSE(a->LineOverlaps(true, 0, -1, 4, 3));
  EXPECT_FALSE(a->LineOverlaps(true, 4, 3, 0, -1));
  EXPECT_TRUE(a->LineOverlaps(false, 0, -1, 4, 3));
  EXPECT_TRUE(a->LineOverlaps(true, -1, 0, 3, 4));
  // Steep: x = (y + 9) / 4 for y 0..3 is 2.25 .. 3 -> pixels (2, 0), (2, 1), (2, 2), (3, 3).
  EXPECT_TRUE(a->LineOverlaps(true, 0, -9, 4, 7));
  // Ending at y 2.4 (rounded 2): x = 4 (y + 9) / 11 is 3.27, 3.64, 4 -> (3, 0), (3, 1), past.
  EXPECT_FALSE(a->LineOverlaps(true, 0, -9, 4, 2.4));
  // Passes the rectangle stage, but clipped to x 0..4 it runs at y -4.75 .. -2.65, above the box.
  EXPECT_FALSE(a->LineOverlaps(false, -10, -10, 10, 0.5));
}

TEST_F(InstanceCollisionTest, MovingBackRestoresTheStepsStart) {
  auto a = Loose(AddObject("a", -1, AddSprite("s", 8, 8)), 10, 20);
  a->xprevious = 4;
  a->yprevious = 5;
  a->path_positionprevious = 0.25;
  a->path_position = 0.5;
  a->MoveBack();
  EXPECT_EQ(a->x, 4);
  EXPECT_EQ(a->y, 5);
  EXPECT_EQ(a->path_position, 0.25);
  EXPECT_EQ(a->bbox_left, 4);
  EXPECT_EQ(a->bbox_bottom, 12);
}

}  // namespace
}  // namespace zorvex
