#pragma once
// The production's 3D scenes as plain records, the builders that make them
// and the writer that stores them in the 3DS chunk format.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "datagen.h"

namespace datagen {

struct V3 {
  float x = 0, y = 0, z = 0;
};

struct MeshMaterial {
  std::string name;
  std::array<std::uint8_t, 3> ambient{}, diffuse{}, specular{};
  int shininess = 30, shinStrength = 20;  // percent
  int shading = 3;                        // phong
  std::string texture;                    // colour map file under meshes/, or empty
  std::string bump;                       // bump (height) map file, or empty
  int bumpAmount = 60;                    // percent
};

struct MeshFace {
  std::uint16_t a = 0, b = 0, c = 0;
  std::uint32_t smoothing = 1;
  int material = 0;  // index into the scene's materials
};

struct MeshObject {
  std::string name;
  std::vector<V3> vertices;  // world space, as 3DS stores them
  std::vector<std::array<float, 2>> uvs;
  std::vector<MeshFace> faces;
  // The local matrix is a translation to here. The scenes leave it at zero:
  // the demo's mesh routine scales after the keyframed position, so an
  // object away from the origin would keep its full-size place while its
  // faces shrink, and a scaled figure would fall apart.
  V3 origin;
};

struct MeshScene {
  std::vector<MeshMaterial> materials;
  std::vector<MeshObject> objects;
  int frames = 100;  // keyframer length; one node per object
};

std::vector<std::string> meshNames();  // man.3ds, man_gon.3ds, heart.3ds, thequad.3ds, edafos2.3ds
MeshScene buildMesh(const std::string& name);
Bytes write3ds(const MeshScene& scene);

// Vertices an object has once every vertex is split per distinct smoothing
// word of the faces around it (what a 3DS loader with smoothing does).
std::size_t verticesAfterSmoothingSplit(const MeshObject& obj);

}  // namespace datagen
