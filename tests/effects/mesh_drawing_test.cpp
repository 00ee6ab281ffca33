#include "effects/mesh_drawing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/diagnostics.h"
#include "demo/demo_app.h"
#include "geometry/mesh_sampling.h"
#include "gl_call_counter.h"
#include "gl_test_context.h"

namespace {

constexpr int kScene = 0;
constexpr int kPair = 2;  // mesh_vertex + mesh_fragment
constexpr int kModelViewProj = 5;

using Mask = std::vector<bool>;

class MeshDrawing : public GlSuite<96> {
 protected:
  static void SetUpTestSuite() {
    GlSuite::SetUpTestSuite();
    std::filesystem::current_path(VELMORA_BINARY_DIR "/data");  // maps are under "meshes/"
    app = std::make_unique<DemoApp>();
    setDiagnosticWriter([](DiagnosticLevel, const std::string& line) { messages.push_back(line); });
    app->loadScene(kScene, 1.0, "meshes/man.3ds");
    ASSERT_FALSE(app->textures.loadingFailed());
    ASSERT_GT(scene().objectCount(), 3);
    ASSERT_EQ(app->sceneBuffers[kScene].objects.size(), std::size_t(scene().objectCount()));
    CgShaderSet& cg = app->cgShaders;
    cg.createContext();
    const std::string dir = std::string(VELMORA_SOURCE_DIR) + "/tests/gpu/programs/";
    cg.createVertexProgram(dir + "mesh_vertex.glsl", kPair);
    cg.createFragmentProgram(dir + "mesh_fragment.glsl", kPair + 1);
    cg.lookUpParameter(kPair, kModelViewProj, "ModelViewProj");
    cg.lookUpParameter(kPair, 14, "ModelViewObject");
    ASSERT_TRUE(messages.empty()) << messages.front();
    // The scene's extent at time 0, placed as drawing places it.
    float low[3] = {1e30f, 1e30f, 1e30f}, high[3] = {-1e30f, -1e30f, -1e30f};
    for (int i = 0; i < scene().objectCount(); ++i) {
      Matrix4d m;
      objectMatrix(scene(), MeshDrawState{}, i, 0.0, m);
      for (int f = 0; f < scene().objects[std::size_t(i)].faceCount(); ++f) {
        FlagVec3 v[3];
        faceVertices(scene(), i, f, m, v[0], v[1], v[2]);
        for (const FlagVec3& p : v)
          for (int k = 0; k < 3; ++k) low[k] = std::min(low[k], (&p.x)[k]), high[k] = std::max(high[k], (&p.x)[k]);
      }
    }
    for (int k = 0; k < 3; ++k) centre[k] = 0.5 * (low[k] + high[k]);
    reach = 0.5 * std::max({high[0] - low[0], high[1] - low[1], high[2] - low[2]});
  }
  static void TearDownTestSuite() {
    setDiagnosticWriter({});
    app.reset();
    GlSuite::TearDownTestSuite();
  }

  // An orthographic view down -z that holds the scene with room to move.
  void SetUp() override {
    GlSuite::SetUp();
    app->meshDraw = MeshDrawState{};
    app->depthPassActive = false;
    glClear(GL_DEPTH_BUFFER_BIT);
    const double r = reach * 1.4;
    glMatrixMode(GL_PROJECTION);
    glOrtho(centre[0] - r, centre[0] + r, centre[1] - r, centre[1] + r, -(centre[2] + 4 * r), -(centre[2] - 4 * r));
    glMatrixMode(GL_MODELVIEW);
    resetGlDrawCounts();
  }
  void TearDown() override { app->cgShaders.disableProfiles(); }

  static const Scene3ds& scene() { return app->scenes[kScene]; }

  static void drawFixed(int flags = 0) {
    double time = 0.0;
    drawMeshScene(*app, kScene, flags, time);
  }
  static void drawShader(int slot = kPair, int flags = 0) {
    CgShaderSet& cg = app->cgShaders;
    cg.bindProgram(slot);
    cg.bindProgram(slot + 1);
    cg.enableFragmentProfile();
    cg.enableVertexProfile();
    cg.setModelViewProjection(slot, kModelViewProj);
    double time = 0.0;
    drawMeshSceneCg(*app, kScene, flags, time, 0, 0, slot);
    cg.disableProfiles();
  }
  static void draw(bool shader) { shader ? drawShader() : drawFixed(); }

  // Index counts of the whole face lists of the objects drawn.
  static std::vector<int> wholeLists() {
    std::vector<int> counts;
    for (const MeshObject& o : scene().objects) counts.push_back(3 * o.faceCount());
    return counts;
  }

  static Mask coverage() {
    const std::vector<GLubyte> rgb = windowRgb();
    Mask mask(std::size_t(kSize) * kSize);
    for (std::size_t i = 0; i < mask.size(); ++i) mask[i] = rgb[3 * i] + rgb[3 * i + 1] + rgb[3 * i + 2] > 0;
    return mask;
  }

  // Pixels of `a` with no pixel of `b` at most one pixel away.
  static int strays(const Mask& a, const Mask& b) {
    int count = 0;
    for (int y = 0; y < kSize; ++y)
      for (int x = 0; x < kSize; ++x) {
        bool near = !a[std::size_t(y * kSize + x)];
        for (int d = 0; d < 9 && !near; ++d) {
          const int u = x + d % 3 - 1, v = y + d / 3 - 1;
          near = u >= 0 && v >= 0 && u < kSize && v < kSize && b[std::size_t(v * kSize + u)];
        }
        count += !near;
      }
    return count;
  }

  static void clearAll() { glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT); }

  static inline std::unique_ptr<DemoApp> app;
  static inline std::vector<std::string> messages;
  static inline double centre[3] = {0, 0, 0};
  static inline double reach = 1.0;
};

// Each object is one indexed draw of the leading share of its face list
// (truncated; the whole at most, nothing below a share of one index).
TEST_F(MeshDrawing, EachObjectIsOneIndexedDrawOfTheLeadingShareOfItsFaces) {
  std::vector<int> half;
  for (const MeshObject& o : scene().objects) half.push_back(int(float(o.faceCount()) * 0.5f * 3.0f));
  EXPECT_EQ(drawnIndexCount(101, 0.5f), 151);
  EXPECT_EQ(drawnIndexCount(101, 7.0f), 303);
  EXPECT_EQ(drawnIndexCount(101, -0.5f), 0);
  for (bool shader : {false, true}) {
    auto drawn = [&](float fraction) {
      resetGlDrawCounts();
      app->meshDraw.faceFraction = fraction;
      shader ? drawShader(kPair, kMeshNormals | kMeshTexCoords | kMeshMaterialTextures)
             : drawFixed(kMeshNormals | kMeshTexCoords);
      EXPECT_EQ(glDrawCounts().begins + glDrawCounts().arrayDraws, 0);
      return glDrawCounts().indexCounts;
    };
    SCOPED_TRACE(shader ? "shader" : "fixed function");
    EXPECT_EQ(drawn(1.0f), wholeLists());
    EXPECT_EQ(drawn(0.5f), half);
    EXPECT_EQ(drawn(2.0f), wholeLists());
    for (float nothing : {1e-4f, 0.0f, -1.0f}) EXPECT_TRUE(drawn(nothing).empty()) << nothing;
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  }
}

// The shader variant places objects on the texture matrix for the vertex
// program; the fixed-function one on the modelview. Same placement, same
// pixels (give or take one at the silhouette).
TEST_F(MeshDrawing, BothVariantsCoverTheSamePixels) {
  for (const char* how : {"translated", "rotated", "placed by a basis", "scaled unevenly"}) {
    Mask masks[2];
    for (bool shader : {false, true}) {
      MeshDrawState& s = app->meshDraw = MeshDrawState{};
      const std::string c = how;
      if (c == "translated") s.translate = {1, float(0.3 * reach), float(-0.2 * reach), 0};
      if (c == "rotated") s.angle = 35.0, s.axis = {1, 0.3f, 1.0f, 0.2f};
      if (c == "scaled unevenly") s.scale = {1, 0.8f, 0.5f, 1.2f};
      if (c == "placed by a basis") {
        s.translate = {1, float(0.1 * reach), 0, 0};
        s.angle = shader ? 0.0 : 90.0, s.axis = {1, 0, 0, 1};
        s.useBasis = shader;  // a quarter turn about z, as columns
        s.basis[0] = {1, 0, 1, 0}, s.basis[1] = {1, -1, 0, 0}, s.basis[2] = {1, 0, 0, 1};
      }
      clearAll();
      glEnable(GL_DEPTH_TEST);
      draw(shader);
      masks[shader] = coverage();
    }
    EXPECT_GT(std::count(masks[0].begin(), masks[0].end(), true), kSize * kSize / 40) << how;
    EXPECT_EQ(strays(masks[0], masks[1]), 0) << how;
    EXPECT_EQ(strays(masks[1], masks[0]), 0) << how;
  }
}

}  // namespace
