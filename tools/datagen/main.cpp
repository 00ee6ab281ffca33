// velmora-datagen OUTDIR: makes the demo's data folder (textures/, meshes/,
// music/) under OUTDIR.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <thread>

#include "core/diagnostics.h"
#include "datagen.h"

int main(int argc, char** argv) {
  if (argc != 2 || std::string(argv[1]).starts_with("-")) {
    std::fprintf(stderr, "usage: %s OUTDIR\n", argv[0]);
    return 2;
  }
  setDiagnosticProgram("velmora-datagen");
  const auto start = std::chrono::steady_clock::now();
  try {
    const int jobs = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    const int n = datagen::generateAll(argv[1], jobs);
    const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("velmora-datagen: %d files in %s (%.2f s)\n", n, argv[1], s);
  } catch (const std::exception& e) {
    report(DiagnosticLevel::Error, e.what());
    return 1;
  }
  return 0;
}
