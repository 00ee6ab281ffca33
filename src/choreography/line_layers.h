#pragma once
#include <cstdint>
#include <span>

class LineBatch;
struct SceneFrame;

// The thin additive line layers. Each gathers its lines into one shared
// batch and draws them with one vertex-array draw per width and colour
// pass, under the camera's modelview and the additive blending that layer
// 3 leaves. The shader rendition bends the wire and segment points by the
// drift rules; the fixed-function rendition leaves them where the meshes
// and paths put them and draws the same lines.

// Layer 5: wires along the standing man's faces, lit on the first hit
// (9.2 s), his limbs' wires pushed in depth by the second drift rule.
void drawBodyWires(SceneFrame& frame);
// Layer 6: the kneeling figure's faces as a second, finer cage over the
// man, from the cut at 12.3 s.
void drawKneelingWires(SceneFrame& frame);
// Layer 10: short segments standing off the man's surface, swung about
// their roots and bent by the second drift rule.
void drawSwungSegments(SceneFrame& frame);
// Layer 11: streams running along the curve paths from the drop at 18 s,
// and along traced outlines while the camera comes down.
void drawStreams(SceneFrame& frame);
// Layer 15: the opening effect, in the rendition's own look.
void drawOpening(SceneFrame& frame);
// Layer 18: wires over the faceted kneeling man where he kneels in, and
// over the ground's rocks.
void drawFacetWires(SceneFrame& frame);
// Layer 20: the closing effect after 28 s, then the man's wires, width 1,
// thickened after 23.5 s: they stay on as his ghost while he shrinks away.
void drawClosingAndWires(SceneFrame& frame);

// The batch every line layer fills: reserved once, reused every frame.
LineBatch& sceneLineBatch();

// The music's accents (part time): each lights the lines up and fades.
inline constexpr double kAccents[] = {9.2, 12.3, 16.2, 18.0};
// 0 before the first accent, up to 1 on each accent, decaying in about a
// third of a second.
double accentFlash(double T);

// Which of layer 11's streams run at part time T (the layer's own window
// aside): the curve-path streams, the traced-outline streams and the early
// cloud streams.
struct StreamChoice {
  bool curvePaths;
  bool outlines;
  bool early;
};
StreamChoice streamsAt(double T);
