#include <algorithm>
#include <cmath>

#include "assets/tds_loader.h"
#include "math/flag_vec3.h"
#include "math/matrix4d.h"

namespace {

// The frames [first, last) of a key's span, never before 0 nor past the
// animation's end: a key at frame `first`, its successor at `next`.
struct Span {
  int32_t first = 0;
  int32_t end = 0;
};

Span spanOf(int32_t first, int32_t next, int32_t frames) { return Span{first, std::min(next, frames)}; }

template <int N>
void fillSpan(std::vector<float>& track, const Span& span, const float* from, const float* to) {
  if (span.end <= span.first) return;
  const double length = double(span.end) - double(span.first);
  for (int32_t f = std::max<int32_t>(span.first, 0); f < span.end; ++f) {
    const double w = (double(f) - double(span.first)) / length;
    for (int k = 0; k < N; ++k) track[std::size_t(f) * N + k] = float(from[k] + (double(to[k]) - double(from[k])) * w);
  }
}

void expandRotations(KeyframeNode& node, int32_t frames) {
  node.rotations.assign(std::size_t(frames) * 4, 0.0f);
  const std::vector<RotationKey>& keys = node.rotationKeys;
  // The angle of each key adds to the angles before it; the first key's
  // rotation is kept apart as the node's fixed rotation.
  double sum = 0.0;
  for (std::size_t k = 0; k < keys.size(); ++k) {
    float from[4] = {0, 0, 0, 0};
    if (k == 0) {
      std::copy(keys[0].value, keys[0].value + 4, node.initialRotation);
    } else {
      std::copy(keys[k].value, keys[k].value + 3, from);
      from[3] = float(sum);
    }
    const RotationKey& target = k + 1 < keys.size() ? keys[k + 1] : keys[k];
    float to[4] = {target.value[0], target.value[1], target.value[2], float(target.value[3] + sum)};
    sum += target.value[3];
    const int32_t next = k + 1 < keys.size() ? keys[k + 1].frame : frames;
    fillSpan<4>(node.rotations, spanOf(keys[k].frame, next, frames), from, to);
  }
}

void expandPositions(KeyframeNode& node, int32_t frames) {
  const std::vector<PositionKey>& keys = node.positionKeys;
  node.positions.resize(std::size_t(frames) * 3);
  const float zero[3] = {0, 0, 0};
  const float* first = keys.empty() ? zero : keys[0].value;
  for (int32_t f = 0; f < frames; ++f) std::copy(first, first + 3, &node.positions[std::size_t(f) * 3]);
  for (std::size_t k = 0; k < keys.size(); ++k) {
    const bool last = k + 1 == keys.size();
    const float* to = last ? keys[k].value : keys[k + 1].value;
    const int32_t next = last ? frames : keys[k + 1].frame;
    fillSpan<3>(node.positions, spanOf(keys[k].frame, next, frames), keys[k].value, to);
  }
}

}  // namespace

void expandKeyframes(MeshScene& scene) {
  int32_t frames = std::clamp(scene.frameCount, int32_t(1), kMaxKeyframeFrames);
  const std::size_t nodes = scene.keyframes.size();
  if (nodes > 0 && std::size_t(frames) * nodes > kMaxKeyframeSamples)
    frames = int32_t(std::max<std::size_t>(1, kMaxKeyframeSamples / nodes));
  // Samplers read the count, so it must match the arrays built here.
  if (scene.frameCount > frames) scene.frameCount = frames;

  for (KeyframeNode& node : scene.keyframes) {
    expandRotations(node, frames);
    expandPositions(node, frames);
    const float zero[3] = {0, 0, 0};
    const float* pivot = node.pivotKeys.empty() ? zero : node.pivotKeys[0].value;
    std::copy(pivot, pivot + 3, node.pivotOffset);
    node.positionKeys = {};
    node.rotationKeys = {};
    node.pivotKeys = {};
  }
}

void transformToObjectSpace(MeshScene& scene) {
  for (std::size_t k = 0; k < scene.objects.size(); ++k) {
    MeshObject& object = scene.objects[k];
    const float* m = object.matrix;
    // The file keeps the matrix as columns; Matrix4d wants rows.
    Matrix4d local;
    local.set(m[0], m[1], m[2], m[3], m[4], m[5], m[6], m[7], m[8], m[9], m[10], m[11], m[12], m[13], m[14], m[15]);
    local.transpose();
    Matrix4d inverse;
    inverse.setIdentity();
    invertRotation(local, inverse);
    // World to object: subtract the origin, then undo the axes. This is
    // inverse(matrix) * p, what common exporters and readers assume.
    const FlagVec3 origin{1, m[12], m[13], m[14]};
    for (std::size_t v = 0; v + 2 < object.vertices.size(); v += 3) {
      const FlagVec3 p{1, object.vertices[v], object.vertices[v + 1], object.vertices[v + 2]};
      const FlagVec3 q = rotateVector(inverse, p - origin);
      object.vertices[v] = q.x;
      object.vertices[v + 1] = q.y;
      object.vertices[v + 2] = q.z;
    }
    if (k < scene.keyframes.size()) {
      float* pivot = scene.keyframes[k].pivotOffset;
      for (int axis = 0; axis < 3; ++axis) {
        const double length = std::sqrt(double(m[4 * axis]) * m[4 * axis] + double(m[4 * axis + 1]) * m[4 * axis + 1] +
                                        double(m[4 * axis + 2]) * m[4 * axis + 2]);
        pivot[axis] = float(-pivot[axis] * length);
      }
    }
  }
}
