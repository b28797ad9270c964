#include "run/Object_Lists.h"

#include <gtest/gtest.h>

#include "RunTestSupport.h"

namespace zorvex {
namespace {

class ListsTest : public testing::RunGameTest {
 protected:
  // Objects: 0 base, 1 child of 0, 2 grandchild (child of 1), 3 alone.
  void SetUp() override {
    AddObject("base");
    AddObject("child", 0);
    AddObject("grandchild", 1);
    AddObject("alone");
  }
  std::string Ids(const std::vector<CInstance*>& list) {
    std::string s;
    for (const CInstance* i : list)
      s += (s.empty() ? "" : " ") + std::to_string(i->id);
    return s;
  }
  CInstance* Add(CInstanceLists& l, int32_t object) {
    return l.AddInstance(game.resources, object, 0, 0, last_id);
  }
  int32_t last_id = 100;
};

TEST_F(ListsTest, FamilyListsHoldDescendantsInActiveOrder) {
  CInstanceLists l(game.resources.objects);
  Add(l, 2);  // 101
  Add(l, 0);  // 102
  Add(l, 1);  // 103
  Add(l, 3);  // 104
  Add(l, 2);  // 105
  EXPECT_EQ(last_id, 105);
  EXPECT_EQ(Ids(l.ActiveList()), "101 102 103 104 105");
  EXPECT_EQ(Ids(l.Exact(2)), "101 105");
  EXPECT_EQ(Ids(l.Family(0)), "101 102 103 105");
  EXPECT_EQ(Ids(l.Family(1)), "101 103 105");
  EXPECT_EQ(Ids(l.Family(3)), "104");
  // Indices outside the lists read as empty lists.
  EXPECT_EQ(l.FamilyCount(99), 0);
  EXPECT_EQ(l.ExactCount(-1), 0);
  EXPECT_EQ(l.FindById(104)->object_index, 3);
  EXPECT_EQ(l.FindById(4), nullptr);

  // Removal keeps the order of the rest and rebuilds the object lists.
  l.FindById(102)->marked = true;
  l.FindById(105)->marked = true;
  EXPECT_EQ(l.FamilyCount(0), 4);  // still there until the removal pass
  l.RemoveMarkedInstances();
  EXPECT_EQ(Ids(l.ActiveList()), "101 103 104");
  EXPECT_EQ(Ids(l.Family(0)), "101 103");
  EXPECT_EQ(Ids(l.Exact(2)), "101");
}

TEST_F(ListsTest, ActivationMovesInstancesToTheEndOfTheOtherList) {
  CInstanceLists l(game.resources.objects);
  for (int32_t o : {0, 1, 2, 3})
    Add(l, o);  // 101 .. 104
  static_cast<CInstance*>(l.FindById(102))->deactivated = true;
  static_cast<CInstance*>(l.FindById(104))->deactivated = true;
  l.ApplyActivation();
  EXPECT_EQ(Ids(l.ActiveList()), "101 103");
  EXPECT_EQ(Ids(l.InactiveList()), "102 104");
  EXPECT_EQ(Ids(l.Family(0)), "101 103");
  EXPECT_EQ(l.FindById(102), nullptr);  // the language sees only the active list

  // Coming back: appended in inactive order, while leavers join the inactive list.
  l.InactiveAt(1)->deactivated = false;  // 104
  l.InactiveAt(0)->deactivated = false;  // 102
  static_cast<CInstance*>(l.FindById(101))->deactivated = true;
  l.ApplyActivation();
  EXPECT_EQ(Ids(l.ActiveList()), "103 102 104");
  EXPECT_EQ(Ids(l.InactiveList()), "101");
  EXPECT_EQ(Ids(l.Family(0)), "103 102");
}

TEST_F(ListsTest, DepthSortIsStableWithLargerDepthFirst) {
  CInstanceLists l(game.resources.objects);
  const double depths[] = {0, 10, 0, -5, 10};
  for (double d : depths)
    Add(l, 3)->depth = d;  // 101 .. 105
  l.SortInstancesByDepth();
  EXPECT_EQ(Ids(l.ActiveList()), "102 105 101 103 104");
  // The object lists keep the order they had.
  EXPECT_EQ(Ids(l.Exact(3)), "101 102 103 104 105");
  l.RebuildObjectLists();
  EXPECT_EQ(Ids(l.Exact(3)), "102 105 101 103 104");
}

TEST_F(ListsTest, InstancesOfObjectsAddedLaterGetListsToo) {
  CInstanceLists l(game.resources.objects);
  int32_t late = AddObject("late", 3);
  Add(l, late);
  EXPECT_EQ(Ids(l.Family(3)), "101");
  EXPECT_EQ(Ids(l.Exact(late)), "101");
  // An instance of an object beyond the table is in the active list only.
  Add(l, 50);
  EXPECT_EQ(l.ActiveCount(), 2);
  EXPECT_EQ(l.ExactCount(50), 0);
}

}  // namespace
}  // namespace zorvex
