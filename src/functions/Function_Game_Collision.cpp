// Built-in functions of the game family that ask whether instances touch: the placing and
// position tests, the collision_* shape searches and the distances. Arguments are reals;
// ids and indices go through nearest(), booleans are values >= 0.5.
#include "functions/Function_Game_Collision.h"

#include <iterator>

#include "code/Code_Function.h"
#include "code/Code_Round.h"
#include "code/Code_Variable.h"
#include "game/Game.h"
#include "run/Run_Handle_Collision.h"

namespace zorvex {

namespace {

int32_t Int(const RValue& v) {
  return RoundToInt32(v.real);
}

double IdOf(const CInstance* i) {
  return i ? i->id : kNoInstance;
}

// Game code always runs with an instance as self (a temporary one for room code).
CInstance* Self(CInstanceCore* self) {
  return static_cast<CInstance*>(self);
}

// self and other become their ids where a function replaces them.
int32_t WithSelfAndOther(int32_t obj, CInstanceCore* self, CInstanceCore* other) {
  if (obj == kOwnerSelf) return self ? self->id : kOwnerNoone;
  if (obj == kOwnerOther) return other ? other->id : kOwnerNoone;
  return obj;
}

void F_place_free(CGame& g, CInstanceCore* self, CInstanceCore*, int, RValue* a, RValue& r) {
  if (!self) return;
  r.SetReal(PlaceFree(g, *Self(self), a[0].real, a[1].real, true) ? 1 : 0);
}
void F_place_empty(CGame& g, CInstanceCore* self, CInstanceCore*, int, RValue* a, RValue& r) {
  if (!self) return;
  r.SetReal(PlaceFree(g, *Self(self), a[0].real, a[1].real, false) ? 1 : 0);
}
void F_place_meeting(CGame& g, CInstanceCore* self, CInstanceCore* other, int, RValue* a,
                     RValue& r) {
  if (!self) return;
  const int32_t obj = WithSelfAndOther(Int(a[2]), self, other);
  r.SetReal(InstancePlace(g, *Self(self), a[0].real, a[1].real, obj) ? 1 : 0);
}
void F_instance_place(CGame& g, CInstanceCore* self, CInstanceCore*, int, RValue* a, RValue& r) {
  if (!self) {
    r.SetReal(kNoInstance);
    return;
  }
  r.SetReal(IdOf(InstancePlace(g, *Self(self), a[0].real, a[1].real, Int(a[2]))));
}
void F_position_empty(CGame& g, CInstanceCore*, CInstanceCore*, int, RValue* a, RValue& r) {
  r.SetReal(InstancePosition(g, a[0].real, a[1].real, kOwnerAll) ? 0 : 1);
}
void F_position_meeting(CGame& g, CInstanceCore* self, CInstanceCore* other, int, RValue* a,
                        RValue& r) {
  const int32_t obj = WithSelfAndOther(Int(a[2]), self, other);
  r.SetReal(InstancePosition(g, a[0].real, a[1].real, obj) ? 1 : 0);
}
void F_instance_position(CGame& g, CInstanceCore*, CInstanceCore*, int, RValue* a, RValue& r) {
  r.SetReal(IdOf(InstancePosition(g, a[0].real, a[1].real, Int(a[2]))));
}

// The shape searches: obj, prec and notme follow the shape's coordinates.
void Shape(CGame& g, CInstanceCore* self, ECollisionShape shape, double x1, double y1, double x2,
           double y2, const RValue* rest, RValue& r) {
  const bool notme = IsTrue(rest[2].real);
  r.SetReal(IdOf(FindCollision(g, shape, x1, y1, x2, y2, Int(rest[0]), IsTrue(rest[1].real),
                               notme ? Self(self) : nullptr)));
}
void F_collision_point(CGame& g, CInstanceCore* self, CInstanceCore*, int, RValue* a, RValue& r) {
  Shape(g, self, ECollisionShape::kPoint, a[0].real, a[1].real, a[0].real, a[1].real, a + 2, r);
}
void F_collision_rectangle(CGame& g, CInstanceCore* self, CInstanceCore*, int, RValue* a,
                           RValue& r) {
  Shape(g, self, ECollisionShape::kRectangle, a[0].real, a[1].real, a[2].real, a[3].real, a + 4, r);
}
void F_collision_circle(CGame& g, CInstanceCore* self, CInstanceCore*, int, RValue* a, RValue& r) {
  const double xc = a[0].real, yc = a[1].real, radius = a[2].real;
  Shape(g, self, ECollisionShape::kEllipse, xc - radius, yc - radius, xc + radius, yc + radius,
        a + 3, r);
}
void F_collision_ellipse(CGame& g, CInstanceCore* self, CInstanceCore*, int, RValue* a, RValue& r) {
  Shape(g, self, ECollisionShape::kEllipse, a[0].real, a[1].real, a[2].real, a[3].real, a + 4, r);
}
void F_collision_line(CGame& g, CInstanceCore* self, CInstanceCore*, int, RValue* a, RValue& r) {
  Shape(g, self, ECollisionShape::kLine, a[0].real, a[1].real, a[2].real, a[3].real, a + 4, r);
}
void F_distance_to_point(CGame&, CInstanceCore* self, CInstanceCore*, int, RValue* a, RValue& r) {
  if (!self) return;
  r.SetReal(DistanceToPoint(*Self(self), a[0].real, a[1].real));
}
void F_distance_to_object(CGame& g, CInstanceCore* self, CInstanceCore* other, int, RValue* a,
                          RValue& r) {
  if (!self) {
    r.SetReal(kNoDistance);
    return;
  }
  r.SetReal(DistanceToObject(g, *Self(self), static_cast<CInstance*>(other), Int(a[0])));
}

struct CollisionFunction {
  const char* name;
  BuiltinHandler handler;
  int32_t argc;
};

constexpr CollisionFunction kCollisionFunctions[] = {
    {"place_free", F_place_free, 2},
    {"place_empty", F_place_empty, 2},
    {"place_meeting", F_place_meeting, 3},
    {"position_empty", F_position_empty, 2},
    {"position_meeting", F_position_meeting, 3},
    {"collision_point", F_collision_point, 5},
    {"collision_rectangle", F_collision_rectangle, 7},
    {"collision_circle", F_collision_circle, 6},
    {"collision_ellipse", F_collision_ellipse, 7},
    {"collision_line", F_collision_line, 7},
    {"instance_place", F_instance_place, 3},
    {"instance_position", F_instance_position, 3},
    {"distance_to_point", F_distance_to_point, 2},
    {"distance_to_object", F_distance_to_object, 1},
};

}  // namespace

void RegisterCollisionFunctions(CFunctionTable& table) {
  for (const CollisionFunction& f : kCollisionFunctions)
    table.Register(f.name, f.handler, f.argc);
}

}  // namespace zorvex
