#include "gpu/cg_shader_set.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

#include "core/diagnostics.h"
#include "gpu/gl_entry_points.h"
#include "gpu/shader_source.h"

namespace {

constexpr int kFragmentUnitBase = 0;
constexpr int kVertexUnitBase = 16;

const char* stageWord(CgProfile profile) { return profile == kCgProfileVertex ? "vertex" : "fragment"; }

// The texture target a sampler type reads; 0 for anything not a sampler.
GLenum textureTarget(GLenum type) {
  switch (type) {
    case GL_SAMPLER_1D:
    case GL_SAMPLER_1D_SHADOW:
      return GL_TEXTURE_1D;
    case GL_SAMPLER_2D:
    case GL_SAMPLER_2D_SHADOW:
      return GL_TEXTURE_2D;
    case GL_SAMPLER_3D:
      return GL_TEXTURE_3D;
    case GL_SAMPLER_CUBE:
    case GL_SAMPLER_CUBE_SHADOW:
      return GL_TEXTURE_CUBE_MAP;
    case GL_SAMPLER_2D_RECT:
    case GL_SAMPLER_2D_RECT_SHADOW:
      return GL_TEXTURE_RECTANGLE;
    case GL_SAMPLER_1D_ARRAY:
    case GL_SAMPLER_1D_ARRAY_SHADOW:
      return GL_TEXTURE_1D_ARRAY;
    case GL_SAMPLER_2D_ARRAY:
    case GL_SAMPLER_2D_ARRAY_SHADOW:
      return GL_TEXTURE_2D_ARRAY;
    default:
      return 0;
  }
}

// The query that answers which texture is bound to the target.
GLenum bindingQuery(GLenum target) {
  switch (target) {
    case GL_TEXTURE_1D:
      return GL_TEXTURE_BINDING_1D;
    case GL_TEXTURE_3D:
      return GL_TEXTURE_BINDING_3D;
    case GL_TEXTURE_CUBE_MAP:
      return GL_TEXTURE_BINDING_CUBE_MAP;
    case GL_TEXTURE_RECTANGLE:
      return GL_TEXTURE_BINDING_RECTANGLE;
    case GL_TEXTURE_1D_ARRAY:
      return GL_TEXTURE_BINDING_1D_ARRAY;
    case GL_TEXTURE_2D_ARRAY:
      return GL_TEXTURE_BINDING_2D_ARRAY;
    default:
      return GL_TEXTURE_BINDING_2D;
  }
}

const char* targetName(GLenum target) {
  switch (target) {
    case GL_TEXTURE_1D:
      return "1-D";
    case GL_TEXTURE_3D:
      return "3-D";
    case GL_TEXTURE_CUBE_MAP:
      return "cube map";
    case GL_TEXTURE_RECTANGLE:
      return "rectangle";
    case GL_TEXTURE_1D_ARRAY:
      return "1-D array";
    case GL_TEXTURE_2D_ARRAY:
      return "2-D array";
    default:
      return "2-D";
  }
}

std::string typeName(GLenum type) {
  switch (type) {
    case GL_FLOAT:
      return "float";
    case GL_FLOAT_VEC2:
      return "vec2";
    case GL_FLOAT_VEC3:
      return "vec3";
    case GL_FLOAT_VEC4:
      return "vec4";
    case GL_FLOAT_MAT3:
      return "mat3";
    case GL_FLOAT_MAT4:
      return "mat4";
    case GL_INT:
      return "int";
    case GL_BOOL:
      return "bool";
    default:
      break;
  }
  if (textureTarget(type) != 0) return "sampler";
  char text[32];
  std::snprintf(text, sizeof text, "type 0x%x", type);
  return text;
}

std::string programLog(GLuint program) {
  if (program == 0) return "(no program object was made)";
  GLint length = 0;
  glExtensionTable.glGetProgramiv(program, GL_INFO_LOG_LENGTH, &length);
  if (length <= 1) return "(the compiler gave no message)";
  std::string text(static_cast<size_t>(length), '\0');
  glExtensionTable.glGetProgramInfoLog(program, length, nullptr, text.data());
  text.resize(std::strlen(text.c_str()));
  while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
  return text;
}

// Column-major product a x b.
void multiply(const float (&a)[16], const float (&b)[16], float (&out)[16]) {
  for (int column = 0; column < 4; ++column) {
    for (int row = 0; row < 4; ++row) {
      double sum = 0.0;
      for (int k = 0; k < 4; ++k) sum += double(a[k * 4 + row]) * double(b[column * 4 + k]);
      out[column * 4 + row] = float(sum);
    }
  }
}

}  // namespace

bool separableProgramsOffered(std::string_view version, std::string_view extensions) {
  int major = 0, minor = 0;
  const std::string text(version);
  if (std::sscanf(text.c_str(), "%d.%d", &major, &minor) == 2 && (major > 4 || (major == 4 && minor >= 1))) return true;
  return extensions.find("GL_ARB_separate_shader_objects") != std::string_view::npos;
}

CgShaderSet::CgShaderSet() { createContext(); }

void CgShaderSet::createContext() {
  vertexProfile = kCgProfileVertex;
  fragmentProfile = kCgProfileFragment;
  // Earlier contexts' programs stay as they are: nothing is torn down.
  ++context;
}

void CgShaderSet::createVertexProgram(const std::string& fileName, int slot) {
  createProgram(fileName, slot, vertexProfile);
}

void CgShaderSet::createFragmentProgram(const std::string& fileName, int slot) {
  createProgram(fileName, slot, fragmentProfile);
}

void CgShaderSet::createProgram(const std::string& fileName, int slot, CgProfile profile) {
  if (!slotInRange(slot)) return;
  if (profile != kCgProfileVertex && profile != kCgProfileFragment) {
    report(fileName + ": not compiled: profile " + std::to_string(profile) + " is neither vertex nor fragment");
    return;
  }
  // A failed creation empties the slot; a program it held before lives on
  // wherever it is still bound.
  programs[slot] = CgProgram{0, profile, context};
  const char* stage = stageWord(profile);

  std::string source, why;
  if (!readShaderSource(fileName, source, why)) {
    report(fileName + ": the " + stage + " program file " + why);
    return;
  }
  if (!separableProgramsAvailable()) {
    report(fileName + ": not compiled: shader programs are off");
    return;
  }

  const char* text = source.c_str();
  GLuint program = glExtensionTable.glCreateShaderProgramv(
      profile == kCgProfileVertex ? GL_VERTEX_SHADER : GL_FRAGMENT_SHADER, 1, &text);
  GLint linked = GL_FALSE;
  if (program != 0) glExtensionTable.glGetProgramiv(program, GL_LINK_STATUS, &linked);
  if (linked != GL_TRUE) {
    report(fileName + ": the " + stage + " program does not compile:\n" + programLog(program));
    if (program != 0) glExtensionTable.glDeleteProgram(program);
    return;
  }

  ProgramInfo& info = programInfo_[program];
  info.fileName = fileName;
  info.uniforms.clear();
  GLint count = 0, longest = 0;
  glExtensionTable.glGetProgramiv(program, GL_ACTIVE_UNIFORMS, &count);
  glExtensionTable.glGetProgramiv(program, GL_ACTIVE_UNIFORM_MAX_LENGTH, &longest);
  std::string name(static_cast<size_t>(longest > 0 ? longest : 1), '\0');
  int nextUnit = profile == kCgProfileVertex ? kVertexUnitBase : kFragmentUnitBase;
  for (GLint i = 0; i < count; ++i) {
    GLint size = 0;
    GLenum type = 0;
    GLsizei length = 0;
    glExtensionTable.glGetActiveUniform(program, GLuint(i), GLsizei(name.size()), &length, &size, &type, name.data());
    Uniform uniform{name.substr(0, size_t(length)), -1, type, -1};
    uniform.location = glExtensionTable.glGetUniformLocation(program, uniform.name.c_str());
    // Built-in state and block members have no location: nothing to set.
    if (uniform.location < 0) continue;
    if (textureTarget(type) != 0) {
      uniform.unit = nextUnit;
      std::vector<GLint> units;
      for (GLint k = 0; k < size; ++k) units.push_back(nextUnit++);
      glExtensionTable.glProgramUniform1iv(program, uniform.location, size, units.data());
    }
    // "lights[0]" answers to "lights" too.
    if (uniform.name.size() > 3 && uniform.name.ends_with("[0]")) uniform.name.resize(uniform.name.size() - 3);
    info.uniforms.push_back(std::move(uniform));
  }
  programs[slot].program = program;
}

bool CgShaderSet::separableProgramsAvailable() {
  if (available_ >= 0) return available_ == 1;
  const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
  if (version == nullptr) return false;  // no context yet: ask again later
  const char* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
  const bool ok = separableProgramsOffered(version, extensions != nullptr ? extensions : "");
  available_ = ok ? 1 : 0;
  if (!ok) report(std::string("shader programs are off: GL ") + version + " has no separable programs");
  return ok;
}

void CgShaderSet::lookUpParameter(int slot, int index, const char* name) {
  if (tableEntry(slot, index) == nullptr) return;
  parameters[size_t(slot)][size_t(index)] = namedParameter(slot, name);
}

CgParameter CgShaderSet::namedParameter(int slot, const char* name) {
  if (!slotInRange(slot) || name == nullptr) return {};
  const unsigned program = programs[size_t(slot)].program;
  // An empty slot has said why already (or was never meant to hold one).
  if (program == 0) return {};
  const ProgramInfo& info = programInfo_[program];
  for (const Uniform& uniform : info.uniforms) {
    if (uniform.name == name) return CgParameter{program, uniform.location, uniform.type, uniform.unit};
  }
  // The compiler drops uniforms that do not reach the output, so this is
  // often an unused declaration rather than a typing error.
  report(info.fileName + ": no active parameter \"" + name + "\" in the " + stageWord(programs[size_t(slot)].profile) +
         " program");
  return {};
}

void CgShaderSet::setModelViewProjection(int slot, int index) {
  const CgParameter* parameter = tableEntry(slot, index);
  if (parameter == nullptr || !*parameter) return;
  float projection[16], modelview[16], product[16];
  glGetFloatv(GL_PROJECTION_MATRIX, projection);
  glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
  multiply(projection, modelview, product);
  setMatrix(*parameter, product);
}

void CgShaderSet::setTextureMatrixParameter(int slot, int index) {
  const CgParameter* parameter = tableEntry(slot, index);
  if (parameter == nullptr || !*parameter) return;
  float texture[16];
  glGetFloatv(GL_TEXTURE_MATRIX, texture);
  setMatrix(*parameter, texture);
}

void CgShaderSet::setMatrix(const CgParameter& parameter, const float (&matrix)[16]) {
  if (!checkType(parameter, parameter.type == GL_FLOAT_MAT4, "a mat4")) return;
  glExtensionTable.glProgramUniformMatrix4fv(parameter.program, parameter.location, 1, GL_FALSE, matrix);
}

void CgShaderSet::setParameter3f(int slot, int index, float x, float y, float z) {
  const CgParameter* parameter = tableEntry(slot, index);
  if (parameter == nullptr || !*parameter) return;
  const CgParameter& p = *parameter;
  switch (p.type) {
    case GL_FLOAT:
      glExtensionTable.glProgramUniform1f(p.program, p.location, x);
      return;
    case GL_FLOAT_VEC2:
      glExtensionTable.glProgramUniform2f(p.program, p.location, x, y);
      return;
    case GL_FLOAT_VEC3:
      glExtensionTable.glProgramUniform3f(p.program, p.location, x, y, z);
      return;
    case GL_FLOAT_VEC4: {
      float current[4] = {0, 0, 0, 1};
      glExtensionTable.glGetUniformfv(p.program, p.location, current);
      glExtensionTable.glProgramUniform4f(p.program, p.location, x, y, z, current[3]);
      return;
    }
    default:
      checkType(p, false, "a float, vec2, vec3 or vec4");
  }
}

void CgShaderSet::setTextureParameter(const CgParameter& parameter, unsigned texture) {
  if (!parameter || !checkType(parameter, textureTarget(parameter.type) != 0, "a sampler")) return;
  textures_[{parameter.program, parameter.location}] = texture;
}

void CgShaderSet::enableTextureParameter(const CgParameter& parameter) {
  if (!parameter || !checkType(parameter, textureTarget(parameter.type) != 0, "a sampler")) return;
  auto found = textures_.find({parameter.program, parameter.location});
  const unsigned texture = found != textures_.end() ? found->second : 0;
  GLint active = GL_TEXTURE0;
  glGetIntegerv(GL_ACTIVE_TEXTURE, &active);
  glExtensionTable.glActiveTextureARB(GLenum(GL_TEXTURE0 + parameter.unit));
  const GLenum target = textureTarget(parameter.type);
  glBindTexture(target, texture);
  // A texture made for another target does not bind, and the sampler would
  // go on reading whatever the unit held before: say so, and bind nothing.
  GLint bound = 0;
  glGetIntegerv(bindingQuery(target), &bound);
  if (GLuint(bound) != texture) {
    glGetError();  // the refused bind's error is ours, not the caller's
    glBindTexture(target, 0);
    report(describe(parameter.program) + ": parameter " + uniformName(parameter) + " is a " + targetName(target) +
           " sampler, but texture " + std::to_string(texture) +
           " is not a texture of that kind: nothing is bound to it");
  }
  // Fixed-function code after this binds on the unit it chose.
  glExtensionTable.glActiveTextureARB(GLenum(active));
}

void CgShaderSet::setTextureParameter(int slot, int index, unsigned texture) {
  if (const CgParameter* parameter = tableEntry(slot, index)) setTextureParameter(*parameter, texture);
}

void CgShaderSet::enableTextureParameter(int slot, int index) {
  if (const CgParameter* parameter = tableEntry(slot, index)) enableTextureParameter(*parameter);
}

const CgParameter* CgShaderSet::tableEntry(int slot, int index) {
  if (!slotInRange(slot)) return nullptr;
  if (index < 0 || index >= kParametersPerSlot) {
    report("parameter index " + std::to_string(index) + " is outside 0.." + std::to_string(kParametersPerSlot - 1) +
           ": the call does nothing");
    return nullptr;
  }
  return &parameters[size_t(slot)][size_t(index)];
}

bool CgShaderSet::slotInRange(int slot) {
  if (slot >= 0 && slot < kSlots) return true;
  report("program slot " + std::to_string(slot) + " is outside 0.." + std::to_string(kSlots - 1) +
         ": the call does nothing");
  return false;
}

bool CgShaderSet::checkType(const CgParameter& parameter, bool accepted, const char* wanted) {
  if (accepted) return true;
  report(describe(parameter.program) + ": parameter " + uniformName(parameter) + " is a " + typeName(parameter.type) +
         ", used as " + wanted + ": not set");
  return false;
}

std::string CgShaderSet::uniformName(const CgParameter& parameter) {
  for (const Uniform& uniform : programInfo_[parameter.program].uniforms) {
    if (uniform.location == parameter.location) return "\"" + uniform.name + "\"";
  }
  return std::string("at location ") + std::to_string(parameter.location);
}

std::string CgShaderSet::describe(unsigned program) const {
  auto found = programInfo_.find(program);
  return found != programInfo_.end() ? found->second.fileName : "program " + std::to_string(program);
}

void CgShaderSet::report(const std::string& text) {
  if (reported_.insert(text).second) ::report(DiagnosticLevel::Warning, text);
}
