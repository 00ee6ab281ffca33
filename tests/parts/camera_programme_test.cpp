#include "parts/camera_programme.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "parts/composition_levels.h"

namespace {
// Expected values were worked out independently from the written camera
// chain, in double precision with every stored vector rounded to float the
// way the vector operators round it: a row inside every blend and cut (not
// only at its edges, where a blend's weight is 0). One row: eye, centre, up.
struct CameraRow {
  double partTime;
  float v[9];
};
const CameraRow kCameraRows[] = {
    {0, {-0.165000007, 2.6099999, 1.84000003, -0.165000007, 2.6099999, 0, 1, 0, 0}},
    {3, {-0.165000007, 2.48399997, 1.84000003, -0.165000007, 2.48399997, 0, 1, 0, 0}},
    {6.3, {-0.165000007, 2.34540009, 1.84000003, -0.165000007, 2.34540009, 0, 1, 0, 0}},
    {7.5, {-1.78612554, 1.4207201, 3.78727722, -0.129923508, 1.80711782, -0.393281996, 0.787415147, 0, 0.212584853}},
    {9, {-6.20939207, -3.3910253, 10.0538111, -0.0170437992, 0.230556011, -0.986374676, 0.103295743, 0, 0.896704257}},
    {10.5, {-2.35164285, -5.37317896, 9.73465157, 0, 0.337426215, -0.202376023, 0, 0, 1}},
    {12.31, {-1.61223292, -31.3342838, 9, 0, 0, 0, 0, 0, 1}},
    {14, {-4.83112192, -7.73309755, 9, 0, 0, 0, 0, 0, 1}},
    {16.21, {-1.66356027, 1.11021042, 6.26000023, 0, 0.0199999996, 0, 0, 0, 1}},
    {17.2, {-1.71702814, -1.02557993, 12.1999998, 0, 2, 0, 0, 0, 1}},
    {18, {-0.960260928, -1.75439417, 17, 0, 3.5999999, 0, 0, 0, 1}},
    {19.5, {12.4359245, 0.718831301, 73.3597412, 0, -5.30120993, 47.1889458, 0, 0, 1}},
    {20.21, {7.86558437, 6.44054651, 94.7600174, 9.25270651e-05, -16.6381378, 78.4058456, 0, 0, 1}},
    {22, {-48.6970596, -8.34412575, 100.403763, 6.32273769, -24.4841537, 80.537735, 0, 0, 1}},
    {24.5, {-4.93074799, -65.8155594, 130, -1.19999695, 0, 52, 0, 0, 1}},
    {25.5, {14.7393045, -64.3331451, 120, -6, 0, 52, 0, 0, 1}},
    {27.5, {30.0097237, -29.3049622, 75.6773987, -10.2103348, 0, 2.94020844, 0, 0.0345491506, 1}},
    {29.5, {1.71324158, -0.914237976, 34.4127731, -2.40638733, 0, -76.4402008, 0, 0.0904508457, 1}},
    {31, {-2.46930695, 0, 29.5999985, 0, 0, -90, 0, 0.479604483, 0.578217268}},
    {32.8,
     {-4.06464386, 2.36319733, 23.9553299, -4.50133514, 2.36320114, -90, 0.562666595, 0.437236309, 0.000107884407}},
    {33, {-4.89057922, 2.74893188, 22.6805363, -5.23606873, 2.7489357, -90, 0.654508471, 0.345491529, 0}},
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

// Worked out by hand from the written curves, inside every term's window.
TEST(CompositionLevels, GreyLevelAndGhostSpreadFollowTheirCurvesInsideEveryWindow) {
  // Part time, grey, dim; an event at the time itself has not happened yet.
  std::istringstream greys(
      "0.1 0 1  0.8 0.5 1  12.3 1 1  12.5 0.345491502813 1  12.65 0.793892626146 1  16.4 0.345491502813 1 "
      "17.5 0.85 0.725  18.05 0.685 0.4225  20 1 1  33.9 0.4 1");
  for (double t, grey, dim; greys >> t >> grey >> dim;) {
    EXPECT_NEAR(greyLevelAt(t, {12.3, 16.2}).grey, grey, 1e-9) << t;
    EXPECT_NEAR(greyLevelAt(t, {12.3, 16.2}).dim, dim, 1e-9) << t;
  }
  std::istringstream spreads(
      "5 0  7 0.844327925502  8.7 0  12.5 0.5  13.2 0.7  16.2 0  17 0.72  21 0.951056516295  23.5 0.951056516295 "
      "24 0.309016994375  29.8 0.998026728428  30 0.637423989749");
  for (double t, spread; spreads >> t >> spread;) EXPECT_NEAR(ghostSpreadAt(t), spread, 1e-9) << t;
}
