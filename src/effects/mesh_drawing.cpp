#include "effects/mesh_drawing.h"

#include <GL/gl.h>

#include <algorithm>

#include "assets/scene_loading.h"
#include "core/rendition_kind.h"
#include "demo/demo_app.h"
#include "gpu/basis_matrix.h"
#include "gpu/gl_entry_points.h"

static_assert(MeshDrawState{}.blendDst == GL_ONE_MINUS_SRC_ALPHA);

namespace {

// The vertex program's parameter that receives each object's transform.
constexpr int kObjectMatrixParameter = 14;
constexpr double kDegreesPerRadian = 180 * 0.3183098861837907;

const ObjectPlacement* placementOf(const MeshDrawState& state, int object) {
  // A list that stops short of the object leaves it unplaced rather than
  // reading past the list.
  if (state.placements.empty() || object < 0 || std::size_t(object) >= state.placements.size()) return nullptr;
  return &state.placements[std::size_t(object)];
}

// The object's placement on the current GL matrix, one call a step. Both
// passes of a translucent draw go through here with the same arguments, so
// the depth pass and the colour pass place every vertex alike.
void applyObjectTransform(const MeshDrawState& state, const MeshScene& scene, int object, double time,
                          RenditionKind rendition) {
  const ObjectPlacement* own = placementOf(state, object);
  if (own) glTranslatef(own->translate.x, own->translate.y, own->translate.z);
  glTranslatef(state.translate.x, state.translate.y, state.translate.z);
  if (own) {
    const double angle = rendition == RenditionKind::shader ? own->angle : state.angle;
    glRotated(angle, own->axis.x, own->axis.y, own->axis.z);
  }
  glRotated(state.angle, state.axis.x, state.axis.y, state.axis.z);
  if (rendition == RenditionKind::shader) {
    if (own && own->useBasis) loadBasisMatrix(own->basis[0], own->basis[1], own->basis[2]);
    if (state.useBasis) loadBasisMatrix(state.basis[0], state.basis[1], state.basis[2]);
  }
  const float* position = scene.keyframePosition(object, time);
  glTranslatef(position[0], position[1], position[2]);
  const float* rotation = scene.keyframeRotation(object, time);
  glRotated(rotation[3] * kDegreesPerRadian, rotation[0], rotation[1], rotation[2]);
  const float* fixed = scene.keyframeInitialRotation(object);
  glRotated(fixed[3] * kDegreesPerRadian, fixed[0], fixed[1], fixed[2]);
  const float* pivot = scene.keyframeOffset(object);
  glTranslatef(pivot[0], pivot[1], pivot[2]);
  if (own) glScalef(own->scale.x, own->scale.y, own->scale.z);
  glScalef(state.scale.x, state.scale.y, state.scale.z);
}

// Which client arrays a pass reads.
struct ArrayUse {
  bool normals = false;
  bool texCoords = false;  // unit 0
  bool tangents = false;   // unit 1, three components
};

void clientUnit(GLenum unit) { glExtensionTable.glClientActiveTextureARB(unit); }

void disableClientArrays() {
  for (GLenum unit : {GL_TEXTURE1, GL_TEXTURE2, GL_TEXTURE0}) {
    clientUnit(unit);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
  }
  glDisableClientState(GL_VERTEX_ARRAY);
  glDisableClientState(GL_NORMAL_ARRAY);
  glDisableClientState(GL_COLOR_ARRAY);
}

void enableClientArrays(const ArrayUse& use) {
  glEnableClientState(GL_VERTEX_ARRAY);
  if (use.normals) glEnableClientState(GL_NORMAL_ARRAY);
  if (use.tangents) {
    clientUnit(GL_TEXTURE1);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
  }
  if (use.texCoords) {
    clientUnit(GL_TEXTURE0);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
  }
  clientUnit(GL_TEXTURE0);
}

void unbindBuffers() {
  glExtensionTable.glBindBuffer(GL_ARRAY_BUFFER, 0);
  glExtensionTable.glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
}

// Points the enabled arrays at the object's data and sets the index
// pointer to draw with (an offset, 0, into a bound index buffer); false when
// the object cannot be drawn safely.
bool pointArraysAt(const MeshObject& object, const ObjectBuffers* buffers, const ArrayUse& use, const void*& indices) {
  auto& gl = glExtensionTable;
  if (buffers != nullptr && buffers->vertexBuffer != 0) {
    auto at = [](std::size_t offset) { return reinterpret_cast<const void*>(offset); };
    gl.glBindBuffer(GL_ARRAY_BUFFER, buffers->vertexBuffer);
    gl.glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, buffers->indexBuffer);
    glVertexPointer(3, GL_FLOAT, 0, at(0));
    if (use.normals) glNormalPointer(GL_FLOAT, 0, at(buffers->normalOffset));
    if (use.tangents) {
      clientUnit(GL_TEXTURE1);
      glTexCoordPointer(3, GL_FLOAT, 0, at(buffers->tangentOffset));
    }
    if (use.texCoords) {
      clientUnit(GL_TEXTURE0);
      glTexCoordPointer(2, GL_FLOAT, 0, at(buffers->texCoordOffset));
    }
    clientUnit(GL_TEXTURE0);
    indices = at(0);
    return true;
  }
  if (!objectArraysComplete(object)) return false;
  unbindBuffers();
  glVertexPointer(3, GL_FLOAT, 0, object.vertices.data());
  if (use.normals) glNormalPointer(GL_FLOAT, 0, object.normals.data());
  if (use.tangents) {
    clientUnit(GL_TEXTURE1);
    glTexCoordPointer(3, GL_FLOAT, 0, object.tangents.data());
  }
  if (use.texCoords) {
    clientUnit(GL_TEXTURE0);
    glTexCoordPointer(2, GL_FLOAT, 0, object.texCoords.data());
  }
  clientUnit(GL_TEXTURE0);
  indices = object.faces.data();
  return true;
}

// What one call draws with: the scene, its buffers when they match it, and
// the state.
struct SceneDraw {
  DemoApp& app;
  int32_t sceneIndex;
  const MeshScene& scene;
  const SceneBuffers& buffers;
  double time;
  RenditionKind rendition;
  int programSlot = 0;

  const ObjectBuffers* buffersOf(int object) const {
    // Buffers made for another content of the slot are not used.
    if (buffers.objects.size() != scene.objects.size()) return nullptr;
    return &buffers.objects[std::size_t(object)];
  }
};

// Places object i and draws it if the draw test lets it through. The
// shader rendition builds the transform on the texture matrix and hands it to
// the vertex program; the fixed-function one builds it on the modelview.
template <typename BeforeDraw>
void drawObject(const SceneDraw& d, int i, const ArrayUse& use, BeforeDraw&& beforeDraw) {
  const MeshDrawState& state = d.app.meshDraw;
  const MeshObject& object = d.scene.objects[std::size_t(i)];
  const void* indices = nullptr;
  const bool drawable = pointArraysAt(object, d.buffersOf(i), use, indices);
  if (d.rendition == RenditionKind::shader) {
    glExtensionTable.glActiveTextureARB(GL_TEXTURE0);
    glMatrixMode(GL_TEXTURE);
    glPushMatrix();
    glLoadIdentity();
    applyObjectTransform(state, d.scene, i, d.time, d.rendition);
    d.app.cgShaders.setTextureMatrixParameter(d.programSlot, kObjectMatrixParameter);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
  } else {
    glPushMatrix();
    applyObjectTransform(state, d.scene, i, d.time, d.rendition);
  }
  beforeDraw(i);
  const int count = drawnIndexCount(object.faceCount(), state.faceFraction);
  if (drawable && count > 0 && objectDrawn(state, i)) glDrawElements(GL_TRIANGLES, count, GL_UNSIGNED_SHORT, indices);
  if (d.rendition == RenditionKind::fixedFunction) glPopMatrix();
}

// Depth only, every shown object, with the arrays it needs and nothing
// else; then colour where the depth is equal, blended unless forced.
void depthPrepass(const SceneDraw& d) {
  const MeshDrawState& state = d.app.meshDraw;
  glEnable(GL_DEPTH_TEST);
  glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
  // The current colour is left alone: the colour pass draws with it.
  const ArrayUse none;
  enableClientArrays(none);
  for (int i = 0; i < d.scene.objectCount(); ++i) drawObject(d, i, none, [](int) {});
  glDisableClientState(GL_VERTEX_ARRAY);
  unbindBuffers();
  glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
  glDepthFunc(GL_EQUAL);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GLenum(state.blendDst));
  if (state.forcePrepass) glDisable(GL_BLEND);
}

void beginOverlay(const MeshDrawState& state) {
  if (!state.overlayBlend) return;
  glDisable(GL_DEPTH_TEST);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

// The depth pre-pass and the overlay change the depth function, the colour
// mask and the blending; they are put back as the draw found them.
bool beginBlendedDraw(const MeshDrawState& state) {
  const bool blended = usesDepthPrepass(state) || state.overlayBlend;
  if (blended) glPushAttrib(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_ENABLE_BIT);
  return blended;
}

void endPasses(bool blended) {
  if (blended) glPopAttrib();
  unbindBuffers();
  disableClientArrays();
}

// Sets and enables a sampler of the fragment program to a GL texture name.
void bindSampler(CgShaderSet& cg, int fragmentSlot, const char* name, uint32_t texture) {
  const CgParameter parameter = cg.namedParameter(fragmentSlot, name);
  cg.setTextureParameter(parameter, texture);
  cg.enableTextureParameter(parameter);
}

// Extra drawing beside the meshes, with both program stages off and the
// state it changes put back.
void runHook(DemoApp& app, bool before) {
  const MeshDrawState& state = app.meshDraw;
  if (!state.hookEnabled || state.hook == nullptr || state.hookBefore != before) return;
  app.cgShaders.disableVertexProfile();
  app.cgShaders.disableFragmentProfile();
  glPushAttrib(GL_ALL_ATTRIB_BITS);
  glEnable(GL_DEPTH_TEST);
  glDepthMask(before ? GL_TRUE : GL_FALSE);
  state.hook(app, before);
  glPopAttrib();
  app.cgShaders.enableVertexProfile();
  // The depth pass draws without a fragment program; it stays off there.
  if (!app.depthPassActive) app.cgShaders.enableFragmentProfile();
}

// The texture number of each material reference with a colour map, in the
// order loadScene counted them into materialSlots.
class MaterialTextures {
 public:
  MaterialTextures(const MeshScene& scene, int32_t sceneIndex) : scene_(scene), sceneIndex_(sceneIndex) {}

  // Calls bind(number) for each of object i's references that has a map;
  // objects must be visited in order, each once.
  template <typename Bind>
  void forObject(int i, Bind&& bind) {
    for (int32_t index : scene_.objects[std::size_t(i)].materialIndexes) {
      const Material* material = scene_.material(index);
      if (material == nullptr || stringHash(material->textureMap1Name()) == 0) continue;
      const std::size_t at = next_++;
      if (at < scene_.materialSlots.size()) bind(sceneTextureNumber(sceneIndex_, scene_.materialSlots[at]));
    }
  }

 private:
  const MeshScene& scene_;
  int32_t sceneIndex_;
  std::size_t next_ = 0;
};

}  // namespace

bool isObjectShown(const MeshDrawState& state, int32_t object) {
  return std::find(state.hiddenObjects.begin(), state.hiddenObjects.end(), object) == state.hiddenObjects.end();
}

bool objectDrawn(const MeshDrawState& state, int32_t object) {
  return state.faceFraction > MeshDrawState::kLeastFaceFraction &&
         (state.onlyObject == -1 || state.onlyObject == object) && state.excludedObject != object &&
         isObjectShown(state, object);
}

int drawnIndexCount(int faceCount, float fraction) {
  const float wanted = float(faceCount) * fraction * 3.0f;
  // A fraction above 1 must not read past the face list.
  if (!(wanted > 0.0f)) return 0;
  return std::min(int(std::min(wanted, 2.0e9f)), faceCount * 3);
}

bool usesDepthPrepass(const MeshDrawState& state) {
  return state.alpha < MeshDrawState::kOpaqueAlpha || state.forcePrepass;
}

void drawMeshScene(DemoApp& app, int32_t sceneIndex, int flags, double& time) {
  const MeshScene* scene = app.scene(sceneIndex);
  if (scene == nullptr) return;
  const SceneDraw d{
      app, sceneIndex, *scene, app.sceneBuffers[std::size_t(sceneIndex)], time, RenditionKind::fixedFunction};
  const MeshDrawState& state = app.meshDraw;

  glPushMatrix();
  glMatrixMode(GL_TEXTURE);
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
  disableClientArrays();
  glDisable(GL_LIGHTING);

  const bool blended = beginBlendedDraw(state);
  const bool prepass = usesDepthPrepass(state);
  if (prepass) depthPrepass(d);

  ArrayUse use;
  use.normals = (flags & kMeshNormals) != 0;
  use.texCoords = (flags & kMeshTexCoords) != 0;
  enableClientArrays(use);
  if (use.normals) glEnable(GL_LIGHTING);
  if (use.texCoords) glEnable(GL_TEXTURE_2D);
  beginOverlay(state);
  for (int i = 0; i < scene->objectCount(); ++i) drawObject(d, i, use, [](int) {});

  endPasses(blended);
  glPopMatrix();
}

void drawMeshSceneCg(DemoApp& app, int32_t sceneIndex, int flags, double& time, uint32_t decalTexture,
                     uint32_t lightTexture, int programSlot) {
  const MeshScene* scene = app.scene(sceneIndex);
  if (scene == nullptr) return;
  const SceneDraw d{
      app, sceneIndex, *scene, app.sceneBuffers[std::size_t(sceneIndex)], time, RenditionKind::shader, programSlot};
  MeshDrawState& state = app.meshDraw;
  CgShaderSet& cg = app.cgShaders;
  const int fragmentSlot = programSlot + 1;
  // The depth pass runs no fragment program: its textures would go unread.
  const bool bindTextures = !app.depthPassActive;

  glPushMatrix();
  glMatrixMode(GL_TEXTURE);
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
  disableClientArrays();
  glDisable(GL_LIGHTING);

  const bool blended = beginBlendedDraw(state);
  const bool prepass = usesDepthPrepass(state);
  if (prepass) {
    depthPrepass(d);
    state.forcePrepass = false;
  }
  runHook(app, true);

  ArrayUse use;
  use.normals = use.tangents = (flags & kMeshNormals) != 0;
  if (flags & kMeshTexCoords) {
    use.texCoords = use.tangents = true;
    glEnable(GL_TEXTURE_2D);
    if (bindTextures) {
      bindSampler(cg, fragmentSlot, "decal", decalTexture);
      bindSampler(cg, fragmentSlot, "light", lightTexture);
    }
  }
  enableClientArrays(use);
  beginOverlay(state);
  MaterialTextures materials(*scene, sceneIndex);
  const bool bindMaterials = (flags & kMeshMaterialTextures) != 0 && bindTextures;
  for (int i = 0; i < scene->objectCount(); ++i) {
    drawObject(d, i, use, [&](int object) {
      if (!bindMaterials) return;
      materials.forObject(object, [&](int32_t k) {
        if (k <= 99999) return;
        bindSampler(cg, fragmentSlot, "texture", app.textures.name(k + kNormalMapOffset));
        bindSampler(cg, fragmentSlot, "texture2", app.textures.name(k));
        if (state.cubeTexture >= 0) bindSampler(cg, fragmentSlot, "cube", app.textures.name(state.cubeTexture));
        if (state.rampTexture >= 0) bindSampler(cg, fragmentSlot, "oned", app.textures.name(state.rampTexture));
      });
    });
  }
  // The hook may draw from client memory: no buffer may stay bound.
  unbindBuffers();
  disableClientArrays();
  runHook(app, false);

  endPasses(blended);
  glMatrixMode(GL_TEXTURE);
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
  glPopMatrix();
}
