#pragma once
#include "assets/mesh_scene.h"

// Vertex indices are 16-bit, so an object may hold this many vertices.
constexpr int kMaxMeshVertices = 65536;

// Face normals, then per-vertex normals as the normalized sum of the normals
// of the faces around each vertex; `faces` is rewritten from the records.
// With smoothing groups a vertex shared by faces of different smoothing
// words is first split into one vertex per word, so hard edges stay hard.
// An object whose split would pass kMaxMeshVertices is left unsplit (smooth
// normals) rather than have its indices wrap. Records naming a vertex the
// object does not have are dropped.
void computeNormals(MeshObject& object, bool smoothingGroups);

// Per-vertex tangents (direction of increasing u) and binormals
// (tangent x normal) from the texture coordinates; run after computeNormals.
// Faces whose mapping has no area add nothing.
void computeTangents(MeshObject& object);
