#include "gpu/basis_matrix.h"

#include <GL/gl.h>

void loadBasisMatrix(const FlagVec3& a, const FlagVec3& b, const FlagVec3& c) {
  GLfloat m[16];
  glGetFloatv(GL_TEXTURE_MATRIX, m);
  // Column-major: m[0..2] is the first column.
  m[0] = a.x;
  m[1] = a.y;
  m[2] = a.z;
  m[4] = b.x;
  m[5] = b.y;
  m[6] = b.z;
  m[8] = c.x;
  m[9] = c.y;
  m[10] = c.z;
  glLoadMatrixf(m);
}
