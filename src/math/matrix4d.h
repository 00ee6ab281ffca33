#pragma once
#include "math/flag_vec3.h"

// 4 x 4 doubles, row-major: element k is row k / 4, column k % 4. The upper
// 3 x 3 block is the linear part, elements 3, 7, 11 the translation column.
// This is the transpose of OpenGL's order; transpose() converts.
struct Matrix4d {
  double m[16] = {};

  Matrix4d& setIdentity();
  Matrix4d& set(double m0, double m1, double m2, double m3, double m4, double m5, double m6, double m7, double m8,
                double m9, double m10, double m11, double m12, double m13, double m14, double m15);
  // R = Rx(ax) * Ry(ay) * Rz(az), radians. Writes the 3 x 3 block only.
  Matrix4d& setRotationXYZ(double ax, double ay, double az);
  Matrix4d& transpose();

  double& operator[](int k) { return m[k]; }
  double operator[](int k) const { return m[k]; }
};

static_assert(sizeof(Matrix4d) == 16 * sizeof(double));

// out = m * s element by element; out may be m.
void scaled(const Matrix4d& m, double s, Matrix4d& out);

// Inverts the 3 x 3 block of m into out through the adjugate. A block with
// |det| < 1e-8 gives the full identity instead. The whole of out is scaled
// by 1/det, so only its 3 x 3 block is meaningful; out may be m.
void invertRotation(const Matrix4d& m, Matrix4d& out);

// Linear part only; the result has flag 1 whatever the input's flag.
FlagVec3 rotateVector(const Matrix4d& m, const FlagVec3& v);

// Linear part plus the translation column; the bottom row is ignored.
void transformPoint(const Matrix4d& m, const FlagVec3& v, FlagVec3& out);

// Rotates v in place by Rx(ax) * Ry(ay) * Rz(az) and returns the new value.
FlagVec3 rotateEuler(FlagVec3& v, double ax, double ay, double az);
