#include "math/matrix4d.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace {

constexpr double kPi = 3.141592653589793;

Matrix4d multiply(const Matrix4d& a, const Matrix4d& b) {
  Matrix4d r;
  for (int row = 0; row < 4; ++row)
    for (int col = 0; col < 4; ++col) {
      double sum = 0;
      for (int k = 0; k < 4; ++k) sum += a[row * 4 + k] * b[k * 4 + col];
      r[row * 4 + col] = sum;
    }
  return r;
}

// Elementary rotations, written out independently of setRotationXYZ.
Matrix4d rotX(double a) {
  return Matrix4d{}.set(1, 0, 0, 0, 0, std::cos(a), -std::sin(a), 0, 0, std::sin(a), std::cos(a), 0, 0, 0, 0, 1);
}
Matrix4d rotY(double a) {
  return Matrix4d{}.set(std::cos(a), 0, std::sin(a), 0, 0, 1, 0, 0, -std::sin(a), 0, std::cos(a), 0, 0, 0, 0, 1);
}
Matrix4d rotZ(double a) {
  return Matrix4d{}.set(std::cos(a), -std::sin(a), 0, 0, std::sin(a), std::cos(a), 0, 0, 0, 0, 1, 0, 0, 0, 0, 1);
}

void expectBlockNear(const Matrix4d& a, const Matrix4d& b, double tolerance) {
  for (int k : {0, 1, 2, 4, 5, 6, 8, 9, 10}) EXPECT_NEAR(a[k], b[k], tolerance) << "element " << k;
}

Matrix4d sequence() {
  Matrix4d m;
  for (int k = 0; k < 16; ++k) m[k] = k + 1;
  return m;
}

TEST(Matrix4d, RotationIsRxTimesRyTimesRzWrittenIntoTheBlockAlone) {
  const double ax = 0.3, ay = -1.1, az = 2.4;
  Matrix4d m;
  m.setRotationXYZ(ax, ay, az);
  expectBlockNear(m, multiply(multiply(rotX(ax), rotY(ay)), rotZ(az)), 1e-12);
  m = sequence();
  m.setRotationXYZ(0, 0, 0);
  expectBlockNear(m, Matrix4d{}.setIdentity(), 0);
  for (int k : {3, 7, 11, 12, 13, 14, 15}) EXPECT_EQ(m[k], k + 1);
}

TEST(Matrix4d, InverseTimesRotationIsIdentityForRandomAngles) {
  std::mt19937 engine(7);
  std::uniform_real_distribution<double> angle(-2 * kPi, 2 * kPi);
  for (int trial = 0; trial < 200; ++trial) {
    Matrix4d m;
    m.setIdentity().setRotationXYZ(angle(engine), angle(engine), angle(engine));
    Matrix4d inverse;
    inverse.setIdentity();
    invertRotation(m, inverse);
    const Matrix4d product = multiply(inverse, m);
    expectBlockNear(product, Matrix4d{}.setIdentity(), 1e-12);
    // For a rotation the inverse is the transpose.
    Matrix4d t = m;
    t.transpose();
    expectBlockNear(inverse, t, 1e-12);
  }
}

TEST(Matrix4d, InvertGeneralBlockAgainstHandComputedInverse) {
  // [[2, 0, 1], [1, 3, 0], [0, 1, 1]]: det = 2*3 - 0 + 1*1 = 7.
  const Matrix4d m = Matrix4d{}.set(2, 0, 1, 0, 1, 3, 0, 0, 0, 1, 1, 0, 0, 0, 0, 1);
  Matrix4d inverse;
  inverse.setIdentity();
  invertRotation(m, inverse);
  const double expected[9] = {3, 1, -3, -1, 2, 1, 1, -2, 6};
  const int block[9] = {0, 1, 2, 4, 5, 6, 8, 9, 10};
  for (int i = 0; i < 9; ++i) EXPECT_NEAR(inverse[block[i]], expected[i] / 7.0, 1e-15);
}

TEST(Matrix4d, InvertSingularAndScaledBlocks) {
  Matrix4d zeros = sequence();
  for (int k : {0, 1, 2, 4, 5, 6, 8, 9, 10}) zeros[k] = 0;
  Matrix4d out = sequence();
  invertRotation(zeros, out);
  for (int k = 0; k < 16; ++k) EXPECT_EQ(out[k], Matrix4d{}.setIdentity()[k]);

  // det = 2: the whole destination is scaled, so element 15 follows too.
  Matrix4d d;
  d.setIdentity();
  d[0] = 2;
  Matrix4d dest;
  dest.setIdentity();
  invertRotation(d, dest);
  EXPECT_DOUBLE_EQ(dest[0], 0.5);
  EXPECT_DOUBLE_EQ(dest[5], 1);
  EXPECT_DOUBLE_EQ(dest[10], 1);
  EXPECT_DOUBLE_EQ(dest[15], 0.5);

  // In place gives the same block as into a separate destination.
  Matrix4d r;
  r.setIdentity().setRotationXYZ(0.4, 0.5, 0.6);
  Matrix4d separate;
  separate.setIdentity();
  invertRotation(r, separate);
  invertRotation(r, r);
  expectBlockNear(r, separate, 0);
}

TEST(Matrix4d, TransposeSwapsRowsAndColumnsAndUndoesItself) {
  Matrix4d m = sequence();
  m.transpose();
  EXPECT_EQ(m[1], 5);
  EXPECT_EQ(m[4], 2);
  EXPECT_EQ(m[3], 13);
  EXPECT_EQ(m[12], 4);
  EXPECT_EQ(m[0], 1);
  m.transpose();
  for (int k = 0; k < 16; ++k) EXPECT_EQ(m[k], k + 1);
}

TEST(Matrix4d, VectorTransformsUseRowsAndIgnoreFlags) {
  const Matrix4d m = sequence();
  const FlagVec3 v{0, 1, 2, 3};
  const FlagVec3 r = rotateVector(m, v);
  EXPECT_EQ(r.flag, 1);
  EXPECT_FLOAT_EQ(r.x, 1 + 4 + 9);
  EXPECT_FLOAT_EQ(r.y, 5 + 12 + 21);
  EXPECT_FLOAT_EQ(r.z, 9 + 20 + 33);

  FlagVec3 p{2, 1, 2, 3};
  transformPoint(m, p, p);
  EXPECT_EQ(p.flag, 1);
  EXPECT_FLOAT_EQ(p.x, 14 + 4);
  EXPECT_FLOAT_EQ(p.y, 38 + 8);
  EXPECT_FLOAT_EQ(p.z, 62 + 12);
}

TEST(Matrix4d, RotateEulerRotatesInPlaceAndReturnsTheResult) {
  FlagVec3 v{2, 1, 0, 0};
  const FlagVec3 r = rotateEuler(v, 0, 0, kPi / 2);
  EXPECT_EQ(v.flag, 1);
  EXPECT_NEAR(v.x, 0, 1e-7);
  EXPECT_NEAR(v.y, 1, 1e-7);
  EXPECT_EQ(r.x, v.x);
  EXPECT_EQ(r.y, v.y);
  EXPECT_EQ(r.z, v.z);

  // Same result as the matrix it is built from, for a general rotation.
  FlagVec3 w{1, 0.3f, -1.2f, 2.5f};
  Matrix4d m;
  m.setRotationXYZ(0.7, -0.2, 1.9);
  const FlagVec3 expected = rotateVector(m, w);
  rotateEuler(w, 0.7, -0.2, 1.9);
  EXPECT_EQ(w.x, expected.x);
  EXPECT_EQ(w.y, expected.y);
  EXPECT_EQ(w.z, expected.z);
}

}  // namespace
