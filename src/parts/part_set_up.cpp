#include "parts/part_set_up.h"

#include <GL/gl.h>

#include <string>
#include <utility>

#include "demo/demo_app.h"
#include "demo/texture_numbers.h"
#include "geometry/curve_paths.h"
#include "geometry/mesh_sampling.h"
#include "geometry/outline_tracer.h"
#include "math/random.h"
#include "parts/demo_part.h"
#include "passes/caustic_frames.h"
#include "passes/projection_pass.h"

namespace {
struct Picture {
  int number;
  const char* colour;
  const char* alpha;  // null: no alpha picture
  bool clamp;
};

// In load order.
constexpr Picture kPictures[] = {
    {kShadowPicture, "textures/shadowman.jpg", nullptr, true},
    {kSignaturePicture, "textures/drov.jpg", nullptr, false},
    {kBlobPicture, "textures/blob41b.jpg", nullptr, false},
    {kBlobAlphaPicture, "textures/blob.jpg", "textures/blob.jpg", false},
    {kCloudPicture, "textures/clouds3.jpg", "textures/cloud3alpha.jpg", false},
    {kBloodPicture, "textures/blood1.jpg", "textures/blood1.jpg", false},
    {kBackgroundPicture, "textures/bg03.jpg", nullptr, false},
    {kHorsePicture, "textures/horse.jpg", "textures/horsea.jpg", false},
    {kCircuitPicture, "textures/pcb.jpg", "textures/pcb2.jpg", false},
    {kWingPicture, "textures/fteri.jpg", nullptr, false},
    {kBudPicture, "textures/fteri2.jpg", nullptr, false},
};

struct ProjectionPair {
  const char* vertex;
  const char* fragment;
  const char* mesh;
};

constexpr ProjectionPair kPairs[] = {
    {"cgeffects/vertex_projection_anisotropic_animation.cpp", "cgeffects/fragment_projection_anisotropic_caustic.cpp",
     "meshes/man.3ds"},
    {"cgeffects/vertex_projection_anisotropic.cpp", "cgeffects/fragment_projection_anisotropic.cpp",
     "meshes/heart.3ds"},
    {"cgeffects/vertex_projection_anisotropic_nocol.cpp", "cgeffects/fragment_projection_anisotropic.cpp",
     "meshes/man_gon.3ds"},
    {"cgeffects/vertex_projection_anisotropic_water.cpp", "cgeffects/fragment_projection_anisotropic_water.cpp",
     "meshes/thequad.3ds"},
    {"cgeffects/vertex_projection_anisotropic_base.cpp", "cgeffects/fragment_projection_anisotropic_base.cpp",
     "meshes/edafos2.3ds"},
};

constexpr const char* kSkyFiles[] = {"textures/1night_posx.jpg", "textures/1night_negx.jpg",
                                     "textures/1night_posy.jpg", "textures/1night_negy.jpg",
                                     "textures/1night_posz.jpg", "textures/1night_negz.jpg"};

// Outlines traced from pictures: which tracer, into which list, and how
// each traced path is resampled (paths of `minCount` points or fewer are
// cleared; a first resample of 0 points means kept as traced).
struct OutlineSource {
  const char* file;
  bool grey;
  int list;
  int minCount;
  int firstPoints, firstSteps;
  int secondPoints, secondSteps;
};

constexpr OutlineSource kOutlines[] = {
    {"textures//cardinal.jpg", false, 0, 6, 20, 3, 0, 0}, {"textures//drovtrace.jpg", false, 4, -1, 0, 0, 0, 0},
    {"textures//flower.jpg", false, 1, 16, 10, 3, 40, 3}, {"textures//horse3.jpg", false, 5, 15, 20, 3, 0, 0},
    {"textures//cave1.jpg", false, 2, 6, 20, 2, 0, 0},    {"textures//pcb.jpg", true, 3, 3, 0, 0, 0, 0},
};

// The fixed-function rendition's base pictures, which its meshes wear.
struct BasePicture {
  int number;
  const char* file;
};
constexpr BasePicture kBasePictures[] = {{kGroundPicture, "meshes/edafos.jpg"}, {kFacetPicture, "meshes/man_goni.jpg"}};

void clampEdges() {
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_R, GL_CLAMP_TO_EDGE);
}

void makeRenderTextures(TextureTable& textures, const PictureLayout& picture) {
  textures.createBlankTexture(kGlowTexture, 128, 128);
  clampEdges();
  textures.createBlankTexture(kGlowTexture2, 128, 128);
  textures.createBlankTexture(kGlowTexture3, 128, 128);
  textures.createBlankTexture(kSceneTexture, picture.targetWidth, picture.targetHeight);
  clampEdges();
  textures.createBlankTexture(kSceneTexture2, picture.targetWidth, picture.targetHeight);
  clampEdges();
}

void loadPictures(TextureTable& textures) {
  for (const Picture& p : kPictures) {
    if (p.alpha != nullptr) {
      textures.loadJpegTextureWithAlpha(p.colour, p.alpha, p.number);
    } else {
      textures.loadJpegTexture(p.colour, p.number);
    }
    if (p.clamp) clampEdges();
  }
}

void traceOutlines(DemoPart& part, TextureTable& textures) {
  for (const OutlineSource& source : kOutlines) {
    int width = 0, height = 0;
    std::vector<uint8_t> rgb = textures.loadJpegPixels(source.file, width, height);
    std::vector<SplinePath>& paths = part.outlinePaths[source.list];
    const size_t before = paths.size();
    if (!rgb.empty()) {
      if (source.grey) {
        traceGreyOutlines(rgb.data(), width, height, paths);
      } else {
        traceBrightOutlines(rgb.data(), width, height, paths);
      }
    }
    if (source.minCount < 0) part.outlineTraceCount = int32_t(paths.size() - before);
    for (SplinePath& path : paths) {
      path.closed = false;
      if (source.minCount < 0) continue;
      if (path.count <= source.minCount) {
        path.points.clear();
        path.count = 0;
        continue;
      }
      if (source.firstPoints > 0) path.resampleByArcLength(source.firstPoints, source.firstSteps);
      if (source.secondPoints > 0) path.resampleByArcLength(source.secondPoints, source.secondSteps);
    }
  }
}

void sampleTheMan(DemoPart& part, DemoApp& app) {
  seedRandom(31000);
  for (int k = 0; k < 1000; ++k) random01();
  const Scene3ds* man = app.scene(part.sceneIndexes[0]);
  if (man != nullptr) {
    sampleSurface(*man, app.meshDraw, 1000, 0.0, part.surfacePoints.data(), part.surfaceNormals.data(),
                  part.surfaceTangents.data(), part.surfaceExtra.data());
  }
  // Into the scene: a tenth of the size, where the man stands.
  for (FlagVec3& p : part.surfacePoints) p = p * 0.1f + FlagVec3{1, 0.0f, -12.0f, 0.0f};
}
}  // namespace

void setUpPart(DemoPart& part, DemoApp& app, RenditionKind kind) {
  TextureTable& textures = app.textures;
  part.resetPartState();
  part.blurProgram = 0;
  part.composeProgram = kind == RenditionKind::shader ? 24 : -1;
  part.projectionPrograms = {2, 6, 12, 18, 20};
  part.sceneIndexes = {0, 1, 2, 3, 4};

  makeRenderTextures(textures, app.picture);
  loadPictures(textures);
  if (kind == RenditionKind::shader) {
    for (int i = 0; i < 5; ++i) {
      setUpProjection(app, kPairs[i].vertex, kPairs[i].fragment, kPairs[i].mesh, part.sceneIndexes[i], kDepthTexture,
                      16, part.projectionPrograms[i]);
    }
  } else {
    // No programs, no depth texture, and no water: scene 3 stays empty.
    for (int i : {0, 1, 2, 4}) app.loadScene(part.sceneIndexes[i], 1.0, kPairs[i].mesh);
  }
  for (auto& list : part.outlinePaths) list.clear();
  traceOutlines(part, textures);
  part.timeAccumulator = 0.0;
  if (kind == RenditionKind::shader) {
    loadFragmentOnly(app, "cgeffects/fragment_Blur256.cpp", part.blurProgram);
    loadFragmentOnly(app, "cgeffects/fragment_compose.cpp", part.composeProgram);
  } else {
    for (const BasePicture& base : kBasePictures) textures.loadJpegTexture(base.file, base.number);
  }
  for (int i = 0; i < 6; ++i) textures.loadJpegTexture(kSkyFiles[i], kSkyFirstPicture + i);
  loadCausticFrames(app, kCausticFirstPicture);
  sampleTheMan(part, app);
  growCurvePaths(part.curvePaths, part.surfacePoints.data(), int32_t(part.surfacePoints.size()));
  part.speedBias = -0.6;
}

void resizeScreenCopies(TextureTable& textures, const PictureLayout& picture) {
  for (int number : {kSceneTexture, kSceneTexture2})
    textures.resizeBlankTexture(number, picture.targetWidth, picture.targetHeight);
}

std::vector<PictureRequest> setUpPictures(RenditionKind kind) {
  std::vector<PictureRequest> pictures;
  const auto add = [&](std::string file, RowOrder order, bool mirrored = false) {
    pictures.push_back(PictureRequest{std::move(file), order, mirrored});
  };
  for (const Picture& p : kPictures) {
    add(p.colour, RowOrder::BottomFirst);
    if (p.alpha != nullptr) add(p.alpha, RowOrder::TopFirst);
  }
  for (const OutlineSource& source : kOutlines) add(source.file, RowOrder::BottomFirst, true);
  if (kind == RenditionKind::fixedFunction) {
    for (const BasePicture& base : kBasePictures) add(base.file, RowOrder::BottomFirst);
  }
  for (const char* sky : kSkyFiles) add(sky, RowOrder::BottomFirst);
  for (int k = 0; k < kCausticFrameCount; ++k) add(causticFrameFile(k), RowOrder::BottomFirst);
  return pictures;
}
