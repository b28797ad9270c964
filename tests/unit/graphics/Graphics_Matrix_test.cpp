#include "graphics/Graphics_Matrix.h"

#include <gtest/gtest.h>

#include <cmath>

namespace zorvex {
namespace {

void ExpectPoint(const CMatrix& m, float x, float y, float z, float ex, float ey, float ez,
                 float ew) {
  float out[4];
  MatrixTransform(m, x, y, z, out);
  EXPECT_NEAR(out[0], ex, 1e-4f);
  EXPECT_NEAR(out[1], ey, 1e-4f);
  EXPECT_NEAR(out[2], ez, 1e-4f);
  EXPECT_NEAR(out[3], ew, 1e-4f);
}

TEST(GraphicsMatrix, CameraOfTheUnrotatedRoomMapsCornersToClipCorners) {
  // The 2D camera of a 64 x 64 room: eye (32, 32, -16000) looking at (32, 32, 0), up +y.
  const float eye[3] = {32, 32, -16000}, at[3] = {32, 32, 0}, up[3] = {0, 1, 0};
  CMatrix view = MatrixLookAtLH(eye, at, up);
  EXPECT_FLOAT_EQ(view.m[0][0], 1);
  EXPECT_FLOAT_EQ(view.m[1][1], 1);
  EXPECT_FLOAT_EQ(view.m[2][2], 1);
  EXPECT_FLOAT_EQ(view.m[3][0], -32);
  EXPECT_FLOAT_EQ(view.m[3][1], -32);
  EXPECT_FLOAT_EQ(view.m[3][2], 16000);
  CMatrix proj = MatrixOrthoLH(64, -64, 1, 32000);
  EXPECT_FLOAT_EQ(proj.m[0][0], 2.0f / 64);
  EXPECT_FLOAT_EQ(proj.m[1][1], -2.0f / 64);
  EXPECT_FLOAT_EQ(proj.m[2][2], 1.0f / 31999);
  EXPECT_FLOAT_EQ(proj.m[3][2], -1.0f / 31999);
  CMatrix both = MatrixMultiply(view, proj);
  // The room's top-left corner is the clip space's top-left (+y is up there), depth mid-way.
  ExpectPoint(both, 0, 0, 0, -1, 1, 15999.0f / 31999, 1);
  ExpectPoint(both, 64, 64, 0, 1, -1, 15999.0f / 31999, 1);
}

TEST(GraphicsMatrix, RotatedUpVectorTurnsTheRoom) {
  // Angle 90: phi = -pi/2, up = (-1, 0, 0). A point right of the centre ends up above it.
  const float eye[3] = {0, 0, -10}, at[3] = {0, 0, 0}, up[3] = {-1, 0, 0};
  CMatrix view = MatrixLookAtLH(eye, at, up);
  ExpectPoint(view, 10, 0, 0, 0, -10, 10, 1);
  ExpectPoint(MatrixMultiply(view, MatrixOrthoLH(100, -100, 1, 32000)), 10, 0, 0, 0, 0.2f,
              9.0f / 31999, 1);
}

TEST(GraphicsMatrix, PerspectiveAndFieldOfView) {
  CMatrix p = MatrixPerspectiveLH(1, 0.5f, 1, 32000);
  EXPECT_FLOAT_EQ(p.m[0][0], 2);
  EXPECT_FLOAT_EQ(p.m[1][1], 4);
  EXPECT_FLOAT_EQ(p.m[2][2], 32000.0f / 31999);
  EXPECT_FLOAT_EQ(p.m[2][3], 1);
  EXPECT_FLOAT_EQ(p.m[3][2], -32000.0f / 31999);
  EXPECT_FLOAT_EQ(p.m[3][3], 0);
  // 90 degrees vertically, aspect 2: y scale 1/tan(45) = 1, x scale 0.5.
  CMatrix f = MatrixPerspectiveFovLH(static_cast<float>(M_PI / 2), 2, 1, 100);
  EXPECT_NEAR(f.m[1][1], 1, 1e-6);
  EXPECT_NEAR(f.m[0][0], 0.5, 1e-6);
  // A point on the near plane has depth 0, on the far plane depth 1.
  float out[4];
  MatrixTransform(f, 0, 0, 1, out);
  EXPECT_NEAR(out[2] / out[3], 0, 1e-6);
  MatrixTransform(f, 0, 0, 100, out);
  EXPECT_NEAR(out[2] / out[3], 1, 1e-6);
}

TEST(GraphicsMatrix, RotationsAndMultiplicationOrder) {
  ExpectPoint(MatrixRotationZ(static_cast<float>(M_PI / 2)), 1, 0, 0, 0, 1, 0, 1);
  ExpectPoint(MatrixRotationX(static_cast<float>(M_PI / 2)), 0, 1, 0, 0, 0, 1, 1);
  ExpectPoint(MatrixRotationY(static_cast<float>(M_PI / 2)), 0, 0, 1, 1, 0, 0, 1);
  // About the z axis given as an axis: the same as RotationZ.
  CMatrix a = MatrixRotationAxis(0, 0, 5, 0.3f), z = MatrixRotationZ(0.3f);
  for (int i = 0; i < 4; ++i) {
    for (int j = 0; j < 4; ++j)
      EXPECT_NEAR(a.m[i][j], z.m[i][j], 1e-6) << i << "," << j;
  }
  // a x b applies a first: translate then scale, or scale then translate.
  CMatrix t = MatrixTranslation(1, 0, 0), s = MatrixScaling(2, 2, 2);
  ExpectPoint(MatrixMultiply(t, s), 0, 0, 0, 2, 0, 0, 1);
  ExpectPoint(MatrixMultiply(s, t), 0, 0, 0, 1, 0, 0, 1);
  EXPECT_TRUE(MatrixMultiply(MatrixIdentity(), t) == t);
}

}  // namespace
}  // namespace zorvex
