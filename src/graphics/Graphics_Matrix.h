// Left-handed 4 x 4 matrices in row-vector form (v' = v x M), built with the same formulas as
// the old helper library so that cameras and transforms match it number for number.
#pragma once

namespace zorvex {

struct CMatrix {
  float m[4][4];

  const float* Data() const { return &m[0][0]; }
  bool operator==(const CMatrix& o) const;
};

CMatrix MatrixIdentity();
CMatrix MatrixScaling(float sx, float sy, float sz);
CMatrix MatrixTranslation(float x, float y, float z);
// Rotations by `angle` radians; positive is clockwise looking along the axis toward the origin.
CMatrix MatrixRotationX(float angle);
CMatrix MatrixRotationY(float angle);
CMatrix MatrixRotationZ(float angle);
CMatrix MatrixRotationAxis(float ax, float ay, float az, float angle);
// a x b: a is applied first.
CMatrix MatrixMultiply(const CMatrix& a, const CMatrix& b);
CMatrix MatrixLookAtLH(const float eye[3], const float at[3], const float up[3]);
CMatrix MatrixPerspectiveLH(float w, float h, float zn, float zf);
CMatrix MatrixPerspectiveFovLH(float fovy, float aspect, float zn, float zf);
CMatrix MatrixOrthoLH(float w, float h, float zn, float zf);

// Transforms the point (x, y, z, 1); returns x, y, z, w.
void MatrixTransform(const CMatrix& m, float x, float y, float z, float out[4]);

}  // namespace zorvex
