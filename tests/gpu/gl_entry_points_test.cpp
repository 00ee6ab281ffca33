#include "gpu/gl_entry_points.h"

#include <map>
#include <string>

#include "gl_test_context.h"
#include "platform/gl_window.h"

namespace {

class GlEntryPointsTest : public GlSuite<> {
 protected:
  void SetUp() override {
    GlSuite::SetUp();
    resetGlExtensionTable();
  }
  void TearDown() override {
    setGlProcResolver(nullptr);
    glActiveTexture(GL_TEXTURE0);
  }

  static inline std::map<std::string, int> asked_;
  static void* driverLacksEverything(const char* name) {
    ++asked_[name];
    return nullptr;
  }
};

TEST_F(GlEntryPointsTest, FirstCallGoesIntoTheDriverAndKeepsItsPointer) {
  const auto stub = glExtensionTable.glActiveTextureARB;
  glExtensionTable.glActiveTextureARB(GL_TEXTURE2_ARB);
  GLint active = 0;
  glGetIntegerv(GL_ACTIVE_TEXTURE, &active);
  EXPECT_EQ(active, GL_TEXTURE2);
  EXPECT_NE(reinterpret_cast<void*>(glExtensionTable.glActiveTextureARB), reinterpret_cast<void*>(stub));
  EXPECT_EQ(reinterpret_cast<void*>(glExtensionTable.glActiveTextureARB), platformGlProcAddress("glActiveTextureARB"));

  // The first call's result comes back through the stub.
  EXPECT_EQ(glExtensionTable.glCheckFramebufferStatus(GL_FRAMEBUFFER), GLenum(GL_FRAMEBUFFER_COMPLETE));
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(GlEntryPointsTest, AMissingFunctionReturnsZeroAndIsAskedForAgainNextTime) {
  asked_.clear();
  setGlProcResolver(&driverLacksEverything);
  const auto statusStub = glExtensionTable.glCheckFramebufferStatus;
  const auto createStub = glExtensionTable.glCreateShaderProgramv;
  const auto blendStub = glExtensionTable.glBlendColorEXT;
  const char* source = "void main() {}";
  for (int call = 0; call < 2; ++call) {
    EXPECT_EQ(glExtensionTable.glCheckFramebufferStatus(GL_FRAMEBUFFER), 0u);
    EXPECT_EQ(glExtensionTable.glCreateShaderProgramv(GL_FRAGMENT_SHADER, 1, &source), 0u);
    glExtensionTable.glBlendColorEXT(1, 1, 1, 1);
  }
  EXPECT_EQ(asked_["glCheckFramebufferStatus"], 2);
  EXPECT_EQ(asked_["glCreateShaderProgramv"], 2);
  EXPECT_EQ(asked_["glBlendColorEXT"], 2);
  EXPECT_EQ(glExtensionTable.glCheckFramebufferStatus, statusStub);
  EXPECT_EQ(glExtensionTable.glCreateShaderProgramv, createStub);
  EXPECT_EQ(glExtensionTable.glBlendColorEXT, blendStub);

  // Once the driver has it, the next call finds it.
  setGlProcResolver(nullptr);
  EXPECT_EQ(glExtensionTable.glCheckFramebufferStatus(GL_FRAMEBUFFER), GLenum(GL_FRAMEBUFFER_COMPLETE));
  EXPECT_NE(glExtensionTable.glCheckFramebufferStatus, statusStub);
}

}  // namespace
