#version 330 compatibility
// The window's picture in one pass while the ghost copies are open: the
// four copies of the scene summed, then the glow added. Drawn quad by
// quad, each copy and the glow would fill the whole window once more; here
// the window is written once. (With one copy the two plain textured quads
// are cheaper on llvmpipe than this program, so they stay.)
//
// The quad covers the window; gl_TexCoord[0..3] place the scene copies and
// gl_TexCoord[4] the glow where their own quads would have put them, and a
// copy adds nothing where its quad would not have reached. The first copy
// replaced what was under it: its coverage goes out as alpha, for the
// blending (GL_ONE, GL_ONE_MINUS_SRC_ALPHA) to keep the window's picture
// only outside it.
uniform sampler2D decal;  // the scene copy
uniform sampler2D light;  // the glow
uniform vec3 extent;      // the scene copy's far corner in its texture (u, v)
uniform vec3 glow;        // the glow's colour

float inside(vec2 uv, vec2 far) { return float(all(greaterThanEqual(uv, vec2(0.0))) && all(lessThanEqual(uv, far))); }

vec3 copy(vec2 uv) { return texture2D(decal, uv).rgb * inside(uv, extent.xy); }

void main() {
  vec3 sum = copy(gl_TexCoord[0].xy) + copy(gl_TexCoord[1].xy) + copy(gl_TexCoord[2].xy) + copy(gl_TexCoord[3].xy);
  vec2 g = gl_TexCoord[4].xy;
  vec3 colour = sum * gl_Color.rgb + texture2D(light, g).rgb * glow * inside(g, vec2(1.0));
  gl_FragColor = vec4(colour, inside(gl_TexCoord[0].xy, extent.xy));
}
