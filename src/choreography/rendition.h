#pragma once
#include <cstdint>

#include "choreography/layer_windows.h"
#include "effects/closing_effect.h"
#include "effects/opening_effect.h"

struct CameraView;
struct SceneFrame;

// How one mesh layer wants its mesh drawn. The shader rendition projects
// the decal and light textures from the light through the program pair at
// `programSlot`; the fixed-function rendition binds `plainTexture` (none
// when negative) and draws the mesh with texture coordinates.
struct MeshLook {
  int32_t scene = 0;
  int32_t decalTexture = 0;
  int32_t lightTexture = 0;
  int32_t programSlot = 2;
  const CameraView* light = nullptr;  // null: the application's light view
  int32_t plainTexture = -1;
};

// The few things that differ between the two renditions of the one
// choreography; everything else, window for window, is shared.
class Rendition {
 public:
  // Which of the two this is: the layer table's windows differ by it.
  virtual RenditionKind kind() const = 0;
  // Draws the mesh with the application's MeshDrawState as it stands.
  virtual void drawMesh(SceneFrame& frame, const MeshLook& look) const = 0;
  // Whether the line layers bend their points by the drift rules.
  virtual bool driftsLines() const = 0;
  // Sets the vector parameter "alpha" of the program at `slot`; the fixed
  // function has no programs and ignores it.
  virtual void setProgramAlpha(SceneFrame& frame, int32_t slot, float x, float y, float z) const = 0;
  // The constants of the opening and closing effects: the fixed function
  // draws them brighter, having no glow to carry them.
  virtual const OpeningLook& openingLook() const = 0;
  virtual const ClosingLook& closingLook() const = 0;
  // How solid the ghost copies of the man are (their colour's alpha): the
  // fixed function, with no outline to light, draws them fainter.
  virtual double ghostAlpha() const = 0;
  // Layer 19: the man broken into shards, or (fixed function) one large
  // darkening quad.
  virtual void drawShardLayer(SceneFrame& frame) const = 0;

 protected:
  ~Rendition() = default;
};

// The two renditions; each is stateless and lives for the whole process.
const Rendition& shaderRendition();
const Rendition& fixedFunctionRendition();
