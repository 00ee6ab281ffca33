#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "choreography/scene_frame.h"
#include "director/frame_inputs.h"
#include "geometry/spline_path.h"
#include "math/flag_vec3.h"
#include "math/ripple_field.h"

struct DemoApp;
struct LayerObserver;
struct OffscreenTarget;

// One whole presentation of the production: its assets by number, its
// animation state and the drawing of every frame. Created once at start-up
// and kept until the process ends.
class DemoPart {
 public:
  static constexpr double kPartEndTime = 34.2;

  virtual ~DemoPart() = default;

  // The virtual operations, in the order of the part's virtual table.
  virtual void setTime(const double& time);

 protected:
  // The part's own drawing of one frame, called by drawFrame inside its
  // bracket: part time has advanced, the inputs are copied and the frame
  // is counted. Never called once the part is over.
  virtual void drawPartFrame(OffscreenTarget* target, DemoApp* app, FrameInputs* inputs) = 0;

 public:
  virtual void unusedHookA();
  virtual void setUp(DemoApp* app) = 0;
  virtual void unusedHookB();

  // One frame of the part, the same bracket for every part: all GL
  // attributes pushed, part time advanced, then (while the part plays)
  // frameInputs, lastFrameDelta and frameCount updated and drawPartFrame
  // called; the attributes popped and GL flushed even when nothing was
  // drawn. Needs the GL context current.
  void drawFrame(double* frameDelta, OffscreenTarget* target, DemoApp* app, FrameInputs* inputs);

  // Starting anywhere: part time back to 0 and the state that only drawn
  // frames build (the ripple field) empty, ready to be advanced again.
  void rewind();
  // What a frame does to part time, without drawing it.
  void advanceWithoutDrawing(double frameDelta) { advancePartTime(frameDelta); }

  // Choreography state: the part clock, this frame's inputs and what the
  // layers animate from.
  double partTime = 0.0;
  double timeAccumulator = 0.0;
  double speedBias = 0.0;
  int32_t frameCount = 0;
  double lastFrameDelta = 0.0;
  FrameInputs frameInputs;
  RippleField ripple{0.03, 128, 128};
  double rippleClock = 0.0;
  std::vector<double> eventTimes;  // the cold break's hits

  // Choreography geometry, prepared by setUp: paths, points and the
  // outlines the paths grow from.
  std::array<SplinePath, 200> curvePaths;
  std::array<FlagVec3, 1000> surfacePoints{};
  std::array<std::vector<SplinePath>, 6> outlinePaths;

  // Kept though no frame reads them: the random letters (their 200 draws at
  // every reset move the generator that the set-up's layouts start from),
  // the surface sampler's other outputs, which it fills beside the points,
  // and how many outlines the signature picture traced to.
  std::array<uint8_t, 200> randomLetters{};
  std::array<FlagVec3, 1000> surfaceNormals{};
  std::array<FlagVec3, 1000> surfaceTangents{};
  std::array<FlagVec3, 1000> surfaceExtra{};
  int32_t outlineTraceCount = 0;

  // Scene indexes into DemoApp's scene table: man, heart, man_gon,
  // thequad, edafos2.
  std::array<int32_t, 5> sceneIndexes{};

  // Program slots in DemoApp's CgShaderSet (the render targets' texture
  // numbers are in demo/texture_numbers.h).
  int32_t blurProgram = 0;
  // The window's composition in one pass; -1 where the part has none.
  int32_t composeProgram = -1;
  std::array<int32_t, 5> projectionPrograms{};

  // The state every part starts playing from.
  void resetPartState();

  // This frame of the choreography, as the layers see it.
  SceneFrame sceneFrame(DemoApp& app, const Rendition& rendition);
  // Told of every layer the scene callbacks draw, while not null (the
  // benchmark times the layers through it).
  LayerObserver* layerObserver = nullptr;

 protected:
  DemoPart() = default;

  // Steps every part's frame begins with: the clip planes, the window's
  // projection, the camera programme and the light's view.
  void placeCameraAndLight(DemoApp& app, OffscreenTarget& target);

  // Advances part time, which runs slightly faster than demo time after
  // 16.8 s. False once the part is over and draws nothing more.
  bool advancePartTime(double frameDelta);
};
