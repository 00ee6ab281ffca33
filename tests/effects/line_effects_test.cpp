// The opening and closing effects drawn for real, under the camera the
// parts fly at those times, with the pictures and traced outlines of the
// part's set-up. With VELMORA_SHOT_DIR set, every moment of both renditions is
// also written there as PNG, with a contact sheet of all of them.
#include <gtest/gtest.h>

#include <GL/gl.h>
#include <GL/glu.h>
#include <stb_image_write.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/rendition_kind.h"
#include "demo/demo_app.h"
#include "effects/closing_effect.h"
#include "effects/effect_frame.h"
#include "effects/line_batch.h"
#include "effects/look_at_camera.h"
#include "effects/opening_effect.h"
#include "gl_call_counter.h"
#include "gl_test_context.h"
#include "parts/camera_programme.h"
#include "parts/part_beta.h"

namespace {
constexpr int kWidth = 800, kHeight = 600;

struct Lit {
  int count = 0;
  int white = 0;  // at or near full brightness
  long sum = 0;
  int x0 = kWidth, y0 = kHeight, x1 = -1, y1 = -1;
  std::vector<bool> mask;
};

class LineEffectsTest : public ::testing::Test {
 protected:
  // The pictures and traced outlines the effects read, from the part's own
  // set-up on the generated data.
  static void SetUpTestSuite() {
    ASSERT_TRUE(gl.open(kWidth, kHeight)) << gl.error();
    ASSERT_TRUE(gl.makeCurrent());
    app = std::make_unique<DemoApp>();
    part = std::make_unique<PartBeta>();
    const std::filesystem::path here = std::filesystem::current_path();
    std::filesystem::current_path(VELMORA_BINARY_DIR "/data");
    part->setUp(app.get());
    std::filesystem::current_path(here);
    ASSERT_FALSE(app->textures.loadingFailed()) << "the generated data is missing under " VELMORA_BINARY_DIR "/data";
  }
  static void TearDownTestSuite() {
    part.reset();
    app.reset();
    gl.close();
  }

  void SetUp() override { ASSERT_TRUE(gl.makeCurrent()); }

  enum class Effect { Opening, Closing };

  // The frame as the choreography leaves it for these layers: the camera's
  // view, additive blending, depth writes off.
  static void draw(Effect effect, RenditionKind twin, double t) {
    glViewport(0, 0, kWidth, kHeight);
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    const ClipPlanes clip = clipPlanesAt(t);
    gluPerspective(75.0, 1.0, clip.nearPlane, clip.farPlane);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    runCameraProgramme(t, app->camera);
    lookAtCamera(*app);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    glDepthMask(GL_FALSE);
    const EffectFrame frame{.time = t, .textureBase = 0, .app = *app, .lines = lines, .outlines = part->outlinePaths};
    if (effect == Effect::Opening)
      drawOpeningEffect(twin == RenditionKind::shader ? kOpeningShaderLook : kOpeningFixedLook, frame);
    else
      drawClosingEffect(twin == RenditionKind::shader ? kClosingShaderLook : kClosingFixedLook, frame);
    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);
  }

  // Draw calls of one frame of the effect: array draws (the batched lines)
  // and glBegin blocks (the textured quads).
  static int drawsAt(Effect effect, RenditionKind twin, double t) {
    resetGlDrawCounts();
    draw(effect, twin, t);
    return glDrawCounts().arrayDraws + glDrawCounts().begins;
  }

  static std::vector<unsigned char> readBack() {
    std::vector<unsigned char> rgb(size_t(kWidth * kHeight * 3));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, kWidth, kHeight, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    return rgb;
  }

  // Pixels brighter than `threshold` in any channel.
  static Lit lit(const std::vector<unsigned char>& rgb, int threshold) {
    Lit l;
    l.mask.assign(size_t(kWidth * kHeight), false);
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) {
        const unsigned char* p = &rgb[size_t((y * kWidth + x) * 3)];
        l.sum += p[0] + p[1] + p[2];
        l.white += std::min({p[0], p[1], p[2]}) >= 250;
        if (std::max({p[0], p[1], p[2]}) <= threshold) continue;
        l.mask[size_t(y * kWidth + x)] = true;
        ++l.count;
        l.x0 = std::min(l.x0, x), l.y0 = std::min(l.y0, y), l.x1 = std::max(l.x1, x), l.y1 = std::max(l.y1, y);
      }
    }
    return l;
  }

  static inline GlTestContext gl;
  static inline std::unique_ptr<DemoApp> app;
  static inline std::unique_ptr<PartBeta> part;
  static inline LineBatch lines;
};

// Each effect keeps to its own time, whatever window the caller opens:
// the opening draws until 10 s inclusive, the closing only after 28 s.
TEST_F(LineEffectsTest, OpeningDrawsUntilTenAndClosingOnlyAfterTwentyEight) {
  struct Case {
    Effect effect;
    double t;
    bool draws;
  };
  const Case cases[] = {{Effect::Opening, 10.0, true},  {Effect::Opening, 10.0001, false},
                        {Effect::Closing, 9.0, false},  {Effect::Closing, 27.9, false},
                        {Effect::Closing, 28.0, false}, {Effect::Closing, 28.5, true}};
  for (RenditionKind twin : {RenditionKind::shader, RenditionKind::fixedFunction}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::to_string(c.t) + (twin == RenditionKind::shader ? " shader" : " fixed"));
      EXPECT_EQ(drawsAt(c.effect, twin, c.t) > 0, c.draws);
      EXPECT_EQ(lit(readBack(), 0).count > 0, c.draws);
    }
    EXPECT_GT(drawsAt(Effect::Opening, twin, 10.0), 0);
    EXPECT_GT(glDrawCounts().arrayDraws, 0);  // the opening's ribbons are still out at its end
  }
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(LineEffectsTest, RestoresTheStateItChanges) {
  for (auto [effect, t] : {std::pair{Effect::Opening, 6.0}, {Effect::Closing, 30.0}}) {
    draw(effect, RenditionKind::shader, t);
    GLint depth = 0, mode = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(depth, 1);
    EXPECT_EQ(mode, GL_MODELVIEW);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    GLint src = 0;
    glGetIntegerv(GL_BLEND_SRC, &src);
    EXPECT_EQ(src, GL_ONE);
  }
}

TEST_F(LineEffectsTest, TwinsLightTheSamePixelsAndOnlyBrightnessDiffers) {
  const char* shotDir = std::getenv("VELMORA_SHOT_DIR");
  constexpr int kThumbW = 200, kThumbH = 150, kMoments = 6;
  std::vector<unsigned char> sheet(size_t(kThumbW * kMoments * kThumbH * 2 * 3), 0);
  int column = 0;
  for (auto [effect, t] : {std::pair{Effect::Opening, 2.0},
                           {Effect::Opening, 6.0},
                           {Effect::Opening, 9.5},
                           {Effect::Closing, 29.0},
                           {Effect::Closing, 31.0},
                           {Effect::Closing, 33.0}}) {
    std::array<std::vector<unsigned char>, 2> shots;
    for (RenditionKind twin : {RenditionKind::shader, RenditionKind::fixedFunction}) {
      draw(effect, twin, t);
      shots[size_t(twin)] = readBack();
    }
    const Lit shader = lit(shots[0], 0), fixed = lit(shots[1], 0);
    int both = 0, either = 0;
    for (size_t i = 0; i < shader.mask.size(); ++i) {
      both += shader.mask[i] && fixed.mask[i];
      either += shader.mask[i] || fixed.mask[i];
    }
    SCOPED_TRACE("T = " + std::to_string(t));
    ASSERT_GT(shader.count, 200);
    EXPECT_GT(fixed.sum, shader.sum);
    // Where one twin rounds a fading line end down to black the other may
    // not: beyond that the lit pixels are the same.
    EXPECT_GT(double(both) / either, 0.9) << both << " of " << either;
    EXPECT_NEAR(shader.x0, fixed.x0, 4);
    EXPECT_NEAR(shader.x1, fixed.x1, 4);
    EXPECT_NEAR(shader.y0, fixed.y0, 4);
    EXPECT_NEAR(shader.y1, fixed.y1, 4);
    std::printf("T = %.1f: %d of %d lit pixels shared; sums %ld, %ld; white %d, %d\n", t, both, either, shader.sum,
                fixed.sum, shader.white, fixed.white);
    // Many faint lines, not a white screen.
    EXPECT_LT(shader.white, kWidth * kHeight / 200);
    EXPECT_LT(fixed.white, kWidth * kHeight / 100);

    for (size_t twin = 0; twin < 2 && shotDir != nullptr; ++twin) {
      const std::string name = std::string(shotDir) + "/" + (effect == Effect::Opening ? "opening" : "closing") + "-" +
                               std::to_string(int(t * 10)) + (twin == 0 ? "-shader" : "-fixed") + ".png";
      stbi_flip_vertically_on_write(1);
      stbi_write_png(name.c_str(), kWidth, kHeight, 3, shots[twin].data(), kWidth * 3);
      // Thumbnail: the brightest of each 4 x 4 block, so thin lines survive.
      for (int y = 0; y < kThumbH; ++y) {
        for (int x = 0; x < kThumbW; ++x) {
          for (int c = 0; c < 3; ++c) {
            unsigned char m = 0;
            for (int dy = 0; dy < 4; ++dy)
              for (int dx = 0; dx < 4; ++dx)
                m = std::max(m, shots[twin][size_t(((y * 4 + dy) * kWidth + x * 4 + dx) * 3 + c)]);
            const int row = int(1 - twin) * kThumbH + y;  // shader rendition on top
            sheet[size_t((row * kThumbW * kMoments + column * kThumbW + x) * 3 + c)] = m;
          }
        }
      }
    }
    ++column;
  }
  if (shotDir != nullptr) {
    const std::string name = std::string(shotDir) + "/line-effects.png";
    stbi_write_png(name.c_str(), kThumbW * kMoments, kThumbH * 2, 3, sheet.data(), kThumbW * kMoments * 3);
  }
}
}  // namespace
