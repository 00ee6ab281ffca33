#include <algorithm>

#include <gtest/gtest.h>

#include "effects/outline_tracer.h"
#include "test_support.h"

using namespace datagen;
using namespace datagen_test;

namespace {

// The point counts of the paths the demo keeps from one picture, traced by
// the demo's own tracers: the grey tracer's single grey pixels (count <= 3)
// are cleared by the demo, so only longer ones count.
std::vector<int> kept(std::vector<std::uint8_t> rgb, int width, int height, bool grey) {
  std::vector<SplinePath> traced;
  (grey ? traceGreyOutlines : traceBrightOutlines)(rgb.data(), width, height, traced);
  std::vector<int> paths;
  for (const SplinePath& p : traced)
    if (!grey || p.count > 3) paths.push_back(p.count);
  std::sort(paths.begin(), paths.end());
  return paths;
}

class OutlinePictureTest : public ::testing::TestWithParam<std::string> {};

TEST_P(OutlinePictureTest, TracersFindTheDrawnOutlinesAfterEncoding) {
  const OutlinePicture op = outlinePicture(GetParam());
  std::vector<int> intended;
  for (const Chain& c : op.outlines) intended.push_back(static_cast<int>(c.size()));
  std::sort(intended.begin(), intended.end());
  ASSERT_FALSE(intended.empty());
  const auto bytes = encodeJpeg(op.picture.image, op.picture.jpeg);
  // the accurate and the fast (16-bit, prescaled) inverse transforms bracket
  // what the demo's own decoder produces
  for (J_DCT_METHOD method : {JDCT_ISLOW, JDCT_IFAST}) {
    const Decoded d = decodeJpeg(bytes, method);
    const auto paths = kept(d.rgb, d.width, d.height, op.grey);
    EXPECT_EQ(paths, intended) << GetParam() << " with dct method " << method;
  }
}

TEST_P(OutlinePictureTest, OutlinesLongEnoughForTheirResampling) {
  const OutlinePicture op = outlinePicture(GetParam());
  // the demo clears outlines of up to 16 points before resampling
  for (const Chain& c : op.outlines) EXPECT_GT(c.size(), 16u) << GetParam();
}

INSTANTIATE_TEST_SUITE_P(All, OutlinePictureTest, ::testing::ValuesIn(outlinePicturePaths()),
                         [](const auto& paramInfo) {
                           std::string n = paramInfo.param.substr(paramInfo.param.find('/') + 1);
                           return n.substr(0, n.find('.'));
                         });

TEST(OutlineChecks, RejectsLoopsThatTouchOrBranch) {
  // a 3 x 3 ring: the edge midpoints also touch each other diagonally, so
  // the tracer could cut a corner and leave a pixel behind
  Chain ring{{10, 10}, {11, 10}, {12, 10}, {12, 11}, {12, 12}, {11, 12}, {10, 12}, {10, 11}};
  EXPECT_NE(checkClosedChains({ring}, 32, 32), "");
  Chain diamond{{10, 8}, {11, 9}, {12, 10}, {11, 11}, {10, 12}, {9, 11}, {8, 10}, {9, 9}};
  EXPECT_EQ(checkClosedChains({diamond}, 32, 32), "");
  Chain near{{10, 13}, {11, 14}, {12, 15}, {11, 16}, {10, 17}, {9, 16}, {8, 15}, {9, 14}};
  EXPECT_NE(checkClosedChains({diamond, near}, 32, 32), "");  // (10,12) touches (10,13)
}

TEST(OutlineChecks, GreyTracesMustStayFourConnectedAndApart) {
  Chain stair{{4, 4}, {5, 4}, {5, 5}, {6, 5}, {6, 6}, {7, 6}};
  EXPECT_EQ(checkGreyTraces({stair}, 32, 32), "");
  Chain diagonal{{4, 4}, {5, 5}, {6, 6}};
  EXPECT_NE(checkGreyTraces({diagonal}, 32, 32), "");
  Chain uTurn{{4, 4}, {5, 4}, {5, 5}, {4, 5}};  // first and last touch
  EXPECT_NE(checkGreyTraces({uTurn}, 32, 32), "");
}

TEST(RegionOutline, EllipseGivesOneCleanLoop) {
  const Chain c = regionOutline(
      [](double x, double y) { return (x - 40) * (x - 40) / 400 + (y - 30) * (y - 30) / 100 < 1; }, 80, 64);
  EXPECT_EQ(checkClosedChains({c}, 80, 64), "");
  EXPECT_GT(c.size(), 80u);
}

}  // namespace
