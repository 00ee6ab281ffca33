#pragma once
#include <vector>

#include "assets/mesh_scene.h"
#include "demo/mesh_draw_state.h"
#include "math/flag_vec3.h"
#include "math/matrix4d.h"

// The object's full placement at animation time `time` (0..1), row-major,
// composed exactly as drawing composes it on the GL matrix stack: placement
// and global translation, placement axis and global rotation (both by the
// global angle), keyframed position and rotation, fixed rotation, pivot
// offset, placement scale, and the global scale taken uniformly from x.
void objectMatrix(const MeshScene& scene, const MeshDrawState& state, int object, double time, Matrix4d& result);

// The face's three vertices transformed as points by `matrix`. False (and
// three default vectors) for an object or face the scene does not have.
bool faceVertices(const MeshScene& scene, int object, int face, const Matrix4d& matrix, FlagVec3& a, FlagVec3& b,
                  FlagVec3& c);

// `count` random points on the scene's surfaces at time `time`, each face
// chosen with a probability proportional to its placed area. Per sample:
// positions[k] the world-space point, normals[k] and tangents[k] the
// interpolated per-vertex normal and tangent (object space), crosses[k]
// tangent x normal. Draws from the project's random generator (three values
// a sample), so re-seeding gives the same points. A scene without area
// gives default vectors.
void sampleSurface(const MeshScene& scene, const MeshDrawState& state, int count, double time, FlagVec3* positions,
                   FlagVec3* normals, FlagVec3* crosses, FlagVec3* tangents);
