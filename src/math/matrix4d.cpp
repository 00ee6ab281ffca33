#include "math/matrix4d.h"

#include <cmath>
#include <utility>

Matrix4d& Matrix4d::setIdentity() {
  for (int k = 0; k < 16; ++k) m[k] = (k % 5 == 0) ? 1.0 : 0.0;
  return *this;
}

Matrix4d& Matrix4d::set(double m0, double m1, double m2, double m3, double m4, double m5, double m6, double m7,
                        double m8, double m9, double m10, double m11, double m12, double m13, double m14, double m15) {
  const double v[16] = {m0, m1, m2, m3, m4, m5, m6, m7, m8, m9, m10, m11, m12, m13, m14, m15};
  for (int k = 0; k < 16; ++k) m[k] = v[k];
  return *this;
}

Matrix4d& Matrix4d::setRotationXYZ(double ax, double ay, double az) {
  const double cx = std::cos(ax), sx = std::sin(ax);
  const double cy = std::cos(ay), sy = std::sin(ay);
  const double cz = std::cos(az), sz = std::sin(az);
  m[0] = cz * cy;
  m[1] = -sz * cy;
  m[2] = sy;
  m[4] = cz * sy * sx + sz * cx;
  m[5] = cz * cx - sz * sy * sx;
  m[6] = -cy * sx;
  m[8] = sz * sx - cz * sy * cx;
  m[9] = sz * sy * cx + cz * sx;
  m[10] = cy * cx;
  return *this;
}

Matrix4d& Matrix4d::transpose() {
  for (int r = 0; r < 4; ++r)
    for (int c = r + 1; c < 4; ++c) std::swap(m[r * 4 + c], m[c * 4 + r]);
  return *this;
}

void scaled(const Matrix4d& m, double s, Matrix4d& out) {
  for (int k = 0; k < 16; ++k) out.m[k] = m.m[k] * s;
}

void invertRotation(const Matrix4d& in, Matrix4d& out) {
  // Copy first so that out may be the input.
  const Matrix4d a = in;
  const double* m = a.m;
  const double det =
      m[0] * (m[5] * m[10] - m[9] * m[6]) - m[1] * (m[4] * m[10] - m[8] * m[6]) + m[2] * (m[9] * m[4] - m[8] * m[5]);
  if (std::fabs(det) < 1e-8) {
    out.setIdentity();
    return;
  }
  out.m[0] = m[5] * m[10] - m[9] * m[6];
  out.m[1] = m[9] * m[2] - m[1] * m[10];
  out.m[2] = m[1] * m[6] - m[2] * m[5];
  out.m[4] = m[8] * m[6] - m[4] * m[10];
  out.m[5] = m[0] * m[10] - m[8] * m[2];
  out.m[6] = m[4] * m[2] - m[0] * m[6];
  out.m[8] = m[9] * m[4] - m[8] * m[5];
  out.m[9] = m[8] * m[1] - m[9] * m[0];
  out.m[10] = m[5] * m[0] - m[4] * m[1];
  scaled(out, 1.0 / det, out);
}

FlagVec3 rotateVector(const Matrix4d& mat, const FlagVec3& v) {
  const double* m = mat.m;
  const double x = v.x, y = v.y, z = v.z;
  return FlagVec3{1, float(m[0] * x + m[1] * y + m[2] * z), float(m[4] * x + m[5] * y + m[6] * z),
                  float(m[8] * x + m[9] * y + m[10] * z)};
}

void transformPoint(const Matrix4d& mat, const FlagVec3& v, FlagVec3& out) {
  const double* m = mat.m;
  const double x = v.x, y = v.y, z = v.z;
  out = FlagVec3{1, float(m[0] * x + m[1] * y + m[2] * z + m[3]), float(m[4] * x + m[5] * y + m[6] * z + m[7]),
                 float(m[8] * x + m[9] * y + m[10] * z + m[11])};
}

FlagVec3 rotateEuler(FlagVec3& v, double ax, double ay, double az) {
  Matrix4d rotation;
  rotation.setRotationXYZ(ax, ay, az);
  v = rotateVector(rotation, v);
  return v;
}
