// Writes small 3DS seed files for the loader's fuzz target into the folder
// named on the command line: materials with maps, meshes with groups,
// smoothing words and matrices, and a keyframer.
#include <cstdio>
#include <string>

#include "tds_file_builder.h"

using namespace tds_test;

namespace {

void save(const std::string& dir, const std::string& name, const Bytes& bytes) {
  std::FILE* f = std::fopen((dir + "/" + name).c_str(), "wb");
  if (!f) return;
  std::fwrite(bytes.data(), bytes.size(), 1, f);
  std::fclose(f);
}

void keyframer(ChunkWriter& w) {
  w.begin(0xB000);
  for (int n = 0; n < 2; ++n) {
    w.begin(0xB002);
    w.begin(0xB010).str(n ? "tri" : "box").u16(0).u16(0).u16(0xFFFF).end();
    w.begin(0xB013).f32(0.5f).f32(0).f32(0).end();
    w.begin(0xB020).u16(0).u32(0).u32(30).u32(2);
    w.u32(0).u16(0).f32(0).f32(0).f32(0).u32(20).u16(1).f32(0.5f).f32(1).f32(2).f32(3).end();
    w.begin(0xB021).u16(0).u32(0).u32(30).u32(2);
    w.u32(0).u16(0).f32(0.3f).f32(0).f32(0).f32(1).u32(10).u16(0x18).f32(0).f32(0).f32(1).f32(1).f32(0).f32(0).end();
    w.begin(0xB022).u16(0).u32(0).u32(30).u32(1).u32(0).u16(0).f32(1).f32(1).f32(1).end();
    w.end();
  }
  w.end();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  const std::string dir = argv[1];
  TestMesh box = cube("box");
  box.uvs = {{0, 0}, {1, 0}, {1, 1}, {0, 1}, {0, 0}, {1, 0}, {1, 1}, {0, 1}};
  box.smoothing = {1, 1, 2, 2, 4, 4, 8, 8, 16, 16, 32, 32};
  box.groups = {{"skin", {0, 1, 2, 3, 4, 5}}, {"glass", {6, 7, 8, 9, 10, 11}}};
  box.matrix = {0, 2, 0, -2, 0, 0, 0, 0, 2, 1, 2, 3};
  TestMesh tri;
  tri.name = "tri";
  tri.vertices = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
  tri.faces = {{0, 1, 2}};
  tri.groups = {{"missing", {0}}};
  const std::vector<TestMaterial> materials = {{"skin", "SKIN.JPG", "SKINBUMP.JPG"}, {"glass", "GLASS_BLEND.JPG", ""}};
  save(dir, "scene.3ds", writeScene(materials, {box, tri}, keyframer));
  save(dir, "mesh.3ds", writeScene({}, {box}));
  ChunkWriter w;
  w.begin(0x4D4D).begin(0x3D3D).begin(0xAFFF).begin(0xA000).str("m").end();
  w.begin(0xA010).begin(0x0010).f32(1).f32(0).f32(0).end().end();
  w.begin(0xA040).begin(0x0031).f32(40).end().end().begin(0xA100).u16(3).end().begin(0xA085).end();
  w.begin(0xA220).begin(0x0030).u16(50).end().begin(0xA300).str("").end().end().end();
  w.begin(0x4000).str("lamp").begin(0x4600).f32(1).f32(2).f32(3).begin(0x0011).u8(1).u8(2).u8(3).end();
  w.begin(0x4610).f32(0).f32(0).f32(0).f32(30).f32(40).end().end().end();
  w.begin(0x4000).str("cam").begin(0x4700).f32(0).f32(0).f32(0).f32(1).f32(1).f32(1).f32(0).f32(35).end().end();
  w.end().end();
  save(dir, "lights.3ds", w.bytes());
  return 0;
}
