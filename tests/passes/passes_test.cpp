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
#include "gpu/gl_entry_points.h"
#include "gpu/offscreen_target.h"
#include "passes/gl_state_helpers.h"
#include "passes/glow_pass.h"
#include "passes/projection_pass.h"
#include "passes/shadow_pass.h"

namespace {

std::string testProgram(const char* name) { return std::string(VELMORA_SOURCE_DIR) + "/tests/gpu/programs/" + name; }
std::string effect(const char* name) { return std::string(VELMORA_SOURCE_DIR) + "/data/cgeffects/" + name; }

constexpr int kPairSlot = 2;
constexpr int kBlurSlot = 0;
// Texture numbers the tests fill.
constexpr int kDepthTexture = 5;
constexpr int kColourTexture = 0;
constexpr int kGlowTexture = 1;
constexpr int kDecalTexture = 3;
constexpr int kNothingLoaded = 1000;

CameraView viewFrom(float x, float y, float z) {
  CameraView view;
  view.eye = FlagVec3{1, x, y, z};
  view.centre = FlagVec3{1, 0, 0, 0};
  view.up = FlagVec3{1, 0, 1, 0};
  return view;
}

// The program pipeline bound: 0 while both program stages are off.
GLint pipelineBinding() {
  GLint pipeline = -1;
  glGetIntegerv(GL_PROGRAM_PIPELINE_BINDING, &pipeline);
  return pipeline;
}

struct Rgb {
  int r, g, b;
};

class PassesTest : public GlSuite<> {
 protected:
  void SetUp() override {
    GlSuite::SetUp();
    std::string error;
    ASSERT_TRUE(createOffscreenTarget(target_, error)) << error;
    resetMatrices();  // the target's creation leaves a perspective of its own
    app_ = std::make_unique<DemoApp>();
    setDiagnosticWriter([this](DiagnosticLevel, const std::string& line) { messages_.push_back(line); });
    app_->camera = viewFrom(0, 0, 3);
    app_->lightView = app_->camera;
  }
  void TearDown() override {
    setDiagnosticWriter({});
    app_->cgShaders.disableProfiles();
    makeWindowCurrent(target_);
    app_->cgShaders.disableProfiles();
    for (GLuint name : textureTable(*app_).textures) {
      if (name != 0) glDeleteTextures(1, &name);
    }
    destroyOffscreenTarget(target_);
  }

  // An RGB texture of one colour at the number.
  void fillTexture(int number, int size, Rgb colour) {
    std::vector<GLubyte> texels(size_t(size) * size * 3);
    for (size_t i = 0; i < texels.size(); i += 3) {
      texels[i] = GLubyte(colour.r), texels[i + 1] = GLubyte(colour.g), texels[i + 2] = GLubyte(colour.b);
    }
    uploadTexture(number, size, texels);
  }
  void uploadTexture(int number, int size, const std::vector<GLubyte>& texels) {
    GLuint& name = textureTable(*app_).textures[size_t(number)];
    if (name == 0) glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB8, size, size, 0, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  }
  std::vector<GLubyte> readTexture(int number, int size) {
    std::vector<GLubyte> texels(size_t(size) * size * 3);
    glBindTexture(GL_TEXTURE_2D, textureTable(*app_).name(number));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    return texels;
  }
  static Rgb texel(const std::vector<GLubyte>& texels, int size, int x, int y) {
    const size_t at = (size_t(y) * size + x) * 3;
    return {texels[at], texels[at + 1], texels[at + 2]};
  }

  // A depth texture the way the pairs get theirs, every texel at `depth`.
  void makeDepthTexture(int size, float depth) {
    GLuint& name = textureTable(*app_).textures[size_t(kDepthTexture)];
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    const std::vector<float> values(size_t(size) * size, depth);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT, size, size, 0, GL_DEPTH_COMPONENT, GL_FLOAT, values.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_MODE, GL_COMPARE_REF_TO_TEXTURE);
  }
  std::vector<float> readDepthTexture(int& width) {
    glBindTexture(GL_TEXTURE_2D, textureTable(*app_).name(kDepthTexture));
    GLint w = 0, h = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
    width = w;
    std::vector<float> values(size_t(w) * size_t(h));
    glGetTexImage(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT, GL_FLOAT, values.data());
    return values;
  }

  // A projection pair from the test programs, the way set-up makes one.
  void loadTestPair(int slot, const char* fragment) {
    CgShaderSet& cg = app_->cgShaders;
    cg.createContext();
    cg.createVertexProgram(testProgram("projection_vertex.glsl"), slot);
    cg.createFragmentProgram(testProgram(fragment), slot + 1);
    cg.lookUpParameter(slot, kModelViewProjIndex, "ModelViewProj");
    cg.lookUpParameter(slot, kModelViewLightProjIndex, "ModelViewLightProj");
    cg.lookUpParameter(slot, kModelViewObjectIndex, "ModelViewObject");
    cg.disableProfiles();
  }

  // Plain geometry in place of a mesh scene: the object matrix at identity
  // and a 2 x 2 square around the origin, facing +z.
  ProjectedDraw squareWithDecal(int slot) {
    return [this, slot](unsigned decalName, unsigned) {
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
      glVertex3f(-1, -1, 0);
      glVertex3f(1, -1, 0);
      glVertex3f(1, 1, 0);
      glVertex3f(-1, 1, 0);
      glEnd();
    };
  }

  OffscreenTarget target_;
  std::unique_ptr<DemoApp> app_;
  std::vector<std::string> messages_;
};

// What the callbacks saw, for the callbacks that are plain functions.
struct CallbackLog {
  int depthCalls = 0;
  int sceneCalls = 0;
  bool depthPassActiveInDepth = false;
  bool depthPassActiveInScene = true;
  GLint pipelineInScene = -1;
};
CallbackLog callbackLog;

// The whole viewport, at depth 0.5, whatever the matrices.
void coverViewport() {
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();
  glBegin(GL_QUADS);
  for (auto [x, y] : {std::pair{-1, -1}, {1, -1}, {1, 1}, {-1, 1}}) glVertex2i(x, y);
  glEnd();
  glPopMatrix();
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
}

void depthSquare(DemoApp& app) {
  ++callbackLog.depthCalls;
  callbackLog.depthPassActiveInDepth = app.depthPassActive;
  coverViewport();  // at depth 0.5 before the polygon offset
}

void redScene(DemoApp& app) {
  ++callbackLog.sceneCalls;
  callbackLog.depthPassActiveInScene = app.depthPassActive;
  callbackLog.pipelineInScene = pipelineBinding();
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_CULL_FACE);
  glColor3f(1, 0, 0);
  coverViewport();
}

TEST(PassSizes, ViewportAndCopyFollowTheModeAndTheWidth) {
  struct Case {
    int mode, width;
    PassSize viewport, copy;
  } cases[] = {
      {-1, 800, {800, 600}, {800, 600}}, {-1, 640, {640, 480}, {640, 480}}, {-1, 512, {512, 512}, {512, 512}},
      {2, 800, {800, 600}, {800, 600}},  {1, 800, {640, 480}, {640, 480}},  {3, 800, {320, 240}, {320, 240}},
      {2, 640, {800, 600}, {800, 600}},  {1, 640, {640, 480}, {640, 480}},  {2, 512, {512, 512}, {512, 512}},
      {0, 800, {800, 600}, {800, 800}},
  };
  for (const Case& c : cases) {
    const PassSize viewport = shadowPassViewport(c.mode, c.width);
    const PassSize copy = shadowPassCopySize(c.mode, c.width);
    EXPECT_EQ(viewport.width, c.viewport.width) << "mode " << c.mode << ", width " << c.width;
    EXPECT_EQ(viewport.height, c.viewport.height) << "mode " << c.mode << ", width " << c.width;
    EXPECT_EQ(copy.width, c.copy.width) << "mode " << c.mode << ", width " << c.width;
    EXPECT_EQ(copy.height, c.copy.height) << "mode " << c.mode << ", width " << c.width;
  }
}

TEST_F(PassesTest, TextureNumbersFrom85000OnIgnoreTheTextureBase) {
  TextureTable& table = textureTable(*app_);
  table.textureBase = 5;
  table.textures[85000] = 41;
  table.textures[85005] = 42;
  table.textures[12] = 43;
  GLint bound = 0;
  bindTextureNumber(*app_, 85000);
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  EXPECT_EQ(bound, 41);
  bindTextureNumber(*app_, 7);
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  EXPECT_EQ(bound, 43);
  glBindTexture(GL_TEXTURE_2D, 0);
  table.textures[85000] = table.textures[85005] = table.textures[12] = 0;
}

TEST_F(PassesTest, ShadowPassWithoutDepthCallbackClearsDepthAndLeavesTheDepthTexture) {
  makeDepthTexture(16, 0.25f);
  makePbufferCurrent(target_);
  glClearDepth(0.0);
  glClear(GL_DEPTH_BUFFER_BIT);
  glClearDepth(1.0);
  makeWindowCurrent(target_);
  callbackLog = {};

  shadowScenePass(*app_, target_, nullptr, nullptr, kDepthTexture, 16, kPairSlot, app_->camera, app_->lightView, false,
                  800, kColourTexture);

  makePbufferCurrent(target_);
  float depth = 0.0f;
  glReadPixels(1, 1, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
  EXPECT_FLOAT_EQ(depth, 1.0f) << "the depth pass clears";
  makeWindowCurrent(target_);
  int width = 0;
  for (float value : readDepthTexture(width)) ASSERT_FLOAT_EQ(value, 0.25f);
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(PassesTest, ADepthPassLargerThanItsTextureCopiesOnlyWhatFits) {
  makeDepthTexture(16, 0.25f);  // the frame asks for 32
  callbackLog = {};
  shadowScenePass(*app_, target_, depthSquare, redScene, kDepthTexture, 32, kPairSlot, app_->camera, app_->lightView,
                  false, 800, kColourTexture);
  makeWindowCurrent(target_);
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  EXPECT_EQ(callbackLog.depthCalls, 1);
  EXPECT_TRUE(callbackLog.depthPassActiveInDepth);
  EXPECT_FALSE(callbackLog.depthPassActiveInScene);
  int width = 0;
  const std::vector<float> depths = readDepthTexture(width);
  EXPECT_EQ(width, 16) << "the texture keeps its size";
  for (float value : depths) ASSERT_NEAR(value, 0.5f, 0.01f) << "the square's depth everywhere";
}

TEST_F(PassesTest, ToTextureCopiesTheScreenRegionAndLeavesTheWindow) {
  fillTexture(kColourTexture, OffscreenTarget::kSize, {0, 0, 255});
  glClearColor(0, 1, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  // A pair left enabled by an earlier projective pass, and the glow's blur
  // at slot 0: the scene callback must still start in fixed function.
  loadTestPair(kPairSlot, "projected_decal_fragment.glsl");
  loadFragmentOnly(*app_, effect("fragment_Blur256.cpp"), kBlurSlot);
  makePbufferCurrent(target_);
  app_->cgShaders.bindProgram(kPairSlot);
  app_->cgShaders.enableVertexProfile();
  makeWindowCurrent(target_);
  callbackLog = {};

  shadowScenePass(*app_, target_, nullptr, redScene, 0, 32, kBlurSlot, app_->camera, app_->lightView, true, 800,
                  kColourTexture);

  EXPECT_EQ(callbackLog.sceneCalls, 1);
  EXPECT_EQ(callbackLog.pipelineInScene, 0) << "both stages off in the scene callback";
  setCameraProjection(*app_, target_);
  const std::vector<GLubyte> texels = readTexture(kColourTexture, OffscreenTarget::kSize);
  auto at = [&](int x, int y) { return texel(texels, OffscreenTarget::kSize, x, y); };
  for (auto [x, y] : {std::pair{0, 0}, {799, 0}, {0, 599}, {799, 599}, {400, 300}}) {
    EXPECT_EQ(at(x, y).r, 255) << x << ", " << y;
    EXPECT_EQ(at(x, y).b, 0) << x << ", " << y;
  }
  for (auto [x, y] : {std::pair{800, 0}, {0, 600}, {800, 600}, {1023, 1023}}) {
    EXPECT_EQ(at(x, y).b, 255) << "outside the copy: " << x << ", " << y;
  }
  const auto window = pixel(kSize / 2, kSize / 2);
  EXPECT_EQ(window[1], 255) << "the window keeps its picture";
  EXPECT_EQ(window[0], 0);
  EXPECT_TRUE(messages_.empty()) << messages_.front();
}

// The glow first blends the screen over the old glow, once. With no blur
// passes, or with passes but no blur program (said once, not every frame),
// that blend is what stays.
TEST_F(PassesTest, WithoutBlurPassesOrTheirProgramTheGlowIsTheScreenBlendedOverTheOldGlowOnce) {
  fillTexture(kColourTexture, OffscreenTarget::kSize, {255, 0, 0});
  app_->screenQuadWidth = 800;
  auto glowCentre = [&](int passes, int blurSlot) {
    fillTexture(kGlowTexture, 128, {0, 0, 255});
    glowPass(*app_, target_, kColourTexture, kGlowTexture, 128, 0.5, passes, blurSlot);
    EXPECT_EQ(pipelineBinding(), 0);
    setCameraProjection(*app_, target_);
    return texel(readTexture(kGlowTexture, 128), 128, 64, 64);
  };
  loadFragmentOnly(*app_, effect("fragment_Blur256.cpp"), kBlurSlot);
  const Rgb blended = glowCentre(0, kBlurSlot);
  EXPECT_NEAR(blended.r, 128, 2);
  EXPECT_EQ(blended.g, 0);
  EXPECT_NEAR(blended.b, 128, 2);
  EXPECT_TRUE(messages_.empty()) << messages_.front();

  constexpr int kMissingBlurSlot = 4;
  const std::string missing = effect("no_such_blur.cpp");
  loadFragmentOnly(*app_, missing, kMissingBlurSlot);
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_NE(messages_[0].find(missing), std::string::npos) << messages_[0];
  for (int frame = 0; frame < 2; ++frame) {
    // The blur passes draw nothing and copy back the blend they found.
    const Rgb centre = glowCentre(2, kMissingBlurSlot);
    EXPECT_NEAR(centre.r, 128, 2) << "frame " << frame;
    EXPECT_NEAR(centre.b, 128, 2) << "frame " << frame;
  }
  EXPECT_EQ(messages_.size(), 1u) << "said once";
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(PassesTest, TheGlowOfAWhiteSquareFallsOffOverSeveralTexels) {
  // White in the middle of the 800 x 600 screen region, black around.
  std::vector<GLubyte> screen(size_t(OffscreenTarget::kSize) * OffscreenTarget::kSize * 3, 0);
  for (int y = 200; y < 400; ++y) {
    for (int x = 300; x < 500; ++x) {
      for (int c = 0; c < 3; ++c) screen[(size_t(y) * OffscreenTarget::kSize + x) * 3 + c] = 255;
    }
  }
  uploadTexture(kColourTexture, OffscreenTarget::kSize, screen);
  fillTexture(kGlowTexture, 128, {0, 0, 0});
  loadFragmentOnly(*app_, effect("fragment_Blur256.cpp"), kBlurSlot);
  app_->screenQuadWidth = 800;

  glowPass(*app_, target_, kColourTexture, kGlowTexture, 128, 1.0, 2, kBlurSlot);

  setCameraProjection(*app_, target_);
  const std::vector<GLubyte> glow = readTexture(kGlowTexture, 128);
  const int peak = texel(glow, 128, 64, 64).r;
  EXPECT_GT(peak, 200) << "the square's middle stays bright";
  // Along the middle row and column, outwards from the middle: never
  // brighter, and at least two texels between the square and the dark.
  auto checkEdge = [&](int dx, int dy, const char* which) {
    int previous = peak, between = 0;
    for (int k = 0; k < 64; ++k) {
      const int value = texel(glow, 128, 64 + k * dx, 64 + k * dy).r;
      EXPECT_LE(value, previous + 1) << which << " at " << k;
      if (value > peak / 20 && value < peak * 19 / 20) ++between;
      previous = value;
    }
    EXPECT_GE(between, 2) << which;
    EXPECT_LT(previous, peak / 20) << which << ": dark far from the square";
  };
  checkEdge(1, 0, "right");
  checkEdge(-1, 0, "left");
  checkEdge(0, 1, "up");
  checkEdge(0, -1, "down");
  EXPECT_TRUE(messages_.empty()) << messages_.front();
}

TEST_F(PassesTest, AComparingDepthTextureProjectsAsItsDepthsAndKeepsComparing) {
  makeDepthTexture(16, 1.0f);  // the far plane everywhere, as set-up makes it
  loadTestPair(kPairSlot, "projected_decal_fragment.glsl");
  glEnable(GL_DEPTH_TEST);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glMatrixMode(GL_PROJECTION);
  multiplyDemoPerspective(*app_);
  glMatrixMode(GL_MODELVIEW);
  glTranslatef(0.25f, 0, 0);  // the caller's modelview, to be kept

  projectiveDraw(*app_, kDepthTexture, kNothingLoaded, kPairSlot, app_->camera, app_->lightView,
                 squareWithDecal(kPairSlot));

  const auto middle = pixel(kSize / 2, kSize / 2);
  EXPECT_GT(middle[0], 240) << "far-plane depths show white, not black";
  EXPECT_EQ(pixel(0, 0)[0], 0) << "outside the square";
  GLint compare = 0;
  glBindTexture(GL_TEXTURE_2D, textureTable(*app_).name(kDepthTexture));
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_MODE, &compare);
  EXPECT_EQ(compare, GL_COMPARE_REF_TO_TEXTURE);

  // What every projective pass leaves behind.
  float matrix[16];
  glGetFloatv(GL_TEXTURE_MATRIX, matrix);
  for (int i = 0; i < 16; ++i) EXPECT_FLOAT_EQ(matrix[i], i % 5 == 0 ? 1.0f : 0.0f) << "texture matrix " << i;
  glGetFloatv(GL_MODELVIEW_MATRIX, matrix);
  EXPECT_FLOAT_EQ(matrix[12], 0.25f) << "the caller's modelview";
  EXPECT_EQ(pipelineBinding(), 0) << "both stages off";
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  EXPECT_TRUE(messages_.empty()) << messages_.front();
}

TEST_F(PassesTest, ABrokenProgramFileLeavesItsSlotEmptySaysSoOnceAndThePassesGoOn) {
  std::ifstream in(effect("fragment_projection_anisotropic.cpp"));
  std::string source{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  source.replace(source.find("void main() {"), 13, "void main() {\n  undeclaredShade += 1.0;");
  const std::string broken = testing::TempDir() + "broken_fragment_projection_anisotropic.cpp";
  std::ofstream(broken) << source;

  setUpProjection(*app_, effect("vertex_projection_anisotropic.cpp"), broken, "no such mesh.3ds", 1, kDepthTexture, 16,
                  kPairSlot);
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_NE(messages_[0].find(broken), std::string::npos) << messages_[0];
  EXPECT_NE(messages_[0].find("undeclaredShade"), std::string::npos) << "the compiler's words: " << messages_[0];
  EXPECT_EQ(app_->cgShaders.programs[kPairSlot + 1].program, 0u);
  EXPECT_NE(app_->cgShaders.programs[kPairSlot].program, 0u);

  glMatrixMode(GL_PROJECTION);
  multiplyDemoPerspective(*app_);
  glMatrixMode(GL_MODELVIEW);
  for (int frame = 0; frame < 2; ++frame) {
    glClear(GL_COLOR_BUFFER_BIT);
    projectiveDraw(*app_, kDepthTexture, kNothingLoaded, kPairSlot, app_->camera, app_->lightView,
                   squareWithDecal(kPairSlot));
    EXPECT_EQ(pixel(kSize / 2, kSize / 2)[0], 0) << "the broken stage draws nothing";
  }
  // A sound pair after it still draws.
  loadTestPair(6, "projected_decal_fragment.glsl");
  glClear(GL_COLOR_BUFFER_BIT);
  projectiveDraw(*app_, kDepthTexture, kNothingLoaded, 6, app_->camera, app_->lightView, squareWithDecal(6));
  EXPECT_GT(pixel(kSize / 2, kSize / 2)[0], 240);
  EXPECT_EQ(messages_.size(), 1u) << "said once";
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  std::remove(broken.c_str());
}

}  // namespace
