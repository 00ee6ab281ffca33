// Loading the content generator's meshes: the chunk walk, keyframe
// expansion, object-space transform, smoothing split, normals and tangents,
// from bytes already in memory. Meshes come from VELMORA_MESH_DIR (default
// data/meshes under the working folder), e.g.
//   VELMORA_MESH_DIR=build/data/meshes build/bench/velmora_mesh_load_bench
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "assets/tds_loader.h"

namespace {

const char* const kMeshes[] = {"man.3ds", "man_gon.3ds", "heart.3ds", "thequad.3ds", "edafos2.3ds"};

std::vector<std::uint8_t> readMesh(const std::string& name) {
  const char* dir = std::getenv("VELMORA_MESH_DIR");
  const std::string path = std::string(dir ? dir : "data/meshes") + "/" + name;
  std::vector<std::uint8_t> bytes;
  if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
    std::fseek(f, 0, SEEK_END);
    bytes.resize(std::size_t(std::ftell(f)));
    std::fseek(f, 0, SEEK_SET);
    if (std::fread(bytes.data(), bytes.size(), 1, f) != 1) bytes.clear();
    std::fclose(f);
  }
  return bytes;
}

void loadMeshes(benchmark::State& state, const std::vector<std::string>& names) {
  std::vector<std::vector<std::uint8_t>> files;
  for (const std::string& name : names) {
    files.push_back(readMesh(name));
    if (files.back().empty()) {
      state.SkipWithError(("cannot read " + name + "; set VELMORA_MESH_DIR").c_str());
      return;
    }
  }
  std::int64_t vertices = 0;
  for (auto _ : state) {
    for (const auto& bytes : files) {
      Scene3ds scene;
      scene.loadFromMemory(bytes.data(), bytes.size());
      for (const MeshObject& o : scene.objects) vertices += o.vertexCount();
      benchmark::DoNotOptimize(scene.objects.data());
    }
  }
  state.counters["vertices/s"] = benchmark::Counter(double(vertices), benchmark::Counter::kIsRate);
  // Time per mesh; the inverted rate prints as a duration.
  state.counters["s/mesh"] = benchmark::Counter(double(state.iterations() * std::int64_t(files.size())),
                                                benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_LoadAllMeshes(benchmark::State& state) {
  loadMeshes(state, std::vector<std::string>(std::begin(kMeshes), std::end(kMeshes)));
}
BENCHMARK(BM_LoadAllMeshes)->Unit(benchmark::kMillisecond);

void BM_LoadMesh(benchmark::State& state) {
  const std::string name = kMeshes[state.range(0)];
  state.SetLabel(name);
  loadMeshes(state, {name});
}
BENCHMARK(BM_LoadMesh)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);

}  // namespace
