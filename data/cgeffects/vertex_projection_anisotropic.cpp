#version 330 compatibility
// The heart and the ghost copies of the man: the surface beats. The first
// oscillator ("alpha".x) is sharpened into a short pulse that pushes the
// skin out along its normals once a cycle.
//
// Hands on to the fragment program, in the built-in varyings:
//   gl_TexCoord[0] material coordinates
//   gl_TexCoord[1] position in the light's projective texture space
//   gl_TexCoord[2] normal, gl_TexCoord[3] grain (the second vertex vector),
//   gl_TexCoord[4] towards the light, gl_TexCoord[5] towards the eye,
//   all in scene space; gl_FrontColor the colour the scene code set.
uniform mat4 ModelViewProj;       // the camera: projection x view
uniform mat4 ModelViewLightProj;  // the light: bias x projection x view
uniform mat4 ModelViewObject;     // the object's placement in the scene
uniform vec3 CameraPos;
uniform vec3 LightPos;
uniform vec3 alpha;  // the scene's oscillators, each in -1..1

// The depth pre-pass of translucent meshes runs this same program: the
// depths of both passes must match bit for bit.
invariant gl_Position;

void main() {
  vec4 placed = ModelViewObject * gl_Vertex;
  mat3 turn = mat3(ModelViewObject);
  vec3 normal = normalize(turn * gl_Normal);
  float beat = pow(max(alpha.x, 0.0), 6.0);
  placed.xyz += normal * (0.02 * beat);
  gl_Position = ModelViewProj * placed;
  gl_TexCoord[0] = gl_MultiTexCoord0;
  gl_TexCoord[1] = ModelViewLightProj * placed;
  gl_TexCoord[2] = vec4(normal, 0.0);
  gl_TexCoord[3] = vec4(turn * gl_MultiTexCoord1.xyz, 0.0);
  gl_TexCoord[4] = vec4(LightPos - placed.xyz, 0.0);
  gl_TexCoord[5] = vec4(CameraPos - placed.xyz, 0.0);
  gl_FrontColor = gl_Color;
}
