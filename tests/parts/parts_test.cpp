// Both demo parts set up from the generated data, and one frame of their
// choreography drawn layer by layer with the draw-call counter watching.
#include <unistd.h>

#include <map>
#include <memory>
#include <vector>

#include "choreography/rendition.h"
#include "choreography/scene_layers.h"
#include "core/diagnostics.h"
#include "demo/demo_app.h"
#include "demo/texture_numbers.h"
#include "gl_call_counter.h"
#include "gl_test_context.h"
#include "math/random.h"
#include "parts/part_alpha.h"
#include "parts/part_beta.h"
#include "parts/part_set_up.h"
#include "passes/caustic_frames.h"
#include "set_up_part.h"

namespace {

// Indexed draws of each layer drawn in one frame.
struct DrawsPerLayer final : LayerObserver {
  std::map<int, int> draws;
  int before = 0;
  void beforeLayer(int32_t) override { before = glDrawCounts().elementDraws; }
  void afterLayer(int32_t number) override { draws[number] += glDrawCounts().elementDraws - before; }
};

class PartsTest : public GlSuite<128> {
 protected:
  static std::map<int, int> drawsAt(SetUpPart& s, const Rendition& rendition, double T) {
    s.part->partTime = T;
    s.part->lastFrameDelta = 1.0 / 60;
    SceneFrame frame = s.part->sceneFrame(*s.app, rendition);
    DrawsPerLayer observer;
    resetGlDrawCounts();
    drawScene(frame, &observer);
    return observer.draws;
  }

  static int objects(const SetUpPart& s, int scene) { return s.app->scene(scene)->objectCount(); }
};

TEST_F(PartsTest, BothSetUpsPrepareTheSameGeometryAndLeaveTheGeneratorAlike) {
  std::vector<std::string> messages;
  setDiagnosticWriter([&](DiagnosticLevel, const std::string& line) { messages.push_back(line); });
  SetUpPart alpha = setUpPart<PartAlpha>();
  SetUpPart again = setUpPart<PartAlpha>();
  SetUpPart beta = setUpPart<PartBeta>();
  setDiagnosticWriter({});
  EXPECT_TRUE(messages.empty()) << messages.front();

  EXPECT_EQ(alpha.randomAfter, beta.randomAfter);
  EXPECT_EQ(alpha.randomAfter, again.randomAfter);
  for (size_t i = 0; i < alpha.part->curvePaths.size(); ++i) {
    const SplinePath& a = alpha.part->curvePaths[i];
    ASSERT_EQ(a.count, 20) << i;
    for (size_t k = 0; k < a.points.size(); ++k) {
      EXPECT_EQ(a.points[k].x, again.part->curvePaths[i].points[k].x);
      EXPECT_EQ(a.points[k].z, beta.part->curvePaths[i].points[k].z);
    }
  }
  // The samples sit on the man where the scene puts him.
  for (const FlagVec3& p : alpha.part->surfacePoints) {
    EXPECT_GT(p.y, -12.5f);
    EXPECT_LT(p.y, 6.0f);
  }
  EXPECT_GT(alpha.part->outlineTraceCount, 0);
  // The fixed function loads no water and no programs.
  EXPECT_EQ(objects(beta, 3), 0);
  EXPECT_GT(objects(alpha, 3), 0);
  EXPECT_EQ(beta.app->cgShaders.programs[2].program, 0u);
}

// The layers draw in their windows and nowhere else: at 8 s the base man,
// the nine copies and the heart; at 25 s man_gon, the ground and (shader
// rendition only) the water.
// Level 0 of texture `number`, RGBA.
std::vector<std::uint8_t> texels(const SetUpPart& s, int number) {
  GLint width = 0, height = 0;
  glBindTexture(GL_TEXTURE_2D, s.app->textures.name(number));
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
  std::vector<std::uint8_t> data(std::size_t(width) * std::size_t(height) * 4);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, data.data());
  return data;
}

// Start-up decodes the set-up's pictures ahead from its list: each
// rendition takes every picture on its list, and sets up as it does
// decoding each picture itself.
TEST_F(PartsTest, EachSetUpTakesEveryPictureItsListDecodesAheadAndComesOutTheSame) {
  std::vector<std::string> messages;
  setDiagnosticWriter([&](DiagnosticLevel, const std::string& line) { messages.push_back(line); });
  SetUpPart alpha = setUpPart<PartAlpha>(setUpPictures(RenditionKind::shader));
  SetUpPart beta = setUpPart<PartBeta>(setUpPictures(RenditionKind::fixedFunction));
  SetUpPart direct = setUpPart<PartBeta>();
  setDiagnosticWriter({});
  EXPECT_TRUE(messages.empty()) << messages.front();

  for (const SetUpPart* s : {&alpha, &beta}) {
    ASSERT_NE(s->app->textures.prefetched(), nullptr);
    EXPECT_EQ(s->app->textures.prefetched()->untaken(), 0u);
    s->app->textures.endPrefetch();
  }
  EXPECT_EQ(beta.randomAfter, direct.randomAfter);
  EXPECT_EQ(beta.part->outlineTraceCount, direct.part->outlineTraceCount);
  for (std::size_t list = 0; list < direct.part->outlinePaths.size(); ++list) {
    EXPECT_EQ(beta.part->outlinePaths[list].size(), direct.part->outlinePaths[list].size()) << "outline list " << list;
  }
  // Plain, with alpha, the base pictures, the sky and the caustics.
  for (int number : {40, 25, 206, 123, 124, 80, 85, kCausticFirstPicture, kCausticFirstPicture + 15}) {
    const std::vector<std::uint8_t> want = texels(direct, number);
    EXPECT_FALSE(want.empty()) << "texture " << number;
    EXPECT_TRUE(texels(beta, number) == want) << "texture " << number;
  }
}

TEST_F(PartsTest, EachRenditionDrawsTheMeshesOfTheOpenWindows) {
  for (bool shader : {true, false}) {
    SetUpPart s = shader ? setUpPart<PartAlpha>() : setUpPart<PartBeta>();
    const Rendition& rendition = shader ? shaderRendition() : fixedFunctionRendition();
    SCOPED_TRACE(shader ? "shader" : "fixed function");
    const int man = objects(s, 0);
    auto early = drawsAt(s, rendition, 8.0);
    EXPECT_EQ(early[0], man);
    EXPECT_EQ(early[1], 2 * 9 * man);  // ghosts: their depth first, then their colour
    EXPECT_EQ(early[2], objects(s, 1));
    EXPECT_EQ(early.count(12) + early.count(13) + early.count(14), 0u);

    auto late = drawsAt(s, rendition, 25.0);
    EXPECT_EQ(late.count(0) + late.count(1) + late.count(2), 0u);
    EXPECT_EQ(late[12], objects(s, 2));
    EXPECT_EQ(late[13], objects(s, 4));
    EXPECT_EQ(late.count(14), shader ? 1u : 0u);
    if (shader) {
      EXPECT_EQ(late[14], 1);
    }
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  }
}
}  // namespace
