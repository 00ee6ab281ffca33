#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "app/bench_figures.h"

namespace {
TEST(BenchFigures, PercentilesAreNearestRanksAndTheSlowestComeFirst) {
  std::vector<double> ms;
  for (int i = 100; i >= 1; --i) ms.push_back(i);  // 100 .. 1, unsorted as a run would give them
  EXPECT_EQ(percentile(ms, 0.5), 50.0);
  EXPECT_EQ(percentile(ms, 0.95), 95.0);
  EXPECT_EQ(percentile(ms, 0.99), 99.0);
  EXPECT_EQ(percentile(ms, 1.0), 100.0);
  EXPECT_EQ(percentile(ms, 0.0), 1.0);
  EXPECT_EQ(percentile({}, 0.5), 0.0);
  EXPECT_EQ(percentile({7.0}, 0.99), 7.0);

  EXPECT_EQ(slowestFrames({3, 9, 1, 9, 5}, 3), (std::vector<size_t>{1, 3, 4}));  // ties: the earlier first
  EXPECT_EQ(slowestFrames({2.0}, 3), (std::vector<size_t>{0}));
}

TEST(BenchFigures, TheReportAndTheJsonCarryTheSameFigures) {
  BenchFigures f;
  f.rendition = "alpha";
  f.device = "llvmpipe \"test\"";
  f.fps = 2;
  f.frameMs = {10, 40, 20, 30};
  f.demoTime = {0.0, 0.5, 1.0, 1.5};
  f.layerMs = {{1, 30.0}, {14, 8.0}};
  f.layerFrames = {{1, 3}, {14, 2}};
  f.layerClock = "CPU";
  f.outsideLayersMs = 9.0;
  f.outsideLayersFrames = 2;
  const std::string text = benchReport(f);
  EXPECT_NE(text.find("median 20.00, 95th 40.00, 99th 40.00, max 40.00"), std::string::npos) << text;
  EXPECT_NE(text.find("slowest moments: 0.50 s (40.0 ms) 1.50 s (30.0 ms) 1.00 s (20.0 ms)"), std::string::npos)
      << text;
  EXPECT_NE(text.find(" 1 copies: 10.00 ms, 3 frames"), std::string::npos) << text;
  EXPECT_NE(text.find("14 water: 4.00 ms, 2 frames"), std::string::npos) << text;
  EXPECT_NE(text.find("outside the layers (passes, copies, glow, composition): 4.50 ms, 2 frames"), std::string::npos)
      << text;

  const nlohmann::json json = nlohmann::json::parse(benchJson(f));
  EXPECT_EQ(json["rendition"], "alpha");
  EXPECT_EQ(json["device"], "llvmpipe \"test\"");
  EXPECT_EQ(json["frames"], 4);
  EXPECT_EQ(json["frameMs"]["median"], 20.0);
  EXPECT_EQ(json["frameMs"]["max"], 40.0);
  EXPECT_EQ(json["slowest"][0], (nlohmann::json{{"demoTime", 0.5}, {"ms", 40.0}}));
  EXPECT_EQ(json["layers"][1], (nlohmann::json{{"layer", 14}, {"name", "water"}, {"meanMs", 4.0}, {"frames", 2}}));
  EXPECT_EQ(json["outsideLayers"]["meanMs"], 4.5);
}
}  // namespace
