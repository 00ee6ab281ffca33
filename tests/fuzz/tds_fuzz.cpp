// libFuzzer target over the 3DS loader: any bytes through the whole load
// (chunk walk, keyframe expansion, object-space transform, normal and
// tangent passes), then every array the drawing code hands to GL is walked
// so that AddressSanitizer sees each element, and the promises drawing
// relies on are checked. Build and run with tests/fuzz/fuzz-tds.sh.
#include <cstddef>
#include <cstdint>

#include "assets/tds_loader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Scene3ds scene;
  if (!scene.loadFromMemory(data, size)) return 0;
  float sum = 0.0f;
  for (const MeshObject& o : scene.objects) {
    const int vertices = o.vertexCount();
    if (vertices > 65536) __builtin_trap();
    if (o.normals.size() != o.vertices.size() || o.tangents.size() != o.vertices.size() ||
        o.binormals.size() != o.vertices.size() || o.texCoords.size() != std::size_t(vertices) * 2 ||
        o.texCoordsAsRead.size() != o.texCoords.size() || o.faceRecords.size() * 3 != o.faces.size())
      __builtin_trap();
    for (int f = 0; f < o.faceCount(); ++f)
      for (int c = 0; c < 3; ++c) {
        const std::uint16_t v = o.face(f)[c];
        if (v >= vertices) __builtin_trap();
        sum += o.vertex(v)[0] + o.normal(v)[1] + o.tangent(v)[2] + o.binormal(v)[0] + o.texCoord(v)[1];
      }
    for (int j = 0; j < o.materialCount(); ++j)
      if (!scene.material(o.materialIndex(j))) __builtin_trap();
  }
  for (int node = 0; node < int(scene.keyframes.size()); ++node) {
    sum += scene.keyframePosition(node, 0.999)[2] + scene.keyframeRotation(node, 0.5)[3];
    sum += scene.keyframeOffset(node)[0] + scene.keyframeInitialRotation(node)[3];
  }
  volatile float sink = sum;
  (void)sink;
  return 0;
}
