#include "math/flag_vec3.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

void expectVec(const FlagVec3& v, int flag, float x, float y, float z) {
  EXPECT_EQ(v.flag, flag);
  EXPECT_FLOAT_EQ(v.x, x);
  EXPECT_FLOAT_EQ(v.y, y);
  EXPECT_FLOAT_EQ(v.z, z);
}

TEST(FlagVec3, UnsetOperandWipesEveryBinaryResult) {
  expectVec(FlagVec3{}, 1, 0, 0, 0);
  const FlagVec3 unset{0, 5, 5, 5};
  const FlagVec3 b{1, 1, 2, 3};
  using Operation = void (*)(const FlagVec3&, const FlagVec3&, FlagVec3&);
  const Operation operations[] = {add, subtract, static_cast<Operation>(cross),
                                  [](const FlagVec3& x, const FlagVec3&, FlagVec3& out) { scale(x, 3.0f, out); }};
  for (Operation operation : operations) {
    FlagVec3 out{2, 9, 9, 9};
    operation(unset, b, out);
    expectVec(out, 1, 0, 0, 0);
  }
  for (Operation operation : {add, subtract, static_cast<Operation>(cross)}) {
    FlagVec3 out{2, 9, 9, 9};
    operation(b, unset, out);
    expectVec(out, 1, 0, 0, 0);
  }

  expectVec(unset + b, 1, 0, 0, 0);
  expectVec(b - unset, 1, 0, 0, 0);
  expectVec(cross(b, unset), 1, 0, 0, 0);
  expectVec(unset * 2.0f, 1, 0, 0, 0);
}

TEST(FlagVec3, SetOperandsGiveFlagOneWhateverTheirFlags) {
  const FlagVec3 a{2, 1, 2, 3};
  const FlagVec3 b{2, 10, 20, 30};
  expectVec(a + b, 1, 11, 22, 33);
  expectVec(a - b, 1, -9, -18, -27);
  expectVec(cross(FlagVec3{1, 1, 0, 0}, FlagVec3{1, 0, 1, 0}), 1, 0, 0, 1);
  expectVec(cross(FlagVec3{1, 0, 1, 0}, FlagVec3{1, 1, 0, 0}), 1, 0, 0, -1);
  // A general case, so that no component's formula is crossed with another.
  expectVec(cross(FlagVec3{1, 1, 2, 3}, FlagVec3{1, 4, 5, 6}), 1, -3, 6, -3);
}

TEST(FlagVec3, ScalingKeepsTheInputFlag) {
  expectVec(FlagVec3{2, 0, 0, 1} * 3.0f, 2, 0, 0, 3);
  expectVec(FlagVec3{1, 1, -2, 4} * -0.5f, 1, -0.5f, 1, -2);
  // Because the flag survives, a scaled unit vector is not renormalized.
  FlagVec3 v = FlagVec3{2, 0, 0, 1} * 3.0f;
  normalize(v);
  expectVec(v, 2, 0, 0, 3);
}

TEST(FlagVec3, OutMayAliasAnInput) {
  FlagVec3 a{1, 1, 2, 3};
  add(a, a, a);
  expectVec(a, 1, 2, 4, 6);
  FlagVec3 b{1, 1, 2, 3};
  FlagVec3 c{1, 4, 5, 6};
  cross(b, c, b);
  expectVec(b, 1, -3, 6, -3);
  c = FlagVec3{1, 4, 5, 6};
  FlagVec3 d{1, 1, 2, 3};
  cross(d, c, c);
  expectVec(c, 1, -3, 6, -3);
}

TEST(FlagVec3, NormalizeOnlyTouchesPlainSetVectors) {
  FlagVec3 v{1, 3, 0, 4};
  normalize(v);
  expectVec(v, 2, 0.6f, 0, 0.8f);
  normalize(v);
  expectVec(v, 2, 0.6f, 0, 0.8f);

  FlagVec3 tiny{1, 0, 0, 5e-9f};
  normalize(tiny);
  expectVec(tiny, 2, 0, 0, 0);

  FlagVec3 unset{0, 3, 0, 4};
  normalize(unset);
  expectVec(unset, 0, 3, 0, 4);

  FlagVec3 small{1, 1e-3f, -2e-3f, 7e-4f};
  normalize(small);
  const double length = std::sqrt(double(small.x) * small.x + double(small.y) * small.y + double(small.z) * small.z);
  EXPECT_NEAR(length, 1.0, 1e-6);
}

}  // namespace
