#include "functions/Function_Misc_Event.h"

#include "code/Code_Function.h"
#include "code/Code_Round.h"
#include "game/Game.h"
#include "run/Run_Main.h"

namespace zorvex {

namespace {

int32_t Int(const RValue& v) {
  return RoundToInt32(v.real);
}
CInstance* Inst(CInstanceCore* i) {
  return static_cast<CInstance*>(i);
}

void F_event_perform(CGame& g, CInstanceCore* self, CInstanceCore* other, int, RValue* a,
                     RValue&) {
  PerformEvent(g, Inst(self), Inst(other), Int(a[0]), Int(a[1]));
}

void F_event_perform_object(CGame& g, CInstanceCore* self, CInstanceCore* other, int, RValue* a,
                            RValue&) {
  PerformEventForObject(g, Inst(self), Inst(other), Int(a[0]), Int(a[1]), Int(a[2]));
}

void F_event_user(CGame& g, CInstanceCore* self, CInstanceCore* other, int, RValue* a, RValue&) {
  PerformEvent(g, Inst(self), Inst(other), kEventOther, kOtherUser0 + Int(a[0]));
}

void F_event_inherited(CGame& g, CInstanceCore* self, CInstanceCore* other, int, RValue*,
                       RValue&) {
  const CEventContext& ctx = g.errors.context;
  const CObject* obj = g.resources.objects.Get(ctx.object_index);
  if (!obj || !g.resources.objects.Exists(obj->parent_index)) return;
  PerformEventForObject(g, Inst(self), Inst(other), obj->parent_index, ctx.event_type,
                        ctx.event_number);
}

}  // namespace

void RegisterEventFunctions(CFunctionTable& table) {
  table.Register("event_perform", F_event_perform, 2);
  table.Register("event_perform_object", F_event_perform_object, 3);
  table.Register("event_user", F_event_user, 1);
  table.Register("event_inherited", F_event_inherited, 0);
}

}  // namespace zorvex
