// The collision index answers as a walk over the whole list would, whatever happened to the
// lists and the boxes since the last question.
#include "run/Collision_Index.h"

#include <gtest/gtest.h>

#include <random>

#include "RunTestSupport.h"
#include "run/Object_Lists.h"

namespace zorvex {
namespace {

class CollisionIndexTest : public testing::RunGameTest {
 protected:
  CollisionIndexTest() {
    small = AddSprite("small", 16, 16);
    flat = AddSprite("flat", 40, 8);
    parent = AddObject("parent");
    child = AddObject("child", parent, small);
    other = AddObject("other", -1, flat);
    ghost = AddObject("ghost");
  }

  // The positions a walk over the list finds: shaped instances whose boxes overlap r.
  static std::vector<int32_t> Walk(const std::vector<CInstance*>& list, const CRect& r, int from,
                                   int limit) {
    std::vector<int32_t> out;
    for (int p = std::max(from, 0); p < limit && p < static_cast<int>(list.size()); ++p) {
      const CInstance& i = *list[static_cast<size_t>(p)];
      if (i.MaskSprite() && i.bbox_left <= r.right && r.left <= i.bbox_right &&
          i.bbox_top <= r.bottom && r.top <= i.bbox_bottom)
        out.push_back(p);
    }
    return out;
  }

  int32_t small = -1, flat = -1, parent = -1, child = -1, other = -1, ghost = -1;
};

TEST_F(CollisionIndexTest, AnswersAsAWalkOverTheListThroughEveryKindOfChange) {
  CInstanceLists lists(game.resources.objects);
  CCollisionIndex index(lists);
  std::mt19937 rng(12345);
  auto coord = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  int32_t last_id = 100000;
  const int32_t objects[] = {child, other, ghost};
  for (int k = 0; k < 300; ++k)
    lists.AddInstance(game.resources, objects[k % 3], coord(-200, 600), coord(-200, 600),
                      last_id);
  std::vector<int32_t> got;
  int checked = 0, found = 0;
  for (int round = 0; round < 400; ++round) {
    const int op = coord(0, 9);
    const int n = lists.ActiveCount();
    CInstance* some = n ? lists.ActiveAt(coord(0, n - 1)) : nullptr;
    switch (op) {
      case 0:
      case 1:
      case 2:
        if (some) some->SetPosition(some->x + coord(-40, 40), some->y + coord(-40, 40));
        break;
      case 3:
        if (some) some->SetImageXScale(coord(1, 8) * (coord(0, 1) ? 1.0 : -1.0));
        break;
      case 4:
        lists.AddInstance(game.resources, objects[coord(0, 2)], coord(-200, 600),
                          coord(-200, 600), last_id);
        break;
      case 5:
        if (some) some->marked = true;
        if (coord(0, 3) == 0) lists.RemoveMarkedInstances();
        break;
      case 6:
        if (some) some->depth = coord(-5, 5);
        lists.SortInstancesByDepth();
        break;
      case 7:
        if (some) some->deactivated = true;
        if (lists.InactiveCount() > 0 && coord(0, 1)) lists.InactiveAt(0)->deactivated = false;
        lists.ApplyActivation();
        break;
      case 8:
        if (some) some->SetSprite(some->sprite_index < 0 ? small : -1);
        break;
      default:
        // Everything of one object moves at once (a step's motion).
        for (CInstance* i : lists.ActiveList())
          if (i->object_index == child) i->SetPosition(i->x + 3, i->y - 2);
        break;
    }
    for (int q = 0; q < 6; ++q) {
      const int x = coord(-250, 650), y = coord(-250, 650);
      const CRect r{x, y, x + coord(0, q == 5 ? 900 : 60), y + coord(0, 60)};
      const EInstanceList kinds[] = {EInstanceList::kActive, EInstanceList::kExact,
                                     EInstanceList::kFamily};
      const EInstanceList kind = kinds[q % 3];
      const int32_t object = kind == EInstanceList::kExact ? objects[coord(0, 1)] : parent;
      const std::vector<CInstance*>& list = kind == EInstanceList::kActive  ? lists.ActiveList()
                                            : kind == EInstanceList::kExact ? lists.Exact(object)
                                                                            : lists.Family(object);
      const int size = static_cast<int>(list.size());
      const int from = coord(0, 3) == 0 ? coord(0, size) : 0;
      const int limit = coord(0, 3) == 0 ? coord(from, size) : size;
      index.Candidates(kind, object, r, from, limit, got);
      ASSERT_EQ(got, Walk(list, r, from, limit)) << "round " << round << " query " << q;
      ++checked;
      found += static_cast<int>(got.size());
    }
  }
  // The questions were not mostly empty ones (about one instance in two is found per question).
  EXPECT_GT(found, checked / 3);
}

TEST_F(CollisionIndexTest, ForgetsTheInstancesItWatchedWhenItGoes) {
  CInstanceLists lists(game.resources.objects);
  int32_t last_id = 100000;
  for (int k = 0; k < 40; ++k)
    lists.AddInstance(game.resources, child, 20 * k, 0, last_id);
  {
    CCollisionIndex index(lists);
    std::vector<int32_t> got;
    index.Candidates(EInstanceList::kActive, -1, CRect{0, 0, 30, 30}, 0, 40, got);
    EXPECT_EQ(got, (std::vector<int32_t>{0, 1}));
    EXPECT_EQ(lists.ActiveAt(7)->box_watch, &index);
  }
  EXPECT_EQ(lists.ActiveAt(7)->box_watch, nullptr);
  lists.ActiveAt(7)->SetPosition(1, 1);  // nobody to tell
  EXPECT_EQ(lists.ActiveAt(7)->bbox_left, 1);
}

}  // namespace
}  // namespace zorvex
