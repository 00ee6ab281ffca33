// 3DS chunk writer: little-endian chunks, each a 16-bit id and a 32-bit
// length that counts its header, data and sub-chunks.
#include <cstring>
#include <map>
#include <set>
#include <stdexcept>

#include "meshes.h"

namespace datagen {

namespace {

class ChunkWriter {
 public:
  void begin(std::uint16_t id) {
    open_.push_back(out_.size());
    u16(id);
    u32(0);  // patched in end()
  }
  void end() {
    const std::size_t start = open_.back();
    open_.pop_back();
    const auto len = static_cast<std::uint32_t>(out_.size() - start);
    for (int i = 0; i < 4; ++i) out_[start + 2 + i] = static_cast<std::uint8_t>(len >> (8 * i));
  }
  void u8(std::uint8_t v) { out_.push_back(v); }
  void u16(std::uint16_t v) {
    u8(static_cast<std::uint8_t>(v));
    u8(static_cast<std::uint8_t>(v >> 8));
  }
  void u32(std::uint32_t v) {
    for (int i = 0; i < 4; ++i) u8(static_cast<std::uint8_t>(v >> (8 * i)));
  }
  void f32(float f) {
    std::uint32_t v;
    std::memcpy(&v, &f, 4);
    u32(v);
  }
  void str(const std::string& s) {
    for (char c : s) u8(static_cast<std::uint8_t>(c));
    u8(0);
  }
  Bytes take() {
    if (!open_.empty()) throw std::logic_error("3ds: unclosed chunk");
    return std::move(out_);
  }

 private:
  Bytes out_;
  std::vector<std::size_t> open_;
};

void colour(ChunkWriter& w, std::uint16_t id, const std::array<std::uint8_t, 3>& c) {
  w.begin(id);
  w.begin(0x0011);  // 24-bit colour
  for (auto v : c) w.u8(v);
  w.end();
  w.end();
}

void percent(ChunkWriter& w, std::uint16_t id, int p) {
  w.begin(id);
  w.begin(0x0030);  // integer percentage
  w.u16(static_cast<std::uint16_t>(p));
  w.end();
  w.end();
}

void map(ChunkWriter& w, std::uint16_t id, int amount, const std::string& file) {
  w.begin(id);
  w.begin(0x0030);
  w.u16(static_cast<std::uint16_t>(amount));
  w.end();
  w.begin(0xA300);
  w.str(file);
  w.end();
  w.begin(0xA351);  // tiling flags: plain repeat
  w.u16(0);
  w.end();
  w.end();
}

void trackHeader(ChunkWriter& w, int frames, int keys) {
  w.u16(0);
  w.u32(0);
  w.u32(static_cast<std::uint32_t>(frames));
  w.u32(static_cast<std::uint32_t>(keys));
}

}  // namespace

std::size_t verticesAfterSmoothingSplit(const MeshObject& obj) {
  std::vector<std::set<std::uint32_t>> words(obj.vertices.size());
  for (const MeshFace& f : obj.faces)
    for (auto i : {f.a, f.b, f.c}) words[i].insert(f.smoothing);
  std::size_t n = 0;
  for (const auto& s : words) n += s.empty() ? 1 : s.size();
  return n;
}

Bytes write3ds(const MeshScene& scene) {
  for (const MeshObject& o : scene.objects) {
    if (o.vertices.size() > 65535 || o.faces.size() > 65535) throw std::logic_error(o.name + ": too large for 3ds");
    if (!o.uvs.empty() && o.uvs.size() != o.vertices.size()) throw std::logic_error(o.name + ": uv count");
    for (const MeshFace& f : o.faces)
      if (f.a >= o.vertices.size() || f.b >= o.vertices.size() || f.c >= o.vertices.size())
        throw std::logic_error(o.name + ": face index out of range");
  }
  ChunkWriter w;
  w.begin(0x4D4D);
  w.begin(0x0002);  // file version
  w.u32(3);
  w.end();
  w.begin(0x3D3D);
  w.begin(0x3D3E);  // mesh version
  w.u32(3);
  w.end();
  for (const MeshMaterial& m : scene.materials) {
    w.begin(0xAFFF);
    w.begin(0xA000);
    w.str(m.name);
    w.end();
    colour(w, 0xA010, m.ambient);
    colour(w, 0xA020, m.diffuse);
    colour(w, 0xA030, m.specular);
    percent(w, 0xA040, m.shininess);
    percent(w, 0xA041, m.shinStrength);
    w.begin(0xA100);
    w.u16(static_cast<std::uint16_t>(m.shading));
    w.end();
    if (!m.texture.empty()) map(w, 0xA200, 100, m.texture);
    if (!m.bump.empty()) map(w, 0xA230, m.bumpAmount, m.bump);
    w.end();
  }
  w.begin(0x0100);  // master scale
  w.f32(1.0f);
  w.end();
  for (const MeshObject& o : scene.objects) {
    w.begin(0x4000);
    w.str(o.name);
    w.begin(0x4100);
    w.begin(0x4110);
    w.u16(static_cast<std::uint16_t>(o.vertices.size()));
    for (const V3& v : o.vertices) {
      w.f32(v.x);
      w.f32(v.y);
      w.f32(v.z);
    }
    w.end();
    if (!o.uvs.empty()) {
      w.begin(0x4140);
      w.u16(static_cast<std::uint16_t>(o.uvs.size()));
      for (const auto& uv : o.uvs) {
        w.f32(uv[0]);
        w.f32(uv[1]);
      }
      w.end();
    }
    w.begin(0x4160);  // local matrix: identity axes, origin at the object's centre
    const float m[12] = {1, 0, 0, 0, 1, 0, 0, 0, 1, o.origin.x, o.origin.y, o.origin.z};
    for (float f : m) w.f32(f);
    w.end();
    w.begin(0x4120);
    w.u16(static_cast<std::uint16_t>(o.faces.size()));
    for (const MeshFace& f : o.faces) {
      w.u16(f.a);
      w.u16(f.b);
      w.u16(f.c);
      w.u16(0x0007);  // all three edges visible
    }
    // one group per material, faces in ascending order
    std::map<int, std::vector<std::uint16_t>> groups;
    for (std::size_t i = 0; i < o.faces.size(); ++i)
      groups[o.faces[i].material].push_back(static_cast<std::uint16_t>(i));
    for (const auto& [mat, faces] : groups) {
      w.begin(0x4130);
      w.str(scene.materials.at(static_cast<std::size_t>(mat)).name);
      w.u16(static_cast<std::uint16_t>(faces.size()));
      for (auto f : faces) w.u16(f);
      w.end();
    }
    w.begin(0x4150);
    for (const MeshFace& f : o.faces) w.u32(f.smoothing);
    w.end();
    w.end();  // 4120
    w.end();  // 4100
    w.end();  // 4000
  }
  w.end();  // 3D3D

  w.begin(0xB000);
  w.begin(0xB00A);  // keyframer header: revision, scene name, length
  w.u16(5);
  w.str("");
  w.u32(static_cast<std::uint32_t>(scene.frames));
  w.end();
  w.begin(0xB008);  // active segment
  w.u32(0);
  w.u32(static_cast<std::uint32_t>(scene.frames));
  w.end();
  w.begin(0xB009);  // current frame
  w.u32(0);
  w.end();
  for (std::size_t k = 0; k < scene.objects.size(); ++k) {
    const MeshObject& o = scene.objects[k];
    w.begin(0xB002);
    w.begin(0xB030);
    w.u16(static_cast<std::uint16_t>(k));
    w.end();
    w.begin(0xB010);
    w.str(o.name);
    w.u16(0);
    w.u16(0);
    w.u16(0xFFFF);  // no parent
    w.end();
    w.begin(0xB013);  // pivot
    w.f32(0);
    w.f32(0);
    w.f32(0);
    w.end();
    w.begin(0xB020);  // position: the object's origin
    trackHeader(w, scene.frames, 1);
    w.u32(0);
    w.u16(0);
    w.f32(o.origin.x);
    w.f32(o.origin.y);
    w.f32(o.origin.z);
    w.end();
    w.begin(0xB021);  // rotation: none (angle, then axis)
    trackHeader(w, scene.frames, 1);
    w.u32(0);
    w.u16(0);
    w.f32(0);
    w.f32(0);
    w.f32(0);
    w.f32(1);
    w.end();
    w.begin(0xB022);  // scale: one
    trackHeader(w, scene.frames, 1);
    w.u32(0);
    w.u16(0);
    w.f32(1);
    w.f32(1);
    w.f32(1);
    w.end();
    w.end();  // B002
  }
  w.end();  // B000
  // Trailing padding: a reader that refuses values ending exactly at the end
  // of the file must still get every scale key.
  w.begin(0x0000);
  w.u32(0);
  w.end();
  w.end();  // 4D4D
  return w.take();
}

}  // namespace datagen
