#include "choreography/scene_layers.h"

#include "choreography/backdrop_layer.h"
#include "choreography/billboard_layers.h"
#include "choreography/layer_windows.h"
#include "choreography/line_layers.h"
#include "choreography/mesh_layers.h"
#include "choreography/point_layers.h"
#include "choreography/rendition.h"
#include "choreography/scene_frame.h"
#include "choreography/shard_layer.h"
#include "choreography/water_layer.h"

namespace {
// Every row of the window table with the function that draws it and its
// file, so the windows, the docs and the drawing cannot drift apart.
constexpr LayerDrawing kDrawings[] = {
    {0, drawBaseMesh, "choreography/mesh_layers.cpp"},
    {1, drawManCopies, "choreography/mesh_layers.cpp"},
    {2, drawHeart, "choreography/mesh_layers.cpp"},
    {3, placeCamera, "choreography/mesh_layers.cpp"},
    {4, drawCameraQuads, "choreography/billboard_layers.cpp"},
    {5, drawBodyWires, "choreography/line_layers.cpp"},
    {6, drawKneelingWires, "choreography/line_layers.cpp"},
    {7, drawFogAndBackdrop, "choreography/backdrop_layer.cpp"},
    {8, drawTwinklingPoints, "choreography/point_layers.cpp"},
    {9, drawDriftingPoints, "choreography/point_layers.cpp"},
    {10, drawSwungSegments, "choreography/line_layers.cpp"},
    {11, drawStreams, "choreography/line_layers.cpp"},
    {12, drawManGon, "choreography/mesh_layers.cpp"},
    {13, drawGround, "choreography/mesh_layers.cpp"},
    {14, drawWater, "choreography/water_layer.cpp"},
    {15, drawOpening, "choreography/line_layers.cpp"},
    {16, drawWings, "choreography/billboard_layers.cpp"},
    {17, drawLineOfLights, "choreography/billboard_layers.cpp"},
    {18, drawFacetWires, "choreography/line_layers.cpp"},
    {19, drawShardLayer, "choreography/shard_layer.cpp"},
    {20, drawClosingAndWires, "choreography/line_layers.cpp"},
};
}  // namespace

std::span<const LayerDrawing> layerDrawings() { return kDrawings; }

void drawScene(SceneFrame& frame, LayerObserver* observer) {
  drawPrologue(frame);
  const auto layers = choreographyLayers();
  const RenditionKind kind = frame.rendition.kind();
  for (size_t i = 0; i < layers.size(); ++i) {
    const LayerInfo& layer = layers[i];
    // The base mesh's growth is its own: every later layer starts whole.
    if (i == 1) finishPrologue(frame);
    if (kDrawings[i].draw == nullptr || !layer.window(kind).contains(frame.T)) continue;
    if (observer != nullptr) observer->beforeLayer(layer.number);
    kDrawings[i].draw(frame);
    if (observer != nullptr) observer->afterLayer(layer.number);
  }
}
