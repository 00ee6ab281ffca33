#include "assets/tds_loader.h"

#include <gtest/gtest.h>

#include <cmath>

#include "tds_lib3ds.h"

namespace {

using namespace tds_test;

TestMesh triangleMesh(const std::string& name) {
  TestMesh m;
  m.name = name;
  m.vertices = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
  m.uvs = {{0, 0}, {1, 0}, {0, 1}};
  m.faces = {{0, 1, 2}};
  return m;
}

bool loadBytes(Scene3ds& scene, const Bytes& bytes) { return scene.loadFromMemory(bytes.data(), bytes.size()); }

// Each face's smoothing word and material, "word/material " in face order.
std::string records(const MeshObject& o) {
  std::string s;
  for (const FaceRecord& f : o.faceRecords) s += std::to_string(f.smoothing) + "/" + std::to_string(f.material) + " ";
  return s;
}

TEST(TdsLoader, ReadsMaterialsWithTheirMapsColoursAndClamps) {
  ChunkWriter w;
  w.begin(0x4D4D).begin(0x3D3D).begin(0xAFFF);
  w.begin(0xA000).str("a material name longer than thirty characters").end();
  w.begin(0xA020).begin(0x0011).u8(255).u8(0).u8(51).end().end();
  w.begin(0xA040).begin(0x0030).u16(150).end().end();     // 150 %
  w.begin(0xA041).begin(0x0031).f32(-20.0f).end().end();  // -20 %
  w.begin(0xA100).u16(3).end();
  w.begin(0xA100).u16(9).end();  // out of range: kept at 3
  writeMap(w, 0xA200, "SKIN.JPG");
  writeMap(w, 0xA230, "SKINB.JPG");
  writeMap(w, 0xA33A, "SECOND.JPG");
  w.begin(0xA220).begin(0x0030).u16(40).end().begin(0xA300).str("").end().end();
  w.end();
  w.begin(0xAFFF).begin(0xA000).str("plain").end().begin(0xA100).u16(2).end().begin(0xA085).end().end();
  w.end().begin(0x0000).u32(0).end().end();

  Scene3ds scene;
  ASSERT_TRUE(loadBytes(scene, w.bytes()));
  ASSERT_EQ(scene.materials.size(), 2u);
  const Material& m = scene.materials[0];
  EXPECT_EQ(m.name(), "a material name longer than th");  // 30 characters
  EXPECT_FLOAT_EQ(m.diffuse.r, 1.0f);
  EXPECT_FLOAT_EQ(m.diffuse.b, 0.2f);
  EXPECT_EQ(m.shininess, 1.0f);
  EXPECT_EQ(m.shininessStrength, 0.0f);
  EXPECT_EQ(m.shadingType, 3);
  EXPECT_EQ(m.textureMap1Name(), "SKIN.JPG");
  EXPECT_EQ(m.bumpMapName(), "SKINB.JPG");
  EXPECT_EQ(m.textureMap2.fileName, "SECOND.JPG");
  EXPECT_EQ(m.reflectionMap.fileName, "auto");
  EXPECT_FLOAT_EQ(m.reflectionMap.amount, 0.4f);
  EXPECT_EQ(scene.materials[1].shadingType, 0);  // the wire chunk after it
}

// Objects in file order (names cut to 19 characters), lights and cameras
// aside; what is not a 3DS file refused; a reload starts from empty.
TEST(TdsLoader, ReadsObjectsInFileOrderRefusesWhatIsNotA3dsFileAndReloadsFromEmpty) {
  ChunkWriter w;
  w.begin(0x4D4D).begin(0x3D3D);
  writeMesh(w, triangleMesh("first"));
  w.begin(0x4000).str("lamp").begin(0x4600).f32(1).f32(2).f32(3);
  w.begin(0x4610).f32(4).f32(5).f32(6).f32(10).f32(20).end().end().end();
  w.begin(0x4000).str("cam").begin(0x4700).f32(1).f32(2).f32(3).f32(0).f32(0).f32(0).f32(0).f32(35).end().end();
  writeMesh(w, triangleMesh("a_long_object_name_beyond"));
  w.end().begin(0x0000).u32(0).end().end();
  Scene3ds scene;
  ASSERT_TRUE(loadBytes(scene, w.bytes()));
  ASSERT_EQ(scene.objectCount(), 2);
  EXPECT_EQ(scene.object(0)->name(), "first");
  EXPECT_EQ(scene.object(1)->name(), "a_long_object_name_");
  EXPECT_EQ(scene.object(2), nullptr);
  ASSERT_EQ(scene.lights.size(), 1u);
  EXPECT_TRUE(scene.lights[0].spot);
  EXPECT_EQ(scene.lights[0].falloff, 20.0f);
  ASSERT_EQ(scene.cameras.size(), 1u);
  EXPECT_EQ(scene.cameras[0].lens, 35.0f);

  const Bytes bytes = writeScene({{"m", "", ""}}, {triangleMesh("t")}, [](ChunkWriter& k) {
    k.begin(0xB000).begin(0xB002).begin(0xB020).u16(0).u32(0).u32(40).u32(0).end().end().end();
  });
  for (int load = 0; load < 2; ++load) ASSERT_TRUE(loadBytes(scene, bytes));
  EXPECT_EQ(scene.objectCount(), 1);
  EXPECT_EQ(scene.materials.size(), 1u);
  EXPECT_EQ(scene.keyframes.size(), 1u);
  EXPECT_EQ(scene.keyframes[0].positions.size(), 40u * 3);

  ChunkWriter notMain;
  notMain.begin(0x3D3D).u32(0).end().u32(0);
  EXPECT_FALSE(loadBytes(scene, notMain.bytes()));
  EXPECT_FALSE(scene.loadFromMemory(nullptr, 0));
  EXPECT_FALSE(scene.load("/nonexistent/file.3ds"));
  EXPECT_FALSE(scene.load(writeTempFile("empty.3ds", {}).c_str()));
  EXPECT_EQ(scene.objectCount(), 0);
}

// Against lib3ds: materials, smoothing groups and the mesh matrix. The file
// stores world-space vertices with the object's axes and origin; the loader
// brings them into object space as lib3ds users do, inverse(matrix) * p.
TEST(TdsLoader, MatchesLib3dsOnHandMadeScenes) {
  TestMesh box = cube("box");
  box.uvs = {{0, 0}, {1, 0}, {1, 1}, {0, 1}, {0, 0.5f}, {1, 0.5f}, {1, 0.25f}, {0, 0.75f}};
  box.smoothing = {1, 1, 2, 2, 4, 4, 8, 8, 16, 16, 32, 32};
  box.groups = {{"skin", {0, 1, 2, 3, 4, 5}}, {"cloth", {6, 7, 8, 9, 10, 11}}};
  box.matrix = {1, 0, 0, 0, 1, 0, 0, 0, 1, 0.5f, 0.5f, 0.5f};
  TestMesh flat = triangleMesh("flat");
  flat.groups = {{"cloth", {0}}};
  TestMesh rotated = triangleMesh("rotated");
  // Axes rotated 90 degrees about z and scaled by 2, origin at (5, -3, 2).
  rotated.matrix = {0, 2, 0, -2, 0, 0, 0, 0, 2, 5, -3, 2};
  rotated.vertices = {{5, -3, 2}, {5, -1, 2}, {3, -3, 4}};
  TestMesh moved = triangleMesh("moved");
  moved.matrix = {1, 0, 0, 0, 1, 0, 0, 0, 1, 10, 20, 30};
  moved.vertices = {{10, 20, 30}, {11, 20, 30}, {10, 21, 31}};
  const Bytes bytes = writeScene({{"skin", "SKIN.JPG", "SKINBUMP.JPG"}, {"cloth", "cloth.jpg", ""}, {"unused", "", ""}},
                                 {box, flat, rotated, moved});
  const std::string path = writeTempFile("handmade.3ds", bytes);
  Scene3ds scene;
  ASSERT_TRUE(scene.load(path.c_str()));
  expectMatchesLib3ds(path, scene);
  EXPECT_EQ(scene.object(0)->materialIndexes, (std::vector<int32_t>{0, 1}));
  // And by hand: (5, -1, 2) is one step along the rotated object's first
  // axis (0, 2, 0) from its origin, so object-space (1, 0, 0).
  const float* v1 = scene.object(2)->vertex(scene.object(2)->face(0)[1]);
  EXPECT_NEAR(v1[0], 1.0f, 1e-6);
  EXPECT_NEAR(v1[1], 0.0f, 1e-6);
  EXPECT_NEAR(v1[2], 0.0f, 1e-6);
}

// Damaged meshes: nothing may be read or written outside a buffer (the
// sanitizer build checks that), and what can be kept is kept.
TEST(TdsLoaderDamage, FacesNamingMissingVerticesAreDropped) {
  TestMesh m = triangleMesh("t");
  m.faces = {{0, 1, 2}, {0, 1, 3}, {2, 1, 0}, {65535, 0, 1}};
  m.smoothing = {1, 2, 3, 4};
  m.groups = {{"mat", {0, 1, 2, 3}}};
  Scene3ds scene;
  ASSERT_TRUE(loadBytes(scene, writeScene({{"mat", "", ""}}, {m})));
  const MeshObject& o = *scene.object(0);
  EXPECT_EQ(records(o), "1/0 3/0 ");  // the survivors keep their own words and material
  for (uint16_t index : o.faces) EXPECT_LT(index, o.vertexCount());
}

TEST(TdsLoaderDamage, CountsLargerThanTheirChunkReadWhatIsThere) {
  const auto mesh = [](ChunkWriter& w, std::uint16_t faceCount, bool subChunks) {
    w.begin(0x4D4D).begin(0x3D3D).begin(0xAFFF).begin(0xA000).str("m").end().end();
    w.begin(0x4000).str("x").begin(0x4100);
    w.begin(0x4110).u16(1000).f32(0).f32(0).f32(0).f32(1).f32(0).f32(0).f32(0).f32(1).f32(0).end();
    w.begin(0x4140).u16(500).f32(0.5f).f32(0.25f).end();  // one pair for three vertices
    w.begin(0x4120).u16(faceCount).u16(0).u16(1).u16(2).u16(0).u16(2).u16(1).u16(0).u16(0);
    if (subChunks) {
      w.begin(0x4150).u32(7).end();                   // one word for two faces
      w.begin(0x4130).str("m").u16(40).u16(1).end();  // one index for forty
    }
    w.end().end().end().end();
    w.begin(0x0000).u32(0).end().end();
  };
  ChunkWriter w1;
  mesh(w1, 300, false);
  Scene3ds scene;
  ASSERT_TRUE(loadBytes(scene, w1.bytes()));
  const MeshObject& o = *scene.object(0);
  EXPECT_EQ(o.vertexCount(), 3);
  EXPECT_EQ(o.faceCount(), 2);
  ASSERT_EQ(o.texCoords.size(), 6u);  // padded to the vertex count
  EXPECT_TRUE(o.texCoord(0)[0] == 0.5f && o.texCoord(2)[1] == 0.0f);
  EXPECT_TRUE(o.normals.size() == 9u && o.tangents.size() == 9u);

  ChunkWriter w2;
  mesh(w2, 2, true);
  ASSERT_TRUE(loadBytes(scene, w2.bytes()));
  const MeshObject& p = *scene.object(0);
  EXPECT_EQ(records(p), "7/-1 0/0 ");
}

TEST(TdsLoaderDamage, AGroupNamingAnUnknownMaterialIsSkipped) {
  TestMesh m = triangleMesh("t");
  m.faces = {{0, 1, 2}, {2, 1, 0}};
  m.groups = {{"ghost", {0}}, {"real", {1}}};
  Scene3ds scene;
  ASSERT_TRUE(loadBytes(scene, writeScene({{"first", "A.JPG", ""}, {"real", "", ""}}, {m})));
  const MeshObject& o = *scene.object(0);
  EXPECT_EQ(o.materialIndexes, std::vector<int32_t>{1});  // no entry for the ghost, not material 0
  EXPECT_EQ(records(o), "0/-1 0/1 ");
}

TEST(TdsLoaderDamage, TruncatedFilesKeepWhatWasRead) {
  TestMesh m = cube("box");
  m.smoothing.assign(12, 1);
  const Bytes whole = writeScene({{"mat", "A.JPG", ""}}, {m, triangleMesh("second")});
  for (std::size_t cut = 0; cut < whole.size(); cut += 7) {
    const Bytes part(whole.begin(), whole.begin() + std::ptrdiff_t(cut));
    Scene3ds scene;
    loadBytes(scene, part);
    for (const MeshObject& o : scene.objects) {
      for (uint16_t index : o.faces) ASSERT_LT(index, o.vertexCount()) << cut;
      ASSERT_EQ(o.normals.size(), o.vertices.size()) << cut;
      ASSERT_EQ(o.texCoords.size() * 3, o.vertices.size() * 2) << cut;
    }
  }
  // The first object survives a cut in the middle of the second.
  const Bytes part(whole.begin(), whole.end() - 40);
  Scene3ds scene;
  ASSERT_TRUE(loadBytes(scene, part));
  ASSERT_GE(scene.objectCount(), 1);
  EXPECT_EQ(scene.object(0)->faceCount(), 12);
  EXPECT_EQ(scene.object(0)->vertexCount(), 8);
}

TEST(TdsLoaderDamage, TheLastValueOfAFileEndingWithItReadsAsZero) {
  // No padding: the final vertex's z ends exactly at the end of the file.
  ChunkWriter w;
  w.begin(0x4D4D).begin(0x3D3D).begin(0x4000).str("x").begin(0x4100);
  w.begin(0x4110).u16(1).f32(1).f32(2).f32(3).end();
  w.end().end().end().end();
  Scene3ds scene;
  ASSERT_TRUE(loadBytes(scene, w.bytes()));
  const float* v = scene.object(0)->vertex(0);
  EXPECT_EQ(v[0], 1.0f);
  EXPECT_EQ(v[1], 2.0f);
  EXPECT_EQ(v[2], 0.0f);
}

TEST(TdsLoaderDamage, AHugeFrameCountIsBounded) {
  const Bytes bytes = writeScene({}, {}, [](ChunkWriter& w) {
    w.begin(0xB000);
    for (int n = 0; n < 100; ++n)
      w.begin(0xB002).begin(0xB020).u16(0).u32(0).u32(0x7FFFFFFF).u32(0xFFFFFFFF).end().end();
    w.end();
  });
  Scene3ds scene;
  ASSERT_TRUE(loadBytes(scene, bytes));
  ASSERT_EQ(scene.keyframes.size(), 100u);
  EXPECT_LE(std::size_t(scene.frameCount) * 100, kMaxKeyframeSamples);
  for (const KeyframeNode& node : scene.keyframes) EXPECT_EQ(node.positions.size(), std::size_t(scene.frameCount) * 3);
  const float* p = scene.keyframePosition(99, 0.999);
  EXPECT_EQ(p[0], 0.0f);
}

}  // namespace
