#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>

#include "assets/mesh_scene.h"

// A MeshScene read from a 3DS file: materials, triangle meshes, lights,
// cameras and the keyframer's object nodes. After a load every mesh is in
// its own object space with per-vertex normals (split along smoothing-group
// edges), tangents and binormals, and every keyframe node holds one position
// and one rotation per frame.
class Scene3ds : public MeshScene {
 public:
  // Reads the whole file and parses it; false when the file cannot be read
  // or does not start with a 3DS main chunk. A damaged file loads what can
  // be read of it.
  bool load(const char* fileName) override;
  // The same from bytes in memory; they are only read during the call.
  bool loadFromMemory(const std::uint8_t* data, std::size_t size);

 private:
  bool parse();
  void readMaterial(const ChunkSpan& chunk);
  void readNamedObject(const ChunkSpan& chunk);
  void readMesh(const ChunkSpan& chunk);
  void readFaces(MeshObject& object, const ChunkSpan& chunk);
  void readLight(const ChunkSpan& chunk);
  void readCamera(const ChunkSpan& chunk);
  void readKeyframeNode(const ChunkSpan& chunk);
  void postProcess();

  std::unordered_map<std::string, int32_t> materialByName;
};

// Most frames a scene's animation may have, and most per-frame samples over
// all its nodes: a damaged header must not make the loader allocate
// gigabytes. Files past the second limit get fewer frames.
constexpr int32_t kMaxKeyframeFrames = 65536;
constexpr std::size_t kMaxKeyframeSamples = std::size_t(1) << 22;

// Builds each node's per-frame rotation and position arrays from its keys
// and takes its pivot; the key lists are dropped afterwards.
void expandKeyframes(MeshScene& scene);

// Brings each object's vertices from the file's world space into its own
// space with the inverse of its local matrix, and scales and negates the
// matching node's pivot into the offset drawing translates by.
void transformToObjectSpace(MeshScene& scene);
