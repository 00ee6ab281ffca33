#include "app/demo_app.h"

#include <cstdio>

void DemoApp::loadScene(int32_t sceneIndex, double scale, const char* fileName) {
  Scene3ds* target = scene(sceneIndex);
  if (target == nullptr) {
    std::fprintf(stderr, "velmora: %s: scene index %d is outside 0..%d: not loaded\n", fileName, int(sceneIndex),
                 kSceneSlots - 1);
    return;
  }
  ::loadScene(*target, sceneIndex, scale, fileName, textures);
  uploadSceneBuffers(*target, sceneBuffers[std::size_t(sceneIndex)]);
}

Scene3ds* DemoApp::scene(int32_t sceneIndex) {
  return sceneIndex >= 0 && sceneIndex < kSceneSlots ? &scenes[std::size_t(sceneIndex)] : nullptr;
}

const Scene3ds* DemoApp::scene(int32_t sceneIndex) const {
  return sceneIndex >= 0 && sceneIndex < kSceneSlots ? &scenes[std::size_t(sceneIndex)] : nullptr;
}
