#include "effects/billboard.h"

#include <GL/gl.h>

#include "gpu/texture_table.h"

int32_t screenCopyMode = -1;

namespace {
// The modelview with its 3 x 3 block made the identity: position kept,
// rotation and scale gone.
void loadFacingMatrix() {
  GLfloat m[16];
  glGetFloatv(GL_MODELVIEW_MATRIX, m);
  m[0] = m[5] = m[10] = 1.0f;
  m[1] = m[2] = m[4] = m[6] = m[8] = m[9] = 0.0f;
  glLoadMatrixf(m);
}

void quad(double u0, double v0, double u1, double v1) {
  glBegin(GL_QUADS);
  glTexCoord2d(u0, v0);
  glVertex3f(-1.0f, -1.0f, 0.0f);
  glTexCoord2d(u1, v0);
  glVertex3f(1.0f, -1.0f, 0.0f);
  glTexCoord2d(u1, v1);
  glVertex3f(1.0f, 1.0f, 0.0f);
  glTexCoord2d(u0, v1);
  glVertex3f(-1.0f, 1.0f, 0.0f);
  glEnd();
}

void facing(const double& angle, const double& sx, const double& sy) {
  loadFacingMatrix();
  glScalef(static_cast<float>(sx), static_cast<float>(sy), 0.0f);
  glRotatef(static_cast<float>(angle), 0.0f, 0.0f, 1.0f);
}

void vertexAt(const FlagVec3& v) { glVertex3f(v.x, v.y, v.z); }

void emitQuad(const double& sizeX, const double& sizeY, const FlagVec3& c, FlagVec3& r, FlagVec3& u, double e) {
  scale(r, static_cast<float>(sizeX), r);
  scale(u, static_cast<float>(sizeY), u);
  glTexCoord2d(0.0, 0.0);
  vertexAt(c - r - u);
  glTexCoord2d(e, 0.0);
  vertexAt(c + r - u);
  glTexCoord2d(e, e);
  vertexAt(c + r + u);
  glTexCoord2d(0.0, e);
  vertexAt(c - r + u);
}
}  // namespace

TextureExtent screenCopyExtent(int32_t width, int32_t mode, const PictureLayout& picture) {
  if (width <= 639) return {1.0, 1.0};
  const bool knownMode = mode >= 1 && mode <= 3;
  const bool followsWidth = mode == -1 && (width == 640 || width == picture.width);
  if (!knownMode && !followsWidth) return {1.0, 1.0};
  const CopySize copy = resolutionModeSize(mode, width, picture);
  return {double(copy.width) / picture.targetWidth, double(copy.height) / picture.targetHeight};
}

void drawBillboard(const double& angle, const double& sx, const double& sy) {
  facing(angle, sx, sy);
  quad(0.0, 0.0, 1.0, 1.0);
}

void drawScreenCopyBillboard(const PictureLayout& picture, int32_t width, const double& angle, const double& sx,
                             const double& sy) {
  const TextureExtent e = screenCopyExtent(width, screenCopyMode, picture);
  facing(angle, sx, sy);
  quad(0.0, 0.0, e.u, e.v);
}

NdcRect facingBillboardRect(const double& sx, const double& sy) {
  // Read as floats, as loadFacingMatrix reads them, so both agree.
  GLfloat modelview[16], projection[16];
  glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
  glGetFloatv(GL_PROJECTION_MATRIX, projection);
  auto corner = [&](double x, double y, double& ndcX, double& ndcY) {
    // The facing matrix keeps the modelview's last column and row.
    const double eye[4] = {x * sx + modelview[12], y * sy + modelview[13], modelview[14],
                           x * sx * modelview[3] + y * sy * modelview[7] + modelview[15]};
    double clip[4];
    for (int r = 0; r < 4; ++r) {
      clip[r] = projection[r] * eye[0] + projection[4 + r] * eye[1] + projection[8 + r] * eye[2] +
                projection[12 + r] * eye[3];
    }
    ndcX = clip[0] / clip[3];
    ndcY = clip[1] / clip[3];
  };
  NdcRect rect{};
  corner(-1.0, -1.0, rect.x0, rect.y0);
  corner(1.0, 1.0, rect.x1, rect.y1);
  return rect;
}

void drawBillboardQuadrant(int32_t quadrant, const double& sx, const double& sy) {
  loadFacingMatrix();
  glScalef(static_cast<float>(sx), static_cast<float>(sy), 0.0f);
  if (quadrant < 0 || quadrant > 3) {
    glBegin(GL_QUADS);
    glEnd();
    return;
  }
  const double u0 = (quadrant % 2) * 0.5;
  const double v0 = (quadrant / 2) * 0.5;
  quad(u0, v0, u0 + 0.5, v0 + 0.5);
}

void emitBillboardQuad(const double& sizeX, const double& sizeY, const FlagVec3& centre, FlagVec3& right,
                       FlagVec3& up) {
  emitQuad(sizeX, sizeY, centre, right, up, 1.0);
}

void emitBillboardQuadTex(const double& sizeX, const double& sizeY, const FlagVec3& centre, FlagVec3& right,
                          FlagVec3& up, double extent) {
  emitQuad(sizeX, sizeY, centre, right, up, extent);
}

void drawSkyBox(const TextureTable& textures, int32_t firstNumber, const double& size) {
  struct Face {
    float a[3], p[3], q[3];
  };
  static constexpr Face kFaces[6] = {
      {{1, 0, 0}, {0, 0, -1}, {0, 1, 0}}, {{-1, 0, 0}, {0, 0, 1}, {0, 1, 0}}, {{0, 1, 0}, {1, 0, 0}, {0, 0, -1}},
      {{0, -1, 0}, {1, 0, 0}, {0, 0, 1}}, {{0, 0, 1}, {1, 0, 0}, {0, 1, 0}},  {{0, 0, -1}, {-1, 0, 0}, {0, 1, 0}},
  };
  constexpr float kOverlap = 1.01f;
  const auto s = static_cast<float>(size);
  glEnable(GL_TEXTURE_2D);
  for (int32_t k = 0; k < 6; ++k) {
    const Face& f = kFaces[k];
    textures.bindTexture(firstNumber + k);
    auto corner = [&](float dp, float dq) {
      glVertex3f(s * (f.a[0] + kOverlap * (dp * f.p[0] + dq * f.q[0])),
                 s * (f.a[1] + kOverlap * (dp * f.p[1] + dq * f.q[1])),
                 s * (f.a[2] + kOverlap * (dp * f.p[2] + dq * f.q[2])));
    };
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f);
    corner(-1.0f, -1.0f);
    glTexCoord2f(1.0f, 0.0f);
    corner(1.0f, -1.0f);
    glTexCoord2f(1.0f, 1.0f);
    corner(1.0f, 1.0f);
    glTexCoord2f(0.0f, 1.0f);
    corner(-1.0f, 1.0f);
    glEnd();
  }
}
