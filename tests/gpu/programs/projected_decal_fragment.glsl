#version 330 compatibility
// The decal as projected from the light, nothing else; black behind the
// light.
uniform sampler2D decal;

void main() {
  vec4 p = gl_TexCoord[1];
  gl_FragColor = p.q > 0.0 ? vec4(texture2DProj(decal, p).rgb, 1.0) : vec4(0.0, 0.0, 0.0, 1.0);
}
