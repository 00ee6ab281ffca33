#version 330 compatibility
uniform sampler2D decal;

void main() {
  gl_FragColor = texture(decal, gl_TexCoord[0].xy) * undeclaredTint;
}
