#pragma once
#include <cstdint>
#include <span>

struct SceneFrame;

// One layer's drawing; called only while the layer's window is open.
using LayerFunction = void (*)(SceneFrame& frame);

struct LayerDrawing {
  int32_t number;
  LayerFunction draw;  // null draws nothing
  const char* file;    // where the drawing lives, under src/; "" when none
};

// The drawing function of every layer, in the order of choreographyLayers().
std::span<const LayerDrawing> layerDrawings();

// Watches each layer that is drawn: for benchmarks and tests.
struct LayerObserver {
  virtual void beforeLayer(int32_t number) = 0;
  virtual void afterLayer(int32_t number) = 0;

 protected:
  ~LayerObserver() = default;
};

// The whole picture of one frame: the prologue, then every layer whose
// window (for the frame's rendition) holds the frame's part time, in table
// order.
void drawScene(SceneFrame& frame, LayerObserver* observer = nullptr);
