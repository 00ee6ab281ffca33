#include "gpu/basis_matrix.h"

#include "gl_test_context.h"

namespace {

using BasisMatrixTest = GlSuite<>;

void read(GLenum which, GLfloat (&m)[16]) { glGetFloatv(which, m); }

// Column-major, with a translation and a non-trivial bottom row.
constexpr GLfloat kStart[16] = {9, 9, 9, 0.25f, 9, 9, 9, 0.5f, 9, 9, 9, 0.75f, 3, 4, 5, 2};

TEST_F(BasisMatrixTest, ReplacesTheBasisAndKeepsTranslationAndBottomRow) {
  glMatrixMode(GL_TEXTURE);
  glLoadMatrixf(kStart);
  loadBasisMatrix(FlagVec3{0, 1, 2, 3}, FlagVec3{2, 4, 5, 6}, FlagVec3{1, 7, 8, 9});
  GLfloat m[16];
  read(GL_TEXTURE_MATRIX, m);
  const GLfloat expected[16] = {1, 2, 3, 0.25f, 4, 5, 6, 0.5f, 7, 8, 9, 0.75f, 3, 4, 5, 2};
  for (int k = 0; k < 16; ++k) EXPECT_EQ(m[k], expected[k]) << "element " << k;
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(BasisMatrixTest, LoadsIntoWhicheverStackIsCurrent) {
  glMatrixMode(GL_TEXTURE);
  glLoadMatrixf(kStart);
  glMatrixMode(GL_MODELVIEW);
  loadBasisMatrix(FlagVec3{1, 1, 0, 0}, FlagVec3{1, 0, 1, 0}, FlagVec3{1, 0, 0, 1});
  GLfloat modelview[16], texture[16];
  read(GL_MODELVIEW_MATRIX, modelview);
  read(GL_TEXTURE_MATRIX, texture);
  // Translation and bottom row come from the texture matrix that was read.
  const GLfloat expected[16] = {1, 0, 0, 0.25f, 0, 1, 0, 0.5f, 0, 0, 1, 0.75f, 3, 4, 5, 2};
  for (int k = 0; k < 16; ++k) {
    EXPECT_EQ(modelview[k], expected[k]) << "element " << k;
    EXPECT_EQ(texture[k], kStart[k]) << "element " << k;
  }
}

}  // namespace
