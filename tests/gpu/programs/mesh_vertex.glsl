#version 330 compatibility
// Places the vertex by the object matrix, then the camera's, and hands the
// colour on. Both passes of a translucent draw run it; invariant makes them
// agree on every depth.
uniform mat4 ModelViewProj;
uniform mat4 ModelViewObject;
invariant gl_Position;

void main() {
  gl_Position = ModelViewProj * (ModelViewObject * gl_Vertex);
  gl_FrontColor = gl_Color;
  gl_TexCoord[0] = gl_MultiTexCoord0;
}
