#pragma once

struct SceneFrame;

// The mesh layers and the prologue every frame starts with. Each layer
// sets the application's MeshDrawState before its draw and puts it back
// afterwards.

// Every frame, before any layer: oscillators into the caustic program,
// blending and alpha test off, the base mesh's placement and growth.
void drawPrologue(SceneFrame& frame);
// Layer 0: the man grows face by face under the caustics (and shrinks away
// after 27.6 s).
void drawBaseMesh(SceneFrame& frame);
// After the base mesh, whether drawn or not: the placement put back (every
// face, in place), no culling.
void finishPrologue(SceneFrame& frame);
// Layer 1: nine faint copies of the man at seeded places, falling away.
void drawManCopies(SceneFrame& frame);
// Layer 2: the heart, lit by the depth texture as its decal.
void drawHeart(SceneFrame& frame);
// Layer 3: the camera's view for every later layer; additive blending
// without depth writes until the scene pass ends (the one layer whose
// state outlives it).
void placeCamera(SceneFrame& frame);
// Layer 12: the faceted man kneels in and fades.
void drawManGon(SceneFrame& frame);
// Layer 13: the ground under the ripple light.
void drawGround(SceneFrame& frame);

// The caustic frame's oscillators: sin 1.4T, sin 1.2T, sin 1.6T.
struct Oscillators {
  float a, b, c;
};
Oscillators oscillatorsAt(double T);

// The base mesh's share of faces at part time T: grows from 6 s, and
// shrinks away again from 27.6 s.
double baseFaceFraction(double T);

// Where copy `i` of layer 1 stands and how it looks: drawn from the
// generator in the order z, y, x, angle, flicker (five values a copy).
struct ManCopy {
  double x, y, z;
  double angle;  // degrees about (-0.3, 1, 0.4)
  double faceFraction;
  double red, green, blue;
};
ManCopy nextManCopy(double T, int i);
