#include "code/Code_Variable.h"

#include <gtest/gtest.h>

#include "CodeTestSupport.h"
#include "game/Game.h"

namespace zorvex {
namespace {

using testing::TestWorld;

// An instance with one field that a built-in variable reads and writes.
struct Probe : CInstanceCore {
  double speed = 0;
};

bool GetSpeed(CGame&, CInstanceCore* inst, int32_t, RValue& out) {
  out.SetReal(static_cast<Probe*>(inst)->speed);
  return true;
}
bool SetSpeed(CGame&, CInstanceCore* inst, int32_t, const RValue& v) {
  static_cast<Probe*>(inst)->speed = v.real;
  return true;
}
bool GetIndex(CGame&, CInstanceCore*, int32_t index, RValue& out) {
  out.SetReal(index);
  return true;
}

TEST(VariableNames, IdsFollowFirstAppearanceAndBuiltinsComeFirst) {
  CGame game;
  CLanguage& lang = game.language;
  int32_t speed = lang.builtins.Register("speed", GetSpeed, SetSpeed);
  EXPECT_EQ(speed, 0);
  EXPECT_EQ(ResolveVariableName(lang, "b"), 100000);
  EXPECT_EQ(ResolveVariableName(lang, "a"), 100001);
  EXPECT_EQ(ResolveVariableName(lang, "b"), 100000);
  EXPECT_EQ(ResolveVariableName(lang, "B"), 100002);  // case-sensitive
  EXPECT_EQ(ResolveVariableName(lang, "speed"), speed);
  EXPECT_EQ(lang.names.Find("speed"), -1);  // a built-in never enters the name table
  EXPECT_EQ(VariableName(lang, 100001), "a");
  EXPECT_EQ(VariableName(lang, speed), "speed");
  EXPECT_EQ(VariableName(lang, 77), "<unknown built-in variable>");
  EXPECT_EQ(VariableName(lang, 100003), "<unknown variable>");
}

TEST(BuiltinVariables, TableHoldsFiveHundredEntriesAndCutsLongNames) {
  CGame game;
  std::string shown;
  game.language.show_message = [&](const std::string& m) { shown = m; };
  CBuiltinVariableTable& t = game.language.builtins;
  std::string longname(70, 'v');
  EXPECT_EQ(t.Register(longname, GetIndex), 0);
  EXPECT_EQ(t.Entry(0)->name, std::string(64, 'v'));
  EXPECT_FALSE(t.Entry(0)->writable);
  for (int i = 1; i < 500; ++i)
    EXPECT_EQ(t.Register("v" + std::to_string(i), GetIndex), i);
  EXPECT_EQ(shown, "");
  EXPECT_EQ(t.Register("one_too_many", GetIndex, nullptr), -1);
  EXPECT_EQ(shown, "INTERNAL ERROR: Adding too many variables");
  EXPECT_EQ(t.Count(), 500);
  EXPECT_EQ(t.Find("one_too_many"), -1);
}

class VariableAccess : public ::testing::Test {
 protected:
  void SetUp() override {
    lang.world = &world;
    speed = lang.builtins.Register("speed", GetSpeed, SetSpeed);
    object_index = lang.builtins.Register("idx", GetIndex);
    x = lang.names.FindOrAdd("x");
    // Instances 100001 (object 1), 100002 (object 2, child of 1), 100003 (object 1).
    world.parent[2] = 1;
    a = Add(100001, 1);
    b = Add(100002, 2);
    c = Add(100003, 1);
    ctx.self = a;
    ctx.other = b;
  }
  Probe* Add(int32_t id, int32_t object) {
    auto p = std::make_unique<Probe>();
    p->id = id;
    p->object_index = object;
    world.active.push_back(std::move(p));
    return static_cast<Probe*>(world.active.back().get());
  }
  double X(CInstanceCore* i) {
    RValue v;
    EXPECT_TRUE(i->variables.GetValue(x, 0, v, false));
    return v.real;
  }

  CGame game;
  CLanguage& lang = game.language;
  TestWorld world;
  Probe *a, *b, *c;
  int32_t speed, object_index, x;
  CVariableContext ctx;
};

TEST_F(VariableAccess, SelfOtherAndUnqualifiedGoToInstancesOrDeclaredGlobals) {
  ASSERT_TRUE(WriteVariable(lang, ctx, kOwnerUnqualified, x, 0, RValue(1.0)));
  ASSERT_TRUE(WriteVariable(lang, ctx, kOwnerOther, x, 0, RValue(2.0)));
  EXPECT_EQ(X(a), 1.0);
  EXPECT_EQ(X(b), 2.0);
  RValue v;
  ASSERT_TRUE(ReadVariable(lang, ctx, kOwnerSelf, x, 0, v));
  EXPECT_EQ(v, RValue(1.0));
  lang.globals.DeclareGlobal(x);
  ASSERT_TRUE(ReadVariable(lang, ctx, kOwnerUnqualified, x, 0, v));
  EXPECT_EQ(v, RValue(0.0));  // the global made by the declaration
  ASSERT_TRUE(WriteVariable(lang, ctx, kOwnerUnqualified, x, 0, RValue(5.0)));
  EXPECT_EQ(X(a), 1.0);
  ASSERT_TRUE(ReadVariable(lang, ctx, kOwnerGlobal, x, 0, v));
  EXPECT_EQ(v, RValue(5.0));
}

TEST_F(VariableAccess, BuiltinsUseGetterAndSetterAndReadOnlyOnesRefuseWrites) {
  ASSERT_TRUE(WriteVariable(lang, ctx, kOwnerUnqualified, speed, 0, RValue(4.0)));
  EXPECT_EQ(a->speed, 4.0);
  RValue v;
  ASSERT_TRUE(ReadVariable(lang, ctx, kOwnerOther, object_index, 3 * 32000 + 2, v));
  EXPECT_EQ(v, RValue(3.0 * 32000 + 2));
  EXPECT_FALSE(WriteVariable(lang, ctx, kOwnerSelf, object_index, 0, RValue(1.0)));
  EXPECT_FALSE(WriteVariable(lang, ctx, kOwnerSelf, 300, 0, RValue(1.0)));  // no such entry
  EXPECT_FALSE(ReadVariable(lang, ctx, kOwnerSelf, 300, 0, v));
}

TEST_F(VariableAccess, LocalListIsMadeOnFirstWrite) {
  RValue v;
  EXPECT_FALSE(ReadVariable(lang, ctx, kOwnerLocal, x, 0, v));
  lang.uninitialised_as_zero = true;
  EXPECT_FALSE(ReadVariable(lang, ctx, kOwnerLocal, x, 0, v));  // no list at all
  lang.uninitialised_as_zero = false;
  ASSERT_TRUE(WriteVariable(lang, ctx, kOwnerLocal, x, 0, RValue(3.0)));
  ASSERT_NE(ctx.locals, nullptr);
  ASSERT_TRUE(ReadVariable(lang, ctx, kOwnerLocal, x, 0, v));
  EXPECT_EQ(v, RValue(3.0));
  EXPECT_EQ(a->variables.Count(), 0);
  lang.ReleaseLocals(ctx.locals);
}

TEST_F(VariableAccess, NooneAndUnknownNegativeOwnersFail) {
  RValue v;
  EXPECT_FALSE(WriteVariable(lang, ctx, kOwnerNoone, x, 0, RValue(1.0)));
  EXPECT_FALSE(ReadVariable(lang, ctx, kOwnerNoone, x, 0, v));
  EXPECT_FALSE(WriteVariable(lang, ctx, -8, x, 0, RValue(1.0)));
  EXPECT_FALSE(ReadVariable(lang, ctx, -100, x, 0, v));
}

TEST_F(VariableAccess, AllAndObjectOwnersWriteEveryLiveInstanceAndReadTheFirst) {
  a->marked = true;
  ASSERT_TRUE(WriteVariable(lang, ctx, kOwnerAll, x, 0, RValue(7.0)));
  EXPECT_EQ(a->variables.Count(), 0);
  EXPECT_EQ(X(b), 7.0);
  EXPECT_EQ(X(c), 7.0);
  ASSERT_TRUE(WriteVariable(lang, ctx, 1, x, 0, RValue(8.0)));  // object 1: b (child) and c
  EXPECT_EQ(X(b), 8.0);
  EXPECT_EQ(X(c), 8.0);
  ASSERT_TRUE(WriteVariable(lang, ctx, 2, x, 0, RValue(9.0)));
  EXPECT_EQ(X(b), 9.0);
  EXPECT_EQ(X(c), 8.0);
  RValue v;
  ASSERT_TRUE(ReadVariable(lang, ctx, kOwnerAll, x, 0, v));  // first live instance: b
  EXPECT_EQ(v, RValue(9.0));
  ASSERT_TRUE(ReadVariable(lang, ctx, 1, x, 0, v));
  EXPECT_EQ(v, RValue(9.0));
  // An object with no instances: the write succeeds and changes nothing, the read fails.
  EXPECT_TRUE(WriteVariable(lang, ctx, 5, x, 0, RValue(1.0)));
  EXPECT_FALSE(ReadVariable(lang, ctx, 5, x, 0, v));
  // The result of a write to many is that of the last instance written.
  EXPECT_FALSE(WriteVariable(lang, ctx, 1, object_index, 0, RValue(1.0)));
}

TEST_F(VariableAccess, InstanceIdOwnersSkipMarkedInstances) {
  ASSERT_TRUE(WriteVariable(lang, ctx, 100003, x, 0, RValue(4.0)));
  EXPECT_EQ(X(c), 4.0);
  RValue v;
  ASSERT_TRUE(ReadVariable(lang, ctx, 100003, x, 0, v));
  EXPECT_EQ(v, RValue(4.0));
  c->marked = true;
  EXPECT_TRUE(WriteVariable(lang, ctx, 100003, x, 0, RValue(5.0)));
  EXPECT_EQ(X(c), 4.0);
  EXPECT_FALSE(ReadVariable(lang, ctx, 100003, x, 0, v));
  EXPECT_TRUE(WriteVariable(lang, ctx, 100099, x, 0, RValue(5.0)));  // no such instance
  EXPECT_FALSE(ReadVariable(lang, ctx, 100099, x, 0, v));
}

TEST_F(VariableAccess, InstanceIdCacheFindsMovedAndRemovedInstances) {
  EXPECT_EQ(FindInstanceById(lang, 100002), b);
  EXPECT_EQ(FindInstanceById(lang, 100001), a);
  EXPECT_EQ(lang.id_cache.newer, 0);
  EXPECT_EQ(lang.id_cache.older, 1);
  EXPECT_EQ(FindInstanceById(lang, 100002), b);  // from the cache
  // Removing the first instance moves the others: the cached positions now hold other ids.
  world.active.erase(world.active.begin());
  EXPECT_EQ(FindInstanceById(lang, 100003), c);
  EXPECT_EQ(FindInstanceById(lang, 100001), nullptr);
  world.active.clear();
  EXPECT_EQ(FindInstanceById(lang, 100003), nullptr);
  lang.world = nullptr;
  EXPECT_EQ(FindInstanceById(lang, 100003), nullptr);
}

TEST_F(VariableAccess, UninitialisedAsZeroCoversEveryList) {
  RValue v;
  EXPECT_FALSE(ReadVariable(lang, ctx, kOwnerSelf, x, 0, v));
  EXPECT_FALSE(ReadVariable(lang, ctx, kOwnerGlobal, x, 0, v));
  lang.uninitialised_as_zero = true;
  v.SetString("stale");
  EXPECT_TRUE(ReadVariable(lang, ctx, kOwnerSelf, x, 0, v));
  EXPECT_EQ(v, RValue(0.0));
  EXPECT_TRUE(ReadVariable(lang, ctx, kOwnerGlobal, x, 32001, v));
  EXPECT_FALSE(ReadVariable(lang, ctx, kOwnerNoone, x, 0, v));
}

}  // namespace
}  // namespace zorvex
