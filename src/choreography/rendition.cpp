#include "choreography/rendition.h"

#include <GL/gl.h>

#include "choreography/scene_frame.h"
#include "choreography/shard_layer.h"
#include "demo/demo_app.h"
#include "effects/mesh_drawing.h"
#include "passes/gl_state_helpers.h"
#include "passes/projection_pass.h"

namespace {
// The table entry "alpha" takes on a slot: the last one, which the passes
// never fill.
constexpr int kAlphaIndex = CgShaderSet::kParametersPerSlot - 1;

class ShaderRendition final : public Rendition {
 public:
  RenditionKind kind() const override { return RenditionKind::shader; }

  void drawMesh(SceneFrame& frame, const MeshLook& look) const override {
    DemoApp& app = frame.app;
    const CameraView& light = look.light != nullptr ? *look.light : app.lightView;
    // The mesh routine switches texturing on and binds its pictures on
    // several units; the lines and sprites drawn after it must not see them.
    glPushAttrib(GL_ENABLE_BIT | GL_TEXTURE_BIT);
    projectiveScenePass(app, look.scene, look.decalTexture, look.lightTexture, look.programSlot, app.camera, light,
                        frame.animationTime);
    glPopAttrib();
  }

  bool driftsLines() const override { return true; }
  const OpeningLook& openingLook() const override { return kOpeningShaderLook; }
  const ClosingLook& closingLook() const override { return kClosingShaderLook; }
  double ghostAlpha() const override { return 0.55; }
  void drawShardLayer(SceneFrame& frame) const override { drawShards(frame); }

  void setProgramAlpha(SceneFrame& frame, int32_t slot, float x, float y, float z) const override {
    CgShaderSet& shaders = frame.app.cgShaders;
    shaders.lookUpParameter(slot, kAlphaIndex, "alpha");
    shaders.setParameter3f(slot, kAlphaIndex, x, y, z);
  }
};

class FixedFunctionRendition final : public Rendition {
 public:
  RenditionKind kind() const override { return RenditionKind::fixedFunction; }

  void drawMesh(SceneFrame& frame, const MeshLook& look) const override {
    glPushAttrib(GL_ENABLE_BIT | GL_TEXTURE_BIT);
    int flags = 0;
    if (look.plainTexture >= 0) {
      bindTextureNumber(frame.app, look.plainTexture);
      flags = kMeshTexCoords;
    } else {
      glDisable(GL_TEXTURE_2D);
    }
    double time = frame.animationTime;
    drawMeshScene(frame.app, look.scene, flags, time);
    glPopAttrib();
  }

  bool driftsLines() const override { return false; }
  const OpeningLook& openingLook() const override { return kOpeningFixedLook; }
  const ClosingLook& closingLook() const override { return kClosingFixedLook; }
  double ghostAlpha() const override { return 0.3; }
  void drawShardLayer(SceneFrame& frame) const override { drawDarkeningQuad(frame); }

  void setProgramAlpha(SceneFrame&, int32_t, float, float, float) const override {}
};
}  // namespace

const Rendition& shaderRendition() {
  static const ShaderRendition rendition;
  return rendition;
}

const Rendition& fixedFunctionRendition() {
  static const FixedFunctionRendition rendition;
  return rendition;
}
