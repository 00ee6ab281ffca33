#version 330 compatibility
// Places the vertex by the object matrix and then the camera's, and hands
// the tint on as the colour, for either a fragment program or fixed
// function to use.
uniform mat4 ModelViewProj;
uniform mat4 ModelViewObject;
uniform vec3 tint;

void main() {
  gl_Position = ModelViewProj * (ModelViewObject * gl_Vertex);
  gl_FrontColor = vec4(tint, 1.0);
  gl_TexCoord[0] = gl_MultiTexCoord0;
}
