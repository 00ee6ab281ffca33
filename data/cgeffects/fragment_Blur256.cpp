#version 330 compatibility
// The glow's blur: each texel of the glow texture becomes a weighted sum
// of its neighbours two texels around (binomial weights 1 4 6 4 1 in each
// direction), so a bright line spreads into a soft halo that grows with
// every blur pass and every frame the glow feeds back into itself. The
// weights sum to slightly below one: a glow nobody renews dies away.
uniform sampler2D decal;  // the glow texture

const float kKeep = 0.985;  // of the light each pass keeps

void main() {
  vec2 texel = 1.0 / vec2(textureSize(decal, 0));
  vec2 uv = gl_TexCoord[0].xy;
  const float weight[5] = float[5](1.0, 4.0, 6.0, 4.0, 1.0);
  vec3 sum = vec3(0.0);
  for (int y = 0; y < 5; ++y) {
    for (int x = 0; x < 5; ++x) {
      sum += weight[x] * weight[y] * texture2D(decal, uv + vec2(x - 2, y - 2) * texel).rgb;
    }
  }
  gl_FragColor = vec4(sum * (kKeep / 256.0) * gl_Color.rgb, 1.0);
}
