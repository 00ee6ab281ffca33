#include "measure/bench_figures.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <numeric>

#include "choreography/layer_windows.h"

namespace {
std::string format(const char* pattern, double a, double b = 0.0, double c = 0.0, double d = 0.0) {
  char text[256];
  std::snprintf(text, sizeof text, pattern, a, b, c, d);
  return text;
}

const char* layerName(int32_t number) {
  const LayerInfo* layer = findLayer(number);
  return layer != nullptr ? layer->name : "?";
}

struct Summary {
  double median, p95, p99, max;
};

Summary summarise(const std::vector<double>& ms) {
  return {percentile(ms, 0.5), percentile(ms, 0.95), percentile(ms, 0.99),
          ms.empty() ? 0.0 : *std::max_element(ms.begin(), ms.end())};
}

double outsideLayersMean(const BenchFigures& f) {
  return f.outsideLayersFrames > 0 ? f.outsideLayersMs / f.outsideLayersFrames : 0.0;
}
}  // namespace

double percentile(std::vector<double> samples, double share) {
  if (samples.empty()) return 0.0;
  std::sort(samples.begin(), samples.end());
  const double rank = std::ceil(std::clamp(share, 0.0, 1.0) * double(samples.size()));
  const size_t index = rank < 1.0 ? 0 : size_t(rank) - 1;
  return samples[std::min(index, samples.size() - 1)];
}

std::vector<size_t> slowestFrames(const std::vector<double>& frameMs, size_t count) {
  std::vector<size_t> order(frameMs.size());
  std::iota(order.begin(), order.end(), size_t(0));
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return frameMs[a] > frameMs[b]; });
  order.resize(std::min(count, order.size()));
  return order;
}

std::string benchReport(const BenchFigures& f) {
  const Summary s = summarise(f.frameMs);
  std::string text = "velmora --bench: rendition " + f.rendition + ", " + std::to_string(f.frameMs.size()) +
                     " frames of " + std::to_string(f.pictureWidth) + " x " + std::to_string(f.pictureHeight) + " at " +
                     std::to_string(f.fps) + " steps a second, on " + f.device + "\n";
  text += format("frame draw time (ms): median %.2f, 95th %.2f, 99th %.2f, max %.2f\n", s.median, s.p95, s.p99, s.max);
  text += "slowest moments:";
  for (size_t i : slowestFrames(f.frameMs, 3)) text += format(" %.2f s (%.1f ms)", f.demoTime[i], f.frameMs[i]);
  text += "\nper layer (" + f.layerClock + "): mean ms in the frames it drew, frames\n";
  for (const auto& [number, ms] : f.layerMs) {
    const int frames = f.layerFrames.at(number);
    text += format("  %2.0f ", number) + layerName(number);
    text += format(": %.2f ms, %.0f frames\n", frames > 0 ? ms / frames : 0.0, frames);
  }
  text += format("  outside the layers (passes, copies, glow, composition): %.2f ms, %.0f frames\n",
                 outsideLayersMean(f), f.outsideLayersFrames);
  return text;
}

std::string benchJson(const BenchFigures& f) {
  // Milliseconds to the microsecond: more digits would only be noise.
  const auto ms = [](double v) { return std::round(v * 1000.0) / 1000.0; };
  const Summary s = summarise(f.frameMs);
  nlohmann::ordered_json j;
  j["rendition"] = f.rendition;
  j["device"] = f.device;
  j["picture"] = {f.pictureWidth, f.pictureHeight};
  j["fps"] = f.fps;
  j["frames"] = f.frameMs.size();
  j["frameMs"] = {{"median", ms(s.median)}, {"p95", ms(s.p95)}, {"p99", ms(s.p99)}, {"max", ms(s.max)}};
  j["slowest"] = nlohmann::ordered_json::array();
  for (size_t i : slowestFrames(f.frameMs, 3)) {
    j["slowest"].push_back({{"demoTime", std::round(f.demoTime[i] * 1e4) / 1e4}, {"ms", ms(f.frameMs[i])}});
  }
  j["layerClock"] = f.layerClock;
  j["layers"] = nlohmann::ordered_json::array();
  for (const auto& [number, total] : f.layerMs) {
    const int frames = f.layerFrames.at(number);
    j["layers"].push_back({{"layer", number},
                           {"name", layerName(number)},
                           {"meanMs", ms(frames > 0 ? total / frames : 0.0)},
                           {"frames", frames}});
  }
  j["outsideLayers"] = {{"meanMs", ms(outsideLayersMean(f))}, {"frames", f.outsideLayersFrames}};
  return j.dump(2) + "\n";
}
