// The GL state ledger: what every layer and every frame leaves behind, in
// the context it drew in. A layer that leaves depth writes off, blending
// changed or a texture unit on changes what every later layer and frame
// draws, and a single drawn frame never shows it.
#include <GL/gl.h>

#include <cstring>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "choreography/layer_windows.h"
#include "choreography/scene_layers.h"
#include "gpu/gl_entry_points.h"
#include "part_frame_suite.h"
#include "parts/part_alpha.h"
#include "parts/part_beta.h"

namespace {
constexpr int kUnits = 6;  // the composition reads five, the meshes three

struct Entry {
  std::string name;
  std::vector<double> values;
};
using Ledger = std::vector<Entry>;

// The state a layer or a frame could hand on by mistake. The current colour
// is left out: every layer sets its own before it draws. The mesh drawing
// state is a layer's to put back, not a frame's: the prologue restates it
// at the start of every frame.
Ledger readGlState(const DemoApp& app, bool withMeshState) {
  Ledger l;
  auto add = [&l](std::string name, std::vector<double> values) { l.push_back({std::move(name), std::move(values)}); };
  auto ints = [](GLenum what, int n = 1) {
    GLint v[16] = {};
    glGetIntegerv(what, v);
    return std::vector<double>(v, v + n);
  };
  auto floats = [](GLenum what, int n = 1) {
    GLfloat v[16] = {};
    glGetFloatv(what, v);
    return std::vector<double>(v, v + n);
  };
  auto on = [](GLenum cap) { return std::vector<double>{double(glIsEnabled(cap))}; };
  add("depth mask", ints(GL_DEPTH_WRITEMASK));
  add("depth test", on(GL_DEPTH_TEST));
  add("depth function", ints(GL_DEPTH_FUNC));
  add("blending", on(GL_BLEND));
  add("blend function",
      {ints(GL_BLEND_SRC_RGB)[0], ints(GL_BLEND_DST_RGB)[0], ints(GL_BLEND_SRC_ALPHA)[0], ints(GL_BLEND_DST_ALPHA)[0]});
  add("face culling", on(GL_CULL_FACE));
  add("fog", on(GL_FOG));
  add("alpha test", on(GL_ALPHA_TEST));
  add("lighting", on(GL_LIGHTING));
  add("polygon offset", on(GL_POLYGON_OFFSET_FILL));
  add("colour mask", ints(GL_COLOR_WRITEMASK, 4));
  add("line width", floats(GL_LINE_WIDTH));
  add("point size", floats(GL_POINT_SIZE));
  add("matrix mode", ints(GL_MATRIX_MODE));
  add("matrix depths",
      {ints(GL_MODELVIEW_STACK_DEPTH)[0], ints(GL_PROJECTION_STACK_DEPTH)[0], ints(GL_ATTRIB_STACK_DEPTH)[0]});
  add("draw framebuffer", ints(GL_DRAW_FRAMEBUFFER_BINDING));
  add("program", ints(GL_CURRENT_PROGRAM));
  const GLint pipeline = GLint(ints(GL_PROGRAM_PIPELINE_BINDING)[0]);
  GLint stages[2] = {0, 0};
  if (pipeline != 0) {
    glExtensionTable.glGetProgramPipelineiv(GLuint(pipeline), GL_VERTEX_SHADER, &stages[0]);
    glExtensionTable.glGetProgramPipelineiv(GLuint(pipeline), GL_FRAGMENT_SHADER, &stages[1]);
  }
  add("program stages", {double(pipeline != 0), double(stages[0]), double(stages[1])});
  const GLint active = GLint(ints(GL_ACTIVE_TEXTURE)[0]);
  add("active texture unit", {double(active)});
  for (int unit = 0; unit < kUnits; ++unit) {
    glExtensionTable.glActiveTextureARB(GLenum(GL_TEXTURE0 + unit));
    const std::string u = " on unit " + std::to_string(unit);
    add("2D texturing" + u, on(GL_TEXTURE_2D));
    add("bound texture" + u, ints(GL_TEXTURE_BINDING_2D));
    add("texture matrix" + u, floats(GL_TEXTURE_MATRIX, 16));
  }
  glExtensionTable.glActiveTextureARB(GLenum(active));
  if (!withMeshState) return l;
  const MeshDrawState& m = app.meshDraw;
  add("mesh placement", {m.translate.x, m.translate.y, m.translate.z, m.angle, m.axis.x, m.axis.y, m.axis.z, m.scale.x,
                         m.scale.y, m.scale.z, double(m.useBasis), m.faceFraction});
  add("mesh blending", {m.alpha, double(m.forcePrepass), double(m.overlayBlend), double(m.hookEnabled),
                        double(m.excludedObject), double(m.onlyObject), double(m.hiddenObjects.size())});
  return l;
}

// What the camera layer sets on purpose for every layer after it: additive
// blending without depth writes, point size 1, the camera's modelview.
bool cameraLayerSets(const std::string& name) {
  return name == "blending" || name == "blend function" || name == "depth mask" || name == "point size" ||
         name == "matrix mode" || name == "texture matrix on unit 0";
}

std::string differences(const Ledger& before, const Ledger& after, bool cameraLayer) {
  std::ostringstream out;
  for (size_t i = 0; i < before.size() && i < after.size(); ++i) {
    if (before[i].values == after[i].values || (cameraLayer && cameraLayerSets(before[i].name))) continue;
    out << " " << before[i].name << " (";
    for (double v : before[i].values) out << v << " ";
    out << "->";
    for (double v : after[i].values) out << " " << v;
    out << ");";
  }
  return out.str();
}

class LayerLedger final : public LayerObserver {
 public:
  explicit LayerLedger(const DemoApp& app) : app_(app) {}
  void beforeLayer(int32_t) override { before_ = readGlState(app_, true); }
  void afterLayer(int32_t number) override {
    const std::string changed = differences(before_, readGlState(app_, true), number == 3);
    if (!changed.empty())
      leaks.insert("layer " + std::to_string(number) + " " + findLayer(number)->name + ":" + changed);
  }
  std::set<std::string> leaks;

 private:
  const DemoApp& app_;
  Ledger before_;
};

class GlStateLedgerTest : public PartFrameSuite {
 protected:
  std::vector<Ledger> bothContexts(const DemoApp& app) {
    makePbufferCurrent(target_);
    Ledger offscreen = readGlState(app, false);
    makeWindowCurrent(target_);
    return {offscreen, readGlState(app, false)};
  }

  // Several frames in a row at each moment; every layer and every frame
  // must leave both contexts as it found them.
  std::vector<std::string> leaksOver(SetUpPart& s) {
    LayerLedger layers(*s.app);
    s.part->layerObserver = &layers;
    std::vector<std::string> leaks;
    const std::vector<Ledger> start = bothContexts(*s.app);
    for (double T : {1.0, 6.5, 8.2, 9.6, 12.5, 15.0, 17.5, 19.4, 21.0, 23.0, 25.5, 28.5, 29.5, 31.0}) {
      s.part->partTime = s.part->timeAccumulator = T;
      for (int frame = 0; frame < 3; ++frame) {
        drawOneFrame(s, 1.0 / 30);
        const std::vector<Ledger> now = bothContexts(*s.app);
        for (size_t c = 0; c < now.size(); ++c) {
          const std::string changed = differences(start[c], now[c], false);
          if (!changed.empty()) {
            leaks.push_back("frame " + std::to_string(frame + 1) + " at " + std::to_string(T) + " s, " +
                            (c == 0 ? "offscreen" : "window") + " context:" + changed);
          }
        }
      }
    }
    s.part->layerObserver = nullptr;
    leaks.insert(leaks.end(), layers.leaks.begin(), layers.leaks.end());
    return leaks;
  }
};

TEST_F(GlStateLedgerTest, NoLayerAndNoFrameLeavesStateChanged) {
  for (bool shader : {true, false}) {
    SCOPED_TRACE(shader ? "shader" : "fixed function");
    SetUpPart s = shader ? setUpPart<PartAlpha>() : setUpPart<PartBeta>();
    const std::vector<std::string> leaks = leaksOver(s);
    std::string all;
    for (size_t i = 0; i < leaks.size() && i < 30; ++i) all += leaks[i] + "\n";
    EXPECT_TRUE(leaks.empty()) << leaks.size() << " leaks, the first:\n" << all;
  }
}
}  // namespace
