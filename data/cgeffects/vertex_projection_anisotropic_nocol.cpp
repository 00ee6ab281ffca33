#version 330 compatibility
// The stone man (man_gon): like the plain projection program, but the
// colour the scene code sets is not passed on: the stone keeps the colours
// of its own map, and only the colour's alpha (the fade) goes through.
// The oscillators ("alpha") tilt the light a little, so the stone's
// highlights drift while it kneels.
#include "projection_vertex.glsl"

void main() {
  handOn(placedVertex(), placedNormal(), LightPos + alpha * 2.0);
  gl_FrontColor = vec4(1.0, 1.0, 1.0, gl_Color.a);
}
