#pragma once

class DemoPart;
struct DemoApp;

// The shader rendition's picture in the window, once the scene has been
// copied into the part's scene texture and the glow made: the scene copy,
// as four dimmed ghost copies summed while the spread is open, then the
// glow added over it. Drawn with the window's camera set (the viewport,
// the camera's projection and the look at the copies), blending off and
// the blend function (GL_ONE, GL_ONE), as the frame leaves them; returns
// with blending on, (GL_ONE, GL_ONE), and the part's third glow texture
// bound.
//
// While the ghosts are open the part's composition program writes the
// window once; otherwise, and without that program, each copy and the
// glow is a quad of its own: the same picture but for rounding.
void composeWindow(const DemoPart& part, DemoApp& app);

// The same, always quad by quad: what the program must match.
void composeWindowQuadByQuad(const DemoPart& part, DemoApp& app);
