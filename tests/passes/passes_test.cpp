// The rendering passes on the real driver: what each leaves in the
// textures, the offscreen surface and the window, and the GL state it
// hands back.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "core/diagnostics.h"
#include "demo/demo_app.h"
#include "gl_test_context.h"
#include "gpu/offscreen_target.h"
#include "passes/gl_state_helpers.h"
#include "passes/projection_pass.h"
#include "passes/shadow_pass.h"

namespace {
std::string source(const char* folder, const char* name) { return std::string(VELMORA_SOURCE_DIR) + folder + name; }
std::string effect(const char* name) { return source("/data/cgeffects/", name); }

constexpr int kPairSlot = 2;
// Texture numbers the tests fill; nothing is loaded at 1000.
constexpr int kDepthTexture = 5, kColourTexture = 0, kNothingLoaded = 1000;

// The program pipeline bound: 0 while both program stages are off.
GLint pipelineBinding() {
  GLint pipeline = -1;
  glGetIntegerv(GL_PROGRAM_PIPELINE_BINDING, &pipeline);
  return pipeline;
}

class PassesTest : public GlSuite<> {
 protected:
  void SetUp() override {
    GlSuite::SetUp();
    std::string error;
    ASSERT_TRUE(createOffscreenTarget(target_, 1024, 1024, error)) << error;
    resetMatrices();  // the target's creation leaves a perspective of its own
    setDiagnosticWriter([this](DiagnosticLevel, const std::string& line) { messages_.push_back(line); });
    app_->camera = app_->lightView = CameraView{FlagVec3{1, 0, 0, 3}, FlagVec3{1, 0, 0, 0}, FlagVec3{1, 0, 1, 0}};
  }
  void TearDown() override {
    setDiagnosticWriter({});
    app_->cgShaders.disableProfiles();
    makeWindowCurrent(target_);
    app_->cgShaders.disableProfiles();
    for (GLuint name : textureTable(*app_).textures)
      if (name != 0) glDeleteTextures(1, &name);
    destroyOffscreenTarget(target_);
  }

  // A depth texture the way the pairs get theirs, every texel at `depth`.
  void makeDepthTexture(int size, float depth) {
    GLuint& name = textureTable(*app_).textures[size_t(kDepthTexture)];
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    const std::vector<float> values(size_t(size) * size, depth);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT, size, size, 0, GL_DEPTH_COMPONENT, GL_FLOAT, values.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_MODE, GL_COMPARE_REF_TO_TEXTURE);
  }
  std::vector<float> depthTexels(int& width) {
    GLint w = 0;
    glBindTexture(GL_TEXTURE_2D, textureTable(*app_).name(kDepthTexture));
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
    std::vector<float> values(size_t(w) * size_t(w));
    glGetTexImage(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT, GL_FLOAT, values.data());
    width = w;
    return values;
  }

  // A projection pair of the test programs, the way set-up makes one.
  void loadTestPair(int slot) {
    CgShaderSet& cg = app_->cgShaders;
    cg.createContext();
    cg.createVertexProgram(source("/tests/gpu/programs/", "projection_vertex.glsl"), slot);
    cg.createFragmentProgram(source("/tests/gpu/programs/", "projected_decal_fragment.glsl"), slot + 1);
    cg.lookUpParameter(slot, kModelViewProjIndex, "ModelViewProj");
    cg.lookUpParameter(slot, kModelViewLightProjIndex, "ModelViewLightProj");
    cg.lookUpParameter(slot, kModelViewObjectIndex, "ModelViewObject");
    cg.disableProfiles();
  }

  // Plain geometry in place of a mesh scene: the object matrix at identity
  // and a 2 x 2 square around the origin, facing +z, the decal on it.
  void projectSquare(int slot) {
    projectiveDraw(*app_, kDepthTexture, kNothingLoaded, slot, app_->camera, app_->lightView,
                   [this, slot](unsigned decalName, unsigned) {
                     CgShaderSet& cg = app_->cgShaders;
                     cg.lookUpParameter(slot + 1, kDecalIndex, "decal");
                     cg.setTextureParameter(slot + 1, kDecalIndex, decalName);
                     cg.enableTextureParameter(slot + 1, kDecalIndex);
                     glMatrixMode(GL_TEXTURE);
                     glPushMatrix();
                     glLoadIdentity();
                     cg.setTextureMatrixParameter(slot, kModelViewObjectIndex);
                     glPopMatrix();
                     glMatrixMode(GL_MODELVIEW);
                     glBegin(GL_QUADS);
                     glNormal3f(0, 0, 1);
                     for (auto [x, y] : {std::pair{-1, -1}, {1, -1}, {1, 1}, {-1, 1}}) glVertex3f(x, y, 0);
                     glEnd();
                   });
  }

  OffscreenTarget target_;
  std::unique_ptr<DemoApp> app_ = std::make_unique<DemoApp>();
  std::vector<std::string> messages_;
};

// What the callbacks saw.
struct CallbackLog {
  int depthCalls = 0, sceneCalls = 0;
  bool depthPassActiveInDepth = false, depthPassActiveInScene = true;
  GLint pipelineInScene = -1;
} callbackLog;

// The whole viewport at depth 0.5 (red in the scene), whatever the matrices.
void coverViewport(DemoApp& app, bool scene) {
  (scene ? ++callbackLog.sceneCalls : ++callbackLog.depthCalls);
  (scene ? callbackLog.depthPassActiveInScene : callbackLog.depthPassActiveInDepth) = app.depthPassActive;
  if (scene) callbackLog.pipelineInScene = pipelineBinding();
  if (scene) glDisable(GL_DEPTH_TEST), glDisable(GL_CULL_FACE), glColor3f(1, 0, 0);
  for (GLenum mode : {GL_PROJECTION, GL_MODELVIEW}) glMatrixMode(mode), glPushMatrix(), glLoadIdentity();
  glBegin(GL_QUADS);
  for (auto [x, y] : {std::pair{-1, -1}, {1, -1}, {1, 1}, {-1, 1}}) glVertex2i(x, y);
  glEnd();
  for (GLenum mode : {GL_PROJECTION, GL_MODELVIEW}) glMatrixMode(mode), glPopMatrix();
}
void depthSquare(DemoApp& app) { coverViewport(app, false); }
void redScene(DemoApp& app) { coverViewport(app, true); }

// Without a depth callback the depth texture is left as it was (the
// surface's depth cleared); a depth pass larger than its texture copies
// only what fits; each callback sees the depth pass flag it should.
TEST_F(PassesTest, TheDepthPassFillsTheDepthTextureOnlyWhenDrawnAndOnlyWhatFits) {
  makeDepthTexture(16, 0.25f);
  makePbufferCurrent(target_);
  glClearDepth(0.0);
  glClear(GL_DEPTH_BUFFER_BIT);
  glClearDepth(1.0);
  makeWindowCurrent(target_);
  shadowScenePass(*app_, target_, nullptr, nullptr, kDepthTexture, 16, kPairSlot, app_->camera, app_->lightView, false,
                  800, kColourTexture);
  makePbufferCurrent(target_);
  float depth = 0.0f;
  glReadPixels(1, 1, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
  EXPECT_FLOAT_EQ(depth, 1.0f) << "the pass clears";
  makeWindowCurrent(target_);
  int width = 0;
  for (float value : depthTexels(width)) ASSERT_FLOAT_EQ(value, 0.25f);

  callbackLog = {};
  shadowScenePass(*app_, target_, depthSquare, redScene, kDepthTexture, 32, kPairSlot, app_->camera, app_->lightView,
                  false, 800, kColourTexture);  // the frame asks for 32
  makeWindowCurrent(target_);
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  EXPECT_EQ(callbackLog.depthCalls, 1);
  EXPECT_TRUE(callbackLog.depthPassActiveInDepth);
  EXPECT_FALSE(callbackLog.depthPassActiveInScene);
  const std::vector<float> depths = depthTexels(width);
  EXPECT_EQ(width, 16) << "the texture keeps its size";
  for (float value : depths) ASSERT_NEAR(value, 0.5f, 0.01f) << "the square's depth everywhere";
}

TEST_F(PassesTest, ABrokenProgramFileLeavesItsSlotEmptySaysSoOnceAndThePassesGoOn) {
  std::ifstream in(effect("fragment_projection_anisotropic.cpp"));
  std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  text.replace(text.find("void main() {"), 13, "void main() {\n  undeclaredShade += 1.0;");
  const std::string broken = testing::TempDir() + "broken_fragment_projection_anisotropic.cpp";
  std::ofstream(broken) << text;
  // Its helpers beside it, as in the demo's folder.
  std::ifstream helpers(effect("projection_fragment.glsl"));
  std::ofstream(testing::TempDir() + "projection_fragment.glsl") << helpers.rdbuf();
  setUpProjection(*app_, effect("vertex_projection_anisotropic.cpp"), broken, "no such mesh.3ds", 1, kDepthTexture, 16,
                  kPairSlot);
  // The missing mesh is named too, in a line of its own.
  ASSERT_EQ(messages_.size(), 2u);
  EXPECT_NE(messages_[0].find("no such mesh.3ds: missing"), std::string::npos) << messages_[0];
  messages_.erase(messages_.begin());
  EXPECT_NE(messages_[0].find(broken), std::string::npos) << messages_[0];
  EXPECT_NE(messages_[0].find("undeclaredShade"), std::string::npos) << "the compiler's words: " << messages_[0];
  EXPECT_EQ(app_->cgShaders.programs[kPairSlot + 1].program, 0u);
  EXPECT_NE(app_->cgShaders.programs[kPairSlot].program, 0u);
  glMatrixMode(GL_PROJECTION);
  multiplyDemoPerspective(*app_);
  glMatrixMode(GL_MODELVIEW);
  for (int frame = 0; frame < 2; ++frame) {
    glClear(GL_COLOR_BUFFER_BIT);
    projectSquare(kPairSlot);
    EXPECT_EQ(pixel(kSize / 2, kSize / 2)[0], 0) << "the broken stage draws nothing";
  }
  // A sound pair after it still draws: the comparing depth texture (at the
  // far plane) as its depths, white; the pass puts back what it changed.
  loadTestPair(6);
  glClear(GL_COLOR_BUFFER_BIT);
  glTranslatef(0.25f, 0, 0);
  projectSquare(6);
  EXPECT_GT(pixel(kSize / 2, kSize / 2)[0], 240);
  EXPECT_EQ(pixel(0, 0)[0], 0) << "outside the square";
  GLint compare = 0;
  glBindTexture(GL_TEXTURE_2D, textureTable(*app_).name(kDepthTexture));
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_MODE, &compare);
  EXPECT_EQ(compare, GL_COMPARE_REF_TO_TEXTURE);
  float matrix[16];
  glGetFloatv(GL_TEXTURE_MATRIX, matrix);
  for (int i = 0; i < 16; ++i) EXPECT_FLOAT_EQ(matrix[i], i % 5 == 0 ? 1.0f : 0.0f) << "texture matrix " << i;
  glGetFloatv(GL_MODELVIEW_MATRIX, matrix);
  EXPECT_FLOAT_EQ(matrix[12], 0.25f) << "the caller's modelview";
  EXPECT_EQ(pipelineBinding(), 0) << "both stages off";
  EXPECT_EQ(messages_.size(), 1u) << "said once";
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  std::remove(broken.c_str());
}

TEST(OffscreenTargetWithoutContext, FailsAndLeavesNothingBehind) {
  ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
  SDL_GL_MakeCurrent(nullptr, nullptr);
  OffscreenTarget target;
  std::string error;
  EXPECT_FALSE(createOffscreenTarget(target, 1024, 1024, error));
  EXPECT_FALSE(error.empty());
  EXPECT_TRUE(target.pbufferRC == nullptr && target.windowRC == nullptr);
  EXPECT_FALSE(makePbufferCurrent(target));
}
}  // namespace
