#version 330 compatibility
// The ground under the figures. The light's projection is where the light
// pool falls; the oscillators ("alpha") make the pool's shimmer pulse: it is
// handed on in gl_TexCoord[6].x, 0.5..1.
#include "projection_vertex.glsl"

void main() {
  handOn(placedVertex(), placedNormal(), LightPos);
  gl_TexCoord[6] = vec4(0.75 + 0.25 * dot(alpha, vec3(0.5, 0.3, 0.2)), 0.0, 0.0, 1.0);
}
