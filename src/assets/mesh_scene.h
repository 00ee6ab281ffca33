#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "assets/byte_reader.h"

// The in-memory model of a loaded 3D scene: materials, mesh objects and
// their keyframe tracks, as filled by the 3DS loader and read by drawing.

// Base of the records that carry a name from the file.
class NamedRecord {
 public:
  virtual ~NamedRecord() = default;
  virtual const std::string& name() const { return name_; }
  virtual void setName(const std::string& text) { name_ = text; }

 private:
  std::string name_;
};

struct ColorRecord {
  float r = 0.0f, g = 0.0f, b = 0.0f;
};

// A texture map of a material: the picture's file name as stored in the file
// and the map's strength (0..1).
struct MapRecord {
  std::string fileName;
  float amount = 0.0f;
};

class Material : public NamedRecord {
 public:
  const std::string& textureMap1Name() const { return textureMap1.fileName; }
  const std::string& bumpMapName() const { return bumpMap.fileName; }
  // Both clamp to 0..1.
  void setShininess(float value);
  void setShininessStrength(float value);

  MapRecord textureMap1, textureMap2, opacityMap, bumpMap, specularMap;
  MapRecord reflectionMap;  // an empty file name is stored as "auto"
  ColorRecord ambient, diffuse, specular;
  float shininess = 0.0f;
  float shininessStrength = 0.0f;
  int32_t shadingType = 0;
};

struct FaceRecord {
  uint16_t a = 0, b = 0, c = 0;
  uint16_t flags = 0;
  uint32_t smoothing = 0;
  float normal[3] = {0, 0, 0};
  float tangent[3] = {0, 0, 0};
  float tangentV[3] = {0, 0, 0};  // the v-direction partner of `tangent`
  int32_t material = -1;          // index into the scene's materials, -1 none
};

class MeshObject : public NamedRecord {
 public:
  MeshObject();

  int faceCount() const { return int(faces.size() / 3); }
  int vertexCount() const { return int(vertices.size() / 3); }
  int materialCount() const { return int(materialIndexes.size()); }

  // Pointers into the arrays, handed to GL as they are.
  const uint16_t* face(int i) const { return faces.data() + 3 * i; }
  const float* vertex(int i) const { return vertices.data() + 3 * i; }
  const float* normal(int i) const { return normals.data() + 3 * i; }
  const float* texCoord(int i) const { return texCoords.data() + 2 * i; }
  const float* binormal(int i) const { return binormals.data() + 3 * i; }
  const float* tangent(int i) const { return tangents.data() + 3 * i; }
  int32_t materialIndex(int j) const { return materialIndexes[std::size_t(j)]; }

  std::vector<uint16_t> faces;  // 3 per triangle, straight to glDrawElements
  std::vector<float> vertices;  // 3 per vertex
  std::vector<float> normals;
  std::vector<float> binormals;
  std::vector<float> tangents;
  std::vector<float> texCoords;        // 2 per vertex
  std::vector<float> texCoordsAsRead;  // 2 per vertex
  std::vector<FaceRecord> faceRecords;
  // As stored in the file: the X, Y and Z axes and the origin in elements
  // 0..2, 4..6, 8..10 and 12..14 (OpenGL's column order), element 15 = 1.
  float matrix[16];
  std::vector<int32_t> materialIndexes;
};

struct PositionKey {
  int32_t frame = 0;
  float value[3] = {0, 0, 0};
};

struct RotationKey {
  int32_t frame = 0;
  float value[4] = {0, 0, 0, 0};  // axis x, y, z, angle (radians)
};

struct KeyframeNode {
  std::string name;
  // Read from the file; dropped once the per-frame arrays are built.
  std::vector<PositionKey> positionKeys;
  std::vector<RotationKey> rotationKeys;
  std::vector<PositionKey> pivotKeys;

  std::vector<float> rotations;  // frame count x (axis x, y, z, angle)
  std::vector<float> positions;  // frame count x (x, y, z)
  float pivotOffset[3] = {0, 0, 0};
  float initialRotation[4] = {0, 0, 0, 0};
};

struct LightRecord {
  float position[3] = {0, 0, 0};
  ColorRecord color;
  bool spot = false;
  float target[3] = {0, 0, 0};
  float hotspot = 0.0f, falloff = 0.0f;
};

struct CameraRecord {
  float position[3] = {0, 0, 0};
  float target[3] = {0, 0, 0};
  float bank = 0.0f, lens = 0.0f;
};

class MeshScene {
 public:
  MeshScene() = default;
  MeshScene(const MeshScene&) = delete;
  MeshScene& operator=(const MeshScene&) = delete;
  virtual ~MeshScene() = default;

  virtual bool load(const char* fileName) = 0;
  // Empties everything a load fills (the camera list excepted, which nothing
  // reads) and selects the loading mode with smoothing groups and tangents.
  virtual void clear();

  int objectCount() const { return int(objects.size()); }
  MeshObject* object(int i);
  const MeshObject* object(int i) const;
  const Material* material(int i) const;

  // Samples at t = 0..1 over the whole animation; t = 1 is frame 0 again.
  // The result is shared by all scenes and valid until the next call. A node
  // the file did not provide samples as rest (zeros).
  const float* keyframePosition(int node, double t) const;
  const float* keyframeRotation(int node, double t) const;
  const float* keyframeOffset(int node) const;
  const float* keyframeInitialRotation(int node) const;

  std::vector<KeyframeNode> keyframes;
  int32_t frameCount = 0;
  std::vector<CameraRecord> cameras;
  std::vector<LightRecord> lights;
  std::vector<MeshObject> objects;
  std::vector<Material> materials;
  int32_t loadingMode = 2;
  std::string currentObjectName;
  ByteReader reader;
  std::vector<int32_t> materialSlots;
};
