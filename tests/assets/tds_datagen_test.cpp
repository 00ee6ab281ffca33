// The content generator's meshes, read by the loader and by lib3ds. They
// exist once the velmora_data target has run; VELMORA_MESH_DIR points
// elsewhere.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "assets/scene_loading.h"
#include "assets/tds_loader.h"
#include "tds_lib3ds.h"

namespace {

std::string meshDir() {
  if (const char* dir = std::getenv("VELMORA_MESH_DIR")) return dir;
  return std::string(VELMORA_BINARY_DIR) + "/data/meshes";
}

class GeneratedMesh : public ::testing::TestWithParam<const char*> {};

TEST_P(GeneratedMesh, MatchesLib3dsAndHasUsableVertexData) {
  const std::string path = meshDir() + "/" + GetParam();
  if (!std::filesystem::exists(path)) GTEST_SKIP() << path << " not generated";
  Scene3ds scene;
  ASSERT_TRUE(scene.load(path.c_str()));
  ASSERT_GT(scene.objectCount(), 0);
  tds_test::expectMatchesLib3ds(path, scene);
  for (const MeshObject& o : scene.objects) {
    SCOPED_TRACE(o.name());
    for (int v = 0; v < o.vertexCount(); ++v) {
      const float* n = o.normal(v);
      EXPECT_NEAR(n[0] * n[0] + n[1] * n[1] + n[2] * n[2], 1.0f, 1e-4) << v;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Content, GeneratedMesh,
                         ::testing::Values("man.3ds", "man_gon.3ds", "heart.3ds", "thequad.3ds", "edafos2.3ds"),
                         [](const ::testing::TestParamInfo<const char*>& file) {
                           std::string name = file.param;
                           return name.substr(0, name.find('.'));
                         });

}  // namespace
