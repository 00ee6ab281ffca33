#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

// What `--bench` measured over one whole run, and how it is told.
struct BenchFigures {
  std::string rendition;  // renditionName of what was measured
  std::string device;     // the GL renderer string
  int fps = 30;
  int pictureWidth = 800;  // the picture drawn, in pixels
  int pictureHeight = 600;
  // Draw time of each frame in milliseconds, and the demo time it showed.
  std::vector<double> frameMs;
  std::vector<double> demoTime;
  // Per layer: milliseconds summed over the run, and in how many frames
  // the layer drew.
  std::map<int32_t, double> layerMs;
  std::map<int32_t, int> layerFrames;
  std::string layerClock;  // how the layers were timed
  // The frames drawn layer by layer: their whole time minus their layers'
  // time, summed, and how many there were. What the passes, the copies,
  // the glow and the composition cost beside the layers.
  double outsideLayersMs = 0.0;
  int outsideLayersFrames = 0;
};

// The value below which `share` (0..1) of the samples lie: the nearest rank
// of the sorted samples. 0 for no samples.
double percentile(std::vector<double> samples, double share);

// Indexes of the `count` slowest frames, slowest first; ties keep the earlier.
std::vector<size_t> slowestFrames(const std::vector<double>& frameMs, size_t count);

// The figures as text for a person, and as JSON for tools.
std::string benchReport(const BenchFigures& figures);
std::string benchJson(const BenchFigures& figures);
