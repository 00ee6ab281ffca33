// The layers' seeded layouts and timing curves, pinned to values worked out
// once by hand from the written rules (the generator's recurrence, the
// formulas, single-precision rounding where the layers store floats), not by
// calling the code under test. A changed term, seed or draw order moves them.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "choreography/backdrop_layer.h"
#include "choreography/billboard_layers.h"
#include "choreography/layer_windows.h"
#include "choreography/line_layers.h"
#include "choreography/mesh_layers.h"
#include "choreography/point_layers.h"
#include "choreography/scene_frame.h"
#include "choreography/scene_layers.h"
#include "choreography/shard_layer.h"
#include "choreography/water_layer.h"
#include "math/camera_view.h"
#include "math/random.h"

namespace {
void expectNear(double actual, double expected, const std::string& what) {
  EXPECT_NEAR(actual, expected, 1e-6 * std::max(1.0, std::fabs(expected))) << what;
}

void expectAt(const FlagVec3& v, float x, float y, float z, const std::string& what) {
  expectNear(v.x, x, what + " x");
  expectNear(v.y, y, what + " y");
  expectNear(v.z, z, what + " z");
}

// A slanted row of 1000 points standing in for the sampled surface.
std::vector<FlagVec3> cloud() {
  std::vector<FlagVec3> points;
  for (int k = 0; k < 1000; ++k) points.push_back(FlagVec3{1, 0.01f * k, -12.0f + 0.002f * k, 0.5f});
  return points;
}

TEST(PointLayers, SeededSpritesSitWhereTheRulesPutThem) {
  const auto points = cloud();
  // Layer (t twinkling, d drifting), part time, sprites laid out, which one,
  // its centre and alpha.
  std::istringstream rows(
      "t 12.25 1000 0 0.0488750562 -12.0522652 6.9748373 0.89456743  t 12.25 1000 1 0.0250462517 -12.0407057 "
      "7.29052114 0.845919847  t 12.25 1000 500 5.07589674 -10.943738 4.30274391 0.930093467  t 12.25 1000 999 "
      "9.95302486 -9.9040556 7.6066699 0.788869023  t 6.5 650 3 -0.0148934964 -12.0779209 10.2106543 0.0453877933 "
      "d 12 900 0 0 -51.4832344 12.1564817 0.00127805967  d 12 900 899 34.6064796 -35.1045036 5.16728687 "
      "0.0376396142  d 19 1000 700 14 -20.8391266 2.65639973 1");
  std::string layer;
  for (double T, x, y, z, alpha; rows >> layer >> T;) {
    size_t count = 0, sprite = 0;
    rows >> count >> sprite >> x >> y >> z >> alpha;
    const std::string what = layer + " " + std::to_string(T) + " #" + std::to_string(sprite);
    seedRandom(99);  // each layout seeds itself
    const auto sprites = layer == "t" ? twinklingLayout(points, T) : driftingLayout(points, T);
    ASSERT_EQ(sprites.size(), count) << what;
    expectAt(sprites[sprite].centre, float(x), float(y), float(z), what);
    expectNear(sprites[sprite].alpha, alpha, what + " alpha");
  }
  EXPECT_TRUE(twinklingLayout(points, 6.0).empty());
  EXPECT_TRUE(driftingLayout(points, 11.2).empty());
  EXPECT_EQ(twinklingLayout(std::vector<FlagVec3>(points.begin(), points.begin() + 200), 15.0).size(), 200u);
  EXPECT_EQ(pointCount(1300.0, 0.0001, 1000), 1);  // a part of a point still starts it
  EXPECT_EQ(pointCount(1800.0, 1.0, 5000), 1000);
}

TEST(PointLayers, SpritesFaceTheCameraSquarely) {
  const CameraView camera{FlagVec3{1, 5, 5, 8}, FlagVec3{1, 0, 0.8f, 0}, FlagVec3{1, 0, 0, 1}};
  const FacingAxes axes = facingAxes(camera);
  FlagVec3 forward = camera.centre - camera.eye;
  normalize(forward);
  auto dot = [](const FlagVec3& a, const FlagVec3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; };
  for (float d : {dot(axes.right, forward), dot(axes.up, forward), dot(axes.right, axes.up)}) EXPECT_NEAR(d, 0, 1e-6);
  EXPECT_NEAR(dot(axes.right, axes.right), 1.0f, 1e-6f);
  EXPECT_GT(dot(axes.up, camera.up), 0.0f);  // the quad's up leans the camera's way
}

// Layer 1 re-seeds (1000, then 120 draws) every frame; copy i draws z, y, x,
// angle and flicker rate in that order.
TEST(SceneLayers, TheScatteredCopiesStandWhereTheirDrawsPutThem) {
  // Part time, copy, x, y, z, angle, red.
  std::istringstream rows(
      "12 0 13.7180700095 -23.9371318705 -26.6192205573 146.325510422 0.384962174874 "
      "12 1 4.96414075137 -40.2816248054 -39.7629322184 280.483657338 0.120000141289 "
      "12 4 8.56776635029 -23.5953245643 -46.5453657643 282.175603504 0.188128003413 "
      "16.5 0 13.7180700095 -23.9371318705 -28.8692205573 155.325510422 0.482018795252 "
      "16.5 8 5.70635090182 -20.460463271 -16.2246162297 313.335703604 0.591211747165");
  for (double T, copy, x, y, z, angle, red; rows >> T >> copy >> x >> y >> z >> angle >> red;) {
    seedRandom(1000);
    for (int k = 0; k < 120; ++k) random01();
    ManCopy c{};
    for (int i = 0; i <= int(copy); ++i) c = nextManCopy(T, i);
    const std::string what = "copy " + std::to_string(int(copy)) + " at " + std::to_string(T);
    for (auto [got, want, part] : {std::tuple{c.x, x, " x"},
                                   {c.y, y, " y"},
                                   {c.z, z, " z"},
                                   {c.angle, angle, " angle"},
                                   {c.red, red, " red"},
                                   {c.faceFraction, 0.46, " faces"}})
      expectNear(got, want, what + part);
  }
  seedRandom(1000);
  EXPECT_EQ(nextManCopy(5.3, 0).faceFraction, 0.0);
  EXPECT_NEAR(nextManCopy(6.3, 1).faceFraction, 0.207, 1e-12);
  EXPECT_EQ(nextManCopy(20.5, 0).faceFraction, 0.0);
  for (auto [T, fraction] : {std::pair{5.0, 0.0}, {6.5, 0.5}, {27.6, 1.0}, {28.0, 0.6}, {29.0, 0.0}})
    EXPECT_NEAR(baseFaceFraction(T), fraction, 1e-12) << T;
}

TEST(Layers, TimingCurvesFollowTheirRules) {
  const std::map<std::string, double (*)(double)> curves = {
      {"fog", fogDensity},     {"sky", skyBoxSize},      {"skyFade", skyBoxFade}, {"shard", shardBrightness},
      {"accent", accentFlash}, {"twinkle", twinkleFade}, {"drift", driftFade}};
  std::istringstream rows(
      "fog 17.999 0.01  fog 18 0.004  sky 17.999 100  sky 18 230  skyFade 28.6 1  skyFade 29.6 0.5 "
      "shard 22 0.3  shard 23.6 0.55  shard 24.3 0.385  shard 24.9 0.0522222222222  shard 25 0 "
      "accent 9.19 0  accent 9.2 1  accent 9.5 0.165298888222  accent 12.4 0.548811636094 "
      "accent 16.3 0.548811636094  accent 18.1 0.548811636094  twinkle 6.25 0.25  drift 12 0.5  drift 20.25 0.75");
  std::string name;
  for (double T, value; rows >> name >> T >> value;)
    expectNear(curves.at(name)(T), value, name + " at " + std::to_string(T));
  EXPECT_TRUE(skyBoxDrawn(30.5));
  EXPECT_FALSE(skyBoxDrawn(30.6));
  for (auto [T, face, progress] : {std::tuple{21.0, 0, 0.0}, {21.0, 1000, 0.507335798786}, {22.0, 37, 0.988570156214}})
    expectNear(shardProgress(T, face), progress, "shard " + std::to_string(face));
  expectAt(shardCorner(FlagVec3{1, 10, 0, -10}), 12.1f, -80.0f, 31.5f, "shard corner");
  // Layer 11's streams, each on its own side of its edges.
  EXPECT_TRUE(streamsAt(26.99).curvePaths);
  EXPECT_FALSE(streamsAt(27.0).curvePaths);
  EXPECT_FALSE(streamsAt(24.8).outlines);
  EXPECT_TRUE(streamsAt(24.81).outlines);
  EXPECT_TRUE(streamsAt(26.49).outlines);
  EXPECT_FALSE(streamsAt(26.5).outlines);
  EXPECT_TRUE(streamsAt(16.99).early);
  EXPECT_FALSE(streamsAt(17.0).early);
}

TEST(BillboardLayers, QuadsAndLightsStandWhereTheRulesPutThem) {
  const auto quads = cameraQuads(10.5);
  expectAt(quads[0].centre, 0, -1, -6, "veil");
  expectNear(quads[0].roll, 42.0, "veil roll");
  expectNear(quads[0].brightness, 0.185496636468, "veil brightness");
  expectNear(quads[1].halfSize, 1.61008691417, "light size");
  expectNear(quads[1].brightness, 0.144275161698, "light brightness");
  expectNear(cameraQuads(21.0)[1].brightness, 0.525, "light going");
  const auto wings = wingBillboards(18.0);
  expectAt(wings[0].centre, -3.10942352531f, 0, 44, "left wing");
  expectNear(wings[1].halfSize, 6.21884705063, "wing size");
  expectNear(wings[1].roll, -24.882042425, "right wing roll");
  expectNear(wings[0].brightness, 0.75, "wings in");
  expectNear(wingBillboards(29.0)[1].brightness, 0.5, "wings out");
  struct Light {
    double T;
    int i;
    float x, y, z;
    double halfSize, brightness;
  } lights[] = {{24.0, 5, -20.125f, -11.5f, 10.1374998f, 3.34962242608, 0.899748284052},
                {29.5, 20, -56.0f, -32.0f, 8.60000038f, 2.46352549156, 0.0843631073353},
                {18.5, 0, 59.5f, 34.0f, 13.5500002f, 2.35016804578, 0.116726348879}};
  for (const Light& l : lights) {
    const BillboardPlace b = lineLight(l.T, l.i);
    const std::string what = "light " + std::to_string(l.i) + " at " + std::to_string(l.T);
    expectAt(b.centre, l.x, l.y, l.z, what);
    expectNear(b.halfSize, l.halfSize, what + " size");
    expectNear(b.brightness, l.brightness, what + " brightness");
  }
}

// The frame's drops: seeded by part time in nanoseconds (low 32 bits), 100
// draws, then x and y; at most one drop and one step a frame.
TEST(WaterLayer, DropsLandWhereTheFramesSeedPutsThemOnceAFrameAtMost) {
  EXPECT_EQ(waterSeed(1.0), 1000000000u);
  EXPECT_EQ(waterSeed(12.0), 3410065408u);
  RippleField ripple(0.03, 128, 128);
  double clock = 0.0;
  WaterState water{&ripple, &clock};
  for (auto [T, x, y] : {std::tuple{12.0, 71, 66}, {25.0, 27, 113}}) {
    clock = 0.0;
    const RippleStep step = advanceRipple(water, T, 0.1);
    EXPECT_TRUE(step.dropped) << T;
    EXPECT_EQ(step.x, x) << T;
    EXPECT_EQ(step.y, y) << T;
  }
  std::set<std::pair<int, int>> places;
  clock = 0.0;
  for (int frame = 0; frame < 20; ++frame) {
    const RippleStep step = advanceRipple(water, 12.0 + 0.1 * frame, 0.1);
    ASSERT_TRUE(step.dropped) << frame;  // a long frame rains once, not harder
    places.insert({step.x, step.y});
  }
  EXPECT_GE(places.size(), 18u);
  clock = 0.0;
  EXPECT_FALSE(advanceRipple(water, 9.0, 0.1).dropped);
  EXPECT_FALSE(advanceRipple(water, 21.0, 0.1).dropped);  // the break
  EXPECT_EQ(clock, 0.0);
  int drops = 0;
  for (int frame = 0; frame < 30; ++frame) drops += advanceRipple(water, 12.0 + frame * 0.01, 0.01).dropped;
  EXPECT_NEAR(drops, 10, 1);  // short frames drop when the clock comes round
}

TEST(LayerTable, EdgesKeepTheirSidesAndEveryDrawingItsRowAndFile) {
  auto open = [](int layer, double t, RenditionKind r = RenditionKind::shader) {
    return findLayer(layer)->window(r).contains(t);
  };
  EXPECT_TRUE(open(15, 10.0));  // a closed edge
  EXPECT_FALSE(open(15, 10.0001));
  EXPECT_FALSE(open(1, 6.0));  // an open one
  EXPECT_TRUE(open(1, 6.0001));
  EXPECT_FALSE(open(6, 25.0));  // inside the exception
  EXPECT_TRUE(open(6, 26.0));
  EXPECT_TRUE(open(20, 27.75));  // the second span
  EXPECT_FALSE(open(20, 27.7));
  EXPECT_FALSE(open(14, 15.0, RenditionKind::fixedFunction));
  EXPECT_EQ(findLayer(21), nullptr);
  const auto layers = choreographyLayers();
  const auto drawings = layerDrawings();
  ASSERT_EQ(layers.size(), drawings.size());
  const std::filesystem::path src = std::filesystem::path(VELMORA_SOURCE_DIR) / "src";
  for (size_t i = 0; i < layers.size(); ++i) {
    EXPECT_EQ(layers[i].number, int32_t(i));
    EXPECT_EQ(drawings[i].number, int32_t(i));
    if (drawings[i].draw == nullptr) {
      EXPECT_STREQ(drawings[i].file, "") << i;
    } else {
      EXPECT_TRUE(std::filesystem::is_regular_file(src / drawings[i].file)) << i << ": " << drawings[i].file;
    }
  }
}
}  // namespace
