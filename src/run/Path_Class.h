// A path: defining points with speeds, laid out as straight segments or a smoothed curve,
// possibly closed, and the derived curve that instances actually follow.
#pragma once

#include <cstdint>
#include <vector>

#include "runner/Support_Stream.h"

namespace zorvex {

struct CPathPoint {
  double x = 0;
  double y = 0;
  double speed = 100;  // percent of the instance's path speed
  bool operator==(const CPathPoint&) const = default;
};

struct CCurvePoint {
  double x = 0;
  double y = 0;
  double speed = 0;
  double length = 0;  // distance along the curve from its first point
  bool operator==(const CCurvePoint&) const = default;
};

class CPath {
 public:
  static constexpr int32_t kRecordVersion = 530;
  static constexpr int32_t kMaxPrecision = 8;

  std::vector<CPathPoint> points;
  int32_t kind = 0;  // 0 straight, 1 smooth
  bool closed = true;
  int32_t precision = 4;
  // Derived by Recompute after every change of points, kind, closed or precision.
  std::vector<CCurvePoint> curve;
  double length = 0;

  void Clear() { *this = CPath(); }
  // False on a wrong version, a kind other than 0 or 1, a precision outside 0-8 or a point
  // count the stream cannot hold.
  bool ReadFrom(CStream& s);
  void WriteTo(CStream& s) const;
  void Recompute();
  // The point, with its speed in percent, at relative position p (clamped to 0..1) along the
  // curve; (0, 0, 100) without a curve.
  CCurvePoint PointAt(double p) const;

  bool operator==(const CPath&) const = default;
};

}  // namespace zorvex
