#include "gpu/cg_shader_set.h"

#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "core/diagnostics.h"
#include "gl_test_context.h"

namespace {

std::string programFile(const char* name) { return std::string(VELMORA_SOURCE_DIR) + "/tests/gpu/programs/" + name; }

// Parameter indexes as the demo uses them; 4 holds the test programs' tint.
constexpr int kModelViewProj = 5;
constexpr int kTint = 4;
constexpr int kDecal = 7;
constexpr int kRamp = 10;
constexpr int kModelViewObject = 14;

constexpr GLubyte kDecalGreen = 96, kRampGreen = 200;

using Colour = std::array<int, 3>;

void expectColour(const Colour& seen, const Colour& expected, const char* where) {
  for (int c = 0; c < 3; ++c) EXPECT_NEAR(seen[c], expected[c], 2) << where << ": channel " << c;
}

class CgShaderSetTest : public GlSuite<> {
 protected:
  void SetUp() override {
    GlSuite::SetUp();
    cg_ = std::make_unique<CgShaderSet>();
    setDiagnosticWriter([this](DiagnosticLevel, const std::string& line) { messages_.push_back(line); });
    // The ramp's greens: a decal green of 96 / 255 reads texel 1.
    ramp_ = makeTexture(GL_TEXTURE_1D, {0, 10, 0, 0, 0, kRampGreen, 0, 0, 0, 30, 0, 0, 0, 40, 0, 0});
  }

  void TearDown() override {
    setDiagnosticWriter({});
    cg_->disableProfiles();
    glDeleteTextures(static_cast<GLsizei>(textures_.size()), textures_.data());
  }

  GLuint makeDecal(GLubyte red) { return makeTexture(GL_TEXTURE_2D, std::vector<GLubyte>{red, kDecalGreen, 0, 255}); }

  // A row of RGBA texels, sampled nearest.
  GLuint makeTexture(GLenum target, const std::vector<GLubyte>& texels) {
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(target, name);
    if (target == GL_TEXTURE_1D) glTexImage1D(target, 0, GL_RGBA8, 4, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    if (target == GL_TEXTURE_2D) glTexImage2D(target, 0, GL_RGBA8, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
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

  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

// The programs share helpers through `#include "name"` lines, resolved from
// the program's folder: the helper's function compiles into the program,
// an error inside the helper is counted in the helper's own lines, and a
// helper that is missing is named.
TEST_F(CgShaderSetTest, IncludedHelpersCompileInAndAMissingOneIsNamed) {
  const std::string folder = ::testing::TempDir();
  std::ofstream(folder + "velmora_helper.glsl") << "vec3 tint() { return vec3(1.0, 0.5, 0.0); }\n";
  std::ofstream(folder + "velmora_bad_helper.glsl") << "// fine\nvec3 tint() { return undeclaredHelperTint; }\n";
  std::ofstream(folder + "velmora_uses_helper.glsl")
      << "#version 330 compatibility\n#include \"velmora_helper.glsl\"\nvoid main() { gl_FragColor = vec4(tint(), "
         "1.0); }\n";
  std::ofstream(folder + "velmora_uses_bad_helper.glsl")
      << "#version 330 compatibility\n#include \"velmora_bad_helper.glsl\"\nvoid main() { gl_FragColor = vec4(tint(), "
         "1.0); }\n";
  std::ofstream(folder + "velmora_uses_missing_helper.glsl")
      << "#version 330 compatibility\n#include \"velmora_no_helper.glsl\"\nvoid main() {}\n";
  cg_->createFragmentProgram(folder + "velmora_uses_helper.glsl", 3);
  EXPECT_NE(cg_->programs[3].program, 0u);
  EXPECT_TRUE(messages_.empty()) << messages_.front();
  cg_->createFragmentProgram(folder + "velmora_uses_bad_helper.glsl", 4);
  cg_->createFragmentProgram(folder + "velmora_uses_missing_helper.glsl", 5);
  ASSERT_EQ(messages_.size(), 2u);
  EXPECT_EQ(cg_->programs[4].program, 0u);
  EXPECT_NE(messages_[0].find("1:2("), std::string::npos) << "the helper's second line: " << messages_[0];
  EXPECT_EQ(cg_->programs[5].program, 0u);
  EXPECT_NE(messages_[1].find("\"velmora_no_helper.glsl\", which it includes"), std::string::npos) << messages_[1];
}

// A broken program, a missing file, a file that is not text: one message
// each naming the file (with the compiler's words); the slot draws nothing,
// not an earlier picture, and every later use of it is quiet. Slots and
// indexes outside the tables do nothing, said once each; calls on slots
// without programs (as the fixed-function part makes) leave it alone.
TEST_F(CgShaderSetTest, BrokenProgramsAndSlotsOutsideTheTablesDrawNothingAndSaySoOnce) {
  loadPair(0);
  snapshotMatrices(0);
  setTint(0, 1, 1, 1);
  setTint(1, 0, 0, 1);
  setTextures(1, makeDecal(255));
  const std::string broken = programFile("broken_fragment.glsl"), missing = programFile("no_such_program.glsl"),
                    binary = ::testing::TempDir() + "velmora_nul_program.glsl";
  std::ofstream(binary, std::ios::binary) << std::string("#version 330\0void main(){}", 27);
  cg_->createFragmentProgram(broken, 3);
  EXPECT_EQ(cg_->programs[3].program, 0u);
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_NE(messages_[0].find("undeclaredTint"), std::string::npos) << "the compiler's words: " << messages_[0];
  setTextures(3, makeDecal(128));
  setTint(3, 1, 1, 1);
  cg_->setModelViewProjection(3, kModelViewProj);
  cg_->loadFragmentProgram(3);
  cg_->createFragmentProgram(broken, 3);
  EXPECT_EQ(messages_.size(), 1u);
  drawPair(0, 1);
  expectColour(pixel(32, 32), {255, kRampGreen, 255}, "working pair");
  glClear(GL_COLOR_BUFFER_BIT);
  drawPair(0, 3);
  expectColour(pixel(32, 32), {0, 0, 0}, "broken fragment program");
  cg_->createVertexProgram(missing, 4);
  cg_->createFragmentProgram(binary, 5);
  cg_->createVertexProgram(broken, 6);
  ASSERT_EQ(messages_.size(), 4u);
  for (size_t i = 1; i < 4; ++i)
    EXPECT_NE(messages_[i].find(std::vector{broken, missing, binary, broken}[i]), std::string::npos) << messages_[i];
  cg_->bindProgram(6);
  cg_->enableVertexProfile();
  drawQuad();
  cg_->disableVertexProfile();
  expectColour(pixel(32, 32), {0, 0, 0}, "broken vertex program");
  cg_->lookUpParameter(9, 3, "alpha");
  cg_->setParameter3f(9, 3, 1, 1, 1);
  cg_->setModelViewProjection(9, kModelViewProj);
  cg_->setTextureParameter(9, kDecal, 1);
  cg_->enableTextureParameter(9, kDecal);
  cg_->bindProgram(9);
  EXPECT_EQ(messages_.size(), 4u);
  for (int i = 0; i < 3; ++i) {
    cg_->createVertexProgram(programFile("object_vertex.glsl"), CgShaderSet::kSlots);
    cg_->bindProgram(-1);
    cg_->lookUpParameter(0, CgShaderSet::kParametersPerSlot, "tint");
    cg_->setParameter3f(0, -1, 1, 1, 1);
  }
  EXPECT_EQ(messages_.size(), 8u);
  glColor3f(0, 0.5f, 1);
  drawQuad();
  expectColour(pixel(32, 32), {0, 128, 255}, "fixed function");
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

}  // namespace
