// velmora-inspect 3ds FILE [--scene N]: the scene the loader makes of a 3DS
// file, as JSON: materials and their maps, objects with vertex and face
// counts (after the smoothing split), bounding boxes and materials, the
// keyframe frame count, and the texture numbers loading it as scene N
// would use.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "assets/scene_loading.h"
#include "assets/tds_loader.h"
#include "core/diagnostics.h"
#include "inspect_commands.h"

namespace {

std::string quoted(const std::string& text) {
  std::string out = "\"";
  for (unsigned char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += char(c);
    } else if (c < 0x20 || c >= 0x7F) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", c);  // bytes read as Latin-1
      out += escape;
    } else {
      out += char(c);
    }
  }
  return out + "\"";
}

std::string number(double value) {
  if (!std::isfinite(value)) return "null";
  char text[32];
  std::snprintf(text, sizeof text, "%.9g", value);
  return text;
}

struct TextureCall {
  std::string kind, path, alphaPath;
  int number = 0;
};

// Notes what loadScene would load instead of loading it.
struct TexturePlan : MeshTextureLoader {
  std::vector<TextureCall> calls;
  void loadJpegTexture(const std::string& path, int n) override { calls.push_back({"colour", path, "", n}); }
  void loadJpegTextureWithAlpha(const std::string& path, const std::string& alpha, int n) override {
    calls.push_back({"colour+alpha", path, alpha, n});
  }
  void loadNormalMapTexture(const std::string& path, int n) override { calls.push_back({"normal", path, "", n}); }
};

}  // namespace

int inspect3ds(const std::vector<std::string>& args) {
  std::string file;
  int sceneIndex = 0;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--scene" && i + 1 < args.size()) {
      char* end = nullptr;
      sceneIndex = int(std::strtol(args[++i].c_str(), &end, 10));
      if (!end || *end) {
        printInspectUsage();
        return 2;
      }
    } else if (!args[i].empty() && args[i][0] != '-' && file.empty()) {
      file = args[i];
    } else {
      printInspectUsage();
      return 2;
    }
  }
  if (file.empty()) {
    printInspectUsage();
    return 2;
  }
  if (std::FILE* f = std::fopen(file.c_str(), "rb")) {
    std::fclose(f);
  } else {
    reportError(file, "cannot open");
    return 1;
  }

  Scene3ds scene;
  if (!scene.load(file.c_str())) {
    reportError(file, "not a 3DS file");
    return 1;
  }
  TexturePlan plan;
  loadScene(scene, sceneIndex, 1.0, file.c_str(), plan);

  std::printf("{\n  \"file\": %s,\n  \"scene\": %d,\n  \"frameCount\": %d,\n  \"keyframeNodes\": %zu,\n",
              quoted(file).c_str(), sceneIndex, scene.frameCount, scene.keyframes.size());
  std::printf("  \"materials\": [");
  for (std::size_t m = 0; m < scene.materials.size(); ++m) {
    const Material& mat = scene.materials[m];
    std::printf("%s\n    {\"name\": %s, \"textureMap1\": %s, \"bumpMap\": %s}", m ? "," : "",
                quoted(mat.name()).c_str(), quoted(mat.textureMap1Name()).c_str(), quoted(mat.bumpMapName()).c_str());
  }
  std::printf("%s],\n  \"objects\": [", scene.materials.empty() ? "" : "\n  ");
  for (int i = 0; i < scene.objectCount(); ++i) {
    const MeshObject& o = *scene.object(i);
    double lo[3] = {0, 0, 0}, hi[3] = {0, 0, 0};
    for (int v = 0; v < o.vertexCount(); ++v)
      for (int k = 0; k < 3; ++k) {
        const double x = o.vertex(v)[k];
        lo[k] = v == 0 || x < lo[k] ? x : lo[k];
        hi[k] = v == 0 || x > hi[k] ? x : hi[k];
      }
    std::printf("%s\n    {\"name\": %s, \"vertices\": %d, \"faces\": %d,\n", i ? "," : "", quoted(o.name()).c_str(),
                o.vertexCount(), o.faceCount());
    std::printf("     \"min\": [%s, %s, %s], \"max\": [%s, %s, %s],\n     \"materials\": [", number(lo[0]).c_str(),
                number(lo[1]).c_str(), number(lo[2]).c_str(), number(hi[0]).c_str(), number(hi[1]).c_str(),
                number(hi[2]).c_str());
    for (int j = 0; j < o.materialCount(); ++j)
      std::printf("%s%s", j ? ", " : "", quoted(scene.material(o.materialIndex(j))->name()).c_str());
    std::printf("]}");
  }
  std::printf("%s],\n  \"materialSlots\": [", scene.objects.empty() ? "" : "\n  ");
  for (std::size_t k = 0; k < scene.materialSlots.size(); ++k)
    std::printf("%s%d", k ? ", " : "", scene.materialSlots[k]);
  std::printf("],\n  \"textures\": [");
  for (std::size_t k = 0; k < plan.calls.size(); ++k) {
    const TextureCall& c = plan.calls[k];
    std::printf("%s\n    {\"number\": %d, \"kind\": \"%s\", \"path\": %s", k ? "," : "", c.number, c.kind.c_str(),
                quoted(c.path).c_str());
    if (!c.alphaPath.empty()) std::printf(", \"alpha\": %s", quoted(c.alphaPath).c_str());
    std::printf("}");
  }
  std::printf("%s]\n}\n", plan.calls.empty() ? "" : "\n  ");
  return 0;
}
