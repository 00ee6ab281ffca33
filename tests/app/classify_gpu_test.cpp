#include "app/classify_gpu.h"

#include <gtest/gtest.h>

#include <memory>

#include "app/part_choice.h"

namespace {

struct Card {
  const char* vendor;
  const char* renderer;
  bool isAti;
  double speed;
  int lowEnd;
};

TEST(ClassifyGpu, SpeedTableLastMatchWinsOverTheVendorDefault) {
  const Card cards[] = {
      {"NVIDIA Corporation", "GeForce FX 5200/AGP/SSE2", false, 1.0, 5200},
      {"NVIDIA Corporation", "GeForce 6200 TurboCache", false, 1.0, 5200},
      {"ATI Technologies Inc.", "RADEON X800 XT", true, 2.95, 0},
      {"ATI Technologies Inc.", "Some Unknown Radeon", true, 1.5, 0},
      {"ATI Technologies Inc.", "RADEON 9600 XT", true, 1.5, 0},
      {"ATI Technologies Inc.", "RADEON 9800 PRO", true, 2.75, 0},
      {"NVIDIA Corporation", "GeForce FX 5900 Ultra", false, 1.4, 0},
      {"NVIDIA Corporation", "GeForce FX 5800", false, 1.2, 0},
      // "58" and then "6800": the later row decides.
      {"NVIDIA Corporation", "GeForce 6800 rev 58", false, 2.95, 0},
      // Plain substrings: "59" inside a longer number counts.
      {"Mesa", "llvmpipe (LLVM 15.0.6, 256 bits) build 1590", false, 1.4, 0},
      {"Mesa", "llvmpipe (LLVM 15.0.6, 256 bits)", false, 1.0, 0},
      // Case matters: "ati" inside a word is not ATI.
      {"Corporation of Nations", "x800", false, 1.0, 0},
      {"", "", false, 1.0, 0},
  };
  for (const Card& c : cards) {
    DemoApp app;
    app.gpuSpeed = 9.0;
    app.lowEndModel = 77;
    app.isAti = !c.isAti;
    classifyGpuStrings(c.vendor, c.renderer, app);
    SCOPED_TRACE(std::string(c.vendor) + " / " + c.renderer);
    EXPECT_EQ(app.isAti, c.isAti);
    EXPECT_DOUBLE_EQ(app.gpuSpeed, c.speed);
    EXPECT_EQ(app.lowEndModel, c.lowEnd);
  }
}

TEST(PartChoice, SlowCardAlwaysPlaysTheFixedFunctionOtherwiseTheCardDecides) {
  EXPECT_EQ(chooseRendition(true, true), RenditionKind::fixedFunction);
  EXPECT_EQ(chooseRendition(true, false), RenditionKind::fixedFunction);
  EXPECT_EQ(chooseRendition(false, true), RenditionKind::shader);
  EXPECT_EQ(chooseRendition(false, false), RenditionKind::fixedFunction);
  EXPECT_NE(createPart(RenditionKind::shader), nullptr);
  EXPECT_NE(createPart(RenditionKind::fixedFunction), nullptr);
}

TEST(PartChoice, FragmentProgramsAreFoundAnywhereInTheExtensionString) {
  EXPECT_TRUE(mentionsFragmentPrograms("GL_ARB_multitexture GL_ARB_fragment_program GL_EXT_fog_coord"));
  EXPECT_TRUE(mentionsFragmentPrograms("GL_NV_fragment_program2"));
  EXPECT_FALSE(mentionsFragmentPrograms("GL_ARB_multitexture GL_ATI_fragment_shader GL_ARB_vertex_program"));
  EXPECT_FALSE(mentionsFragmentPrograms(""));
}

// Fragment programs alone are not enough: every program pair is bound
// through separable programs, and without them each mesh would lose its
// object transform.
TEST(PartChoice, TheShaderRenditionAlsoNeedsSeparablePrograms) {
  EXPECT_TRUE(shaderRenditionOffered("4.5 (Compatibility Profile) Mesa", "GL_ARB_fragment_program"));
  EXPECT_TRUE(shaderRenditionOffered("3.0", "GL_ARB_fragment_program GL_ARB_separate_shader_objects"));
  EXPECT_FALSE(shaderRenditionOffered("3.0 Mesa", "GL_ARB_multitexture GL_ARB_fragment_program"));
  EXPECT_FALSE(shaderRenditionOffered("4.6", "GL_ARB_separate_shader_objects"));
}

}  // namespace
