#include "graphics/Graphics_Matrix.h"

#include <cmath>
#include <cstring>

namespace zorvex {

bool CMatrix::operator==(const CMatrix& o) const {
  return std::memcmp(m, o.m, sizeof m) == 0;
}

CMatrix MatrixIdentity() {
  CMatrix r{};
  r.m[0][0] = r.m[1][1] = r.m[2][2] = r.m[3][3] = 1.0f;
  return r;
}

CMatrix MatrixScaling(float sx, float sy, float sz) {
  CMatrix r{};
  r.m[0][0] = sx;
  r.m[1][1] = sy;
  r.m[2][2] = sz;
  r.m[3][3] = 1.0f;
  return r;
}

CMatrix MatrixTranslation(float x, float y, float z) {
  CMatrix r = MatrixIdentity();
  r.m[3][0] = x;
  r.m[3][1] = y;
  r.m[3][2] = z;
  return r;
}

CMatrix MatrixRotationX(float angle) {
  CMatrix r = MatrixIdentity();
  float c = std::cos(angle), s = std::sin(angle);
  r.m[1][1] = c;
  r.m[1][2] = s;
  r.m[2][1] = -s;
  r.m[2][2] = c;
  return r;
}

CMatrix MatrixRotationY(float angle) {
  CMatrix r = MatrixIdentity();
  float c = std::cos(angle), s = std::sin(angle);
  r.m[0][0] = c;
  r.m[0][2] = -s;
  r.m[2][0] = s;
  r.m[2][2] = c;
  return r;
}

CMatrix MatrixRotationZ(float angle) {
  CMatrix r = MatrixIdentity();
  float c = std::cos(angle), s = std::sin(angle);
  r.m[0][0] = c;
  r.m[0][1] = s;
  r.m[1][0] = -s;
  r.m[1][1] = c;
  return r;
}

CMatrix MatrixRotationAxis(float ax, float ay, float az, float angle) {
  float len = std::sqrt(ax * ax + ay * ay + az * az);
  if (len > 0.0f) {
    ax /= len;
    ay /= len;
    az /= len;
  }
  float c = std::cos(angle), s = std::sin(angle), t = 1.0f - c;
  CMatrix r = MatrixIdentity();
  r.m[0][0] = t * ax * ax + c;
  r.m[0][1] = t * ax * ay + s * az;
  r.m[0][2] = t * ax * az - s * ay;
  r.m[1][0] = t * ax * ay - s * az;
  r.m[1][1] = t * ay * ay + c;
  r.m[1][2] = t * ay * az + s * ax;
  r.m[2][0] = t * ax * az + s * ay;
  r.m[2][1] = t * ay * az - s * ax;
  r.m[2][2] = t * az * az + c;
  return r;
}

CMatrix MatrixMultiply(const CMatrix& a, const CMatrix& b) {
  CMatrix r{};
  for (int i = 0; i < 4; ++i) {
    for (int j = 0; j < 4; ++j) {
      r.m[i][j] = a.m[i][0] * b.m[0][j] + a.m[i][1] * b.m[1][j] + a.m[i][2] * b.m[2][j] +
                  a.m[i][3] * b.m[3][j];
    }
  }
  return r;
}

namespace {
void Normalize(float v[3]) {
  float len = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
  if (len > 0.0f) {
    v[0] /= len;
    v[1] /= len;
    v[2] /= len;
  }
}
void Cross(const float a[3], const float b[3], float out[3]) {
  out[0] = a[1] * b[2] - a[2] * b[1];
  out[1] = a[2] * b[0] - a[0] * b[2];
  out[2] = a[0] * b[1] - a[1] * b[0];
}
float Dot(const float a[3], const float b[3]) {
  return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}
}  // namespace

CMatrix MatrixLookAtLH(const float eye[3], const float at[3], const float up[3]) {
  float z[3] = {at[0] - eye[0], at[1] - eye[1], at[2] - eye[2]};
  Normalize(z);
  float x[3];
  Cross(up, z, x);
  Normalize(x);
  float y[3];
  Cross(z, x, y);
  CMatrix r{};
  for (int i = 0; i < 3; ++i) {
    r.m[i][0] = x[i];
    r.m[i][1] = y[i];
    r.m[i][2] = z[i];
  }
  r.m[3][0] = -Dot(x, eye);
  r.m[3][1] = -Dot(y, eye);
  r.m[3][2] = -Dot(z, eye);
  r.m[3][3] = 1.0f;
  return r;
}

CMatrix MatrixPerspectiveLH(float w, float h, float zn, float zf) {
  CMatrix r{};
  r.m[0][0] = 2.0f * zn / w;
  r.m[1][1] = 2.0f * zn / h;
  r.m[2][2] = zf / (zf - zn);
  r.m[2][3] = 1.0f;
  r.m[3][2] = -zn * zf / (zf - zn);
  return r;
}

CMatrix MatrixPerspectiveFovLH(float fovy, float aspect, float zn, float zf) {
  float ys = 1.0f / std::tan(fovy / 2.0f);
  float xs = ys / aspect;
  CMatrix r{};
  r.m[0][0] = xs;
  r.m[1][1] = ys;
  r.m[2][2] = zf / (zf - zn);
  r.m[2][3] = 1.0f;
  r.m[3][2] = -zn * zf / (zf - zn);
  return r;
}

CMatrix MatrixOrthoLH(float w, float h, float zn, float zf) {
  CMatrix r{};
  r.m[0][0] = 2.0f / w;
  r.m[1][1] = 2.0f / h;
  r.m[2][2] = 1.0f / (zf - zn);
  r.m[3][2] = -zn / (zf - zn);
  r.m[3][3] = 1.0f;
  return r;
}

void MatrixTransform(const CMatrix& m, float x, float y, float z, float out[4]) {
  for (int j = 0; j < 4; ++j) {
    out[j] = x * m.m[0][j] + y * m.m[1][j] + z * m.m[2][j] + m.m[3][j];
  }
}

}  // namespace zorvex
