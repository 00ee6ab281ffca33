#version 330 compatibility
// A projection pair's vertex program: the object matrix places the vertex
// in the scene, the camera's matrix on screen and the light's matrix in
// the light's projective texture space.
uniform mat4 ModelViewProj;
uniform mat4 ModelViewLightProj;
uniform mat4 ModelViewObject;
uniform vec3 CameraPos;
uniform vec3 LightPos;
uniform vec3 alpha;

void main() {
  vec4 placed = ModelViewObject * gl_Vertex;
  vec3 normal = normalize(mat3(ModelViewObject) * gl_Normal);
  vec3 toLight = normalize(LightPos - placed.xyz);
  vec3 toEye = normalize(CameraPos - placed.xyz);
  gl_Position = ModelViewProj * placed;
  gl_TexCoord[0] = gl_MultiTexCoord0;
  gl_TexCoord[1] = ModelViewLightProj * placed;
  gl_TexCoord[2] = vec4(normal, 0.0);
  gl_TexCoord[3] = vec4(toLight, 0.0);
  gl_TexCoord[4] = vec4(reflect(-toEye, normal), 0.0);
  gl_FrontColor = vec4(vec3(max(dot(normal, toLight), 0.0)), alpha.x);
}
