#include "assets/tds_loader.h"

#include <cstdio>
#include <vector>

#include "assets/mesh_normals.h"

namespace {

// Chunk ids, as named by the 3DS format.
enum : uint16_t {
  kMain = 0x4D4D,
  kEditor = 0x3D3D,
  kMaterial = 0xAFFF,
  kMaterialName = 0xA000,
  kAmbient = 0xA010,
  kDiffuse = 0xA020,
  kSpecular = 0xA030,
  kShininess = 0xA040,
  kShininessStrength = 0xA041,
  kWireOn = 0xA085,
  kShading = 0xA100,
  kTextureMap1 = 0xA200,
  kTextureMap2 = 0xA33A,
  kOpacityMap = 0xA210,
  kBumpMap = 0xA230,
  kSpecularMap = 0xA204,
  kReflectionMap = 0xA220,
  kMapFileName = 0xA300,
  kNamedObject = 0x4000,
  kTriangleMesh = 0x4100,
  kVertexList = 0x4110,
  kFaceList = 0x4120,
  kMaterialGroup = 0x4130,
  kSmoothingGroups = 0x4150,
  kMappingCoords = 0x4140,
  kLocalMatrix = 0x4160,
  kLight = 0x4600,
  kSpotlight = 0x4610,
  kCamera = 0x4700,
  kKeyframer = 0xB000,
  kObjectNode = 0xB002,
  kNodeName = 0xB010,
  kPivot = 0xB013,
  kPositionTrack = 0xB020,
  kRotationTrack = 0xB021,
  kColorFloat = 0x0010,
  kColor24 = 0x0011,
  kLinColor24 = 0x0012,
  kLinColorFloat = 0x0013,
  kPercentInt = 0x0030,
  kPercentFloat = 0x0031,
};

constexpr std::size_t kMaterialNameCapacity = 31;  // 30 characters
constexpr std::size_t kMapNameCapacity = 31;
constexpr std::size_t kObjectNameCapacity = 20;
constexpr std::size_t kNodeNameCapacity = 20;  // 19 characters

// Calls visit(child) for every chunk directly inside `parent`, from the
// reader's current position, leaving the reader at each child's data.
template <typename Visit>
void forEachChild(ByteReader& reader, std::size_t parentEnd, Visit visit) {
  ChunkSpan child;
  while (readChunkHeader(reader, parentEnd, child)) {
    visit(child);
    if (child.end >= reader.size()) return;
    reader.seek(child.end);
  }
}

// How many records of `bytes` each the chunk still holds, at most `claimed`.
std::size_t recordsThatFit(const ByteReader& reader, std::size_t end, std::size_t claimed, std::size_t bytes) {
  const std::size_t fit = reader.remaining(end) / bytes;
  return claimed < fit ? claimed : fit;
}

ColorRecord readColor(ByteReader& reader, const ChunkSpan& chunk) {
  ColorRecord color;
  bool found = false;
  forEachChild(reader, chunk.end, [&](const ChunkSpan& sub) {
    if (found) return;
    if (sub.id == kColorFloat || sub.id == kLinColorFloat) {
      color.r = reader.readFloat();
      color.g = reader.readFloat();
      color.b = reader.readFloat();
      found = true;
    } else if (sub.id == kColor24 || sub.id == kLinColor24) {
      color.r = reader.readU8() / 255.0f;
      color.g = reader.readU8() / 255.0f;
      color.b = reader.readU8() / 255.0f;
      found = true;
    }
  });
  return color;
}

// 0..1 from either percentage form; 0 when the chunk holds neither.
float readPercent(ByteReader& reader, const ChunkSpan& chunk) {
  float value = 0.0f;
  bool found = false;
  forEachChild(reader, chunk.end, [&](const ChunkSpan& sub) {
    if (found) return;
    if (sub.id == kPercentInt) {
      value = float(int16_t(reader.readU16())) / 100.0f;
      found = true;
    } else if (sub.id == kPercentFloat) {
      value = reader.readFloat() / 100.0f;
      found = true;
    }
  });
  return value;
}

MapRecord readMap(ByteReader& reader, const ChunkSpan& chunk) {
  MapRecord map;
  forEachChild(reader, chunk.end, [&](const ChunkSpan& sub) {
    if (sub.id == kMapFileName) {
      map.fileName = reader.readString(kMapNameCapacity);
    } else if (sub.id == kPercentInt) {
      map.amount = float(int16_t(reader.readU16())) / 100.0f;
    } else if (sub.id == kPercentFloat) {
      map.amount = reader.readFloat() / 100.0f;
    }
  });
  return map;
}

void readPoint(ByteReader& reader, float* out) {
  for (int k = 0; k < 3; ++k) out[k] = reader.readFloat();
}

// A track's header: flags, two 32-bit values of which the second is the
// track's length in frames, and the key count.
struct TrackHeader {
  int32_t frames = 0;
  uint32_t keys = 0;
};

TrackHeader readTrackHeader(ByteReader& reader) {
  TrackHeader header;
  reader.readU16();
  reader.readU32();
  header.frames = int32_t(reader.readU32());
  header.keys = reader.readU32();
  return header;
}

// A key's frame number and the spline terms its flags announce; false when
// the chunk has no room left for a key.
bool readKeyHeader(ByteReader& reader, std::size_t end, int32_t& frame) {
  const std::size_t at = reader.position();
  if (reader.remaining(end) < 6) return false;
  frame = int32_t(reader.readU32());
  const uint16_t flags = reader.readU16();
  if (reader.position() != at + 6) return false;  // at the very end of the file
  for (int bit = 0; bit < 5; ++bit)
    if (flags & (1u << bit)) reader.readFloat();  // tension, continuity, bias, ease to, ease from
  return true;
}

}  // namespace

bool Scene3ds::load(const char* fileName) {
  // Cleared even when the file is missing: a scene loaded again from a file
  // that has gone must not keep the old one's meshes.
  clear();
  std::FILE* file = std::fopen(fileName, "rb");
  if (!file) return false;
  long size = -1;
  if (std::fseek(file, 0, SEEK_END) == 0) size = std::ftell(file);
  std::fseek(file, 0, SEEK_SET);
  if (size <= 0) {
    std::fclose(file);
    return false;
  }
  std::vector<uint8_t> buffer(std::size_t(size), 0);
  const bool read = std::fread(buffer.data(), buffer.size(), 1, file) == 1;
  std::fclose(file);
  if (!read) return false;
  return loadFromMemory(buffer.data(), buffer.size());
}

bool Scene3ds::loadFromMemory(const uint8_t* data, std::size_t size) {
  clear();
  reader.reset(data, size);
  const bool parsed = parse();
  reader.reset(nullptr, 0);
  return parsed;
}

bool Scene3ds::parse() {
  ChunkSpan main;
  if (!readChunkHeader(reader, reader.size(), main) || main.id != kMain) return false;

  ChunkSpan editor;
  reader.seek(main.start);
  if (findChunk(reader, kEditor, main.end, editor)) {
    ChunkSpan chunk;
    reader.seek(editor.start);
    while (findChunk(reader, kMaterial, editor.end, chunk)) {
      readMaterial(chunk);
      if (chunk.end >= reader.size()) break;
      reader.seek(chunk.end);
    }
    // The first material of a name wins, as a search in file order would.
    materialByName.clear();
    for (std::size_t m = 0; m < materials.size(); ++m) materialByName.try_emplace(materials[m].name(), int32_t(m));
    reader.seek(editor.start);
    while (findChunk(reader, kNamedObject, editor.end, chunk)) {
      readNamedObject(chunk);
      if (chunk.end >= reader.size()) break;
      reader.seek(chunk.end);
    }
  }

  ChunkSpan keyframer;
  reader.seek(main.start);
  if (findChunk(reader, kKeyframer, main.end, keyframer)) {
    ChunkSpan chunk;
    reader.seek(keyframer.start);
    while (findChunk(reader, kObjectNode, keyframer.end, chunk)) {
      readKeyframeNode(chunk);
      if (chunk.end >= reader.size()) break;
      reader.seek(chunk.end);
    }
  }

  postProcess();
  return true;
}

void Scene3ds::readMaterial(const ChunkSpan& chunk) {
  Material material;
  forEachChild(reader, chunk.end, [&](const ChunkSpan& sub) {
    switch (sub.id) {
      case kMaterialName:
        material.setName(reader.readString(kMaterialNameCapacity));
        break;
      case kAmbient:
        material.ambient = readColor(reader, sub);
        break;
      case kDiffuse:
        material.diffuse = readColor(reader, sub);
        break;
      case kSpecular:
        material.specular = readColor(reader, sub);
        break;
      case kShininess:
        material.setShininess(readPercent(reader, sub));
        break;
      case kShininessStrength:
        material.setShininessStrength(readPercent(reader, sub));
        break;
      case kWireOn:
        material.shadingType = 0;
        break;
      case kShading: {
        const uint16_t shading = reader.readU16();
        if (shading <= 4) material.shadingType = shading;
        break;
      }
      case kTextureMap1:
        material.textureMap1 = readMap(reader, sub);
        break;
      case kTextureMap2:
        material.textureMap2 = readMap(reader, sub);
        break;
      case kOpacityMap:
        material.opacityMap = readMap(reader, sub);
        break;
      case kBumpMap:
        material.bumpMap = readMap(reader, sub);
        break;
      case kSpecularMap:
        material.specularMap = readMap(reader, sub);
        break;
      case kReflectionMap:
        material.reflectionMap = readMap(reader, sub);
        if (material.reflectionMap.fileName.empty()) material.reflectionMap.fileName = "auto";
        break;
      default:
        break;
    }
  });
  materials.push_back(std::move(material));
}

void Scene3ds::readNamedObject(const ChunkSpan& chunk) {
  currentObjectName = reader.readString(kObjectNameCapacity);
  ChunkSpan kind;
  if (!readChunkHeader(reader, chunk.end, kind)) return;
  if (kind.id == kTriangleMesh) {
    readMesh(kind);
  } else if (kind.id == kLight) {
    readLight(kind);
  } else if (kind.id == kCamera) {
    readCamera(kind);
  }
}

void Scene3ds::readMesh(const ChunkSpan& chunk) {
  MeshObject object;
  object.setName(currentObjectName);
  forEachChild(reader, chunk.end, [&](const ChunkSpan& sub) {
    switch (sub.id) {
      case kVertexList: {
        const std::size_t n = recordsThatFit(reader, sub.end, reader.readU16(), 12);
        object.vertices.resize(3 * n);
        for (float& value : object.vertices) value = reader.readFloat();
        break;
      }
      case kFaceList:
        readFaces(object, sub);
        break;
      case kMappingCoords: {
        const std::size_t n = recordsThatFit(reader, sub.end, reader.readU16(), 8);
        object.texCoords.resize(2 * n);
        for (float& value : object.texCoords) value = reader.readFloat();
        break;
      }
      case kLocalMatrix:
        for (int axis = 0; axis < 4; ++axis) readPoint(reader, &object.matrix[4 * axis]);
        break;
      default:
        break;
    }
  });

  // Mapping lists shorter or longer than the vertex list are cut or padded
  // so that every per-vertex array can be indexed alike.
  object.texCoords.resize(object.vertices.size() / 3 * 2, 0.0f);
  object.texCoordsAsRead = object.texCoords;
  // A face naming a vertex the object does not have cannot be drawn.
  const std::size_t vertexCount = object.vertices.size() / 3;
  std::erase_if(object.faceRecords,
                [&](const FaceRecord& f) { return f.a >= vertexCount || f.b >= vertexCount || f.c >= vertexCount; });
  objects.push_back(std::move(object));
}

void Scene3ds::readFaces(MeshObject& object, const ChunkSpan& chunk) {
  const std::size_t n = recordsThatFit(reader, chunk.end, reader.readU16(), 8);
  object.faceRecords.assign(n, FaceRecord{});
  for (FaceRecord& face : object.faceRecords) {
    face.a = reader.readU16();
    face.b = reader.readU16();
    face.c = reader.readU16();
    face.flags = reader.readU16();
  }
  // Groups and smoothing words address faces by their position in the file,
  // so they are applied before any face is dropped.
  forEachChild(reader, chunk.end, [&](const ChunkSpan& sub) {
    if (sub.id == kMaterialGroup) {
      const auto found = materialByName.find(reader.readString(kMaterialNameCapacity));
      // A group naming a material the file lacks has nothing to draw its
      // faces with: skipped, its faces keep no material.
      if (found == materialByName.end()) return;
      const int32_t index = found->second;
      object.materialIndexes.push_back(index);
      const std::size_t count = recordsThatFit(reader, sub.end, reader.readU16(), 2);
      for (std::size_t k = 0; k < count; ++k) {
        const uint16_t face = reader.readU16();
        if (face < object.faceRecords.size()) object.faceRecords[face].material = index;
      }
    } else if (sub.id == kSmoothingGroups) {
      const std::size_t count = recordsThatFit(reader, sub.end, object.faceRecords.size(), 4);
      for (std::size_t k = 0; k < count; ++k) object.faceRecords[k].smoothing = reader.readU32();
    }
  });
}

void Scene3ds::readLight(const ChunkSpan& chunk) {
  LightRecord light;
  readPoint(reader, light.position);
  forEachChild(reader, chunk.end, [&](const ChunkSpan& sub) {
    if (sub.id == kColorFloat) {
      light.color.r = reader.readFloat();
      light.color.g = reader.readFloat();
      light.color.b = reader.readFloat();
    } else if (sub.id == kColor24) {
      light.color.r = reader.readU8() / 255.0f;
      light.color.g = reader.readU8() / 255.0f;
      light.color.b = reader.readU8() / 255.0f;
    } else if (sub.id == kSpotlight) {
      light.spot = true;
      readPoint(reader, light.target);
      light.hotspot = reader.readFloat();
      light.falloff = reader.readFloat();
    }
  });
  lights.push_back(light);
}

void Scene3ds::readCamera(const ChunkSpan& chunk) {
  CameraRecord camera;
  readPoint(reader, camera.position);
  readPoint(reader, camera.target);
  camera.bank = reader.readFloat();
  camera.lens = reader.readFloat();
  cameras.push_back(camera);
}

void Scene3ds::readKeyframeNode(const ChunkSpan& chunk) {
  KeyframeNode node;
  forEachChild(reader, chunk.end, [&](const ChunkSpan& sub) {
    switch (sub.id) {
      case kNodeName:
        node.name = reader.readString(kNodeNameCapacity);
        break;
      case kPivot: {
        PositionKey pivot;
        readPoint(reader, pivot.value);
        node.pivotKeys.push_back(pivot);
        break;
      }
      // Keys come in rising frame order. A key at the frame of the one
      // before fills nothing but still adds its angle, so it stays; one
      // that goes back is dropped: the spans it would fill overlap the
      // others, and a damaged track of such keys would make the expansion
      // cost keys x frames.
      case kPositionTrack: {
        const TrackHeader header = readTrackHeader(reader);
        if (header.frames > frameCount) frameCount = header.frames;
        if (frameCount < 1) frameCount = 1;
        PositionKey key;
        for (uint32_t k = 0; k < header.keys && readKeyHeader(reader, sub.end, key.frame); ++k) {
          readPoint(reader, key.value);
          if (reader.position() > sub.end) break;  // the key ran out of its chunk
          if (!node.positionKeys.empty() && key.frame < node.positionKeys.back().frame) continue;
          node.positionKeys.push_back(key);
        }
        break;
      }
      case kRotationTrack: {
        const TrackHeader header = readTrackHeader(reader);
        RotationKey key;
        for (uint32_t k = 0; k < header.keys && readKeyHeader(reader, sub.end, key.frame); ++k) {
          key.value[3] = reader.readFloat();  // the file has the angle first
          key.value[0] = reader.readFloat();
          key.value[1] = reader.readFloat();
          key.value[2] = reader.readFloat();
          if (reader.position() > sub.end) break;
          if (!node.rotationKeys.empty() && key.frame < node.rotationKeys.back().frame) continue;
          node.rotationKeys.push_back(key);
        }
        break;
      }
      default:
        break;  // scale (B022) and the rest: nothing samples them
    }
  });
  keyframes.push_back(std::move(node));
}

void Scene3ds::postProcess() {
  expandKeyframes(*this);
  transformToObjectSpace(*this);
  for (MeshObject& object : objects) {
    if (loadingMode == 2) {
      computeNormals(object, true);
      computeTangents(object);
    } else {
      computeNormals(object, false);
    }
  }
}
