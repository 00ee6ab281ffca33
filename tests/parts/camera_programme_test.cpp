#include "parts/camera_programme.h"

#include <gtest/gtest.h>

#include <cmath>

#include "parts/composition_levels.h"

namespace {
// Expected values were worked out independently from the written camera
// chain, in double precision with every stored vector rounded to float the
// way the vector operators round it. One row: eye, centre, up.
struct CameraRow {
  double partTime;
  float v[9];
};
const CameraRow kCameraRows[] = {
    {0, {-0.165000007, 2.6099999, 1.84000003, -0.165000007, 2.6099999, 0, 1, 0, 0}},
    {6.3, {-0.165000007, 2.34540009, 1.84000003, -0.165000007, 2.34540009, 0, 1, 0, 0}},
    {9.0, {-6.20939207, -3.3910253, 10.0538111, -0.0170437992, 0.230556011, -0.986374676, 0.103295743, 0, 0.896704257}},
    {12.31, {-1.61223292, -31.3342838, 9, 0, 0, 0, 0, 0, 1}},
    {16.21, {-1.66356027, 1.11021042, 6.26000023, 0, 0.0199999996, 0, 0, 0, 1}},
    {18.0, {-0.960260928, -1.75439417, 17, 0, 3.5999999, 0, 0, 0, 1}},
    {20.21, {7.86558437, 6.44054651, 94.7600174, 9.25270651e-05, -16.6381378, 78.4058456, 0, 0, 1}},
    {25.5, {14.7393045, -64.3331451, 120, -6, 0, 52, 0, 0, 1}},
    {29.5, {1.71324158, -0.914237976, 34.4127731, -2.40638733, 0, -76.4402008, 0, 0.0904508457, 1}},
    {31.0, {-2.46930695, 0, 29.5999985, 0, 0, -90, 0, 0.479604483, 0.578217268}},
    {33.0, {-4.89057922, 2.74893188, 22.6805363, -5.23606873, 2.7489357, -90, 0.654508471, 0.345491529, 0}},
};

void expectNear(float actual, float expected, double partTime, int index) {
  EXPECT_NEAR(actual, expected, 1e-6 * std::max(1.0f, std::fabs(expected)))
      << "part time " << partTime << ", component " << index;
}
}  // namespace

TEST(CameraProgramme, FollowsTheWrittenChainAtEveryCutAndBlend) {
  for (const CameraRow& row : kCameraRows) {
    CameraView camera;
    runCameraProgramme(row.partTime, camera);
    const FlagVec3* vectors[] = {&camera.eye, &camera.centre, &camera.up};
    for (int k = 0; k < 3; ++k) {
      EXPECT_EQ(vectors[k]->flag, 1);
      expectNear(vectors[k]->x, row.v[3 * k], row.partTime, 3 * k);
      expectNear(vectors[k]->y, row.v[3 * k + 1], row.partTime, 3 * k + 1);
      expectNear(vectors[k]->z, row.v[3 * k + 2], row.partTime, 3 * k + 2);
    }
  }
}

TEST(CameraProgramme, DependsOnPartTimeAloneNotOnLastFramesCamera) {
  CameraView fresh;
  CameraView used;
  runCameraProgramme(3.0, used);
  runCameraProgramme(25.0, used);
  runCameraProgramme(25.0, fresh);
  EXPECT_EQ(fresh.eye.x, used.eye.x);
  EXPECT_EQ(fresh.centre.z, used.centre.z);
  EXPECT_EQ(fresh.up.y, used.up.y);
}

TEST(CameraProgramme, ClipPlanesOpenAfterTheSecondCut) {
  EXPECT_EQ(clipPlanesAt(16.2).farPlane, 180.0);
  EXPECT_EQ(clipPlanesAt(16.2).nearPlane, 0.01);
  EXPECT_EQ(clipPlanesAt(16.2001).farPlane, 500.0);
  EXPECT_EQ(clipPlanesAt(16.2001).nearPlane, 0.1);
}

TEST(CompositionLevels, GreyLevelFadesDipsAtEventsAndTurnsColdInTheBreak) {
  const std::vector<double> events = {12.3, 16.2};
  struct Row {
    double t, grey, dim;
  } rows[] = {
      {0.1, 0.0, 1.0},              // black before 0.3 s
      {0.8, 0.5, 1.0},              // fading in
      {12.5, 0.345491502813, 1.0},  // dip after the 12.3 s event
      {16.4, 0.345491502813, 1.0},  // dip after 16.2 s; the first is over
      {17.5, 0.85, 0.725},          // the break: red and green fall faster
      {20.0, 1.0, 1.0},             // full picture
      {33.9, 0.4, 1.0},             // fading out at the end
  };
  for (const Row& r : rows) {
    const GreyLevel level = greyLevelAt(r.t, events);
    EXPECT_NEAR(level.grey, r.grey, 1e-9) << r.t;
    EXPECT_NEAR(level.dim, r.dim, 1e-9) << r.t;
  }
  // An event at the current time has not happened yet.
  EXPECT_NEAR(greyLevelAt(12.3, events).grey, 1.0, 1e-12);
}

TEST(CompositionLevels, GhostSpreadRisesAndFallsWithTheSections) {
  struct Row {
    double t, spread;
  } rows[] = {
      {5.0, 0.0}, {8.7, 0.0}, {12.5, 0.5}, {16.2, 0.0}, {17.0, 0.72}, {21.0, 0.951056516295}, {30.0, 0.637423989749}};
  for (const Row& r : rows) EXPECT_NEAR(ghostSpreadAt(r.t), r.spread, 1e-9) << r.t;
  // A single copy is drawn where the spread vanishes.
  EXPECT_LT(ghostSpreadAt(8.7), 0.001);
}
