#include "effects/line_batch.h"

#include <gtest/gtest.h>

#include <GL/gl.h>

#include <vector>

#include "gl_test_context.h"

namespace {
constexpr int kSize = 96;

// One unit is one pixel, origin at the bottom left.
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

  // A fan of crossing lines with a colour per end, the additive case where
  // overlaps show double counting.
  struct Line {
    FlagVec3 a, b;
    LineColour ca, cb;
  };
  static std::vector<Line> fan() {
    std::vector<Line> lines;
    for (int k = 0; k < 24; ++k) {
      const float s = float(k) / 23.0f;
      lines.push_back({{1, 4.5f + 80 * s, 3.5f, 0},
                       {1, 90.5f - 70 * s, 92.5f, 0},
                       {0.3f, 0.2f * s, 0.1f, 1},
                       {0.1f, 0.25f, 0.4f * s, 1}});
    }
    return lines;
  }
};

TEST_F(LineBatchTest, DrawsTheSamePixelsAsImmediateMode) {
  glLineWidth(2.0f);
  glBegin(GL_LINES);
  for (const Line& l : fan()) {
    glColor4f(l.ca.r, l.ca.g, l.ca.b, l.ca.a);
    glVertex3f(l.a.x, l.a.y, l.a.z);
    glColor4f(l.cb.r, l.cb.g, l.cb.b, l.cb.a);
    glVertex3f(l.b.x, l.b.y, l.b.z);
  }
  glEnd();
  glLineWidth(1.0f);
  const auto immediate = windowRgb();

  glClear(GL_COLOR_BUFFER_BIT);
  LineBatch batch(5);  // full several times over: flushes on its own
  batch.setWidth(2.0f);
  for (const Line& l : fan()) batch.segment(l.a, l.ca, l.b, l.cb);
  batch.flush();
  EXPECT_EQ(windowRgb(), immediate);
  EXPECT_EQ(batch.drawnSegments(), 24u);
  EXPECT_EQ(batch.drawCalls(), 5u);
  EXPECT_EQ(batch.pendingSegments(), 0u);
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(LineBatchTest, StripsJoinTheirVerticesInOrder) {
  LineBatch batch(8);
  const LineColour white{1, 1, 1, 1};
  batch.beginStrip();
  batch.stripVertex({1, 10.5f, 10.5f, 0}, white);
  EXPECT_EQ(batch.pendingSegments(), 0u);  // one vertex is no line yet
  batch.stripVertex({1, 50.5f, 10.5f, 0}, white);
  batch.stripVertex({1, 50.5f, 50.5f, 0}, white);
  batch.beginStrip();  // a new strip does not join the last one
  batch.stripVertex({1, 70.5f, 80.5f, 0}, white);
  EXPECT_EQ(batch.pendingSegments(), 2u);
  batch.flush();
  EXPECT_EQ(pixel(30, 10)[0], 255);
  EXPECT_EQ(pixel(50, 30)[0], 255);
  EXPECT_EQ(pixel(30, 30)[0], 0);
  EXPECT_EQ(pixel(60, 65)[0], 0);
}

TEST_F(LineBatchTest, LeavesTheCurrentColourAndWidthAlone) {
  for (bool immediate : {false, true}) {
    SCOPED_TRACE(immediate ? "immediate" : "batched");
    glColor4f(0.25f, 0.5f, 0.75f, 1.0f);
    LineBatch batch(4);
    batch.setImmediate(immediate);
    batch.setWidth(3.0f);
    batch.flush();  // empty: no draw at all
    EXPECT_EQ(batch.drawCalls(), 0u);
    batch.segment({1, 0, 0, 0}, {1, 10, 10, 0}, {1, 0, 0, 1});
    batch.flush();
    EXPECT_EQ(batch.drawCalls(), 1u);
    EXPECT_EQ(batch.drawnSegments(), 1u);
    GLfloat colour[4], width = 0;
    glGetFloatv(GL_CURRENT_COLOR, colour);
    glGetFloatv(GL_LINE_WIDTH, &width);
    EXPECT_FLOAT_EQ(colour[0], 0.25f);
    EXPECT_FLOAT_EQ(colour[2], 0.75f);
    EXPECT_EQ(width, 1.0f);
    GLboolean arrayOn = GL_TRUE;
    glGetBooleanv(GL_VERTEX_ARRAY, &arrayOn);
    EXPECT_EQ(arrayOn, GL_FALSE);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  }
}
}  // namespace
