#include "assets/scene_loading.h"

#include <array>
#include <cstdio>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/diagnostics.h"

namespace {

constexpr std::array<uint32_t, 256> makeCrcTable() {
  std::array<uint32_t, 256> table{};
  for (uint32_t i = 0; i < 256; ++i) {
    uint32_t crc = i << 24;
    for (int bit = 0; bit < 8; ++bit) crc = (crc & 0x80000000u) ? (crc << 1) ^ 0x04C11DB7u : crc << 1;
    table[i] = crc;
  }
  return table;
}

constexpr std::array<uint32_t, 256> kCrcTable = makeCrcTable();

struct MapEntry {
  std::string colour;
  std::string bump;
  uint32_t hash = 0;
  std::size_t slot = 0;
  bool loaded = false;
};

// What is wrong with a mesh file the loader read (`loaded`) or not; empty
// when nothing is.
std::string meshFileProblem(const char* fileName, bool loaded) {
  std::FILE* file = std::fopen(fileName, "rb");
  if (file == nullptr) return "missing: its scene stays empty";
  unsigned char head[6] = {};
  const std::size_t got = std::fread(head, 1, sizeof head, file);
  long size = -1;
  if (std::fseek(file, 0, SEEK_END) == 0) size = std::ftell(file);
  std::fclose(file);
  if (!loaded) return "not a 3DS mesh that can be read: its scene stays empty";
  // The main chunk says how long the file is.
  const uint32_t declared =
      uint32_t(head[2]) | uint32_t(head[3]) << 8 | uint32_t(head[4]) << 16 | uint32_t(head[5]) << 24;
  if (got == sizeof head && size >= 0 && declared > uint64_t(size)) {
    return "cut short at " + std::to_string(size) + " of " + std::to_string(declared) +
           " bytes: only what is there is drawn";
  }
  return "";
}
}  // namespace

uint32_t stringHash(const std::string& text) {
  uint32_t crc = 0;
  for (unsigned char byte : text) crc = (crc << 8) ^ kCrcTable[(crc >> 24) ^ byte];
  return crc ^ uint32_t(text.size());
}

void loadScene(MeshScene& scene, int sceneIndex, double scale, const char* fileName, MeshTextureLoader& textures) {
  // A missing or damaged mesh leaves its scene empty (or as much of it as
  // the file holds) and the demo goes on, but the user hears which file.
  const bool loaded = scene.load(fileName);
  const std::string problem = meshFileProblem(fileName, loaded);
  if (!problem.empty()) reportWarning(fileName, problem);

  std::size_t references = 0;
  for (MeshObject& object : scene.objects) {
    for (float& value : object.vertices) value = float(value * scale);
    references += object.materialIndexes.size();
  }

  std::vector<MapEntry> entries;
  for (const MeshObject& object : scene.objects) {
    for (int32_t index : object.materialIndexes) {
      const Material* material = scene.material(index);
      if (!material || stringHash(material->textureMap1Name()) == 0) continue;
      entries.push_back(MapEntry{material->textureMap1Name(), material->bumpMapName(),
                                 stringHash(material->textureMap1Name()), entries.size(), false});
    }
  }
  // Every entry takes the slot of the first entry with its hash.
  std::unordered_map<uint32_t, std::size_t> firstWithHash;
  for (MapEntry& entry : entries) entry.slot = firstWithHash.try_emplace(entry.hash, entry.slot).first->second;

  scene.materialSlots.assign(references, 0);
  for (std::size_t k = 0; k < entries.size(); ++k) scene.materialSlots[k] = int32_t(entries[k].slot);

  for (const MapEntry& entry : entries) {
    MapEntry& owner = entries[entry.slot];
    if (owner.hash == 0 || owner.loaded) continue;
    owner.loaded = true;
    if (owner.colour.find("JPG") == std::string::npos) continue;
    const int number = sceneTextureNumber(sceneIndex, int(entry.slot));
    const std::string path = "meshes/" + owner.colour;
    if (owner.colour.find("BLEND") != std::string::npos)
      textures.loadJpegTextureWithAlpha(path, "meshes/alpha" + owner.colour, number);
    else
      textures.loadJpegTexture(path, number);
    if (stringHash(owner.bump) != 0) textures.loadNormalMapTexture("meshes/" + owner.bump, number + kNormalMapOffset);
  }
}
