#version 330 compatibility
// The heart and the ghost copies of the man: the surface beats. The first
// oscillator ("alpha".x) is sharpened into a short pulse that pushes the
// skin out along its normals once a cycle.
#include "projection_vertex.glsl"

void main() {
  vec4 placed = placedVertex();
  vec3 normal = placedNormal();
  float beat = pow(max(alpha.x, 0.0), 6.0);
  placed.xyz += normal * (0.02 * beat);
  handOn(placed, normal, LightPos);
}
