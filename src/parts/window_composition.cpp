#include "parts/window_composition.h"

#include <GL/gl.h>

#include <algorithm>
#include <array>

#include "demo/demo_app.h"
#include "demo/texture_numbers.h"
#include "effects/billboard.h"
#include "gpu/gl_entry_points.h"
#include "parts/composition_levels.h"
#include "parts/demo_part.h"
#include "passes/gl_state_helpers.h"
#include "passes/projection_pass.h"

namespace {
constexpr double kCopyScale = 1.3;
constexpr int kGhosts = 4;  // copies k = -2 .. 1, the first opaque

// Indexes into the program's rows of the parameter table, beside the
// decal's (kDecalIndex), which holds the scene copy.
constexpr int kGlowIndex = 0;
constexpr int kExtentIndex = 3;
constexpr int kGlowColourIndex = 4;

struct Look {
  double t;
  double grey, dim;  // the levels of the cold break
  double spread;     // how far the ghost copies stand apart; below 0.001 one copy
  double glowFade;   // the glow's fade in over the first third of a second
  bool ghosts() const { return spread >= 0.001; }
};

Look lookOf(const DemoPart& part) {
  const double t = part.partTime;
  const GreyLevel level = greyLevelAt(t, part.eventTimes);
  return {t, level.grey, level.dim, ghostSpreadAt(t), std::clamp(3.0 * t, 0.0, 1.0)};
}

// Moves ghost k off the middle along the spread, for two stretches of the
// piece, and gives the size it is drawn at.
double placeGhost(const Look& look, int k) {
  const double s = k * look.spread;
  if (look.t > 12.3 && look.t < 16.0) glTranslated(0, 0.008 * s, 0.008 * s);
  if (look.t > 22.0 && look.t < 24.0) glTranslated(0, -0.008 * s, 0.008 * s);
  return kCopyScale + 0.014 * s;
}

// The cold break dims red and green only; ghosts are a quarter each.
void copyColour(const Look& look) {
  const double share = look.ghosts() ? 0.25 : 1.0;
  glColor3d(share * look.grey * look.dim, share * look.grey * look.dim, share * look.grey);
}

std::array<double, 3> glowColour(const Look& look) {
  return {0.8 * look.dim * look.glowFade, 0.8 * look.dim * look.glowFade, 0.8 * look.glowFade};
}

// Texture coordinates that, on a quad over the whole view, sample as the
// facing quad `rect` with far corner (u, v) would.
void texCoordAt(int unit, const NdcRect& rect, double u, double v, double x, double y) {
  glExtensionTable.glMultiTexCoord2fARB(GL_TEXTURE0 + unit, float(u * (x - rect.x0) / (rect.x1 - rect.x0)),
                                        float(v * (y - rect.y0) / (rect.y1 - rect.y0)));
}

// The ghost copies and the glow in one pass; false, drawing nothing,
// without the program.
bool composeInOnePass(const DemoPart& part, DemoApp& app, const Look& look) {
  CgShaderSet& cg = app.cgShaders;
  const int slot = part.composeProgram;
  if (slot < 0 || slot >= CgShaderSet::kSlots || cg.programs[size_t(slot)].program == 0) return false;

  std::array<NdcRect, kGhosts> copies{};
  for (int k = -2; k <= 1; ++k) {
    glPushMatrix();
    const double scale = placeGhost(look, k);
    copies[size_t(k + 2)] = facingBillboardRect(scale, scale);
    glPopMatrix();
  }
  const NdcRect glow = facingBillboardRect(kCopyScale, kCopyScale);
  const TextureExtent extent = screenCopyExtent(app.picture.width, screenCopyMode, app.picture);
  const std::array<double, 3> g = glowColour(look);

  bindFragmentWithDecal(app, slot, kSceneTexture);
  cg.lookUpParameter(slot, kGlowIndex, "light");
  cg.setTextureParameter(slot, kGlowIndex, textureTable(app).name(kGlowTexture));
  cg.enableTextureParameter(slot, kGlowIndex);
  cg.lookUpParameter(slot, kExtentIndex, "extent");
  cg.setParameter3f(slot, kExtentIndex, float(extent.u), float(extent.v), 0.0f);
  cg.lookUpParameter(slot, kGlowColourIndex, "glow");
  cg.setParameter3f(slot, kGlowColourIndex, float(g[0]), float(g[1]), float(g[2]));

  // The first copy replaces what it covers; outside it the window's
  // picture stays under what the others add.
  glEnable(GL_BLEND);
  glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
  copyColour(look);
  for (GLenum mode : {GL_PROJECTION, GL_MODELVIEW}) {
    glMatrixMode(mode);
    glPushMatrix();
    glLoadIdentity();
  }
  for (int unit = 0; unit <= kGhosts; ++unit) {
    glExtensionTable.glActiveTextureARB(GL_TEXTURE0 + unit);
    glMatrixMode(GL_TEXTURE);
    glPushMatrix();
    glLoadIdentity();
  }
  glBegin(GL_QUADS);
  for (auto [x, y] : {std::pair{-1.0, -1.0}, {1.0, -1.0}, {1.0, 1.0}, {-1.0, 1.0}}) {
    for (int k = 0; k < kGhosts; ++k) texCoordAt(k, copies[size_t(k)], extent.u, extent.v, x, y);
    texCoordAt(kGhosts, glow, 1.0, 1.0, x, y);
    glVertex2d(x, y);
  }
  glEnd();
  for (int unit = kGhosts; unit >= 0; --unit) {
    glExtensionTable.glActiveTextureARB(GL_TEXTURE0 + unit);
    glMatrixMode(GL_TEXTURE);
    glPopMatrix();
  }
  for (GLenum mode : {GL_PROJECTION, GL_MODELVIEW}) {
    glMatrixMode(mode);
    glPopMatrix();
  }
  cg.disableFragmentProfile();
  glBlendFunc(GL_ONE, GL_ONE);
  glColor3d(g[0], g[1], g[2]);
  return true;
}
}  // namespace

void composeWindowQuadByQuad(const DemoPart& part, DemoApp& app) {
  const Look look = lookOf(part);
  bindTextureNumber(app, kSceneTexture);
  glEnable(GL_TEXTURE_2D);
  glPushMatrix();
  copyColour(look);
  if (!look.ghosts()) {
    drawScreenCopyBillboard(app.picture, app.picture.width, 0.0, kCopyScale, kCopyScale);
  } else {
    for (int k = -2; k <= 1; ++k) {
      if (k == -1) glEnable(GL_BLEND);  // the first copy is opaque
      glPushMatrix();
      const double scale = placeGhost(look, k);
      drawScreenCopyBillboard(app.picture, app.picture.width, 0.0, scale, scale);
      glPopMatrix();
    }
  }
  glPopMatrix();

  glEnable(GL_BLEND);
  glBlendFunc(GL_ONE, GL_ONE);
  bindTextureNumber(app, kGlowTexture);
  glPushMatrix();
  const std::array<double, 3> g = glowColour(look);
  glColor3d(g[0], g[1], g[2]);
  drawBillboard(0.0, kCopyScale, kCopyScale);
  glPopMatrix();
  bindTextureNumber(app, kGlowTexture3);
}

void composeWindow(const DemoPart& part, DemoApp& app) {
  const Look look = lookOf(part);
  if (!look.ghosts() || !composeInOnePass(part, app, look)) {
    composeWindowQuadByQuad(part, app);
    return;
  }
  glEnable(GL_TEXTURE_2D);
  bindTextureNumber(app, kGlowTexture3);
}
