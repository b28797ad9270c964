// An instance: one live copy of an object in the current room, with its position, motion,
// drawing state, bounding box, alarms, path and time line state and its own variables.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "code/Code_Instance.h"

namespace zorvex {

class CStream;
class CObject;
class CSprite;
struct CMaskPose;
struct CResources;
class CInstance;

// Told of every change of an instance's bounding box, so that a spatial index over the room's
// instances stays current whatever code moves them.
class CBoxWatch {
 public:
  virtual void BoxChanged(const CInstance& inst) = 0;

 protected:
  ~CBoxWatch() = default;
};

inline constexpr int32_t kAlarmCount = 12;
// The bounding box of an instance without a mask sprite, on all four sides.
inline constexpr int32_t kNoBoundingBox = -100000;

// The fields of an instance besides those the language sees, with the values a new instance
// starts from. Kept apart so that creation and copying treat them as one block.
struct CInstanceState {
  int32_t sprite_index = -1;
  double image_index = 0;
  double image_speed = 1;
  double image_xscale = 1;
  double image_yscale = 1;
  double image_angle = 0;
  double image_alpha = 1;
  int32_t image_blend = 0xFFFFFF;
  int32_t mask_index = -1;
  double depth = 0;
  bool precise = false;
  double x = 0;
  double y = 0;
  double xstart = 0;
  double ystart = 0;
  double xprevious = 0;
  double yprevious = 0;
  double direction = 0;
  double speed = 0;
  double friction = 0;
  double gravity_direction = 270;
  double gravity = 0;
  double hspeed = 0;
  double vspeed = 0;
  int32_t bbox_left = kNoBoundingBox;
  int32_t bbox_top = kNoBoundingBox;
  int32_t bbox_right = kNoBoundingBox;
  int32_t bbox_bottom = kNoBoundingBox;
  bool visible = true;
  bool solid = false;
  bool persistent = false;
  std::array<int32_t, kAlarmCount> alarm{-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
  bool deactivated = false;
  int32_t path_index = -1;
  double path_position = 0;
  double path_positionprevious = 0;
  double path_speed = 0;
  double path_scale = 1;
  double path_orientation = 0;
  int32_t path_endaction = 0;
  double path_origin_x = 0;
  double path_origin_y = 0;
  int32_t timeline_index = -1;
  double timeline_position = 0;
  double timeline_speed = 1;
  std::string creation_code;
};

class CInstance : public CInstanceCore, public CInstanceState {
 public:
  // Sprites, objects and paths the operations consult; set by Create. Never null afterwards.
  CResources* res = nullptr;
  // The room's collision index, once it has indexed this instance; not copied by CopyState.
  CBoxWatch* box_watch = nullptr;

  // Makes a new instance of the object at (x, y); every field starts afresh (the variables too).
  void Create(CResources& resources, int32_t new_id, int32_t object, double px, double py);

  // The object record, or null when object_index names no object (looked up each time, so an
  // object deleted while the game runs never leaves a dangling reference).
  CObject* Object() const;
  // The sprite shown, or null.
  const CSprite* Sprite() const;
  // Sub-images of the sprite shown; 0 without one.
  int32_t ImageCount() const;
  // Whether the sprite or the mask names an existing sprite (the instance has a box).
  bool HasShape() const;

  void SetObject(int32_t object);
  void SetSprite(int32_t sprite);
  void SetMask(int32_t sprite);
  void SetPosition(double px, double py);
  void SetImageXScale(double v);
  void SetImageYScale(double v);
  void SetImageAngle(double v);
  void SetDirection(double d);
  void SetSpeed(double s);
  void SetHSpeed(double v);
  void SetVSpeed(double v);
  void AddMotion(double dir, double amount);
  int32_t GetAlarm(int32_t i) const {
    return i >= 0 && i < kAlarmCount ? alarm[static_cast<size_t>(i)] : -1;
  }
  void SetAlarm(int32_t i, int32_t v) {
    if (i >= 0 && i < kAlarmCount) alarm[static_cast<size_t>(i)] = v;
  }
  void SetPathPosition(double p);
  void SetPathPositionPrevious(double p);
  void StartPath(int32_t path, double speed_along, int32_t endaction, bool absolute);
  // One step along the path; true when its end was reached.
  bool StepPath();
  void ApplyFrictionAndGravity();
  void ComputeBoundingBox();

  // Collision tests (Instance_Collision.cpp). Each compares the integer box first; with
  // `precise_check` and the instance's precise flag the mask pixels decide. A marked instance,
  // and one without a mask sprite, never collides.
  // The mask sprite: sprite mask_index when that is >= 0, else sprite_index; null when missing.
  const CSprite* MaskSprite() const;
  // The mask sprite's frame, rounded position, scales and angle.
  CMaskPose MaskPose() const;
  // Whether the shape contains the room point.
  bool PointInside(bool precise_check, double px, double py) const;
  // Whether the shape overlaps the rectangle, the ellipse inside the rectangle, or the segment.
  bool RectangleOverlaps(bool precise_check, double x1, double y1, double x2, double y2) const;
  bool EllipseOverlaps(bool precise_check, double x1, double y1, double x2, double y2) const;
  bool LineOverlaps(bool precise_check, double x1, double y1, double x2, double y2) const;
  // Whether the two shapes overlap; never an instance with itself.
  bool CollidesWith(const CInstance& other, bool precise_check) const;
  // Back to where the step started: position and path position.
  void MoveBack();

  // Makes this instance a copy of the source: every field, the variables deep-copied.
  void CopyState(const CInstance& source);

  void WriteToStream(CStream& s) const;
  // Reads into this instance, which Create has made; the box is taken as stored.
  void ReadFromStream(CStream& s);

 private:
  void UpdateComponents();
  void UpdateMotion();
  void ComputeBox();
};

// Nearest integer with halves to the even neighbour, as every coordinate of the runtime rounds.
int32_t Nearest(double v);

}  // namespace zorvex
