#pragma once
#include <functional>
#include <string>

struct CameraView;
struct DemoApp;

// Projective texturing: a mesh scene drawn through a projection program
// pair (vertex program at a slot, fragment program at slot + 1) with a
// picture projected onto it from a light.
//
// A program file that is missing or does not compile leaves its slot empty
// with one message naming the file and the compiler's words (the shader
// set's rule); every pass on that pair still runs and draws nothing through
// the missing stage. All of it needs the window's or the offscreen GL
// context current.

// Parameter indexes of a projection pair, on the vertex program's slot.
constexpr int kCameraPosIndex = 1;
constexpr int kLightPosIndex = 2;
constexpr int kModelViewProjIndex = 5;
constexpr int kModelViewLightProjIndex = 6;
constexpr int kModelViewObjectIndex = 14;
// On the fragment program's slot.
constexpr int kDecalIndex = 7;
constexpr int kRampIndex = 10;
constexpr int kScreenExtentIndex = 13;

// Once per pair, at set-up: loads the mesh file into scene `sceneIndex`,
// makes the depth texture the pair can compare against (depthSize square,
// every texel at the far plane, comparing on sampling) at texture number
// `depthTexture` (a new GL name each call; the old one stays alive), and
// creates the pair at `slot` and slot + 1.
void setUpProjection(DemoApp& app, const std::string& vertexFile, const std::string& fragmentFile,
                     const std::string& meshFile, int sceneIndex, int depthTexture, int depthSize, int slot);

// Tells the fragment program of the pair at `slot` which part of the scene
// copies holds the picture (its "extent": picture over target size).
void setScreenCopyExtent(DemoApp& app, int slot);

// A lone fragment program (the glow's blur) at `slot`; both stages are
// disabled afterwards.
void loadFragmentOnly(DemoApp& app, const std::string& fileName, int slot);

// Binds the fragment program at `slot` alone (vertex stage fixed function)
// with texture number `decalTexture` as its "decal", and the app's ramp as
// "oned" while the ramp is not negative.
void bindFragmentWithDecal(DemoApp& app, int slot, int decalTexture);

// Draws mesh scene `sceneIndex` through the pair at `slot` as seen from
// `camera`, with textures `decalTexture` and `lightTexture` projected from
// `light`, at animation time `time`. Leaves the modelview as it found it,
// the texture matrix at identity and both stages disabled.
void projectiveScenePass(DemoApp& app, int sceneIndex, int decalTexture, int lightTexture, int slot,
                         const CameraView& camera, const CameraView& light, double time);

// The same pass around any drawing: `draw` receives the decal's and the
// light's GL names, and runs with the pair bound and its matrices set.
using ProjectedDraw = std::function<void(unsigned decalName, unsigned lightName)>;
void projectiveDraw(DemoApp& app, int decalTexture, int lightTexture, int slot, const CameraView& camera,
                    const CameraView& light, const ProjectedDraw& draw);
