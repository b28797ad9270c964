#include "run/Event_Main.h"

#include <cmath>

#include "game/Game.h"
#include "platform/Platform_Joystick.h"
#include "run/Event_Action.h"
#include "run/IO_Main.h"
#include "run/Run_Main.h"

namespace zorvex {

namespace {

// The parent of an existing object, or -1 when the chain ends there.
int32_t ParentOf(const CObjectTable& objects, int32_t object) {
  const CObject* o = objects.Get(object);
  if (!o) return -1;
  int32_t p = o->parent_index;
  return objects.Exists(p) ? p : -1;
}

// Walks from the object up through its parents looking for a non-empty event.
CFoundEvent FindInChain(CObjectTable& objects, int32_t object, int32_t type, int32_t number) {
  // Parents are acyclic; the bound only keeps damaged data from looping.
  for (int32_t guard = objects.Count(); guard >= 0 && object >= 0; --guard) {
    CObject* o = objects.Get(object);
    if (!o) break;
    if (CEvent* e = o->EventOf(type, number)) return {e, object};
    object = ParentOf(objects, object);
  }
  return {};
}

// Runs a found event: the context is the defining object and the event, put back afterwards.
void RunFound(CGame& game, CInstance* self, CInstance* other, const CFoundEvent& found,
              int32_t type, int32_t number) {
  CEventContext& ctx = game.errors.context;
  const int32_t saved_object = ctx.object_index, saved_type = ctx.event_type,
                saved_number = ctx.event_number;
  ctx.object_index = found.object;
  ctx.event_type = type;
  ctx.event_number = number;
  RunActions(game, self, other, *found.event);
  ctx.object_index = saved_object;
  ctx.event_type = saved_type;
  ctx.event_number = saved_number;
}

// Performs event (type, number) for every live instance of the objects listed for it, object
// by object in ascending order, each over its exact list. `want` may pass over instances. The
// event is looked up once per object and again only when the events change meanwhile.
template <class Want>
void ListedPass(CGame& game, int32_t type, int32_t number, Want&& want) {
  CInstanceLists* lists = game.run.Instances();
  if (!lists) return;
  const std::vector<int32_t>& objs = game.run.events.Objects(type, number);
  for (size_t k = 0; k < objs.size(); ++k) {
    const int32_t object = objs[k];
    uint64_t generation = game.run.events.generation;
    CFoundEvent found = FindEvent(game.resources.objects, object, type, number);
    const int count = lists->ExactCount(object);
    for (int i = 0; i < count && i < lists->ExactCount(object); ++i) {
      CInstance* inst = lists->ExactAt(object, i);
      if (inst->marked || !want(inst)) continue;
      if (game.run.Pending()) continue;
      if (generation != game.run.events.generation) {
        generation = game.run.events.generation;
        found = FindEvent(game.resources.objects, object, type, number);
      }
      if (found.event) RunFound(game, inst, inst, found, type, number);
    }
  }
}

void ListedPass(CGame& game, int32_t type, int32_t number) {
  ListedPass(game, type, number, [](CInstance*) { return true; });
}

}  // namespace

CFoundEvent FindEvent(CObjectTable& objects, int32_t object, int32_t type, int32_t number) {
  CFoundEvent f = FindInChain(objects, object, type, number);
  if (f.event || type != kEventCollision || !objects.Exists(number)) return f;
  int32_t ancestor = ParentOf(objects, number);
  for (int32_t guard = objects.Count(); guard >= 0 && ancestor >= 0; --guard) {
    f = FindInChain(objects, object, kEventCollision, ancestor);
    if (f.event) return f;
    ancestor = ParentOf(objects, ancestor);
  }
  return {};
}

void BuildEventLists(CGame& game) {
  CEventLists& lists = game.run.events;
  CObjectTable& objects = game.resources.objects;
  // The outer lists keep their size, so a pass that holds one of them while events change
  // stays valid.
  for (int32_t t = 0; t < kEventTypeCount; ++t) {
    auto& byType = lists.objects[static_cast<size_t>(t)];
    byType.resize(static_cast<size_t>(kMaxEventNumber) + 1);
    for (auto& l : byType)
      l.clear();
  }
  lists.collision_pairs.clear();
  const int32_t count = objects.Count();
  std::vector<int32_t> collides;  // the objects i or its ancestors have collision events with
  std::vector<uint8_t> with;
  for (int32_t o = 0; o < count; ++o) {
    if (!objects.Exists(o)) continue;
    collides.clear();
    int32_t at = o;
    for (int32_t guard = count; guard >= 0 && at >= 0; --guard) {
      const CObject* obj = objects.Get(at);
      for (int32_t t = 0; t < kEventTypeCount; ++t) {
        for (const CEventEntry& e : obj->Events(t)) {
          if (e.event->actions.empty()) continue;
          if (t == kEventCollision) {
            collides.push_back(e.number);
            continue;
          }
          if (e.number > kCollectedEventNumbers[static_cast<size_t>(t)]) continue;
          auto& l = lists.objects[static_cast<size_t>(t)][static_cast<size_t>(e.number)];
          if (l.empty() || l.back() != o) l.push_back(o);
        }
      }
      at = ParentOf(objects, at);
    }
    if (collides.empty()) continue;
    // Object j pairs with o when o's chain has an event for j or for an ancestor of j.
    with.assign(static_cast<size_t>(count), 0);
    for (int32_t n : collides)
      if (n < count) with[static_cast<size_t>(n)] = 1;
    for (int32_t j = 0; j < count; ++j) {
      bool pair = with[static_cast<size_t>(j)] != 0;
      if (!pair && objects.Exists(j)) {
        int32_t a = ParentOf(objects, j);
        for (int32_t guard = count; guard >= 0 && a >= 0 && !pair; --guard) {
          pair = with[static_cast<size_t>(a)] != 0;
          a = ParentOf(objects, a);
        }
      }
      if (pair) lists.collision_pairs.emplace_back(o, j);
    }
  }
  ++lists.generation;
}

void PerformEventForObject(CGame& game, CInstance* self, CInstance* other, int32_t object,
                           int32_t type, int32_t number) {
  if (game.run.Pending()) return;
  CFoundEvent found = FindEvent(game.resources.objects, object, type, number);
  if (found.event) RunFound(game, self, other, found, type, number);
}

void PerformEvent(CGame& game, CInstance* self, CInstance* other, int32_t type, int32_t number) {
  if (game.run.Pending() || !self) return;
  PerformEventForObject(game, self, other, self->object_index, type, number);
}

void PerformEventForAll(CGame& game, int32_t type, int32_t number) {
  CInstanceLists* lists = game.run.Instances();
  if (!lists) return;
  const int count = lists->ActiveCount();
  for (int i = 0; i < count && i < lists->ActiveCount(); ++i) {
    CInstance* inst = lists->ActiveAt(i);
    if (!inst->marked) PerformEventForObject(game, inst, inst, inst->object_index, type, number);
  }
}

void RunTimeLineMoment(CGame& game, CInstance* self, CInstance* other, int32_t timeline,
                       int32_t moment) {
  if (game.run.Pending()) return;
  CTimeLine* tl = game.resources.time_lines.Get(timeline);
  if (!tl) return;
  CEvent* event = tl->MomentEvent(moment);
  if (!event) return;
  CEventContext& ctx = game.errors.context;
  const int32_t saved_object = ctx.object_index, saved_type = ctx.event_type,
                saved_number = ctx.event_number;
  ctx.object_index = timeline;
  ctx.event_type = kTimeLineEventType;
  ctx.event_number = tl->MomentStep(moment);
  RunActions(game, self, other, *event);
  ctx.object_index = saved_object;
  ctx.event_type = saved_type;
  ctx.event_number = saved_number;
}

void StepPass(CGame& game, int32_t number) {
  ListedPass(game, kEventStep, number);
}

void TimeLinePass(CGame& game) {
  CInstanceLists* lists = game.run.Instances();
  if (!lists) return;
  const int count = lists->ActiveCount();
  for (int i = 0; i < count && i < lists->ActiveCount(); ++i) {
    CInstance* inst = lists->ActiveAt(i);
    if (inst->marked) continue;
    const int32_t index = inst->timeline_index;
    CTimeLine* tl = game.resources.time_lines.Get(index);
    if (!tl) continue;
    const int32_t from = tl->MomentIndexAt(inst->timeline_position);
    inst->timeline_position += inst->timeline_speed;
    const int32_t to = tl->MomentIndexAt(inst->timeline_position);
    for (int32_t m = from; m < to; ++m)
      RunTimeLineMoment(game, inst, inst, index, m);
  }
}

void AlarmPass(CGame& game) {
  for (int32_t a = 0; a < kAlarmCount; ++a) {
    // The countdown happens whether or not the event may run.
    ListedPass(game, kEventAlarm, a, [a](CInstance* inst) {
      int32_t& alarm = inst->alarm[static_cast<size_t>(a)];
      if (alarm < 0) return false;
      --alarm;
      return alarm == 0;
    });
  }
}

void KeyboardPass(CGame& game) {
  const CInputState& in = game.input;
  bool any = false;
  for (int32_t k = 8; k <= 255; ++k) {
    if (!in.KeyHeld(k) && !in.KeyPressed(k)) continue;
    any = true;
    ListedPass(game, kEventKeyboard, k);
  }
  ListedPass(game, kEventKeyboard, any ? 1 : 0);
  any = false;
  for (int32_t k = 8; k <= 255; ++k) {
    if (!in.KeyPressed(k)) continue;
    any = true;
    ListedPass(game, kEventKeyPress, k);
  }
  ListedPass(game, kEventKeyPress, any ? 1 : 0);
  any = false;
  for (int32_t k = 8; k <= 255; ++k) {
    if (!in.KeyReleased(k)) continue;
    any = true;
    ListedPass(game, kEventKeyRelease, k);
  }
  ListedPass(game, kEventKeyRelease, any ? 1 : 0);
}

void JoystickPass(CGame& game) {
  // Skipped without any listed joystick event, so a game that ignores joysticks never opens one.
  bool wanted = false;
  for (int32_t n = 16; n <= 43 && !wanted; ++n)
    wanted = !game.run.events.Objects(kEventMouse, n).empty();
  if (!wanted) return;
  for (int32_t j = 0; j < 2; ++j) {
    JoystickState s;
    if (!ReadJoystick(j, s)) continue;
    const int32_t base = j == 0 ? 16 : 31;
    if (s.axes[0] < 20000) ListedPass(game, kEventMouse, base);
    if (s.axes[0] > 44000) ListedPass(game, kEventMouse, base + 1);
    if (s.axes[1] < 20000) ListedPass(game, kEventMouse, base + 2);
    if (s.axes[1] > 44000) ListedPass(game, kEventMouse, base + 3);
    for (int32_t b = 0; b < 8; ++b)
      if (s.buttons & (1u << b)) ListedPass(game, kEventMouse, base + 5 + b);
  }
}

void MousePass(CGame& game) {
  CRunState& run = game.run;
  run.mouse_previous_x = run.mouse_x;
  run.mouse_previous_y = run.mouse_y;
  CPoint m = MouseRoomPosition(game);
  run.mouse_x = static_cast<double>(m.x);
  run.mouse_y = static_cast<double>(m.y);
  const double mx = run.mouse_x, my = run.mouse_y;
  auto local = [&](int32_t number) {
    ListedPass(game, kEventMouse, number,
               [&](CInstance* inst) { return inst->PointInside(true, mx, my); });
  };
  auto global = [&](int32_t number) { ListedPass(game, kEventMouse, number); };
  const CInputState& in = game.input;
  bool any = false;
  for (int32_t b = 1; b <= 3; ++b) {
    if (!in.ButtonHeld(b) && !in.ButtonPressed(b)) continue;
    any = true;
    local(b - 1);
    global(49 + b);
  }
  if (!any) local(3);
  for (int32_t b = 1; b <= 3; ++b) {
    if (!in.ButtonPressed(b)) continue;
    local(b + 3);
    global(12);
    global(52 + b);
  }
  for (int32_t b = 1; b <= 3; ++b) {
    if (!in.ButtonReleased(b)) continue;
    local(b + 6);
    global(13);
    global(55 + b);
  }
  const double px = run.mouse_previous_x, py = run.mouse_previous_y;
  ListedPass(game, kEventMouse, 10, [&](CInstance* inst) {
    return inst->PointInside(true, mx, my) && !inst->PointInside(true, px, py);
  });
  ListedPass(game, kEventMouse, 11, [&](CInstance* inst) {
    return inst->PointInside(true, px, py) && !inst->PointInside(true, mx, my);
  });
  if (in.WheelUp()) global(60);
  if (in.WheelDown()) global(61);
}

void BoundaryPass(CGame& game) {
  CRoomState* state = game.run.current;
  if (!state) return;
  const CRoom& room = state->room;
  const double w = room.width, h = room.height;
  auto point_in = [](const CInstance* i, double l, double t, double r, double b) {
    return i->x >= l && i->x <= r && i->y >= t && i->y <= b;
  };
  ListedPass(game, kEventOther, kOtherOutside, [&](CInstance* i) {
    if (!i->HasShape()) return !point_in(i, 0, 0, w, h);
    return !(i->bbox_right >= 0 && i->bbox_left <= w && i->bbox_bottom >= 0 && i->bbox_top <= h);
  });
  ListedPass(game, kEventOther, kOtherBoundary, [&](CInstance* i) {
    if (!i->HasShape()) return !point_in(i, 0, 0, w, h);
    return !(i->bbox_left >= 0 && i->bbox_right <= w && i->bbox_top >= 0 && i->bbox_bottom <= h);
  });
  if (!room.views_enabled) return;
  for (int32_t v = 0; v < kRoomViewCount; ++v) {
    const CView& view = room.views[static_cast<size_t>(v)];
    if (!view.visible) continue;
    const double l = view.xview, t = view.yview;
    const double r = l + view.wview, b = t + view.hview;
    ListedPass(game, kEventOther, kOtherOutsideView0 + v, [&](CInstance* i) {
      if (!i->HasShape()) return !point_in(i, l, t, r, b);
      return !(i->bbox_right >= l && i->bbox_left <= r && i->bbox_bottom >= t && i->bbox_top <= b);
    });
  }
  for (int32_t v = 0; v < kRoomViewCount; ++v) {
    const CView& view = room.views[static_cast<size_t>(v)];
    if (!view.visible) continue;
    const double l = view.xview, t = view.yview;
    const double r = l + view.wview, b = t + view.hview;
    ListedPass(game, kEventOther, kOtherBoundaryView0 + v, [&](CInstance* i) {
      if (!i->HasShape()) return !point_in(i, l, t, r, b);
      return !(i->bbox_left >= l && i->bbox_right <= r && i->bbox_top >= t && i->bbox_bottom <= b);
    });
  }
}

}  // namespace zorvex
