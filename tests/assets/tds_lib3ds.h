#pragma once
// lib3ds, the reference 3DS reader the loader is checked against.
#include <lib3ds/file.h>
#include <lib3ds/material.h>
#include <lib3ds/matrix.h>
#include <lib3ds/mesh.h>
#include <lib3ds/vector.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "assets/tds_loader.h"
#include "tds_file_builder.h"

namespace tds_test {

// Writes the bytes to a file in the test's temporary folder; returns its path.
inline std::string writeTempFile(const std::string& name, const Bytes& bytes) {
  const std::string path = ::testing::TempDir() + name;
  if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
    if (!bytes.empty()) std::fwrite(bytes.data(), bytes.size(), 1, f);
    std::fclose(f);
  }
  return path;
}

// What lib3ds makes of the file and of the mesh matrix, compared with what
// the loader made of it: names, counts before splitting, object-space
// positions, texture coordinates, material names and maps.
inline void expectMatchesLib3ds(const std::string& path, const Scene3ds& scene) {
  Lib3dsFile* file = lib3ds_file_load(path.c_str());
  ASSERT_NE(file, nullptr) << path;

  std::vector<const Lib3dsMaterial*> materials;
  for (Lib3dsMaterial* m = file->materials; m; m = m->next) materials.push_back(m);
  ASSERT_EQ(scene.materials.size(), materials.size()) << path;
  // lib3ds keeps its lists sorted by name; the loader keeps file order.
  for (const Lib3dsMaterial* m : materials) {
    const Material* own = nullptr;
    for (const Material& candidate : scene.materials)
      if (candidate.name() == m->name) own = &candidate;
    ASSERT_NE(own, nullptr) << path << ": material " << m->name;
    EXPECT_EQ(own->textureMap1Name(), m->texture1_map.name);
    EXPECT_EQ(own->bumpMapName(), m->bump_map.name);
  }

  std::size_t k = 0;
  for (Lib3dsMesh* mesh = file->meshes; mesh; mesh = mesh->next, ++k) {
    SCOPED_TRACE(path + ": " + mesh->name);
    const MeshObject* found = nullptr;
    for (const MeshObject& candidate : scene.objects)
      if (candidate.name() == mesh->name) found = &candidate;
    ASSERT_NE(found, nullptr);
    const MeshObject& o = *found;
    ASSERT_EQ(std::size_t(o.faceCount()), mesh->faces);
    EXPECT_EQ(o.texCoords.size() / 2, std::size_t(o.vertexCount()));

    // Splitting makes one vertex per distinct smoothing word around each
    // point read.
    std::vector<std::set<Lib3dsDword>> words(mesh->points);
    for (Lib3dsDword f = 0; f < mesh->faces; ++f)
      for (int c = 0; c < 3; ++c) words[mesh->faceL[f].points[c]].insert(mesh->faceL[f].smoothing);
    std::size_t split = 0;
    for (const auto& w : words) split += w.empty() ? 1 : w.size();
    EXPECT_EQ(std::size_t(o.vertexCount()), split <= 65536 ? split : mesh->points);

    Lib3dsMatrix inverse;
    for (int c = 0; c < 4; ++c)
      for (int r = 0; r < 4; ++r) inverse[c][r] = mesh->matrix[c][r];
    lib3ds_matrix_inv(inverse);
    for (Lib3dsDword f = 0; f < mesh->faces; ++f) {
      const Lib3dsFace& face = mesh->faceL[f];
      if (!face.material[0]) {
        EXPECT_EQ(o.faceRecords[f].material, -1);
      } else {
        ASSERT_GE(o.faceRecords[f].material, 0);
        EXPECT_EQ(scene.materials[std::size_t(o.faceRecords[f].material)].name(), face.material);
      }
      for (int c = 0; c < 3; ++c) {
        Lib3dsVector expected;
        lib3ds_vector_transform(expected, inverse, mesh->pointL[face.points[c]].pos);
        const float* v = o.vertex(o.face(int(f))[c]);
        for (int a = 0; a < 3; ++a) EXPECT_NEAR(v[a], expected[a], 1e-4 * (1 + std::fabs(expected[a]))) << "face " << f;
        if (mesh->texels == mesh->points) {
          const float* uv = o.texCoord(o.face(int(f))[c]);
          EXPECT_EQ(uv[0], mesh->texelL[face.points[c]][0]);
          EXPECT_EQ(uv[1], mesh->texelL[face.points[c]][1]);
        }
      }
    }
  }
  EXPECT_EQ(k, scene.objects.size()) << path;
  lib3ds_file_free(file);
}

}  // namespace tds_test
