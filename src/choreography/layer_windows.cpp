#include "choreography/layer_windows.h"

namespace {
constexpr TimeSpan between(double from, double to) { return TimeSpan{from, to}; }
constexpr TimeSpan after(double from) { return TimeSpan{from, kForever}; }
constexpr TimeSpan upTo(double to) { return TimeSpan{-kForever, to, false, true}; }
constexpr TimeSpan from(double t) { return TimeSpan{t, kForever, true}; }
constexpr TimeSpan always() { return TimeSpan{}; }

constexpr LayerWindow both(TimeSpan open) { return LayerWindow{open}; }
constexpr LayerWindow notDrawn() { return LayerWindow{TimeSpan{}, {kForever, kForever}, {kForever, kForever}, false}; }

// One row per layer; where the renditions differ the row says so.
constexpr LayerInfo kLayers[] = {
    {0,
     "base mesh",
     "the man grows face by face with projected caustics, and shrinks away at the end",
     {LayerWindow{upTo(20.0), from(27.6)}, both(between(-kForever, 20.0))}},
    {1,
     "copies",
     "nine scattered copies of the man, faintly lit, with rare bright flickers",
     {both(between(6.0, 22.0)), both(between(6.0, 22.0))}},
    {2, "heart", "the heart mesh", {both(between(5.0, 22.0)), both(between(5.0, 22.0))}},
    {3,
     "camera",
     "the camera's view; additive blending without depth writes for the rest of the scene pass",
     {both(always()), both(always())}},
    {4,
     "camera quads",
     "two camera-facing quads: a turning violet veil of cloud behind the man, a cold light above him",
     {both(between(9.9, 22.0)), both(between(9.9, 22.0))}},
    {5,
     "face wires",
     "wires along the man's faces, bent by the drift rule",
     {both(between(9.2, 20.0)), both(between(9.2, 20.0))}},
    {6,
     "second wires",
     "a second wire layer over another mesh's faces",
     {LayerWindow{between(12.0, 31.0), {kForever, kForever}, between(24.5, 26.0)},
      LayerWindow{between(12.0, 31.0), {kForever, kForever}, between(24.5, 26.0)}}},
    {7,
     "fog and backdrop",
     "fog, and the night sky box turning slowly; larger and thinner fog from 18 s, the box fading out from 28.6 s",
     {both(always()), both(always())}},
    {8,
     "twinkling points",
     "up to 1000 red points twinkling up from the sampled surface, one quad batch",
     {both(between(6.0, 21.2)), both(between(6.0, 21.2))}},
    {9,
     "drifting points",
     "up to 1000 red points swelling out from the surface and drifting back in",
     {both(between(11.0, 21.0)), both(between(11.0, 21.0))}},
    {10,
     "swung segments",
     "line segments bent by the drift rule and swung around",
     {both(between(8.0, 20.7)), both(between(8.0, 20.7))}},
    {11,
     "streams",
     "streams of lines along the 200 curve paths and the traced outlines",
     {both(after(18.05)), both(after(18.05))}},
    {12, "man_gon", "the faceted man kneels in", {both(between(19.2, 28.5)), both(between(19.2, 28.5))}},
    {13, "ground", "the ground lit by the ripple normal map", {both(between(18.08, 32.4)), both(between(18.08, 32.4))}},
    {14, "water", "rippling water refracting the picture", {both(after(9.5)), notDrawn()}},
    {15,
     "opening effect",
     "stalks with glowing buds and ribbons along the traced outlines",
     {both(upTo(10.0)), both(upTo(10.0))}},
    {16,
     "wings",
     "two pale violet wing pictures, a feather and a feathered star, opening out above the ground and beating slowly",
     {both(between(17.0, 30.0)), both(between(17.0, 30.0))}},
    {17,
     "billboard line",
     "32 warm lights sliding along a line low over the ground",
     {both(between(17.99999, 30.2)), both(between(17.99999, 30.2))}},
    {18, "mesh wires", "wires over the meshes' faces", {both(after(19.0)), both(after(19.0))}},
    {19,
     "shards / large quad",
     "the man's faces, giant, flicker as glass shards, flare at 23.5 and go (fixed function: one large darkening quad)",
     {both(between(19.0, 25.0)), both(between(18.0, 29.0))}},
    {20,
     "closing effect",
     "the closing effect after 28 s, then wires thickened after 23.5 s",
     {LayerWindow{from(27.75), upTo(21.2)}, LayerWindow{from(27.75), upTo(21.2)}}},
};
}  // namespace

std::span<const LayerInfo> choreographyLayers() { return kLayers; }

const LayerInfo* findLayer(int32_t number) {
  for (const LayerInfo& layer : kLayers)
    if (layer.number == number) return &layer;
  return nullptr;
}

const LayerWindow& layerWindow(int32_t number, RenditionKind kind) {
  const LayerInfo* layer = findLayer(number);
  return (layer != nullptr ? *layer : kLayers[0]).window(kind);
}
