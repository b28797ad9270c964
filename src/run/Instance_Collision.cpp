// The collision tests of one instance: against a point, a rectangle, an ellipse, a segment and
// another instance. Every test compares the integer bounding box first (inclusive on all four
// sides, so a real coordinate is inside while it is below the right or bottom edge + 1) and
// looks at mask pixels only when precise checking is asked for and the instance is precise.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "resources/Resource_Tables.h"
#include "resources/Sprite_Class.h"
#include "run/Instance_Class.h"

namespace zorvex {

namespace {

CRect BoxOf(const CInstance& i) {
  return CRect{i.bbox_left, i.bbox_top, i.bbox_right, i.bbox_bottom};
}

// The box stage of the shape tests: whether the rectangle spanned by the two points reaches into
// the box. Written as the overlap (not as its rejection) so that a coordinate that is not a
// number overlaps nothing.
bool BoxMeetsRect(const CInstance& i, double x1, double y1, double x2, double y2) {
  return std::min(x1, x2) < i.bbox_right + 1.0 && std::max(x1, x2) >= i.bbox_left &&
         std::min(y1, y2) < i.bbox_bottom + 1.0 && std::max(y1, y2) >= i.bbox_top;
}

// The rectangle with its corners rounded to whole room pixels.
CRect RoundedRect(double x1, double y1, double x2, double y2) {
  return CRect{Nearest(std::min(x1, x2)), Nearest(std::min(y1, y2)), Nearest(std::max(x1, x2)),
               Nearest(std::max(y1, y2))};
}

}  // namespace

const CSprite* CInstance::MaskSprite() const {
  return res->sprites.Get(mask_index >= 0 ? mask_index : sprite_index);
}

CMaskPose CInstance::MaskPose() const {
  CMaskPose pose;
  // The image is floor(image_index) modulo the image count, taken in doubles so that any value
  // (huge, negative, not a number) gives a valid frame.
  if (const CSprite* m = MaskSprite(); m && m->FrameCount() > 0) {
    const int32_t n = m->FrameCount();
    double k = std::fmod(std::floor(image_index), static_cast<double>(n));
    if (k < 0) k += n;
    pose.frame = std::isfinite(k) ? static_cast<int32_t>(k) : 0;
  }
  pose.x = Nearest(x);
  pose.y = Nearest(y);
  pose.xscale = image_xscale;
  pose.yscale = image_yscale;
  pose.angle = image_angle;
  return pose;
}

// An instance without a mask sprite has the placeholder box far outside every room; it takes
// part in no collision, so two such instances never meet there.

bool CInstance::PointInside(bool precise_check, double px, double py) const {
  if (marked) return false;
  if (!(bbox_left <= px && px < bbox_right + 1.0 && bbox_top <= py && py < bbox_bottom + 1.0))
    return false;
  const CSprite* m = MaskSprite();
  if (!m) return false;
  if (!precise_check || !precise) return true;
  return m->MaskHitsPoint(MaskPose(), Nearest(px), Nearest(py));
}

bool CInstance::RectangleOverlaps(bool precise_check, double x1, double y1, double x2,
                                  double y2) const {
  if (marked || !BoxMeetsRect(*this, x1, y1, x2, y2)) return false;
  const CSprite* m = MaskSprite();
  if (!m) return false;
  if (!precise_check || !precise) return true;
  return m->MaskHitsRect(MaskPose(), BoxOf(*this), RoundedRect(x1, y1, x2, y2));
}

bool CInstance::EllipseOverlaps(bool precise_check, double x1, double y1, double x2,
                                double y2) const {
  if (marked || !BoxMeetsRect(*this, x1, y1, x2, y2)) return false;
  if (Nearest(x1) == Nearest(x2) || Nearest(y1) == Nearest(y2))
    return RectangleOverlaps(precise_check, x1, y1, x2, y2);
  const CSprite* m = MaskSprite();
  if (!m) return false;
  const CRect r = RoundedRect(x1, y1, x2, y2);
  const double cx = (static_cast<double>(r.left) + r.right) / 2.0;
  const double cy = (static_cast<double>(r.top) + r.bottom) / 2.0;
  const double rx = (static_cast<double>(r.right) - r.left) / 2.0;
  const double ry = (static_cast<double>(r.bottom) - r.top) / 2.0;
  auto in_ellipse = [&](double u, double v) {
    const double eu = (u - cx) / rx, ev = (v - cy) / ry;
    return eu * eu + ev * ev <= 1.0;
  };
  const double mx = (x1 + x2) / 2.0, my = (y1 + y2) / 2.0;
  const double l = bbox_left, t = bbox_top, rt = bbox_right, b = bbox_bottom;
  // Only when the centre lies beside the box in both directions can the box overlap the
  // rectangle without overlapping the ellipse: then one of its corners must be inside.
  if ((mx < l || mx > rt) && (my < t || my > b) && !in_ellipse(l, t) && !in_ellipse(rt, t) &&
      !in_ellipse(l, b) && !in_ellipse(rt, b))
    return false;
  if (!precise_check || !precise) return true;
  return m->MaskHitsEllipse(MaskPose(), BoxOf(*this), r);
}

bool CInstance::LineOverlaps(bool precise_check, double x1, double y1, double x2, double y2) const {
  if (marked || !BoxMeetsRect(*this, x1, y1, x2, y2)) return false;
  const CSprite* m = MaskSprite();
  if (!m) return false;
  // (ax, ay) is the end with the larger x.
  double ax = x1, ay = y1, bx = x2, by = y2;
  if (ax < bx) {
    std::swap(ax, bx);
    std::swap(ay, by);
  }
  const double left = bbox_left, right = bbox_right + 1.0;
  if (bx < left) {
    by += (ay - by) * (left - bx) / (ax - bx);
    bx = left;
  }
  if (ax > right) {
    ay += (by - ay) * (right - ax) / (bx - ax);
    ax = right;
  }
  if ((ay < bbox_top && by < bbox_top) || (ay >= bbox_bottom + 1.0 && by >= bbox_bottom + 1.0))
    return false;
  if (!precise_check || !precise) return true;
  return m->MaskHitsLine(MaskPose(), BoxOf(*this), Nearest(bx), Nearest(by), Nearest(ax),
                         Nearest(ay));
}

bool CInstance::CollidesWith(const CInstance& other, bool precise_check) const {
  // In 64 bits: a box edge at the end of the int32 range must not wrap when 1 is added.
  const int64_t l = bbox_left, t = bbox_top, r = bbox_right, b = bbox_bottom;
  const int64_t ol = other.bbox_left, ot = other.bbox_top, orr = other.bbox_right,
                ob = other.bbox_bottom;
  if (l >= orr + 1 || ol >= r + 1 || t >= ob + 1 || ot >= b + 1) return false;
  if (&other == this || marked || other.marked) return false;
  const CSprite* ma = MaskSprite();
  const CSprite* mb = other.MaskSprite();
  if (!ma || !mb) return false;
  if (!precise_check || (!precise && !other.precise)) return true;
  return CSprite::MasksOverlap(*ma, MaskPose(), BoxOf(*this), *mb, other.MaskPose(), BoxOf(other));
}

void CInstance::MoveBack() {
  SetPosition(xprevious, yprevious);
  SetPathPosition(path_positionprevious);
}

}  // namespace zorvex
