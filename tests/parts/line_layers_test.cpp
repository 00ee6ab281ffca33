// The line layers drawn from both parts' generated set-ups: which layers
// put lines on screen at a moment, and that the fixed-function rendition's
// lines are the shader rendition's without the drift.
#include <GL/gl.h>
#include <GL/glu.h>

#include <map>
#include <memory>
#include <set>
#include <vector>

#include "choreography/layer_windows.h"
#include "choreography/line_layers.h"
#include "choreography/mesh_layers.h"
#include "choreography/rendition.h"
#include "choreography/scene_layers.h"
#include "gl_call_counter.h"
#include "gl_test_context.h"
#include "parts/part_alpha.h"
#include "parts/part_beta.h"
#include "set_up_part.h"

namespace {

constexpr int kLineLayers[] = {5, 6, 10, 11, 15, 18, 20};

// The line layers draw through the line batch's glDrawArrays; no other
// layer draws arrays, so array draws tell whose lines reached the screen.
struct LineDrawsPerLayer final : LayerObserver {
  std::map<int, int> draws;  // the layers that drew lines, with their array draws
  std::set<int> seen, drawing;
  int before = 0;
  void beforeLayer(int32_t number) override { seen.insert(number), before = glDrawCounts().arrayDraws; }
  void afterLayer(int32_t number) override {
    if (glDrawCounts().arrayDraws > before) draws[number] += glDrawCounts().arrayDraws - before, drawing.insert(number);
  }
};

// The shader rendition with its lines left undrifted.
class UndriftedShader final : public Rendition {
 public:
  RenditionKind kind() const override { return shaderRendition().kind(); }
  void drawMesh(SceneFrame& frame, const MeshLook& look) const override { shaderRendition().drawMesh(frame, look); }
  bool driftsLines() const override { return false; }
  void setProgramAlpha(SceneFrame& frame, int32_t slot, float x, float y, float z) const override {
    shaderRendition().setProgramAlpha(frame, slot, x, y, z);
  }
  const OpeningLook& openingLook() const override { return shaderRendition().openingLook(); }
  const ClosingLook& closingLook() const override { return shaderRendition().closingLook(); }
  void drawShardLayer(SceneFrame& frame) const override { shaderRendition().drawShardLayer(frame); }
  double ghostAlpha() const override { return shaderRendition().ghostAlpha(); }
};

constexpr int kPixels = 160;

class LineLayersTest : public GlSuite<kPixels> {
 protected:
  static LineDrawsPerLayer frameAt(SetUpPart& s, const Rendition& rendition, double T) {
    s.part->partTime = T;
    s.part->lastFrameDelta = 1.0 / 60;
    SceneFrame frame = s.part->sceneFrame(*s.app, rendition);
    LineDrawsPerLayer observer;
    resetGlDrawCounts();
    drawScene(frame, &observer);
    return observer;
  }

  // Only the line layers 5, 6, 10, 11, 18 and 20 (the opening and closing
  // effects are closed at T) under a camera looking obliquely down on the
  // man, so that depth drift shows on screen.
  static std::vector<GLubyte> lineLayersPicture(SetUpPart& s, const Rendition& rendition, double T) {
    resetState();
    glMatrixMode(GL_PROJECTION);
    gluPerspective(60.0, 1.0, 0.1, 500.0);
    s.app->camera = CameraView{FlagVec3{1, 14, -16, 9}, FlagVec3{1, 0, -4, 0}, FlagVec3{1, 0, 0, 1}};
    s.part->partTime = T;
    SceneFrame frame = s.part->sceneFrame(*s.app, rendition);
    placeCamera(frame);
    for (const LayerDrawing& layer : layerDrawings()) {
      const LayerInfo* info = findLayer(layer.number);
      const bool line =
          std::find(std::begin(kLineLayers), std::end(kLineLayers), layer.number) != std::end(kLineLayers);
      if (!line || !info->window(rendition.kind()).contains(T)) continue;
      layer.draw(frame);
    }
    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);
    return windowRgb();
  }
};

int differingPixels(const std::vector<GLubyte>& a, const std::vector<GLubyte>& b) {
  int n = 0;
  for (size_t i = 0; i < a.size(); i += 3)
    if (a[i] != b[i] || a[i + 1] != b[i + 1] || a[i + 2] != b[i + 2]) ++n;
  return n;
}

// At 9.5 s the body wires, the swung segments, the ending opening effect
// and the man's faint skin; at 25 s (the second wire layer's gap) the
// streams and the facet and rock wires; at 29 s the second wire layer, the
// rocks and the closing effect with the ghost wires. Layer 11 is open at
// 29 s, but none of its streams runs any more.
TEST_F(LineLayersTest, LinesComeFromExactlyTheLayersOpenAtTheMoment) {
  const std::map<double, std::set<int>> expected{{9.5, {5, 10, 15, 20}}, {25.0, {11, 18}}, {29.0, {6, 18, 20}}};
  for (bool shader : {true, false}) {
    SetUpPart s = shader ? setUpPart<PartAlpha>() : setUpPart<PartBeta>();
    const Rendition& rendition = shader ? shaderRendition() : fixedFunctionRendition();
    for (const auto& [T, layers] : expected) {
      SCOPED_TRACE(std::string(shader ? "shader " : "fixed function ") + std::to_string(T));
      const LineDrawsPerLayer frame = frameAt(s, rendition, T);
      EXPECT_EQ(frame.drawing, layers);
      // The expectation agrees with the window table: every line layer
      // drawing is open, every open one draws (but the spent streams).
      for (int number : kLineLayers) {
        const bool open = findLayer(number)->window(rendition.kind()).contains(T);
        const bool streamsLeft = number != 11 || T < 27.0;
        EXPECT_EQ(layers.count(number) == 1, open && streamsLeft) << number;
      }
      // Line layers draw one array per width pass, never hundreds.
      for (auto [number, n] : frame.draws) EXPECT_LE(n, 40) << number;
    }
    // The opening effect draws at 10 s and is not even called after.
    EXPECT_EQ(frameAt(s, rendition, 10.0).drawing.count(15), 1u);
    EXPECT_EQ(frameAt(s, rendition, 10.0001).seen.count(15), 0u);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  }
}

// At 19.5 s every line layer with drift (5, 10 and 11) is open beside 6,
// 18 and 20. The fixed function draws what the shader rendition draws with
// drift switched off, pixel for pixel; with drift on, the limbs, segments
// and streams move.
TEST_F(LineLayersTest, TheFixedFunctionLinesAreTheShaderLinesUndrifted) {
  constexpr double T = 19.5;
  SetUpPart alpha = setUpPart<PartAlpha>();
  SetUpPart beta = setUpPart<PartBeta>();
  const UndriftedShader undrifted;
  const auto drifted = lineLayersPicture(alpha, shaderRendition(), T);
  const auto straight = lineLayersPicture(alpha, undrifted, T);
  const auto fixed = lineLayersPicture(beta, fixedFunctionRendition(), T);
  EXPECT_GT(litPixels(fixed), kPixels * kPixels / 20);
  EXPECT_EQ(differingPixels(fixed, straight), 0);
  EXPECT_GT(differingPixels(drifted, straight), kPixels * kPixels / 100);
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

}  // namespace
