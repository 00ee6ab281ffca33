#include "demo/demo_app.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/diagnostics.h"
#include "gl_test_context.h"
#include "gpu/gl_entry_points.h"

namespace {

class DemoAppTest : public GlSuite<> {
 protected:
  void SetUp() override {
    GlSuite::SetUp();
    // Material maps are looked for under "meshes/", as the demo runs.
    std::filesystem::current_path(VELMORA_BINARY_DIR "/data");
    setDiagnosticWriter([this](DiagnosticLevel, const std::string& line) { lines.push_back(line); });
  }
  void TearDown() override { setDiagnosticWriter({}); }

  static std::vector<GLuint> bufferNames(const SceneBuffers& buffers) {
    std::vector<GLuint> names;
    for (const ObjectBuffers& b : buffers.objects) names.insert(names.end(), {b.vertexBuffer, b.indexBuffer});
    return names;
  }

  std::unique_ptr<DemoApp> app = std::make_unique<DemoApp>();
  std::vector<std::string> lines;
};

TEST_F(DemoAppTest, AnIndexOutsideTheSceneTableIsReportedAndLoadsNothing) {
  for (int index : {-1, DemoApp::kSceneSlots}) {
    lines.clear();
    app->loadScene(index, 1.0, "meshes/heart.3ds");
    ASSERT_EQ(lines.size(), 1u) << index;
    EXPECT_NE(lines[0].find("meshes/heart.3ds: scene index " + std::to_string(index) + " is outside 0..31"),
              std::string::npos)
        << lines[0];
    EXPECT_EQ(app->scene(index), nullptr);
  }
  for (const Scene3ds& scene : app->scenes) EXPECT_EQ(scene.objectCount(), 0);
}

// Loading into a slot again replaces the scene, its buffer objects (the old
// ones deleted) and, for a file that is not there, leaves both empty.
TEST_F(DemoAppTest, LoadingAgainReplacesTheSceneAndItsBuffers) {
  app->loadScene(3, 1.0, "meshes/heart.3ds");
  const Scene3ds* scene = app->scene(3);
  ASSERT_NE(scene, nullptr);
  ASSERT_GT(scene->objectCount(), 0);
  const std::vector<GLuint> first = bufferNames(app->sceneBuffers[3]);
  ASSERT_EQ(first.size(), 2 * std::size_t(scene->objectCount()));
  for (GLuint name : first) EXPECT_TRUE(glExtensionTable.glIsBuffer(name)) << name;

  app->loadScene(3, 2.0, "meshes/man_gon.3ds");
  const std::vector<GLuint> second = bufferNames(app->sceneBuffers[3]);
  ASSERT_EQ(second.size(), 2 * std::size_t(scene->objectCount()));
  for (GLuint name : second) EXPECT_TRUE(glExtensionTable.glIsBuffer(name)) << name;
  for (GLuint name : first) {
    const bool reused = std::find(second.begin(), second.end(), name) != second.end();
    EXPECT_EQ(bool(glExtensionTable.glIsBuffer(name)), reused) << name;
  }

  app->loadScene(3, 1.0, "meshes/no_such_mesh.3ds");
  EXPECT_EQ(scene->objectCount(), 0);
  EXPECT_TRUE(app->sceneBuffers[3].objects.empty());
  EXPECT_FALSE(app->textures.loadingFailed());
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

}  // namespace
