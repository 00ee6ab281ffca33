#pragma once
#include <array>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Run-time shader programs, addressed the way the demo code addresses them:
// a program by slot, a parameter by (slot, index), the vertex and fragment
// programs bound and enabled independently, each stage falling back to
// fixed function while disabled.
//
// Programs are GLSL (compatibility profile) compiled from a file each, as
// separable programs attached to a program pipeline. What a program file
// declares:
//   - vector parameters as float..vec4 uniforms ("CameraPos", "LightPos",
//     "alpha"): setParameter3f fills as many components as there are, up
//     to three, and leaves a vec4's w as it is;
//   - state-matrix parameters as mat4 uniforms ("ModelViewProj",
//     "ModelViewLightProj", "ModelViewObject"), applied as M * v;
//   - texture parameters as sampler uniforms ("decal", "oned", "cube"...),
//     whose type picks the texture target (sampler1D: GL_TEXTURE_1D,
//     samplerCube: GL_TEXTURE_CUBE_MAP, ...). A texture made for another
//     target is not bound (the sampler reads none) and is reported once per
//     program, parameter and texture. The set gives each program's
//     samplers texture units of their own, in the order the linker lists
//     them: fragment programs from unit 0, vertex programs from unit 16, so
//     the two stages of a pair never share one. A layout(binding) in the
//     file is overridden.
// To pair with either stage of fixed function, vertex programs pass data
// on in the built-in varyings (gl_FrontColor, gl_TexCoord[n]) and fragment
// programs read them (gl_Color, gl_TexCoord[n]).
//
// A file that is missing or does not compile leaves its slot empty, with
// one message naming the file and the compiler's words (a warning through
// the diagnostic sink; each text goes out once). Operations on an
// empty slot, an unknown parameter or a slot or index outside the tables
// change nothing. Binding an empty slot that was meant for a stage makes
// that stage draw nothing while it is enabled, rather than drawing with
// whatever program it had before.
//
// Every call but createContext needs the GL context current. Each GL
// context keeps its own bindings and enables, as it would with two
// contexts' program state; programs are shared where the contexts share
// objects. Nothing is ever deleted: programs live until the process ends.

// Whether a GL of this version string and extension string has separable
// programs (GL 4.1, or GL_ARB_separate_shader_objects): without them no
// program can be bound by stage.
bool separableProgramsOffered(std::string_view version, std::string_view extensions);

using CgContext = int;  // a generation number; 0 before the first
using CgProfile = int;

constexpr CgProfile kCgProfileVertex = 6150;    // the ARB vertex profile's number
constexpr CgProfile kCgProfileFragment = 7000;  // the ARB fragment profile's number

// One program slot's content.
struct CgProgram {
  unsigned program = 0;   // GL program name; 0 = empty
  CgProfile profile = 0;  // the stage it was created for, even when it failed
  CgContext context = 0;  // the context it was created in
};

// A parameter handle: a uniform of one program. Null (program 0) when the
// name was not found or the program is missing.
struct CgParameter {
  unsigned program = 0;
  int location = -1;
  unsigned type = 0;  // GL uniform type
  int unit = -1;      // texture unit, for samplers
  explicit operator bool() const { return program != 0 && location >= 0; }
};

class CgShaderSet {
 public:
  static constexpr int kSlots = 1000;
  static constexpr int kParametersPerSlot = 16;

  CgShaderSet();

  CgContext context = 0;
  std::array<CgProgram, kSlots> programs{};
  std::array<std::array<CgParameter, kParametersPerSlot>, kSlots> parameters{};
  CgProfile vertexProfile = 0;
  CgProfile fragmentProfile = 0;

  void createContext();
  void createVertexProgram(const std::string& fileName, int slot);
  void createFragmentProgram(const std::string& fileName, int slot);

  void lookUpParameter(int slot, int index, const char* name);
  // The handle the slot's program has for the name (no table entry).
  CgParameter namedParameter(int slot, const char* name);

  // Snapshots of the GL matrices at the call: projection x modelview, and
  // the active texture unit's texture matrix.
  void setModelViewProjection(int slot, int index);
  void setTextureMatrixParameter(int slot, int index);
  void setParameter3f(int slot, int index, float x, float y, float z);

  // Texture parameters: set remembers the texture for the parameter,
  // enable binds it to the parameter's unit (the active unit is kept), or
  // unbinds the unit's target when the texture is of another kind.
  void setTextureParameter(const CgParameter& parameter, unsigned texture);
  void enableTextureParameter(const CgParameter& parameter);
  void setTextureParameter(int slot, int index, unsigned texture);
  void enableTextureParameter(int slot, int index);

  // Enables the program's profile; the program was compiled on creation.
  void loadVertexProgram(int slot);
  void loadFragmentProgram(int slot);
  // Binds the slot's program to the stage it was created for.
  void bindProgram(int slot);

  void enableVertexProfile();
  void enableFragmentProfile();
  void disableVertexProfile();
  void disableFragmentProfile();
  void disableProfiles();

 private:
  struct Uniform {
    std::string name;
    int location = -1;
    unsigned type = 0;
    int unit = -1;
  };
  // What the set knows of a GL program beyond its name.
  struct ProgramInfo {
    std::string fileName;
    std::vector<Uniform> uniforms;
  };
  // One per GL context the set has been used in.
  struct StageState {
    unsigned pipeline = 0;
    unsigned bound[2] = {0, 0};  // vertex, fragment
    bool enabled[2] = {false, false};
  };

  void createProgram(const std::string& fileName, int slot, CgProfile profile);
  bool separableProgramsAvailable();
  unsigned drawNothingProgram(int stage);
  StageState* currentStageState();
  void setEnabled(int stage, bool enabled);
  void applyStages(StageState& state);
  const CgParameter* tableEntry(int slot, int index);
  bool slotInRange(int slot);
  void setMatrix(const CgParameter& parameter, const float (&matrix)[16]);
  bool checkType(const CgParameter& parameter, bool accepted, const char* wanted);
  std::string uniformName(const CgParameter& parameter);
  std::string describe(unsigned program) const;
  void report(const std::string& text);

  int available_ = -1;  // separable programs: -1 not asked yet
  unsigned drawNothing_[2] = {0, 0};
  std::vector<StageState> stageStates_;
  std::map<unsigned, ProgramInfo> programInfo_;
  std::map<std::pair<unsigned, int>, unsigned> textures_;  // (program, location) -> texture
  std::set<std::string> reported_;
};
