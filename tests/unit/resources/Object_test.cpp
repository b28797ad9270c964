#include <gtest/gtest.h>

#include <map>

#include "resources/Object_Main.h"

namespace zorvex {
namespace {

CAction FunctionAction(std::string name) {
  CAction a;
  a.library_id = 1;
  a.action_id = 101;
  a.kind = CAction::kNormal;
  a.may_be_relative = true;
  a.is_question = true;
  a.applies_to_offered = true;
  a.exe_type = CAction::kExeFunction;
  a.function_name = std::move(name);
  a.argument_count = 3;
  a.argument_kinds = {0, 1, 2, 15, 0, 0, 0, 7};
  a.applies_to = -2;
  a.relative = true;
  a.arguments = {"x + 1", "hello", "'q'", "", "", "", "", "last"};
  a.not_flag = true;
  return a;
}

void ExpectSameEvents(const CObject& a, const CObject& b) {
  for (int32_t t = 0; t < kEventTypeCount; ++t) {
    ASSERT_EQ(a.Events(t).size(), b.Events(t).size()) << t;
    for (size_t i = 0; i < a.Events(t).size(); ++i) {
      EXPECT_EQ(a.Events(t)[i].number, b.Events(t)[i].number);
      EXPECT_EQ(*a.Events(t)[i].event, *b.Events(t)[i].event);
    }
  }
}

TEST(ObjectRecord, RoundTripKeepsFieldsEventsAndActions) {
  CObject o;
  o.sprite_index = 3;
  o.solid = true;
  o.visible = false;
  o.depth = -100;
  o.persistent = true;
  o.parent_index = 2;
  o.mask_index = 5;
  o.EventAt(0, 0)->AddCodeAction("x = 1;");
  o.EventAt(0, 0)->actions.push_back(FunctionAction("action_move"));
  o.EventAt(4, 7)->actions.push_back(FunctionAction("action_bounce"));
  o.EventAt(5, 65);  // an event without actions
  o.EventAt(10, 13)->AddCodeAction("y = 2;");
  CStream s;
  o.WriteTo(s);
  s.Seek(0);
  CObject back;
  ASSERT_TRUE(back.ReadFrom(s));
  EXPECT_TRUE(s.AtEnd());
  EXPECT_EQ(back.sprite_index, 3);
  EXPECT_TRUE(back.solid);
  EXPECT_FALSE(back.visible);
  EXPECT_EQ(back.depth, -100);
  EXPECT_TRUE(back.persistent);
  EXPECT_EQ(back.parent_index, 2);
  EXPECT_EQ(back.mask_index, 5);
  ExpectSameEvents(back, o);
  EXPECT_EQ(back.EventOf(0, 0)->actions[1], FunctionAction("action_move"));
}

// Writes the fixed fields of an object record.
void Head(CStream& s, int32_t version) {
  s.WriteInt(version);
  s.WriteInt(-1);
  s.WriteBool(false);
  s.WriteBool(true);
  s.WriteInt(0);
  s.WriteBool(false);
  s.WriteInt(-1);
  s.WriteInt(-1);
}

void OneActionEvent(CStream& s) {
  CEvent e;
  e.AddCodeAction("a");
  e.WriteTo(s);
}

TEST(ObjectRecord, Version400ReadsEventTypesUpToDrawOnly) {
  CStream s;
  Head(s, 400);
  s.WriteInt(0);
  OneActionEvent(s);
  for (int t = 0; t <= 8; ++t)
    s.WriteInt(-1);
  s.WriteInt(12345);  // whatever follows the record
  s.Seek(0);
  CObject o;
  ASSERT_TRUE(o.ReadFrom(s));
  EXPECT_EQ(s.ReadInt(), 12345);
  EXPECT_NE(o.EventOf(0, 0), nullptr);
  EXPECT_EQ(o.EventListLength(9), 0);
  EXPECT_EQ(o.EventListLength(10), 0);
}

TEST(ObjectRecord, Version430WithNegativeLastTypeHasNoEvents) {
  CStream s;
  Head(s, 430);
  s.WriteInt(-1);
  s.WriteInt(777);
  s.Seek(0);
  CObject o;
  ASSERT_TRUE(o.ReadFrom(s));
  EXPECT_EQ(s.ReadInt(), 777);
  for (int t = 0; t < kEventTypeCount; ++t)
    EXPECT_EQ(o.EventListLength(t), 0);
}

// An object of version 430 with one event of type t and number n (other types empty).
CStream WithEvent(int32_t t, int32_t n, int32_t last_type = 10) {
  CStream s;
  Head(s, 430);
  s.WriteInt(last_type);
  for (int32_t i = 0; i <= last_type; ++i) {
    if (i == t) {
      s.WriteInt(n);
      OneActionEvent(s);
    }
    s.WriteInt(-1);
  }
  s.Seek(0);
  return s;
}

TEST(ObjectRecord, CollisionListLengthAndLookups) {
  CStream s = WithEvent(4, 7);
  CObject o;
  ASSERT_TRUE(o.ReadFrom(s));
  EXPECT_EQ(o.EventListLength(4), 8);
  EXPECT_EQ(o.EventOf(4, 3), nullptr);
  EXPECT_NE(o.EventOf(4, 7), nullptr);
  EXPECT_EQ(o.EventOf(11, 0), nullptr);
  EXPECT_EQ(o.EventOf(4, -1), nullptr);
}

TEST(ObjectRecord, RefusesEventsBeyondAnyRealOne) {
  CObject o;
  CStream key = WithEvent(5, 255);
  EXPECT_TRUE(o.ReadFrom(key));
  CStream key2 = WithEvent(5, 256);
  EXPECT_FALSE(o.ReadFrom(key2));
  CStream col = WithEvent(4, 99999);
  EXPECT_TRUE(o.ReadFrom(col));
  CStream col2 = WithEvent(4, 100000);
  EXPECT_FALSE(o.ReadFrom(col2));
  CStream type = WithEvent(0, 0, 11);
  EXPECT_FALSE(o.ReadFrom(type));
  CStream version;
  Head(version, 420);
  version.Seek(0);
  EXPECT_FALSE(o.ReadFrom(version));
}

TEST(ObjectRecord, NumbersOutOfOrderAreSortedAndARepeatKeepsItsLastRecord) {
  CStream s;
  Head(s, 430);
  s.WriteInt(0);
  s.WriteInt(9);
  OneActionEvent(s);
  s.WriteInt(2);
  CEvent empty;
  empty.WriteTo(s);
  s.WriteInt(9);
  CEvent two;
  two.AddCodeAction("b");
  two.AddCodeAction("c");
  two.WriteTo(s);
  s.WriteInt(-1);
  s.Seek(0);
  CObject o;
  ASSERT_TRUE(o.ReadFrom(s));
  ASSERT_EQ(o.Events(0).size(), 2u);
  EXPECT_EQ(o.Events(0)[0].number, 2);
  EXPECT_EQ(o.Events(0)[1].number, 9);
  EXPECT_EQ(o.EventOf(0, 9)->ActionCount(), 2);
  EXPECT_EQ(o.EventOf(0, 2), nullptr);  // no actions
}

TEST(ActionRecord, RefusesCountsBeyondEightAndWrongVersions) {
  CAction a = FunctionAction("f");
  CStream s;
  a.WriteTo(s);
  const size_t argc_at = 4 * 8 + 5 + 4;  // after the fixed fields, name "f" and empty code
  auto spoiled = [&](size_t offset, int32_t value) {
    CStream c(s.Bytes());
    c.Seek(offset);
    c.WriteInt(value);
    c.Seek(0);
    CAction x;
    return x.ReadFrom(c);
  };
  EXPECT_TRUE(spoiled(argc_at, 8));
  EXPECT_FALSE(spoiled(argc_at, 9));
  EXPECT_FALSE(spoiled(argc_at, -1));
  EXPECT_FALSE(spoiled(argc_at + 4, 9));   // kind count
  EXPECT_FALSE(spoiled(argc_at + 48, 9));  // text count
  EXPECT_FALSE(spoiled(argc_at + 48, -1));
  EXPECT_FALSE(spoiled(0, 441));

  CStream event;
  event.WriteInt(401);
  event.Seek(0);
  CEvent e;
  EXPECT_FALSE(e.ReadFrom(event));
  CStream absurd;
  absurd.WriteInt(400);
  absurd.WriteInt(1000000);
  absurd.Seek(0);
  EXPECT_FALSE(e.ReadFrom(absurd));
}

TEST(ActionRecord, FewerStoredKindsAndTextsLeaveTheRestEmpty) {
  CStream s;
  s.WriteInt(440);
  for (int i = 0; i < 3; ++i)
    s.WriteInt(i + 1);  // library, action, kind
  for (int i = 0; i < 3; ++i)
    s.WriteBool(false);
  s.WriteInt(2);
  s.WriteString("action_x");
  s.WriteString("");
  s.WriteInt(1);
  s.WriteInt(1);  // one kind
  s.WriteInt(15);
  s.WriteInt(-1);
  s.WriteBool(false);
  s.WriteInt(1);  // one text
  s.WriteString("t");
  s.WriteBool(false);
  s.Seek(0);
  CAction a;
  ASSERT_TRUE(a.ReadFrom(s));
  EXPECT_TRUE(s.AtEnd());
  EXPECT_EQ(a.argument_kinds[0], 15);
  EXPECT_EQ(a.argument_kinds[1], 0);
  EXPECT_EQ(a.arguments[0], "t");
  EXPECT_EQ(a.arguments[7], "");
  EXPECT_EQ(a.function_id, -1);
}

TEST(Object, EventAtAndCodeActions) {
  CObject o;
  EXPECT_EQ(o.EventAt(11, 0), nullptr);
  EXPECT_EQ(o.EventAt(0, -1), nullptr);
  CEvent* e = o.EventAt(2, 5);
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(o.EventAt(2, 5), e);
  EXPECT_EQ(o.EventOf(2, 5), nullptr);
  EXPECT_EQ(o.EventAt(2, 1), o.EventAt(2, 1));
  EXPECT_EQ(o.EventAt(2, 5), e);  // still the same event after others were added
  CAction& a = e->AddCodeAction("show_message('hi')");
  EXPECT_EQ(a.kind, CAction::kCode);
  EXPECT_EQ(a.exe_type, CAction::kExeCode);
  EXPECT_FALSE(a.may_be_relative || a.is_question || a.applies_to_offered);
  EXPECT_EQ(a.argument_count, 0);
  EXPECT_EQ(a.arguments[0], "show_message('hi')");
  EXPECT_EQ(o.EventOf(2, 5), e);
  EXPECT_EQ(e->ActionAt(1), nullptr);
  EXPECT_EQ(o.EventListLength(2), 6);
}

// Objects 0..n-1 with the given parents, written as a section.
CStream Family(const std::vector<int32_t>& parents) {
  CObjectTable t;
  for (size_t i = 0; i < parents.size(); ++i) {
    auto o = std::make_unique<CObject>();
    o->parent_index = parents[i];
    t.Append(std::move(o), "obj" + std::to_string(i));
  }
  CStream s;
  t.WriteSection(s);
  s.Seek(0);
  return s;
}

TEST(ObjectTable, ParentCyclesAreRefused) {
  CObjectTable t;
  CStream chain = Family({-1, 0, 1, 7});
  EXPECT_TRUE(t.ReadSection(chain));
  CStream self = Family({0});
  EXPECT_FALSE(t.ReadSection(self));
  CStream loop = Family({-1, 2, 3, 1});
  EXPECT_FALSE(t.ReadSection(loop));
  EXPECT_EQ(t.Count(), 0);
}

TEST(ObjectTable, InheritanceQueries) {
  CObjectTable t;
  CStream s = Family({-1, 0, 1, 9});
  ASSERT_TRUE(t.ReadSection(s));
  t.Get(0)->EventAt(3, 0)->AddCodeAction("x");
  t.Get(1)->EventAt(8, 0);  // empty: does not count
  EXPECT_TRUE(t.IsDescendantOf(2, 0));
  EXPECT_TRUE(t.IsDescendantOf(2, 1));
  EXPECT_FALSE(t.IsDescendantOf(2, 2));
  EXPECT_FALSE(t.IsDescendantOf(0, 2));
  EXPECT_FALSE(t.IsDescendantOf(3, 9));  // parent slot does not exist
  EXPECT_TRUE(t.HasEventsOfType(2, 3));
  EXPECT_FALSE(t.HasEventsOfType(2, 8));
  EXPECT_FALSE(t.HasEventsOfType(3, 3));
  EXPECT_TRUE(t.WouldCycle(0, 2));
  EXPECT_TRUE(t.WouldCycle(1, 1));
  EXPECT_FALSE(t.WouldCycle(2, 0));
  EXPECT_EQ(t.AddObject(), 4);
  EXPECT_EQ(t.Name(4), "__newobject4");
}

TEST(ObjectTable, FunctionNamesResolveAndUnknownFunctionActionsAreListed) {
  CObjectTable t;
  auto o = std::make_unique<CObject>();
  o->EventAt(0, 0)->actions.push_back(FunctionAction("action_known"));
  o->EventAt(0, 0)->actions.push_back(FunctionAction("action_lost"));
  CAction code = FunctionAction("action_lost_too");
  code.exe_type = CAction::kExeCode;  // only function actions need their function
  o->EventAt(3, 0)->actions.push_back(code);
  t.Append(std::move(o), "obj");
  std::map<std::string, int32_t, std::less<>> known = {{"action_known", 17}};
  std::vector<std::string> missing;
  t.ResolveFunctions(
      [&](std::string_view n) {
        auto it = known.find(n);
        return it == known.end() ? -1 : it->second;
      },
      missing);
  EXPECT_EQ(missing, (std::vector<std::string>{"action_lost"}));
  EXPECT_EQ(t.Get(0)->EventOf(0, 0)->actions[0].function_id, 17);
  EXPECT_EQ(t.Get(0)->EventOf(0, 0)->actions[1].function_id, -1);
}

}  // namespace
}  // namespace zorvex
