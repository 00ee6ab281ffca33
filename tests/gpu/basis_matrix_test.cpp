#include "gpu/basis_matrix.h"

#include "gl_test_context.h"

namespace {

using BasisMatrixTest = GlSuite<>;

void read(GLenum which, GLfloat (&m)[16]) { glGetFloatv(which, m); }

// Column-major, with a translation and a non-trivial bottom row.
constexpr GLfloat kStart[16] = {9, 9, 9, 0.25f, 9, 9, 9, 0.5f, 9, 9, 9, 0.75f, 3, 4, 5, 2};

// The basis goes into whichever stack is current; translation and bottom
// row come from the texture matrix, which is otherwise left alone; the
// vectors' flags play no part.
TEST_F(BasisMatrixTest, ReplacesTheCurrentStacksBasisKeepingTheTextureMatrixsTranslationAndBottomRow) {
  glMatrixMode(GL_TEXTURE);
  glLoadMatrixf(kStart);
  glMatrixMode(GL_MODELVIEW);
  loadBasisMatrix(FlagVec3{1, 1, 0, 0}, FlagVec3{1, 0, 1, 0}, FlagVec3{1, 0, 0, 1});
  GLfloat modelview[16], texture[16];
  read(GL_MODELVIEW_MATRIX, modelview);
  read(GL_TEXTURE_MATRIX, texture);
  const GLfloat identityBasis[16] = {1, 0, 0, 0.25f, 0, 1, 0, 0.5f, 0, 0, 1, 0.75f, 3, 4, 5, 2};
  for (int k = 0; k < 16; ++k) {
    EXPECT_EQ(modelview[k], identityBasis[k]) << "element " << k;
    EXPECT_EQ(texture[k], kStart[k]) << "element " << k;
  }

  glMatrixMode(GL_TEXTURE);
  loadBasisMatrix(FlagVec3{0, 1, 2, 3}, FlagVec3{2, 4, 5, 6}, FlagVec3{1, 7, 8, 9});
  read(GL_TEXTURE_MATRIX, texture);
  const GLfloat expected[16] = {1, 2, 3, 0.25f, 4, 5, 6, 0.5f, 7, 8, 9, 0.75f, 3, 4, 5, 2};
  for (int k = 0; k < 16; ++k) EXPECT_EQ(texture[k], expected[k]) << "element " << k;
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

}  // namespace
