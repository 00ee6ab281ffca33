#pragma once
// Writes small 3DS files for the loader's tests: a chunk writer and a
// scene-level helper for the common shape of a file.
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace tds_test {

using Bytes = std::vector<std::uint8_t>;

// Chunks are opened and closed as the file is written: end() fills in the
// length of the chunk opened last.
class ChunkWriter {
 public:
  ChunkWriter& begin(std::uint16_t id) { return open_.push_back(out_.size()), u16(id).u32(0); }
  ChunkWriter& end() {
    const auto length = std::uint32_t(out_.size() - open_.back());
    for (int i = 0; i < 4; ++i) out_[open_.back() + 2 + i] = std::uint8_t(length >> (8 * i));
    return open_.pop_back(), *this;
  }
  ChunkWriter& u8(std::uint8_t v) { return out_.push_back(v), *this; }
  ChunkWriter& u16(std::uint16_t v) { return u8(std::uint8_t(v)).u8(std::uint8_t(v >> 8)); }
  ChunkWriter& u32(std::uint32_t v) { return u16(std::uint16_t(v)).u16(std::uint16_t(v >> 16)); }
  ChunkWriter& f32(float f) { return u32(std::bit_cast<std::uint32_t>(f)); }
  ChunkWriter& str(const std::string& s) { return out_.insert(out_.end(), s.begin(), s.end()), u8(0); }
  Bytes& bytes() { return out_; }

 private:
  Bytes out_;
  std::vector<std::size_t> open_;
};

struct TestMaterial {
  std::string name;
  std::string texture;  // texture map 1, empty for none
  std::string bump;
};

struct TestMesh {
  std::string name;
  std::vector<std::array<float, 3>> vertices;
  std::vector<std::array<float, 2>> uvs;
  std::vector<std::array<std::uint16_t, 3>> faces;
  std::vector<std::uint32_t> smoothing;  // one per face, or empty for no chunk
  std::vector<std::pair<std::string, std::vector<std::uint16_t>>> groups;
  // X axis, Y axis, Z axis, origin; empty for no matrix chunk.
  std::vector<float> matrix;
};

inline void writeMap(ChunkWriter& w, std::uint16_t id, const std::string& file) {
  w.begin(id).begin(0x0030).u16(100).end().begin(0xA300).str(file).end().end();
}

inline void writeMaterial(ChunkWriter& w, const TestMaterial& m) {
  w.begin(0xAFFF);
  w.begin(0xA000).str(m.name).end();
  if (!m.texture.empty()) writeMap(w, 0xA200, m.texture);
  if (!m.bump.empty()) writeMap(w, 0xA230, m.bump);
  w.end();
}

inline void writeMesh(ChunkWriter& w, const TestMesh& mesh) {
  w.begin(0x4000).str(mesh.name).begin(0x4100);
  w.begin(0x4110).u16(std::uint16_t(mesh.vertices.size()));
  for (const auto& v : mesh.vertices) w.f32(v[0]).f32(v[1]).f32(v[2]);
  w.end();
  if (!mesh.uvs.empty()) {
    w.begin(0x4140).u16(std::uint16_t(mesh.uvs.size()));
    for (const auto& uv : mesh.uvs) w.f32(uv[0]).f32(uv[1]);
    w.end();
  }
  if (!mesh.matrix.empty()) {
    w.begin(0x4160);
    for (float f : mesh.matrix) w.f32(f);
    w.end();
  }
  w.begin(0x4120).u16(std::uint16_t(mesh.faces.size()));
  for (const auto& f : mesh.faces) w.u16(f[0]).u16(f[1]).u16(f[2]).u16(7);
  for (const auto& [name, faces] : mesh.groups) {
    w.begin(0x4130).str(name).u16(std::uint16_t(faces.size()));
    for (auto f : faces) w.u16(f);
    w.end();
  }
  if (!mesh.smoothing.empty()) {
    w.begin(0x4150);
    for (auto s : mesh.smoothing) w.u32(s);
    w.end();
  }
  w.end().end().end();
}

// A whole file: materials and meshes in the editor chunk, then whatever
// `keyframer` writes inside the main chunk, then a padding chunk so the
// last real value does not end at the end of the file.
template <typename Keyframer>
Bytes writeScene(const std::vector<TestMaterial>& materials, const std::vector<TestMesh>& meshes, Keyframer keyframer) {
  ChunkWriter w;
  w.begin(0x4D4D);
  w.begin(0x0002).u32(3).end();
  w.begin(0x3D3D);
  for (const auto& m : materials) writeMaterial(w, m);
  for (const auto& mesh : meshes) writeMesh(w, mesh);
  w.end();
  keyframer(w);
  w.begin(0x0000).u32(0).end();
  w.end();
  return std::move(w.bytes());
}

inline Bytes writeScene(const std::vector<TestMaterial>& materials, const std::vector<TestMesh>& meshes) {
  return writeScene(materials, meshes, [](ChunkWriter&) {});
}

// A unit cube: 8 corners, 12 outward-facing triangles, two per side, the
// sides in the order -z, +z, -y, +x, +y, -x.
inline TestMesh cube(const std::string& name) {
  TestMesh m;
  m.name = name;
  m.vertices = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {0, 0, 1}, {1, 0, 1}, {1, 1, 1}, {0, 1, 1}};
  m.faces = {{0, 2, 1}, {0, 3, 2}, {4, 5, 6}, {4, 6, 7}, {0, 1, 5}, {0, 5, 4},
             {1, 2, 6}, {1, 6, 5}, {2, 3, 7}, {2, 7, 6}, {3, 0, 4}, {3, 4, 7}};
  return m;
}

}  // namespace tds_test
