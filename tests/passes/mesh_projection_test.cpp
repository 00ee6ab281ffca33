// A real mesh through a real program pair: the base man with the caustic
// frame projected onto it.
#include <GL/glu.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "core/diagnostics.h"
#include "demo/demo_app.h"
#include "demo/texture_numbers.h"
#include "effects/look_at_camera.h"
#include "effects/mesh_sampling.h"
#include "gl_test_context.h"
#include "gpu/gl_entry_points.h"
#include "math/matrix4d.h"
#include "passes/caustic_frames.h"
#include "passes/gl_state_helpers.h"
#include "passes/projection_pass.h"

namespace {

constexpr int kManScene = 0;
constexpr int kManSlot = 2;
constexpr int kDepthTexture = 5;

class MeshProjectionTest : public GlSuite<128> {
 protected:
  void SetUp() override {
    GlSuite::SetUp();
    char here[4096];
    ASSERT_NE(getcwd(here, sizeof here), nullptr);
    ASSERT_EQ(chdir(VELMORA_BINARY_DIR "/data"), 0) << "the generated data folder";
    app_ = std::make_unique<DemoApp>();
    setDiagnosticWriter([this](DiagnosticLevel, const std::string& line) { messages_.push_back(line); });
    setUpProjection(*app_, "cgeffects/vertex_projection_anisotropic_animation.cpp",
                    "cgeffects/fragment_projection_anisotropic_caustic.cpp", "meshes/man.3ds", kManScene, kDepthTexture,
                    16, kManSlot);
    loadCausticFrames(*app_, kCausticFirstPicture);
    ASSERT_EQ(chdir(here), 0);
    ASSERT_FALSE(textureTable(*app_).loadingFailed());
    ASSERT_GT(app_->scene(kManScene)->objectCount(), 0);
  }
  void TearDown() override {
    setDiagnosticWriter({});
    for (GLuint name : textureTable(*app_).textures) {
      if (name != 0) glDeleteTextures(1, &name);
    }
  }

  // Every vertex of the scene where drawing puts it at time 0.
  std::vector<FlagVec3> placedVertices() const {
    const MeshScene& scene = *app_->scene(kManScene);
    std::vector<FlagVec3> points;
    for (int i = 0; i < scene.objectCount(); ++i) {
      Matrix4d matrix;
      objectMatrix(scene, app_->meshDraw, i, 0.0, matrix);
      const MeshObject& object = *scene.object(i);
      for (int v = 0; v < object.vertexCount(); ++v) {
        const float* p = object.vertex(v);
        FlagVec3 placed;
        transformPoint(matrix, FlagVec3{1, p[0], p[1], p[2]}, placed);
        points.push_back(placed);
      }
    }
    return points;
  }

  std::unique_ptr<DemoApp> app_;
  std::vector<std::string> messages_;
};

TEST_F(MeshProjectionTest, TheCausticLightsTheManAndNothingBesideHim) {
  // Looked at from the side he is flattest on, far enough that he fills
  // about half the view (the clip planes of the wide scenes); the light off
  // to one side.
  app_->nearPlane = 0.1;
  app_->farPlane = 500.0;
  const std::vector<FlagVec3> points = placedVertices();
  FlagVec3 low = points.front(), high = points.front();
  for (const FlagVec3& p : points) {
    low = FlagVec3{1, std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)};
    high = FlagVec3{1, std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z)};
  }
  const float cx = (low.x + high.x) / 2, cy = (low.y + high.y) / 2, cz = (low.z + high.z) / 2;
  const float extent = std::max({high.x - low.x, high.y - low.y, high.z - low.z});
  app_->camera.eye = FlagVec3{1, cx + 0.2f * extent, cy, cz + 1.2f * extent};
  app_->camera.centre = FlagVec3{1, cx, cy, cz};
  app_->camera.up = FlagVec3{1, 0, 1, 0};
  app_->lightView = app_->camera;
  app_->lightView.eye.x -= 0.5f * extent;

  glEnable(GL_DEPTH_TEST);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glMatrixMode(GL_PROJECTION);
  multiplyDemoPerspective(*app_);
  glMatrixMode(GL_MODELVIEW);
  projectiveScenePass(*app_, kManScene, causticFrame(0.0), causticFrame(0.0), kManSlot, app_->camera, app_->lightView,
                      0.0);
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  EXPECT_TRUE(messages_.empty()) << messages_.front();
  float texture[16];
  glGetFloatv(GL_TEXTURE_MATRIX, texture);
  for (int i = 0; i < 16; ++i) EXPECT_FLOAT_EQ(texture[i], i % 5 == 0 ? 1.0f : 0.0f) << "texture matrix " << i;
  GLint pipeline = -1;
  glGetIntegerv(GL_PROGRAM_PIPELINE_BINDING, &pipeline);
  EXPECT_EQ(pipeline, 0) << "both stages off";

  // The man's projected bounds, in window pixels.
  double modelview[16], projection[16];
  GLint viewport[4];
  glPushMatrix();
  glLoadIdentity();
  multiplyLookAt(app_->camera);
  glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
  glPopMatrix();
  glGetDoublev(GL_PROJECTION_MATRIX, projection);
  glGetIntegerv(GL_VIEWPORT, viewport);
  double left = 1e9, right = -1e9, bottom = 1e9, top = -1e9;
  for (const FlagVec3& p : points) {
    double x = 0, y = 0, z = 0;
    ASSERT_TRUE(gluProject(p.x, p.y, p.z, modelview, projection, viewport, &x, &y, &z));
    left = std::min(left, x), right = std::max(right, x), bottom = std::min(bottom, y), top = std::max(top, y);
  }
  ASSERT_GT(left, 4.0) << "the man stays inside the view";
  ASSERT_LT(right, kSize - 4.0);

  std::vector<GLubyte> rgba(size_t(kSize) * kSize * 4);
  glReadPixels(0, 0, kSize, kSize, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
  int lit = 0, strayed = 0;
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      const GLubyte* p = &rgba[(size_t(y) * kSize + x) * 4];
      if (p[0] + p[1] + p[2] == 0) continue;
      ++lit;
      const bool inside = x + 1 >= left && x <= right + 1 && y + 1 >= bottom && y <= top + 1;
      if (!inside) ++strayed;
    }
  }
  EXPECT_GT(lit, kSize * kSize / 20) << "the man is drawn";
  EXPECT_EQ(strayed, 0) << "lit pixels outside the man's bounds " << left << ".." << right << " x " << bottom << ".."
                        << top;
}

}  // namespace
