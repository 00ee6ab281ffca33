// The demo's own shader programs (data/cgeffects): each compiles on this
// driver without a word, and every parameter name the demo looks up on it
// is active, so start-up logs nothing.
#include <string>
#include <vector>

#include "core/diagnostics.h"
#include "gl_test_context.h"
#include "gpu/cg_shader_set.h"

namespace {

struct EffectFile {
  const char* name;
  CgProfile profile;
  std::vector<const char*> parameters;
};

const std::vector<const char*> kVertexParameters = {"ModelViewProj", "ModelViewLightProj", "ModelViewObject",
                                                    "CameraPos",     "LightPos",           "alpha"};
const std::vector<const char*> kProjectionTextures = {"decal", "light", "texture", "texture2"};

std::vector<const char*> plus(std::vector<const char*> names, const char* more) {
  names.push_back(more);
  return names;
}

const std::vector<EffectFile> kEffectFiles = {
    {"vertex_projection_anisotropic_animation.cpp", kCgProfileVertex, kVertexParameters},
    {"vertex_projection_anisotropic.cpp", kCgProfileVertex, kVertexParameters},
    {"vertex_projection_anisotropic_nocol.cpp", kCgProfileVertex, kVertexParameters},
    {"vertex_projection_anisotropic_water.cpp", kCgProfileVertex, kVertexParameters},
    {"vertex_projection_anisotropic_base.cpp", kCgProfileVertex, kVertexParameters},
    // The scene code sets "alpha" on the caustic program's own slot too.
    {"fragment_projection_anisotropic_caustic.cpp", kCgProfileFragment, plus(kProjectionTextures, "alpha")},
    {"fragment_projection_anisotropic.cpp", kCgProfileFragment, kProjectionTextures},
    {"fragment_projection_anisotropic_water.cpp", kCgProfileFragment, kProjectionTextures},
    {"fragment_projection_anisotropic_base.cpp", kCgProfileFragment, kProjectionTextures},
    {"fragment_Blur256.cpp", kCgProfileFragment, {"decal"}},
};

std::string effectPath(const char* name) { return std::string(VELMORA_SOURCE_DIR) + "/data/cgeffects/" + name; }

using CgEffectsTest = GlSuite<>;

TEST_F(CgEffectsTest, EveryFileCompilesSilentlyWithEachLookedUpNameActive) {
  CgShaderSet cg;
  std::vector<std::string> messages;
  setDiagnosticWriter([&](DiagnosticLevel, const std::string& line) { messages.push_back(line); });
  int slot = 0;
  for (const EffectFile& file : kEffectFiles) {
    SCOPED_TRACE(file.name);
    if (file.profile == kCgProfileVertex) {
      cg.createVertexProgram(effectPath(file.name), slot);
    } else {
      cg.createFragmentProgram(effectPath(file.name), slot);
    }
    ASSERT_NE(cg.programs[size_t(slot)].program, 0u) << (messages.empty() ? "" : messages.back());
    for (const char* name : file.parameters) EXPECT_TRUE(cg.namedParameter(slot, name)) << name;
    ++slot;
  }
  setDiagnosticWriter({});
  for (const std::string& message : messages) ADD_FAILURE() << message;
}

}  // namespace
