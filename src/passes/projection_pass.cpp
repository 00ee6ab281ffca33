#include "passes/projection_pass.h"

#include <GL/gl.h>

#include <vector>

#include "demo/demo_app.h"
#include "effects/look_at_camera.h"
#include "effects/mesh_drawing.h"
#include "gpu/gl_entry_points.h"
#include "passes/gl_state_helpers.h"

namespace {

constexpr int kMeshDrawFlags = 7;  // normals, decal and light, per-material textures

std::uint32_t* tableEntry(DemoApp& app, int number) {
  const long long at =
      number < TextureTable::kFirstAbsolute ? static_cast<long long>(textureTable(app).textureBase) + number : number;
  if (at < 0 || at >= TextureTable::kSize) return nullptr;
  return &textureTable(app).textures[static_cast<std::size_t>(at)];
}

// The projection programs read their pictures through plain samplers; a
// depth texture that compares on sampling (the pairs' own depth texture,
// the heart's decal) is undefined there and black on Mesa. While such a
// texture is drawn as a picture its comparison is off, so it shows its
// depths as grey.
class PlainSampling {
 public:
  explicit PlainSampling(unsigned texture) : texture_(texture) {
    if (texture_ == 0) return;
    GLint previous = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &previous);
    glBindTexture(GL_TEXTURE_2D, texture_);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_MODE, &mode_);
    if (mode_ != GL_NONE) glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_MODE, GL_NONE);
    glBindTexture(GL_TEXTURE_2D, GLuint(previous));
  }
  ~PlainSampling() {
    if (texture_ == 0 || mode_ == GL_NONE) return;
    GLint previous = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &previous);
    glBindTexture(GL_TEXTURE_2D, texture_);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_MODE, mode_);
    glBindTexture(GL_TEXTURE_2D, GLuint(previous));
  }
  PlainSampling(const PlainSampling&) = delete;
  PlainSampling& operator=(const PlainSampling&) = delete;

 private:
  unsigned texture_;
  GLint mode_ = GL_NONE;
};

}  // namespace

void setUpProjection(DemoApp& app, const std::string& vertexFile, const std::string& fragmentFile,
                     const std::string& meshFile, int sceneIndex, int depthTexture, int depthSize, int slot) {
  app.loadScene(sceneIndex, 1.0, meshFile.c_str());
  glExtensionTable.glActiveTextureARB(GL_TEXTURE0);

  if (std::uint32_t* entry = tableEntry(app, depthTexture); entry != nullptr && depthSize > 0) {
    glGenTextures(1, entry);
    glBindTexture(GL_TEXTURE_2D, *entry);
    // Defined content, the far plane everywhere: a copy of the window's
    // depth at set-up would be whatever the driver left there.
    const std::vector<float> farPlane(static_cast<std::size_t>(depthSize) * static_cast<std::size_t>(depthSize), 1.0f);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT, depthSize, depthSize, 0, GL_DEPTH_COMPONENT, GL_FLOAT,
                 farPlane.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glTexParameteri(GL_TEXTURE_2D, GL_DEPTH_TEXTURE_MODE, GL_LUMINANCE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_MODE, GL_COMPARE_REF_TO_TEXTURE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_FUNC, GL_LEQUAL);
  }

  CgShaderSet& cg = app.cgShaders;
  cg.createContext();
  cg.createVertexProgram(vertexFile, slot);
  cg.createFragmentProgram(fragmentFile, slot + 1);
  cg.lookUpParameter(slot, kModelViewProjIndex, "ModelViewProj");
  cg.lookUpParameter(slot, kModelViewLightProjIndex, "ModelViewLightProj");
  cg.lookUpParameter(slot, kModelViewObjectIndex, "ModelViewObject");
  cg.loadVertexProgram(slot);
  cg.loadFragmentProgram(slot + 1);
  cg.disableFragmentProfile();
  cg.disableVertexProfile();
}

void setScreenCopyExtent(DemoApp& app, int slot) {
  CgShaderSet& cg = app.cgShaders;
  const PictureLayout& p = app.picture;
  cg.lookUpParameter(slot + 1, kScreenExtentIndex, "extent");
  cg.setParameter3f(slot + 1, kScreenExtentIndex, float(p.width) / float(p.targetWidth),
                    float(p.height) / float(p.targetHeight), 0.0f);
}

void loadFragmentOnly(DemoApp& app, const std::string& fileName, int slot) {
  CgShaderSet& cg = app.cgShaders;
  cg.createContext();
  cg.enableFragmentProfile();
  cg.createFragmentProgram(fileName, slot);
  cg.loadFragmentProgram(slot);
  cg.disableFragmentProfile();
  cg.disableVertexProfile();
}

void bindFragmentWithDecal(DemoApp& app, int slot, int decalTexture) {
  CgShaderSet& cg = app.cgShaders;
  cg.disableVertexProfile();
  cg.disableFragmentProfile();
  cg.enableFragmentProfile();
  cg.bindProgram(slot);
  cg.lookUpParameter(slot, kDecalIndex, "decal");
  cg.setTextureParameter(slot, kDecalIndex, textureTable(app).name(decalTexture));
  cg.enableTextureParameter(slot, kDecalIndex);
  if (app.rampTexture >= 0) {
    cg.lookUpParameter(slot, kRampIndex, "oned");
    cg.setTextureParameter(slot, kRampIndex, textureTable(app).name(app.rampTexture));
    cg.enableTextureParameter(slot, kRampIndex);
  }
}

void projectiveDraw(DemoApp& app, int decalTexture, int lightTexture, int slot, const CameraView& camera,
                    const CameraView& light, const ProjectedDraw& draw) {
  CgShaderSet& cg = app.cgShaders;
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();
  multiplyLookAt(camera);

  glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
  cg.bindProgram(slot);
  cg.bindProgram(slot + 1);
  cg.enableFragmentProfile();
  cg.enableVertexProfile();
  cg.lookUpParameter(slot, kCameraPosIndex, "CameraPos");
  cg.setParameter3f(slot, kCameraPosIndex, app.camera.eye.x, app.camera.eye.y, app.camera.eye.z);
  cg.lookUpParameter(slot, kLightPosIndex, "LightPos");
  cg.setParameter3f(slot, kLightPosIndex, light.eye.x, light.eye.y, light.eye.z);

  loadLightTextureMatrix(app, light);
  cg.setTextureMatrixParameter(slot, kModelViewLightProjIndex);
  glMatrixMode(GL_MODELVIEW);

  glPushMatrix();
  cg.setModelViewProjection(slot, kModelViewProjIndex);
  {
    const unsigned decalName = textureTable(app).name(decalTexture);
    const unsigned lightName = textureTable(app).name(lightTexture);
    PlainSampling decalAsPicture(decalName);
    PlainSampling lightAsPicture(lightName != decalName ? lightName : 0);
    draw(decalName, lightName);
  }
  glPopMatrix();

  cg.disableFragmentProfile();
  cg.disableVertexProfile();
  glPopMatrix();
  resetTextureMatrix();
}

void projectiveScenePass(DemoApp& app, int sceneIndex, int decalTexture, int lightTexture, int slot,
                         const CameraView& camera, const CameraView& light, double time) {
  // One reference captured: std::function keeps a lambda that small in
  // place, so a mesh drawn every frame costs the heap nothing.
  struct Scene {
    DemoApp& app;
    int index;
    int slot;
    double time;
  } scene{app, sceneIndex, slot, time};
  projectiveDraw(
      app, decalTexture, lightTexture, slot, camera, light, [&scene](unsigned decalName, unsigned lightName) {
        drawMeshSceneCg(scene.app, scene.index, kMeshDrawFlags, scene.time, decalName, lightName, scene.slot);
      });
}
