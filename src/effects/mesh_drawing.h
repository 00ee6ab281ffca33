#pragma once
#include <cstdint>

#include "demo/mesh_draw_state.h"

struct DemoApp;

// Draws a loaded scene of the application's scene table, every object that
// app.meshDraw lets through, each with one indexed triangle draw of the
// first faceFraction of its face list. Objects are placed as objectMatrix
// (mesh_sampling.h) describes, at animation time `time` (0..1). Below
// MeshDrawState::kOpaqueAlpha, or with forcePrepass, the objects are drawn
// into depth first and then in colour where the depth is equal; both passes
// compute positions alike, so the second covers exactly what the first
// wrote. Reads the scene's buffer objects when it has them, client memory
// otherwise. An index outside the table, or an empty scene, draws nothing.
//
// Leaves the client arrays off, the modelview matrix as it was and the
// texture matrix at identity. With the pre-pass it leaves depth testing on
// (GL_LESS) and blending off; overlayBlend leaves depth testing off.

// Fixed function. Flags: bit 0 normals and lighting, bit 1 texture
// coordinates and GL_TEXTURE_2D (the caller binds the texture).
constexpr int kMeshNormals = 1;
constexpr int kMeshTexCoords = 2;
void drawMeshScene(DemoApp& app, int32_t sceneIndex, int flags, double& time);

// Through the bound vertex and fragment programs of the pair at
// `programSlot` (vertex program there, fragment program at programSlot + 1):
// each object's transform goes to the vertex program's "ModelViewObject"
// (parameter 14 of the slot) through the texture matrix, which may also take
// the placement's or the global basis. Flags: bit 0 normals, with the
// tangents as 3-component texture coordinates on unit 1; bit 1 texture
// coordinates on unit 0 and the GL names `decalTexture` and `lightTexture`
// on "decal" and "light"; bit 2 each object's material maps on "texture"
// (normal map) and "texture2" (colour map), with meshDraw's cubeTexture on
// "cube" and rampTexture on "oned" when not negative. While
// app.depthPassActive the fragment stage is off, so no texture is bound and
// the hook does not turn it on. forcePrepass is cleared once used.
constexpr int kMeshMaterialTextures = 4;
void drawMeshSceneCg(DemoApp& app, int32_t sceneIndex, int flags, double& time, uint32_t decalTexture,
                     uint32_t lightTexture, int programSlot);

// False when the object index is one of state.hiddenObjects.
bool isObjectShown(const MeshDrawState& state, int32_t object);

// The draw test: a face fraction above the least, and the object let
// through by onlyObject, excludedObject and hiddenObjects.
bool objectDrawn(const MeshDrawState& state, int32_t object);

// How many indices of a face list of `faceCount` triangles a draw takes:
// trunc(faceCount x fraction x 3), never more than the list, never negative.
int drawnIndexCount(int faceCount, float fraction);

// Whether the scene is drawn depth first (translucent, or forcePrepass).
bool usesDepthPrepass(const MeshDrawState& state);
