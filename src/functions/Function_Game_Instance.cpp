// Built-in functions of the game family for instances: creating, copying, changing and
// destroying them, finding and counting them, deactivating and activating them.
#include "functions/Function_Game_Instance.h"

#include "code/Code_Function.h"
#include "code/Code_Round.h"
#include "game/Game.h"
#include "run/Run_Command.h"
#include "run/Run_Instance.h"

namespace zorvex {

namespace {

int32_t Int(const RValue& v) {
  return RoundToInt32(v.real);
}
bool Bool(const RValue& v) {
  return IsTrue(v.real);
}
// Every instance the handlers see is the runtime's.
CInstance* Inst(CInstanceCore* i) {
  return static_cast<CInstance*>(i);
}

void F_instance_create(CGame& g, CInstanceCore*, CInstanceCore*, int, RValue* a, RValue& r) {
  CInstance* inst = CreateInstance(g, a[0].real, a[1].real, Int(a[2]));
  r.SetReal(inst ? inst->id : kOwnerNoone);
}
void F_instance_copy(CGame& g, CInstanceCore* self, CInstanceCore*, int, RValue* a, RValue& r) {
  CInstance* copy = CopyInstance(g, Inst(self), Bool(a[0]));
  r.SetReal(copy ? copy->id : kOwnerNoone);
}
void F_instance_destroy(CGame& g, CInstanceCore* self, CInstanceCore*, int, RValue*, RValue&) {
  DestroyInstance(g, Inst(self));
}
void F_instance_change(CGame& g, CInstanceCore* self, CInstanceCore*, int, RValue* a, RValue&) {
  ChangeInstance(g, Inst(self), Int(a[0]), Bool(a[1]));
}
void F_instance_sprite(CGame& g, CInstanceCore* self, CInstanceCore*, int, RValue* a, RValue&) {
  SetInstanceSprite(g, Inst(self), Int(a[0]));
}
void F_position_destroy(CGame& g, CInstanceCore*, CInstanceCore*, int, RValue* a, RValue&) {
  DestroyAtPosition(g, a[0].real, a[1].real);
}
void F_position_change(CGame& g, CInstanceCore*, CInstanceCore*, int, RValue* a, RValue&) {
  ChangeAtPosition(g, a[0].real, a[1].real, Int(a[2]), Bool(a[3]));
}
void F_instance_find(CGame& g, CInstanceCore*, CInstanceCore*, int, RValue* a, RValue& r) {
  r.SetReal(FindInstance(g, Int(a[0]), Int(a[1])));
}
void F_instance_exists(CGame& g, CInstanceCore* self, CInstanceCore* other, int, RValue* a,
                       RValue& r) {
  r.SetReal(InstanceExists(g, Inst(self), Inst(other), Int(a[0])) ? 1 : 0);
}
void F_instance_number(CGame& g, CInstanceCore* self, CInstanceCore* other, int, RValue* a,
                       RValue& r) {
  r.SetReal(InstanceNumber(g, Inst(self), Inst(other), Int(a[0])));
}
void F_instance_nearest(CGame& g, CInstanceCore*, CInstanceCore*, int, RValue* a, RValue& r) {
  r.SetReal(NearestInstance(g, a[0].real, a[1].real, Int(a[2])));
}
void F_instance_furthest(CGame& g, CInstanceCore*, CInstanceCore*, int, RValue* a, RValue& r) {
  r.SetReal(FurthestInstance(g, a[0].real, a[1].real, Int(a[2])));
}
void F_instance_deactivate_all(CGame& g, CInstanceCore* self, CInstanceCore*, int, RValue* a,
                               RValue&) {
  DeactivateAll(g, Inst(self), Bool(a[0]));
}
void F_instance_deactivate_object(CGame& g, CInstanceCore* self, CInstanceCore* other, int,
                                  RValue* a, RValue&) {
  DeactivateObject(g, Inst(self), Inst(other), Int(a[0]));
}
void F_instance_deactivate_region(CGame& g, CInstanceCore* self, CInstanceCore*, int, RValue* a,
                                  RValue&) {
  DeactivateRegion(g, Inst(self), a[0].real, a[1].real, a[2].real, a[3].real, Bool(a[4]),
                   Bool(a[5]));
}
void F_instance_activate_all(CGame& g, CInstanceCore*, CInstanceCore*, int, RValue*, RValue&) {
  ActivateAll(g);
}
void F_instance_activate_object(CGame& g, CInstanceCore* self, CInstanceCore* other, int, RValue* a,
                                RValue&) {
  ActivateObject(g, Inst(self), Inst(other), Int(a[0]));
}
void F_instance_activate_region(CGame& g, CInstanceCore*, CInstanceCore*, int, RValue* a, RValue&) {
  ActivateRegion(g, a[0].real, a[1].real, a[2].real, a[3].real, Bool(a[4]));
}

struct InstanceFunction {
  const char* name;
  BuiltinHandler handler;
  int32_t argc;
};

constexpr InstanceFunction kInstanceFunctions[] = {
    {"instance_create", F_instance_create, 3},
    {"instance_copy", F_instance_copy, 1},
    {"instance_destroy", F_instance_destroy, 0},
    {"instance_change", F_instance_change, 2},
    {"instance_sprite", F_instance_sprite, 1},
    {"position_destroy", F_position_destroy, 2},
    {"position_change", F_position_change, 4},
    {"instance_find", F_instance_find, 2},
    {"instance_exists", F_instance_exists, 1},
    {"instance_number", F_instance_number, 1},
    {"instance_nearest", F_instance_nearest, 3},
    {"instance_furthest", F_instance_furthest, 3},
    {"instance_deactivate_all", F_instance_deactivate_all, 1},
    {"instance_deactivate_object", F_instance_deactivate_object, 1},
    {"instance_deactivate_region", F_instance_deactivate_region, 6},
    {"instance_activate_all", F_instance_activate_all, 0},
    {"instance_activate_object", F_instance_activate_object, 1},
    {"instance_activate_region", F_instance_activate_region, 5},
};

}  // namespace

void RegisterGameInstanceFunctions(CFunctionTable& table) {
  for (const InstanceFunction& f : kInstanceFunctions)
    table.Register(f.name, f.handler, f.argc);
}

}  // namespace zorvex
