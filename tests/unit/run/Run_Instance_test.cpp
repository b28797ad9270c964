#include "run/Run_Instance.h"

#include <gtest/gtest.h>

#include "RunTestSupport.h"

namespace zorvex {
namespace {

using Calls = std::vector<std::string>;

class InstanceCommandTest : public testing::RunGameTest {
 protected:
  // The ids of the active list, then " | " and the ids of the inactive list.
  std::string ListIds() {
    std::string s;
    for (const CInstance* i : Lists().ActiveList())
      s += std::to_string(i->id) + (i->marked ? "m " : " ");
    s += "|";
    for (const CInstance* i : Lists().InactiveList())
      s += " " + std::to_string(i->id);
    return s;
  }
  double Num(const std::string& code, CInstance* self = nullptr) { return Eval(code, self).real; }
};

// parent P; child C (parent P); other O. Placed: P at (0,0) 100001, C at (10,0) 100002,
// C at (20,0) 100003, O at (30,0) 100004.
class InstanceQueryTest : public InstanceCommandTest {
 protected:
  void SetUp() override {
    p = AddObject("P");
    c = AddObject("C", p);
    o = AddObject("O");
    AddRoom("r", {{p, 0, 0}, {c, 10, 0}, {c, 20, 0}, {o, 30, 0}});
    Start();
  }
  int32_t p = 0, c = 0, o = 0;
};

TEST_F(InstanceQueryTest, NumberAndFindFollowTheFamilyLists) {
  EXPECT_EQ(Num("return instance_number(P)"), 3);  // a parent counts its children
  EXPECT_EQ(Num("return instance_number(C)"), 2);
  EXPECT_EQ(Num("return instance_number(O)"), 1);
  EXPECT_EQ(Num("return instance_number(all)"), 4);
  EXPECT_EQ(Num("return instance_number(100003)"), 1);
  EXPECT_EQ(Num("return instance_number(100009)"), 0);
  EXPECT_EQ(Num("return instance_number(self)"), 1);
  EXPECT_EQ(Num("return instance_number(noone)"), 0);
  EXPECT_EQ(Num("return instance_number(77)"), 0);  // no such object

  EXPECT_EQ(Num("return instance_find(C, 1)"), 100003);  // the second in family-list order
  EXPECT_EQ(Num("return instance_find(O, 1)"), -4);      // only one
  EXPECT_EQ(Num("return instance_find(P, 2)"), 100003);
  EXPECT_EQ(Num("return instance_find(all, 3)"), 100004);
  EXPECT_EQ(Num("return instance_find(all, 4)"), -4);
  EXPECT_EQ(Num("return instance_find(100004, 0)"), 100004);
  EXPECT_EQ(Num("return instance_find(100004, 1)"), -4);
  EXPECT_EQ(Num("return instance_find(self, 0)"), -4);
  EXPECT_EQ(Num("return instance_find(C, -1)"), -4);

  EXPECT_EQ(Num("return instance_exists(P)"), 1);
  EXPECT_EQ(Num("return instance_exists(100002)"), 1);
  EXPECT_EQ(Num("return instance_exists(other)"), 1);
}

TEST_F(InstanceQueryTest, ADestroyedInstanceIsGoneForTheQueriesAtOnce) {
  Eval("with (100002) instance_destroy()");
  // In the same step, before the removal pass: still in the list, but no longer found.
  EXPECT_EQ(ListIds(), "100001 100002m 100003 100004 |");
  EXPECT_EQ(Num("return instance_exists(100002)"), 0);
  EXPECT_EQ(Num("return instance_number(C)"), 1);
  EXPECT_EQ(Num("return instance_find(C, 0)"), 100003);
  EXPECT_EQ(Num("return instance_number(all)"), 3);
  EXPECT_EQ(Num("return instance_nearest(10, 0, C)"), 100003);
  EXPECT_EQ(Num("return instance_number(self)", Find(100002)), 0);
  Eval("with (all) instance_destroy()");
  EXPECT_EQ(Num("return instance_exists(all)"), 0);
  EXPECT_EQ(Num("return instance_find(all, 0)"), -4);
}

TEST_F(InstanceQueryTest, NearestAndFurthestMeasureFromThePositions) {
  EXPECT_EQ(Num("return instance_nearest(12, 0, C)"), 100002);  // 4 against 64
  // A tie (25 and 25): the first in list order wins, for both.
  EXPECT_EQ(Num("return instance_nearest(15, 0, C)"), 100002);
  EXPECT_EQ(Num("return instance_furthest(15, 0, all)"), 100001);  // 225 = 225
  EXPECT_EQ(Num("return instance_nearest(15, 0, P)"), 100002);
  EXPECT_EQ(Num("return instance_furthest(0, 0, P)"), 100003);
  // Only distances strictly below 10^10 (100000 pixels) count for the nearest.
  EXPECT_EQ(Num("return instance_nearest(100030, 0, all)"), -4);
  EXPECT_EQ(Num("return instance_nearest(100029, 0, all)"), 100004);
  // Ids and self or other are not searched.
  EXPECT_EQ(Num("return instance_nearest(0, 0, 100001)"), -4);
  EXPECT_EQ(Num("return instance_nearest(0, 0, self)"), -4);
  EXPECT_EQ(Num("return instance_furthest(0, 0, other)"), -4);
  EXPECT_EQ(Num("return instance_furthest(0, 0, O)"), 100004);
}

TEST_F(InstanceCommandTest, DestroyRunsTheDestroyEventEachTime) {
  int32_t d = AddObject("d");
  Code(d, kEventDestroy, 0, "rec('destroy', id)");
  Code(d, kEventCreate, 0, "instance_destroy(); instance_destroy(); rec('after', id)");
  AddRoom("r", {{d}});
  Start();
  EXPECT_EQ(TakeCalls(), (Calls{"destroy 100001", "destroy 100001", "after 100001"}));
  EXPECT_EQ(ListIds(), "100001m |");
  Step();
  EXPECT_EQ(ListIds(), "|");
}

TEST_F(InstanceCommandTest, ChangeKeepsTheIdTheVariablesAndTheReferences) {
  int32_t spr = AddSprite("spr", 8, 8, 1);
  int32_t a = AddObject("a");
  int32_t b = AddObject("b", -1, spr);
  Object(b).depth = 7;
  Object(b).solid = true;
  int32_t watcher = AddObject("watcher");
  Code(a, kEventCreate, 0, "v = 5; hspeed = 2");
  Code(a, kEventDestroy, 0, "rec('a destroy', id)");
  Code(b, kEventCreate, 0, "rec('b create', id, v, object_index, depth, solid, hspeed)");
  Code(watcher, kEventCreate, 0, "target = 100001");
  AddRoom("r", {{a, 4, 6}, {watcher}});
  Start();
  TakeCalls();
  CInstance* old = Find(100001);
  // The lookup by id remembers where it found the instance: the old one, at position 0.
  EXPECT_EQ(Num("return target.v", Find(100002)), 5);
  Eval("instance_change(b, true); rec('caller', object_index, id)", old);
  EXPECT_EQ(TakeCalls(),
            (Calls{"a destroy 100001", "b create 100001 5 1 7 1 2", "caller 0 100001"}));
  // A new instance: the id counter moved on, though the id it carries is the old one.
  EXPECT_EQ(game.resources.rooms.last_instance_id, 100003);
  EXPECT_EQ(ListIds(), "100001m 100002 100001 |");
  EXPECT_EQ(Num("return instance_number(a)"), 0);
  EXPECT_EQ(Num("return instance_number(b)"), 1);
  // References stored elsewhere find the new instance.
  EXPECT_EQ(Num("return target.v + target.object_index * 100", Find(100002)), 105);
  EXPECT_EQ(Num("return instance_find(b, 0)"), 100001);
  CInstance* now = Lists().ActiveAt(2);
  EXPECT_EQ(now->sprite_index, spr);
  EXPECT_EQ(now->bbox_right, 4 + 7);

  // Without events, and into an object that does not exist.
  Eval("instance_change(a, false)", now);
  EXPECT_TRUE(TakeCalls().empty());
  Eval("instance_change(99, true)", Lists().ActiveAt(3));
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_NE(errors[0].find("Asking to change into non-existing object: 99"), std::string::npos);
  EXPECT_FALSE(fatal[0]);
  Step();
  EXPECT_EQ(ListIds(), "100002 100001 |");
  EXPECT_EQ(Lists().ActiveAt(1)->object_index, a);
}

TEST_F(InstanceCommandTest, CopyGetsANewIdAndItsOwnVariables) {
  int32_t a = AddObject("a");
  Code(a, kEventCreate, 0, "rec('create', id, v)");
  AddRoom("r", {{a, 3, 4}});
  game.language.uninitialised_as_zero = true;
  Start();
  TakeCalls();
  CInstance* first = Find(100001);
  Eval("v = 1; arr[2] = 'x'; alarm[3] = 9", first);
  EXPECT_EQ(Num("return instance_copy(true)", first), 100002);
  EXPECT_EQ(TakeCalls(), (Calls{"create 100002 1"}));
  EXPECT_EQ(Num("return instance_copy(false)", first), 100003);
  EXPECT_TRUE(TakeCalls().empty());
  CInstance* copy = Find(100002);
  EXPECT_EQ(copy->x, 3);
  EXPECT_EQ(copy->alarm[3], 9);
  Eval("v = 2; arr[2] = 'y'", copy);
  EXPECT_EQ(Eval("return string(v) + arr[2]", first).str, "1x");
  EXPECT_EQ(Eval("return string(v) + arr[2]", copy).str, "2y");
}

TEST_F(InstanceCommandTest, InstanceSpriteChecksTheSprite) {
  int32_t three = AddSprite("three", 4, 4, 3);
  int32_t a = AddObject("a");
  AddRoom("r", {{a}});
  Start();
  CInstance* inst = Find(100001);
  inst->image_index = 2;
  Eval("instance_sprite(three)", inst);
  EXPECT_EQ(inst->sprite_index, three);
  EXPECT_EQ(inst->image_index, 2);
  Eval("instance_sprite(12)", inst);
  EXPECT_EQ(inst->sprite_index, three);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_NE(errors[0].find("Setting instance to non-existing sprite: 12"), std::string::npos);
}

TEST_F(InstanceCommandTest, PositionDestroyAndChangeTakeTheInstancesUnderThePoint) {
  int32_t box = AddSprite("box", 10, 10);
  int32_t a = AddObject("a", -1, box);
  int32_t b = AddObject("b", -1, box);
  int32_t bare = AddObject("bare");
  Code(a, kEventDestroy, 0, "rec('destroy', id)");
  Code(b, kEventCreate, 0, "rec('b', id)");
  // Boxes 0-9, 5-14 and 20-29; the bare one has no shape at all.
  AddRoom("r", {{a, 0, 0}, {a, 5, 5}, {a, 20, 20}, {bare, 7, 7}});
  Start();
  Eval("position_destroy(7, 7)");
  EXPECT_EQ(TakeCalls(), (Calls{"destroy 100001", "destroy 100002"}));
  Eval("position_change(25, 29, b, true)");
  // The changed instance's destroy event runs first.
  EXPECT_EQ(TakeCalls(), (Calls{"destroy 100003", "b 100003"}));
  Eval("position_change(25, 29, 40, true)");
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_NE(errors[0].find("Asking to change into non-existing object: 40"), std::string::npos);
  Step();
  EXPECT_EQ(ListIds(), "100004 100003 |");
  EXPECT_EQ(Find(100003)->object_index, b);
}

// Three instances of `a` (100001-100003) and one of `child` (parent a, 100004), stepping.
class DeactivationTest : public InstanceCommandTest {
 protected:
  void SetUp() override {
    a = AddObject("a");
    child = AddObject("child", a);
    Code(a, kEventStep, 0, "rec('step', id)");
    // With global.leave set the child deactivates itself from inside its own step event.
    Code(child, kEventStep, 0,
         "if (global.leave) { instance_deactivate_object(self); rec('child', instance_count) } "
         "else rec('step', id)");
    AddRoom("r", {{a, 0, 0}, {a, 10, 10}, {a, 20, 20}, {child, 30, 30}});
    Start();
    Eval("global.leave = false");
  }
  int32_t a = 0, child = 0;
};

TEST_F(DeactivationTest, AllButMeAndBackAgain) {
  CInstance* self = Find(100002);
  Eval("instance_deactivate_all(true)", self);
  EXPECT_EQ(ListIds(), "100002 | 100001 100003 100004");
  EXPECT_EQ(Num("return instance_number(all)", self), 1);
  EXPECT_EQ(Num("return instance_exists(100001)", self), 0);
  EXPECT_EQ(Num("return instance_count", self), 1);
  Step();
  EXPECT_EQ(TakeCalls(), (Calls{"step 100002"}));
  // Activated instances follow self, in their inactive-list order.
  Eval("instance_activate_all()", self);
  EXPECT_EQ(ListIds(), "100002 100001 100003 100004 |");
  Eval("instance_deactivate_all(false)", self);
  EXPECT_EQ(ListIds(), "| 100002 100001 100003 100004");
  Step();
  EXPECT_TRUE(TakeCalls().empty());
}

TEST_F(DeactivationTest, ByObjectIdSelfAndAncestor) {
  Eval("instance_deactivate_object(100003)");
  Eval("instance_deactivate_object(self)", Find(100001));
  EXPECT_EQ(ListIds(), "100002 100004 | 100003 100001");
  Eval("instance_deactivate_object(a)");  // the family: the child too
  EXPECT_EQ(ListIds(), "| 100003 100001 100002 100004");
  // Activating by the parent takes the child along; by the child only the child.
  Eval("instance_activate_object(child)");
  EXPECT_EQ(ListIds(), "100004 | 100003 100001 100002");
  Eval("instance_activate_object(100001)");
  EXPECT_EQ(ListIds(), "100004 100001 | 100003 100002");
  Eval("instance_deactivate_object(all)");
  Eval("instance_activate_object(a)");
  EXPECT_EQ(ListIds(), "100003 100002 100004 100001 |");
  // Self from inside its own event: it leaves the list at once and the pass goes on.
  Eval("global.leave = true");
  Step();
  EXPECT_EQ(TakeCalls(), (Calls{"step 100003", "step 100002", "step 100001", "child 3"}));
  EXPECT_EQ(ListIds(), "100003 100002 100001 | 100004");
  Eval("instance_activate_object(all)");
  EXPECT_EQ(ListIds(), "100003 100002 100001 100004 |");
}

TEST_F(DeactivationTest, MarkedInstancesStayForTheRemovalPass) {
  Eval("with (100001) instance_destroy(); instance_deactivate_all(false)");
  EXPECT_EQ(ListIds(), "100001m | 100002 100003 100004");
  Step();
  EXPECT_EQ(ListIds(), "| 100002 100003 100004");
}

TEST_F(InstanceCommandTest, RegionsUseBoxesOrPositions) {
  int32_t box = AddSprite("box", 10, 10);
  int32_t a = AddObject("a", -1, box);
  int32_t bare = AddObject("bare");
  // Boxes 0-9 and 50-59; the bare one is the point (20, 20).
  AddRoom("r", {{a, 0, 0}, {a, 50, 50}, {bare, 20, 20}});
  Start();
  // The rectangle 10-40 holds the point only.
  Eval("instance_deactivate_region(10, 10, 30, 30, true, false)");
  EXPECT_EQ(ListIds(), "100001 100002 | 100003");
  // Edges count: the rectangle 9-9 touches the first box.
  Eval("instance_deactivate_region(9, 9, 0, 0, true, false)");
  EXPECT_EQ(ListIds(), "100002 | 100003 100001");
  Eval("instance_activate_region(0, 0, 20, 20, false)");  // outside 0-20: none of the two
  EXPECT_EQ(ListIds(), "100002 | 100003 100001");
  Eval("instance_activate_region(20, 20, 0, 0, true)");
  EXPECT_EQ(ListIds(), "100002 100003 | 100001");
  // Outside the rectangle, but self stays.
  Eval("instance_deactivate_region(45, 45, 100, 100, false, true)", Find(100003));
  EXPECT_EQ(ListIds(), "100002 100003 | 100001");
  Eval("instance_deactivate_region(45, 45, 100, 100, false, false)", Find(100003));
  EXPECT_EQ(ListIds(), "100002 | 100001 100003");
  Eval("instance_activate_region(45, 45, 100, 100, false)");
  EXPECT_EQ(ListIds(), "100002 100001 100003 |");
}

TEST_F(InstanceCommandTest, CreatingAnInstanceOfAMissingObjectGivesNoone) {
  AddRoom("r");
  Start();
  EXPECT_EQ(Num("return instance_create(0, 0, 5)"), -4);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_NE(errors[0].find("Creating instance for non-existing object: 5"), std::string::npos);
}

}  // namespace
}  // namespace zorvex
