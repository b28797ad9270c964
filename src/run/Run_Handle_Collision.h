// The collision pass of every step with its solid handling, and the searches behind the
// collision functions of game code (place_free, instance_place, collision_line, ...). All of them
// go through the room's collision index (Collision_Index.h) and answer in list order.
#pragma once

#include <cstdint>

namespace zorvex {

class CGame;
class CInstance;

inline constexpr int32_t kNoInstance = -4;      // noone
inline constexpr double kNoDistance = 1000000;  // distance_to_object when nothing is found

// For each collision pair (i, j) in order, for each live instance a of i's exact list and each b
// of j's exact list (count taken on entry) that collide precisely: solid ones move back, both
// collision events run, and solid ones step once more and move back again if they still meet.
void CollisionPass(CGame& game);
// Makes CollisionPass the main loop's collision pass.
void InstallCollisionPass(CGame& game);

// The shapes of the collision_* functions.
enum class ECollisionShape : uint8_t { kPoint, kRectangle, kEllipse, kLine };

// The first instance of the chosen list (obj: -3 all, >= 100000 an instance id, else an object
// and its descendants) that is not marked, is not `notme` and meets the shape; null when none.
// A point uses (x1, y1) only.
CInstance* FindCollision(CGame& game, ECollisionShape shape, double x1, double y1, double x2,
                         double y2, int32_t obj, bool precise, const CInstance* notme);
// The first instance of the chosen list that self, placed at (x, y), collides with precisely.
CInstance* InstancePlace(CGame& game, CInstance& self, double x, double y, int32_t obj);
// Whether self, placed at (x, y), collides precisely with no instance (with no solid instance
// when solid_only).
bool PlaceFree(CGame& game, CInstance& self, double x, double y, bool solid_only);
// The first instance of the chosen list whose shape (precisely) contains the point.
CInstance* InstancePosition(CGame& game, double x, double y, int32_t obj);
// Distance from self's box to the point; 0 inside.
double DistanceToPoint(const CInstance& self, double x, double y);
// The smallest distance from self's box to the boxes of the chosen instances (-2: `other`);
// 1000000 when there are none.
double DistanceToObject(CGame& game, const CInstance& self, const CInstance* other, int32_t obj);

}  // namespace zorvex
