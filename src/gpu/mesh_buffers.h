#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "assets/mesh_scene.h"

// A loaded scene's arrays in GL buffer objects, so that drawing it does not
// send every vertex from client memory each frame. Made once when the scene
// loads; the client copies stay for the code that reads them (sampling,
// face vertices).

// One object: its positions, normals, tangents and texture coordinates one
// after another in one buffer, its face list in another.
struct ObjectBuffers {
  std::uint32_t vertexBuffer = 0;
  std::uint32_t indexBuffer = 0;
  // Byte offsets into vertexBuffer (positions start at 0).
  std::size_t normalOffset = 0;
  std::size_t tangentOffset = 0;
  std::size_t texCoordOffset = 0;
};

// One per object of the scene, in object order; empty when the scene has
// none or the GL offers no buffer objects, and drawing then reads client
// memory.
struct SceneBuffers {
  std::vector<ObjectBuffers> objects;
};

// Replaces whatever `buffers` held with the scene's arrays. Needs the GL
// context current (or one that shares objects with the contexts that draw).
void uploadSceneBuffers(const MeshScene& scene, SceneBuffers& buffers);

// Deletes the buffers and leaves the list empty.
void releaseSceneBuffers(SceneBuffers& buffers);

// Whether the object's per-vertex arrays cover its vertex count, so a draw
// cannot read past them. The loader always makes them so.
bool objectArraysComplete(const MeshObject& object);
