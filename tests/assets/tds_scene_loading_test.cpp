#include "assets/scene_loading.h"

#include <gtest/gtest.h>

#include "assets/tds_loader.h"
#include "tds_temp_file.h"

namespace {

using namespace tds_test;

// Records what loadScene asks the texture table for.
struct RecordingLoader : MeshTextureLoader {
  std::vector<std::string> calls;
  void loadJpegTexture(const std::string& path, int number) override {
    calls.push_back("rgb " + path + " " + std::to_string(number));
  }
  void loadJpegTextureWithAlpha(const std::string& colour, const std::string& alpha, int number) override {
    calls.push_back("rgba " + colour + " " + alpha + " " + std::to_string(number));
  }
  void loadNormalMapTexture(const std::string& path, int number) override {
    calls.push_back("normal " + path + " " + std::to_string(number));
  }
};

TEST(StringHash, IsTheMsbFirstCrcXoredWithTheLength) {
  EXPECT_EQ(stringHash(""), 0u);
  // The table entry for 0x61, by the bitwise definition.
  uint32_t entry = 0x61u << 24;
  for (int bit = 0; bit < 8; ++bit) entry = (entry & 0x80000000u) ? (entry << 1) ^ 0x04C11DB7u : entry << 1;
  EXPECT_EQ(stringHash("a"), entry ^ 1u);
  // CRC-32/POSIX without its final inversion (check value 765E7680), XOR 9.
  EXPECT_EQ(stringHash("123456789"), (0x765E7680u ^ 0xFFFFFFFFu) ^ 9u);
}

TestMesh tri(const std::string& name, const std::vector<std::string>& groups) {
  TestMesh m;
  m.name = name;
  m.vertices = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
  m.faces = {{0, 1, 2}};
  for (const auto& g : groups) m.groups.push_back({g, {0}});
  return m;
}

class LoadScene : public ::testing::Test {
 protected:
  void load(const std::vector<TestMaterial>& materials, const std::vector<TestMesh>& meshes, int index = 2,
            double scale = 1.0) {
    path = writeTempFile("scene" + std::to_string(index) + ".3ds", writeScene(materials, meshes));
    loadScene(scene, index, scale, path.c_str(), textures);
  }
  std::string path;
  Scene3ds scene;
  RecordingLoader textures;
};

TEST_F(LoadScene, TwoMaterialsNamingOneTextureShareItsSlotAndLoadItOnce) {
  load({{"a", "SKIN.JPG", "BUMP.JPG"}, {"b", "SKIN.JPG", ""}, {"c", "CLOTH.JPG", ""}},
       {tri("one", {"a", "b"}), tri("two", {"c", "b"})}, 2);
  EXPECT_EQ(scene.materialSlots, (std::vector<int32_t>{0, 0, 2, 0}));
  EXPECT_EQ(textures.calls, (std::vector<std::string>{"rgb meshes/SKIN.JPG 100200", "normal meshes/BUMP.JPG 100250",
                                                      "rgb meshes/CLOTH.JPG 100202"}));
}

TEST_F(LoadScene, SlotsCountOnlyReferencesWithAColourMap) {
  load({{"plain", "", "BUMP.JPG"}, {"mapped", "A.JPG", ""}, {"other", "B.JPG", ""}},
       {tri("one", {"plain", "mapped", "plain", "other"})}, 0);
  // Four references, two of them mapped: positions 0 and 1 hold their
  // slots, the rest stay 0.
  EXPECT_EQ(scene.materialSlots, (std::vector<int32_t>{0, 1, 0, 0}));
  EXPECT_EQ(textures.calls, (std::vector<std::string>{"rgb meshes/A.JPG 100000", "rgb meshes/B.JPG 100001"}));
}

TEST_F(LoadScene, LowerCaseJpgIsNotLoadedAndNeitherIsItsBumpMap) {
  load({{"low", "skin.jpg", "BUMP.JPG"}, {"up", "SKIN.JPG", ""}}, {tri("one", {"low", "up"})}, 1);
  EXPECT_EQ(scene.materialSlots, (std::vector<int32_t>{0, 1}));
  EXPECT_EQ(textures.calls, (std::vector<std::string>{"rgb meshes/SKIN.JPG 100101"}));
}

TEST_F(LoadScene, BlendMapsLoadWithTheirAlphaPicture) {
  load({{"glass", "GLASS_BLEND.JPG", "GB.JPG"}}, {tri("one", {"glass"})}, 3);
  EXPECT_EQ(textures.calls, (std::vector<std::string>{"rgba meshes/GLASS_BLEND.JPG meshes/alphaGLASS_BLEND.JPG 100300",
                                                      "normal meshes/GB.JPG 100350"}));
}

TEST_F(LoadScene, ScalesVerticesAndSurvivesAMissingFile) {
  load({}, {tri("one", {})}, 0, 2.5);
  EXPECT_FLOAT_EQ(scene.object(0)->vertex(1)[0], 2.5f);
  loadScene(scene, 0, 1.0, "/nonexistent/none.3ds", textures);
  EXPECT_EQ(scene.objectCount(), 0);
  EXPECT_TRUE(scene.materialSlots.empty());
  EXPECT_TRUE(textures.calls.empty());
}

}  // namespace
