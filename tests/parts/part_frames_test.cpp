// Whole frames of both parts, as the director draws them: what they cost
// the heap and which surfaces they touch.
#include <GL/glu.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <new>
#include <vector>

#include "core/diagnostics.h"
#include "demo/texture_numbers.h"
#include "director/frame_inputs.h"
#include "gl_call_counter.h"
#include "gl_test_context.h"
#include "gpu/offscreen_target.h"
#include "part_frame_suite.h"
#include "parts/part_alpha.h"
#include "parts/part_beta.h"
#include "parts/window_composition.h"
#include "passes/gl_state_helpers.h"
#include "set_up_part.h"

namespace {
// Every operator new of this binary is counted while `counting` is set.
std::atomic<bool> counting{false};
std::atomic<long> allocations{0};

void* allocate(std::size_t size) {
  if (counting.load(std::memory_order_relaxed)) allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
}  // namespace

void* operator new(std::size_t size) { return allocate(size); }
void* operator new[](std::size_t size) { return allocate(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace {

class PartFramesTest : public PartFrameSuite {
 protected:
  // Draws `frames` frames of `step` seconds from part time `from`.
  void play(SetUpPart& s, double from, double step, int frames) {
    s.part->partTime = s.part->timeAccumulator = from;
    for (int i = 0; i < frames; ++i) drawOneFrame(s, step);
  }
};

// The frame path allocates nothing once the first frame has sized what it
// reuses: a slow allocation in the middle of the run is a stutter.
TEST_F(PartFramesTest, FramesAfterTheFirstAllocateNothing) {
  for (bool shader : {true, false}) {
    SCOPED_TRACE(shader ? "shader" : "fixed function");
    SetUpPart s = shader ? setUpPart<PartAlpha>() : setUpPart<PartBeta>();
    // Every layer's window opens somewhere in these moments; the first
    // frame at each may size a buffer for good.
    for (double T : {1.0, 6.0, 9.0, 12.5, 15.0, 18.0, 19.5, 21.0, 23.0, 25.0, 28.0, 30.0, 32.5}) {
      play(s, T, 1.0 / 30, 1);
    }
    for (double T : {1.0, 6.0, 9.0, 12.5, 15.0, 18.0, 19.5, 21.0, 23.0, 25.0, 28.0, 30.0, 32.5}) {
      resetGlDrawCounts();
      allocations = 0;
      counting = true;
      play(s, T, 1.0 / 30, 3);
      counting = false;
      EXPECT_EQ(allocations.load(), 0) << "at " << T << " s";
    }
  }
}

// The one-pass composition shows what the quads would, but for rounding:
// the ghosts placed and grown alike (both stretches that move them), the
// first one replacing what is under it, the glow added, bright sums
// saturating.
TEST_F(PartFramesTest, TheGhostsInOnePassLookAsTheyDoQuadByQuad) {
  SetUpPart s = setUpPart<PartAlpha>();
  DemoPart& part = *s.part;
  ASSERT_NE(s.app->cgShaders.programs[size_t(part.composeProgram)].program, 0u);
  std::vector<GLubyte> scene(1024 * 1024 * 3), glow(128 * 128 * 3);
  for (int y = 0; y < 1024; ++y) {
    for (int x = 0; x < 1024; ++x) {
      GLubyte* p = &scene[size_t(y * 1024 + x) * 3];
      p[0] = GLubyte(x / 4);
      p[1] = GLubyte(y / 4);
      p[2] = GLubyte(128 + 127 * std::sin(x / 37.0) * std::cos(y / 23.0));
    }
  }
  for (size_t i = 0; i < glow.size(); ++i) glow[i] = GLubyte(160 + (i % 96));
  uploadRgbTexture(s.app->textures.name(kSceneTexture), 1024, 1024, scene.data());
  uploadRgbTexture(s.app->textures.name(kGlowTexture), 128, 128, glow.data());

  auto picture = [&](double t, bool onePass) {
    part.partTime = t;
    setCameraProjection(*s.app, target_);
    gluLookAt(1.675, 0.03833, 0, 0, 0.03833, 0, 0, 1, 0);
    glClearColor(0.1f, 0.2f, 0.3f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    if (onePass) {
      composeWindow(part, *s.app);
    } else {
      composeWindowQuadByQuad(part, *s.app);
    }
    std::vector<GLubyte> rgb = windowRgb();
    glDisable(GL_BLEND);
    return rgb;
  };
  for (double t : {14.0, 17.0, 22.6}) {
    const std::vector<GLubyte> one = picture(t, true), quads = picture(t, false);
    int worst = 0;
    double sum = 0.0;
    for (size_t i = 0; i < one.size(); ++i) {
      const int d = std::abs(int(one[i]) - int(quads[i]));
      worst = std::max(worst, d);
      sum += d;
    }
    EXPECT_LE(worst, 3) << "at " << t << " s";
    EXPECT_LT(sum / double(one.size()), 0.5) << "at " << t << " s";
  }
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}
}  // namespace
