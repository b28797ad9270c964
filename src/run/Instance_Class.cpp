#include "run/Instance_Class.h"

#include <algorithm>
#include <cmath>

#include "code/Code_Round.h"
#include "resources/Resource_Tables.h"
#include "runner/Support_Stream.h"

namespace zorvex {

namespace {

constexpr double kPi = 3.1415926535897932385;
constexpr double kDegToRad = kPi / 180.0;
// Motion components and directions this close to a whole number are taken as that number, so
// that cos(90) * 5 is 0 and not a tiny remainder.
constexpr double kSnap = 0.0001;

double Snap(double v) {
  double n = std::nearbyint(v);
  return std::fabs(v - n) < kSnap ? n : v;
}

double WrapDegrees(double d) {
  return d - std::floor(d / 360.0) * 360.0;
}

// The quarter turn (0-3) of a whole multiple of 90 degrees, or -1.
int QuarterTurn(double d) {
  if (std::fmod(d, 90.0) != 0) return -1;
  double k = std::fmod(d, 360.0);  // exact, so any size of angle works
  if (k < 0) k += 360.0;
  return static_cast<int>(k / 90.0) & 3;
}

// Sine and cosine of degrees, exact at quarter turns: gravity pointing down must not give a
// sideways remainder that moves instances off whole pixels.
double CosDeg(double d) {
  if (int q = QuarterTurn(d); q >= 0) {
    switch (q) {
      case 0:
        return 1;
      case 2:
        return -1;
      default:
        return 0;
    }
  }
  return std::cos(d * kDegToRad);
}

double SinDeg(double d) {
  if (int q = QuarterTurn(d); q >= 0) {
    switch (q) {
      case 1:
        return 1;
      case 3:
        return -1;
      default:
        return 0;
    }
  }
  return std::sin(d * kDegToRad);
}

}  // namespace

int32_t Nearest(double v) {
  return RoundToInt32(v);
}

void CInstance::Create(CResources& resources, int32_t new_id, int32_t object, double px,
                       double py) {
  res = &resources;
  static_cast<CInstanceState&>(*this) = CInstanceState();
  marked = false;
  variables.Clear();
  SetObject(object);
  x = px;
  y = py;
  id = new_id;
  xstart = xprevious = px;
  ystart = yprevious = py;
  ComputeBoundingBox();
}

CObject* CInstance::Object() const {
  return res->objects.Get(object_index);
}

const CSprite* CInstance::Sprite() const {
  return res->sprites.Get(sprite_index);
}

int32_t CInstance::ImageCount() const {
  const CSprite* s = Sprite();
  return s ? s->FrameCount() : 0;
}

bool CInstance::HasShape() const {
  return res->sprites.Exists(sprite_index) || res->sprites.Exists(mask_index);
}

void CInstance::SetObject(int32_t object) {
  object_index = object;
  const CObject* o = Object();
  if (!o) return;
  SetSprite(o->sprite_index);
  mask_index = o->mask_index;
  depth = o->depth;
  solid = o->solid;
  visible = o->visible;
  persistent = o->persistent;
  ComputeBoundingBox();
}

void CInstance::SetSprite(int32_t sprite) {
  sprite_index = sprite;
  if (std::floor(image_index) >= ImageCount()) image_index = 0;
  ComputeBoundingBox();
}

void CInstance::SetMask(int32_t sprite) {
  mask_index = sprite;
  ComputeBoundingBox();
}

void CInstance::SetPosition(double px, double py) {
  if (px == x && py == y) return;
  x = px;
  y = py;
  ComputeBoundingBox();
}

void CInstance::SetImageXScale(double v) {
  if (v == image_xscale) return;
  image_xscale = v;
  ComputeBoundingBox();
}

void CInstance::SetImageYScale(double v) {
  if (v == image_yscale) return;
  image_yscale = v;
  ComputeBoundingBox();
}

void CInstance::SetImageAngle(double v) {
  if (v == image_angle) return;
  image_angle = v;
  ComputeBoundingBox();
}

void CInstance::SetDirection(double d) {
  if (d == direction) return;
  direction = WrapDegrees(d);
  UpdateComponents();
}

void CInstance::SetSpeed(double s) {
  if (s == speed) return;
  speed = s;
  UpdateComponents();
}

void CInstance::SetHSpeed(double v) {
  if (v == hspeed) return;
  hspeed = v;
  UpdateMotion();
}

void CInstance::SetVSpeed(double v) {
  if (v == vspeed) return;
  vspeed = v;
  UpdateMotion();
}

void CInstance::AddMotion(double dir, double amount) {
  hspeed += CosDeg(dir) * amount;
  vspeed -= SinDeg(dir) * amount;
  UpdateMotion();
}

void CInstance::UpdateComponents() {
  hspeed = Snap(CosDeg(direction) * speed);
  vspeed = Snap(-SinDeg(direction) * speed);
}

void CInstance::UpdateMotion() {
  if (hspeed != 0) {
    double a = std::atan2(vspeed, hspeed) * 180.0 / kPi;
    direction = a > 0 ? 360 - a : -a;
  } else {
    direction = vspeed > 0 ? 270 : vspeed == 0 ? 0 : 90;
  }
  direction = WrapDegrees(Snap(direction));
  speed = Snap(std::sqrt(hspeed * hspeed + vspeed * vspeed));
}

void CInstance::SetPathPosition(double p) {
  path_position = p >= 0 ? std::min(p, 1.0) : 0.0;
}

void CInstance::SetPathPositionPrevious(double p) {
  path_positionprevious = p >= 0 ? std::min(p, 1.0) : 0.0;
}

void CInstance::StartPath(int32_t path, double speed_along, int32_t endaction, bool absolute) {
  path_index = path;
  if (path < 0) return;
  const CPath* p = res->paths.Get(path);
  if (!p || !(p->length > 0)) {
    path_index = -1;
    return;
  }
  path_speed = speed_along;
  path_position = path_positionprevious = speed_along < 0 ? 1 : 0;
  path_scale = 1;
  path_orientation = 0;
  path_endaction = endaction;
  const CCurvePoint at = p->PointAt(path_position);
  if (absolute) SetPosition(at.x, at.y);
  // The origin is where the path's first point lies: so a relative path puts its start point (or
  // its end point, when run backwards) on the instance, and an absolute one runs at its own
  // coordinates in both directions.
  const CCurvePoint start = p->PointAt(0);
  path_origin_x = x - (at.x - start.x);
  path_origin_y = y - (at.y - start.y);
}

bool CInstance::StepPath() {
  if (path_index < 0) return false;
  const CPath* p = res->paths.Get(path_index);
  if (!p || !(p->length > 0) || path_speed == 0) return false;
  const double c = CosDeg(path_orientation), s = SinDeg(path_orientation);
  const double v = p->PointAt(path_position).speed;
  path_position += path_speed * (v / (100 * path_scale)) / p->length;
  bool ended = false;
  const CCurvePoint start = p->PointAt(0);
  if (path_position >= 1 || path_position <= 0) {
    ended = true;
    switch (path_endaction) {
      case 1:
        path_position += path_position >= 0 ? -1 : 1;
        break;
      case 2: {
        const CCurvePoint end = p->PointAt(1);
        const double dx = end.x - start.x, dy = end.y - start.y;
        const double m = (c * dx + s * dy) * path_scale;
        const double w = (c * dy - s * dx) * path_scale;
        if (path_position >= 0) {
          path_origin_x += m;
          path_origin_y += w;
          path_position -= 1;
        } else {
          path_origin_x -= m;
          path_origin_y -= w;
          path_position += 1;
        }
        break;
      }
      case 3:
        if (path_position >= 0) {
          path_position = 2 - path_position;
          path_speed = -std::fabs(path_speed);
        } else {
          path_position = -path_position;
          path_speed = std::fabs(path_speed);
        }
        break;
      default:
        path_position = 1;
        path_index = -1;
        break;
    }
  }
  const CCurvePoint at = p->PointAt(path_position);
  const double dx = at.x - start.x, dy = at.y - start.y;
  const double tx = (c * dx + s * dy) * path_scale + path_origin_x;
  const double ty = (c * dy - s * dx) * path_scale + path_origin_y;
  SetHSpeed(tx - x);
  SetVSpeed(ty - y);
  SetSpeed(0);
  SetPosition(tx, ty);
  return ended;
}

void CInstance::ApplyFrictionAndGravity() {
  if (friction != 0) {
    const double s = speed;
    const double n = s > 0 ? s - friction : s + friction;
    if ((s > 0 && n < 0) || (s < 0 && n > 0))
      SetSpeed(0);
    else if (s != 0)
      SetSpeed(n);
  }
  if (gravity != 0) AddMotion(gravity_direction, gravity);
}

void CInstance::ComputeBoundingBox() {
  const int32_t old_left = bbox_left, old_top = bbox_top, old_right = bbox_right,
                old_bottom = bbox_bottom;
  ComputeBox();
  if (box_watch && (bbox_left != old_left || bbox_top != old_top || bbox_right != old_right ||
                    bbox_bottom != old_bottom))
    box_watch->BoxChanged(*this);
}

void CInstance::ComputeBox() {
  const CSprite* m = res->sprites.Get(mask_index >= 0 ? mask_index : sprite_index);
  if (!m) {
    bbox_left = bbox_top = bbox_right = bbox_bottom = kNoBoundingBox;
    precise = false;
    return;
  }
  const double bl = std::min(m->bbox_left, m->bbox_right);
  const double br = std::max(m->bbox_left, m->bbox_right);
  const double bt = std::min(m->bbox_top, m->bbox_bottom);
  const double bb = std::max(m->bbox_top, m->bbox_bottom);
  const double xo = m->xoffset, yo = m->yoffset;
  const double sx = image_xscale, sy = image_yscale;
  if (image_angle == 0) {
    bbox_left = Nearest((bl - xo) * sx + x);
    bbox_right = Nearest(x + sx * (br - xo + 1) - 1);
    if (bbox_right < bbox_left) std::swap(bbox_left, bbox_right);
    bbox_top = Nearest(y + sy * (bt - yo));
    bbox_bottom = Nearest(y + sy * (bb - yo + 1) - 1);
    if (bbox_bottom < bbox_top) std::swap(bbox_top, bbox_bottom);
  } else {
    const double l = (bl - xo) * sx, r = (br - xo + 1) * sx - 1;
    const double t = (bt - yo) * sy, b = (bb - yo + 1) * sy - 1;
    const double c = CosDeg(image_angle), s = SinDeg(image_angle);
    bbox_left = Nearest(x + std::min(c * l, c * r) + std::min(s * t, s * b));
    bbox_right = Nearest(x + std::max(c * l, c * r) + std::max(s * t, s * b));
    bbox_top = Nearest(y + std::min(c * t, c * b) - std::max(s * l, s * r));
    bbox_bottom = Nearest(y + std::max(c * t, c * b) - std::min(s * l, s * r));
  }
  precise = m->precise;
}

void CInstance::CopyState(const CInstance& source) {
  if (&source == this) return;
  res = source.res;
  id = source.id;
  object_index = source.object_index;
  marked = source.marked;
  static_cast<CInstanceState&>(*this) = source;
  variables.Assign(source.variables);
  if (box_watch) box_watch->BoxChanged(*this);
}

void CInstance::WriteToStream(CStream& s) const {
  s.WriteInt(id);
  s.WriteInt(sprite_index);
  for (double v : {image_index, image_speed, image_xscale, image_yscale, image_angle, image_alpha})
    s.WriteReal(v);
  s.WriteInt(image_blend);
  s.WriteInt(mask_index);
  s.WriteReal(depth);
  s.WriteBool(precise);
  for (double v : {x, y, xstart, ystart, xprevious, yprevious, direction, speed, friction,
                   gravity_direction, gravity, hspeed, vspeed})
    s.WriteReal(v);
  for (int32_t v : {bbox_left, bbox_right, bbox_top, bbox_bottom})
    s.WriteInt(v);
  s.WriteBool(visible);
  s.WriteBool(solid);
  s.WriteBool(persistent);
  s.WriteInt(object_index);
  for (int32_t a : alarm)
    s.WriteInt(a);
  s.WriteBool(marked);
  s.WriteBool(deactivated);
  s.WriteInt(path_index);
  for (double v :
       {path_position, path_positionprevious, path_speed, path_scale, path_orientation})
    s.WriteReal(v);
  s.WriteInt(path_endaction);
  s.WriteReal(path_origin_x);
  s.WriteReal(path_origin_y);
  s.WriteInt(timeline_index);
  s.WriteReal(timeline_position);
  s.WriteReal(timeline_speed);
  s.WriteString(creation_code);
  variables.WriteToStream(s);
}

void CInstance::ReadFromStream(CStream& s) {
  id = s.ReadInt();
  sprite_index = s.ReadInt();
  for (double* v : {&image_index, &image_speed, &image_xscale, &image_yscale, &image_angle,
                    &image_alpha})
    *v = s.ReadReal();
  image_blend = s.ReadInt();
  mask_index = s.ReadInt();
  depth = s.ReadReal();
  precise = s.ReadBool();
  for (double* v : {&x, &y, &xstart, &ystart, &xprevious, &yprevious, &direction, &speed,
                    &friction, &gravity_direction, &gravity, &hspeed, &vspeed})
    *v = s.ReadReal();
  for (int32_t* v : {&bbox_left, &bbox_right, &bbox_top, &bbox_bottom})
    *v = s.ReadInt();
  visible = s.ReadBool();
  solid = s.ReadBool();
  persistent = s.ReadBool();
  object_index = s.ReadInt();
  for (int32_t& a : alarm)
    a = s.ReadInt();
  marked = s.ReadBool();
  deactivated = s.ReadBool();
  path_index = s.ReadInt();
  for (double* v :
       {&path_position, &path_positionprevious, &path_speed, &path_scale, &path_orientation})
    *v = s.ReadReal();
  path_endaction = s.ReadInt();
  path_origin_x = s.ReadReal();
  path_origin_y = s.ReadReal();
  timeline_index = s.ReadInt();
  timeline_position = s.ReadReal();
  timeline_speed = s.ReadReal();
  creation_code = s.ReadString();
  variables.ReadFromStream(s);
  if (box_watch) box_watch->BoxChanged(*this);
}

}  // namespace zorvex
