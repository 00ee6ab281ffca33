#pragma once
#include <cstdint>

#include "core/picture_size.h"
#include "math/flag_vec3.h"

class TextureTable;

// Textured quads: camera-facing billboards, screen-copy and atlas variants,
// vertex emitters for batches inside one glBegin(GL_QUADS), and the backdrop
// cube. Corners (-1,-1), (1,-1), (1,1), (-1,1) carry texture (0,0), (1,0),
// (1,1), (0,1) unless said otherwise. Angles in degrees.

// Which screen size the screen-copy texture holds: -1 decide by width,
// 1 = 640 x 480, 2 = the picture, 3 = 320 x 240, else the whole texture.
// Written by the frame driver every frame.
extern int32_t screenCopyMode;

struct TextureExtent {
  double u;
  double v;
};
// The part of the screen-copy texture that holds the screen (for the
// 800 x 600 picture in its 1024 x 1024 texture, 0.78125 x 0.5859375).
TextureExtent screenCopyExtent(int32_t width, int32_t mode, const PictureLayout& picture);

// A quad facing the viewer at the current position: the modelview's
// rotation and scale are dropped, its translation kept; then scaled by
// (sx, sy) and rolled by angle. The caller pushes and pops the matrix.
void drawBillboard(const double& angle, const double& sx, const double& sy);
void drawScreenCopyBillboard(const PictureLayout& picture, int32_t width, const double& angle, const double& sx,
                             const double& sy);
// Where drawBillboard(0, sx, sy) would put its corners (-1,-1) and (1,1)
// under the current matrices, in normalised device coordinates; for
// drawing what it would show some other way. Assumes a projection without
// skew, as every perspective is, so that the facing quad lands as an
// axis-aligned rectangle.
struct NdcRect {
  double x0, y0, x1, y1;
};
NdcRect facingBillboardRect(const double& sx, const double& sy);
// One quarter of a 2 x 2 atlas, no roll; quadrants outside 0..3 draw nothing.
void drawBillboardQuadrant(int32_t quadrant, const double& sx, const double& sy);

// Four vertices of a quad around `centre`. `right` and `up` are scaled in
// place by sizeX and sizeY: the caller's vectors change.
void emitBillboardQuad(const double& sizeX, const double& sizeY, const FlagVec3& centre, FlagVec3& right, FlagVec3& up);
void emitBillboardQuadTex(const double& sizeX, const double& sizeY, const FlagVec3& centre, FlagVec3& right,
                          FlagVec3& up, double extent);

// Six faces of a cube around the current origin with the texture numbers
// first .. first + 5, each looked up in the table on its own (GL names of
// pictures loaded in a row need not be consecutive); faces overlap by 1 %
// to hide the seams. A number without a texture leaves its face untextured.
void drawSkyBox(const TextureTable& textures, int32_t firstNumber, const double& size);
