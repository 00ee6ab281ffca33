#include "effects/billboard.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "gl_test_context.h"

namespace {
constexpr int kSize = 200;
using Colour = std::array<unsigned char, 3>;

struct Box {
  int count = 0, x0 = kSize, y0 = kSize, x1 = -1, y1 = -1;
};

// An orthographic view where one unit is one pixel, origin in the middle.
class BillboardTest : public GlSuite<kSize> {
 protected:
  void SetUp() override {
    GlSuite::SetUp();
    glMatrixMode(GL_PROJECTION);
    glOrtho(-kSize / 2, kSize / 2, -kSize / 2, kSize / 2, -1000, 1000);
    glMatrixMode(GL_MODELVIEW);
  }

  // Pixels of the colour, and their bounding box.
  static Box find(Colour colour) {
    const auto rgb = windowRgb();
    Box b;
    for (int y = 0; y < kSize; ++y)
      for (int x = 0; x < kSize; ++x) {
        if (!std::equal(colour.begin(), colour.end(), &rgb[(y * kSize + x) * 3])) continue;
        ++b.count;
        b.x0 = std::min(b.x0, x), b.y0 = std::min(b.y0, y), b.x1 = std::max(b.x1, x), b.y1 = std::max(b.y1, y);
      }
    return b;
  }
};

TEST_F(BillboardTest, FacesTheViewerWhateverTheModelviewAndRollsInPlace) {
  glTranslatef(20, -30, 0);
  glRotatef(37, 0.3f, 0.5f, 1.0f);
  glScalef(3, 2, 7);
  glPushMatrix();
  drawBillboard(0.0, 10.0, 5.0);
  glPopMatrix();
  const Box b = find({255, 255, 255});
  EXPECT_EQ(b.count, 20 * 10);
  EXPECT_EQ(b.x0, 100 + 20 - 10);
  EXPECT_EQ(b.x1, 100 + 20 + 9);
  EXPECT_EQ(b.y0, 100 - 30 - 5);
  EXPECT_EQ(b.y1, 100 - 30 + 4);

  SetUp();
  drawBillboard(45.0, 20.0, 20.0);
  const Box diamond = find({255, 255, 255});
  EXPECT_NEAR(diamond.x1 - diamond.x0 + 1, 56, 2);  // 40 x 40 turned by 45 degrees
  EXPECT_NEAR(diamond.count, 1600, 40);
}

TEST_F(BillboardTest, EmittersScaleTheCallersAxesInPlace) {
  FlagVec3 centre{1, 10, 20, 0}, right{1, 1, 0, 0}, up{1, 0, 1, 0};
  glBegin(GL_QUADS);
  emitBillboardQuad(5.0, 3.0, centre, right, up);
  glEnd();
  EXPECT_EQ(right.x, 5.0f);
  EXPECT_EQ(up.y, 3.0f);
  const Box b = find({255, 255, 255});
  EXPECT_EQ(b.count, 10 * 6);
  EXPECT_EQ(b.x0, 100 + 10 - 5);
  EXPECT_EQ(b.y0, 100 + 20 - 3);
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

}  // namespace
