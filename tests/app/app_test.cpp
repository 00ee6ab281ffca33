// The application's small pieces: the part choice and the wall clock. (The
// paused clock and the records' numbers are held by the program tests' keys
// and the window's middle button.)
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "app/frame_clock.h"
#include "app/part_choice.h"
#include "app/picture_fit.h"

namespace {
// The shader rendition needs fragment programs and separable programs (or
// GL 4.1), and no "Slow graphics card".
TEST(PartChoice, TheShaderRenditionOnlyWithFragmentAndSeparableProgramsOnAFastCard) {
  EXPECT_EQ(chooseRendition(true, true), RenditionKind::fixedFunction);
  EXPECT_EQ(chooseRendition(false, true), RenditionKind::shader);
  EXPECT_EQ(chooseRendition(false, false), RenditionKind::fixedFunction);
  EXPECT_NE(createPart(RenditionKind::shader), nullptr);
  EXPECT_NE(createPart(RenditionKind::fixedFunction), nullptr);
  EXPECT_TRUE(mentionsFragmentPrograms("GL_ARB_multitexture GL_ARB_fragment_program GL_EXT_fog_coord"));
  EXPECT_TRUE(mentionsFragmentPrograms("GL_NV_fragment_program2"));
  EXPECT_FALSE(mentionsFragmentPrograms("GL_ATI_fragment_shader GL_ARB_vertex_program"));
  EXPECT_TRUE(shaderRenditionOffered("4.5 (Compatibility Profile) Mesa", "GL_ARB_fragment_program"));
  EXPECT_TRUE(shaderRenditionOffered("3.0", "GL_ARB_fragment_program GL_ARB_separate_shader_objects"));
  EXPECT_FALSE(shaderRenditionOffered("3.0 Mesa", "GL_ARB_multitexture GL_ARB_fragment_program"));
  EXPECT_FALSE(shaderRenditionOffered("4.6", "GL_ARB_separate_shader_objects"));
}

TEST(FrameClock, SumsEachIntervalAsAQuotientIn64BitsAndStandsStillWithoutAFrequency) {
  FrameClock clock;
  clock.lastCounter = 1000;
  EXPECT_DOUBLE_EQ(frameClockAdvance(clock, 1500, 1000), 0.5);
  EXPECT_DOUBLE_EQ(frameClockAdvance(clock, 1750, 1000), 0.75);
  EXPECT_DOUBLE_EQ(frameClockAdvance(clock, 1750, 1000), 0.75);
  FrameClock thirds;  // 1/3 + 1/3 + 1/3 in doubles, not 3/3
  for (int i = 1; i <= 3; ++i) frameClockAdvance(thirds, i, 3);
  EXPECT_EQ(thirds.accumulated, 1.0 / 3.0 + 1.0 / 3.0 + 1.0 / 3.0);
  FrameClock wide;
  wide.lastCounter = INT64_C(0x7FFFFFFF00000000);
  EXPECT_DOUBLE_EQ(frameClockAdvance(wide, INT64_C(0x7FFFFFFF00000000) + 4'000'000'000, 1'000'000'000), 4.0);
  FrameClock none;
  none.accumulated = 2.0;
  EXPECT_DOUBLE_EQ(frameClockAdvance(none, 12345, 0), 2.0);
  EXPECT_EQ(none.lastCounter, 12345);
  frameClockReset(clock);
  std::vector<double> readings;
  for (int i = 0; i < 1000; ++i) readings.push_back(frameClockRead(clock));
  EXPECT_LT(readings.front(), 0.05);
  EXPECT_TRUE(std::is_sorted(readings.begin(), readings.end()));
}

}  // namespace

// The middle of the picture is the middle of the production's screen,
// whatever the display; its corners are that screen's corners.
TEST(PictureFit, AFullscreenCursorIsReadOnTheProductionsScreen) {
  auto on = [](int screenWidth, int screenHeight, int x, int y) {
    cursorOnProductionScreen(fitPicture(screenWidth, screenHeight), screenHeight, x, y);
    return std::pair(x, y);
  };
  EXPECT_EQ(on(1920, 1080, 960, 540), std::pair(400, 300));
  EXPECT_EQ(on(1920, 1080, 240, 0), std::pair(0, 0));
  EXPECT_EQ(on(1920, 1080, 1680, 1080), std::pair(800, 600));
  EXPECT_EQ(on(1280, 1024, 640, 512), std::pair(400, 300));
  EXPECT_EQ(on(800, 600, 123, 456), std::pair(123, 456));
}

TEST(PictureFit, OnlyMesasSoftwareRasterisersDrawTheProductionsOwnSize) {
  for (const char* software : {"llvmpipe (LLVM 15.0.6, 256 bits)", "softpipe", "Software Rasterizer"})
    EXPECT_TRUE(softwareRenderer(software)) << software;
  for (const char* card : {"NVIDIA GeForce RTX 3060/PCIe/SSE2", "Mesa Intel(R) UHD Graphics 620 (KBL GT2)",
                           "AMD Radeon RX 6600 (radeonsi, navi23, LLVM 15.0.6, DRM 3.49)", ""})
    EXPECT_FALSE(softwareRenderer(card)) << card;
}
