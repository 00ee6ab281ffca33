#version 330 compatibility
// Parameters of one and four components, as "alpha" and the positions
// may be declared.
uniform float alpha;
uniform vec4 LightPos;
uniform mat4 ModelViewProj;

void main() {
  gl_FragColor = vec4(alpha, LightPos.w, 0.0, 1.0) + ModelViewProj[0] * LightPos.x;
}
