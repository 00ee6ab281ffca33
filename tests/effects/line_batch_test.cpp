#include "effects/line_batch.h"

#include <gtest/gtest.h>

#include <GL/gl.h>

#include <tuple>
#include <vector>

#include "gl_test_context.h"

namespace {
constexpr int kSize = 96;

// One unit is one pixel, origin at the bottom left; additive, where
// overlaps show double counting.
class LineBatchTest : public GlSuite<kSize> {
 protected:
  void SetUp() override {
    GlSuite::SetUp();
    glMatrixMode(GL_PROJECTION);
    glOrtho(0, kSize, 0, kSize, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
  }
};

// A fan of crossing lines with a colour per end, drawn in immediate mode and
// through a batch that fills several times over: the same pixels; strips
// join their vertices in order and a new strip does not join the last.
TEST_F(LineBatchTest, DrawsTheSamePixelsAsImmediateModeAndJoinsStripsInOrder) {
  auto line = [](int k, FlagVec3& a, FlagVec3& b, LineColour& ca, LineColour& cb) {
    const float s = float(k) / 23.0f;
    a = {1, 4.5f + 80 * s, 3.5f, 0}, b = {1, 90.5f - 70 * s, 92.5f, 0};
    ca = {0.3f, 0.2f * s, 0.1f, 1}, cb = {0.1f, 0.25f, 0.4f * s, 1};
  };
  FlagVec3 a, b;
  LineColour ca, cb;
  glLineWidth(2.0f);
  glBegin(GL_LINES);
  for (int k = 0; k < 24; ++k) {
    line(k, a, b, ca, cb);
    glColor4f(ca.r, ca.g, ca.b, ca.a), glVertex3f(a.x, a.y, a.z), glColor4f(cb.r, cb.g, cb.b, cb.a),
        glVertex3f(b.x, b.y, b.z);
  }
  glEnd();
  glLineWidth(1.0f);
  const auto immediate = windowRgb();
  glClear(GL_COLOR_BUFFER_BIT);
  LineBatch batch(5);
  batch.setWidth(2.0f);
  for (int k = 0; k < 24; ++k) line(k, a, b, ca, cb), batch.segment(a, ca, b, cb);
  batch.flush();
  EXPECT_EQ(windowRgb(), immediate);
  EXPECT_EQ(batch.drawnSegments(), 24u);
  EXPECT_EQ(batch.drawCalls(), 5u);  // full several times over: flushed on its own
  glClear(GL_COLOR_BUFFER_BIT);
  const LineColour white{1, 1, 1, 1};
  batch.setWidth(1.0f);
  batch.beginStrip();
  batch.stripVertex({1, 10.5f, 10.5f, 0}, white);
  EXPECT_EQ(batch.pendingSegments(), 0u);  // one vertex is no line yet
  batch.stripVertex({1, 50.5f, 10.5f, 0}, white);
  batch.stripVertex({1, 50.5f, 50.5f, 0}, white);
  batch.beginStrip();
  batch.stripVertex({1, 70.5f, 80.5f, 0}, white);
  EXPECT_EQ(batch.pendingSegments(), 2u);
  batch.flush();
  for (auto [x, y, lit] : {std::tuple{30, 10, true}, {50, 30, true}, {30, 30, false}, {60, 65, false}})
    EXPECT_EQ(pixel(x, y)[0] == 255, lit) << x << ", " << y;
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

}  // namespace
