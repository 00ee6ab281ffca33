#include "demo/demo_app.h"

#include <string>

#include "core/diagnostics.h"

void DemoApp::loadScene(int32_t sceneIndex, double scale, const char* fileName) {
  Scene3ds* target = scene(sceneIndex);
  if (target == nullptr) {
    reportError(fileName, "scene index " + std::to_string(sceneIndex) + " is outside 0.." +
                              std::to_string(kSceneSlots - 1) + ": not loaded");
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
