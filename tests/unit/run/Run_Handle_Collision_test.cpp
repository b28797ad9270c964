// The collision pass of a step (event order, solid handling) and the collision functions.
#include "run/Run_Handle_Collision.h"

#include <gtest/gtest.h>

#include "CollisionTestSupport.h"

namespace zorvex {
namespace {

using Calls = std::vector<std::string>;

class CollisionPassTest : public testing::CollisionGameTest {
 protected:
  void SetUp() override { box16 = AddSprite("box16", 16, 16); }
  int32_t box16 = -1;
};

TEST_F(CollisionPassTest, ASolidWallPutsTheMoverBackBeforeItsEvent) {
  const int32_t wall = AddObject("wall", -1, box16);
  Object(wall).solid = true;
  const int32_t mover = AddObject("mover", -1, box16);
  Code(mover, kEventCreate, 0, "hspeed = 8;");
  Code(mover, kEventCollision, wall, "rec('hit', x, y, other.x);");
  AddRoom("r", {{mover, 10, 0}, {wall, 32, 0}});
  Start();
  Step();
  // Moved to 18 (box 18..33 meets 32..47), put back to 10 for the event, moved again by its
  // speed, still meeting the wall, put back once more.
  EXPECT_EQ(TakeCalls(), (Calls{"hit 10 0 32"}));
  EXPECT_EQ(Find(100001)->x, 10);
  EXPECT_EQ(Find(100002)->x, 32);
  Step();
  EXPECT_EQ(TakeCalls(), (Calls{"hit 10 0 32"}));
  EXPECT_EQ(Find(100001)->x, 10);
}

TEST_F(CollisionPassTest, AMoverThatStopsInItsEventStaysWhereTheStepBegan) {
  const int32_t wall = AddObject("wall", -1, box16);
  Object(wall).solid = true;
  const int32_t mover = AddObject("mover", -1, box16);
  Code(mover, kEventCreate, 0, "hspeed = 6; vspeed = 1;");
  Code(mover, kEventCollision, wall, "rec('hit', x, y); hspeed = 0;");
  AddRoom("r", {{mover, 10, 0}, {wall, 32, 0}});
  Start();
  Step();  // 16, 1: box 16..31 misses the wall
  EXPECT_TRUE(TakeCalls().empty());
  Step();  // 22, 2 meets it: back to 16, 1; then moved by (0, 1) to 16, 2, free of the wall
  EXPECT_EQ(TakeCalls(), (Calls{"hit 16 1"}));
  EXPECT_EQ(Find(100001)->x, 16);
  EXPECT_EQ(Find(100001)->y, 2);
  Step();
  EXPECT_TRUE(TakeCalls().empty());
  EXPECT_EQ(Find(100001)->y, 3);
}

TEST_F(CollisionPassTest, ASolidCoupleTakesItsStepFromWhereItsEventLeftIt) {
  const int32_t wall = AddObject("wall", -1, box16);
  Object(wall).solid = true;
  const int32_t mover = AddObject("mover", -1, box16);
  Code(mover, kEventCreate, 0, "hspeed = 8;");
  Code(mover, kEventCollision, wall, "rec(x); x = 100;");
  AddRoom("r", {{mover, 10, 0}, {wall, 32, 0}});
  Start();
  Step();
  EXPECT_EQ(TakeCalls(), (Calls{"10"}));
  EXPECT_EQ(Find(100001)->x, 108);
}

TEST_F(CollisionPassTest, MutualEventsRunTwiceForEachCouple) {
  const int32_t a = AddObject("a", -1, box16);
  const int32_t b = AddObject("b", -1, box16);
  Code(a, kEventCollision, b, "rec('A', id, other.id);");
  Code(b, kEventCollision, a, "rec('B', id, other.id);");
  AddRoom("r", {{a, 0, 0}, {b, 8, 8}});
  Start();
  Step();
  // Pair (a, b): a's event, then b's; pair (b, a): b's, then a's.
  EXPECT_EQ(TakeCalls(),
            (Calls{"A 100001 100002", "B 100002 100001", "B 100002 100001", "A 100001 100002"}));
}

TEST_F(CollisionPassTest, ACoupleOfOneObjectIsFoundBothWays) {
  const int32_t c = AddObject("c", -1, box16);
  Code(c, kEventCollision, c, "rec(id, other.id);");
  AddRoom("r", {{c, 0, 0}, {c, 15, 15}, {c, 16, 0}});
  Start();
  Step();
  EXPECT_EQ(TakeCalls(),
            (Calls{"100001 100002", "100002 100001", "100002 100001", "100001 100002",
                   "100002 100003", "100003 100002", "100003 100002", "100002 100003"}));
}

TEST_F(CollisionPassTest, CouplesComeInListOrderNotInRoomOrder) {
  const int32_t wide = AddSprite("wide", 64, 16);
  const int32_t wall = AddObject("wall", -1, box16);
  const int32_t mover = AddObject("mover", -1, wide);
  Code(mover, kEventCollision, wall, "rec(id, other.id);");
  AddRoom("r", {{mover, 0, 0}, {wall, 40, 0}, {wall, 20, 0}, {mover, 8, 0}, {wall, 0, 0}});
  Start();
  Step();
  EXPECT_EQ(TakeCalls(), (Calls{"100001 100002", "100001 100003", "100001 100005", "100004 100002",
                                "100004 100003", "100004 100005"}));
}

TEST_F(CollisionPassTest, AnEventForAParentServesItsChildren) {
  const int32_t parent = AddObject("parent");
  const int32_t child = AddObject("child", parent, box16);
  const int32_t a = AddObject("a", -1, box16);
  Code(a, kEventCollision, parent, "rec(id, other.id, event_number);");
  AddRoom("r", {{a, 0, 0}, {child, 4, 4}});
  Start();
  Step();
  EXPECT_EQ(TakeCalls(), (Calls{"100001 100002 1"}));
}

// Forty walls in a row, sixteen pixels apart: enough for the grid of the index to be used.
class CollisionRowTest : public CollisionPassTest {
 protected:
  void Build(const std::string& hit_code, const std::string& step_code = "") {
    wall = AddObject("wall", -1, box16);
    mover = AddObject("mover", -1, box16);
    Code(mover, kEventCollision, wall, hit_code);
    if (!step_code.empty()) Code(mover, kEventStep, 0, step_code);
    std::vector<Placed> placed{{mover, 168, 0}};
    for (int k = 0; k < 40; ++k)
      placed.emplace_back(wall, 16 * k, 0);
    AddRoom("r", placed);
    Start();
  }
  // Wall k has the id 100002 + k.
  int32_t wall = -1, mover = -1;
};

TEST_F(CollisionRowTest, TheIndexFollowsInstancesMovedByCode) {
  Build("rec(other.id);", "x += 16;");
  Step();  // 184: box 184..199 meets walls 11 (176..191) and 12 (192..207)
  EXPECT_EQ(TakeCalls(), (Calls{"100013", "100014"}));
  Step();
  EXPECT_EQ(TakeCalls(), (Calls{"100014", "100015"}));
}

TEST_F(CollisionRowTest, AWallMovedOntoTheMoverLaterInTheListIsFoundInTheSamePass) {
  Build("rec(other.id); if (other.id == 100012) { with (100020) x = 170; with (100013) x = 600; }");
  Step();
  // Walls 10 and 11 meet the mover at 168; handling wall 10 moves wall 18 onto it and wall 11
  // away.
  EXPECT_EQ(TakeCalls(), (Calls{"100012", "100020"}));
}

TEST_F(CollisionRowTest, AWallMovedOntoItEarlierInTheListWaitsForTheNextStep) {
  Build("rec(other.id); if (other.id == 100013) with (100003) x = 170;");
  Step();
  EXPECT_EQ(TakeCalls(), (Calls{"100012", "100013"}));
  Step();
  EXPECT_EQ(TakeCalls(), (Calls{"100003", "100012", "100013"}));
}

TEST_F(CollisionRowTest, EventsMayAskTheIndexWhileThePassUsesIt) {
  Build("rec(other.id, place_empty(x, 0), place_empty(x, 40), instance_place(x + 40, 0, wall));");
  Step();
  EXPECT_EQ(TakeCalls(), (Calls{"100012 0 1 100015", "100013 0 1 100015"}));
  EXPECT_EQ(Find(100001)->x, 168);
}

TEST_F(CollisionRowTest, InstancesCreatedDuringThePassJoinLaterLists) {
  Build("rec(other.id); if (other.id == 100012) instance_create(160, 0, wall);");
  Step();
  // The new wall (100042) is beyond the count taken when the wall list was entered.
  EXPECT_EQ(TakeCalls(), (Calls{"100012", "100013"}));
  Step();
  EXPECT_EQ(TakeCalls(), (Calls{"100012", "100013", "100042"}));
}

class CollisionFunctionTest : public CollisionPassTest {
 protected:
  void SetUp() override {
    CollisionPassTest::SetUp();
    wall = AddObject("wall", -1, box16);
    Object(wall).solid = true;
    block = AddObject("block", -1, box16);
    me = AddObject("me", -1, box16);
    nobody = AddObject("nobody", -1, box16);
    // me 100001 at (0, 0), the wall 100002 at (32, 0), the block 100003 at (0, 40).
    AddRoom("r", {{me, 0, 0}, {wall, 32, 0}, {block, 0, 40}});
    Start();
  }
  double Real(const std::string& code) {
    RValue v = Eval("return " + code + ";", Find(100001));
    EXPECT_TRUE(v.IsReal()) << code << ": " << v.str;
    return v.real;
  }
  int32_t wall = -1, block = -1, me = -1, nobody = -1;
};

TEST_F(CollisionFunctionTest, PlacingTestsPutSelfBack) {
  EXPECT_EQ(Real("place_free(20, 0)"), 0);
  EXPECT_EQ(Real("place_free(0, 30)"), 1);  // the block is not solid
  EXPECT_EQ(Real("place_empty(0, 30)"), 0);
  EXPECT_EQ(Real("place_free(0, 0)"), 1);  // self does not count
  EXPECT_EQ(Real("place_empty(16, 0)"), 1);
  EXPECT_EQ(Real("place_empty(17, 0)"), 0);
  CInstance* self = Find(100001);
  EXPECT_EQ(self->x, 0);
  EXPECT_EQ(self->bbox_right, 15);
  EXPECT_EQ(Real("instance_place(20, 0, all)"), 100002);
  EXPECT_EQ(Real("instance_place(20, 0, wall)"), 100002);
  EXPECT_EQ(Real("instance_place(20, 0, 100002)"), 100002);
  EXPECT_EQ(Real("instance_place(20, 0, block)"), -4);
  EXPECT_EQ(Real("instance_place(20, 0, nobody)"), -4);
  EXPECT_EQ(Real("instance_place(20, 0, self)"), -4);
  EXPECT_EQ(Real("place_meeting(0, 0, self)"), 0);
  EXPECT_EQ(Real("place_meeting(20, 0, 100002)"), 1);
  EXPECT_EQ(Real("place_meeting(0, 30, block)"), 1);
}

TEST_F(CollisionFunctionTest, PositionTestsLookAtOnePoint) {
  EXPECT_EQ(Real("position_empty(33, 1)"), 0);
  EXPECT_EQ(Real("position_empty(48, 1)"), 1);
  EXPECT_EQ(Real("position_empty(47.9, 1)"), 0);
  EXPECT_EQ(Real("instance_position(33, 1, wall)"), 100002);
  EXPECT_EQ(Real("instance_position(33, 1, block)"), -4);
  EXPECT_EQ(Real("position_meeting(1, 1, self)"), 1);
  EXPECT_EQ(Real("position_meeting(33, 1, self)"), 0);
  EXPECT_EQ(Real("instance_position(1, 1, self)"), -4);
}

TEST_F(CollisionFunctionTest, ShapeSearchesTakeTheFirstInListOrder) {
  EXPECT_EQ(Real("collision_point(33, 1, self, 0, 0)"), -4);
  EXPECT_EQ(Real("collision_point(33, 1, all, 1, 0)"), 100002);
  EXPECT_EQ(Real("collision_point(1, 1, all, 0, 0)"), 100001);
  EXPECT_EQ(Real("collision_point(1, 1, all, 0, 1)"), -4);
  EXPECT_EQ(Real("collision_rectangle(0, 0, 100, 100, all, 0, 1)"), 100002);
  EXPECT_EQ(Real("collision_rectangle(0, 0, 100, 100, all, 0, 0)"), 100001);
  EXPECT_EQ(Real("collision_rectangle(40, 0, 60, 4, wall, 0, 0)"), 100002);
  EXPECT_EQ(Real("collision_rectangle(48, 0, 60, 4, wall, 0, 0)"), -4);
  // A circle of radius 0 is a one-pixel rectangle: x 48 is past the wall, 47.4 is not.
  EXPECT_EQ(Real("collision_circle(48, 8, 0, all, 1, 0)"), -4);
  EXPECT_EQ(Real("collision_circle(47.4, 8, 0, all, 1, 0)"), 100002);
  // The rectangle of radius 4 about (50, 18) meets the wall's box, but its corner (47, 15) lies
  // outside the circle (9/16 + 9/16 > 1); about (49, 17) it lies inside (1/4 + 1/4).
  EXPECT_EQ(Real("collision_circle(50, 18, 4, all, 0, 0)"), -4);
  EXPECT_EQ(Real("collision_circle(49, 17, 4, all, 0, 0)"), 100002);
  // Centred at y 40, on the block's top row: no corner needs to be inside.
  EXPECT_EQ(Real("collision_ellipse(10, 30, 30, 50, all, 0, 0)"), 100003);
  EXPECT_EQ(Real("collision_line(-10, 44, 100, 44, all, 0, 0)"), 100003);
  EXPECT_EQ(Real("collision_line(20, -5, 20, 100, all, 0, 0)"), -4);
  EXPECT_EQ(Real("collision_line(60, -2, 0, 40, wall, 0, 0)"), 100002);
}

TEST_F(CollisionFunctionTest, DistancesRunBetweenBoxes) {
  EXPECT_EQ(Real("distance_to_point(20, 5)"), 5);
  EXPECT_EQ(Real("distance_to_point(5, 5)"), 0);
  EXPECT_EQ(Real("distance_to_point(18, 19)"), 5);
  EXPECT_EQ(Real("distance_to_point(-3, -4)"), 5);
  EXPECT_EQ(Real("distance_to_object(wall)"), 17);
  EXPECT_EQ(Real("distance_to_object(block)"), 25);
  EXPECT_EQ(Real("distance_to_object(all)"), 17);
  EXPECT_EQ(Real("distance_to_object(100003)"), 25);
  EXPECT_EQ(Real("distance_to_object(self)"), 1000000);
  EXPECT_EQ(Real("distance_to_object(me)"), 1000000);
  EXPECT_EQ(Real("distance_to_object(nobody)"), 1000000);
}

}  // namespace
}  // namespace zorvex
