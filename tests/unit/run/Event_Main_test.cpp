#include "run/Event_Main.h"

#include <gtest/gtest.h>

#include "RunTestSupport.h"
#include "run/Event_Name.h"
#include "run/IO_Main.h"

namespace zorvex {
namespace {

using Calls = std::vector<std::string>;

class EventTest : public testing::RunGameTest {};

TEST_F(EventTest, OneStepRunsThePassesInOrder) {
  int32_t a = AddObject("a");
  Code(a, kEventCreate, 0, "rec('create'); alarm[0] = 1; alarm[1] = 0");
  Code(a, kEventStep, kStepBegin, "rec('begin step')");
  Code(a, kEventAlarm, 0, "rec('alarm 0')");
  Code(a, kEventAlarm, 1, "rec('alarm 1')");
  Code(a, kEventKeyboard, 0, "rec('no key')");
  Code(a, kEventMouse, 3, "rec('no button')");
  Code(a, kEventStep, kStepNormal, "rec('step')");
  Code(a, kEventStep, kStepEnd, "rec('end step')");
  Code(a, kEventDraw, 0, "rec('draw')");
  Code(a, kEventOther, kOtherAnimationEnd, "rec('animation end')");
  Code(a, kEventOther, kOtherRoomStart, "rec('room start')");
  Code(a, kEventOther, kOtherGameStart, "rec('game start')");
  AddRoom("r", {{a}});
  Start();
  EXPECT_EQ(TakeCalls(), (Calls{"create", "game start", "room start", "draw"}));
  Step();
  // The mouse lies outside the instance (no sprite), so "no button" is not raised for it.
  EXPECT_EQ(TakeCalls(), (Calls{"begin step", "alarm 0", "no key", "step", "end step", "draw",
                                "animation end"}));
  Step();
  EXPECT_EQ(TakeCalls(),
            (Calls{"begin step", "no key", "step", "end step", "draw", "animation end"}));
  CInstance* i = Lists().ActiveAt(0);
  EXPECT_EQ(i->GetAlarm(0), -1);
  EXPECT_EQ(i->GetAlarm(1), -1);  // set to 0: counted to -1 without an event
}

TEST_F(EventTest, ChildrenInheritTheirParentsEvents) {
  int32_t parent = AddObject("parent");
  int32_t child = AddObject("child", parent);
  int32_t own = AddObject("own", parent);
  Code(parent, kEventStep, 0, "rec('parent step', object_index, event_object)");
  Code(own, kEventStep, 0, "rec('own step'); event_inherited()");
  Code(parent, kEventOther, kOtherUser0 + 3, "rec('user 3', event_type, event_number)");
  Code(child, kEventCreate, 0, "event_user(3)");
  AddRoom("r", {{child}, {own}});
  Start();
  EXPECT_EQ(TakeCalls(), (Calls{"user 3 7 13"}));
  const CEventContext before = game.errors.context;
  Step();
  EXPECT_EQ(TakeCalls(), (Calls{"parent step 1 0", "own step", "parent step 2 0"}));
  // The context is back after the events ran.
  EXPECT_EQ(game.errors.context.event_type, before.event_type);
  EXPECT_EQ(game.errors.context.event_number, before.event_number);
  EXPECT_EQ(game.errors.context.object_index, before.object_index);
}

TEST_F(EventTest, CollisionEventsAreFoundForAncestorsOfTheOtherObject) {
  int32_t a = AddObject("a");
  int32_t p = AddObject("p");
  int32_t b = AddObject("b", p);
  int32_t c = AddObject("c", p);
  int32_t achild = AddObject("achild", a);
  Code(a, 4, p, "x = 1");
  Code(a, 4, c, "x = 2");
  CObjectTable& objects = game.resources.objects;
  CFoundEvent f = FindEvent(objects, a, 4, b);
  EXPECT_EQ(f.event, &Event(a, 4, p));
  EXPECT_EQ(f.object, a);
  EXPECT_EQ(FindEvent(objects, a, 4, c).event, &Event(a, 4, c));
  f = FindEvent(objects, achild, 4, b);
  EXPECT_EQ(f.event, &Event(a, 4, p));
  EXPECT_EQ(f.object, a);
  EXPECT_EQ(FindEvent(objects, b, 4, a).event, nullptr);
  // An event without actions does not count.
  Object(b).EventAt(kEventStep, 0);
  EXPECT_EQ(FindEvent(objects, b, kEventStep, 0).event, nullptr);

  BuildEventLists(game);
  const auto& pairs = game.run.events.collision_pairs;
  using Pair = std::pair<int32_t, int32_t>;
  EXPECT_EQ(pairs, (std::vector<Pair>{{a, p}, {a, b}, {a, c}, {achild, p}, {achild, b},
                                      {achild, c}}));
}

TEST_F(EventTest, EventListsCollectTheirNumbersOnly) {
  int32_t a = AddObject("a");
  int32_t b = AddObject("b", a);
  AddObject("c");
  Code(a, kEventKeyboard, 65, "x = 1");
  Code(b, kEventKeyboard, 200, "x = 1");
  Code(b, kEventAlarm, 12, "x = 1");
  BuildEventLists(game);
  EXPECT_EQ(game.run.events.Objects(kEventKeyboard, 65), (std::vector<int32_t>{a, b}));
  EXPECT_TRUE(game.run.events.Objects(kEventKeyboard, 200).empty());
  EXPECT_EQ(game.run.events.Objects(kEventAlarm, 12), (std::vector<int32_t>{b}));
  EXPECT_TRUE(game.run.events.Objects(kEventStep, 300).empty());
}

TEST_F(EventTest, KeyboardEventsForHeldPressedAndReleasedKeys) {
  int32_t a = AddObject("a");
  Code(a, kEventKeyboard, 37, "rec('left')");
  Code(a, kEventKeyboard, 39, "rec('right')");
  Code(a, kEventKeyboard, 1, "rec('any')");
  Code(a, kEventKeyboard, 0, "rec('none')");
  Code(a, kEventKeyPress, 37, "rec('press left')");
  Code(a, kEventKeyPress, 1, "rec('press any')");
  Code(a, kEventKeyRelease, 37, "rec('release left')");
  Code(a, kEventKeyRelease, 0, "rec('release none')");
  Code(a, kEventKeyboard, 200, "rec('200')");
  AddRoom("r", {{a}});
  Start();
  TakeCalls();
  game.input.KeyDown(39);
  game.input.KeyDown(37);
  game.input.KeyDown(200);
  Step();
  EXPECT_EQ(TakeCalls(), (Calls{"left", "right", "any", "press left", "press any",
                                "release none"}));
  game.input.KeyUp(37);
  game.input.KeyUp(39);
  game.input.KeyUp(200);
  Step();
  EXPECT_EQ(TakeCalls(), (Calls{"none", "release left"}));
  Step();
  EXPECT_EQ(TakeCalls(), (Calls{"none", "release none"}));
}

TEST_F(EventTest, TimeLinesRunTheMomentsTheirPositionPasses) {
  auto tl = std::make_unique<CTimeLine>();
  for (int32_t step : {0, 5, 10})
    tl->AddMoment(step)->AddCodeAction("rec('moment " + std::to_string(step) +
                                       "', event_type, event_number, event_object)");
  game.resources.time_lines.Append(std::move(tl), "line");
  int32_t a = AddObject("a");
  Code(a, kEventCreate, 0, "timeline_index = line");
  int32_t b = AddObject("b");
  Code(b, kEventCreate, 0, "timeline_index = line; timeline_speed = 2");
  AddRoom("r", {{a}});
  Start();
  std::vector<int> steps_of_moments;
  for (int step = 1; step <= 12; ++step) {
    Step();
    for (const std::string& c : TakeCalls())
      if (c.rfind("moment", 0) == 0) steps_of_moments.push_back(step);
  }
  EXPECT_EQ(steps_of_moments, (std::vector<int>{1, 6, 11}));
  EXPECT_EQ(Lists().ActiveAt(0)->timeline_position, 12);  // it keeps growing

  Eval("instance_create(0, 0, b)");
  Step(3);
  EXPECT_EQ(TakeCalls(), (Calls{"moment 0 100000 0 0", "moment 5 100000 5 0"}));
}

TEST_F(EventTest, AlarmsCountOnlyForObjectsWithThatAlarmEvent) {
  int32_t a = AddObject("a");
  int32_t b = AddObject("b");
  Code(a, kEventAlarm, 2, "rec('ring', id)");
  Code(a, kEventCreate, 0, "alarm[2] = 3");
  Code(b, kEventCreate, 0, "alarm[2] = 3");
  AddRoom("r", {{a}, {b}});
  Start();
  Step(2);
  EXPECT_TRUE(TakeCalls().empty());
  Step();
  EXPECT_EQ(TakeCalls(), (Calls{"ring 100001"}));
  EXPECT_EQ(Lists().ActiveAt(1)->GetAlarm(2), 3);
}

TEST_F(EventTest, BoundaryEventsUseTheBoxOrThePoint) {
  int32_t spr = AddSprite("spr", 10, 10);
  int32_t a = AddObject("a");
  int32_t s = AddObject("s", -1, spr);
  for (int32_t o : {a, s}) {
    Code(o, kEventOther, kOtherOutside, "rec('outside', id)");
    Code(o, kEventOther, kOtherBoundary, "rec('boundary', id)");
  }
  // 100001 a point inside, 100002 a point outside, 100003 a box across the left edge,
  // 100004 a box wholly left of the room.
  AddRoom("r", {{a, 5, 5}, {a, -1, 5}, {s, -5, 5}, {s, -11, 5}});
  Start();
  TakeCalls();
  Step();
  EXPECT_EQ(TakeCalls(), (Calls{"outside 100002", "outside 100004", "boundary 100002",
                                "boundary 100003", "boundary 100004"}));
}

TEST_F(EventTest, ViewBoundaryEventsForEachVisibleView) {
  int32_t a = AddObject("a");
  Code(a, kEventOther, kOtherOutsideView0 + 1, "rec('outside view 1', id)");
  Code(a, kEventOther, kOtherBoundaryView0 + 1, "rec('boundary view 1', id)");
  int32_t r = AddRoom("r", {{a, 150, 150}, {a, 50, 50}});
  CRoom& room = RoomResource(r);
  room.views_enabled = true;
  room.views[1].visible = true;
  room.views[1].xview = 100;
  room.views[1].yview = 100;
  room.views[1].wview = 100;
  room.views[1].hview = 100;
  Start();
  Step();
  EXPECT_EQ(TakeCalls(), (Calls{"outside view 1 100002", "boundary view 1 100002"}));
}

TEST_F(EventTest, MouseEventsForInstancesUnderTheMouse) {
  int32_t spr = AddSprite("spr", 10, 10);
  int32_t a = AddObject("a", -1, spr);
  Code(a, kEventMouse, 0, "rec('left', id)");
  Code(a, kEventMouse, 4, "rec('left pressed', id)");
  Code(a, kEventMouse, 50, "rec('global left', id)");
  Code(a, kEventMouse, 12, "rec('global press', id)");
  Code(a, kEventMouse, 10, "rec('enter', id)");
  Code(a, kEventMouse, 11, "rec('leave', id)");
  Code(a, kEventMouse, 60, "rec('wheel up', id)");
  AddRoom("r", {{a, 0, 0}, {a, 100, 100}});
  Start();
  HandleInputMessage(game, InputMessage{InputKind::kMouseMove, 0, 300, 300});
  Step();
  EXPECT_EQ(TakeCalls(), (Calls{"leave 100001"}));  // the mouse started at (0, 0)
  HandleInputMessage(game, InputMessage{InputKind::kMouseMove, 0, 5, 5});
  Step();
  EXPECT_EQ(TakeCalls(), (Calls{"enter 100001"}));
  HandleInputMessage(game, InputMessage{InputKind::kMouseDown, kMouseLeft});
  HandleInputMessage(game, InputMessage{InputKind::kWheelUp});
  Step();
  EXPECT_EQ(TakeCalls(),
            (Calls{"left 100001", "global left 100001", "global left 100002",
                   "left pressed 100001", "global press 100001", "global press 100002",
                   "wheel up 100001", "wheel up 100002"}));
  HandleInputMessage(game, InputMessage{InputKind::kMouseMove, 0, 50, 50});
  Step();
  EXPECT_EQ(TakeCalls(), (Calls{"global left 100001", "global left 100002", "leave 100001"}));
}

TEST_F(EventTest, EventNamesForMessages) {
  auto name = [this](int32_t t, int32_t n) {
    return EventName(t, n, [this](int32_t o) { return game.resources.objects.Name(o); });
  };
  AddObject("obj_wall");
  EXPECT_EQ(name(0, 0), "Create Event");
  EXPECT_EQ(name(2, 11), "Alarm Event for alarm 11");
  EXPECT_EQ(name(3, 1), "Begin Step Event");
  EXPECT_EQ(name(3, 2), "End Step Event");
  EXPECT_EQ(name(3, 7), "<unknown> Step Event");
  EXPECT_EQ(name(4, 0), "Collision Event with object obj_wall");
  EXPECT_EQ(name(5, 37), "Keyboard Event for <Left> Key");
  EXPECT_EQ(name(9, 65), "Key Press Event for A-key Key");
  EXPECT_EQ(name(10, 100), "Key Release Event for Keypad 4 Key");
  EXPECT_EQ(name(5, 123), "Keyboard Event for F12 Key");
  EXPECT_EQ(name(5, 150), "Keyboard Event for <unknown> Key");
  EXPECT_EQ(name(6, 28), "Mouse Event for Joystick 1 Button 8");
  EXPECT_EQ(name(6, 36), "Mouse Event for Joystick 2 Button 1");
  EXPECT_EQ(name(6, 58), "Mouse Event for Glob Middle Released");
  EXPECT_EQ(name(6, 12), "Mouse Event for <unknown>");
  EXPECT_EQ(name(7, 25), "Other Event: User Defined 15");
  EXPECT_EQ(name(7, 47), "Other Event: Outside View 7");
  EXPECT_EQ(name(7, 50), "Other Event: Boundary View 0");
  EXPECT_EQ(name(7, 30), "Other Event: Close Button");
  EXPECT_EQ(name(8, 0), "Draw Event");
  EXPECT_EQ(name(11, 0), "<Unknown Event>");
}

TEST_F(EventTest, ErrorsNameTheEventObjectAndAction) {
  int32_t a = AddObject("obj_player");
  Code(a, kEventStep, 0, "x = 1");
  Code(a, kEventStep, 0, "x = 1");
  Code(a, kEventStep, 0, "x = x / 0");
  AddRoom("r", {{a}});
  Start();
  Step();
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0].substr(0, errors[0].find(":\r\n\r\n")),
            "ERROR in\r\naction number 3\r\nof  Step Event\r\nfor object obj_player");
  EXPECT_FALSE(fatal[0]);
}

}  // namespace
}  // namespace zorvex
