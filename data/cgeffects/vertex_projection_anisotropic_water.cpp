#version 330 compatibility
// The water surface. The pass hands the camera in as the "light", so the
// light's projective coordinates (gl_TexCoord[1]) are this vertex's place
// on the screen, 0..1 over the view: the fragment program reads the screen
// copy there, bent by the ripples. The oscillators ("alpha") let the ripple
// map drift slowly: its coordinates are handed on in gl_TexCoord[6].
#include "projection_vertex.glsl"

void main() {
  handOn(placedVertex(), placedNormal(), LightPos);
  gl_TexCoord[6] = vec4(gl_MultiTexCoord0.xy + alpha.xy * 0.02, 0.0, 1.0);
}
