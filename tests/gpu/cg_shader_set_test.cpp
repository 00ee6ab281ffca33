#include "gpu/cg_shader_set.h"

#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "core/diagnostics.h"
#include "gl_test_context.h"
#include "gpu/gl_entry_points.h"

namespace {

std::string programFile(const char* name) { return std::string(VELMORA_SOURCE_DIR) + "/tests/gpu/programs/" + name; }

// Parameter indexes as the demo uses them; 4 holds the test programs' tint.
constexpr int kModelViewProj = 5;
constexpr int kTint = 4;
constexpr int kDecal = 7;
constexpr int kRamp = 10;
constexpr int kModelViewObject = 14;

// The ramp's greens; a decal green of 96 / 255 reads texel 1.
constexpr GLubyte kRampGreens[4] = {10, 200, 30, 40};
constexpr GLubyte kDecalGreen = 96;
constexpr int kRampGreen = 200;

using Colour = std::array<int, 3>;

void expectColour(const Colour& seen, const Colour& expected, const char* where) {
  for (int c = 0; c < 3; ++c) {
    EXPECT_NEAR(seen[c], expected[c], 2) << where << ": channel " << c << " of (" << seen[0] << ", " << seen[1] << ", "
                                         << seen[2] << ")";
  }
}

class CgShaderSetTest : public GlSuite<> {
 protected:
  void SetUp() override {
    GlSuite::SetUp();
    cg_ = std::make_unique<CgShaderSet>();
    setDiagnosticWriter([this](DiagnosticLevel, const std::string& line) { messages_.push_back(line); });
    ramp_ = makeRamp();
  }

  void TearDown() override {
    setDiagnosticWriter({});
    cg_->disableProfiles();
    glDeleteTextures(static_cast<GLsizei>(textures_.size()), textures_.data());
  }

  GLuint makeDecal(GLubyte red) {
    const GLubyte texel[4] = {red, kDecalGreen, 0, 255};
    return makeTexture(GL_TEXTURE_2D, 1, texel);
  }

  GLuint makeRamp() {
    GLubyte texels[4][4] = {};
    for (int i = 0; i < 4; ++i) texels[i][1] = kRampGreens[i];
    return makeTexture(GL_TEXTURE_1D, 4, texels);
  }

  // A row of RGBA texels, sampled nearest.
  GLuint makeTexture(GLenum target, int width, const void* texels) {
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(target, name);
    if (target == GL_TEXTURE_1D) {
      glTexImage1D(target, 0, GL_RGBA8, width, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels);
    } else {
      glTexImage2D(target, 0, GL_RGBA8, width, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels);
    }
    glTexParameteri(target, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(target, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glBindTexture(target, 0);
    textures_.push_back(name);
    return name;
  }

  // The demo's calling order for a projection pair.
  void loadPair(int slot) {
    cg_->createContext();
    cg_->createVertexProgram(programFile("object_vertex.glsl"), slot);
    cg_->createFragmentProgram(programFile("decal_ramp_fragment.glsl"), slot + 1);
    cg_->lookUpParameter(slot, kModelViewProj, "ModelViewProj");
    cg_->lookUpParameter(slot, kModelViewObject, "ModelViewObject");
    cg_->loadVertexProgram(slot);
    cg_->loadFragmentProgram(slot + 1);
    cg_->disableFragmentProfile();
    cg_->disableVertexProfile();
  }

  void setTint(int slot, float r, float g, float b) {
    cg_->lookUpParameter(slot, kTint, "tint");
    cg_->setParameter3f(slot, kTint, r, g, b);
  }

  void setTextures(int fragmentSlot, GLuint decal) {
    cg_->lookUpParameter(fragmentSlot, kDecal, "decal");
    cg_->setTextureParameter(fragmentSlot, kDecal, decal);
    cg_->enableTextureParameter(fragmentSlot, kDecal);
    cg_->lookUpParameter(fragmentSlot, kRamp, "oned");
    cg_->setTextureParameter(fragmentSlot, kRamp, ramp_);
    cg_->enableTextureParameter(fragmentSlot, kRamp);
  }

  // Snapshots the current GL matrices into the vertex program at the slot,
  // then puts the fixed-function matrices back to identity, so only the
  // snapshots can place what is drawn.
  void snapshotMatrices(int slot) {
    cg_->setModelViewProjection(slot, kModelViewProj);
    cg_->setTextureMatrixParameter(slot, kModelViewObject);
    resetMatrices();
  }

  // Modelview that squeezes the full-view quad into the left half.
  static void leftHalf() {
    glMatrixMode(GL_MODELVIEW);
    glTranslatef(-0.5f, 0, 0);
    glScalef(0.5f, 1, 1);
  }

  // Texture units are shared by all programs: as in the demo, a pair's
  // textures are enabled again after binding it.
  void drawPair(int vertexSlot, int fragmentSlot) {
    cg_->bindProgram(vertexSlot);
    cg_->bindProgram(fragmentSlot);
    cg_->enableTextureParameter(fragmentSlot, kDecal);
    cg_->enableTextureParameter(fragmentSlot, kRamp);
    cg_->enableFragmentProfile();
    cg_->enableVertexProfile();
    drawQuad();
    cg_->disableFragmentProfile();
    cg_->disableVertexProfile();
  }

  std::unique_ptr<CgShaderSet> cg_;
  std::vector<std::string> messages_;
  std::vector<GLuint> textures_;
  GLuint ramp_ = 0;
};

TEST_F(CgShaderSetTest, APairDrawsThroughBothProgramsAndEachAloneWithFixedFunction) {
  loadPair(0);
  ASSERT_TRUE(messages_.empty()) << messages_.front();
  leftHalf();
  glMatrixMode(GL_TEXTURE);
  glScalef(1, 0.5f, 1);  // the object matrix halves the height
  snapshotMatrices(0);
  setTint(0, 1, 0.5f, 1);
  setTint(1, 0, 0, 0.5f);
  setTextures(1, makeDecal(204));

  drawPair(0, 1);
  expectColour(pixel(16, 32), {204, kRampGreen, 128}, "both programs");
  expectColour(pixel(48, 32), {0, 0, 0}, "right of the object");
  expectColour(pixel(16, 60), {0, 0, 0}, "above the object");

  // Fragment program alone: fixed function fills the view with its colour.
  glClear(GL_COLOR_BUFFER_BIT);
  cg_->enableFragmentProfile();
  glColor3f(0, 0, 0.5f);
  drawQuad();
  cg_->disableFragmentProfile();
  expectColour(pixel(48, 60), {204, kRampGreen, 64}, "fragment program alone");

  // Vertex program alone: placed by its matrices, coloured by its tint.
  glClear(GL_COLOR_BUFFER_BIT);
  cg_->enableVertexProfile();
  drawQuad();
  cg_->disableVertexProfile();
  expectColour(pixel(16, 32), {255, 128, 255}, "vertex program alone");
  expectColour(pixel(48, 32), {0, 0, 0}, "vertex program alone, right of the object");

  glClear(GL_COLOR_BUFFER_BIT);
  glColor3f(0, 1, 0);
  drawQuad();
  expectColour(pixel(48, 32), {0, 255, 0}, "neither: fixed function");
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(CgShaderSetTest, ParametersAndTexturesStayWithTheirOwnProgram) {
  cg_->createContext();
  cg_->createFragmentProgram(programFile("decal_ramp_fragment.glsl"), 1);
  cg_->createFragmentProgram(programFile("decal_ramp_fragment.glsl"), 2);
  setTint(1, 0, 0, 0.25f);
  setTint(2, 0, 0, 0.75f);
  setTextures(1, makeDecal(255));
  setTextures(2, makeDecal(64));
  EXPECT_NE(cg_->parameters[1][kDecal].program, cg_->parameters[2][kDecal].program);
  EXPECT_NE(cg_->parameters[1][kDecal].unit, cg_->parameters[1][kRamp].unit);

  glActiveTexture(GL_TEXTURE3);
  auto drawWith = [&](int slot) {
    glClear(GL_COLOR_BUFFER_BIT);
    cg_->bindProgram(slot);
    cg_->enableTextureParameter(slot, kDecal);
    cg_->enableTextureParameter(slot, kRamp);
    cg_->enableFragmentProfile();
    drawQuad();
    cg_->disableFragmentProfile();
    return pixel(32, 32);
  };
  expectColour(drawWith(1), {255, kRampGreen, 64}, "first program");
  expectColour(drawWith(2), {64, kRampGreen, 191}, "second program");
  expectColour(drawWith(1), {255, kRampGreen, 64}, "first program again");

  // Binding textures for a program leaves fixed function's unit alone.
  GLint active = 0;
  glGetIntegerv(GL_ACTIVE_TEXTURE, &active);
  EXPECT_EQ(active, GL_TEXTURE3);
  glActiveTexture(GL_TEXTURE0);
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(CgShaderSetTest, AStateMatrixParameterKeepsTheMatrixOfTheMomentItWasSet) {
  loadPair(0);
  setTint(0, 1, 1, 1);
  cg_->lookUpParameter(0, kModelViewObject, "ModelViewObject");
  cg_->setTextureMatrixParameter(0, kModelViewObject);  // identity

  leftHalf();
  cg_->setModelViewProjection(0, kModelViewProj);
  // Move the GL matrix to the right half afterwards: the program keeps the left.
  glLoadIdentity();
  glTranslatef(0.5f, 0, 0);
  glScalef(0.5f, 1, 1);
  cg_->bindProgram(0);
  cg_->enableVertexProfile();
  drawQuad();
  expectColour(pixel(16, 32), {255, 255, 255}, "left half, as set");
  expectColour(pixel(48, 32), {0, 0, 0}, "right half, the later matrix");

  // Set again: now it follows. The projection takes part too.
  glClear(GL_COLOR_BUFFER_BIT);
  glMatrixMode(GL_PROJECTION);
  glScalef(1, 0.5f, 1);
  cg_->setModelViewProjection(0, kModelViewProj);
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
  drawQuad();
  cg_->disableVertexProfile();
  expectColour(pixel(48, 32), {255, 255, 255}, "right half, set again");
  expectColour(pixel(48, 60), {0, 0, 0}, "above the projected height");
  expectColour(pixel(16, 32), {0, 0, 0}, "left half, no longer");
}

TEST_F(CgShaderSetTest, ASecondPairLeavesTheFirstUsable) {
  loadPair(0);
  const CgContext first = cg_->context;
  leftHalf();
  snapshotMatrices(0);
  setTint(0, 0, 0, 1);
  setTint(1, 0, 0, 1);
  setTextures(1, makeDecal(255));

  loadPair(2);
  EXPECT_NE(cg_->context, first);
  EXPECT_EQ(cg_->programs[0].context, first);
  snapshotMatrices(2);  // identity: the whole view
  setTint(2, 0, 0, 1);
  setTint(3, 0, 0, 0.5f);
  setTextures(3, makeDecal(64));

  drawPair(0, 1);
  expectColour(pixel(16, 32), {255, kRampGreen, 255}, "first pair");
  expectColour(pixel(48, 32), {0, 0, 0}, "first pair, right half");
  glClear(GL_COLOR_BUFFER_BIT);
  drawPair(2, 3);
  expectColour(pixel(48, 32), {64, kRampGreen, 128}, "second pair");
  EXPECT_TRUE(messages_.empty());
}

TEST_F(CgShaderSetTest, ABrokenProgramDrawsNothingSaysSoOnceAndTheRunGoesOn) {
  cg_->createContext();
  cg_->createVertexProgram(programFile("object_vertex.glsl"), 0);
  cg_->createFragmentProgram(programFile("decal_ramp_fragment.glsl"), 2);
  cg_->lookUpParameter(0, kModelViewProj, "ModelViewProj");
  cg_->lookUpParameter(0, kModelViewObject, "ModelViewObject");
  snapshotMatrices(0);
  setTint(0, 1, 1, 1);
  setTint(2, 0, 0, 1);

  const std::string broken = programFile("broken_fragment.glsl");
  cg_->createFragmentProgram(broken, 1);
  EXPECT_EQ(cg_->programs[1].program, 0u);
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_NE(messages_[0].find(broken), std::string::npos) << messages_[0];
  EXPECT_NE(messages_[0].find("undeclaredTint"), std::string::npos) << "the compiler's words: " << messages_[0];

  // Every later use of the slot is quiet and harmless.
  setTextures(1, makeDecal(128));
  setTint(1, 1, 1, 1);
  cg_->setModelViewProjection(1, kModelViewProj);
  cg_->loadFragmentProgram(1);
  cg_->createFragmentProgram(broken, 1);
  EXPECT_EQ(messages_.size(), 1u);

  // Drawn after a working program, it shows nothing, not the old picture.
  setTextures(2, makeDecal(255));
  drawPair(0, 2);
  expectColour(pixel(32, 32), {255, kRampGreen, 255}, "working pair");
  glClear(GL_COLOR_BUFFER_BIT);
  drawPair(0, 1);
  expectColour(pixel(32, 32), {0, 0, 0}, "broken fragment program");
  drawPair(0, 2);
  expectColour(pixel(32, 32), {255, kRampGreen, 255}, "working pair again");

  // A missing file, a file that is not text and a broken vertex program
  // say so too, naming the file.
  const std::string missing = programFile("no_such_program.glsl");
  const std::string binary = ::testing::TempDir() + "velmora_nul_program.glsl";
  std::ofstream(binary, std::ios::binary) << std::string("#version 330\0void main(){}", 27);
  cg_->createVertexProgram(missing, 3);
  cg_->createFragmentProgram(binary, 4);
  cg_->createVertexProgram(broken, 5);
  ASSERT_EQ(messages_.size(), 4u);
  EXPECT_NE(messages_[1].find(missing), std::string::npos) << messages_[1];
  EXPECT_NE(messages_[2].find(binary), std::string::npos) << messages_[2];
  EXPECT_NE(messages_[3].find(broken), std::string::npos) << messages_[3];

  // A broken vertex program draws nothing either.
  glClear(GL_COLOR_BUFFER_BIT);
  cg_->bindProgram(5);
  cg_->enableVertexProfile();
  drawQuad();
  cg_->disableVertexProfile();
  expectColour(pixel(32, 32), {0, 0, 0}, "broken vertex program");
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(CgShaderSetTest, CallsOnSlotsWithoutProgramsLeaveFixedFunctionDrawingAlone) {
  // As the fixed-function part does through the shared scene code.
  cg_->lookUpParameter(5, 3, "alpha");
  cg_->setParameter3f(5, 3, 1, 1, 1);
  cg_->setModelViewProjection(5, kModelViewProj);
  cg_->setTextureParameter(5, kDecal, 1);
  cg_->enableTextureParameter(5, kDecal);
  cg_->bindProgram(5);
  EXPECT_TRUE(messages_.empty());

  // Slots and indexes outside the tables do nothing, with one message each.
  for (int i = 0; i < 3; ++i) {
    cg_->createVertexProgram(programFile("object_vertex.glsl"), CgShaderSet::kSlots);
    cg_->bindProgram(-1);
    cg_->lookUpParameter(0, CgShaderSet::kParametersPerSlot, "tint");
    cg_->setParameter3f(0, -1, 1, 1, 1);
  }
  EXPECT_EQ(messages_.size(), 4u);

  glColor3f(0, 0.5f, 1);
  drawQuad();
  expectColour(pixel(32, 32), {0, 128, 255}, "fixed function");
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(CgShaderSetTest, AContextSharingObjectsRunsTheProgramsWithEnablesOfItsOwn) {
  loadPair(0);
  snapshotMatrices(0);
  setTint(0, 0, 0, 1);
  setTint(1, 0, 0, 1);
  setTextures(1, makeDecal(255));

  SDL_GL_SetAttribute(SDL_GL_SHARE_WITH_CURRENT_CONTEXT, 1);
  SDL_GLContext second = SDL_GL_CreateContext(gl.window());
  SDL_GL_SetAttribute(SDL_GL_SHARE_WITH_CURRENT_CONTEXT, 0);
  ASSERT_NE(second, nullptr) << SDL_GetError();
  resetState();
  setTextures(1, textures_.back());  // texture bindings are the context's own
  cg_->bindProgram(0);
  cg_->bindProgram(1);
  cg_->enableVertexProfile();
  cg_->enableFragmentProfile();
  drawQuad();
  expectColour(pixel(32, 32), {255, kRampGreen, 255}, "second context");

  // The first context's profiles stayed off.
  ASSERT_EQ(SDL_GL_MakeCurrent(gl.window(), gl.context()), 0);
  glClear(GL_COLOR_BUFFER_BIT);
  glColor3f(0, 1, 0);
  drawQuad();
  expectColour(pixel(32, 32), {0, 255, 0}, "first context");

  ASSERT_EQ(SDL_GL_MakeCurrent(gl.window(), second), 0);
  glClear(GL_COLOR_BUFFER_BIT);
  drawQuad();
  expectColour(pixel(32, 32), {255, kRampGreen, 255}, "second context, still enabled");
  cg_->disableProfiles();
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  SDL_GL_MakeCurrent(gl.window(), gl.context());
  SDL_GL_DeleteContext(second);
}

TEST_F(CgShaderSetTest, VectorParametersTakeTheComponentsTheyHaveAndWrongTypesAreRefused) {
  cg_->createFragmentProgram(programFile("vector_fragment.glsl"), 0);
  const GLuint program = cg_->programs[0].program;
  ASSERT_NE(program, 0u) << (messages_.empty() ? "" : messages_.front());
  cg_->lookUpParameter(0, 3, "alpha");
  cg_->lookUpParameter(0, 2, "LightPos");
  cg_->lookUpParameter(0, kModelViewProj, "ModelViewProj");
  auto read = [&](int index) {
    std::array<float, 4> v{-1, -1, -1, -1};
    glExtensionTable.glGetUniformfv(program, cg_->parameters[0][index].location, v.data());
    return v;
  };
  glExtensionTable.glProgramUniform4f(program, cg_->parameters[0][2].location, 0, 0, 0, 0.5f);
  cg_->setParameter3f(0, 3, 0.25f, 9, 9);
  cg_->setParameter3f(0, 2, 1, 2, 3);
  EXPECT_EQ(read(3)[0], 0.25f);
  EXPECT_EQ(read(2), (std::array<float, 4>{1, 2, 3, 0.5f})) << "w is kept";
  EXPECT_TRUE(messages_.empty());

  // A matrix set as a vector, a vector set as a matrix, a name the program
  // lacks: refused, said once each.
  cg_->setParameter3f(0, kModelViewProj, 1, 2, 3);
  cg_->setParameter3f(0, kModelViewProj, 1, 2, 3);
  cg_->setModelViewProjection(0, 2);
  cg_->lookUpParameter(0, 6, "notDeclared");
  EXPECT_FALSE(cg_->parameters[0][6]);
  EXPECT_EQ(messages_.size(), 3u);
  EXPECT_EQ(read(2), (std::array<float, 4>{1, 2, 3, 0.5f}));
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

}  // namespace

namespace {

// The demo's textures are all 2-D; a program that declares "oned" a
// sampler1D cannot read one. It must hear so once and read nothing, not the
// 1-D texture an earlier pass left on the unit.
TEST_F(CgShaderSetTest, ATextureOfTheWrongKindIsReportedOnceAndLeavesTheSamplerEmpty) {
  cg_->createContext();
  cg_->createFragmentProgram(programFile("decal_ramp_fragment.glsl"), 1);
  cg_->lookUpParameter(1, kRamp, "oned");
  const CgParameter& ramp = cg_->parameters[1][kRamp];
  ASSERT_TRUE(ramp);
  auto rampUnitHolds = [&] {
    GLint bound = -1;
    glActiveTexture(GLenum(GL_TEXTURE0 + ramp.unit));
    glGetIntegerv(GL_TEXTURE_BINDING_1D, &bound);
    glActiveTexture(GL_TEXTURE0);
    return GLuint(bound);
  };
  cg_->setTextureParameter(1, kRamp, ramp_);
  cg_->enableTextureParameter(1, kRamp);
  ASSERT_EQ(rampUnitHolds(), ramp_);
  ASSERT_TRUE(messages_.empty());

  const GLuint picture = makeDecal(255);
  for (int frame = 0; frame < 3; ++frame) {
    cg_->setTextureParameter(1, kRamp, picture);
    cg_->enableTextureParameter(1, kRamp);
  }
  EXPECT_EQ(rampUnitHolds(), 0u);
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_NE(messages_[0].find("\"oned\""), std::string::npos) << messages_[0];
  EXPECT_NE(messages_[0].find("1-D"), std::string::npos) << messages_[0];
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST(SeparablePrograms, VersionFourOneOrTheExtension) {
  EXPECT_TRUE(separableProgramsOffered("4.5 (Compatibility Profile) Mesa 22.3.6", ""));
  EXPECT_TRUE(separableProgramsOffered("4.1", ""));
  EXPECT_TRUE(separableProgramsOffered("3.0 Mesa", "GL_ARB_fragment_program GL_ARB_separate_shader_objects"));
  EXPECT_FALSE(separableProgramsOffered("4.0.0 NVIDIA", "GL_ARB_fragment_program"));
  EXPECT_FALSE(separableProgramsOffered("", ""));
}

}  // namespace
