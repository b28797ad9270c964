#include "run/Instance_Class.h"

#include <gtest/gtest.h>

#include <cmath>

#include "RunTestSupport.h"
#include "runner/Support_Stream.h"

namespace zorvex {
namespace {

class InstanceTest : public testing::RunGameTest {
 protected:
  CInstance Make(int32_t object = -1, double x = 0, double y = 0) {
    CInstance i;
    i.Create(game.resources, 100001, object, x, y);
    return i;
  }
};

TEST_F(InstanceTest, CreationTakesTheObjectsValuesAndStartsAfresh) {
  int32_t spr = AddSprite("spr", 16, 16);
  int32_t obj = AddObject("obj", -1, spr);
  CObject& o = Object(obj);
  o.depth = 7;
  o.solid = true;
  o.visible = false;
  o.persistent = true;
  o.mask_index = -1;
  CInstance i = Make(obj, 10, 20);
  EXPECT_EQ(i.sprite_index, spr);
  EXPECT_EQ(i.depth, 7);
  EXPECT_TRUE(i.solid);
  EXPECT_FALSE(i.visible);
  EXPECT_TRUE(i.persistent);
  EXPECT_EQ(i.xstart, 10);
  EXPECT_EQ(i.yprevious, 20);
  EXPECT_EQ(i.gravity_direction, 270);
  EXPECT_EQ(i.image_blend, 0xFFFFFF);
  EXPECT_EQ(i.GetAlarm(0), -1);
  EXPECT_EQ(i.timeline_index, -1);
  EXPECT_EQ(i.bbox_left, 10);
  EXPECT_EQ(i.bbox_bottom, 35);
  // Reusing the record starts from scratch: variables and fields alike.
  i.variables.SetValue(100000, 0, RValue(5.0));
  i.SetSpeed(4);
  i.Create(game.resources, 100002, obj, 0, 0);
  EXPECT_EQ(i.variables.Count(), 0);
  EXPECT_EQ(i.speed, 0);
  EXPECT_EQ(i.id, 100002);
}

TEST_F(InstanceTest, MotionPairsStayCoupled) {
  CInstance i = Make();
  i.SetHSpeed(0);
  i.SetVSpeed(-3);
  EXPECT_EQ(i.direction, 90);
  EXPECT_EQ(i.speed, 3);
  i.SetVSpeed(0);
  EXPECT_EQ(i.direction, 0);
  EXPECT_EQ(i.speed, 0);

  i.SetDirection(-90);
  EXPECT_EQ(i.direction, 270);
  i.SetDirection(720);
  EXPECT_EQ(i.direction, 0);

  // A negative speed stays negative until a component is written.
  i.SetSpeed(-2);
  EXPECT_EQ(i.hspeed, -2);
  EXPECT_EQ(i.speed, -2);
  i.SetVSpeed(i.vspeed);  // the same value: nothing is recomputed
  EXPECT_EQ(i.speed, -2);
  i.SetHSpeed(-2.5);
  EXPECT_EQ(i.speed, 2.5);
  EXPECT_EQ(i.direction, 180);

  // cos(90) * 5 is exactly 0, not a remainder.
  i.SetDirection(90);
  i.SetSpeed(5);
  EXPECT_EQ(i.hspeed, 0.0);
  EXPECT_EQ(i.vspeed, -5.0);
  i.SetDirection(45);
  EXPECT_NEAR(i.hspeed, 3.5355339, 1e-6);
  EXPECT_NEAR(i.vspeed, -3.5355339, 1e-6);

  i.SetHSpeed(3);
  i.SetVSpeed(4);
  EXPECT_EQ(i.speed, 5);
  EXPECT_NEAR(i.direction, 360 - 53.130102354, 1e-6);
  i.AddMotion(90, 4);  // up by 4 cancels the downward 4
  EXPECT_EQ(i.vspeed, 0);
  EXPECT_EQ(i.direction, 0);
  EXPECT_EQ(i.speed, 3);
}

TEST_F(InstanceTest, FrictionStopsAtZeroAndGravityAddsMotion) {
  CInstance i = Make();
  i.SetSpeed(0.2);
  i.friction = 0.3;
  i.ApplyFrictionAndGravity();
  EXPECT_EQ(i.speed, 0);  // not -0.1
  i.ApplyFrictionAndGravity();
  EXPECT_EQ(i.speed, 0);
  i.SetSpeed(-1);
  i.friction = 0.25;
  i.ApplyFrictionAndGravity();
  EXPECT_EQ(i.speed, -0.75);
  i.friction = -0.5;  // speeds up
  i.SetSpeed(1);
  i.ApplyFrictionAndGravity();
  EXPECT_EQ(i.speed, 1.5);

  CInstance g = Make();
  g.gravity = 0.5;
  g.ApplyFrictionAndGravity();
  g.ApplyFrictionAndGravity();
  EXPECT_EQ(g.vspeed, 1);
  EXPECT_EQ(g.hspeed, 0);  // exactly: no sideways drift from straight-down gravity
  EXPECT_EQ(g.direction, 270);
}

TEST_F(InstanceTest, SpriteChangeKeepsAValidImage) {
  int32_t three = AddSprite("three", 8, 8, 3);
  CInstance i = Make();
  i.image_index = 5;
  i.SetSprite(three);
  EXPECT_EQ(i.image_index, 0);
  i.image_index = 2;
  i.SetSprite(three);
  EXPECT_EQ(i.image_index, 2);
  EXPECT_EQ(i.ImageCount(), 3);
  i.SetSprite(99);
  EXPECT_EQ(i.ImageCount(), 0);
}

TEST_F(InstanceTest, BoundingBoxFollowsMaskScaleAndAngle) {
  CInstance none = Make();
  EXPECT_EQ(none.bbox_left, kNoBoundingBox);
  EXPECT_EQ(none.bbox_top, kNoBoundingBox);
  EXPECT_EQ(none.bbox_right, kNoBoundingBox);
  EXPECT_EQ(none.bbox_bottom, kNoBoundingBox);
  EXPECT_FALSE(none.HasShape());

  int32_t spr = AddSprite("box", 32, 32, 1, 16, 16);
  CInstance i = Make(-1, 100, 50);
  i.SetSprite(spr);
  EXPECT_EQ(i.bbox_left, 84);
  EXPECT_EQ(i.bbox_right, 115);
  EXPECT_EQ(i.bbox_top, 34);
  EXPECT_EQ(i.bbox_bottom, 65);
  i.SetImageXScale(-1);
  EXPECT_EQ(i.bbox_left, 83);
  EXPECT_EQ(i.bbox_right, 116);
  i.SetImageXScale(2);
  EXPECT_EQ(i.bbox_left, 68);
  EXPECT_EQ(i.bbox_right, 131);
  // Turned by 90 degrees: L=-32, R=31, T=-16, B=15; c=0, s=1.
  i.SetImageAngle(90);
  EXPECT_EQ(i.bbox_left, 100 - 16);
  EXPECT_EQ(i.bbox_right, 100 + 15);
  EXPECT_EQ(i.bbox_top, 50 - 31);
  EXPECT_EQ(i.bbox_bottom, 50 + 32);
  // Moving moves the box; the same position changes nothing.
  i.SetImageAngle(0);
  i.SetImageXScale(1);
  i.SetPosition(0, 0);
  EXPECT_EQ(i.bbox_left, -16);
  // A mask takes over from the sprite.
  int32_t small = AddSprite("small", 4, 4);
  i.SetMask(small);
  EXPECT_EQ(i.bbox_left, 0);
  EXPECT_EQ(i.bbox_right, 3);
  EXPECT_TRUE(i.HasShape());
}

TEST_F(InstanceTest, PathPositionAndAlarmsStayInRange) {
  CInstance i = Make();
  i.SetPathPosition(1.5);
  EXPECT_EQ(i.path_position, 1);
  i.SetPathPosition(-1);
  EXPECT_EQ(i.path_position, 0);
  i.SetPathPosition(std::nan(""));
  EXPECT_EQ(i.path_position, 0);
  i.SetPathPositionPrevious(0.25);
  EXPECT_EQ(i.path_positionprevious, 0.25);
  EXPECT_EQ(i.GetAlarm(12), -1);
  EXPECT_EQ(i.GetAlarm(-1), -1);
  i.SetAlarm(12, 5);
  i.SetAlarm(11, 5);
  EXPECT_EQ(i.GetAlarm(11), 5);
  for (int a = 0; a < 11; ++a)
    EXPECT_EQ(i.GetAlarm(a), -1);
}

class PathTest : public InstanceTest {
 protected:
  // A straight open path from (0, 0) to (100, 0).
  int32_t LinePath() {
    auto p = std::make_unique<CPath>();
    p->closed = false;
    p->points = {{0, 0, 100}, {100, 0, 100}};
    p->Recompute();
    return game.resources.paths.Append(std::move(p), "line");
  }
};

TEST_F(PathTest, RelativePathsStartAtTheInstanceAndStopAtTheirEnd) {
  int32_t path = LinePath();
  CInstance i = Make(-1, 10, 20);
  i.StartPath(path, 25, 0, false);
  EXPECT_EQ(i.path_origin_x, 10);
  EXPECT_EQ(i.path_position, 0);
  EXPECT_FALSE(i.StepPath());
  EXPECT_EQ(i.x, 35);
  EXPECT_EQ(i.y, 20);
  EXPECT_EQ(i.speed, 0);      // the loop adds nothing more
  EXPECT_EQ(i.direction, 0);  // but the direction follows the motion
  EXPECT_FALSE(i.StepPath());
  EXPECT_FALSE(i.StepPath());
  EXPECT_TRUE(i.StepPath());
  EXPECT_EQ(i.path_index, -1);
  EXPECT_EQ(i.path_position, 1);
  EXPECT_EQ(i.x, 110);

  // Backwards: starts at the end, stops at position 1 all the same. An absolute path runs at
  // its own coordinates.
  CInstance b = Make(-1, 0, 0);
  b.StartPath(path, -50, 0, true);
  EXPECT_EQ(b.path_position, 1);
  EXPECT_EQ(b.x, 100);
  EXPECT_EQ(b.path_origin_x, 0);
  EXPECT_FALSE(b.StepPath());
  EXPECT_EQ(b.x, 50);
  EXPECT_TRUE(b.StepPath());
  EXPECT_EQ(b.path_index, -1);
  EXPECT_EQ(b.path_position, 1);

  // A relative path run backwards has its end point on the instance.
  CInstance rb = Make(-1, 500, 0);
  rb.StartPath(path, -50, 0, false);
  EXPECT_EQ(rb.path_origin_x, 400);
  rb.StepPath();
  EXPECT_EQ(rb.x, 450);

  // A missing path, or a path of no length, is not followed.
  CInstance m = Make();
  m.StartPath(42, 1, 0, false);
  EXPECT_EQ(m.path_index, -1);
}

TEST_F(PathTest, EndActionsRestartContinueAndReverse) {
  int32_t path = LinePath();
  CInstance r = Make(-1, 0, 0);
  r.StartPath(path, 60, 1, true);
  r.StepPath();
  EXPECT_TRUE(r.StepPath());  // 1.2 -> 0.2
  EXPECT_NEAR(r.path_position, 0.2, 1e-12);
  EXPECT_NEAR(r.x, 20, 1e-9);

  CInstance c = Make(-1, 0, 0);
  c.StartPath(path, 60, 2, true);
  c.StepPath();
  EXPECT_TRUE(c.StepPath());
  EXPECT_EQ(c.path_origin_x, 100);
  EXPECT_NEAR(c.x, 120, 1e-9);

  CInstance v = Make(-1, 0, 0);
  v.StartPath(path, 60, 3, true);
  v.StepPath();
  EXPECT_TRUE(v.StepPath());  // 1.2 -> 0.8, running back
  EXPECT_NEAR(v.path_position, 0.8, 1e-12);
  EXPECT_EQ(v.path_speed, -60);
  EXPECT_NEAR(v.x, 80, 1e-9);
}

TEST_F(PathTest, ACopyFollowsThePathFromTheSamePlace) {
  int32_t path = LinePath();
  CInstance i = Make(-1, 10, 20);
  i.StartPath(path, 25, 0, false);
  i.StepPath();
  i.variables.SetValue(100000, 0, RValue("kept"));
  CInstance copy;
  copy.Create(game.resources, 7, -1, 0, 0);
  copy.CopyState(i);
  EXPECT_EQ(copy.id, 100001);
  copy.StepPath();
  EXPECT_EQ(copy.x, 60);
  EXPECT_EQ(i.x, 35);
  RValue v;
  ASSERT_TRUE(copy.variables.GetValue(100000, 0, v, false));
  EXPECT_EQ(v.str, "kept");
  // The variables are a copy, not shared.
  copy.variables.SetValue(100000, 0, RValue("changed"));
  ASSERT_TRUE(i.variables.GetValue(100000, 0, v, false));
  EXPECT_EQ(v.str, "kept");
}

TEST_F(InstanceTest, StoredRecordKeepsItsFieldOrder) {
  int32_t spr = AddSprite("spr", 10, 10);
  int32_t obj = AddObject("obj", -1, spr);
  CInstance i = Make(obj, 5, 6);
  i.SetAlarm(3, 9);
  i.creation_code = "x = 1";
  i.variables.SetValue(100000, 0, RValue(2.5));
  i.marked = true;
  CStream s;
  i.WriteToStream(s);
  // id, sprite, 6 doubles, blend, mask, depth, precise, 13 doubles: the box starts at byte 4 +
  // 4 + 48 + 4 + 4 + 8 + 4 + 104 = 180, left, right, top, bottom.
  s.Seek(180);
  EXPECT_EQ(s.ReadInt(), 5);   // left
  EXPECT_EQ(s.ReadInt(), 14);  // right
  EXPECT_EQ(s.ReadInt(), 6);   // top
  EXPECT_EQ(s.ReadInt(), 15);  // bottom
  s.Seek(0);
  CInstance back = Make();
  back.ReadFromStream(s);
  EXPECT_EQ(s.Position(), s.Size());
  EXPECT_EQ(back.id, 100001);
  EXPECT_EQ(back.object_index, obj);
  EXPECT_EQ(back.GetAlarm(3), 9);
  EXPECT_TRUE(back.marked);
  EXPECT_EQ(back.creation_code, "x = 1");
  EXPECT_EQ(back.bbox_right, 14);
  RValue v;
  ASSERT_TRUE(back.variables.GetValue(100000, 0, v, false));
  EXPECT_EQ(v.real, 2.5);
}

TEST_F(InstanceTest, PointInsideUsesTheBoxAndThePreciseMask) {
  // A 4 x 4 sprite whose right half is red; the white of the bottom-left pixel is see-through.
  auto s = std::make_unique<CSprite>();
  CRawBitmap bmp;
  bmp.width = 4;
  bmp.height = 4;
  bmp.depth = 32;
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x)
      bmp.pixels.push_back(x < 2 ? 0xFFFFFFFFu : 0xFFFF0000u);
  s->SetFromBitmap(bmp, true, true, false, false, 0, 0, false);
  s->SetBBoxMode(1);
  int32_t spr = game.resources.sprites.Append(std::move(s), "half");
  CInstance i = Make(-1, 10, 10);
  i.SetSprite(spr);
  EXPECT_TRUE(i.precise);
  EXPECT_TRUE(i.PointInside(true, 12, 10));
  EXPECT_FALSE(i.PointInside(true, 10, 10));
  EXPECT_TRUE(i.PointInside(false, 10, 10));
  EXPECT_TRUE(i.PointInside(false, 13.9, 13.9));
  EXPECT_FALSE(i.PointInside(false, 14, 10));
  EXPECT_FALSE(i.PointInside(false, 9.9, 10));
  i.marked = true;
  EXPECT_FALSE(i.PointInside(false, 10, 10));
}

}  // namespace
}  // namespace zorvex
