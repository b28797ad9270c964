#include "run/Run_Instance.h"

#include <string>

#include "game/Game.h"
#include "run/Event_Main.h"
#include "run/Run_Main.h"

namespace zorvex {

namespace {

// Whether the object is `ancestor` or descends from it.
bool IsOrDescendsFrom(const CObjectTable& objects, int32_t object, int32_t ancestor) {
  // Parents are acyclic; the bound only keeps a damaged chain from looping.
  for (int32_t guard = objects.Count(); guard >= 0 && object >= 0; --guard) {
    if (object == ancestor) return true;
    const CObject* o = objects.Get(object);
    if (!o) return false;
    object = o->parent_index;
    if (!objects.Exists(object)) return false;
  }
  return false;
}

void Deactivate(CInstance* inst) {
  if (inst && !inst->marked) inst->deactivated = true;
}

void Activate(CInstance* inst) {
  if (inst) inst->deactivated = false;
}

bool Live(const CInstance* inst) {
  return inst && !inst->marked;
}

// The live instances of -3 (the active list) or of an object (its family list), in list order;
// `visit` returns false to stop.
template <class Visit>
void ForEachLive(CInstanceLists& lists, int32_t obj, Visit&& visit) {
  const std::vector<CInstance*>& list = obj == kOwnerAll ? lists.ActiveList() : lists.Family(obj);
  for (CInstance* inst : list)
    if (!inst->marked && !visit(inst)) return;
}

template <class Better>
int32_t BestInstance(CGame& game, double x, double y, int32_t obj, double start, Better&& better) {
  CInstanceLists* lists = game.run.Instances();
  if (!lists || obj < kOwnerAll || obj == kOwnerSelf || obj == kOwnerOther ||
      obj >= kFirstInstanceId)
    return kOwnerNoone;
  double best = start;
  int32_t found = kOwnerNoone;
  ForEachLive(*lists, obj, [&](CInstance* inst) {
    const double dx = inst->x - x, dy = inst->y - y;
    const double d = dx * dx + dy * dy;
    if (better(d, best)) {
      best = d;
      found = inst->id;
    }
    return true;
  });
  return found;
}

}  // namespace

void DestroyInstance(CGame& game, CInstance* self) {
  if (!self) return;
  PerformEvent(game, self, self, kEventDestroy, 0);
  self->marked = true;
}

CInstance* CopyInstance(CGame& game, CInstance* self, bool perform_event) {
  CInstanceLists* lists = game.run.Instances();
  if (!self || !lists) return nullptr;
  CInstance* copy = lists->AddInstance(game.resources, self->object_index, self->x, self->y,
                                       game.resources.rooms.last_instance_id);
  const int32_t new_id = copy->id;
  copy->CopyState(*self);
  copy->id = new_id;
  if (perform_event) PerformEvent(game, copy, copy, kEventCreate, 0);
  return copy;
}

void ChangeInstance(CGame& game, CInstance* self, int32_t object, bool perform_events) {
  if (!game.resources.objects.Exists(object)) {
    game.errors.ReportInContext(kChangeMissingObjectMessage + std::to_string(object), false);
    return;
  }
  CInstanceLists* lists = game.run.Instances();
  if (!self || !lists) return;
  if (perform_events) PerformEvent(game, self, self, kEventDestroy, 0);
  CInstance* changed = lists->AddInstance(game.resources, object, self->x, self->y,
                                          game.resources.rooms.last_instance_id);
  changed->CopyState(*self);
  // Back to the object it was filed under by AddInstance, with that object's sprite, mask,
  // depth and flags.
  changed->SetObject(object);
  self->marked = true;
  if (perform_events) PerformEvent(game, changed, changed, kEventCreate, 0);
}

void SetInstanceSprite(CGame& game, CInstance* self, int32_t sprite) {
  if (!game.resources.sprites.Exists(sprite)) {
    game.errors.ReportInContext(kSetMissingSpriteMessage + std::to_string(sprite), false);
    return;
  }
  if (self) self->SetSprite(sprite);
}

void DestroyAtPosition(CGame& game, double x, double y) {
  CInstanceLists* lists = game.run.Instances();
  if (!lists) return;
  const int count = lists->ActiveCount();
  for (int i = 0; i < count && i < lists->ActiveCount(); ++i) {
    CInstance* inst = lists->ActiveAt(i);
    if (inst->PointInside(true, x, y)) DestroyInstance(game, inst);
  }
}

void ChangeAtPosition(CGame& game, double x, double y, int32_t object, bool perform_events) {
  if (!game.resources.objects.Exists(object)) {
    game.errors.ReportInContext(kChangeMissingObjectMessage + std::to_string(object), false);
    return;
  }
  CInstanceLists* lists = game.run.Instances();
  if (!lists) return;
  const int count = lists->ActiveCount();
  for (int i = 0; i < count && i < lists->ActiveCount(); ++i) {
    CInstance* inst = lists->ActiveAt(i);
    if (inst->PointInside(true, x, y)) ChangeInstance(game, inst, object, perform_events);
  }
}

CInstance* FindLiveInstance(CGame& game, int32_t id) {
  CInstanceLists* lists = game.run.Instances();
  if (!lists) return nullptr;
  const std::vector<CInstance*>& active = lists->ActiveList();
  for (size_t i = active.size(); i-- > 0;)
    if (active[i]->id == id && !active[i]->marked) return active[i];
  return nullptr;
}

int32_t FindInstance(CGame& game, int32_t obj, int32_t n) {
  CInstanceLists* lists = game.run.Instances();
  if (!lists || n < 0) return kOwnerNoone;
  if (obj >= kFirstInstanceId) return n == 0 && FindLiveInstance(game, obj) ? obj : kOwnerNoone;
  if (obj < kOwnerAll || obj == kOwnerSelf || obj == kOwnerOther) return kOwnerNoone;
  int32_t found = kOwnerNoone;
  int32_t seen = 0;
  ForEachLive(*lists, obj, [&](CInstance* inst) {
    if (seen++ < n) return true;
    found = inst->id;
    return false;
  });
  return found;
}

bool InstanceExists(CGame& game, CInstance* self, CInstance* other, int32_t obj) {
  return InstanceNumber(game, self, other, obj) > 0;
}

int32_t InstanceNumber(CGame& game, CInstance* self, CInstance* other, int32_t obj) {
  if (obj == kOwnerSelf) return Live(self) ? 1 : 0;
  if (obj == kOwnerOther) return Live(other) ? 1 : 0;
  if (obj >= kFirstInstanceId) return FindLiveInstance(game, obj) ? 1 : 0;
  CInstanceLists* lists = game.run.Instances();
  if (!lists || obj < kOwnerAll) return 0;
  int32_t count = 0;
  ForEachLive(*lists, obj, [&](CInstance*) {
    ++count;
    return true;
  });
  return count;
}

int32_t NearestInstance(CGame& game, double x, double y, int32_t obj) {
  return BestInstance(game, x, y, obj, 1e10, [](double d, double best) { return d < best; });
}

int32_t FurthestInstance(CGame& game, double x, double y, int32_t obj) {
  return BestInstance(game, x, y, obj, -1, [](double d, double best) { return d > best; });
}

bool InstanceInRegion(const CInstance& inst, double left, double top, double width, double height) {
  if (inst.HasShape())
    return left <= inst.bbox_right && left + width >= inst.bbox_left && top <= inst.bbox_bottom &&
           top + height >= inst.bbox_top;
  return left <= inst.x && inst.x <= left + width && top <= inst.y && inst.y <= top + height;
}

void DeactivateAll(CGame& game, CInstance* self, bool not_me) {
  CInstanceLists* lists = game.run.Instances();
  if (!lists) return;
  for (CInstance* inst : lists->ActiveList())
    if (!(not_me && inst == self)) Deactivate(inst);
  lists->ApplyActivation();
}

void DeactivateObject(CGame& game, CInstance* self, CInstance* other, int32_t obj) {
  CInstanceLists* lists = game.run.Instances();
  if (!lists) return;
  if (obj == kOwnerSelf) {
    Deactivate(self);
  } else if (obj == kOwnerOther) {
    Deactivate(other);
  } else if (obj == kOwnerAll) {
    for (CInstance* inst : lists->ActiveList())
      Deactivate(inst);
  } else if (obj >= kFirstInstanceId) {
    for (CInstance* inst : lists->ActiveList())
      if (inst->id == obj) Deactivate(inst);
  } else if (obj >= 0) {
    for (CInstance* inst : lists->Family(obj))
      Deactivate(inst);
  }
  lists->ApplyActivation();
}

void DeactivateRegion(CGame& game, CInstance* self, double left, double top, double width,
                      double height, bool inside, bool not_me) {
  CInstanceLists* lists = game.run.Instances();
  if (!lists) return;
  for (CInstance* inst : lists->ActiveList()) {
    if (not_me && inst == self) continue;
    if (InstanceInRegion(*inst, left, top, width, height) == inside) Deactivate(inst);
  }
  lists->ApplyActivation();
}

void ActivateAll(CGame& game) {
  CInstanceLists* lists = game.run.Instances();
  if (!lists) return;
  for (CInstance* inst : lists->InactiveList())
    Activate(inst);
  lists->ApplyActivation();
}

void ActivateObject(CGame& game, CInstance* self, CInstance* other, int32_t obj) {
  CInstanceLists* lists = game.run.Instances();
  if (!lists) return;
  if (obj == kOwnerSelf) {
    Activate(self);
  } else if (obj == kOwnerOther) {
    Activate(other);
  } else if (obj == kOwnerAll) {
    for (CInstance* inst : lists->InactiveList())
      Activate(inst);
  } else if (obj >= kFirstInstanceId) {
    for (CInstance* inst : lists->InactiveList())
      if (inst->id == obj) Activate(inst);
  } else if (obj >= 0) {
    const CObjectTable& objects = game.resources.objects;
    for (CInstance* inst : lists->InactiveList())
      if (IsOrDescendsFrom(objects, inst->object_index, obj)) Activate(inst);
  }
  lists->ApplyActivation();
}

void ActivateRegion(CGame& game, double left, double top, double width, double height,
                    bool inside) {
  CInstanceLists* lists = game.run.Instances();
  if (!lists) return;
  for (CInstance* inst : lists->InactiveList())
    if (InstanceInRegion(*inst, left, top, width, height) == inside) Activate(inst);
  lists->ApplyActivation();
}

}  // namespace zorvex
