#include "choreography/scene_layers.h"

#include "choreography/layer_windows.h"
#include "choreography/line_layers.h"
#include "choreography/mesh_layers.h"
#include "choreography/rendition.h"
#include "choreography/scene_frame.h"
#include "choreography/shard_layer.h"
#include "choreography/water_layer.h"

namespace {
// Layers still drawn by nothing are listed with null: the table keeps every
// row so the windows, the docs and the drawing cannot drift apart.
constexpr LayerDrawing kDrawings[] = {
    {0, drawBaseMesh},         {1, drawManCopies},     {2, drawHeart},   {3, placeCamera},     {4, nullptr},
    {5, drawBodyWires},        {6, drawKneelingWires}, {7, nullptr},     {8, nullptr},         {9, nullptr},
    {10, drawSwungSegments},   {11, drawStreams},      {12, drawManGon}, {13, drawGround},     {14, drawWater},
    {15, drawOpening},         {16, nullptr},          {17, nullptr},    {18, drawFacetWires}, {19, drawShardsOrQuad},
    {20, drawClosingAndWires},
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
