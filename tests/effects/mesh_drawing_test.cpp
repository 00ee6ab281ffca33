#include "effects/mesh_drawing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "assets/scene_loading.h"
#include "core/diagnostics.h"
#include "demo/demo_app.h"
#include "effects/mesh_sampling.h"
#include "gl_call_counter.h"
#include "gl_test_context.h"
#include "gpu/gl_entry_points.h"
#include "math/random.h"

namespace {

constexpr int kScene = 0;
constexpr int kPair = 2;          // mesh_vertex + mesh_fragment
constexpr int kMaterialPair = 4;  // mesh_vertex + mesh_material_fragment
constexpr int kModelViewProj = 5;
constexpr int kModelViewObject = 14;

std::string programFile(const char* name) { return std::string(VELMORA_SOURCE_DIR) + "/tests/gpu/programs/" + name; }

using Mask = std::vector<bool>;

class MeshDrawing : public GlSuite<96> {
 protected:
  static void SetUpTestSuite() {
    GlSuite::SetUpTestSuite();
    // Material maps are looked for under "meshes/", as the demo runs.
    std::filesystem::current_path(VELMORA_BINARY_DIR "/data");
    app = std::make_unique<DemoApp>();
    setDiagnosticWriter([](DiagnosticLevel, const std::string& line) { messages.push_back(line); });
    app->loadScene(kScene, 1.0, "meshes/man.3ds");
    ASSERT_FALSE(app->textures.loadingFailed());
    ASSERT_GT(scene().objectCount(), 3);
    ASSERT_EQ(app->sceneBuffers[kScene].objects.size(), std::size_t(scene().objectCount()));
    loadPair(kPair, "mesh_fragment.glsl");
    loadPair(kMaterialPair, "mesh_material_fragment.glsl");
    ASSERT_TRUE(messages.empty()) << messages.front();
    measureScene();
  }
  static void TearDownTestSuite() {
    setDiagnosticWriter({});
    app.reset();
    GlSuite::TearDownTestSuite();
  }

  void SetUp() override {
    GlSuite::SetUp();
    app->meshDraw = MeshDrawState{};
    app->depthPassActive = false;
    glClear(GL_DEPTH_BUFFER_BIT);
    lookAtScene();
    resetGlDrawCounts();
  }
  void TearDown() override { app->cgShaders.disableProfiles(); }

  static const Scene3ds& scene() { return app->scenes[kScene]; }

  static void loadPair(int slot, const char* fragment) {
    CgShaderSet& cg = app->cgShaders;
    cg.createContext();
    cg.createVertexProgram(programFile("mesh_vertex.glsl"), slot);
    cg.createFragmentProgram(programFile(fragment), slot + 1);
    cg.lookUpParameter(slot, kModelViewProj, "ModelViewProj");
    cg.lookUpParameter(slot, kModelViewObject, "ModelViewObject");
  }

  // The scene's extent at time 0, placed as drawing places it.
  static void measureScene() {
    float low[3] = {1e30f, 1e30f, 1e30f}, high[3] = {-1e30f, -1e30f, -1e30f};
    const MeshDrawState state;
    for (int i = 0; i < scene().objectCount(); ++i) {
      Matrix4d m;
      objectMatrix(scene(), state, i, 0.0, m);
      for (int f = 0; f < scene().objects[std::size_t(i)].faceCount(); ++f) {
        FlagVec3 v[3];
        faceVertices(scene(), i, f, m, v[0], v[1], v[2]);
        for (const FlagVec3& p : v) {
          const float c[3] = {p.x, p.y, p.z};
          for (int k = 0; k < 3; ++k) low[k] = std::min(low[k], c[k]), high[k] = std::max(high[k], c[k]);
        }
      }
    }
    for (int k = 0; k < 3; ++k) centre[k] = 0.5 * (low[k] + high[k]);
    reach = 0.5 * std::max({high[0] - low[0], high[1] - low[1], high[2] - low[2]});
  }

  // An orthographic view down -z that holds the scene with room to move.
  static void lookAtScene() {
    const double r = reach * 1.4;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(centre[0] - r, centre[0] + r, centre[1] - r, centre[1] + r, -(centre[2] + 4 * r), -(centre[2] - 4 * r));
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
  }

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

  // Index counts of whole face lists, object by object.
  static std::vector<int> wholeLists(std::initializer_list<int> objects) {
    std::vector<int> counts;
    for (int i : objects) counts.push_back(3 * scene().objects[std::size_t(i)].faceCount());
    return counts;
  }
  static std::vector<int> everyWholeList() {
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
    for (int y = 0; y < kSize; ++y) {
      for (int x = 0; x < kSize; ++x) {
        if (!a[std::size_t(y * kSize + x)]) continue;
        bool near = false;
        for (int dy = -1; dy <= 1 && !near; ++dy) {
          for (int dx = -1; dx <= 1 && !near; ++dx) {
            const int u = x + dx, v = y + dy;
            near = u >= 0 && v >= 0 && u < kSize && v < kSize && b[std::size_t(v * kSize + u)];
          }
        }
        if (!near) ++count;
      }
    }
    return count;
  }

  static void clearAll() { glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT); }

  static inline std::unique_ptr<DemoApp> app;
  static inline std::vector<std::string> messages;
  static inline double centre[3] = {0, 0, 0};
  static inline double reach = 1.0;
};

TEST_F(MeshDrawing, EveryObjectIsOneIndexedDrawOfItsWholeFaceList) {
  drawFixed(kMeshNormals | kMeshTexCoords);
  EXPECT_EQ(glDrawCounts().indexCounts, everyWholeList());
  EXPECT_EQ(glDrawCounts().begins + glDrawCounts().arrayDraws, 0);
  resetGlDrawCounts();
  drawShader(kPair, kMeshNormals | kMeshTexCoords | kMeshMaterialTextures);
  EXPECT_EQ(glDrawCounts().indexCounts, everyWholeList());
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(MeshDrawing, FaceFractionDrawsTheLeadingShareOfEachList) {
  app->meshDraw.faceFraction = 0.5f;
  drawFixed();
  std::vector<int> half;
  for (const MeshObject& o : scene().objects) half.push_back(int(float(o.faceCount()) * 0.5f * 3.0f));
  EXPECT_EQ(glDrawCounts().indexCounts, half);

  for (float nothing : {1e-4f, 0.0f, -1.0f}) {
    resetGlDrawCounts();
    app->meshDraw.faceFraction = nothing;
    drawFixed();
    drawShader();
    EXPECT_EQ(glDrawCounts().elementDraws, 0) << nothing;
  }
  // More than the whole list would read past it.
  resetGlDrawCounts();
  app->meshDraw.faceFraction = 2.0f;
  drawShader();
  EXPECT_EQ(glDrawCounts().indexCounts, everyWholeList());
}

TEST_F(MeshDrawing, TranslucentScenesAreDrawnDepthFirst) {
  std::vector<int> twice = everyWholeList();
  twice.insert(twice.end(), twice.begin(), twice.end());
  auto drawnWith = [&](double alpha, bool force, bool shader) {
    resetGlDrawCounts();
    app->meshDraw.alpha = alpha;
    app->meshDraw.forcePrepass = force;
    shader ? drawShader() : drawFixed();
    return glDrawCounts().indexCounts;
  };
  for (bool shader : {false, true}) {
    EXPECT_EQ(drawnWith(0.99989, false, shader), twice) << shader;
    EXPECT_EQ(drawnWith(0.9999, false, shader), everyWholeList()) << shader;
    EXPECT_EQ(drawnWith(1.0, true, shader), twice) << shader;
    // Only the shader variant uses the flag up.
    EXPECT_EQ(app->meshDraw.forcePrepass, !shader);
    GLint depthFunc = 0;
    glGetIntegerv(GL_DEPTH_FUNC, &depthFunc);
    EXPECT_EQ(depthFunc, GL_LESS);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
  }
}

TEST_F(MeshDrawing, FiltersDrawExactlyTheObjectsTheyLetThrough) {
  struct Case {
    int only, excluded;
    std::vector<int32_t> hidden;
    std::vector<int> drawn;
  };
  const int n = scene().objectCount();
  std::vector<int> allButOne, allButTwo;
  for (int i = 0; i < n; ++i) {
    if (i != 1) allButOne.push_back(i);
    if (i != 0 && i != 2) allButTwo.push_back(i);
  }
  const Case cases[] = {
      {1, -1, {}, {1}}, {-1, 1, {}, allButOne}, {2, 2, {}, {}}, {-1, -1, {0, 2}, allButTwo},
      {2, -1, {2}, {}}, {n + 5, -1, {}, {}},
  };
  for (const Case& c : cases) {
    for (bool shader : {false, true}) {
      resetGlDrawCounts();
      app->meshDraw.onlyObject = c.only;
      app->meshDraw.excludedObject = c.excluded;
      app->meshDraw.hiddenObjects = c.hidden;
      shader ? drawShader() : drawFixed();
      std::vector<int> expected;
      for (int i : c.drawn) expected.push_back(3 * scene().objects[std::size_t(i)].faceCount());
      EXPECT_EQ(glDrawCounts().indexCounts, expected) << "only " << c.only << " excluded " << c.excluded;
    }
  }
  app->meshDraw.hiddenObjects = {4, 2};
  EXPECT_FALSE(isObjectShown(app->meshDraw, 2));
  EXPECT_TRUE(isObjectShown(app->meshDraw, 3));
  EXPECT_TRUE(isObjectShown(MeshDrawState{}, 2));
}

// The buffer objects are what the GPU draws; the client copies are what
// sampling and face lookups read. They must be the same mesh.
TEST_F(MeshDrawing, BufferObjectsHoldWhatSamplingAndFaceLookupsRead) {
  auto& ext = glExtensionTable;
  std::vector<std::vector<float>> drawnPositions;
  for (int i = 0; i < scene().objectCount(); ++i) {
    const MeshObject& o = scene().objects[std::size_t(i)];
    const ObjectBuffers& b = app->sceneBuffers[kScene].objects[std::size_t(i)];
    auto readBack = [&](std::size_t offset, std::size_t count) {
      std::vector<float> out(count);
      ext.glGetBufferSubData(GL_ARRAY_BUFFER, GLintptr(offset), GLsizeiptr(count * sizeof(float)), out.data());
      return out;
    };
    ext.glBindBuffer(GL_ARRAY_BUFFER, b.vertexBuffer);
    const std::vector<float> positions = readBack(0, o.vertices.size());
    EXPECT_EQ(positions, o.vertices) << i;
    EXPECT_EQ(readBack(b.normalOffset, o.normals.size()), o.normals) << i;
    EXPECT_EQ(readBack(b.tangentOffset, o.tangents.size()), o.tangents) << i;
    EXPECT_EQ(readBack(b.texCoordOffset, o.texCoords.size()), o.texCoords) << i;
    ext.glBindBuffer(GL_ARRAY_BUFFER, 0);
    std::vector<uint16_t> faces(o.faces.size());
    ext.glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, b.indexBuffer);
    ext.glGetBufferSubData(GL_ELEMENT_ARRAY_BUFFER, 0, GLsizeiptr(faces.size() * 2), faces.data());
    ext.glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    ASSERT_EQ(faces, o.faces) << i;

    // Face lookups give the drawn positions, placed.
    Matrix4d m;
    objectMatrix(scene(), app->meshDraw, i, 0.0, m);
    std::vector<float> placed;
    for (int f = 0; f < o.faceCount(); ++f) {
      FlagVec3 v[3];
      ASSERT_TRUE(faceVertices(scene(), i, f, m, v[0], v[1], v[2]));
      for (int k = 0; k < 3; ++k) {
        FlagVec3 expected;
        const std::size_t at = std::size_t(faces[std::size_t(3 * f + k)]) * 3;
        transformPoint(m, FlagVec3{1, positions[at], positions[at + 1], positions[at + 2]}, expected);
        EXPECT_EQ(v[k].x, expected.x);
        EXPECT_EQ(v[k].y, expected.y);
        EXPECT_EQ(v[k].z, expected.z);
        placed.insert(placed.end(), {expected.x, expected.y, expected.z});
      }
    }
    drawnPositions.push_back(std::move(placed));
  }

  // Every surface sample lies on a drawn triangle.
  constexpr int kSamples = 60;
  std::vector<FlagVec3> points(kSamples), normals(kSamples), crosses(kSamples), tangents(kSamples);
  seedRandom(31000);
  sampleSurface(scene(), app->meshDraw, kSamples, 0.0, points.data(), normals.data(), crosses.data(), tangents.data());
  const double tolerance = reach * 1e-4;
  for (const FlagVec3& p : points) {
    bool onATriangle = false;
    for (const std::vector<float>& t : drawnPositions) {
      for (std::size_t f = 0; f + 8 < t.size() && !onATriangle; f += 9) {
        // Barycentric weights of p in the triangle (a, b, c), and its
        // distance from the triangle's plane.
        const double a[3] = {t[f], t[f + 1], t[f + 2]};
        double e1[3], e2[3], d[3];
        for (int k = 0; k < 3; ++k) e1[k] = t[f + 3 + k] - a[k], e2[k] = t[f + 6 + k] - a[k];
        d[0] = p.x - a[0], d[1] = p.y - a[1], d[2] = p.z - a[2];
        const double n[3] = {e1[1] * e2[2] - e1[2] * e2[1], e1[2] * e2[0] - e1[0] * e2[2],
                             e1[0] * e2[1] - e1[1] * e2[0]};
        const double area2 = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
        if (area2 < 1e-12) continue;
        if (std::fabs((d[0] * n[0] + d[1] * n[1] + d[2] * n[2]) / area2) > tolerance) continue;
        auto dot = [](const double* x, const double* y) { return x[0] * y[0] + x[1] * y[1] + x[2] * y[2]; };
        const double d00 = dot(e1, e1), d01 = dot(e1, e2), d11 = dot(e2, e2), d20 = dot(d, e1), d21 = dot(d, e2);
        const double det = d00 * d11 - d01 * d01;
        const double v = (d11 * d20 - d01 * d21) / det, w = (d00 * d21 - d01 * d20) / det;
        onATriangle = v >= -1e-3 && w >= -1e-3 && v + w <= 1 + 1e-3;
      }
      if (onATriangle) break;
    }
    EXPECT_TRUE(onATriangle) << p.x << " " << p.y << " " << p.z;
  }
}

// The shader variant places objects on the texture matrix for the vertex
// program; the fixed-function one on the modelview. Same placement, same
// pixels (give or take one at the silhouette).
TEST_F(MeshDrawing, BothVariantsCoverTheSamePixels) {
  struct Case {
    const char* name;
    void (*place)(MeshDrawState& state, bool shader);
  };
  static const double r = reach;
  const Case cases[] = {
      {"translated",
       [](MeshDrawState& s, bool) {
         s.translate = {1, float(0.3 * r), float(-0.2 * r), 0};
       }},
      {"rotated",
       [](MeshDrawState& s, bool) {
         s.angle = 35.0;
         s.axis = {1, 0.3f, 1.0f, 0.2f};
       }},
      {"placed by a basis",
       [](MeshDrawState& s, bool shader) {
         s.translate = {1, float(0.1 * r), 0, 0};
         if (shader) {
           // A quarter turn about z, as columns.
           s.useBasis = true;
           s.basis[0] = {1, 0, 1, 0};
           s.basis[1] = {1, -1, 0, 0};
           s.basis[2] = {1, 0, 0, 1};
         } else {
           s.angle = 90.0;
           s.axis = {1, 0, 0, 1};
         }
       }},
      {"scaled unevenly",
       [](MeshDrawState& s, bool) {
         s.scale = {1, 0.8f, 0.5f, 1.2f};
       }},
  };
  for (const Case& c : cases) {
    Mask masks[2];
    for (bool shader : {false, true}) {
      app->meshDraw = MeshDrawState{};
      c.place(app->meshDraw, shader);
      clearAll();
      glEnable(GL_DEPTH_TEST);
      shader ? drawShader() : drawFixed();
      masks[shader] = coverage();
    }
    const long covered = std::count(masks[0].begin(), masks[0].end(), true);
    EXPECT_GT(covered, kSize * kSize / 40) << c.name;
    EXPECT_EQ(strays(masks[0], masks[1]), 0) << c.name;
    EXPECT_EQ(strays(masks[1], masks[0]), 0) << c.name;
  }
}

// The depth pass and the colour pass must agree on every depth, or the
// colour pass (GL_EQUAL) leaves holes where the mesh should show.
TEST_F(MeshDrawing, TranslucentDrawsLeaveNoHoles) {
  for (bool shader : {false, true}) {
    app->meshDraw = MeshDrawState{};
    app->meshDraw.scale = {1, 1.1f, 0.7f, 1.3f};
    app->meshDraw.angle = 20.0;
    app->meshDraw.axis = {1, 1, 1, 0};
    clearAll();
    glEnable(GL_DEPTH_TEST);
    shader ? drawShader() : drawFixed();
    const Mask solid = coverage();

    clearAll();
    glColor4f(1, 1, 1, 0.5f);
    app->meshDraw.alpha = 0.5;
    shader ? drawShader() : drawFixed();
    const std::vector<GLubyte> rgb = windowRgb();
    int holes = 0, covered = 0;
    for (std::size_t i = 0; i < solid.size(); ++i) {
      if (!solid[i]) continue;
      ++covered;
      if (std::abs(int(rgb[3 * i]) - 128) > 2) ++holes;
    }
    EXPECT_GT(covered, kSize * kSize / 40) << shader;
    EXPECT_EQ(holes, 0) << (shader ? "shader" : "fixed function") << " variant, of " << covered;
  }
}

// Per-material maps: the colour map on "texture2", its normal map on
// "texture", by the numbers loadScene gave the scene's maps.
TEST_F(MeshDrawing, MaterialMapsGoToTheirSamplers) {
  // The last object's last reference with a map is bound last.
  std::size_t textured = 0;
  int32_t lastNumber = -1;
  for (const MeshObject& o : scene().objects) {
    for (int32_t index : o.materialIndexes) {
      if (stringHash(scene().material(index)->textureMap1Name()) == 0) continue;
      lastNumber = sceneTextureNumber(kScene, scene().materialSlots[textured++]);
    }
  }
  ASSERT_GT(lastNumber, 99999);
  ASSERT_NE(app->textures.name(lastNumber), 0u);
  ASSERT_NE(app->textures.name(lastNumber + kNormalMapOffset), 0u);

  drawShader(kMaterialPair, kMeshTexCoords | kMeshMaterialTextures);
  CgShaderSet& cg = app->cgShaders;
  auto boundOn = [&](const char* sampler) {
    const CgParameter p = cg.namedParameter(kMaterialPair + 1, sampler);
    GLint bound = 0;
    glActiveTexture(GLenum(GL_TEXTURE0 + p.unit));
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    glActiveTexture(GL_TEXTURE0);
    return GLuint(bound);
  };
  EXPECT_EQ(boundOn("texture2"), app->textures.name(lastNumber));
  EXPECT_EQ(boundOn("texture"), app->textures.name(lastNumber + kNormalMapOffset));

  // Nothing is bound while the depth pass draws: no fragment program reads it.
  glActiveTexture(GLenum(GL_TEXTURE0 + cg.namedParameter(kMaterialPair + 1, "texture2").unit));
  glBindTexture(GL_TEXTURE_2D, 0);
  glActiveTexture(GL_TEXTURE0);
  app->depthPassActive = true;
  drawShader(kMaterialPair, kMeshTexCoords | kMeshMaterialTextures);
  EXPECT_EQ(boundOn("texture2"), 0u);
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

// What the hook saw of the GL each time it ran.
struct HookCall {
  bool before;
  GLint pipeline;
  GLboolean depthMask;
  GLboolean depthTest;
  int drawsSoFar;
};
std::vector<HookCall> hookCalls;

void recordingHook(DemoApp&, bool before) {
  HookCall call{before, -1, GL_FALSE, GL_FALSE, glDrawCounts().elementDraws};
  glGetIntegerv(GL_PROGRAM_PIPELINE_BINDING, &call.pipeline);
  glGetBooleanv(GL_DEPTH_WRITEMASK, &call.depthMask);
  call.depthTest = glIsEnabled(GL_DEPTH_TEST);
  hookCalls.push_back(call);
  glDepthMask(GL_TRUE);  // put back by the routine
}

// The fragment program the current pipeline runs; 0 for fixed function.
GLint fragmentStage() {
  GLint pipeline = 0, program = 0;
  glGetIntegerv(GL_PROGRAM_PIPELINE_BINDING, &pipeline);
  if (pipeline != 0) glExtensionTable.glGetProgramPipelineiv(GLuint(pipeline), GL_FRAGMENT_SHADER, &program);
  return program;
}

TEST_F(MeshDrawing, TheHookRunsWithBothProgramStagesOffBeforeOrAfterTheMeshes) {
  app->meshDraw.hook = recordingHook;
  app->meshDraw.hookEnabled = true;
  const int objects = scene().objectCount();
  for (bool before : {true, false}) {
    hookCalls.clear();
    resetGlDrawCounts();
    app->meshDraw.hookBefore = before;
    drawShader();
    ASSERT_EQ(hookCalls.size(), 1u);
    const HookCall& call = hookCalls[0];
    EXPECT_EQ(call.before, before);
    EXPECT_EQ(call.pipeline, 0) << "a program stage was on";
    EXPECT_EQ(bool(call.depthMask), before);
    EXPECT_TRUE(call.depthTest);
    EXPECT_EQ(call.drawsSoFar, before ? 0 : objects);
    GLboolean mask = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &mask);
    EXPECT_TRUE(mask);
  }

  // In the depth pass the fragment stage is off, and the hook must not
  // turn it on for the meshes drawn after it.
  CgShaderSet& cg = app->cgShaders;
  app->meshDraw.hookBefore = true;
  app->depthPassActive = true;
  cg.bindProgram(kPair);
  cg.enableVertexProfile();
  double time = 0.0;
  drawMeshSceneCg(*app, kScene, 0, time, 0, 0, kPair);
  EXPECT_EQ(fragmentStage(), 0);
  app->depthPassActive = false;
  cg.bindProgram(kPair + 1);
  drawMeshSceneCg(*app, kScene, 0, time, 0, 0, kPair);
  EXPECT_EQ(GLuint(fragmentStage()), cg.programs[kPair + 1].program);
  cg.disableProfiles();
}

TEST(MeshDrawCounts, IndexCountsTruncateAndStayInsideTheList) {
  EXPECT_EQ(drawnIndexCount(101, 0.5f), 151);
  EXPECT_EQ(drawnIndexCount(101, 1.0f), 303);
  EXPECT_EQ(drawnIndexCount(101, 7.0f), 303);
  EXPECT_EQ(drawnIndexCount(101, -0.5f), 0);
  EXPECT_EQ(drawnIndexCount(0, 1.0f), 0);
}

}  // namespace
