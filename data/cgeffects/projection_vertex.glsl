// Shared by the projection vertex programs, which include it first: the
// parameters the passes set and how a placed vertex is handed on.
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

// The depth pre-pass of translucent meshes runs the same program: the
// depths of both passes must match bit for bit.
invariant gl_Position;

// The vertex and its normal where the object's placement puts them.
vec4 placedVertex() { return ModelViewObject * gl_Vertex; }
vec3 placedNormal() { return normalize(mat3(ModelViewObject) * gl_Normal); }

// Everything the fragment program reads, for a vertex placed (and perhaps
// moved) at `placed` with `normal`, lit from `lightPos`.
void handOn(vec4 placed, vec3 normal, vec3 lightPos) {
  gl_Position = ModelViewProj * placed;
  gl_TexCoord[0] = gl_MultiTexCoord0;
  gl_TexCoord[1] = ModelViewLightProj * placed;
  gl_TexCoord[2] = vec4(normal, 0.0);
  gl_TexCoord[3] = vec4(mat3(ModelViewObject) * gl_MultiTexCoord1.xyz, 0.0);
  gl_TexCoord[4] = vec4(lightPos - placed.xyz, 0.0);
  gl_TexCoord[5] = vec4(CameraPos - placed.xyz, 0.0);
  gl_FrontColor = gl_Color;
}
