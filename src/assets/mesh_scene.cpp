#include "assets/mesh_scene.h"

#include <cmath>

namespace {

float clamp01(float value) {
  if (!(value > 0.0f)) return 0.0f;  // NaN too
  return value > 1.0f ? 1.0f : value;
}

// Frame number of an animation position, wrapped into 0..frames-1 also for
// times outside 0..1.
int wrapFrame(double frame, int frames) {
  double wrapped = std::fmod(frame, double(frames));
  if (wrapped < 0) wrapped += frames;
  const int k = int(wrapped);
  return k < frames ? k : 0;
}

struct Sample {
  int i0 = 0;
  int i1 = 0;
  double w = 0.0;
};

Sample sampleAt(int frameCount, double t) {
  const int frames = frameCount > 0 ? frameCount : 1;
  if (!std::isfinite(t)) t = 0.0;
  const double x = double(frames) * t;
  // floor rather than trunc, so that times below 0 wrap the same way.
  const double f = std::floor(x);
  return Sample{wrapFrame(f, frames), wrapFrame(std::floor(x + 1.0), frames), x - f};
}

float positionResult[3];
float rotationResult[4];
const float kZeros[4] = {0, 0, 0, 0};

}  // namespace

void Material::setShininess(float value) { shininess = clamp01(value); }
void Material::setShininessStrength(float value) { shininessStrength = clamp01(value); }

MeshObject::MeshObject() {
  for (int k = 0; k < 16; ++k) matrix[k] = (k % 5 == 0) ? 1.0f : 0.0f;
}

void MeshScene::clear() {
  objects.clear();
  materials.clear();
  lights.clear();
  // Left over from an earlier file, nodes would no longer line up with the
  // objects and their arrays would not match the new frame count.
  keyframes.clear();
  frameCount = 0;
  materialSlots.clear();
  currentObjectName.clear();
  loadingMode = 2;
}

MeshObject* MeshScene::object(int i) { return i >= 0 && i < objectCount() ? &objects[std::size_t(i)] : nullptr; }

const MeshObject* MeshScene::object(int i) const {
  return i >= 0 && i < objectCount() ? &objects[std::size_t(i)] : nullptr;
}

const Material* MeshScene::material(int i) const {
  return i >= 0 && i < int(materials.size()) ? &materials[std::size_t(i)] : nullptr;
}

namespace {

// Interpolates one node's per-frame track of N floats a frame into result;
// zeros where the node or its frames are missing.
template <int N>
const float* sampleTrack(const MeshScene& scene, int node, double t, std::vector<float> KeyframeNode::*track,
                         float* result) {
  const Sample s = sampleAt(scene.frameCount, t);
  const bool known = node >= 0 && node < int(scene.keyframes.size());
  const std::vector<float>* values = known ? &(scene.keyframes[std::size_t(node)].*track) : nullptr;
  for (int k = 0; k < N; ++k) {
    const std::size_t a = std::size_t(s.i0) * N + k, b = std::size_t(s.i1) * N + k;
    if (!values || a >= values->size() || b >= values->size()) {
      result[k] = 0.0f;
      continue;
    }
    const double v0 = (*values)[a], v1 = (*values)[b];
    result[k] = float(v0 + (v1 - v0) * s.w);
  }
  return result;
}

}  // namespace

const float* MeshScene::keyframePosition(int node, double t) const {
  return sampleTrack<3>(*this, node, t, &KeyframeNode::positions, positionResult);
}

const float* MeshScene::keyframeRotation(int node, double t) const {
  return sampleTrack<4>(*this, node, t, &KeyframeNode::rotations, rotationResult);
}

const float* MeshScene::keyframeOffset(int node) const {
  if (node < 0 || node >= int(keyframes.size())) return kZeros;
  return keyframes[std::size_t(node)].pivotOffset;
}

const float* MeshScene::keyframeInitialRotation(int node) const {
  if (node < 0 || node >= int(keyframes.size())) return kZeros;
  return keyframes[std::size_t(node)].initialRotation;
}
