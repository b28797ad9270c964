// The instance commands that game code and actions share: destroying, copying and changing
// instances, finding and counting them, and moving them between the active and the inactive
// list. They work on the current room; without one they find nothing and change nothing.
#pragma once

#include <cstdint>

#include "code/Code_Variable.h"

namespace zorvex {

class CGame;
class CInstance;

inline constexpr const char* kChangeMissingObjectMessage =
    "Asking to change into non-existing object: ";
inline constexpr const char* kSetMissingSpriteMessage = "Setting instance to non-existing sprite: ";

// An `obj` argument is an owner value (code/Code_Variable.h): -1 self, -2 other, -3 all, an
// instance id from 100000 on, any other value an object index (its family list). Functions
// that give an instance give its id or noone (-4).

// The destroy event of self, then self is marked (freed at the next removal pass).
void DestroyInstance(CGame& game, CInstance* self);
// A copy of self with a new id; its create event when `perform_event`. Null without a room.
CInstance* CopyInstance(CGame& game, CInstance* self, bool perform_event);
// Replaces self by an instance of `object` that keeps self's id, variables and state.
void ChangeInstance(CGame& game, CInstance* self, int32_t object, bool perform_events);
// SetSprite on self; a sprite that does not exist is a non-fatal error.
void SetInstanceSprite(CGame& game, CInstance* self, int32_t sprite);
// Every active instance whose shape holds the point, destroyed or changed in list order.
void DestroyAtPosition(CGame& game, double x, double y);
void ChangeAtPosition(CGame& game, double x, double y, int32_t object, bool perform_events);

// The live (not marked) active instance with this id, or null. The newest one wins, so an
// instance changed in this step is found rather than the one it replaced.
CInstance* FindLiveInstance(CGame& game, int32_t id);
// The id of the n-th live instance of `obj` (-3 the active list, an object its family list, an
// id only for n = 0); noone otherwise.
int32_t FindInstance(CGame& game, int32_t obj, int32_t n);
bool InstanceExists(CGame& game, CInstance* self, CInstance* other, int32_t obj);
int32_t InstanceNumber(CGame& game, CInstance* self, CInstance* other, int32_t obj);
// The live instance of `obj` (-3 or an object) closest to / furthest from the point; noone when
// there is none (or, for the nearest, none closer than 100000 pixels).
int32_t NearestInstance(CGame& game, double x, double y, int32_t obj);
int32_t FurthestInstance(CGame& game, double x, double y, int32_t obj);

// Deactivation takes effect at once: the instances leave the active list inside the running
// event, and activated ones join its end. Marked (destroyed) instances are left where they are,
// so the removal pass still frees them.
void DeactivateAll(CGame& game, CInstance* self, bool not_me);
void DeactivateObject(CGame& game, CInstance* self, CInstance* other, int32_t obj);
void DeactivateRegion(CGame& game, CInstance* self, double left, double top, double width,
                      double height, bool inside, bool not_me);
void ActivateAll(CGame& game);
void ActivateObject(CGame& game, CInstance* self, CInstance* other, int32_t obj);
void ActivateRegion(CGame& game, double left, double top, double width, double height, bool inside);

// Whether the instance lies in the rectangle: its bounding box overlaps it when it has a
// sprite or mask, otherwise its position lies in it (edges included either way).
bool InstanceInRegion(const CInstance& inst, double left, double top, double width, double height);

}  // namespace zorvex
