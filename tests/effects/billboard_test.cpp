#include <gtest/gtest.h>

#include <GL/gl.h>
#include <GL/glu.h>

#include <array>
#include <vector>

#include "effects/billboard.h"
#include "gl_test_context.h"
#include "gpu/texture_table.h"

namespace {
constexpr int kSize = 200;

struct Box {
  int count = 0;
  int x0 = kSize, y0 = kSize, x1 = -1, y1 = -1;
};

// Draws under an orthographic view where one unit is one pixel, origin in
// the middle of the viewport.
class BillboardTest : public GlSuite<kSize> {
 protected:
  void SetUp() override {
    GlSuite::SetUp();
    glMatrixMode(GL_PROJECTION);
    glOrtho(-kSize / 2, kSize / 2, -kSize / 2, kSize / 2, -1000, 1000);
    glMatrixMode(GL_MODELVIEW);
  }

  // Pixels whose colour matches, and their bounding box.
  static Box find(std::array<unsigned char, 3> colour) {
    const auto rgb = windowRgb();
    Box b;
    for (int y = 0; y < kSize; ++y) {
      for (int x = 0; x < kSize; ++x) {
        const unsigned char* p = &rgb[(y * kSize + x) * 3];
        if (p[0] != colour[0] || p[1] != colour[1] || p[2] != colour[2]) continue;
        ++b.count;
        b.x0 = std::min(b.x0, x);
        b.y0 = std::min(b.y0, y);
        b.x1 = std::max(b.x1, x);
        b.y1 = std::max(b.y1, y);
      }
    }
    return b;
  }

  static GLuint texture(int size, std::array<unsigned char, 3> (*colourAt)(int x, int y)) {
    std::vector<unsigned char> rgb(static_cast<size_t>(size * size * 3));
    for (int y = 0; y < size; ++y) {
      for (int x = 0; x < size; ++x) {
        const auto c = colourAt(x, y);
        std::copy(c.begin(), c.end(), &rgb[static_cast<size_t>((y * size + x) * 3)]);
      }
    }
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, size, size, 0, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    return name;
  }
};

TEST_F(BillboardTest, FacesTheViewerWhateverTheModelviewRotationAndScale) {
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
}

TEST_F(BillboardTest, RollTurnsTheQuadInPlace) {
  drawBillboard(90.0, 10.0, 10.0);
  EXPECT_EQ(find({255, 255, 255}).count, 400);
  SetUp();
  drawBillboard(45.0, 20.0, 20.0);
  const Box diamond = find({255, 255, 255});
  // A 40 x 40 square turned by 45 degrees spans about 56 pixels.
  EXPECT_NEAR(diamond.x1 - diamond.x0 + 1, 56, 2);
  EXPECT_NEAR(diamond.count, 1600, 40);
}

TEST_F(BillboardTest, ScreenCopyExtentsFollowTheModeAndTheWidth) {
  EXPECT_EQ(screenCopyExtent(800, -1).u, 0.78125);
  EXPECT_EQ(screenCopyExtent(800, -1).v, 0.5859375);
  EXPECT_EQ(screenCopyExtent(640, -1).u, 0.625);
  EXPECT_EQ(screenCopyExtent(640, -1).v, 0.46875);
  EXPECT_EQ(screenCopyExtent(1024, -1).u, 1.0);
  EXPECT_EQ(screenCopyExtent(600, 3).u, 1.0);  // narrow widths always take the whole texture
  EXPECT_EQ(screenCopyExtent(1024, 3).v, 0.234375);
  EXPECT_EQ(screenCopyExtent(1024, 1).u, 0.625);
  EXPECT_EQ(screenCopyExtent(640, 2).u, 0.78125);
  EXPECT_EQ(screenCopyExtent(800, 7).u, 1.0);
}

TEST_F(BillboardTest, ScreenCopyBillboardShowsOnlyTheCopiedScreen) {
  // Red where an 800 x 600 copy lands in a 1024 x 1024 texture, blue beyond.
  const GLuint name = texture(32, [](int x, int y) -> std::array<unsigned char, 3> {
    return (x < 25 && y < 19) ? std::array<unsigned char, 3>{255, 0, 0} : std::array<unsigned char, 3>{0, 0, 255};
  });
  glEnable(GL_TEXTURE_2D);
  screenCopyMode = 2;
  drawScreenCopyBillboard(800, 0.0, 50.0, 50.0);
  EXPECT_EQ(find({255, 0, 0}).count, 100 * 100);
  EXPECT_EQ(find({0, 0, 255}).count, 0);
  SetUp();
  glEnable(GL_TEXTURE_2D);
  screenCopyMode = -1;
  drawScreenCopyBillboard(1024, 0.0, 50.0, 50.0);  // the whole texture
  EXPECT_GT(find({0, 0, 255}).count, 0);
  glDeleteTextures(1, &name);
  screenCopyMode = -1;
}

TEST_F(BillboardTest, QuadrantsShowOneQuarterOfTheAtlasAndOthersNothing) {
  const GLuint name = texture(4, [](int x, int y) -> std::array<unsigned char, 3> {
    const int q = (y / 2) * 2 + x / 2;
    static constexpr std::array<std::array<unsigned char, 3>, 4> kColours = {
        {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 0}}};
    return kColours[static_cast<size_t>(q)];
  });
  glEnable(GL_TEXTURE_2D);
  const std::array<std::array<unsigned char, 3>, 4> colours = {{{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 0}}};
  for (int q = 0; q < 4; ++q) {
    SetUp();
    glEnable(GL_TEXTURE_2D);
    glPushMatrix();
    drawBillboardQuadrant(q, 10.0, 10.0);
    glPopMatrix();
    EXPECT_EQ(find(colours[static_cast<size_t>(q)]).count, 400) << q;
  }
  SetUp();
  glEnable(GL_TEXTURE_2D);
  drawBillboardQuadrant(4, 10.0, 10.0);
  drawBillboardQuadrant(-1, 10.0, 10.0);
  EXPECT_EQ(find({0, 0, 0}).count, kSize * kSize);
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  glDeleteTextures(1, &name);
}

TEST_F(BillboardTest, EmittersScaleTheCallersAxesInPlace) {
  FlagVec3 centre{1, 10, 20, 0};
  FlagVec3 right{1, 1, 0, 0};
  FlagVec3 up{1, 0, 1, 0};
  glBegin(GL_QUADS);
  emitBillboardQuad(5.0, 3.0, centre, right, up);
  glEnd();
  EXPECT_EQ(right.x, 5.0f);
  EXPECT_EQ(up.y, 3.0f);
  const Box b = find({255, 255, 255});
  EXPECT_EQ(b.count, 10 * 6);
  EXPECT_EQ(b.x0, 100 + 10 - 5);
  EXPECT_EQ(b.y0, 100 + 20 - 3);

  FlagVec3 unset{0, 4, 4, 4};
  FlagVec3 up2{1, 0, 1, 0};
  glBegin(GL_QUADS);
  emitBillboardQuadTex(5.0, 3.0, centre, unset, up2, 2.0);
  glEnd();
  EXPECT_EQ(unset.flag, 1);
  EXPECT_EQ(unset.x, 0.0f);
  EXPECT_EQ(unset.y, 0.0f);
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

// Each face looks its number up in the table: the GL names behind six
// numbers in a row need not be consecutive, nor even ascending.
TEST_F(BillboardTest, SkyBoxFacesCarryTheirOwnTexturesWhateverTheirGlNames) {
  GLuint pool[12];
  glGenTextures(12, pool);
  GLuint names[6];
  for (int k = 0; k < 6; ++k) names[k] = pool[10 - 2 * k];
  TextureTable table;
  table.textureBase = 1000;  // the numbers are offset by the bank
  constexpr int kFirst = 80;
  for (int k = 0; k < 6; ++k) table.textures[static_cast<size_t>(1000 + kFirst + k)] = names[k];
  const unsigned char colours[6][3] = {{255, 0, 0},   {0, 255, 0},   {0, 0, 255},
                                       {255, 255, 0}, {0, 255, 255}, {255, 0, 255}};
  for (int k = 0; k < 6; ++k) {
    glBindTexture(GL_TEXTURE_2D, names[k]);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 1, 1, 0, GL_RGB, GL_UNSIGNED_BYTE, colours[k]);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  }
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
  const double directions[6][3] = {{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}};
  for (int k = 0; k < 6; ++k) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(60.0, 1.0, 0.1, 1000.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    const double* d = directions[k];
    const double upY = (k == 2 || k == 3) ? 0.0 : 1.0;
    gluLookAt(0, 0, 0, d[0], d[1], d[2], 0, upY, 1.0 - upY);
    glClear(GL_COLOR_BUFFER_BIT);
    drawSkyBox(table, kFirst, 100.0);
    EXPECT_EQ(pixel(100, 100), (std::array<int, 3>{colours[k][0], colours[k][1], colours[k][2]})) << "face " << k;
  }
  glDeleteTextures(12, pool);
}
}  // namespace
