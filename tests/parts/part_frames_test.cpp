// Whole frames of both parts, as the director draws them: what they cost
// the heap and which surfaces they touch.
#include <atomic>
#include <cstdlib>
#include <new>
#include <vector>

#include "core/diagnostics.h"
#include "director/frame_inputs.h"
#include "gl_call_counter.h"
#include "gl_test_context.h"
#include "gpu/offscreen_target.h"
#include "parts/part_alpha.h"
#include "parts/part_beta.h"
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

class PartFramesTest : public GlSuite<128> {
 protected:
  void SetUp() override {
    GlSuite::SetUp();
    std::string error;
    ASSERT_TRUE(createOffscreenTarget(target_, error)) << error;
  }
  void TearDown() override { destroyOffscreenTarget(target_); }

  // Draws `frames` frames of `step` seconds from part time `from`.
  void play(SetUpPart& s, double from, double step, int frames) {
    s.part->partTime = s.part->timeAccumulator = from;
    for (int i = 0; i < frames; ++i) {
      double delta = step;
      s.part->drawFrame(&delta, &target_, s.app.get(), &inputs_);
    }
  }

  OffscreenTarget target_;
  FrameInputs inputs_;
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

// The fixed-function part draws straight into the window: the offscreen
// surface, which it never reads, is left as it was.
TEST_F(PartFramesTest, TheFixedFunctionPartLeavesTheOffscreenSurfaceAlone) {
  SetUpPart s = setUpPart<PartBeta>();
  makePbufferCurrent(target_);
  glViewport(0, 0, OffscreenTarget::kSize, OffscreenTarget::kSize);
  glClearColor(0, 1, 0, 1);
  glClearDepth(0.25);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glClearDepth(1.0);
  makeWindowCurrent(target_);

  play(s, 12.0, 1.0 / 30, 2);

  makePbufferCurrent(target_);
  for (auto [x, y] : {std::pair{0, 0}, {5, 5}, {400, 300}, {1023, 1023}}) {
    float depth = 0.0f;
    glReadPixels(x, y, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
    EXPECT_NEAR(depth, 0.25f, 1e-4f) << x << ", " << y;
    EXPECT_EQ(pixel(x, y)[1], 255) << x << ", " << y;
  }
  makeWindowCurrent(target_);
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}
}  // namespace
