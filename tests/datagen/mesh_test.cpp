#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>

#include <gtest/gtest.h>
#include <lib3ds/file.h>
#include <lib3ds/material.h>
#include <lib3ds/mesh.h>
#include <lib3ds/node.h>

#include "datagen.h"
#include "meshes.h"
#include "test_support.h"

using namespace datagen;

namespace {

struct Lib3dsDeleter {
  void operator()(Lib3dsFile* f) const { lib3ds_file_free(f); }
};

// lib3ds reads from a path only: write the bytes to a scratch file.
std::unique_ptr<Lib3dsFile, Lib3dsDeleter> loadWithLib3ds(const Bytes& bytes, const std::string& name) {
  const auto path = datagen_test::scratchPath(name);
  {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }
  std::unique_ptr<Lib3dsFile, Lib3dsDeleter> f(lib3ds_file_load(path.c_str()));
  std::filesystem::remove(path);
  return f;
}

class MeshFileTest : public ::testing::TestWithParam<std::string> {};

TEST_P(MeshFileTest, Lib3dsReadsWhatWasBuilt) {
  const MeshScene scene = buildMesh(GetParam());
  auto file = loadWithLib3ds(write3ds(scene), GetParam());
  ASSERT_NE(file, nullptr) << GetParam();
  // lib3ds keeps its own order of meshes: match them by name
  std::map<std::string, const MeshObject*> byName;
  for (const MeshObject& o : scene.objects) ASSERT_TRUE(byName.emplace(o.name, &o).second) << o.name;
  std::size_t k = 0;
  for (Lib3dsMesh* m = file->meshes; m; m = m->next, ++k) {
    ASSERT_TRUE(byName.count(m->name)) << m->name;
    const MeshObject& o = *byName[m->name];
    ASSERT_EQ(m->faces, o.faces.size()) << o.name;
    EXPECT_EQ(m->points, o.vertices.size()) << o.name;
    EXPECT_EQ(m->texels, o.uvs.size()) << o.name;
    for (Lib3dsDword i = 0; i < m->faces; ++i) {
      const Lib3dsFace& f = m->faceL[i];
      for (int c = 0; c < 3; ++c) ASSERT_LT(f.points[c], m->points) << o.name << " face " << i;
      EXPECT_EQ(f.smoothing, o.faces[i].smoothing);
      EXPECT_EQ(std::string(f.material), scene.materials[static_cast<std::size_t>(o.faces[i].material)].name);
    }
    EXPECT_FLOAT_EQ(m->matrix[3][0], o.origin.x);
    EXPECT_FLOAT_EQ(m->matrix[3][2], o.origin.z);
  }
  EXPECT_EQ(k, scene.objects.size());
  std::size_t nodes = 0;
  for (Lib3dsNode* n = file->nodes; n; n = n->next) {
    ++nodes;
    EXPECT_EQ(n->type, LIB3DS_OBJECT_NODE);
  }
  EXPECT_EQ(nodes, scene.objects.size());
  std::size_t materials = 0;
  for (Lib3dsMaterial* m = file->materials; m; m = m->next) ++materials;
  EXPECT_EQ(materials, scene.materials.size());
}

TEST_P(MeshFileTest, EveryObjectFitsSixteenBitIndicesAfterSmoothingSplits) {
  for (const MeshObject& o : buildMesh(GetParam()).objects) {
    EXPECT_LE(verticesAfterSmoothingSplit(o), 65536u) << o.name;
    EXPECT_FALSE(o.faces.empty()) << o.name;
  }
}

TEST_P(MeshFileTest, MaterialMapsAreUpperCaseJpgFilesOfTheDataFolder) {
  std::set<std::string> files;
  for (const DataFile& f : catalog()) files.insert(f.path);
  for (const MeshMaterial& m : buildMesh(GetParam()).materials) {
    ASSERT_FALSE(m.texture.empty()) << m.name;
    // the demo loads only map names containing "JPG"
    EXPECT_NE(m.texture.find("JPG"), std::string::npos) << m.texture;
    EXPECT_TRUE(files.count("meshes/" + m.texture)) << m.texture;
    if (m.texture.find("BLEND") != std::string::npos) {
      EXPECT_TRUE(files.count("meshes/alpha" + m.texture)) << m.texture;
    }
    if (!m.bump.empty()) {
      EXPECT_TRUE(files.count("meshes/" + m.bump)) << m.bump;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(All, MeshFileTest, ::testing::ValuesIn(meshNames()),
                         [](const auto& paramInfo) { return paramInfo.param.substr(0, paramInfo.param.find('.')); });

TEST(MeshSet, ExercisesSharedMapsBlendMapsAndSmoothingSplits) {
  bool shared = false, blend = false, split = false;
  std::size_t facesMan = 0;
  for (const std::string& name : meshNames()) {
    const MeshScene s = buildMesh(name);
    std::map<std::string, int> users;
    for (const MeshMaterial& m : s.materials) ++users[m.texture];
    for (const auto& [tex, n] : users) shared |= n > 1;
    for (const MeshMaterial& m : s.materials) blend |= m.texture.find("BLEND") != std::string::npos;
    for (const MeshObject& o : s.objects) split |= verticesAfterSmoothingSplit(o) > o.vertices.size();
    if (name == "man.3ds") {
      for (const MeshObject& o : s.objects) facesMan += o.faces.size();
      EXPECT_GE(s.objects.size(), 5u);
    }
  }
  EXPECT_TRUE(shared);
  EXPECT_TRUE(blend);
  EXPECT_TRUE(split);
  EXPECT_GE(facesMan, 3000u);
}

TEST(MeshSet, FileEndsWithPaddingSoTheLastKeyIsReadable) {
  // a reader that refuses a value ending exactly at the end of the buffer
  // must still see the last scale key: the file ends in an empty chunk
  const Bytes b = write3ds(buildMesh("thequad.3ds"));
  ASSERT_GE(b.size(), 16u);
  const std::size_t n = b.size();
  EXPECT_EQ(b[n - 10], 0x00);
  EXPECT_EQ(b[n - 9], 0x00);
  EXPECT_EQ(b[n - 8], 10);  // chunk length 10
  const std::uint32_t mainLen = b[2] | (b[3] << 8) | (b[4] << 16) | (static_cast<std::uint32_t>(b[5]) << 24);
  EXPECT_EQ(mainLen, n);
}

}  // namespace
