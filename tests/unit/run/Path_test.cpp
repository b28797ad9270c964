#include <gtest/gtest.h>

#include <cmath>

#include "run/Path_Main.h"

namespace zorvex {
namespace {

CPath Path(int32_t kind, bool closed, int32_t precision, std::vector<CPathPoint> pts) {
  CPath p;
  p.kind = kind;
  p.closed = closed;
  p.precision = precision;
  p.points = std::move(pts);
  p.Recompute();
  return p;
}

TEST(PathRecord, RoundTripRecomputesTheCurve) {
  CPath p = Path(1, false, 3, {{0, 0, 100}, {100, 0, 50}, {100, 100, 100}, {0, 100, 20}});
  CStream s;
  p.WriteTo(s);
  s.Seek(0);
  CPath back;
  ASSERT_TRUE(back.ReadFrom(s));
  EXPECT_TRUE(s.AtEnd());
  EXPECT_EQ(back, p);
}

TEST(PathRecord, RefusesVersionKindPrecisionAndLyingCounts) {
  auto record = [](int32_t version, int32_t kind, int32_t precision, int32_t count) {
    CStream s;
    s.WriteInt(version);
    s.WriteInt(kind);
    s.WriteBool(true);
    s.WriteInt(precision);
    s.WriteInt(count);
    for (int i = 0; i < count && i < 2; ++i)
      for (int k = 0; k < 3; ++k)
        s.WriteReal(1);
    s.Seek(0);
    return s;
  };
  CPath p;
  CStream ok = record(530, 1, 8, 2);
  EXPECT_TRUE(p.ReadFrom(ok));
  CStream version = record(531, 0, 4, 0);
  EXPECT_FALSE(p.ReadFrom(version));
  CStream kind = record(530, 2, 4, 0);
  EXPECT_FALSE(p.ReadFrom(kind));
  CStream deep = record(530, 1, 9, 0);
  EXPECT_FALSE(p.ReadFrom(deep));
  CStream lying = record(530, 0, 4, 1000);
  EXPECT_FALSE(p.ReadFrom(lying));
  CStream negative = record(530, 0, 4, -1);
  EXPECT_FALSE(p.ReadFrom(negative));
}

TEST(PathCurve, StraightClosedAndOpen) {
  CPath p = Path(0, true, 4, {{0, 0, 100}, {100, 0, 100}, {100, 100, 100}});
  ASSERT_EQ(p.curve.size(), 4u);
  EXPECT_EQ(p.curve[3].x, 0);
  EXPECT_DOUBLE_EQ(p.curve[2].length, 200);
  EXPECT_NEAR(p.length, 200 + 100 * std::sqrt(2.0), 1e-9);

  CPath one = Path(0, false, 4, {{5, 6, 70}});
  EXPECT_EQ(one.length, 0);
  ASSERT_EQ(one.curve.size(), 1u);
  EXPECT_EQ(one.curve[0].x, 5);
}

TEST(PathCurve, SmoothSubdivision) {
  // Closed with precision 0: the segments add nothing, so the curve stays empty.
  CPath none = Path(1, true, 0, {{0, 0, 100}, {100, 0, 100}, {100, 100, 100}});
  EXPECT_TRUE(none.curve.empty());
  EXPECT_EQ(none.length, 0);

  // Open with two points: a straight line from the first to the last.
  CPath line = Path(1, false, 4, {{0, 0, 100}, {40, 0, 0}});
  ASSERT_EQ(line.curve.size(), 2u);
  EXPECT_DOUBLE_EQ(line.length, 40);

  // Open, three points, precision 1: first point, one middle point (S + 2K + E) / 4 of
  // S = (50, 0), K = (100, 0), E = (100, 50), last point.
  CPath bend = Path(1, false, 1, {{0, 0, 100}, {100, 0, 100}, {100, 100, 0}});
  ASSERT_EQ(bend.curve.size(), 3u);
  EXPECT_DOUBLE_EQ(bend.curve[1].x, 87.5);
  EXPECT_DOUBLE_EQ(bend.curve[1].y, 12.5);
  EXPECT_DOUBLE_EQ(bend.curve[1].speed, 87.5);
  EXPECT_EQ(bend.curve[2].y, 100);

  // Precision 2 subdivides again on both sides (the control points are more than 4 away).
  CPath finer = Path(1, false, 2, {{0, 0, 100}, {100, 0, 100}, {100, 100, 0}});
  EXPECT_EQ(finer.curve.size(), 5u);
}

TEST(PathTable, Section) {
  CPathTable t;
  t.Append(std::make_unique<CPath>(Path(0, false, 4, {{1, 2, 3}})), "pth");
  t.Append(nullptr, "");
  CStream s;
  t.WriteSection(s);
  s.Seek(0);
  EXPECT_EQ(s.ReadInt(), 420);
  s.Seek(0);
  CPathTable back;
  ASSERT_TRUE(back.ReadSection(s));
  EXPECT_EQ(*back.Get(0), *t.Get(0));
  EXPECT_FALSE(back.Exists(1));
}

}  // namespace
}  // namespace zorvex
