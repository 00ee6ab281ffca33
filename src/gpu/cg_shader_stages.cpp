// Binding and enabling: which program each stage of the current GL
// context runs.
#include <algorithm>

#include "gpu/cg_shader_set.h"
#include "gpu/gl_entry_points.h"

namespace {

constexpr int kVertex = 0;
constexpr int kFragment = 1;

int stageOf(CgProfile profile) {
  if (profile == kCgProfileVertex) return kVertex;
  if (profile == kCgProfileFragment) return kFragment;
  return -1;
}

}  // namespace

void CgShaderSet::loadVertexProgram(int slot) {
  if (slotInRange(slot) && programs[size_t(slot)].program != 0) enableVertexProfile();
}

void CgShaderSet::loadFragmentProgram(int slot) {
  if (slotInRange(slot) && programs[size_t(slot)].program != 0) enableFragmentProfile();
}

void CgShaderSet::bindProgram(int slot) {
  if (!slotInRange(slot)) return;
  const CgProgram& entry = programs[size_t(slot)];
  const int stage = stageOf(entry.profile);
  if (stage < 0) return;  // never created: nothing to bind
  StageState* state = currentStageState();
  if (state == nullptr) return;
  state->bound[stage] = entry.program != 0 ? entry.program : drawNothingProgram(stage);
  applyStages(*state);
}

void CgShaderSet::enableVertexProfile() { setEnabled(kVertex, true); }
void CgShaderSet::enableFragmentProfile() { setEnabled(kFragment, true); }
void CgShaderSet::disableVertexProfile() { setEnabled(kVertex, false); }
void CgShaderSet::disableFragmentProfile() { setEnabled(kFragment, false); }

void CgShaderSet::disableProfiles() {
  disableFragmentProfile();
  disableVertexProfile();
}

void CgShaderSet::setEnabled(int stage, bool enabled) {
  StageState* state = currentStageState();
  if (state == nullptr) return;
  state->enabled[stage] = enabled;
  applyStages(*state);
}

void CgShaderSet::applyStages(StageState& state) {
  const GLuint vertex = state.enabled[kVertex] ? state.bound[kVertex] : 0;
  const GLuint fragment = state.enabled[kFragment] ? state.bound[kFragment] : 0;
  glExtensionTable.glUseProgramStages(state.pipeline, GL_VERTEX_SHADER_BIT, vertex);
  glExtensionTable.glUseProgramStages(state.pipeline, GL_FRAGMENT_SHADER_BIT, fragment);
  // A bound pipeline with no stage at all is an error to draw with; with
  // none bound the context is plain fixed function.
  glExtensionTable.glBindProgramPipeline(vertex != 0 || fragment != 0 ? state.pipeline : 0);
}

// Pipelines are not shared between contexts the way programs are, so each
// context the set is used in gets one of its own. The one whose name is a
// pipeline in the current context is that context's: names are kept apart
// across contexts so that no two of ours answer in the same one.
CgShaderSet::StageState* CgShaderSet::currentStageState() {
  if (!separableProgramsAvailable()) return nullptr;
  for (StageState& state : stageStates_) {
    if (glExtensionTable.glIsProgramPipeline(state.pipeline) == GL_TRUE) return &state;
  }
  auto known = [&](GLuint name) {
    return std::any_of(stageStates_.begin(), stageStates_.end(),
                       [name](const StageState& state) { return state.pipeline == name; });
  };
  GLuint name = 0;
  for (int tries = 0; tries < 64 && (name == 0 || known(name)); ++tries) {
    glExtensionTable.glGenProgramPipelines(1, &name);
  }
  if (name == 0 || known(name)) {
    report("cannot make a program pipeline: shader programs draw nothing in this context");
    return nullptr;
  }
  // A generated name becomes a pipeline when first bound.
  glExtensionTable.glBindProgramPipeline(name);
  glExtensionTable.glBindProgramPipeline(0);
  stageStates_.push_back(StageState{name, {0, 0}, {false, false}});
  return &stageStates_.back();
}

// Stands in for a program that failed, so that drawing with it shows
// nothing rather than what the stage ran before.
GLuint CgShaderSet::drawNothingProgram(int stage) {
  if (drawNothing_[stage] != 0) return drawNothing_[stage];
  // Outside the clip volume sideways, which depth clamping does not undo.
  const char* vertex = "#version 110\nvoid main() { gl_Position = vec4(4.0, 4.0, 0.0, 1.0); }\n";
  const char* fragment = "#version 110\nvoid main() { discard; }\n";
  const char* source = stage == kVertex ? vertex : fragment;
  GLuint program =
      glExtensionTable.glCreateShaderProgramv(stage == kVertex ? GL_VERTEX_SHADER : GL_FRAGMENT_SHADER, 1, &source);
  GLint linked = GL_FALSE;
  if (program != 0) glExtensionTable.glGetProgramiv(program, GL_LINK_STATUS, &linked);
  if (linked != GL_TRUE) {
    if (program != 0) glExtensionTable.glDeleteProgram(program);
    return 0;
  }
  drawNothing_[stage] = program;
  return program;
}
