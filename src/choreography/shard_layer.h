#pragma once
#include "math/flag_vec3.h"

struct SceneFrame;

// Layer 19, as the frame's rendition draws it: one of the two below.
void drawShardLayer(SceneFrame& frame);
// The shader rendition breaks the man into shards: every face of his mesh,
// made large and set out over the ground, flickers on and off on its own
// delay from 20.5 s, flares at 23.5 s and is gone by 25 s.
void drawShards(SceneFrame& frame);
// The fixed-function rendition instead darkens the picture through one
// large quad of the shadow picture (texture 40).
void drawDarkeningQuad(SceneFrame& frame);

// The delay of face `face` at part time T, seconds: a fast wave along the
// face list, so neighbouring faces flicker together.
double shardDelay(double T, int face);
// How far face `face` is into its break; drawn as a shard above 0.1.
double shardProgress(double T, int face);
inline constexpr double kLeastShardProgress = 0.1;
// Every shard's brightness at part time T: steady, then a flare at 23.5 s
// that dies away by 25 s.
double shardBrightness(double T);
// Where a vertex of the placed mesh goes as a shard.
FlagVec3 shardCorner(const FlagVec3& v);
