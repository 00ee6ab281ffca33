#version 330 compatibility
// Red straight from the decal, green looked up in the ramp at the decal's
// green, blue the incoming colour's blue scaled by the tint's.
uniform sampler2D decal;
uniform sampler1D oned;
uniform vec3 tint;

void main() {
  vec4 picture = texture(decal, gl_TexCoord[0].xy);
  gl_FragColor = vec4(picture.r, texture(oned, picture.g).g, gl_Color.b * tint.b, 1.0);
}
