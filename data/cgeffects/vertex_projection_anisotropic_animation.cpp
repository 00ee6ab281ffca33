#version 330 compatibility
// The base man: skin that breathes. The scene's three oscillators ("alpha")
// send a slow swell up the body along the normals, a few hundredths of a
// unit, enough for the caustics to slide over moving skin.
#include "projection_vertex.glsl"

void main() {
  vec4 placed = placedVertex();
  vec3 normal = placedNormal();
  float wave = sin(placed.z * 2.3 + alpha.x * 3.0) * alpha.y + alpha.z * 0.5;
  placed.xyz += normal * (0.025 * wave);
  handOn(placed, normal, LightPos);
}
