#pragma once
#include <cstdint>
#include <string>

#include "assets/mesh_scene.h"

// CRC-32 (MSB first, polynomial 04C11DB7, start 0, no final inversion) of
// the text, XORed with its length. The empty text hashes to 0, which the
// loader reads as "no map".
uint32_t stringHash(const std::string& text);

// Where a scene's material maps go: the texture table's loaders, plugged in
// by whoever owns the table.
class MeshTextureLoader {
 public:
  virtual ~MeshTextureLoader() = default;
  virtual void loadJpegTexture(const std::string& path, int number) = 0;
  virtual void loadJpegTextureWithAlpha(const std::string& colourPath, const std::string& alphaPath, int number) = 0;
  virtual void loadNormalMapTexture(const std::string& path, int number) = 0;
};

// Texture numbers of scene i: colour map of slot s at
// kSceneTextureBase + kSceneTextureStride * i + s, its normal map
// kNormalMapOffset higher.
constexpr int kSceneTextureBase = 100000;
constexpr int kSceneTextureStride = 100;
constexpr int kNormalMapOffset = 50;

inline int sceneTextureNumber(int sceneIndex, int slot) {
  return kSceneTextureBase + kSceneTextureStride * sceneIndex + slot;
}

// Loads the 3DS file into `scene` (a file that cannot be read leaves the
// scene empty and is not reported), scales every vertex, and loads each
// distinct JPEG colour map once, with its bump map as a normal map, through
// `textures`. Fills scene.materialSlots: one slot per material reference
// whose material has a colour map, counted over the objects in order; two
// references to the same map share the slot of the first. Maps are looked
// for under "meshes/"; only names with "JPG" in them are loaded, those with
// "BLEND" with "meshes/alpha" + name as their alpha picture.
void loadScene(MeshScene& scene, int sceneIndex, double scale, const char* fileName, MeshTextureLoader& textures);
