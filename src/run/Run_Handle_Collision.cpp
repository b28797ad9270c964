#include "run/Run_Handle_Collision.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "code/Code_Variable.h"
#include "game/Game.h"
#include "run/Collision_Index.h"
#include "run/Event_Main.h"
#include "run/Run_Main.h"

namespace zorvex {

namespace {

CRect BoxOf(const CInstance& i) {
  return CRect{i.bbox_left, i.bbox_top, i.bbox_right, i.bbox_bottom};
}

// floor(v) held to the int32 range; false for a value that is not a number.
bool FloorToInt(double v, int32_t& out) {
  if (std::isnan(v)) return false;
  const double f = std::floor(v);
  out = f <= std::numeric_limits<int32_t>::min()   ? std::numeric_limits<int32_t>::min()
        : f >= std::numeric_limits<int32_t>::max() ? std::numeric_limits<int32_t>::max()
                                                   : static_cast<int32_t>(f);
  return true;
}

// The whole pixels a shape spanning the two points can share with a box: a box meets it only
// if it contains one of them (the box stage compares x with left and right + 1).
bool SpanRect(double x1, double y1, double x2, double y2, CRect& r) {
  return FloorToInt(std::min(x1, x2), r.left) && FloorToInt(std::max(x1, x2), r.right) &&
         FloorToInt(std::min(y1, y2), r.top) && FloorToInt(std::max(y1, y2), r.bottom);
}

// The list a search by obj walks: all instances (-3), one instance (an id), or an object and its
// descendants (any other value; negative ones name no object and give an empty list).
struct CChosenList {
  EInstanceList list = EInstanceList::kActive;
  int32_t object = -1;
  bool single = false;
  CInstance* instance = nullptr;  // for an id: the active instance with it, or null
};

CChosenList Choose(CGame& game, int32_t obj) {
  CChosenList c;
  if (obj == kOwnerAll) return c;
  if (obj >= 100000) {
    c.single = true;
    c.instance = static_cast<CInstance*>(FindInstanceById(game.language, obj));
    return c;
  }
  c.list = EInstanceList::kFamily;
  c.object = obj;
  return c;
}

const std::vector<CInstance*>& ListOf(CInstanceLists& lists, const CChosenList& c) {
  return c.list == EInstanceList::kActive ? lists.ActiveList() : lists.Family(c.object);
}

// The first instance of the chosen list, in list order, that is not marked and passes `test`;
// only instances whose boxes overlap `area` are looked at.
template <class Test>
CInstance* FirstIn(CGame& game, const CChosenList& c, const CRect& area, Test&& test) {
  CRoomState* room = game.run.current;
  if (!room) return nullptr;
  if (c.single)
    return c.instance && !c.instance->marked && test(*c.instance) ? c.instance : nullptr;
  const std::vector<CInstance*>& list = ListOf(room->instances, c);
  std::vector<int32_t>& candidates = room->collision.query_candidates;
  room->collision.Candidates(c.list, c.object, area, 0, static_cast<int>(list.size()), candidates);
  for (int32_t p : candidates) {
    CInstance* inst = list[static_cast<size_t>(p)];
    if (!inst->marked && test(*inst)) return inst;
  }
  return nullptr;
}

// Moves self to (x, y) for the search and back afterwards.
template <class Search>
auto Placed(CInstance& self, double x, double y, Search&& search) {
  const double old_x = self.x, old_y = self.y;
  self.SetPosition(x, y);
  auto result = search();
  self.SetPosition(old_x, old_y);
  return result;
}

// One colliding couple: solid ones go back to where the step started, both events run, and
// solid ones take their step again and go back once more if they still meet.
void HandleCouple(CGame& game, CInstance* a, CInstance* b) {
  if (a->solid || b->solid) {
    a->MoveBack();
    b->MoveBack();
  }
  PerformEvent(game, a, b, kEventCollision, b->object_index);
  PerformEvent(game, b, a, kEventCollision, a->object_index);
  if (a->solid || b->solid) {
    // An end of path reached here raises no event.
    a->StepPath();
    b->StepPath();
    a->SetPosition(a->x + a->hspeed, a->y + a->vspeed);
    b->SetPosition(b->x + b->hspeed, b->y + b->vspeed);
    if (a->CollidesWith(*b, true)) {
      a->MoveBack();
      b->MoveBack();
    }
  }
}

}  // namespace

void CollisionPass(CGame& game) {
  CRoomState* room = game.run.current;
  if (!room) return;
  CInstanceLists& lists = room->instances;
  CCollisionIndex& index = room->collision;
  std::vector<int32_t>& candidates = index.pass_candidates;
  // Events may rebuild the pair list (object_event_add, ...): it is read afresh at every pair.
  for (size_t p = 0; p < game.run.events.collision_pairs.size(); ++p) {
    const auto [i, j] = game.run.events.collision_pairs[p];
    const int a_count = lists.ExactCount(i);
    for (int ai = 0; ai < a_count && ai < lists.ExactCount(i); ++ai) {
      CInstance* a = lists.ExactAt(i, ai);
      if (a->marked || !a->MaskSprite()) continue;
      const int b_count = lists.ExactCount(j);
      // The candidates are the instances of j's list whose boxes meet a's box now; after a
      // couple has been handled anything may have moved, so they are found again from the
      // next position on.
      index.Candidates(EInstanceList::kExact, j, BoxOf(*a), 0, b_count, candidates);
      for (size_t c = 0; c < candidates.size();) {
        const int k = candidates[c++];
        if (k >= lists.ExactCount(j)) break;
        CInstance* b = lists.ExactAt(j, k);
        if (!a->CollidesWith(*b, true)) continue;
        HandleCouple(game, a, b);
        if (a->marked) break;  // collides with nothing any more
        index.Candidates(EInstanceList::kExact, j, BoxOf(*a), k + 1, b_count, candidates);
        c = 0;
      }
    }
  }
}

void InstallCollisionPass(CGame& game) {
  game.run.hooks.collision_pass = [](CGame& g) { CollisionPass(g); };
}

CInstance* FindCollision(CGame& game, ECollisionShape shape, double x1, double y1, double x2,
                         double y2, int32_t obj, bool precise, const CInstance* notme) {
  if (shape == ECollisionShape::kPoint) {
    x2 = x1;
    y2 = y1;
  }
  CRect area;
  if (!SpanRect(x1, y1, x2, y2, area)) return nullptr;
  // self and other name no object here.
  if (obj == kOwnerSelf || obj == kOwnerOther) return nullptr;
  const CChosenList c = Choose(game, obj);
  return FirstIn(game, c, area, [&](const CInstance& i) {
    if (&i == notme) return false;
    switch (shape) {
      case ECollisionShape::kPoint:
        return i.PointInside(precise, x1, y1);
      case ECollisionShape::kRectangle:
        return i.RectangleOverlaps(precise, x1, y1, x2, y2);
      case ECollisionShape::kEllipse:
        return i.EllipseOverlaps(precise, x1, y1, x2, y2);
      case ECollisionShape::kLine:
        return i.LineOverlaps(precise, x1, y1, x2, y2);
    }
    return false;
  });
}

CInstance* InstancePlace(CGame& game, CInstance& self, double x, double y, int32_t obj) {
  const CChosenList c = Choose(game, obj);
  return Placed(self, x, y, [&] {
    return FirstIn(game, c, BoxOf(self),
                   [&](const CInstance& i) { return self.CollidesWith(i, true); });
  });
}

bool PlaceFree(CGame& game, CInstance& self, double x, double y, bool solid_only) {
  const CChosenList all = Choose(game, kOwnerAll);
  return Placed(self, x, y, [&] {
    return FirstIn(game, all, BoxOf(self), [&](const CInstance& i) {
             return (!solid_only || i.solid) && self.CollidesWith(i, true);
           }) == nullptr;
  });
}

CInstance* InstancePosition(CGame& game, double x, double y, int32_t obj) {
  CRect area;
  if (!SpanRect(x, y, x, y, area)) return nullptr;
  const CChosenList c = Choose(game, obj);
  return FirstIn(game, c, area, [&](const CInstance& i) { return i.PointInside(true, x, y); });
}

double DistanceToPoint(const CInstance& self, double x, double y) {
  const double dx = x > self.bbox_right  ? x - self.bbox_right
                    : x < self.bbox_left ? x - self.bbox_left
                                         : 0.0;
  const double dy = y > self.bbox_bottom ? y - self.bbox_bottom
                    : y < self.bbox_top  ? y - self.bbox_top
                                         : 0.0;
  return std::sqrt(dx * dx + dy * dy);
}

double DistanceToObject(CGame& game, const CInstance& self, const CInstance* other, int32_t obj) {
  auto gap = [&self](const CInstance* o) {
    if (!o || o == &self || o->marked) return kNoDistance;
    double dx = 0, dy = 0;
    if (o->bbox_left - static_cast<double>(self.bbox_right) > 0)
      dx = o->bbox_left - static_cast<double>(self.bbox_right);
    else if (o->bbox_right - static_cast<double>(self.bbox_left) < 0)
      dx = o->bbox_right - static_cast<double>(self.bbox_left);
    if (o->bbox_top - static_cast<double>(self.bbox_bottom) > 0)
      dy = o->bbox_top - static_cast<double>(self.bbox_bottom);
    else if (o->bbox_bottom - static_cast<double>(self.bbox_top) < 0)
      dy = o->bbox_bottom - static_cast<double>(self.bbox_top);
    return std::sqrt(dx * dx + dy * dy);
  };
  if (obj == kOwnerSelf) return kNoDistance;
  if (obj == kOwnerOther) return std::min(kNoDistance, gap(other));
  const CChosenList c = Choose(game, obj);
  if (c.single) return std::min(kNoDistance, gap(c.instance));
  CRoomState* room = game.run.current;
  if (!room) return kNoDistance;
  double best = kNoDistance;
  for (const CInstance* i : ListOf(room->instances, c))
    best = std::min(best, gap(i));
  return best;
}

}  // namespace zorvex
