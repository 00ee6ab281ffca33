#include "assets/scene_loading.h"

#include <gtest/gtest.h>

#include <iterator>
#include <sstream>

#include "assets/tds_loader.h"
#include "tds_lib3ds.h"

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

// MSB-first CRC-32 without its final inversion, XOR the length: "" is 0,
// and CRC-32/POSIX's check value 765E7680 for "123456789" gives the rest.
TEST(StringHash, IsTheMsbFirstCrcXoredWithTheLength) {
  EXPECT_EQ(stringHash(""), 0u);
  EXPECT_EQ(stringHash("123456789"), (0x765E7680u ^ 0xFFFFFFFFu) ^ 9u);
  EXPECT_EQ(stringHash("a"), 0xA864DB20u ^ 1u);  // the table entry for 0x61, worked out bit by bit
}

// Slots count only references with an upper-case colour map ("JPG"); two
// materials naming one picture share its slot and load it once; a bump map
// loads as a normal map 50 numbers on, a _BLEND map with its alpha picture;
// the lower-case map and its bump are not loaded. Vertices are scaled, and
// a missing file leaves an empty scene. Each case: the scene index, its
// materials (name colour bump, "-" for none), its triangles' material
// groups, the slots, and the calls made.
TEST(LoadScene, MaterialMapsGetTheirSlotsAndNumbersAndLoadOnce) {
  const char* cases[][5] = {
      {"2", "a SKIN.JPG BUMP.JPG b SKIN.JPG - c CLOTH.JPG -", "a,b c,b", "0 0 2 0",
       "rgb meshes/SKIN.JPG 100200|normal meshes/BUMP.JPG 100250|rgb meshes/CLOTH.JPG 100202|"},
      {"0", "plain - BUMP.JPG mapped A.JPG - other B.JPG -", "plain,mapped,plain,other", "0 1 0 0",
       "rgb meshes/A.JPG 100000|rgb meshes/B.JPG 100001|"},
      {"1", "low skin.jpg BUMP.JPG up SKIN.JPG -", "low,up", "0 1", "rgb meshes/SKIN.JPG 100101|"},
      {"3", "glass GLASS_BLEND.JPG GB.JPG", "glass", "0",
       "rgba meshes/GLASS_BLEND.JPG meshes/alphaGLASS_BLEND.JPG 100300|normal meshes/GB.JPG 100350|"}};
  for (const auto& c : cases) {
    std::vector<TestMaterial> materials;
    std::istringstream named(c[1]), groups(c[2]), slotWords(c[3]);
    for (std::string name, colour, bump; named >> name >> colour >> bump;)
      materials.push_back({name, colour == "-" ? "" : colour, bump == "-" ? "" : bump});
    std::vector<TestMesh> meshes;
    for (std::string list; groups >> list;) {
      meshes.push_back(
          {"tri" + std::to_string(meshes.size()), {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {}, {{0, 1, 2}}, {}, {}, {}});
      std::istringstream names(list);
      for (std::string group; std::getline(names, group, ',');) meshes.back().groups.push_back({group, {0}});
    }
    const std::vector<int32_t> slots{std::istream_iterator<int32_t>(slotWords), {}};
    Scene3ds scene;
    RecordingLoader textures;
    const std::string path = writeTempFile(std::string("scene") + c[0] + ".3ds", writeScene(materials, meshes));
    loadScene(scene, std::stoi(c[0]), 2.5, path.c_str(), textures);
    std::string calls;
    for (const std::string& call : textures.calls) calls += call + "|";
    EXPECT_EQ(scene.materialSlots, slots) << c[0];
    EXPECT_EQ(calls, c[4]) << c[0];
    EXPECT_FLOAT_EQ(scene.object(0)->vertex(1)[0], 2.5f);
    loadScene(scene, 0, 1.0, "/nonexistent/none.3ds", textures);
    EXPECT_EQ(scene.objectCount(), 0);
    EXPECT_TRUE(scene.materialSlots.empty());
  }
}
}  // namespace
