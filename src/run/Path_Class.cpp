#include "run/Path_Class.h"

#include <algorithm>
#include <cmath>

#include "resources/Resource_Read.h"

namespace zorvex {

namespace {

struct P3 {
  double x, y, s;
};

P3 Mid(const P3& a, const P3& b) {
  return {(a.x + b.x) / 2, (a.y + b.y) / 2, (a.s + b.s) / 2};
}

double Dist(const P3& a, const P3& b) {
  return std::hypot(a.x - b.x, a.y - b.y);
}

void Subdivide(int32_t depth, const P3& s, const P3& k, const P3& e,
               std::vector<CCurvePoint>& out) {
  if (depth == 0) return;
  P3 m{(s.x + 2 * k.x + e.x) / 4, (s.y + 2 * k.y + e.y) / 4, (s.s + 2 * k.s + e.s) / 4};
  if (Dist(k, s) > 4) Subdivide(depth - 1, s, Mid(s, k), m, out);
  out.push_back(CCurvePoint{m.x, m.y, m.s, 0});
  if (Dist(k, e) > 4) Subdivide(depth - 1, m, Mid(k, e), e, out);
}

}  // namespace

bool CPath::ReadFrom(CStream& s) {
  Clear();
  if (s.ReadInt() != kRecordVersion) return false;
  kind = s.ReadInt();
  closed = s.ReadBool();
  precision = s.ReadInt();
  // The subdivision depth bounds the work and the curve's size.
  if (kind < 0 || kind > 1 || precision < 0 || precision > kMaxPrecision) return false;
  int32_t n;
  if (!ReadCount(s, 24, n)) return false;
  points.reserve(static_cast<size_t>(n));
  for (int32_t i = 0; i < n; ++i) {
    CPathPoint p;
    p.x = s.ReadReal();
    p.y = s.ReadReal();
    p.speed = s.ReadReal();
    points.push_back(p);
  }
  Recompute();
  return true;
}

void CPath::WriteTo(CStream& s) const {
  s.WriteInt(kRecordVersion);
  s.WriteInt(kind);
  s.WriteBool(closed);
  s.WriteInt(precision);
  s.WriteInt(static_cast<int32_t>(points.size()));
  for (const CPathPoint& p : points) {
    s.WriteReal(p.x);
    s.WriteReal(p.y);
    s.WriteReal(p.speed);
  }
}

void CPath::Recompute() {
  curve.clear();
  const size_t n = points.size();
  auto at = [&](size_t i) {
    const CPathPoint& p = points[i % n];
    return P3{p.x, p.y, p.speed};
  };
  if (kind != 1) {
    for (const CPathPoint& p : points)
      curve.push_back(CCurvePoint{p.x, p.y, p.speed, 0});
    if (closed && n > 0) curve.push_back(curve.front());
  } else if (n > 0) {
    if (!closed) curve.push_back(CCurvePoint{points[0].x, points[0].y, points[0].speed, 0});
    size_t segments = closed ? n : (n >= 2 ? n - 2 : 0);
    int32_t depth = std::max(0, std::min(precision, kMaxPrecision));
    for (size_t seg = 0; seg < segments; ++seg) {
      P3 a = at(seg), b = at(seg + 1), c = at(seg + 2);
      Subdivide(depth, Mid(a, b), b, Mid(b, c), curve);
    }
    if (closed) {
      if (!curve.empty()) curve.push_back(curve.front());
    } else {
      const CPathPoint& last = points[n - 1];
      curve.push_back(CCurvePoint{last.x, last.y, last.speed, 0});
    }
  }
  length = 0;
  for (size_t i = 1; i < curve.size(); ++i) {
    double d = std::hypot(curve[i].x - curve[i - 1].x, curve[i].y - curve[i - 1].y);
    curve[i].length = curve[i - 1].length + d;
  }
  if (curve.size() >= 2) length = curve.back().length;
}

CCurvePoint CPath::PointAt(double p) const {
  if (curve.empty()) return CCurvePoint{0, 0, 100, 0};
  if (curve.size() == 1 || length == 0) return curve.front();
  p = std::clamp(p, 0.0, 1.0);
  if (p == 0) return curve.front();
  if (p == 1) return curve.back();
  const double target = p * length;
  // The first segment whose end lies beyond the target (lengths never decrease), else the last.
  auto end = std::upper_bound(curve.begin() + 1, curve.end() - 1, target,
                              [](double t, const CCurvePoint& c) { return t < c.length; });
  const size_t i = static_cast<size_t>(end - curve.begin()) - 1;
  const CCurvePoint& a = curve[i];
  const CCurvePoint& b = curve[i + 1];
  const double seg = b.length - a.length;
  if (seg == 0) return a;
  const double t = (target - a.length) / seg;
  return CCurvePoint{a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t,
                     a.speed + (b.speed - a.speed) * t, target};
}

}  // namespace zorvex
